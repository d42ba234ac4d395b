// Directions, angle arithmetic and placing points by angle.
//
// Convention: radians, counter-clockwise from the positive x axis. A
// direction lies in (0, 2π]; the positive x direction is 2π, so callers
// never see 0 for a real direction (0 means "the two points coincide").
#pragma once

#include "geom/numerics.h"

namespace qm {

// Unit of Angle's result. Numbered as Angle's mode argument was: 1 degrees,
// 2 radians.
enum class AngleMode : int { Degrees = 1, Radians = 2 };

// Direction of the vector from (x0, y0) to (x1, y1) in (0, 2π], 0 only for
// coincident points. The components are compared exactly.
double Angle(double x0, double y0, double x1, double y1);
inline double Angle(TPointD from, TPointD to) { return Angle(from.x, from.y, to.x, to.y); }
// The same in degrees, (0, 360].
inline double AngleDeg(TPointD from, TPointD to) { return RadToDeg(Angle(from, to)); }
// Mode form. An out-of-range mode answers radians and sets LastStatus 1.
double Angle(AngleMode mode, double x0, double y0, double x1, double y1);

// a brought into [0, 2π]: [0, 2π] is kept (2π stays 2π); above 2π the
// remainder modulo 2π, or 2π when the remainder is 0; below 0 the remainder
// plus 2π. Huge angles take no longer than small ones; NaN and infinities
// are returned unchanged.
double NormalizeAngle(double a);

// b − a brought into [−π, π]; for a difference of exactly π the sign follows
// the order: AngleDiff(0, π) = π, AngleDiff(π, 0) = −π.
double AngleDiff(double a, double b);

// Quarter turns q in [0, 4] to an angle (AngleMode::Radians or Degrees).
// Status 20 for negative q, 19 above 4, 1 for an unknown mode; value 0 then.
Result<double> QuarterToAngle(AngleMode mode, double q);

// 1..4 by the signs of the components; a component counts as negative when
// it is < −Eps: 1 (+,+), 2 (−,+), 3 (−,−), 4 (+,−).
int Quadrant(TPointD v);

// Mode of PolarPoint: the unit of its angle argument, and whether the
// distance is used as |d| or signed. Note the numbering differs from the
// arc record's ArcAngleUnit (there 0 is radians): convert with PolarModeFor.
enum class PolarMode : int {
  Degrees = 0,
  Radians = 1,
  QuarterTurns = 2,
  SignedDegrees = 10,
  SignedRadians = 11,
  SignedQuarterTurns = 12,
};

// The PolarPoint mode that reads angles of the given arc unit. Status 21 for
// an unknown unit (value Radians then).
Result<PolarMode> PolarModeFor(ArcAngleUnit unit, bool signedDistance = false);

// An angle of the given arc unit in radians. Status 21 for an unknown unit.
Result<double> ArcAngleToRadians(double angle, ArcAngleUnit unit);

// origin + d·(cos θ, sin θ), θ read in the mode's unit; the plain modes use
// |d|, the Signed ones d itself. Each result coordinate that IsZero is set to
// 0. An out-of-range mode answers origin and sets LastStatus 1.
TPointD PolarPoint(PolarMode mode, TPointD origin, double angle, double d);

// Rotation of p about centre by an angle in degrees (counter-clockwise); p
// unchanged when the angle IsZero.
TPointD RotatePointDeg(TPointD p, TPointD centre, double angleDeg);

// Reflection of p across the line through (x1, y1) and (x2, y2). When
// |x1 − x2| < Tol6 the line is taken as vertical, otherwise when
// |y1 − y2| < Tol6 as horizontal (so two coincident points mirror across
// the vertical through them).
TPointD MirrorPoint(TPointD p, double x1, double y1, double x2, double y2);
inline TPointD MirrorPoint(TPointD p, TPointD a, TPointD b) { return MirrorPoint(p, a.x, a.y, b.x, b.y); }

}  // namespace qm
