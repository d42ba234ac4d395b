#include "model/line.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "model/canvas.h"
#include "model/construct_util.h"
#include "model/edit_host.h"
#include "model/shape_util.h"
#include "model/tangent.h"

namespace qm {

using namespace shape;

bool TCadLine::IsDegenerate() const {
  return IsZero(P2().x - P1().x) && IsZero(P2().y - P1().y);
}

std::unique_ptr<TCadLine> TCadLine::Piece(TPointD a, TPointD b) const {
  auto l = std::unique_ptr<TCadLine>(new TCadLine(*this));
  l->StorePoints(a, b);
  return l;
}

// ---- drawing -------------------------------------------------------------------

void TCadLine::DrawDirection(TCanvas& canvas, std::int16_t mode) {
  if (!HasFlag(ofShowDir) || IsDegenerate()) return;
  DrawArrowhead(canvas, mode, IsMarked(), P2(), Angle(P2(), P1()));
}

void TCadLine::Draw(TCanvas& canvas, std::int16_t mode, std::int16_t fill) {
  PreparePen(canvas, mode);
  canvas.DrawLine(mode < 0, IsMarked(), P1(), P2());
  if (fill == 1) canvas.AddFillEdge(P1(), P2());
}

std::int32_t TCadLine::DrawAnimated(TCanvas& canvas, std::int32_t phase) {
  canvas.DrawAnimatedLine(true, phase, P1(), P2());
  return 1;
}

// ---- geometry ------------------------------------------------------------------

double TCadLine::WindingAngle(double x, double y) const {
  const TPointD p{x, y};
  return AngleDiff(Angle(p, P1()), Angle(p, P2()));
}

TBox TCadLine::GetExtents() const {
  return {{std::min(P1().x, P2().x), std::min(P1().y, P2().y)}, {std::max(P1().x, P2().x), std::max(P1().y, P2().y)}};
}

void TCadLine::SnapEnd(TPointD& p) const { p = Distance(p, P1()) < Distance(p, P2()) ? P1() : P2(); }
void TCadLine::SnapMid(TPointD& p) const { p = MidPoint(P1(), P2()); }
TPointD TCadLine::SnapCenter() const { return MidPoint(P1(), P2()); }

bool TCadLine::Intersect(const TCadObj& other, TMOptions& markers, TPointD& first) const {
  markers.Clear();
  TSegment os;
  TArcRec oa;
  if (other.GetLineData(os)) {
    const SegmentIntersection r = IntersectSegments(Segment(), os);
    if (r.status != GeomStatus::SegmentsParallel) AddMarker(markers, r.point);
  } else if (other.GetArcData(oa)) {
    const IntersectResult r = LineCircle(LineCircleMode::Line, oa.Center, std::fabs(oa.Radius), Segment());
    if (r.count >= 1) AddMarker(markers, r.p1);
    if (r.count >= 2) AddMarker(markers, r.p2);
  }
  if (markers.Empty()) return false;
  first = markers.First()->point;
  return true;
}

double TCadLine::DistanceTo(TPointD p) const {
  // A zero-length segment answers the distance to its point.
  return PointLineDistance(LineDistanceMode::Segment, p, Segment()).distance;
}

std::unique_ptr<TCadObj> TCadLine::Clone() const { return std::unique_ptr<TCadLine>(new TCadLine(*this)); }

std::int32_t TCadLine::NormalFrom(TPointD p, TSegment& s1, TSegment& s2) const {
  s1 = s2 = TSegment{};
  if (IsDegenerate()) return 0;  // no direction, no foot
  s1 = {p, PointLineDistance(LineDistanceMode::SignedLine, p, Segment()).point};
  return 1;
}

bool TCadLine::GetArcData(TArcRec& arc) const {
  arc = TArcRec{};
  return false;
}

bool TCadLine::GetLineData(TSegment& seg) const {
  seg = Segment();
  return true;
}

void TCadLine::Edit(TEditHost& host, TEditGroup& container) { host.EditLine(*this, container); }

// ---- splitting, trimming, chamfering ----------------------------------------

std::int16_t TCadLine::SplitBy(const TCadObj& other, TExList<TCadObj>& result) const {
  if (&other == this) return 0;
  TMOptions markers;
  TPointD first;
  if (!Intersect(other, markers, first)) return 0;
  struct Cut {
    TPointD p;
    double d;
  };
  std::vector<Cut> cuts;
  auto consider = [&](TPointD p) {
    if (IsOn(p, Tol4)) cuts.push_back({p, Distance(P1(), p)});
  };
  for (const TOptionMarker* m : markers) consider(m->point);  // full precision
  consider(P1());
  consider(P2());
  std::stable_sort(cuts.begin(), cuts.end(), [](const Cut& a, const Cut& b) { return a.d < b.d; });
  std::int16_t n = 0;
  TPointD prev = cuts.front().p;
  for (std::size_t i = 1; i < cuts.size(); ++i) {
    if (SamePoint(prev, cuts[i].p, Tol4)) continue;
    result.Add(Piece(prev, cuts[i].p));
    prev = cuts[i].p;
    ++n;
  }
  return n;
}

std::int16_t TCadLine::TrimPieces(const TCadObj& other, TPointD, TExList<TCadObj>& result) const {
  if (&other == this) return construct::CannotTrim;
  TMOptions markers;
  TPointD first;
  if (!Intersect(other, markers, first)) return construct::CannotTrim;
  TSegment os;
  if (other.GetLineData(os) || markers.Count() == 1) {
    const TPointD I = markers.First()->point;
    if (DistanceTo(I) < Tol3) {
      result.Add(Piece(I, P2()));
      result.Add(Piece(I, P1()));
      return 2;
    }
    result.Add(Piece(I, Distance(I, P1()) >= Distance(I, P2()) ? P1() : P2()));
    return 1;
  }
  const TPointD I1 = markers.At(0)->point, I2 = markers.At(1)->point;
  result.Add(Piece(P1(), I1));
  result.Add(Piece(P1(), I2));
  result.Add(Piece(I1, I2));
  result.Add(Piece(P2(), I1));
  result.Add(Piece(P2(), I2));
  return 5;
}

std::int16_t TCadLine::ChamferLines(const TCadObj& other, double d, TExList<TCadObj>& result) const {
  TSegment os;
  TArcRec oa;
  const double theta = Direction();
  const TPointD u{std::cos(theta), std::sin(theta)};
  auto rhombus = [&](TPointD sp, TPointD sm, TPointD op, TPointD om) {
    result.Add(Piece(sp, op));
    result.Add(Piece(op, sm));
    result.Add(Piece(sm, om));
    result.Add(Piece(om, sp));
  };
  if (other.GetLineData(os)) {
    const SegmentIntersection r = IntersectSegments(Segment(), os);
    if (r.status == GeomStatus::SegmentsParallel) return 0;
    const TPointD I = r.point;
    const double phi = Angle(os.P1, os.P2);
    const TPointD v{std::cos(phi), std::sin(phi)};
    rhombus({I.x + d * u.x, I.y + d * u.y}, {I.x - d * u.x, I.y - d * u.y}, {I.x + d * v.x, I.y + d * v.y},
            {I.x - d * v.x, I.y - d * v.y});
    return 4;
  }
  if (!other.GetArcData(oa)) return construct::CannotChamfer;
  TMOptions markers;
  TPointD first;
  if (!Intersect(other, markers, first)) return construct::CannotChamfer;
  const double r = std::fabs(oa.Radius);
  std::int16_t n = 0;
  for (const TOptionMarker* m : markers) {
    const TPointD I = m->point;
    const double a = Angle(oa.Center, I), da = d / r;
    rhombus({I.x + d * u.x, I.y + d * u.y}, {I.x - d * u.x, I.y - d * u.y}, Polar(oa.Center, r, a + da),
            Polar(oa.Center, r, a - da));
    n += 4;
  }
  return n;
}

bool TCadLine::SameAs(const TCadObj& other) const {
  const auto* o = dynamic_cast<const TCadLine*>(&other);
  return o && IsEqual(o->P1().x, P1().x) && IsEqual(o->P1().y, P1().y) && IsEqual(o->P2().x, P2().x) &&
         IsEqual(o->P2().y, P2().y) && o->Layer() == Layer();
}

void TCadLine::Assign(const TCadObj& source) {
  const auto* o = dynamic_cast<const TCadLine*>(&source);
  if (!o) return;
  SetFlags(o->Flags());
  SetLayer(o->Layer());
  SetPoints(o->P1(), o->P2());
}

void TCadLine::ExtendTo(const TCadObj& blendArc) {
  TMOptions markers;
  TPointD I;
  if (!Intersect(blendArc, markers, I) || markers.Count() != 1) return;
  TArcRec rec;
  if (!blendArc.GetArcData(rec)) return;
  // The tangent of the blend arc in its own direction of travel.
  const double turn = rec.Radius >= 0 ? HalfPi : -HalfPi;
  const TPointD s = blendArc.P1();
  if (IsEqual(I.x, s.x) && IsEqual(I.y, s.y)) {
    const double d = AngleDiff(Direction(), rec.StartAngle + turn);
    if (std::fabs(d) < Tol3)
      SetP2(I);  // the line runs into the arc's start
    else
      SetP1(I);
  } else {
    const double d = AngleDiff(Direction(), rec.EndAngle + turn);
    if (std::fabs(d) < Tol3)
      SetP1(I);  // the line continues the arc's end
    else
      SetP2(I);
  }
}

void TCadLine::TrimAt(const TCadObj& chamferLine, const TCadObj& other) {
  TMOptions markers;
  TPointD I;
  if (!Intersect(other, markers, I)) return;
  TSegment cs;
  if (!chamferLine.GetLineData(cs)) return;
  if (markers.Count() >= 2 && Distance(markers.At(1)->point, cs.P1) < Distance(markers.At(0)->point, cs.P1))
    I = markers.At(1)->point;
  const SegmentIntersection r = IntersectSegments(Segment(), cs);
  if (r.status == GeomStatus::SegmentsParallel) return;
  const TPointD J = r.point;
  if (DistanceTo(J) >= Tol3) {
    if (Distance(J, P1()) <= Distance(J, P2()))
      SetP1(J);
    else
      SetP2(J);
    return;
  }
  if (std::fabs(AngleDiff(Angle(I, J), Direction())) < Tol3)
    SetP1(J);
  else
    SetP2(J);
}

bool TCadLine::InFrame(const TCanvas& frame, bool entirely) const {
  return frame.SegmentInBand(entirely, P1(), P2());
}

// ---- transformations ----------------------------------------------------------

void TCadLine::Transform(double dx, double dy, double f) { SetPoints(Affine(P1(), dx, dy, f), Affine(P2(), dx, dy, f)); }

std::int32_t TCadLine::ScaleXY(TCadGroup*, TMarkGroup*, double dx, double dy, double sx, double sy) {
  SetPoints({P1().x * sx + dx, P1().y * sy + dy}, {P2().x * sx + dx, P2().y * sy + dy});
  return 0;
}

void TCadLine::Move(double dx, double dy) { SetPoints({P1().x + dx, P1().y + dy}, {P2().x + dx, P2().y + dy}); }

void TCadLine::Rotate(double cx, double cy, double angle) {
  SetPoints(RotateAbout(P1(), cx, cy, angle), RotateAbout(P2(), cx, cy, angle));
}

void TCadLine::Scale(double cx, double cy, double f) { SetPoints(ScaleAbout(P1(), cx, cy, f), ScaleAbout(P2(), cx, cy, f)); }

void TCadLine::Mirror(double x1, double y1, double x2, double y2) {
  SetPoints(MirrorPoint(P1(), x1, y1, x2, y2), MirrorPoint(P2(), x1, y1, x2, y2));
}

// ---- measuring -------------------------------------------------------------------

bool TCadLine::IsOn(TPointD p, double t) const { return IsOnSegment(Segment(), p, t); }

double TCadLine::DistanceAlong(std::int32_t which, TPointD p) const {
  return Distance(which < 0 ? P2() : P1(), p);
}

double TCadLine::PointAtDistance(bool clamp, std::int32_t which, double d, TPointD& p) const {
  const TPointD from = which >= 0 ? P1() : P2(), to = which >= 0 ? P2() : P1();
  const double len = Length();
  if (!(len > 0)) {
    p = from;  // no direction to measure along
    return 0;
  }
  if (clamp && d < 0) {
    p = from;
    return 0;
  }
  if (clamp && d > len) {
    p = to;
    return len;
  }
  p = Lerp(from, to, d / len);
  return d;
}

std::unique_ptr<TCadObj> TCadLine::BreakAt(TPointD p) {
  if (SamePoint(p, P1(), Tol5) || SamePoint(p, P2(), Tol5)) return nullptr;
  std::unique_ptr<TCadLine> rest = Piece(p, P2());
  SetP2(p);
  return rest;
}

std::unique_ptr<TCadObj> TCadLine::Overlap(const TCadObj& other) const {
  const auto* o = dynamic_cast<const TCadLine*>(&other);
  if (!o || o->IsDegenerate() || IsDegenerate()) return nullptr;
  const double diff = std::fabs(AngleDiff(Direction(), o->Direction()));
  if (!IsEqual(diff, 0) && !IsEqual(diff, Pi)) return nullptr;
  const TSegment mine = Segment(), theirs = o->Segment();
  const bool o1 = IsOnSegment(mine, o->P1(), Tol5), o2 = IsOnSegment(mine, o->P2(), Tol5);
  const bool t1 = IsOnSegment(theirs, P1(), Tol5), t2 = IsOnSegment(theirs, P2(), Tol5);
  TSegment common;
  // The end of this line that lies on `other` and is not `from` (when this
  // line starts where `other` does, the common part runs to its other end).
  auto innerEnd = [&](TPointD from, TPointD& out) {
    for (auto [on, p] : {std::pair{t1, P1()}, std::pair{t2, P2()}})
      if (on && !SamePoint(p, from, Tol5)) {
        out = p;
        return true;
      }
    return false;
  };
  if (o1 && o2) {
    common = theirs;
  } else if (o1 || o2) {
    common.P1 = o1 ? o->P1() : o->P2();
    if (!innerEnd(common.P1, common.P2)) return nullptr;
  } else if (t1 && t2) {
    common = mine;
  } else {
    return nullptr;
  }
  // Lines that only touch end to end share a point, not a part.
  if (SamePoint(common.P1, common.P2, Tol5)) return nullptr;
  return std::make_unique<TCadLine>(Layer(), nullptr, ofChainFwd, common.P1, common.P2);
}

void TCadLine::ProjectPoint(TPointD& p) const {
  if (IsDegenerate()) {
    p = P1();
    return;
  }
  p = PointLineDistance(LineDistanceMode::SignedLine, p, Segment()).point;
}

bool TCadLine::ClassAccepts(const TCadObj& other) const { return dynamic_cast<const TCadLine*>(&other) != nullptr; }

// ---------------------------------------------------------------------------
// Construct
// ---------------------------------------------------------------------------

namespace {

// Lines appended to the result, with the prototype's Layer, Owner and
// Flags. A line without length is not produced.
class LineSink {
 public:
  LineSink(const TCadObj& proto, TExList<TCadObj>& result) : proto_(proto), result_(result) {}
  void Add(TPointD a, TPointD b) {
    if (Distance(a, b) <= Eps) {
      degenerate_ = true;
      return;
    }
    result_.Add(std::make_unique<TCadLine>(proto_.Layer(), proto_.Owner(), proto_.Flags(), a, b));
    ++added_;
  }
  void Add(const TSegment& s) { Add(s.P1, s.P2); }
  void MarkDegenerate() { degenerate_ = true; }
  int Added() const { return added_; }
  // n alternatives; −1 when only lines without length (or degenerate
  // input) came out; otherwise a silent refusal.
  TConstructResult Done() const {
    if (added_ > 0) return TConstructResult::Count(added_);
    if (degenerate_) return TConstructResult::Code(construct::ObjectProblem);
    return TConstructResult::Refuse();
  }

 private:
  const TCadObj& proto_;
  TExList<TCadObj>& result_;
  int added_ = 0;
  bool degenerate_ = false;
};

TPointD Ahead(TPointD from, TPointD toward, double length) {
  const TPointD u = UnitDir(from, toward);
  return {from.x + length * u.x, from.y + length * u.y};
}

}  // namespace

TConstructResult TCadLine::Construct(TClicks fixed, TClicks tangent, TExList<TCadObj>& result, TPointD,
                                     TClicks normal, const TConstructInput& input) {
  int kind = Kind();
  const bool k3 = kind == KindLengthAngle;
  if (k3 && !input.forceLength && !input.forceAngle) kind = KindDiagonal;
  const bool forcedLen = kind == KindLengthAngle && input.forceLength;
  const bool forcedAng = kind == KindLengthAngle && input.forceAngle;
  const double L = input.length, A = DegToRad(input.angleDeg);
  const TPointD dirA{std::cos(A), std::sin(A)};
  const TClickCount count = CountClicks(fixed, tangent, normal);
  const int code = count.Code();
  LineSink out(*this, result);
  auto refuse = [](const char* text) { return TConstructResult::Refuse(text); };

  // The cases this tool completes; any other count waits while one of them
  // can still be reached.
  std::vector<int> cases{2, 11, 20, 101, 110, 200};
  if (forcedLen && forcedAng) cases.insert(cases.begin(), {1, 10});
  if (std::find(cases.begin(), cases.end(), code) == cases.end()) return PendingOrRefused(count, cases);

  // Tangent and normal clicks always name an entity; refuse rather than
  // guess when one does not.
  for (TClicks clicks : {tangent, normal})
    for (const TClick& c : clicks)
      if (!c.entity) return TConstructResult::Code(construct::ObjectProblem);
  const TPointD P = fixed.empty() ? TPointD{} : fixed[0].point;
  switch (code) {
    case 1:
      out.Add(P, {P.x + L * dirA.x, P.y + L * dirA.y});
      return out.Done();

    case 2: {
      const TPointD Q = fixed[1].point;
      if (kind == KindHorizontal) {
        out.Add(P, {Q.x, P.y});
      } else if (kind == KindVertical) {
        out.Add(P, {P.x, Q.y});
      } else if (forcedAng) {
        const double d = Distance(P, Q);
        out.Add(P, {P.x + d * dirA.x, P.y + d * dirA.y});
      } else if (forcedLen) {
        if (Distance(P, Q) <= Eps) return TConstructResult::Code(construct::ObjectProblem);
        out.Add(P, Ahead(P, Q, L));
      } else {
        out.Add(P, Q);
      }
      return out.Done();
    }

    case 10:
    case 11: {
      const TCarrier C = TCarrier::Of(*tangent[0].entity);
      if (C.IsLine()) return refuse(construct_msg::TangentToLine);
      if (!C.IsCircle()) return TConstructResult::Code(construct::ObjectProblem);
      const TPointD c = C.center;
      const double r = C.radius;
      // The touching points of the tangents at angle A.
      const TPointD n{-dirA.y, dirA.x};
      const TPointD T1{c.x + r * n.x, c.y + r * n.y}, T2{c.x - r * n.x, c.y - r * n.y};
      if (code == 10) {
        for (TPointD T : {T1, T2}) {
          out.Add(T, {T.x + L * dirA.x, T.y + L * dirA.y});
          out.Add(T, {T.x - L * dirA.x, T.y - L * dirA.y});
        }
        return out.Done();
      }
      if (kind == KindHorizontal) {
        out.Add({P.x, c.y + r}, {c.x, c.y + r});
        out.Add({P.x, c.y - r}, {c.x, c.y - r});
      } else if (kind == KindVertical) {
        out.Add({c.x + r, P.y}, {c.x + r, c.y});
        out.Add({c.x - r, P.y}, {c.x - r, c.y});
      } else if (forcedAng && !forcedLen) {
        // Of the four tangent segments at angle A, as long as |PT|, the one
        // whose far end lies nearest P.
        TSegment best{};
        double bestD = FarValue;
        for (TPointD T : {T1, T2}) {
          const double len = Distance(P, T);
          for (double s : {1.0, -1.0}) {
            const TPointD far{T.x + s * len * dirA.x, T.y + s * len * dirA.y};
            if (Distance(far, P) < bestD) {
              bestD = Distance(far, P);
              best = {T, far};
            }
          }
        }
        out.Add(best);
      } else {
        const TangentResult t = TangentsFromPoint(c, r, P);
        for (int i = 0; i < t.count; ++i) {
          if (forcedLen)
            out.Add(P, Ahead(P, t.seg[i].P2, L));
          else
            out.Add(t.seg[i]);
        }
      }
      return out.Done();
    }

    case 20: {
      const TCarrier C1 = TCarrier::Of(*tangent[0].entity), C2 = TCarrier::Of(*tangent[1].entity);
      if (C1.IsLine() || C2.IsLine()) return refuse(construct_msg::TangentToLine);
      if (!C1.IsCircle() || !C2.IsCircle()) return TConstructResult::Code(construct::ObjectProblem);
      const TPointD c1 = C1.center, c2 = C2.center;
      const double r1 = C1.radius, r2 = C2.radius;
      if (kind == KindHorizontal || kind == KindVertical) {
        const bool h = kind == KindHorizontal;
        for (double s : {1.0, -1.0}) {
          if (h && IsEqual(c1.y + s * r1, c2.y + s * r2)) out.Add({c1.x, c1.y + s * r1}, {c2.x, c1.y + s * r1});
          if (!h && IsEqual(c1.x + s * r1, c2.x + s * r2)) out.Add({c1.x + s * r1, c1.y}, {c1.x + s * r1, c2.y});
        }
        if (out.Added() == 0) return refuse(construct_msg::TangentToThese);
        return out.Done();
      }
      if (forcedAng && !forcedLen) return refuse(construct_msg::KeepAngle);
      const TangentResult t = CommonTangents(c1, r1, c2, r2);
      for (int i = 0; i < t.count; ++i) {
        if (forcedLen)
          out.Add(t.seg[i].P1, Ahead(t.seg[i].P1, t.seg[i].P2, L));
        else
          out.Add(t.seg[i]);
      }
      return out.Done();
    }

    case 101: {
      const TCadObj& E = *normal[0].entity;
      const TCarrier e = TCarrier::Of(E);
      if (e.kind == TCarrier::Kind::None) return TConstructResult::Code(construct::ObjectProblem);
      if (kind == KindHorizontal || kind == KindVertical) {
        const bool h = kind == KindHorizontal;
        if (e.IsLine()) {
          if (h && IsEqual(e.seg.P1.x, e.seg.P2.x))
            out.Add(P, {e.seg.P1.x, P.y});
          else if (!h && IsEqual(e.seg.P1.y, e.seg.P2.y))
            out.Add(P, {P.x, e.seg.P1.y});
          else
            return refuse(construct_msg::NormalToLine);
          return out.Done();
        }
        const TPointD c = e.center;
        const double r = e.radius;
        const TPointD start = h ? TPointD{P.x, c.y} : TPointD{c.x, P.y};
        TPointD a = h ? TPointD{c.x + r, c.y} : TPointD{c.x, c.y + r};
        TPointD b = h ? TPointD{c.x - r, c.y} : TPointD{c.x, c.y - r};
        if (Distance(b, P) < Distance(a, P)) std::swap(a, b);
        out.Add(start, a);
        out.Add(start, b);
        return out.Done();
      }
      if (forcedAng && !forcedLen) return refuse(construct_msg::KeepAngle);
      TSegment s1, s2;
      const int n = E.NormalFrom(P, s1, s2);
      if (n == 0) out.MarkDegenerate();
      const TSegment normals[2] = {s1, s2};
      for (int i = 0; i < n && i < 2; ++i) {
        if (forcedLen)
          out.Add(P, Ahead(P, normals[i].P2, L));
        else
          out.Add(normals[i]);
      }
      return out.Done();
    }

    case 110: {
      const TCarrier C = TCarrier::Of(*tangent[0].entity), E = TCarrier::Of(*normal[0].entity);
      if (C.IsLine()) return refuse(construct_msg::TangentToLine);
      if (!C.IsCircle() || E.kind == TCarrier::Kind::None) return TConstructResult::Code(construct::ObjectProblem);
      const TPointD c = C.center;
      const double r = C.radius;
      if (kind == KindHorizontal || kind == KindVertical) {
        const bool h = kind == KindHorizontal;
        if (E.IsLine()) {
          const bool ok = h ? IsEqual(E.seg.P1.x, E.seg.P2.x) : IsEqual(E.seg.P1.y, E.seg.P2.y);
          if (!ok) return refuse(construct_msg::HorizontalVertical);
          for (double s : {1.0, -1.0}) {
            if (h)
              out.Add({c.x, c.y + s * r}, {E.seg.P1.x, c.y + s * r});
            else
              out.Add({c.x + s * r, c.y}, {c.x + s * r, E.seg.P1.y});
          }
          return out.Done();
        }
        // A horizontal (vertical) line through the centre of E meets E at
        // right angles; it must touch C.
        const TPointD m = E.center;
        for (double s : {1.0, -1.0}) {
          if (h && IsEqual(c.y + s * r, m.y)) {
            out.Add({c.x, m.y}, {m.x + E.radius, m.y});
            out.Add({c.x, m.y}, {m.x - E.radius, m.y});
          } else if (!h && IsEqual(c.x + s * r, m.x)) {
            out.Add({m.x, c.y}, {m.x, m.y + E.radius});
            out.Add({m.x, c.y}, {m.x, m.y - E.radius});
          }
        }
        if (out.Added() == 0) return refuse(construct_msg::HorizontalVertical);
        return out.Done();
      }
      if (forcedAng && !forcedLen) return refuse(construct_msg::KeepAngle);
      // Kind 0 results, each from its touching point.
      std::vector<TSegment> segs;
      if (E.IsLine()) {
        const TangentResult t = PerpendicularTangents(c, r, E.seg);
        if (t.status != GeomStatus::Ok) out.MarkDegenerate();
        for (int i = 0; i < t.count; ++i) segs.push_back(t.seg[i]);
      } else {
        const TPointD m = E.center;
        const TangentResult t = TangentsFromPoint(c, r, m);
        for (int i = 0; i < t.count; ++i) {
          const TPointD T = t.seg[i].P2, u = UnitDir(m, T);
          segs.push_back({T, {m.x + E.radius * u.x, m.y + E.radius * u.y}});
          segs.push_back({T, {m.x - E.radius * u.x, m.y - E.radius * u.y}});
        }
      }
      for (const TSegment& s : segs) {
        if (forcedLen)
          out.Add(s.P1, Ahead(s.P1, s.P2, L));
        else
          out.Add(s);
      }
      return out.Done();
    }

    case 200: {
      const TCarrier E1 = TCarrier::Of(*normal[0].entity), E2 = TCarrier::Of(*normal[1].entity);
      if (E1.IsLine() && E2.IsLine()) return refuse(construct_msg::NormalToLine);
      if (E1.kind == TCarrier::Kind::None || E2.kind == TCarrier::Kind::None)
        return TConstructResult::Code(construct::ObjectProblem);
      std::vector<TSegment> segs;
      if (E1.IsLine() || E2.IsLine()) {
        const TCarrier& ln = E1.IsLine() ? E1 : E2;
        const TCarrier& ci = E1.IsLine() ? E2 : E1;
        const LineDistance fd = PointLineDistance(LineDistanceMode::SignedLine, ci.center, ln.seg);
        if (fd.status != GeomStatus::Ok) return TConstructResult::Code(construct::ObjectProblem);
        const TPointD F = fd.point;
        TPointD u = UnitDir(ci.center, F);
        if (u.x == 0 && u.y == 0) {  // centre on the line: its normal direction
          const TPointD d = UnitDir(ln.seg.P1, ln.seg.P2);
          u = {-d.y, d.x};
        }
        segs.push_back({{ci.center.x + ci.radius * u.x, ci.center.y + ci.radius * u.y}, F});
        segs.push_back({{ci.center.x - ci.radius * u.x, ci.center.y - ci.radius * u.y}, F});
      } else {
        const TPointD u = UnitDir(E1.center, E2.center);
        if (u.x == 0 && u.y == 0) return refuse(nullptr);  // concentric: no line through both centres
        const TPointD m1 = E1.center, m2 = E2.center;
        segs.push_back({{m1.x + E1.radius * u.x, m1.y + E1.radius * u.y}, {m2.x - E2.radius * u.x, m2.y - E2.radius * u.y}});
        segs.push_back({{m1.x - E1.radius * u.x, m1.y - E1.radius * u.y}, {m2.x + E2.radius * u.x, m2.y + E2.radius * u.y}});
      }
      for (const TSegment& s : segs) {
        bool ok = true;
        if (kind == KindHorizontal) ok = IsEqual(s.P1.y, s.P2.y);
        if (kind == KindVertical) ok = IsEqual(s.P1.x, s.P2.x);
        if (forcedAng) ok = WithinTol(Tol6, std::fabs(std::cos(Angle(s.P1, s.P2))), std::fabs(dirA.x));
        if (ok) out.Add(s);
      }
      if (out.Added() == 0 && (kind == KindHorizontal || kind == KindVertical || forcedAng))
        return refuse(construct_msg::NormalToLine);
      return out.Done();
    }
  }
  return TConstructResult::Refuse();
}

}  // namespace qm
