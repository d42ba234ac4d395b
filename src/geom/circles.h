// Circles and arcs: intersections, arc ranges and extents, bulges, circles
// through points, tangents.
//
// Arc records are read in their AngleUnit; results are always radians. A
// circle argument is a centre and a radius; the sign of a circle's radius is
// ignored.
#pragma once

#include <array>

#include "geom/numerics.h"

namespace qm {

// Up to two intersection points, in the order each operation states.
struct IntersectResult {
  int count = 0;
  TPointD p1;
  TPointD p2;
  std::int32_t status = GeomStatus::Ok;
};

enum class LineCircleMode : int {
  Segment = 0,  // keep the points that lie on the segment
  Line = 4,     // the whole carrier line (what entities use)
};

// Intersections of a circle with s or its carrier, ordered along s from
// P1 to P2; a tangent line gives one point. Status 2 (and count 0) when s is
// a point, 1 for an unknown mode.
IntersectResult LineCircle(LineCircleMode mode, TPointD center, double radius, const TSegment& s);

// Intersections of two circles; t is the coincidence tolerance (entities pass
// Tol6). Touching circles (within 10·t) give one point, in p1. Two points:
// p1 is the "plus" point and p2 the "minus" point, at +F and −F from the
// direction out of the larger circle's centre toward the other centre (for
// equal radii, seen from c1 toward c2). Status 16 when the centres are within
// t (count 0).
IntersectResult CircleCircle(TPointD c1, double r1, TPointD c2, double r2, double t);
// The same for circles in equation form (D, E, F are used); status 13 or 14
// when an equation has no proper circle.
IntersectResult CircleCircle(const TCircleEq& e1, const TCircleEq& e2, double t);

// Intersections of the carrier circles that lie on both arcs (IsOnArc with
// Tol5). Status 16 for concentric arcs, 21 for an unknown angle unit.
IntersectResult ArcArc(const TArcRec& a1, const TArcRec& a2);

// The points at the start and end angle. Status 21 for an unknown unit.
struct ArcEnds {
  TPointD start;
  TPointD end;
  std::int32_t status = GeomStatus::Ok;
};
ArcEnds ArcEndPoints(const TArcRec& arc);

// Angular extent in [0, 2π] (radians whatever the unit): end − start for a
// counter-clockwise arc, start − end for a clockwise one, brought into range
// as NormalizeAngle does, so 0 … 2π (either way round) is a full turn 2π and
// equal angles are 0. Unknown unit: 0 and LastStatus 21.
double Sweep(const TArcRec& arc);

// p lies within t of the arc's circle and inside its angular range (or
// matches an end point within t, or the arc is a full turn). Start and end
// angles may be any real numbers, above 2π or negative. Unknown unit: false
// and LastStatus 21.
bool IsOnArc(const TArcRec& arc, TPointD p, double t);

// Shortest distance from p to the arc. Unknown unit: FarValue and
// LastStatus 21.
double DistanceToArc(const TArcRec& arc, TPointD p);

// Smallest axis-aligned box containing the arc. A full turn (as for IsOnArc,
// or a sweep within Tol6 of 2π) gives the circle's box. Unknown unit: the
// circle's box and LastStatus 21.
TBox ArcExtents(const TArcRec& arc);

// tan(Sweep/4), negative for a clockwise arc; 0 for a full circle (which
// cannot be an arc entity). Unknown unit: 0 and LastStatus 21.
double BulgeFromArc(const TArcRec& arc);

// The arc (in radians) from its end points and bulge. A positive bulge puts
// the centre to the left of p1 → p2 for sweeps below π: the arc runs
// counter-clockwise from p1 to p2. ok is false for a straight segment
// (|bulge| ≤ 1e-4, arc untouched) or an arc of radius ≤ 0.001/unitFactor
// (unitFactor is 1 when lengths are shown in mm, 25.4 in inches). Status 2
// when the end points coincide.
struct ArcFromBulgeResult {
  bool ok = false;
  TArcRec arc;
  std::int32_t status = GeomStatus::Ok;
};
ArcFromBulgeResult ArcFromBulge(double bulge, TPointD p1, TPointD p2, double unitFactor);

enum class CircleFromMode : int {
  Diameter = 0,     // p1–p2 is a diameter
  ThreePoints = 1,  // through p1, p2, p3
  Inscribed = 2,    // inscribed in the triangle p1 p2 p3
  InSquare = 3,     // inscribed in the axis-aligned square with opposite corners p1, p2
};
// Circle with its equation form filled. Status 5 for coincident (Diameter,
// InSquare) or collinear (ThreePoints, Inscribed) points, 9 for a triangle
// with a zero side, 10 when p1, p2 are not opposite corners of a square, 1 for
// an unknown mode; the circle is then left zero.
Result<TCircleEq> CircleFrom(CircleFromMode mode, TPointD p1, TPointD p2, TPointD p3 = {});

// Centre/radius to the D, E, F form; status 13 for a zero radius (the
// equation is still filled).
Result<TCircleEq> CircleEquation(TPointD center, double radius);
// D, E, F to centre and radius; status 13 for a point circle, 14 when there
// is no real circle.
Result<TCircleEq> CircleFromEquation(double D, double E, double F);

// Up to four tangent segments.
struct TangentResult {
  int count = 0;
  std::array<TSegment, 4> seg{};
  std::int32_t status = GeomStatus::Ok;
};

// Tangents from p, each the segment from p to its touching point: seg[0]
// touches to the left of the direction from p to the centre, seg[1] to the
// right. A point on the circle gives one segment (p, p). Status 68 at the
// centre, 69 inside the circle (count 0).
TangentResult TangentsFromPoint(TPointD center, double radius, TPointD p);

// Common tangents: 2 for intersecting circles (the outer ones), 3 for
// externally touching, 1 for internally touching, 4 for circles apart, 0 for
// one inside the other (status 16 when concentric). The circles are first
// ordered by centre x (then y); each segment runs from the touching point on
// the first of them to the one on the second. Order: the outer tangent on the
// right of the direction from the first centre to the second, the outer one
// on the left, then the inner one leaving the first circle on the right and
// the inner one leaving it on the left.
TangentResult CommonTangents(TPointD c1, double r1, TPointD c2, double r2);

// The two tangents perpendicular to s: seg[0] from the touching point
// centre + |r|·u (u the unit direction of s), seg[1] from centre − |r|·u,
// each to its foot on the carrier of s. Status 2 when s is a point.
TangentResult PerpendicularTangents(TPointD center, double radius, const TSegment& s);

}  // namespace qm
