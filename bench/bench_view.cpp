// The view's drawing paths on a 1920 × 1080 buffer: clearing, copying to the
// window, DrawLine (clip + convert + raster) at the scale of a Zoom All of
// 100,000 mixed entities, the early reject of a zoomed-in view, long
// clipped lines and the scan-line fill.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "view/open_canvas.h"

namespace {

using qm::TCanvas;
using qm::TPointD;
using qm::view::TOpenCanvas;
using qm::view::TViewContent;
using qm::view::TWindowRect;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kCircleChords = 64, kArcChords = 32;

// 100,000 entities on a 1000 × 560 sheet: a third lines, a third circles,
// a third arcs; curves are drawn as chords (64 per circle, 32 per arc), about
// 3.2 million DrawLine calls in all.
struct Drawing : TViewContent {
  enum Kind : std::uint8_t { Line, Circle, Arc };
  struct Entity {
    Kind kind;
    double x1, y1, x2, y2;  // line ends, or centre and (radius, start angle)
  };
  std::vector<Entity> entities;
  std::array<TPointD, kCircleChords + 1> unit{};
  bool fill = false;
  bool polyline = false;  // curves through DrawPolyline instead of DrawLine per chord
  long chords = 0;

  explicit Drawing(int n) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> x(0, 1000), y(0, 560), len(-25, 25), r(0.5, 20), a(0, 6.283);
    for (int i = 0; i < n; ++i) {
      const double cx = x(rng), cy = y(rng);
      switch (i % 3) {
        case 0: entities.push_back({Line, cx, cy, cx + len(rng), cy + len(rng)}); break;
        case 1: entities.push_back({Circle, cx, cy, r(rng), 0}); break;
        default: entities.push_back({Arc, cx, cy, r(rng), a(rng)}); break;
      }
    }
    for (int k = 0; k <= kCircleChords; ++k)
      unit[static_cast<std::size_t>(k)] = {std::cos(6.283185307179586 * k / kCircleChords),
                                           std::sin(6.283185307179586 * k / kCircleChords)};
  }

  void DrawInto(TCanvas& c) override {
    c.SetPen({0, 0, 0});
    chords = 0;
    for (const Entity& e : entities) {
      if (e.kind == Line) {
        c.DrawLine(false, false, {e.x1, e.y1}, {e.x2, e.y2});
        ++chords;
        continue;
      }
      const int n = e.kind == Circle ? kCircleChords : kArcChords;
      const int start = e.kind == Circle ? 0 : static_cast<int>(e.y2 / 6.283 * kCircleChords);
      if (polyline && !fill) {
        std::array<TPointD, kCircleChords + 1> pts;
        for (int k = 0; k <= n; ++k) {
          const TPointD& u = unit[static_cast<std::size_t>((start + k) % kCircleChords)];
          pts[static_cast<std::size_t>(k)] = {e.x1 + e.x2 * u.x, e.y1 + e.x2 * u.y};
        }
        static_cast<TOpenCanvas&>(c).DrawPolyline(false, false, pts.data(), static_cast<std::size_t>(n + 1));
        chords += n;
        continue;
      }
      TPointD prev{};
      for (int k = 0; k <= n; ++k) {
        const TPointD& u = unit[static_cast<std::size_t>((start + k) % kCircleChords)];
        const TPointD p{e.x1 + e.x2 * u.x, e.y1 + e.x2 * u.y};
        if (k > 0) {
          if (fill)
            c.AddFillEdge(prev, p);
          else
            c.DrawLine(false, false, prev, p);
          ++chords;
        }
        prev = p;
      }
      if (fill && e.kind == Arc) c.AddFillEdge(prev, {e.x1 + e.x2 * unit[static_cast<std::size_t>(start)].x,
                                                      e.y1 + e.x2 * unit[static_cast<std::size_t>(start)].y});
    }
    if (fill) {
      c.FillSpans(false);
      c.ClearFillEdges();
    }
  }
};

TOpenCanvas& View() {
  static TOpenCanvas* v = [] {
    auto* c = new TOpenCanvas();
    c->SetViewBounds(0, 0, kHeight, kWidth);
    return c;
  }();
  return *v;
}

void BM_ClearBuffer(benchmark::State& state) {
  TOpenCanvas& v = View();
  for (auto _ : state) {
    v.ClearBuffer();
    benchmark::DoNotOptimize(v.BufferImage().Data());
  }
}
BENCHMARK(BM_ClearBuffer)->Unit(benchmark::kMicrosecond);

void BM_RefreshWindow(benchmark::State& state) {
  TOpenCanvas& v = View();
  for (auto _ : state) {
    v.Refresh();
    benchmark::DoNotOptimize(v.WindowImage().Data());
  }
}
BENCHMARK(BM_RefreshWindow)->Unit(benchmark::kMicrosecond);

// RebuildView of the whole drawing: ClearBuffer plus every chord through
// DrawLine, nothing culled (culling is the layout's).
void RebuildBench(benchmark::State& state, TWindowRect window, bool fill, bool polyline = false) {
  static Drawing drawing(100000);
  drawing.fill = fill;
  drawing.polyline = polyline;
  TOpenCanvas& v = View();
  v.SetContent(&drawing);
  v.SetContentExtents({0, 0}, {1000, 560});
  v.FitToExtents(1.2);
  if (window.x2 > window.x1) v.SetWindow(window);
  for (auto _ : state) v.RebuildView();
  v.SetContent(nullptr);
  state.counters["chords"] = static_cast<double>(drawing.chords);
  state.counters["chords/s"] =
      benchmark::Counter(static_cast<double>(drawing.chords), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ZoomAll100k(benchmark::State& state) { RebuildBench(state, {}, false); }
BENCHMARK(BM_ZoomAll100k)->Unit(benchmark::kMillisecond);

// The same with every curve as one DrawPolyline call.
void BM_ZoomAll100kPolyline(benchmark::State& state) { RebuildBench(state, {}, false, true); }
BENCHMARK(BM_ZoomAll100kPolyline)->Unit(benchmark::kMillisecond);

// Zoomed in on a 1/16 of the width: most chords are rejected before the clip.
void BM_ZoomedIn100k(benchmark::State& state) { RebuildBench(state, {400, 250, 462.5, 285.15625}, false); }
BENCHMARK(BM_ZoomedIn100k)->Unit(benchmark::kMillisecond);

// The same drawing filled: every circle and closed arc through AddFillEdge,
// one FillSpans at the end.
void BM_ZoomAll100kFilled(benchmark::State& state) { RebuildBench(state, {}, true); }
BENCHMARK(BM_ZoomAll100kFilled)->Unit(benchmark::kMillisecond);

// Single DrawLine calls by kind of line.
void LineBench(benchmark::State& state, double reach, double length) {
  TOpenCanvas& v = View();
  v.SetWindow({0, 0, 1920, 1080});
  v.SetPen({0, 0, 0});
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> x(-reach, 1920 + reach), y(-reach, 1080 + reach), d(-length, length);
  std::vector<std::array<TPointD, 2>> lines(4096);
  for (auto& l : lines) {
    l[0] = {x(rng), y(rng)};
    l[1] = {l[0].x + d(rng), l[0].y + d(rng)};
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& l = lines[i++ & 4095];
    v.DrawLine(false, false, l[0], l[1]);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_DrawLineShortChord(benchmark::State& state) { LineBench(state, 0, 6); }
BENCHMARK(BM_DrawLineShortChord);
void BM_DrawLineLongClipped(benchmark::State& state) { LineBench(state, 2000, 3000); }
BENCHMARK(BM_DrawLineLongClipped);
void BM_DrawLineRejected(benchmark::State& state) {
  TOpenCanvas& v = View();
  v.SetWindow({0, 0, 1920, 1080});
  TPointD a{5000, 10}, b{5003, 12};
  for (auto _ : state) {
    v.DrawLine(false, false, a, b);
    benchmark::DoNotOptimize(a);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_DrawLineRejected);

// The raster routine alone: short lines inside the raster, as chords are.
void BM_RasterShortLine(benchmark::State& state) {
  qm::view::TRaster r(kWidth, kHeight);
  std::mt19937 rng(9);
  std::uniform_int_distribution<int> x(10, kWidth - 10), y(10, kHeight - 10), d(-6, 6);
  std::vector<std::array<int, 4>> lines(4096);
  for (auto& l : lines) {
    l[0] = x(rng);
    l[1] = y(rng);
    l[2] = l[0] + d(rng);
    l[3] = l[1] + d(rng);
  }
  const qm::view::RasterPen pen{0xFF000000u, 1, false, qm::view::RasterOp::Copy};
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& l = lines[i++ & 4095];
    r.DrawLine(l[0], l[1], l[2], l[3], pen);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_RasterShortLine);

void BM_WorldWindow(benchmark::State& state) {
  TCanvas& c = View();
  double x1, y1, x2, y2;
  for (auto _ : state) {
    c.WorldWindow(x1, y1, x2, y2);
    benchmark::DoNotOptimize(x1 + y1 + x2 + y2);
  }
}
BENCHMARK(BM_WorldWindow);

}  // namespace
