#pragma once
// What the layout asks of the drawing's text (paragraphs, baselines and
// characters). The text itself comes with its own module; until then the
// layout holds this base, which holds no text and so answers "nothing" to
// every call: no extents, no pick, no marks, no change.
#include <cstdint>
#include <memory>

#include "geom/geometry.h"
#include "model/object.h"

namespace qm {

class TLayoutText {
 public:
  TLayoutText() = default;
  TLayoutText(const TLayoutText&) = delete;
  TLayoutText& operator=(const TLayoutText&) = delete;
  virtual ~TLayoutText() = default;

  // Drawn after all layers (mode 1, the layout's fill mode).
  virtual void Draw(TCanvas& /*canvas*/, std::int16_t /*mode*/, std::int16_t /*fill*/) {}
  // Extents of all (or the marked) characters; false when there are none.
  virtual bool Extents(bool /*onlyMarked*/, TBox& box) const {
    box = EmptyBox;
    return false;
  }
  virtual void Mark() {}
  virtual void Unmark() {}
  virtual void ClearVisited() {}
  virtual void Show(bool /*visible*/) {}
  // The same transformations as the layers' marked members.
  virtual void TransformMarked(double /*dx*/, double /*dy*/, double /*factor*/) {}
  virtual void ScaleXYMarked(double /*dx*/, double /*dy*/, double /*sx*/, double /*sy*/) {}
  // Deletes the marked characters; answers how many.
  virtual int DeleteMarked() { return 0; }
  // The characters on that layer are deleted / the layer numbers above the
  // removed layer go down by one.
  virtual void DeleteOnLayer(std::int16_t /*layer*/) {}
  virtual void LayerRemoved(std::int16_t /*layer*/) {}
  // The character nearest to the point within the radius, or none.
  virtual TCadObj* FindNearest(const TCanvas* /*canvas*/, double /*tolerance*/, TPointD /*p*/) {
    return nullptr;
  }
  // A character's outline entity: the character leaves the text.
  virtual void RemoveCharacterOf(TCadObj& /*outline*/) {}
  // Takes a character; answers it as inserted, or null when refused (the
  // entity is then freed by the caller's pointer going out of scope).
  virtual TCadObj* InsertCharacter(std::unique_ptr<TCadObj> /*character*/) {
    return nullptr;
  }
  // Marks the characters in the band; answers whether anything changed.
  virtual bool MarkInWindow(TCanvas& /*canvas*/, bool /*shift*/, int /*layerChoice*/, int /*markMode*/) {
    return false;
  }
  // Moves (or copies) the marked characters to the target layer.
  virtual void MoveMarkedToLayer(std::int16_t /*target*/, bool /*copy*/) {}
  // Frees all text.
  virtual void Clear() {}
};

}  // namespace qm
