#include "model/chords.h"

#include <algorithm>
#include <cmath>

#include "model/canvas.h"

namespace qm::chords {

TPointD Path::At(double t) const {
  const double a = start + (sweep < 0 ? -t : t);
  return {center.x + radius * std::cos(a), center.y + radius * std::sin(a)};
}

int ChordCount(double radius, double sweep, double pixelSize, int minimum) {
  const double r = std::fabs(radius), s = std::fabs(sweep);
  if (!(pixelSize > 0) || !std::isfinite(r) || !std::isfinite(s) || !(r > 0) || !(s > 0)) return minimum;
  // Deviation of a chord over the step δ: r·(1 − cos(δ/2)) = 2r·sin²(δ/4).
  const double x = 0.5 * pixelSize / r;
  double byDeviation = 1;
  if (x < 2) {
    const double step = 4 * std::asin(std::sqrt(x / 2));
    byDeviation = std::ceil(s / step);
  }
  const double byLength = std::floor(r * s / (2 * pixelSize));
  double n = std::min({byDeviation, byLength, static_cast<double>(kMaxChords)});
  n = std::max(n, static_cast<double>(minimum));
  return static_cast<int>(std::min(n, static_cast<double>(kMaxChords)));
}

namespace {

bool Inside(const TBox& b, TPointD p) {
  return p.x >= b.Min.x && p.x <= b.Max.x && p.y >= b.Min.y && p.y <= b.Max.y;
}

}  // namespace

std::vector<Range> RangesIn(const Path& path, const TBox& region) {
  std::vector<Range> out;
  const double s = std::fabs(path.sweep), r = path.radius;
  const TPointD c = path.center;
  // The whole circle's box inside the region: everything is in.
  if (c.x - r >= region.Min.x && c.x + r <= region.Max.x && c.y - r >= region.Min.y && c.y + r <= region.Max.y) {
    out.push_back({0, s});
    return out;
  }
  if (c.x + r < region.Min.x || c.x - r > region.Max.x || c.y + r < region.Min.y || c.y - r > region.Max.y)
    return out;
  // Cut the sweep where the circle crosses the region's edges.
  std::vector<double> cuts{0, s};
  auto addAngle = [&](double theta) {
    double t = path.sweep < 0 ? path.start - theta : theta - path.start;
    t = std::fmod(t, TwoPi);
    if (t < 0) t += TwoPi;
    if (t > 0 && t < s) cuts.push_back(t);
  };
  for (double x : {region.Min.x, region.Max.x}) {
    const double q = (x - c.x) / r;
    if (q >= -1 && q <= 1) {
      const double a = std::acos(q);
      addAngle(a);
      addAngle(-a);
    }
  }
  for (double y : {region.Min.y, region.Max.y}) {
    const double q = (y - c.y) / r;
    if (q >= -1 && q <= 1) {
      const double a = std::asin(q);
      addAngle(a);
      addAngle(Pi - a);
    }
  }
  std::sort(cuts.begin(), cuts.end());
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    const double a = cuts[i], b = cuts[i + 1];
    if (!(b > a)) continue;
    if (!Inside(region, path.At((a + b) / 2))) continue;
    if (!out.empty() && out.back().b >= a)
      out.back().b = b;
    else
      out.push_back({a, b});
  }
  return out;
}

std::vector<TSegment> Chords(const Path& path, int n, const TBox* region, const TPointD* first, const TPointD* last) {
  std::vector<TSegment> out;
  const double s = std::fabs(path.sweep);
  if (n < 1 || !(s > 0)) return out;
  const double step = s / n;
  std::vector<Range> ranges;
  if (region)
    ranges = RangesIn(path, *region);
  else
    ranges.push_back({0, s});
  for (const Range& rg : ranges) {
    const double len = rg.b - rg.a;
    const int k = std::max(1, static_cast<int>(std::ceil(len / step - 1e-9)));
    if (static_cast<int>(out.size()) + k > kMaxChords) break;
    TPointD prev = (first && rg.a == 0) ? *first : path.At(rg.a);
    for (int j = 1; j <= k; ++j) {
      TPointD next = path.At(j == k ? rg.b : rg.a + len * j / k);
      if (j == k && last && rg.b == s) next = *last;
      out.push_back({prev, next});
      prev = next;
    }
  }
  return out;
}

TBox WindowOf(const TCanvas& canvas, double pixels) {
  double x1, y1, x2, y2;
  canvas.WorldWindow(x1, y1, x2, y2);
  const double m = pixels * canvas.PixelSize();
  return {{std::min(x1, x2) - m, std::min(y1, y2) - m}, {std::max(x1, x2) + m, std::max(y1, y2) + m}};
}

}  // namespace qm::chords
