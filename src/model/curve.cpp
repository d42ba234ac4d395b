#include "model/curve.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "model/arc.h"
#include "model/canvas.h"
#include "model/circle.h"
#include "model/construct_util.h"
#include "model/shape_util.h"
#include "model/tangent.h"

namespace qm {

double BulgeBetween(TPointD center, bool ccw, TPointD a, TPointD b) {
  TArcRec rec;
  rec.Center = center;
  rec.Radius = ccw ? 1 : -1;
  rec.StartAngle = Angle(center, a);
  rec.EndAngle = Angle(center, b);
  return BulgeFromArc(rec);
}

namespace curve {

using namespace shape;

chords::Path PathOf(const TArcRec& rec) {
  chords::Path p;
  p.center = rec.Center;
  p.radius = std::fabs(rec.Radius);
  const Result<double> start = ArcAngleToRadians(rec.StartAngle, rec.AngleUnit);
  p.start = start.ok() ? start.value : 0;
  p.sweep = Sweep(rec) * (rec.Radius < 0 ? -1 : 1);
  return p;
}

bool Intersect(const TArcRec& rec, const TCadObj& other, TMOptions& markers, TPointD& first) {
  markers.Clear();
  TSegment os;
  TArcRec oa;
  IntersectResult r;
  if (other.GetLineData(os))
    r = LineCircle(LineCircleMode::Line, rec.Center, std::fabs(rec.Radius), os);
  else if (other.GetArcData(oa))
    r = CircleCircle(rec.Center, std::fabs(rec.Radius), oa.Center, std::fabs(oa.Radius), Tol6);
  if (r.count >= 1) AddMarker(markers, r.p1);
  if (r.count >= 2) AddMarker(markers, r.p2);
  if (markers.Empty()) return false;
  first = markers.First()->point;
  return true;
}

int Draw(TCanvas& canvas, std::int16_t mode, std::int16_t fill, bool highlighted, const chords::Path& path,
         int minChords, const TPointD* first, const TPointD* last) {
  const int n = chords::ChordCount(path.radius, path.sweep, canvas.PixelSize(), minChords);
  TBox region = chords::WindowOf(canvas, 2);
  // Filling counts crossings along each row, so only rows outside the view
  // may be left out.
  if (fill == 1) region = {{-FarValue, region.Min.y}, {FarValue, region.Max.y}};
  const std::vector<TSegment> cs = chords::Chords(path, n, &region, first, last);
  for (const TSegment& c : cs) {
    canvas.DrawLine(mode < 0, highlighted, c.P1, c.P2);
    if (fill == 1) canvas.AddFillEdge(c.P1, c.P2);
  }
  return static_cast<int>(cs.size());
}

int DrawAnimated(TCanvas& canvas, std::int32_t phase, const chords::Path& path, int minChords, const TPointD* first,
                 const TPointD* last) {
  const int n = chords::ChordCount(path.radius, path.sweep, canvas.PixelSize(), minChords);
  const TBox region = chords::WindowOf(canvas, 2);
  const std::vector<TSegment> cs = chords::Chords(path, n, &region, first, last);
  for (const TSegment& c : cs) canvas.DrawAnimatedLine(true, phase, c.P1, c.P2);
  return static_cast<int>(cs.size());
}

bool InFrame(const TCanvas& frame, bool entirely, const chords::Path& path, const TBox& ext, int minChords) {
  if (entirely) {
    // Every point of the curve lies in the band exactly when its box does.
    return frame.PointInBand(ext.Min) && frame.PointInBand(ext.Max) && frame.PointInBand({ext.Min.x, ext.Max.y}) &&
           frame.PointInBand({ext.Max.x, ext.Min.y});
  }
  const double px = frame.PixelSize();
  const int n = chords::ChordCount(path.radius, path.sweep, px, minChords);
  TBox band;
  TBox region;
  const TBox* where = nullptr;
  if (frame.BandBox(band)) {
    const double m = 2 * px;
    region = {{std::min(band.Min.x, band.Max.x) - m, std::min(band.Min.y, band.Max.y) - m},
              {std::max(band.Min.x, band.Max.x) + m, std::max(band.Min.y, band.Max.y) + m}};
    where = &region;
  }
  for (const TSegment& c : chords::Chords(path, n, where))
    if (frame.SegmentInBand(false, c.P1, c.P2)) return true;
  return false;
}

bool SameMagnitude(double a, double b) {
  const double x = std::fabs(a), y = std::fabs(b);
  return std::fabs(x - y) <= 1e-12 * std::max(x, y);
}

// ---------------------------------------------------------------------------
// Construct
// ---------------------------------------------------------------------------

namespace {

// Appends arcs or circles with the prototype's Layer, Owner and Flags; an
// arc or circle too small to have a record is not produced.
class CurveSink {
 public:
  CurveSink(const TCadObj& proto, TExList<TCadObj>& result) : proto_(proto), result_(result) {}

  void Circle(TPointD c, double r) {
    if (!(r > Tol6) || !std::isfinite(r)) {
      degenerate_ = true;
      return;
    }
    result_.Add(std::make_unique<TCadCirc>(proto_.Layer(), proto_.Owner(), proto_.Flags(), c, r));
    ++added_;
  }
  void Arc(TPointD c, bool ccw, TPointD a, TPointD b) {
    auto arc = std::make_unique<TCadArc>(proto_.Layer(), proto_.Owner(), proto_.Flags(), a, b, BulgeBetween(c, ccw, a, b));
    TArcRec rec;
    if (SamePoint(a, b, Tol6) || !arc->GetArcData(rec)) {
      degenerate_ = true;
      return;
    }
    result_.Add(std::move(arc));
    ++added_;
  }
  // The arc of the circle about c from a to b of sweep at most π.
  void MinorArc(TPointD c, TPointD a, TPointD b) {
    const double cross = (a.x - c.x) * (b.y - c.y) - (a.y - c.y) * (b.x - c.x);
    Arc(c, cross >= 0, a, b);
  }
  // The arc from a to b that passes through m.
  void ArcThrough(TPointD c, TPointD a, TPointD m, TPointD b) {
    if (SamePoint(m, a, Tol6) || SamePoint(m, b, Tol6)) return MinorArc(c, a, b);
    const double ta = Angle(c, a);
    const bool ccw = Travel(ta, Angle(c, m), true) <= Travel(ta, Angle(c, b), true);
    Arc(c, ccw, a, b);
  }
  void MarkDegenerate() { degenerate_ = true; }
  int Added() const { return added_; }

  // n alternatives; −1 for degenerate results; otherwise `none`.
  TConstructResult Done(TConstructResult none) const {
    if (added_ > 0) return TConstructResult::Count(added_);
    if (degenerate_) return TConstructResult::Code(construct::ObjectProblem);
    return none;
  }

 private:
  const TCadObj& proto_;
  TExList<TCadObj>& result_;
  int added_ = 0;
  bool degenerate_ = false;
};

const TConstructResult kSilent = TConstructResult::Refuse();
const TConstructResult kProblem = TConstructResult::Code(construct::ObjectProblem);

std::vector<int> CasesOf(bool arcClass, int kind) {
  if (arcClass) {
    switch (kind) {
      case TCadArc::KindThreePoints: return {3, 12, 21, 30};
      case TCadArc::KindPointsRadius: return {2, 11, 20, 101};
      case TCadArc::KindCenterPoints: return {3};
      case TCadArc::KindCenterRadius: return {3, 11, 101};
      default: return {};
    }
  }
  switch (kind) {
    case TCadCirc::KindThreePoints: return {3, 12, 21, 30};
    case TCadCirc::KindPointsRadius: return {2, 11, 20};
    case TCadCirc::KindCenterRadius: return {1, 11, 20};
    case TCadCirc::KindCenterPoint: return {2};
    default: return {};
  }
}

}  // namespace

TConstructResult Construct(bool arcClass, const TCadObj& proto, TClicks fixed, TClicks tangent,
                           TExList<TCadObj>& result, TClicks normal, const TConstructInput& input) {
  const int kind = proto.Kind();
  const TClickCount count = CountClicks(fixed, tangent, normal);
  const int code = count.Code();
  const std::vector<int> cases = CasesOf(arcClass, kind);
  if (std::find(cases.begin(), cases.end(), code) == cases.end()) return PendingOrRefused(count, cases);

  const double R = std::fabs(input.radius);
  const TConstructResult none = arcClass ? kSilent : kProblem;  // a circle tool finding nothing says so
  CurveSink out(proto, result);
  auto carrier = [](const TClick& c) { return c.entity ? TCarrier::Of(*c.entity) : TCarrier{}; };
  const TPointD P = fixed.empty() ? TPointD{} : fixed[0].point;

  switch (code) {
    case 1:  // circle by centre and radius
      out.Circle(P, R);
      return out.Done(kProblem);

    case 2: {
      const TPointD Q = fixed[1].point;
      const double d = Distance(P, Q);
      if (d <= Eps) return kProblem;
      if (!arcClass && kind == TCadCirc::KindCenterPoint) {
        out.Circle(P, d);
        return out.Done(kProblem);
      }
      double r = R;
      if (2 * r < d - Tol6) return none;  // too far apart for the radius
      if (2 * r < d) r = d / 2;
      if (IsEqual(2 * r, d)) {
        const TPointD m = MidPoint(P, Q);
        if (arcClass) {
          out.Arc(m, true, P, Q);
          out.Arc(m, false, P, Q);
        } else {
          out.Circle(m, d / 2);
        }
        return out.Done(none);
      }
      const TriangleAnglesResult t = TriangleAngles(d, r, r);
      if (t.status != GeomStatus::Ok) return none;
      const double phi = Angle(P, Q);
      const TPointD X1 = Polar(P, r, phi + t.B), X2 = Polar(P, r, phi - t.B);
      for (TPointD X : {X1, X2}) {
        if (arcClass) {
          out.Arc(X, true, P, Q);
          out.Arc(X, false, P, Q);
        } else {
          out.Circle(X, r);
        }
      }
      return out.Done(none);
    }

    case 3: {
      const TPointD Q = fixed[1].point, S = fixed[2].point;
      if (kind == TCadArc::KindThreePoints) {  // arcs and circles alike
        const Result<TCircleEq> c = CircleFrom(CircleFromMode::ThreePoints, P, Q, S);
        if (!c.ok()) return kProblem;
        if (arcClass)
          out.ArcThrough(c.value.Center, P, Q, S);
        else
          out.Circle(c.value.Center, c.value.Radius);
        return out.Done(kProblem);
      }
      if (SamePoint(P, S, Eps) || SamePoint(P, Q, Eps)) return kProblem;
      if (kind == TCadArc::KindCenterPoints) {
        const double r = Distance(P, Q);
        out.Arc(P, true, Q, Polar(P, r, Angle(P, S)));
      } else {  // centre, radius and edges
        out.Arc(P, true, Polar(P, R, Angle(P, Q)), Polar(P, R, Angle(P, S)));
      }
      return out.Done(kProblem);
    }

    case 11: {
      const TCarrier E = carrier(tangent[0]);
      if (E.kind == TCarrier::Kind::None) return kProblem;
      const bool throughP = arcClass ? kind == TCadArc::KindPointsRadius : kind == TCadCirc::KindPointsRadius;
      if (throughP) {
        for (TPointD X : CirclesThroughPoint(P, E, R)) {
          if (arcClass) {
            const TPointD T = TouchPoint(E, X, R);
            out.Arc(X, true, P, T);
            out.Arc(X, false, P, T);
          } else {
            out.Circle(X, R);
          }
        }
        return out.Done(none);
      }
      // Centred at P.
      bool onCircle = false;
      const std::vector<double> radii = RadiiCentredAt(P, E, &onCircle);
      if (onCircle) return kProblem;
      for (double rho : radii) {
        if (!arcClass) {
          out.Circle(P, rho);
          continue;
        }
        // Half a circle, centred on the touching point.
        const TPointD T = E.IsLine() ? PointLineDistance(LineDistanceMode::Segment, P, E.seg).point
                                     : TouchPoint(E, P, rho);
        const double theta = Angle(P, T);
        out.Arc(P, true, Polar(P, rho, theta - HalfPi), Polar(P, rho, theta + HalfPi));
      }
      return out.Done(kProblem);
    }

    case 12: {
      const TPointD Q = fixed[1].point;
      const TCarrier E = carrier(tangent[0]);
      if (E.kind == TCarrier::Kind::None || SamePoint(P, Q, Eps)) return kProblem;
      const std::array<TCarrier, 3> objs{TCarrier::PointAt(P), TCarrier::PointAt(Q), E};
      for (const TCircleSol& s : CirclesTangentToThree(objs)) {
        if (arcClass)
          out.ArcThrough(s.center, P, TouchPoint(E, s.center, s.radius), Q);
        else
          out.Circle(s.center, s.radius);
      }
      return out.Done(kProblem);
    }

    case 20: {
      const TCarrier E1 = carrier(tangent[0]), E2 = carrier(tangent[1]);
      if (E1.kind == TCarrier::Kind::None || E2.kind == TCarrier::Kind::None) return kProblem;
      for (TPointD X : TangentCirclesOfRadius(E1, E2, R)) {
        if (arcClass) {
          const TPointD T1 = TouchPoint(E1, X, R), T2 = TouchPoint(E2, X, R);
          if (SamePoint(T1, T2, Tol6)) continue;  // touching both at one point: no fillet
          out.MinorArc(X, T1, T2);
        } else {
          out.Circle(X, R);
        }
      }
      return out.Done(none);
    }

    case 21:
    case 30: {
      std::array<TCarrier, 3> objs;
      if (code == 21)
        objs = {carrier(tangent[0]), TCarrier::PointAt(P), carrier(tangent[1])};
      else
        objs = {carrier(tangent[0]), carrier(tangent[1]), carrier(tangent[2])};
      for (const TCarrier& o : objs)
        if (o.kind == TCarrier::Kind::None) return kProblem;
      for (const TCircleSol& s : CirclesTangentToThree(objs)) {
        if (!arcClass) {
          out.Circle(s.center, s.radius);
          continue;
        }
        const TPointD T1 = TouchPoint(objs[0], s.center, s.radius), T2 = TouchPoint(objs[1], s.center, s.radius),
                      T3 = TouchPoint(objs[2], s.center, s.radius);
        if (SamePoint(T1, T3, Tol6)) continue;
        out.ArcThrough(s.center, T1, T2, T3);
      }
      return out.Done(code == 21 ? none : kSilent);
    }

    case 101: {
      const TCarrier E = carrier(normal[0]);
      if (E.kind == TCarrier::Kind::None) return kProblem;
      for (TPointD X : OrthogonalCircles(P, R, E)) {
        std::vector<TPointD> meets;
        if (E.IsLine()) {
          const TPointD t = UnitDir(E.seg.P1, E.seg.P2);
          meets = {{X.x + R * t.x, X.y + R * t.y}, {X.x - R * t.x, X.y - R * t.y}};
        } else {
          const IntersectResult ir = CircleCircle(X, R, E.center, E.radius, Tol6);
          if (ir.count >= 1) meets.push_back(ir.p1);
          if (ir.count >= 2) meets.push_back(ir.p2);
        }
        for (TPointD W : meets)
          if (!SamePoint(W, P, Tol6)) out.MinorArc(X, P, W);
      }
      return out.Done(kSilent);
    }
  }
  return kSilent;
}

}  // namespace curve
}  // namespace qm
