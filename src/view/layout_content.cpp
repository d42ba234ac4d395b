#include "view/layout_content.h"

namespace qm::view {

void TLayoutContent::DrawInto(TCanvas& canvas) { layout_->Draw(canvas, 0, layout_->FillMode()); }

bool ZoomAll(TOpenCanvas& view, TCadLayout& layout, const TBox* extra) {
  bool any = layout.UpdateExtents();
  TBox box = layout.GetExtents();
  TBox picture;
  if (view.PictureShown() && view.PictureWorldRect(picture)) {
    box = MergeBoxes(box, picture);
    any = true;
  }
  if (extra && IsProperBox(*extra)) {
    box = MergeBoxes(box, *extra);
    any = true;
  }
  if (!any) return false;
  view.SetContentExtents(box.Min, box.Max);
  view.FitToExtents(1.2);
  return true;
}

bool ZoomSelected(TOpenCanvas& view, TCadLayout& layout) {
  TBox box;
  if (!layout.RecalcExtentsWithText(true, box)) return false;
  view.SetContentExtents(box.Min, box.Max);
  view.FitToExtents(1.0);
  return true;
}

}  // namespace qm::view
