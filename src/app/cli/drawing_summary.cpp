#include "app/cli/drawing_summary.h"

namespace qm::cli {

bool LoadForVerb(const std::string& verb, const std::string& path, TLoadedDrawing& d, std::ostream& err) {
  TLoadReport rep = LoadDrawingFile(path, false, d);
  if (rep.result != kLoadOk) {
    err << "quillmar-cli " << verb << ": " << path << ": " << rep.message << " (result " << rep.result;
    if (rep.error != StreamError::None) err << ", " << StreamErrorText(rep.error) << " at byte " << rep.offset;
    err << ")\n";
    return false;
  }
  if (d.droppedEntities > 0)
    err << "quillmar-cli " << verb << ": " << path << ": " << d.droppedEntities
        << " entities with impossible coordinates were left out\n";
  return true;
}

bool VisibleExtents(const TLoadedDrawing& d, TBox& box) {
  box = EmptyBox;
  bool any = false;
  for (const auto& layer : d.layers) {
    TBox b;
    if (layer->RecalcExtents(false, &b)) {
      box.Min.x = std::min(box.Min.x, b.Min.x);
      box.Min.y = std::min(box.Min.y, b.Min.y);
      box.Max.x = std::max(box.Max.x, b.Max.x);
      box.Max.y = std::max(box.Max.y, b.Max.y);
      any = true;
    }
  }
  return any;
}

}  // namespace qm::cli
