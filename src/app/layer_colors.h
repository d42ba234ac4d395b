#pragma once
// The colour of a layer made by "&Add Layer".
//
// A layer is drawn in palette entry (colour mod N); the background's entry
// is never chosen. The first layer of a drawing takes the current colour
// (moved off the background first); later layers take the next colour after
// it, skipping the background and wrapping to 0 past N. A value of exactly N
// is kept: modulo N it is entry 0.
#include <cstdint>

namespace qm::app {

struct TNewLayerColor {
  int currentColor = 0;  // the current colour afterwards
  int layerColor = 0;    // the new layer's colour index
  bool operator==(const TNewLayerColor&) const = default;
};

// `paletteCount` is N; without palette entries both colours stay as given.
TNewLayerColor ChooseNewLayerColor(int currentColor, int screenColorIndex, int paletteCount, bool hasLayers);

}  // namespace qm::app
