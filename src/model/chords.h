#pragma once
// Polyline approximation of circles and arcs for drawing and frame tests.
//
// The chord count follows the canvas' pixel size: the smallest n whose
// chords deviate at most half a pixel from the curve, never fewer than the
// caller's minimum, and no more chords than keep them about 2 pixels long
// beyond that minimum. Only the part of the curve inside a region (the view
// window, the band, the rows of the view for filling) is cut into chords, so
// a circle far larger than the screen costs no more than a small one.
#include <cstdint>
#include <vector>

#include "geom/geometry.h"

namespace qm {

class TCanvas;

namespace chords {

// A circular path: centre, radius (> 0), start angle and signed sweep
// (negative: clockwise).
struct Path {
  TPointD center;
  double radius = 0;
  double start = 0;
  double sweep = 0;
  TPointD At(double t) const;  // the point reached after |t| of the sweep
};

// Upper bound of the number of chords of one curve, whatever the region.
inline constexpr int kMaxChords = 1 << 16;

int ChordCount(double radius, double sweep, double pixelSize, int minimum);

// Parameter ranges [a, b] ⊂ [0, |sweep|] of the path inside the region.
struct Range {
  double a = 0;
  double b = 0;
};
std::vector<Range> RangesIn(const Path& path, const TBox& region);

// The chords of the path: n equal steps over the whole sweep; with a region
// only the steps over the ranges inside it. A chord that starts at the
// beginning of the sweep starts exactly at *first, one that ends at its end
// ends exactly at *last, when given (neighbours of an arc meet it exactly).
std::vector<TSegment> Chords(const Path& path, int n, const TBox* region, const TPointD* first = nullptr,
                             const TPointD* last = nullptr);

// The canvas' window widened by `pixels` on every side.
TBox WindowOf(const TCanvas& canvas, double pixels);

}  // namespace chords
}  // namespace qm
