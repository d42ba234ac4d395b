// quillmar-cli render: a drawing zoomed to all, as the view draws it, saved
// as PNG.
#include <cstdio>
#include <cstring>

#include "app/cli/drawing_summary.h"
#include "app/cli/verbs.h"
#include "view/forms/raster_image.h"
#include "view/open_canvas.h"

namespace qm::cli {

namespace {

class LayersContent : public view::TViewContent {
 public:
  explicit LayersContent(const TLoadedDrawing& d) : d_(d) {}
  void DrawInto(TCanvas& canvas) override {
    for (std::size_t i = 0; i < d_.layers.size(); ++i) {
      d_.layers[i]->SetLayer(static_cast<std::int16_t>(i));
      d_.layers[i]->Draw(canvas, 1, 0);
    }
  }

 private:
  const TLoadedDrawing& d_;
};

}  // namespace

int RunRender(const Options& opts, std::ostream& out, std::ostream& err) {
  if (opts.positional.size() != 1 || !opts.Has("png")) {
    err << "quillmar-cli render: expected a drawing file and --png OUT\n";
    return kExitUsage;
  }
  int w = 800, h = 600;
  if (opts.Has("size")) {
    char x = 0, tail = 0;
    if (std::sscanf(opts.Value("size").c_str(), "%d%c%d%c", &w, &x, &h, &tail) != 3 || (x != 'x' && x != 'X') ||
        w < 1 || h < 1 || w > 16384 || h > 16384) {
      err << "quillmar-cli render: --size wants WIDTHxHEIGHT, each 1 to 16384\n";
      return kExitUsage;
    }
  }
  TLoadedDrawing d;
  if (!LoadForVerb("render", opts.positional[0], d, err)) return kExitFailure;
  view::TOpenCanvas canvas;
  LayersContent content(d);
  canvas.SetContent(&content);
  canvas.SetBackground(canvas.Colors().At(0));
  canvas.SetViewBounds(0, 0, h, w);
  TBox box;
  if (VisibleExtents(d, box)) {
    canvas.SetContentExtents(box.Min, box.Max);
    canvas.FitToExtents(1.2);
  }
  canvas.RebuildView();
  canvas.SetContent(nullptr);
  if (int e = view::SaveRasterPng(canvas.BufferImage(), opts.Value("png"))) {
    err << "quillmar-cli render: cannot write " << opts.Value("png") << ": " << std::strerror(e) << "\n";
    return kExitFailure;
  }
  out << opts.Value("png") << ": " << w << "x" << h << "\n";
  return kExitOk;
}

}  // namespace qm::cli
