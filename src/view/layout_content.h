#pragma once
// The layout as what the view paints: RebuildView clears the buffer, then
// the layout draws its layers (culled to the window), its direction arrows
// and its text with the drawing's fill mode.
//
// And the two zooms that take their extents from the drawing.
#include "geom/geometry.h"
#include "model/layout.h"
#include "view/open_canvas.h"

namespace qm::view {

class TLayoutContent : public TViewContent {
 public:
  explicit TLayoutContent(TCadLayout& layout) : layout_(&layout) {}
  void DrawInto(TCanvas& canvas) override;
  TCadLayout& Layout() const { return *layout_; }

 private:
  TCadLayout* layout_;
};

// "Zoom &All": the extents of the visible layers and the text, widened by
// the background picture when it is shown and by `extra` (the sketch's
// extents) when given, fitted with a margin (factor 1.2). False, and the
// view unchanged, for an empty drawing. The caller rebuilds and refreshes.
bool ZoomAll(TOpenCanvas& view, TCadLayout& layout, const TBox* extra = nullptr);
// "Zoom S&elected": the marked extents, factor 1.0; false when nothing is
// marked.
bool ZoomSelected(TOpenCanvas& view, TCadLayout& layout);

}  // namespace qm::view
