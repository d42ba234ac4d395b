#include "model/tangent.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/object.h"

namespace qm {

namespace {

double Scale(TPointD p) { return std::max({1.0, std::fabs(p.x), std::fabs(p.y)}); }

void AddUnique(std::vector<TPointD>& out, TPointD p) {
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
  const double tol = Tol6 * Scale(p);
  for (const TPointD& q : out)
    if (SamePoint(p, q, tol)) return;
  out.push_back(p);
}

struct LineFrame {
  TPointD p1;
  TPointD t;   // unit direction P1 → P2
  TPointD nl;  // unit normal to the left
  double len = 0;
  double Signed(TPointD p) const { return (p.x - p1.x) * nl.x + (p.y - p1.y) * nl.y; }
};

bool FrameOf(const TSegment& s, LineFrame& f) {
  const double dx = s.P2.x - s.P1.x, dy = s.P2.y - s.P1.y;
  if (IsZero(dx) && IsZero(dy)) return false;
  f.len = std::hypot(dx, dy);
  f.p1 = s.P1;
  f.t = {dx / f.len, dy / f.len};
  f.nl = {-f.t.y, f.t.x};
  return true;
}

void SetStatus(std::int32_t* status, std::int32_t code) {
  if (status) *status = code;
}

// Line and line, the implicit forms not normalised.
void LineLineCentres(const TSegment& s1, const TSegment& s2, double R, std::vector<TPointD>& out, std::int32_t* status) {
  const double a1 = s1.P2.y - s1.P1.y, b1 = s1.P1.x - s1.P2.x, c1 = s1.P2.x * s1.P1.y - s1.P1.x * s1.P2.y;
  const double a2 = s2.P2.y - s2.P1.y, b2 = s2.P1.x - s2.P2.x, c2 = s2.P2.x * s2.P1.y - s2.P1.x * s2.P2.y;
  if ((IsZero(a1) && IsZero(b1)) || (IsZero(a2) && IsZero(b2))) return SetStatus(status, GeomStatus::CoincidentPoints);
  const double n1 = std::hypot(a1, b1), n2 = std::hypot(a2, b2);
  const double e = a2 * b1 - a1 * b2;
  // |e| = |d1|·|d2|·|sin θ|: the same scaled parallel test as the
  // intersection of two segments, so both agree on short lines.
  if (std::fabs(e) <= Eps * n1 * n2) return SetStatus(status, GeomStatus::ParallelLines);
  // k = c + R·|n| puts the centre to the left of a line, c − R·|n| to its right.
  const int signs[4][2] = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
  for (const auto& s : signs) {
    const double k1 = c1 + s[0] * R * n1, k2 = c2 + s[1] * R * n2;
    AddUnique(out, {(b2 * k1 - b1 * k2) / e, (a1 * k2 - a2 * k1) / e});
  }
}

void LineCircleCentres(const TSegment& s, TPointD m, double r, double R, std::vector<TPointD>& out, std::int32_t* status) {
  LineFrame f;
  if (!FrameOf(s, f)) return SetStatus(status, GeomStatus::CoincidentPoints);
  // n points away from the side where the centres lie; u = m's signed
  // distance along n.
  struct Side {
    TPointD n;
    double u;
  };
  const double sm = f.Signed(m);
  Side same, other;
  if (std::fabs(sm) <= Eps) {
    same = {f.nl, 0};
    other = {{-f.nl.x, -f.nl.y}, 0};
  } else {
    const double sg = sm > 0 ? 1 : -1;
    same = {{-sg * f.nl.x, -sg * f.nl.y}, -std::fabs(sm)};
    other = {{sg * f.nl.x, sg * f.nl.y}, std::fabs(sm)};
  }
  const struct {
    const Side* side;
    double C;
  } combos[4] = {{&same, R + r}, {&same, R - r}, {&other, R + r}, {&other, R - r}};
  for (const auto& k : combos) {
    const double D = R + k.side->u;
    const double E = k.C * k.C - D * D;
    if (E < -Eps) {
      SetStatus(status, GeomStatus::NoRealSolution);
      continue;
    }
    const TPointD base{m.x - D * k.side->n.x, m.y - D * k.side->n.y};
    if (IsZero(E)) {
      AddUnique(out, base);
    } else {
      const double w = std::sqrt(E);
      AddUnique(out, {base.x + w * f.t.x, base.y + w * f.t.y});
      AddUnique(out, {base.x - w * f.t.x, base.y - w * f.t.y});
    }
  }
}

void CircleCircleCentres(TPointD m1, double r1, TPointD m2, double r2, double R, std::vector<TPointD>& out,
                  std::int32_t* status) {
  const double combos[7][2] = {{R + r1, R + r2},
                               {R - r1, R - r2},
                               {std::fabs(R - r1), std::fabs(R - r2)},
                               {std::fabs(R - r1), R + r2},
                               {R + r1, std::fabs(R - r2)},
                               {R + r1, R - r2},
                               {R - r1, R + r2}};
  const double dx = m2.x - m1.x, dy = m2.y - m1.y;
  const double e = dx * dx + dy * dy;
  if (IsZero(e)) return SetStatus(status, GeomStatus::Concentric);
  for (const auto& c : combos) {
    const double d1 = c[0], d2 = c[1];
    if (!(d1 > Eps) || !(d2 > Eps)) {
      SetStatus(status, GeomStatus::NoRealSolution);
      continue;
    }
    const double diff = d2 * d2 - d1 * d1;
    const double q = 2 * (d1 * d1 + d2 * d2) * e - e * e - diff * diff;
    if (q < -Eps) {
      SetStatus(status, GeomStatus::NoRealSolution);
      continue;
    }
    const double along = 0.5 - diff / (2 * e);
    const TPointD f{m1.x + along * dx, m1.y + along * dy};
    if (IsZero(q)) {
      AddUnique(out, f);
    } else {
      const double k = std::sqrt(q) / (2 * e);
      AddUnique(out, {f.x - k * dy, f.y + k * dx});
      AddUnique(out, {f.x + k * dy, f.y - k * dx});
    }
  }
}

}  // namespace

TCarrier TCarrier::Of(const TCadObj& entity) {
  TSegment seg;
  if (entity.GetLineData(seg)) return LineOf(seg.P1, seg.P2);
  TArcRec arc;
  if (entity.GetArcData(arc)) return CircleOf(arc.Center, arc.Radius);
  return {};
}

std::vector<TPointD> TangentCirclesOfRadius(const TCarrier& a, const TCarrier& b, double R, std::int32_t* status) {
  std::vector<TPointD> out;
  SetStatus(status, GeomStatus::Ok);
  R = std::fabs(R);
  if (!(R > Tol6)) {
    SetStatus(status, GeomStatus::NoRealSolution);
    return out;
  }
  if (a.IsLine() && b.IsLine())
    LineLineCentres(a.seg, b.seg, R, out, status);
  else if (a.IsLine() && b.IsCircle())
    LineCircleCentres(a.seg, b.center, b.radius, R, out, status);
  else if (a.IsCircle() && b.IsLine())
    LineCircleCentres(b.seg, a.center, a.radius, R, out, status);
  else if (a.IsCircle() && b.IsCircle())
    CircleCircleCentres(a.center, a.radius, b.center, b.radius, R, out, status);
  else
    SetStatus(status, GeomStatus::UnknownMode);
  return out;
}

std::vector<TPointD> CirclesThroughPoint(TPointD p, const TCarrier& e, double R, std::int32_t* status) {
  std::vector<TPointD> out;
  SetStatus(status, GeomStatus::Ok);
  R = std::fabs(R);
  if (!(R > Tol6)) {
    SetStatus(status, GeomStatus::NoRealSolution);
    return out;
  }
  if (e.IsLine()) {
    LineFrame f;
    if (!FrameOf(e.seg, f)) {
      SetStatus(status, GeomStatus::CoincidentPoints);
      return out;
    }
    const double sp = f.Signed(p);
    if (std::fabs(sp) <= Eps) {
      // On the line: the two circles touching it at p.
      AddUnique(out, {p.x + R * f.nl.x, p.y + R * f.nl.y});
      AddUnique(out, {p.x - R * f.nl.x, p.y - R * f.nl.y});
      return out;
    }
    const double sg = sp > 0 ? 1 : -1;
    const TPointD n{sg * f.nl.x, sg * f.nl.y};  // towards p
    const double d = std::fabs(sp) - R;
    const double C = R * R - d * d;
    if (C < -Eps) {
      SetStatus(status, GeomStatus::TooFarFromLine);
      return out;
    }
    const TPointD base{p.x - d * n.x, p.y - d * n.y};
    if (IsZero(C)) {
      AddUnique(out, base);
    } else {
      const double w = std::sqrt(std::max(C, 0.0));
      AddUnique(out, {base.x + w * f.t.x, base.y + w * f.t.y});
      AddUnique(out, {base.x - w * f.t.x, base.y - w * f.t.y});
    }
    return out;
  }
  if (e.IsCircle()) {
    const double mx = e.center.x - p.x, my = e.center.y - p.y;
    const double ee = mx * mx + my * my;
    if (IsZero(ee)) {
      SetStatus(status, GeomStatus::AtCentre);
      return out;
    }
    const double b = std::sqrt(ee), r = e.radius;
    std::vector<double> gs;
    if (b >= r - Eps) gs.push_back(r);  // outside or on: touch from outside first
    gs.push_back(-r);
    for (double g : gs) {
      const double l = ee - g * (g + 2 * R);
      const double q = 4 * R * R * ee - l * l;
      if (q < -Eps) {
        SetStatus(status, GeomStatus::NoRealSolution);
        continue;
      }
      const TPointD f{p.x + l / (2 * ee) * mx, p.y + l / (2 * ee) * my};
      if (IsZero(q)) {
        AddUnique(out, f);
      } else {
        const double k = std::sqrt(q) / (2 * ee);
        AddUnique(out, {f.x - k * my, f.y + k * mx});
        AddUnique(out, {f.x + k * my, f.y - k * mx});
      }
    }
    return out;
  }
  SetStatus(status, GeomStatus::UnknownMode);
  return out;
}

std::vector<double> RadiiCentredAt(TPointD p, const TCarrier& e, bool* onCircle) {
  std::vector<double> out;
  if (onCircle) *onCircle = false;
  auto add = [&](double r) {
    if (r > Tol6) out.push_back(r);
  };
  if (e.IsLine()) {
    const double dx = e.seg.P2.x - e.seg.P1.x, dy = e.seg.P2.y - e.seg.P1.y;
    if (IsZero(dx) && IsZero(dy)) return out;  // a zero-length line touches nothing
    const double d = PointLineDistance(LineDistanceMode::Segment, p, e.seg).distance;
    if (!IsEqual(d, 0)) add(d);
  } else if (e.IsCircle()) {
    const double b = Distance(p, e.center), r = e.radius;
    if (std::fabs(b - r) <= Tol6) {
      if (onCircle) *onCircle = true;
      return out;
    }
    if (r >= b) {
      add(r - b);
    } else {
      add(b - r);
      add(b + r);
    }
  } else if (e.kind == TCarrier::Kind::Point) {
    add(Distance(p, e.center));
  }
  return out;
}

std::vector<TPointD> OrthogonalCircles(TPointD p, double R, const TCarrier& e) {
  std::vector<TPointD> out;
  R = std::fabs(R);
  if (!(R > Tol6)) return out;
  IntersectResult ir;
  if (e.IsLine())
    ir = qm::LineCircle(LineCircleMode::Line, p, R, e.seg);
  else if (e.IsCircle())
    ir = qm::CircleCircle(p, R, e.center, std::sqrt(R * R + e.radius * e.radius), Tol3);
  if (ir.count >= 1) AddUnique(out, ir.p1);
  if (ir.count >= 2) AddUnique(out, ir.p2);
  return out;
}

TPointD TouchPoint(const TCarrier& e, TPointD center, double radius) {
  if (e.IsLine()) return PointLineDistance(LineDistanceMode::SignedLine, center, e.seg).point;
  if (e.IsCircle()) {
    double ux = center.x - e.center.x, uy = center.y - e.center.y;
    const double d = std::hypot(ux, uy);
    if (d > 0) {
      ux /= d;
      uy /= d;
    } else {
      ux = 1;
      uy = 0;
    }
    const TPointD t1{e.center.x + e.radius * ux, e.center.y + e.radius * uy};
    const TPointD t2{e.center.x - e.radius * ux, e.center.y - e.radius * uy};
    return std::fabs(Distance(t1, center) - radius) <= std::fabs(Distance(t2, center) - radius) ? t1 : t2;
  }
  return e.center;
}

// ---------------------------------------------------------------------------
// Tangent to three
// ---------------------------------------------------------------------------
//
// Unknowns v = (x, y, ρ). A line with unit normal n and offset c gives the
// linear condition n·X + c = σρ (σ = ±1, the side). A circle (a point has
// r = 0) gives |X − M|² = (ρ + σr)², σ = +1 touching from outside, −1 from
// inside. Differences of two circle conditions are linear too, so every
// sign combination leaves two linear equations and one quadratic (or three
// linear ones for three lines).

namespace {

struct Lin {
  double a = 0, b = 0, c = 0, d = 0;  // a·x + b·y + c·ρ + d = 0
};

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

Vec3 Cross3(const Vec3& u, const Vec3& v) { return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x}; }
double Dot3(const Vec3& u, const Vec3& v) { return u.x * v.x + u.y * v.y + u.z * v.z; }
double Norm3(const Vec3& u) { return std::sqrt(Dot3(u, u)); }

double Det3(const Lin& p, const Lin& q, const Lin& r) {
  return p.a * (q.b * r.c - q.c * r.b) - p.b * (q.a * r.c - q.c * r.a) + p.c * (q.a * r.b - q.b * r.a);
}

bool Tangent(const TCarrier& o, TPointD x, double rho, double tol) {
  switch (o.kind) {
    case TCarrier::Kind::Line:
      return std::fabs(std::fabs(PointLineDistance(LineDistanceMode::SignedLine, x, o.seg).distance) - rho) <= tol;
    case TCarrier::Kind::Circle: {
      const double d = Distance(x, o.center);
      return std::fabs(d - (rho + o.radius)) <= tol || std::fabs(d - std::fabs(rho - o.radius)) <= tol;
    }
    case TCarrier::Kind::Point: return std::fabs(Distance(x, o.center) - rho) <= tol;
    default: return false;
  }
}

}  // namespace

std::vector<TCircleSol> CirclesTangentToThree(std::span<const TCarrier, 3> in) {
  std::vector<TCircleSol> out;
  // Work about the first object's reference point, for conditioning.
  const TPointD origin = in[0].IsLine() ? in[0].seg.P1 : in[0].center;
  std::array<TCarrier, 3> obj;
  double scale = 1;
  for (std::size_t i = 0; i < 3; ++i) {
    obj[i] = in[i];
    if (obj[i].kind == TCarrier::Kind::None) return out;
    if (obj[i].IsLine()) {
      LineFrame f;
      if (!FrameOf(obj[i].seg, f)) return out;
      obj[i].seg = {{obj[i].seg.P1.x - origin.x, obj[i].seg.P1.y - origin.y},
                    {obj[i].seg.P2.x - origin.x, obj[i].seg.P2.y - origin.y}};
      scale = std::max({scale, Scale(obj[i].seg.P1), Scale(obj[i].seg.P2)});
    } else {
      obj[i].center = {obj[i].center.x - origin.x, obj[i].center.y - origin.y};
      scale = std::max({scale, Scale(obj[i].center), obj[i].radius});
    }
  }
  // Sign choices: a line or a circle has two, a point one.
  int choices[3];
  for (int i = 0; i < 3; ++i) choices[i] = obj[i].kind == TCarrier::Kind::Point ? 1 : 2;

  auto lineEq = [](const TCarrier& o, double sigma) {
    LineFrame f;
    FrameOf(o.seg, f);
    return Lin{f.nl.x, f.nl.y, -sigma, -(f.nl.x * f.p1.x + f.nl.y * f.p1.y)};
  };
  auto circleDiff = [](const TCarrier& p, double sp, const TCarrier& q, double sq) {
    // Condition(p) − condition(q), with |X − M|² − (ρ + σr)² = 0.
    const double rp = sp * p.radius, rq = sq * q.radius;
    return Lin{-2 * (p.center.x - q.center.x), -2 * (p.center.y - q.center.y), -2 * (rp - rq),
               (p.center.x * p.center.x + p.center.y * p.center.y - p.radius * p.radius) -
                   (q.center.x * q.center.x + q.center.y * q.center.y - q.radius * q.radius)};
  };

  std::vector<TCircleSol> found;
  auto accept = [&](double x, double y, double rho) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(rho) || !(rho > Tol6)) return;
    const double tol = 1e-6 * std::max({scale, std::fabs(x), std::fabs(y), rho});
    for (const TCarrier& o : obj)
      if (!Tangent(o, {x, y}, rho, tol)) return;
    for (const TCircleSol& s : found)
      if (SamePoint(s.center, {x, y}, tol) && std::fabs(s.radius - rho) <= tol) return;
    found.push_back({{x, y}, rho});
  };

  for (int s0 = 0; s0 < choices[0]; ++s0)
    for (int s1 = 0; s1 < choices[1]; ++s1)
      for (int s2 = 0; s2 < choices[2]; ++s2) {
        const double sig[3] = {s0 ? -1.0 : 1.0, s1 ? -1.0 : 1.0, s2 ? -1.0 : 1.0};
        std::vector<Lin> lins;
        int firstRound = -1;
        for (int i = 0; i < 3; ++i) {
          if (obj[i].IsLine()) {
            lins.push_back(lineEq(obj[i], sig[i]));
          } else if (firstRound < 0) {
            firstRound = i;
          } else {
            lins.push_back(circleDiff(obj[firstRound], sig[firstRound], obj[i], sig[i]));
          }
        }
        if (firstRound < 0) {
          // Three lines: three linear equations.
          const Lin &p = lins[0], &q = lins[1], &r = lins[2];
          const double det = Det3(p, q, r);
          if (std::fabs(det) <= 1e-12) continue;
          const Lin dx{-p.d, p.b, p.c, 0}, dy{p.a, -p.d, p.c, 0}, dz{p.a, p.b, -p.d, 0};
          const Lin qx{-q.d, q.b, q.c, 0}, qy{q.a, -q.d, q.c, 0}, qz{q.a, q.b, -q.d, 0};
          const Lin rx{-r.d, r.b, r.c, 0}, ry{r.a, -r.d, r.c, 0}, rz{r.a, r.b, -r.d, 0};
          accept(Det3(dx, qx, rx) / det, Det3(dy, qy, ry) / det, Det3(dz, qz, rz) / det);
          continue;
        }
        // Two planes in (x, y, ρ): their line A + t·B.
        const Vec3 n1{lins[0].a, lins[0].b, lins[0].c}, n2{lins[1].a, lins[1].b, lins[1].c};
        const Vec3 B = Cross3(n1, n2);
        const double bb = Dot3(B, B);
        if (!(Norm3(B) > 1e-12 * Norm3(n1) * Norm3(n2))) continue;
        const double d1 = -lins[0].d, d2 = -lins[1].d;
        const Vec3 c1 = Cross3(n2, B), c2 = Cross3(B, n1);
        const Vec3 A{(d1 * c1.x + d2 * c2.x) / bb, (d1 * c1.y + d2 * c2.y) / bb, (d1 * c1.z + d2 * c2.z) / bb};
        const TCarrier& o = obj[firstRound];
        const double sr = sig[firstRound] * o.radius;
        const double ax = A.x - o.center.x, ay = A.y - o.center.y, az = A.z + sr;
        const double qa = B.x * B.x + B.y * B.y - B.z * B.z;
        const double qb = 2 * (ax * B.x + ay * B.y - az * B.z);
        const double qc = ax * ax + ay * ay - az * az;
        std::vector<double> ts;
        if (std::fabs(qa) <= 1e-12 * bb) {
          if (std::fabs(qb) > 0) ts.push_back(-qc / qb);
        } else {
          double disc = qb * qb - 4 * qa * qc;
          if (disc < 0 && disc > -1e-9 * (qb * qb + std::fabs(4 * qa * qc))) disc = 0;
          if (disc < 0) continue;
          const double w = std::sqrt(disc);
          ts.push_back((-qb + w) / (2 * qa));
          if (w > 0) ts.push_back((-qb - w) / (2 * qa));
        }
        for (double t : ts) accept(A.x + t * B.x, A.y + t * B.y, A.z + t * B.z);
      }
  for (TCircleSol& s : found) {
    s.center = {s.center.x + origin.x, s.center.y + origin.y};
    out.push_back(s);
  }
  return out;
}

}  // namespace qm
