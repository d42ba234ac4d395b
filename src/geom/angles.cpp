#include "geom/angles.h"

namespace qm {

double Angle(double x0, double y0, double x1, double y1) {
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  if (dx == 0 && dy == 0) return 0;
  // atan2 is in (−π, π]; the lower half and the positive x axis (including
  // dy = −0) move up by one turn.
  const double a = std::atan2(dy, dx);
  return a <= 0 ? a + TwoPi : a;
}

double Angle(AngleMode mode, double x0, double y0, double x1, double y1) {
  const double a = Angle(x0, y0, x1, y1);
  switch (mode) {
    case AngleMode::Radians:
      LastStatus = GeomStatus::Ok;
      return a;
    case AngleMode::Degrees:
      LastStatus = GeomStatus::Ok;
      return RadToDeg(a);
  }
  LastStatus = GeomStatus::UnknownMode;
  return a;
}

double NormalizeAngle(double a) {
  if (!std::isfinite(a)) return a;
  if (a >= 0 && a <= TwoPi) return a;
  const double r = std::fmod(a, TwoPi);  // sign of a, |r| < 2π
  if (a > TwoPi) return r == 0 ? TwoPi : r;
  return r + TwoPi;  // r in (−2π, 0]; the sum may round to 2π, still in range
}

double AngleDiff(double a, double b) {
  a = NormalizeAngle(a);
  b = NormalizeAngle(b);
  if (a - b > Pi)
    a -= TwoPi;
  else if (b - a > Pi)
    b -= TwoPi;
  return b - a;
}

Result<double> QuarterToAngle(AngleMode mode, double q) {
  Result<double> r;
  if (mode != AngleMode::Radians && mode != AngleMode::Degrees)
    r.status = GeomStatus::UnknownMode;
  else if (q < 0)
    r.status = GeomStatus::AngleNegative;
  else if (!(q <= 4))
    r.status = GeomStatus::AngleOutOfRange;
  else
    r.value = mode == AngleMode::Degrees ? q * 90 : q * HalfPi;
  LastStatus = r.status;
  return r;
}

int Quadrant(TPointD v) {
  const bool xNeg = v.x < -Eps;
  const bool yNeg = v.y < -Eps;
  if (!xNeg && !yNeg) return 1;
  if (xNeg && !yNeg) return 2;
  if (xNeg && yNeg) return 3;
  return 4;
}

Result<PolarMode> PolarModeFor(ArcAngleUnit unit, bool signedDistance) {
  Result<PolarMode> r{PolarMode::Radians, GeomStatus::Ok};
  switch (unit) {
    case ArcAngleUnit::Radians:
      r.value = signedDistance ? PolarMode::SignedRadians : PolarMode::Radians;
      break;
    case ArcAngleUnit::Degrees:
      r.value = signedDistance ? PolarMode::SignedDegrees : PolarMode::Degrees;
      break;
    case ArcAngleUnit::QuarterTurns:
      r.value = signedDistance ? PolarMode::SignedQuarterTurns : PolarMode::QuarterTurns;
      break;
    default:
      r.status = GeomStatus::UnknownAngleUnit;
      break;
  }
  LastStatus = r.status;
  return r;
}

Result<double> ArcAngleToRadians(double angle, ArcAngleUnit unit) {
  Result<double> r{angle, GeomStatus::Ok};
  switch (unit) {
    case ArcAngleUnit::Radians:
      break;
    case ArcAngleUnit::Degrees:
      r.value = DegToRad(angle);
      break;
    case ArcAngleUnit::QuarterTurns:
      r.value = angle * HalfPi;
      break;
    default:
      r.status = GeomStatus::UnknownAngleUnit;
      break;
  }
  LastStatus = r.status;
  return r;
}

TPointD PolarPoint(PolarMode mode, TPointD origin, double angle, double d) {
  double theta = 0;
  bool useSigned = false;
  switch (mode) {
    case PolarMode::SignedDegrees:
      useSigned = true;
      [[fallthrough]];
    case PolarMode::Degrees:
      theta = DegToRad(angle);
      break;
    case PolarMode::SignedRadians:
      useSigned = true;
      [[fallthrough]];
    case PolarMode::Radians:
      theta = angle;
      break;
    case PolarMode::SignedQuarterTurns:
      useSigned = true;
      [[fallthrough]];
    case PolarMode::QuarterTurns:
      theta = angle * HalfPi;
      break;
    default:
      LastStatus = GeomStatus::UnknownMode;
      return origin;
  }
  LastStatus = GeomStatus::Ok;
  const double r = useSigned ? d : std::fabs(d);
  TPointD p{origin.x + r * std::cos(theta), origin.y + r * std::sin(theta)};
  SnapZero(p.x);
  SnapZero(p.y);
  return p;
}

TPointD RotatePointDeg(TPointD p, TPointD centre, double angleDeg) {
  if (IsZero(angleDeg)) return p;
  const double a = DegToRad(angleDeg);
  const double c = std::cos(a), s = std::sin(a);
  const double dx = p.x - centre.x, dy = p.y - centre.y;
  return {centre.x + dx * c - dy * s, centre.y + dx * s + dy * c};
}

TPointD MirrorPoint(TPointD p, double x1, double y1, double x2, double y2) {
  if (std::fabs(x1 - x2) < Tol6) return {2 * x1 - p.x, p.y};
  if (std::fabs(y1 - y2) < Tol6) return {p.x, 2 * y1 - p.y};
  const double dx = x2 - x1, dy = y2 - y1;
  const double t = ((p.x - x1) * dx + (p.y - y1) * dy) / (dx * dx + dy * dy);
  const double fx = x1 + t * dx, fy = y1 + t * dy;
  return {2 * fx - p.x, 2 * fy - p.y};
}

}  // namespace qm
