// Lines, segments, triangles and quads.
#pragma once

#include <array>

#include "geom/numerics.h"

namespace qm {

// Normalised forms of the line through p1 and p2 (direction p1 → p2).
// Status 2 when the points coincide (within Eps); the value is then zero.
Result<TLineEq> LineEquation(TPointD p1, TPointD p2);
Result<TLineParam> LineParam(TPointD p1, TPointD p2);

// Intersection of the carrier lines of s and t: point = s.P1 + h·(s.P2 − s.P1)
// = t.P1 + k·(t.P2 − t.P1).
struct SegmentIntersection {
  TPointD point;
  double h = 0;
  double k = 0;
  // 0: the point lies on both segments (0 ≤ h, k ≤ 1); 2 (OnExtension): on
  // an extension of one or both; 1 (SegmentsParallel): the directions differ
  // by less than Eps radians (or a segment is a point) and there is no point.
  std::int32_t status = GeomStatus::Ok;
};
SegmentIntersection IntersectSegments(const TSegment& s, const TSegment& t);

// True when the end points of each segment lie on different sides of, or
// within Eps of, the other's carrier line. Collinear segments always "cross";
// a segment that is a point crosses t when it lies on t's carrier.
bool SegmentsCross(const TSegment& s, const TSegment& t);

// p lies on s: within t of an end point in both coordinates, or seen from p
// the two end points lie in opposite directions (within Tol3 radians) and p
// is no farther than max(t, Tol2) from the carrier line.
bool IsOnSegment(const TSegment& s, TPointD p, double t);

enum class LineDistanceMode : int {
  SignedLine = 2,     // signed distance to the carrier (positive on the left of P1 → P2)
  Segment = 3,        // distance to the segment
  FootOnSegment = 4,  // distance to the perpendicular foot, when it lies on the segment
};

struct LineDistance {
  // SignedLine: signed distance; Segment: distance to the nearest point of
  // the segment; FootOnSegment: distance to the foot, or 1 when the foot
  // falls outside the segment.
  double distance = 1;
  // SignedLine: the foot on the carrier; Segment: the nearest point of the
  // segment; FootOnSegment: the foot, or p unchanged when it falls outside.
  TPointD point;
  bool footOnSegment = false;  // the perpendicular foot lies on the segment
  // 2 when s is a point (within Eps): the distance is then the distance to
  // that point and `point` is that point; 1 for an unknown mode.
  std::int32_t status = GeomStatus::Ok;
};
LineDistance PointLineDistance(LineDistanceMode mode, TPointD p, const TSegment& s);

// The part of s inside the axis-aligned window (its corners in any order).
struct ClipResult {
  TSegment segment;      // when nothing is visible: s.P1 twice
  bool visible = false;
  std::int32_t status = GeomStatus::Ok;  // 22 when the window has no area
};
ClipResult ClipSegment(const TBox& window, const TSegment& s);

// Bounding box of s; status 2 when s is a point (the box is then that point).
Result<TBox> SegmentBox(const TSegment& s);

// Incentre (a·A + b·B + c·C)/(a + b + c), a, b, c the sides opposite A, B, C.
// Status 9 when a side IsZero (value (0, 0)).
Result<TPointD> Incenter(TPointD A, TPointD B, TPointD C);

// The angles (radians) opposite the sides a, b, c, by the law of cosines.
struct TriangleAnglesResult {
  double A = 0;
  double B = 0;
  double C = 0;
  std::int32_t status = GeomStatus::Ok;  // 39 a side ≤ Eps; 34 not a triangle
};
TriangleAnglesResult TriangleAngles(double a, double b, double c);

// Winding test: inside when the directions to the corners turn through a
// full turn (within 1 radian).
bool PointInQuad(TPointD p, const std::array<TPointD, 4>& q);
// Even-odd ray-crossing test.
bool PointInQuadCrossing(TPointD p, const std::array<TPointD, 4>& q);

}  // namespace qm
