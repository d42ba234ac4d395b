#include "geom/circles.h"

#include <algorithm>
#include <utility>

#include "geom/angles.h"
#include "geom/lines.h"

namespace qm {

namespace {

template <class R>
R Report(R r) {
  LastStatus = r.status;
  return r;
}

inline TPointD Along(TPointD c, double r, double theta) {
  return {c.x + r * std::cos(theta), c.y + r * std::sin(theta)};
}

// The angular range of an arc in radians: [f, e] with f in [0, 2π) and e in
// (f, f + 2π], start and end exchanged for a clockwise arc.
struct ArcSpan {
  double start = 0;  // as stored, in radians
  double end = 0;
  double f = 0;
  double e = 0;
  bool full = false;
  std::int32_t status = GeomStatus::Ok;
};

ArcSpan SpanOf(const TArcRec& arc) {
  ArcSpan s;
  const Result<double> a = ArcAngleToRadians(arc.StartAngle, arc.AngleUnit);
  const Result<double> b = ArcAngleToRadians(arc.EndAngle, arc.AngleUnit);
  if (!a.ok() || !b.ok()) {
    s.status = GeomStatus::UnknownAngleUnit;
    s.full = true;
    return s;
  }
  s.start = a.value;
  s.end = b.value;
  s.full = IsEqual(s.start, s.end) || IsEqual(TwoPi, std::fabs(s.end - s.start));
  double f = s.start, e = s.end;
  if (arc.Radius < 0) std::swap(f, e);
  double m = std::fmod(e - f, TwoPi);
  if (!(m > 0)) m += TwoPi;  // (0, 2π]; equal angles make a full turn here
  f = std::fmod(f, TwoPi);
  if (f < 0) f += TwoPi;
  if (f >= TwoPi) f = 0;  // −tiny + 2π can round to 2π
  s.f = f;
  s.e = f + m;
  return s;
}

// θ is a direction from Angle, in [0, 2π].
bool InSpan(const ArcSpan& s, double theta) {
  if (s.full) return true;
  if (theta >= TwoPi) theta -= TwoPi;
  return (theta >= s.f && theta <= s.e) || (theta + TwoPi >= s.f && theta + TwoPi <= s.e);
}

TBox CircleBox(TPointD c, double r) { return {{c.x - r, c.y - r}, {c.x + r, c.y + r}}; }

}  // namespace

// ---------------------------------------------------------------------------
// Intersections
// ---------------------------------------------------------------------------

IntersectResult LineCircle(LineCircleMode mode, TPointD center, double radius, const TSegment& s) {
  IntersectResult r;
  if (mode != LineCircleMode::Segment && mode != LineCircleMode::Line) {
    r.status = GeomStatus::UnknownMode;
    return Report(r);
  }
  const double dx = s.P2.x - s.P1.x, dy = s.P2.y - s.P1.y;
  const double len = std::hypot(dx, dy);
  if (IsZero(len)) {
    r.status = GeomStatus::CoincidentPoints;
    return Report(r);
  }
  const double ux = dx / len, uy = dy / len;
  const double wx = center.x - s.P1.x, wy = center.y - s.P1.y;
  const double h = wx * ux + wy * uy;  // foot of the centre along s
  const double i = ux * wy - uy * wx;  // signed distance of the centre
  const double rad = std::fabs(radius);
  const double g = rad - std::fabs(i);
  if (g < -Eps) return Report(r);
  const bool all = mode == LineCircleMode::Line;
  auto keep = [&](TPointD p) {
    if (!all && !IsOnSegment(s, p, Eps)) return;
    (r.count == 0 ? r.p1 : r.p2) = p;
    ++r.count;
  };
  if (IsZero(g)) {
    keep({s.P1.x + h * ux, s.P1.y + h * uy});
  } else {
    const double q = std::sqrt(rad * rad - i * i);
    keep({s.P1.x + (h - q) * ux, s.P1.y + (h - q) * uy});
    keep({s.P1.x + (h + q) * ux, s.P1.y + (h + q) * uy});
  }
  return Report(r);
}

IntersectResult CircleCircle(TPointD c1, double r1, TPointD c2, double r2, double t) {
  IntersectResult r;
  const double d = Distance(c1, c2);
  if (d <= t) {
    r.status = GeomStatus::Concentric;
    return Report(r);
  }
  const double phi = Angle(c1, c2);
  const double a1 = std::fabs(r1), a2 = std::fabs(r2);
  if (std::fabs(std::fabs(a2 - a1) - d) <= 10 * t) {
    // Internally touching: the point lies on the larger circle's side.
    r.count = 1;
    r.p1 = Along(c1, a1, a1 >= a2 ? phi : phi + Pi);
    return Report(r);
  }
  if (std::fabs(a1 + a2 - d) <= 10 * t) {
    r.count = 1;
    r.p1 = Along(c1, a1, phi);
    return Report(r);
  }
  if (d + t >= std::fabs(a2 - a1) && d - t <= a1 + a2) {
    r.count = 2;
    const double s = (a1 + a2 + d) / 2;
    double B = s * (s - a1) * (s - a2) * (s - d);  // Heron: squared triangle area
    if (B < 0) {
      r.count = 1;
      B = 0;
    }
    // From the larger circle the half angle F is at most π/2.
    const bool fromFirst = a1 >= a2;
    const double R = fromFirst ? a1 : a2;
    const TPointD c = fromFirst ? c1 : c2;
    const double psi = fromFirst ? phi : phi + Pi;
    const double q = 2 * std::sqrt(B) / (R * d);
    // q can exceed 1 only by rounding, for nearly coincident circles whose
    // points lie at right angles to the centre line.
    const double F = q >= 1 ? HalfPi : std::asin(q);
    r.p1 = Along(c, R, psi + F);
    r.p2 = Along(c, R, psi - F);
    return Report(r);
  }
  return Report(r);  // apart, or one inside the other
}

IntersectResult CircleCircle(const TCircleEq& e1, const TCircleEq& e2, double t) {
  const Result<TCircleEq> k1 = CircleFromEquation(e1.D, e1.E, e1.F);
  const Result<TCircleEq> k2 = CircleFromEquation(e2.D, e2.E, e2.F);
  if (!k1.ok() || !k2.ok()) {
    IntersectResult r;
    r.status = k1.ok() ? k2.status : k1.status;
    return Report(r);
  }
  return CircleCircle(k1.value.Center, k1.value.Radius, k2.value.Center, k2.value.Radius, t);
}

IntersectResult ArcArc(const TArcRec& a1, const TArcRec& a2) {
  IntersectResult r;
  if (SpanOf(a1).status != GeomStatus::Ok || SpanOf(a2).status != GeomStatus::Ok) {
    r.status = GeomStatus::UnknownAngleUnit;
    return Report(r);
  }
  const IntersectResult cc = CircleCircle(a1.Center, a1.Radius, a2.Center, a2.Radius, Tol6);
  if (cc.status != GeomStatus::Ok) return Report(cc);
  auto keep = [&](TPointD p) {
    if (!IsOnArc(a1, p, Tol5) || !IsOnArc(a2, p, Tol5)) return;
    (r.count == 0 ? r.p1 : r.p2) = p;
    ++r.count;
  };
  if (cc.count >= 1) keep(cc.p1);
  if (cc.count >= 2) keep(cc.p2);
  return Report(r);
}

// ---------------------------------------------------------------------------
// Arc ranges
// ---------------------------------------------------------------------------

ArcEnds ArcEndPoints(const TArcRec& arc) {
  ArcEnds r;
  // The arc's unit numbering is not PolarPoint's: map it.
  const Result<PolarMode> mode = PolarModeFor(arc.AngleUnit);
  if (!mode.ok()) {
    r.status = mode.status;
    return Report(r);
  }
  r.start = PolarPoint(mode.value, arc.Center, arc.StartAngle, arc.Radius);
  r.end = PolarPoint(mode.value, arc.Center, arc.EndAngle, arc.Radius);
  return Report(r);
}

double Sweep(const TArcRec& arc) {
  const ArcSpan s = SpanOf(arc);
  LastStatus = s.status;
  if (s.status != GeomStatus::Ok) return 0;
  return NormalizeAngle(arc.Radius > 0 ? s.end - s.start : s.start - s.end);
}

bool IsOnArc(const TArcRec& arc, TPointD p, double t) {
  const ArcSpan s = SpanOf(arc);
  LastStatus = s.status;
  if (s.status != GeomStatus::Ok) return false;
  const double rad = std::fabs(arc.Radius);
  if (!(std::fabs(Distance(arc.Center, p) - rad) <= t)) return false;
  const TPointD ps = Along(arc.Center, rad, s.start), pe = Along(arc.Center, rad, s.end);
  if (SamePoint(p, ps, t) || SamePoint(p, pe, t)) return true;
  return InSpan(s, Angle(arc.Center, p));
}

double DistanceToArc(const TArcRec& arc, TPointD p) {
  const ArcSpan s = SpanOf(arc);
  LastStatus = s.status;
  if (s.status != GeomStatus::Ok) return FarValue;
  const double rad = std::fabs(arc.Radius);
  if (InSpan(s, Angle(arc.Center, p))) return std::fabs(Distance(arc.Center, p) - rad);
  const TPointD ps = Along(arc.Center, rad, s.start), pe = Along(arc.Center, rad, s.end);
  return std::min(Distance(p, ps), Distance(p, pe));
}

TBox ArcExtents(const TArcRec& arc) {
  const ArcSpan s = SpanOf(arc);
  LastStatus = s.status;
  const double rad = std::fabs(arc.Radius);
  if (s.status != GeomStatus::Ok || s.full || s.e - s.f >= TwoPi - Tol6) return CircleBox(arc.Center, rad);
  const TPointD ps = Along(arc.Center, rad, s.start), pe = Along(arc.Center, rad, s.end);
  TBox box{{std::min(ps.x, pe.x), std::min(ps.y, pe.y)}, {std::max(ps.x, pe.x), std::max(ps.y, pe.y)}};
  // Widen to every axis direction the arc passes; f ∈ [0, 2π), e < 4π, so
  // the directions k·π/2 for k = 0..7 cover the range.
  for (int k = 0; k < 8; ++k) {
    const double dir = k * HalfPi;
    if (dir < s.f || dir > s.e) continue;
    switch (k % 4) {
      case 0: box.Max.x = arc.Center.x + rad; break;
      case 1: box.Max.y = arc.Center.y + rad; break;
      case 2: box.Min.x = arc.Center.x - rad; break;
      case 3: box.Min.y = arc.Center.y - rad; break;
    }
  }
  return box;
}

double BulgeFromArc(const TArcRec& arc) {
  const double sweep = Sweep(arc);
  if (LastStatus != GeomStatus::Ok) return 0;
  const double q = sweep / 4;
  constexpr double kHuge = 2147483647.0;
  double bulge = kHuge;
  if (std::fabs(std::cos(q)) >= Tol6) bulge = (arc.Radius >= 0 ? 1 : -1) * std::sin(q) / std::cos(q);
  if (!(std::fabs(bulge) < kHuge)) bulge = 0;
  return bulge;
}

ArcFromBulgeResult ArcFromBulge(double bulge, TPointD p1, TPointD p2, double unitFactor) {
  ArcFromBulgeResult r;
  if (p1 == p2) r.status = GeomStatus::CoincidentPoints;
  if (!(std::fabs(bulge) > 1e-4)) return Report(r);  // straight
  const double m = (bulge - 1 / bulge) / 2;
  const TPointD c{(p1.x + p2.x + (p2.y - p1.y) * m) / 2, (p1.y + p2.y - (p2.x - p1.x) * m) / 2};
  r.arc.Center = c;
  r.arc.Radius = (bulge > 0 ? 1 : -1) * Distance(c, p1);
  r.arc.AngleUnit = ArcAngleUnit::Radians;
  r.arc.StartAngle = Angle(c, p1);
  r.arc.EndAngle = Angle(c, p2);
  r.ok = std::fabs(r.arc.Radius) > 0.001 / unitFactor;
  return Report(r);
}

// ---------------------------------------------------------------------------
// Circles through points
// ---------------------------------------------------------------------------

namespace {

TCircleEq WithEquation(TPointD c, double radius) {
  return {-2 * c.x, -2 * c.y, c.x * c.x + c.y * c.y - radius * radius, c, radius};
}

}  // namespace

Result<TCircleEq> CircleFrom(CircleFromMode mode, TPointD p1, TPointD p2, TPointD p3) {
  Result<TCircleEq> r;
  switch (mode) {
    case CircleFromMode::Diameter: {
      const double d = Distance(p1, p2);
      if (IsZero(d)) {
        r.status = GeomStatus::Collinear;
        break;
      }
      r.value = WithEquation(MidPoint(p1, p2), d / 2);
      break;
    }
    case CircleFromMode::ThreePoints: {
      const double b = p3.y - p1.y, c = p2.x - p1.x, a = p3.x - p1.x, g = p2.y - p1.y;
      const double d = b * c - a * g;
      // d = |p1p2|·|p1p3|·sin(angle at p1): test the angle, not the raw
      // product, so small and large figures are judged alike.
      if (!(std::fabs(d) >= 1e-7 * std::hypot(c, g) * std::hypot(a, b)) || d == 0) {
        r.status = GeomStatus::Collinear;
        break;
      }
      const double f = c * c + g * g, k = a * a + b * b;
      const TPointD centre{p1.x + (b * f - g * k) / (2 * d), p1.y + (c * k - a * f) / (2 * d)};
      r.value = WithEquation(centre, Distance(centre, p1));
      break;
    }
    case CircleFromMode::Inscribed: {
      const Result<TPointD> in = Incenter(p1, p2, p3);
      if (!in.ok()) {
        r.status = in.status;
        break;
      }
      const double radius = std::fabs(PointLineDistance(LineDistanceMode::SignedLine, in.value, {p1, p2}).distance);
      if (IsZero(radius)) {
        r.status = GeomStatus::Collinear;
        break;
      }
      r.value = WithEquation(in.value, radius);
      break;
    }
    case CircleFromMode::InSquare: {
      const double dx = std::fabs(p1.x - p2.x), dy = std::fabs(p1.y - p2.y);
      if (IsZero(dx) && IsZero(dy)) {
        r.status = GeomStatus::Collinear;
        break;
      }
      // Any two opposite corners, whichever diagonal they span.
      if (!WithinTol(Eps, dx, dy)) {
        r.status = GeomStatus::NotASquare;
        break;
      }
      r.value = WithEquation(MidPoint(p1, p2), dx / 2);
      break;
    }
    default:
      r.status = GeomStatus::UnknownMode;
      break;
  }
  return Report(r);
}

Result<TCircleEq> CircleEquation(TPointD center, double radius) {
  Result<TCircleEq> r;
  r.value = WithEquation(center, radius);
  if (IsZero(radius)) r.status = GeomStatus::PointCircle;
  return Report(r);
}

Result<TCircleEq> CircleFromEquation(double D, double E, double F) {
  Result<TCircleEq> r;
  r.value.D = D;
  r.value.E = E;
  r.value.F = F;
  r.value.Center = {-D / 2, -E / 2};
  const double r2 = r.value.Center.x * r.value.Center.x + r.value.Center.y * r.value.Center.y - F;
  if (r2 < 0 && !IsZero(r2)) {
    r.status = GeomStatus::NoRealCircle;
    return Report(r);
  }
  r.value.Radius = std::sqrt(std::max(r2, 0.0));
  if (IsZero(r.value.Radius)) r.status = GeomStatus::PointCircle;
  return Report(r);
}

// ---------------------------------------------------------------------------
// Tangents
// ---------------------------------------------------------------------------

TangentResult TangentsFromPoint(TPointD center, double radius, TPointD p) {
  TangentResult r;
  const double vx = center.x - p.x, vy = center.y - p.y;
  const double g = vx * vx + vy * vy;
  if (IsZero(g)) {
    r.status = GeomStatus::AtCentre;
    return Report(r);
  }
  const double m = g - radius * radius;
  if (m < -Eps) {
    r.status = GeomStatus::InsideCircle;
    return Report(r);
  }
  if (IsZero(m)) {
    r.count = 1;
    r.seg[0] = {p, p};
    return Report(r);
  }
  // Rotate the direction toward the centre by ±α, sin α = r/dist, and go
  // the tangent length √m along it.
  const double dist = std::sqrt(g), len = std::sqrt(m);
  const double ux = vx / dist, uy = vy / dist;
  const double sa = std::fabs(radius) / dist, ca = len / dist;
  r.count = 2;
  r.seg[0] = {p, {p.x + len * (ux * ca - uy * sa), p.y + len * (ux * sa + uy * ca)}};
  r.seg[1] = {p, {p.x + len * (ux * ca + uy * sa), p.y + len * (-ux * sa + uy * ca)}};
  return Report(r);
}

TangentResult CommonTangents(TPointD c1, double r1, TPointD c2, double r2) {
  TangentResult r;
  double a1 = std::fabs(r1), a2 = std::fabs(r2);
  const IntersectResult cc = CircleCircle(c1, a1, c2, a2, Eps);
  if (cc.status != GeomStatus::Ok) {
    r.status = cc.status;
    return Report(r);
  }
  const double d = Distance(c1, c2);
  int wanted = 0;
  if (cc.count == 2)
    wanted = 2;
  else if (cc.count == 1 && std::fabs(std::fabs(a2 - a1) - d) <= 10 * Eps)
    wanted = 1;  // internally touching: the one tangent at the touching point
  else if (cc.count == 1 && std::fabs(a1 + a2 - d) <= 10 * Eps)
    wanted = 3;  // externally touching: the inner pair merges into one
  else if (cc.count == 1)
    wanted = 2;
  else if (d > a1 && d > a2)
    wanted = 4;
  if (wanted == 0) return Report(r);

  if (c2.x < c1.x || (c2.x == c1.x && c2.y < c1.y)) {
    std::swap(c1, c2);
    std::swap(a1, a2);
  }
  const double ux = (c2.x - c1.x) / d, uy = (c2.y - c1.y) / d;
  const double vx = -uy, vy = ux;
  // A tangent line n·x + c = 0 (n unit) has the signed distances ρ1, ρ2 of
  // the centres: n·(c2 − c1) = ρ2 − ρ1 fixes n's component along u.
  const double combos[4][2] = {{a1, a2}, {-a1, -a2}, {a1, -a2}, {-a1, a2}};
  for (const auto& combo : combos) {
    if (r.count == wanted) break;
    const double rho1 = combo[0], rho2 = combo[1];
    const double diff = rho2 - rho1;
    double disc = d * d - diff * diff;
    if (disc < 0) {
      // Touching circles: rounding may leave the discriminant just below 0.
      if (disc < -10 * Eps * (d + std::fabs(diff))) continue;
      disc = 0;
    }
    const double alpha = diff / d, beta = std::sqrt(disc) / d;
    const double nx = alpha * ux + beta * vx, ny = alpha * uy + beta * vy;
    const TSegment seg{{c1.x - rho1 * nx, c1.y - rho1 * ny}, {c2.x - rho2 * nx, c2.y - rho2 * ny}};
    // With a zero discriminant two combinations give the same line.
    bool duplicate = false;
    for (int i = 0; i < r.count; ++i)
      duplicate = duplicate || (SamePoint(r.seg[i].P1, seg.P1, Tol7) && SamePoint(r.seg[i].P2, seg.P2, Tol7));
    if (duplicate) continue;
    r.seg[r.count++] = seg;
  }
  return Report(r);
}

TangentResult PerpendicularTangents(TPointD center, double radius, const TSegment& s) {
  TangentResult r;
  const double dx = s.P2.x - s.P1.x, dy = s.P2.y - s.P1.y;
  const double len = std::hypot(dx, dy);
  if (IsZero(len)) {
    r.status = GeomStatus::CoincidentPoints;
    return Report(r);
  }
  const double ux = dx / len, uy = dy / len;
  const double rad = std::fabs(radius);
  auto foot = [&](TPointD q) {
    const double along = (q.x - s.P1.x) * ux + (q.y - s.P1.y) * uy;
    return TPointD{s.P1.x + along * ux, s.P1.y + along * uy};
  };
  const TPointD t1{center.x + rad * ux, center.y + rad * uy};
  const TPointD t2{center.x - rad * ux, center.y - rad * uy};
  r.count = 2;
  r.seg[0] = {t1, foot(t1)};
  r.seg[1] = {t2, foot(t2)};
  return Report(r);
}

}  // namespace qm
