// Micro benchmarks of the geometry kernel's hot operations: snapping and
// trimming call these for every entity near the cursor, and extents are
// recomputed for every arc on load and on each edit.
#include <benchmark/benchmark.h>

#include <vector>

#include "geom/geometry.h"

namespace {

using namespace qm;

// A spread of inputs so branch prediction does not learn a single case.
std::vector<TSegment> Segments(std::size_t n) {
  std::vector<TSegment> v;
  v.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double a = 0.37 * static_cast<double>(i);
    v.push_back({{std::cos(a) * 3, std::sin(a) * 2}, {std::cos(a * 1.7) * 5 + 1, std::sin(a * 0.6) * 4 - 1}});
  }
  return v;
}

std::vector<TArcRec> Arcs(std::size_t n) {
  std::vector<TArcRec> v;
  v.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double a = 0.53 * static_cast<double>(i);
    TArcRec arc;
    arc.Center = {std::cos(a), std::sin(a)};
    arc.Radius = (i % 3 == 0 ? -1 : 1) * (1 + 0.1 * static_cast<double>(i % 7));
    arc.StartAngle = std::fmod(a, TwoPi);
    arc.EndAngle = arc.StartAngle + 0.5 + std::fmod(a * 1.3, 5.0);
    v.push_back(arc);
  }
  return v;
}

constexpr std::size_t kN = 256;

void BM_IntersectSegments(benchmark::State& state) {
  SetTolerance(1e-6);
  const auto segs = Segments(kN);
  std::size_t i = 0;
  for (auto _ : state) {
    const SegmentIntersection r = IntersectSegments(segs[i % kN], segs[(i * 7 + 3) % kN]);
    benchmark::DoNotOptimize(r);
    ++i;
  }
}
BENCHMARK(BM_IntersectSegments);

void BM_LineCircle(benchmark::State& state) {
  SetTolerance(1e-6);
  const auto segs = Segments(kN);
  const auto arcs = Arcs(kN);
  const auto mode = state.range(0) == 0 ? LineCircleMode::Segment : LineCircleMode::Line;
  std::size_t i = 0;
  for (auto _ : state) {
    const TArcRec& a = arcs[(i * 5 + 1) % kN];
    const IntersectResult r = LineCircle(mode, a.Center, a.Radius, segs[i % kN]);
    benchmark::DoNotOptimize(r);
    ++i;
  }
}
BENCHMARK(BM_LineCircle)->Arg(0)->Arg(4);

void BM_DistanceToArc(benchmark::State& state) {
  SetTolerance(1e-6);
  const auto arcs = Arcs(kN);
  const auto segs = Segments(kN);
  std::size_t i = 0;
  for (auto _ : state) {
    const double d = DistanceToArc(arcs[i % kN], segs[(i * 3 + 2) % kN].P1);
    benchmark::DoNotOptimize(d);
    ++i;
  }
}
BENCHMARK(BM_DistanceToArc);

void BM_ArcExtents(benchmark::State& state) {
  SetTolerance(1e-6);
  const auto arcs = Arcs(kN);
  std::size_t i = 0;
  for (auto _ : state) {
    const TBox b = ArcExtents(arcs[i % kN]);
    benchmark::DoNotOptimize(b);
    ++i;
  }
}
BENCHMARK(BM_ArcExtents);

}  // namespace
