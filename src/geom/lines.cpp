#include "geom/lines.h"

#include <algorithm>

#include "geom/angles.h"

namespace qm {

namespace {

inline double Cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

template <class R>
R Report(R r) {
  LastStatus = r.status;
  return r;
}

}  // namespace

Result<TLineEq> LineEquation(TPointD p1, TPointD p2) {
  Result<TLineEq> r;
  const double len = Distance(p1, p2);
  if (IsZero(len)) {
    r.status = GeomStatus::CoincidentPoints;
    return Report(r);
  }
  r.value.a = -(p2.y - p1.y) / len;
  r.value.b = (p2.x - p1.x) / len;
  r.value.c = -(r.value.a * p1.x + r.value.b * p1.y);
  return Report(r);
}

Result<TLineParam> LineParam(TPointD p1, TPointD p2) {
  Result<TLineParam> r;
  const double len = Distance(p1, p2);
  if (IsZero(len)) {
    r.status = GeomStatus::CoincidentPoints;
    return Report(r);
  }
  r.value = {p1.x, p1.y, (p2.x - p1.x) / len, (p2.y - p1.y) / len};
  return Report(r);
}

SegmentIntersection IntersectSegments(const TSegment& s, const TSegment& t) {
  SegmentIntersection r;
  const double ax = s.P2.x - s.P1.x, ay = s.P2.y - s.P1.y;
  const double bx = t.P2.x - t.P1.x, by = t.P2.y - t.P1.y;
  const double cross = Cross(ax, ay, bx, by);
  // |cross| = |dA|·|dB|·|sin θ|: scaling by the lengths makes the parallel
  // test an angle test, so short segments (a glyph chord in inches) are not
  // all parallel and long nearly parallel ones are.
  if (std::fabs(cross) <= Eps * std::hypot(ax, ay) * std::hypot(bx, by)) {
    r.status = GeomStatus::SegmentsParallel;
    return Report(r);
  }
  const double wx = t.P1.x - s.P1.x, wy = t.P1.y - s.P1.y;
  r.h = Cross(wx, wy, bx, by) / cross;
  r.k = Cross(wx, wy, ax, ay) / cross;
  r.point = {s.P1.x + r.h * ax, s.P1.y + r.h * ay};
  const bool within = r.h >= 0 && r.h <= 1 && r.k >= 0 && r.k <= 1;
  r.status = within ? GeomStatus::Ok : GeomStatus::OnExtension;
  return Report(r);
}

namespace {

// True when a and b lie on different sides of, or within Eps of, the carrier
// of s. Distances, not raw cross products, so the test does not depend on
// the segments' size; a point segment has no side.
bool StraddlesCarrier(const TSegment& s, TPointD a, TPointD b) {
  const double dx = s.P2.x - s.P1.x, dy = s.P2.y - s.P1.y;
  const double len = std::hypot(dx, dy);
  if (len == 0) return true;
  const double da = Cross(dx, dy, a.x - s.P1.x, a.y - s.P1.y) / len;
  const double db = Cross(dx, dy, b.x - s.P1.x, b.y - s.P1.y) / len;
  return IsZero(da) || IsZero(db) || (da < 0) != (db < 0);
}

}  // namespace

bool SegmentsCross(const TSegment& s, const TSegment& t) {
  return StraddlesCarrier(s, t.P1, t.P2) && StraddlesCarrier(t, s.P1, s.P2);
}

bool IsOnSegment(const TSegment& s, TPointD p, double t) {
  if (std::fabs(p.x - s.P1.x) <= t && std::fabs(p.y - s.P1.y) <= t) return true;
  if (std::fabs(p.x - s.P2.x) <= t && std::fabs(p.y - s.P2.y) <= t) return true;
  const double turn = std::fabs(Angle(p, s.P1) - Angle(p, s.P2));
  if (std::fabs(turn - Pi) > Tol3) return false;
  // The angular test alone accepts points far off a long segment's middle;
  // bound the distance from the carrier too.
  const double dx = s.P2.x - s.P1.x, dy = s.P2.y - s.P1.y;
  const double len = std::hypot(dx, dy);
  if (len == 0) return false;
  const double off = std::fabs(Cross(dx, dy, p.x - s.P1.x, p.y - s.P1.y)) / len;
  return off <= std::max(t, Tol2);
}

LineDistance PointLineDistance(LineDistanceMode mode, TPointD p, const TSegment& s) {
  LineDistance r;
  r.point = p;
  if (mode != LineDistanceMode::SignedLine && mode != LineDistanceMode::Segment &&
      mode != LineDistanceMode::FootOnSegment) {
    r.status = GeomStatus::UnknownMode;
    return Report(r);
  }
  const double dx = s.P2.x - s.P1.x, dy = s.P2.y - s.P1.y;
  const double len = std::hypot(dx, dy);
  if (IsZero(len)) {
    // No direction: the segment is its point.
    r.distance = Distance(p, s.P1);
    r.point = s.P1;
    r.footOnSegment = true;
    r.status = GeomStatus::CoincidentPoints;
    return Report(r);
  }
  const double ux = dx / len, uy = dy / len;
  const double along = (p.x - s.P1.x) * ux + (p.y - s.P1.y) * uy;
  const double signedDist = Cross(ux, uy, p.x - s.P1.x, p.y - s.P1.y);
  const TPointD foot{s.P1.x + along * ux, s.P1.y + along * uy};
  r.footOnSegment = along >= -Eps && along <= len + Eps;
  switch (mode) {
    case LineDistanceMode::SignedLine:
      r.distance = signedDist;
      r.point = foot;
      break;
    case LineDistanceMode::Segment:
      if (r.footOnSegment) {
        r.distance = std::fabs(signedDist);
        r.point = foot;
      } else {
        const double d1 = Distance(p, s.P1), d2 = Distance(p, s.P2);
        r.distance = std::min(d1, d2);
        r.point = d1 <= d2 ? s.P1 : s.P2;
      }
      break;
    case LineDistanceMode::FootOnSegment:
      if (r.footOnSegment) {
        r.distance = std::fabs(signedDist);
        r.point = foot;
      }
      break;
  }
  return Report(r);
}

ClipResult ClipSegment(const TBox& window, const TSegment& s) {
  ClipResult r;
  r.segment = {s.P1, s.P1};
  const double xmin = std::min(window.Min.x, window.Max.x), xmax = std::max(window.Min.x, window.Max.x);
  const double ymin = std::min(window.Min.y, window.Max.y), ymax = std::max(window.Min.y, window.Max.y);
  if (IsNotPositive(xmax - xmin) || IsNotPositive(ymax - ymin)) {
    r.status = GeomStatus::DegenerateBox;
    return Report(r);
  }
  // Liang–Barsky: shrink the parameter range [u0, u1] edge by edge.
  const double dx = s.P2.x - s.P1.x, dy = s.P2.y - s.P1.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {s.P1.x - xmin, xmax - s.P1.x, s.P1.y - ymin, ymax - s.P1.y};
  double u0 = 0, u1 = 1;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return Report(r);
      continue;
    }
    const double u = q[i] / p[i];
    if (p[i] < 0)
      u0 = std::max(u0, u);
    else
      u1 = std::min(u1, u);
    if (u0 > u1) return Report(r);
  }
  auto at = [&](double u) {
    if (u == 0) return s.P1;
    if (u == 1) return s.P2;
    return TPointD{std::clamp(s.P1.x + u * dx, xmin, xmax), std::clamp(s.P1.y + u * dy, ymin, ymax)};
  };
  r.segment = {at(u0), at(u1)};
  r.visible = true;
  return Report(r);
}

Result<TBox> SegmentBox(const TSegment& s) {
  Result<TBox> r;
  r.value.Min = {std::min(s.P1.x, s.P2.x), std::min(s.P1.y, s.P2.y)};
  r.value.Max = {std::max(s.P1.x, s.P2.x), std::max(s.P1.y, s.P2.y)};
  if (IsZero(r.value.Max.x - r.value.Min.x) && IsZero(r.value.Max.y - r.value.Min.y))
    r.status = GeomStatus::CoincidentPoints;
  return Report(r);
}

Result<TPointD> Incenter(TPointD A, TPointD B, TPointD C) {
  Result<TPointD> r;
  const double a = Distance(B, C), b = Distance(C, A), c = Distance(A, B);
  if (IsZero(a) || IsZero(b) || IsZero(c)) {
    r.status = GeomStatus::DegenerateTriangle;
    return Report(r);
  }
  const double sum = a + b + c;
  r.value = {(a * A.x + b * B.x + c * C.x) / sum, (a * A.y + b * B.y + c * C.y) / sum};
  return Report(r);
}

TriangleAnglesResult TriangleAngles(double a, double b, double c) {
  TriangleAnglesResult r;
  if (a <= Eps || b <= Eps || c <= Eps) {
    r.status = GeomStatus::SideNotPositive;
    return Report(r);
  }
  const double ca = (b * b + c * c - a * a) / (2 * b * c);
  const double cb = (a * a + c * c - b * b) / (2 * a * c);
  const double cc = (a * a + b * b - c * c) / (2 * a * b);
  auto out = [](double x) { return !(x >= -1 && x <= 1); };
  if (out(ca) || out(cb) || out(cc)) {
    r.status = GeomStatus::NotATriangle;
    return Report(r);
  }
  r.A = std::acos(ca);
  r.B = std::acos(cb);
  r.C = std::acos(cc);
  return Report(r);
}

bool PointInQuad(TPointD p, const std::array<TPointD, 4>& q) {
  double sum = 0;
  for (std::size_t i = 0; i < 4; ++i) sum += AngleDiff(Angle(p, q[i]), Angle(p, q[(i + 1) % 4]));
  return std::fabs(std::fabs(sum) - TwoPi) < 1;
}

bool PointInQuadCrossing(TPointD p, const std::array<TPointD, 4>& q) {
  bool inside = false;
  for (std::size_t i = 0, j = 3; i < 4; j = i++) {
    const TPointD a = q[i], b = q[j];
    if ((a.y > p.y) != (b.y > p.y)) {
      const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
      if (p.x < x) inside = !inside;
    }
  }
  return inside;
}

}  // namespace qm
