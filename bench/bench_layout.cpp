// The layout's lookups and the view's rebuild over real entities:
//   the pick (FindNearest) on 1,000,000 entities, before and after edits,
//   a band click (MarkInWindow) on the same drawing,
//   Zoom All and a zoomed-in RebuildView of 100,000 lines, arcs and circles
//   into a 1920 × 1080 buffer,
//   FindOverlaps and FindOpenEnds.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "model/arc.h"
#include "model/canvas.h"
#include "model/circle.h"
#include "model/layout.h"
#include "model/line.h"
#include "view/layout_content.h"
#include "view/open_canvas.h"

namespace {

using namespace qm;
using view::TLayoutContent;
using view::TOpenCanvas;

constexpr int kWidth = 1920, kHeight = 1080;

// n entities on a w × h sheet in `layers` layers: a third each lines (up to
// 25 long), circles (radius 0.5–20) and arcs.
std::unique_ptr<TCadLayout> MakeDrawing(int n, double w, double h, int layers, std::uint32_t seed = 42) {
  auto layout = std::make_unique<TCadLayout>();
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> x(0, w), y(0, h), len(-25, 25), r(0.5, 20), a(0, 6.283);
  for (int l = 0; l < layers; ++l) layout->AddLayer("", static_cast<std::int16_t>(l + 1));
  for (int i = 0; i < n; ++i) {
    TCadGroup* layer = layout->LayerAt(i % layers);
    const TPointD c{x(rng), y(rng)};
    switch (i % 3) {
      case 0: layer->InsertMember(std::make_unique<TCadLine>(c, TPointD{c.x + len(rng), c.y + len(rng)})); break;
      case 1: layer->InsertMember(std::make_unique<TCadCirc>(c, r(rng))); break;
      default: {
        TArcRec rec;
        rec.Center = c;
        rec.Radius = r(rng);
        rec.StartAngle = a(rng);
        rec.EndAngle = rec.StartAngle + 0.3 + a(rng) * 0.8;
        layer->InsertMember(std::make_unique<TCadArc>(0, nullptr, ofVisible, rec));
      }
    }
  }
  layout->UpdateExtents();
  return layout;
}

TCadLayout& Million() {
  static std::unique_ptr<TCadLayout> l = MakeDrawing(1000000, 10000, 5625, 4);
  return *l;
}

TOpenCanvas& View() {
  static TOpenCanvas* v = [] {
    auto* c = new TOpenCanvas();
    c->SetViewBounds(0, 0, kHeight, kWidth);
    return c;
  }();
  return *v;
}

// The first lookup after loading builds the index.
void BM_IndexBuild1M(benchmark::State& state) {
  TCadLayout& l = Million();
  for (auto _ : state) {
    l.InvalidateIndex();
    benchmark::DoNotOptimize(l.FindNearest(nullptr, 1, {5000, 2800}));
  }
}
BENCHMARK(BM_IndexBuild1M)->Unit(benchmark::kMillisecond)->Iterations(3);

// A pick as the mouse makes it: the view's window given, a 5-pixel aperture
// (zoomed out: all of the drawing on screen; zoomed in: 1/16 of its width).
void PickBench(benchmark::State& state, double windowWidth) {
  TCadLayout& l = Million();
  TOpenCanvas& v = View();
  v.SetWindow({5000 - windowWidth / 2, 2800 - windowWidth * 9 / 32, 5000 + windowWidth / 2,
               2800 + windowWidth * 9 / 32});
  const double tolerance = 5 * v.PixelSize();
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> x(v.Window().x1, v.Window().x2), y(v.Window().y1, v.Window().y2);
  std::vector<TPointD> points(4096);
  for (TPointD& p : points) p = {x(rng), y(rng)};
  l.FindNearest(&v, tolerance, points[0]);  // the index is built outside the timing
  std::size_t i = 0, found = 0;
  for (auto _ : state) {
    TCadObj* e = l.FindNearest(&v, tolerance, points[i++ & 4095]);
    found += e != nullptr;
    benchmark::DoNotOptimize(e);
  }
  state.counters["found%"] = 100.0 * static_cast<double>(found) / static_cast<double>(state.iterations());
}
void BM_Pick1MZoomAll(benchmark::State& state) { PickBench(state, 12000); }
BENCHMARK(BM_Pick1MZoomAll)->Unit(benchmark::kMicrosecond);
void BM_Pick1MZoomedIn(benchmark::State& state) { PickBench(state, 12000.0 / 16); }
BENCHMARK(BM_Pick1MZoomedIn)->Unit(benchmark::kMicrosecond);

// An edit (an entity dragged by a pixel) and the next pick, over and over:
// the index follows without rebuilding more than its budget allows.
void BM_EditThenPick1M(benchmark::State& state) {
  TCadLayout& l = Million();
  TOpenCanvas& v = View();
  v.SetWindow({4625, 2589.0625, 5375, 3010.9375});
  const double tolerance = 5 * v.PixelSize();
  l.FindNearest(&v, tolerance, {5000, 2800});
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> which(0, 249999);
  std::uniform_real_distribution<double> x(4625, 5375), y(2589, 3011);
  double step = 0.4;
  for (auto _ : state) {
    TCadObj* e = l.LayerAt(1)->Members().At(which(rng));
    e->Move(step, 0);
    step = -step;
    benchmark::DoNotOptimize(l.FindNearest(&v, tolerance, {x(rng), y(rng)}));
  }
}
BENCHMARK(BM_EditThenPick1M)->Unit(benchmark::kMicrosecond);

// A click with the mark tool (the 7 × 7 band) on all layers: the index finds
// the few members near it; clearing the visited flags and rebuilding the
// mark group still pass over all members.
void BM_MarkClick1M(benchmark::State& state) {
  TCadLayout& l = Million();
  RecordingCanvas canvas;
  canvas.pixelSize = 0.4;
  TMarkGroup marks;
  std::mt19937 rng(8);
  std::uniform_real_distribution<double> x(0, 10000), y(0, 5625);
  for (auto _ : state) {
    const double cx = x(rng), cy = y(rng);
    canvas.band[0] = cx - 1.2, canvas.band[1] = cy - 1.2, canvas.band[2] = cx + 1.2, canvas.band[3] = cy + 1.2;
    benchmark::DoNotOptimize(l.MarkInWindow(canvas, false, {cx, cy}, TCadLayout::kLayerAll, 1, marks));
  }
  state.counters["marked"] = static_cast<double>(marks.MemberCount());
}
BENCHMARK(BM_MarkClick1M)->Unit(benchmark::kMillisecond);

// ---- the view --------------------------------------------------------------

TCadLayout& HundredThousand() {
  static std::unique_ptr<TCadLayout> l = MakeDrawing(100000, 1000, 560, 4, 7);
  return *l;
}

void RebuildBench(benchmark::State& state, bool zoomAll, std::int16_t fill) {
  TCadLayout& l = HundredThousand();
  l.SetFillMode(fill);
  TOpenCanvas& v = View();
  TLayoutContent content(l);
  v.SetContent(&content);
  if (!zoomAll) v.SetWindow({400, 250, 462.5, 285.15625});
  v.RebuildView();  // indexes built outside the timing
  for (auto _ : state) {
    if (zoomAll) view::ZoomAll(v, l);
    v.RebuildView();
  }
  v.SetContent(nullptr);
  l.SetFillMode(0);
}
void BM_ZoomAll100k(benchmark::State& state) { RebuildBench(state, true, 0); }
BENCHMARK(BM_ZoomAll100k)->Unit(benchmark::kMillisecond);
void BM_ZoomedIn100k(benchmark::State& state) { RebuildBench(state, false, 0); }
BENCHMARK(BM_ZoomedIn100k)->Unit(benchmark::kMillisecond);
void BM_ZoomAll100kFilled(benchmark::State& state) { RebuildBench(state, true, 1); }
BENCHMARK(BM_ZoomAll100kFilled)->Unit(benchmark::kMillisecond);
void BM_ZoomedIn100kFilled(benchmark::State& state) { RebuildBench(state, false, 1); }
BENCHMARK(BM_ZoomedIn100kFilled)->Unit(benchmark::kMillisecond);

// ---- the find commands ----------------------------------------------------

// Lines on a grid, many sharing ends and some lying on one another.
std::unique_ptr<TCadLayout> GridDrawing(int n) {
  auto layout = std::make_unique<TCadLayout>();
  layout->AddLayer("", 1);
  layout->AddLayer("", 2);
  std::mt19937 rng(11);
  const int side = static_cast<int>(std::sqrt(static_cast<double>(n)) * 1.5);
  std::uniform_int_distribution<int> g(0, side);
  std::uniform_int_distribution<int> dir(0, 3);
  for (int i = 0; i < n; ++i) {
    const double x = g(rng), y = g(rng);
    const int d = dir(rng);
    const TPointD ends[4] = {{x + 1, y}, {x, y + 1}, {x + 2, y}, {x + 1, y + 1}};
    const TPointD q = ends[d];
    if (i % 50 == 0)
      layout->LayerAt(i % 2)->InsertMember(std::make_unique<TCadCirc>(TPointD{x, y}, 1));
    else
      layout->LayerAt(i % 2)->InsertMember(std::make_unique<TCadLine>(TPointD{x, y}, q));
  }
  return layout;
}

void BM_FindOverlaps(benchmark::State& state) {
  auto l = GridDrawing(static_cast<int>(state.range(0)));
  TOverlapList found;
  TMarkGroup marks;
  for (auto _ : state) l->FindOverlaps(found, marks);
  state.counters["parts"] = found.Count();
}
BENCHMARK(BM_FindOverlaps)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_FindOpenEnds(benchmark::State& state) {
  auto l = GridDrawing(static_cast<int>(state.range(0)));
  TMarkerList ends;
  for (auto _ : state) l->FindOpenEnds(ends);
  state.counters["open"] = ends.Count();
}
BENCHMARK(BM_FindOpenEnds)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
