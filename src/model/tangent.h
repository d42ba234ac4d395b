#pragma once
// Circles tangent to lines and circles: the solvers behind the arc and
// circle constructions and the blend tool. A line counts as its whole
// carrier, an arc as its whole circle.
#include <cstdint>
#include <span>
#include <vector>

#include "geom/geometry.h"

namespace qm {

class TCadObj;

// What a solver sees of an entity or a click.
struct TCarrier {
  enum class Kind : std::uint8_t { None, Point, Line, Circle };
  Kind kind = Kind::None;
  TSegment seg;       // Line: its two points
  TPointD center;     // Circle: centre; Point: the point
  double radius = 0;  // Circle: |radius|

  static TCarrier Of(const TCadObj& entity);  // None for a record-less arc
  static TCarrier PointAt(TPointD p) { return {Kind::Point, {}, p, 0}; }
  static TCarrier LineOf(TPointD a, TPointD b) { return {Kind::Line, {a, b}, {}, 0}; }
  static TCarrier CircleOf(TPointD c, double r) { return {Kind::Circle, {}, c, std::fabs(r)}; }
  bool IsLine() const { return kind == Kind::Line; }
  bool IsCircle() const { return kind == Kind::Circle; }
};

struct TCircleSol {
  TPointD center;
  double radius = 0;
};

// Centres of the circles of radius |R| tangent to a and b (lines or
// circles), in the documented order, without repeats. `status` gets the
// kernel code of the last combination that failed (2 a line is a point,
// 6 parallel lines, 16 concentric, 72 no real solution).
std::vector<TPointD> TangentCirclesOfRadius(const TCarrier& a, const TCarrier& b, double R,
                                            std::int32_t* status = nullptr);

// Centres of the circles of radius |R| through p tangent to e.
std::vector<TPointD> CirclesThroughPoint(TPointD p, const TCarrier& e, double R, std::int32_t* status = nullptr);

// Radii of the circles centred at p tangent to e: a line gives the distance
// to the segment (nothing for a zero-length line or a point on it); a
// circle gives r − b, or b − r then b + r (b = |p − centre|). `onCircle` is
// set when p lies on the circle (|b − r| ≤ Tol6): then nothing is given.
std::vector<double> RadiiCentredAt(TPointD p, const TCarrier& e, bool* onCircle = nullptr);

// Centres of the circles of radius |R| through p that meet e at right
// angles: on a line's carrier, or on the circle of radius √(R² + r²) about
// the centre of a circle (intersected with tolerance Tol3).
std::vector<TPointD> OrthogonalCircles(TPointD p, double R, const TCarrier& e);

// Every circle tangent to three points, lines or circles (a point is passed
// through), radius above Tol6, without repeats.
std::vector<TCircleSol> CirclesTangentToThree(std::span<const TCarrier, 3> objects);

// Where the circle (centre, radius) touches e: the foot on a line, the
// point on a circle at distance radius from the centre, the point itself.
TPointD TouchPoint(const TCarrier& e, TPointD center, double radius);

}  // namespace qm
