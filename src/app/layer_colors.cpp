#include "app/layer_colors.h"

#include <cstdint>

namespace qm::app {

TNewLayerColor ChooseNewLayerColor(int currentColor, int screenColorIndex, int paletteCount, bool hasLayers) {
  const std::int64_t n = paletteCount;
  if (n <= 0) return {currentColor, currentColor};
  std::int64_t current = currentColor;
  if (current == screenColorIndex) {
    current = (current + 1) % n;
    if (current < 0) current += n;
  }
  if (!hasLayers) return {static_cast<int>(current), static_cast<int>(current)};
  // A value above N wraps to 0 and the background is stepped over; neither
  // step can lead back, so three rounds always settle it.
  std::int64_t c = current + 1;
  for (int round = 0; round < 4; ++round) {
    if (c > n)
      c = 0;
    else if (c == screenColorIndex)
      c = c + 1;
    else
      break;
  }
  return {static_cast<int>(current), static_cast<int>(c)};
}

}  // namespace qm::app
