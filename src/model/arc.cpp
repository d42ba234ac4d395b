#include "model/arc.h"

#include <algorithm>
#include <vector>

#include "model/canvas.h"
#include "model/circle.h"
#include "model/curve.h"
#include "model/edit_host.h"
#include "model/line.h"
#include "model/shape_util.h"

namespace qm {

using namespace shape;

namespace {

// Angle travelled from the start, with points just before the start (in
// the gap of the arc, nearer the start than the end) counted as negative.
double SignedTravel(const TArcRec& rec, double sweep, TPointD p) {
  double t = Travel(rec.StartAngle, Angle(rec.Center, p), rec.Radius > 0);
  if (t > sweep + (TwoPi - sweep) / 2) t -= TwoPi;
  return t;
}

}  // namespace

TCadArc::TCadArc(std::int16_t layer, TCadObj* owner, std::uint16_t flags, const TArcRec& rec)
    : TCadObj(layer, owner, flags, 0, 0, 0, 0) {
  const ArcEnds ends = ArcEndPoints(rec);
  StorePoints(ends.start, ends.end);
  bulge_ = BulgeFromArc(rec);
}

void TCadArc::SetArc(TPointD p1, TPointD p2, double bulge) {
  StorePoints(p1, p2);
  bulge_ = bulge;
  Changed();
}

void TCadArc::SetFromRecord(const TArcRec& rec) {
  const ArcEnds ends = ArcEndPoints(rec);
  SetArc(ends.start, ends.end, BulgeFromArc(rec));
}

std::unique_ptr<TCadArc> TCadArc::Piece(const TArcRec& rec, TPointD a, TPointD b) const {
  auto arc = std::unique_ptr<TCadArc>(new TCadArc(*this));
  arc->StorePoints(a, b);
  arc->bulge_ = BulgeBetween(rec.Center, rec.Radius > 0, a, b);
  return arc;
}

bool TCadArc::GetArcData(TArcRec& arc) const {
  const ArcFromBulgeResult r = ArcFromBulge(bulge_, P1(), P2(), CurrentModelSettings().unitFactor);
  arc = r.ok ? r.arc : TArcRec{};
  return r.ok;
}

bool TCadArc::GetLineData(TSegment& seg) const {
  seg = TSegment{};
  return false;
}

// ---- drawing ----------------------------------------------------------------------

void TCadArc::DrawDirection(TCanvas& canvas, std::int16_t mode) {
  if (!HasFlag(ofShowDir)) return;
  TArcRec rec;
  if (!GetArcData(rec)) {
    if (!SamePoint(P1(), P2(), Eps)) DrawArrowhead(canvas, mode, IsMarked(), P2(), Angle(P2(), P1()));
    return;
  }
  // Backwards along the tangent at the end.
  const double back = Angle(rec.Center, P2()) + (rec.Radius > 0 ? -HalfPi : HalfPi);
  DrawArrowhead(canvas, mode, IsMarked(), P2(), back);
}

void TCadArc::Draw(TCanvas& canvas, std::int16_t mode, std::int16_t fill) {
  PreparePen(canvas, mode);
  TArcRec rec;
  if (!GetArcData(rec)) {
    canvas.DrawLine(mode < 0, IsMarked(), P1(), P2());
    if (fill == 1) canvas.AddFillEdge(P1(), P2());
    return;
  }
  curve::Draw(canvas, mode, fill, IsMarked(), curve::PathOf(rec), 6, &P1(), &P2());
}

std::int32_t TCadArc::DrawAnimated(TCanvas& canvas, std::int32_t phase) {
  TArcRec rec;
  if (!GetArcData(rec)) {
    canvas.DrawAnimatedLine(true, phase, P1(), P2());
    return 1;
  }
  return curve::DrawAnimated(canvas, phase, curve::PathOf(rec), 6, &P1(), &P2());
}

// ---- geometry ------------------------------------------------------------------------

void TCadArc::Reverse() {
  const bool fwd = IsChainFwd(), back = IsChainBack();
  SetFlag(ofChainFwd, back);
  SetFlag(ofChainBack, fwd);
  SetArc(P2(), P1(), -bulge_);
}

double TCadArc::WindingAngle(double x, double y) const {
  const TPointD p{x, y};
  double d = AngleDiff(Angle(p, P1()), Angle(p, P2()));
  TArcRec rec;
  if (GetArcData(rec) && Distance(p, rec.Center) < std::fabs(rec.Radius)) {
    if (rec.Radius > 0 && d < 0) d += TwoPi;
    if (rec.Radius < 0 && d > 0) d -= TwoPi;
  }
  return d;
}

TBox TCadArc::GetExtents() const {
  TArcRec rec;
  if (GetArcData(rec)) return ArcExtents(rec);  // a full turn gives the circle's box
  return {{std::min(P1().x, P2().x), std::min(P1().y, P2().y)}, {std::max(P1().x, P2().x), std::max(P1().y, P2().y)}};
}

void TCadArc::SnapEnd(TPointD& p) const { p = Distance(p, P1()) < Distance(p, P2()) ? P1() : P2(); }

void TCadArc::SnapMid(TPointD& p) const {
  TArcRec rec;
  if (!GetArcData(rec)) {
    p = MidPoint(P1(), P2());
    return;
  }
  const double half = Sweep(rec) / 2;
  p = Polar(rec.Center, std::fabs(rec.Radius), rec.StartAngle + (rec.Radius > 0 ? half : -half));
}

TPointD TCadArc::SnapCenter() const {
  TArcRec rec;
  return GetArcData(rec) ? rec.Center : MidPoint(P1(), P2());
}

bool TCadArc::Intersect(const TCadObj& other, TMOptions& markers, TPointD& first) const {
  TArcRec rec;
  if (!GetArcData(rec)) {
    markers.Clear();
    return false;
  }
  return curve::Intersect(rec, other, markers, first);
}

double TCadArc::DistanceTo(TPointD p) const {
  TArcRec rec;
  if (GetArcData(rec)) return DistanceToArc(rec, p);
  return PointLineDistance(LineDistanceMode::Segment, p, {P1(), P2()}).distance;
}

std::unique_ptr<TCadObj> TCadArc::Clone() const { return std::unique_ptr<TCadArc>(new TCadArc(*this)); }

TConstructResult TCadArc::Construct(TClicks fixed, TClicks tangent, TExList<TCadObj>& result, TPointD,
                                    TClicks normal, const TConstructInput& input) {
  return curve::Construct(true, *this, fixed, tangent, result, normal, input);
}

std::int32_t TCadArc::NormalFrom(TPointD p, TSegment& s1, TSegment& s2) const {
  s1 = s2 = TSegment{};
  TArcRec rec;
  if (!GetArcData(rec)) {
    if (SamePoint(P1(), P2(), Eps)) return 0;
    s1 = {p, PointLineDistance(LineDistanceMode::SignedLine, p, {P1(), P2()}).point};
    return 1;
  }
  const double theta = Angle(rec.Center, p), r = std::fabs(rec.Radius);
  s1 = {p, Polar(rec.Center, r, theta)};
  s2 = {p, Polar(rec.Center, -r, theta)};
  return 2;
}

void TCadArc::Edit(TEditHost& host, TEditGroup& container) { host.EditArc(*this, container); }

// ---- splitting, trimming, chamfering ----------------------------------------------

std::int16_t TCadArc::SplitBy(const TCadObj& other, TExList<TCadObj>& result) const {
  if (&other == this) return 0;
  TArcRec rec;
  if (!GetArcData(rec)) return 0;
  TMOptions markers;
  TPointD first;
  if (!Intersect(other, markers, first)) return 0;
  const double sweep = Sweep(rec);
  struct Cut {
    TPointD p;
    double t;
  };
  std::vector<Cut> cuts;
  auto consider = [&](TPointD p) {
    if (IsOn(p, Tol4)) cuts.push_back({p, SignedTravel(rec, sweep, p)});
  };
  consider(P1());
  for (const TOptionMarker* m : markers) consider(m->point);  // full precision
  consider(P2());
  std::stable_sort(cuts.begin(), cuts.end(), [](const Cut& a, const Cut& b) { return a.t < b.t; });
  std::int16_t n = 0;
  TPointD prev = cuts.front().p;
  for (std::size_t i = 1; i < cuts.size(); ++i) {
    if (SamePoint(prev, cuts[i].p, Tol4)) continue;
    result.Add(Piece(rec, prev, cuts[i].p));
    prev = cuts[i].p;
    ++n;
  }
  return n;
}

std::int16_t TCadArc::TrimPieces(const TCadObj& other, TPointD, TExList<TCadObj>& result) const {
  if (&other == this) return construct::CannotTrim;
  TArcRec rec;
  TMOptions markers;
  TPointD first;
  if (!GetArcData(rec) || !Intersect(other, markers, first)) return construct::CannotTrim;
  const TPointD I1 = markers.At(0)->point;
  if (markers.Count() == 1) {
    result.Add(Piece(rec, I1, P2()));
    return 1;
  }
  const TPointD I2 = markers.At(1)->point;
  result.Add(Piece(rec, I1, P2()));
  result.Add(Piece(rec, I2, P2()));
  result.Add(Piece(rec, P1(), I1));
  result.Add(Piece(rec, P1(), I2));
  result.Add(Piece(rec, I1, I2));
  result.Add(Piece(rec, I2, I1));
  return 6;
}

std::int16_t TCadArc::ChamferLines(const TCadObj& other, double d, TExList<TCadObj>& result) const {
  TArcRec rec;
  TMOptions markers;
  TPointD first;
  if (!GetArcData(rec) || !Intersect(other, markers, first)) return construct::CannotChamfer;
  const double r = std::fabs(rec.Radius);
  TSegment os;
  TArcRec oa;
  const bool otherLine = other.GetLineData(os);
  if (!otherLine && !other.GetArcData(oa)) return construct::CannotChamfer;
  auto line = [&](TPointD a, TPointD b) {
    result.Add(std::make_unique<TCadLine>(Layer(), Owner(), Flags(), a, b));
  };
  std::int16_t n = 0;
  for (const TOptionMarker* m : markers) {
    const TPointD I = m->point;
    // Arc length d on either side of I, on this arc and on the other.
    const double a = Angle(rec.Center, I);
    const TPointD sp = Polar(rec.Center, r, a + d / r), sm = Polar(rec.Center, r, a - d / r);
    TPointD op, om;
    if (otherLine) {
      const TPointD v = UnitDir(os.P1, os.P2);
      op = {I.x + d * v.x, I.y + d * v.y};
      om = {I.x - d * v.x, I.y - d * v.y};
    } else {
      const double ro = std::fabs(oa.Radius), b = Angle(oa.Center, I);
      op = Polar(oa.Center, ro, b + d / ro);
      om = Polar(oa.Center, ro, b - d / ro);
    }
    line(sp, op);
    line(op, sm);
    line(sm, om);
    line(om, sp);
    n += 4;
  }
  return n;
}

bool TCadArc::SameAs(const TCadObj& other) const {
  const auto* o = dynamic_cast<const TCadArc*>(&other);
  return o && IsEqual(o->P1().x, P1().x) && IsEqual(o->P1().y, P1().y) && IsEqual(o->P2().x, P2().x) &&
         IsEqual(o->P2().y, P2().y) && IsEqual(o->bulge_, bulge_) && o->Layer() == Layer();
}

void TCadArc::Assign(const TCadObj& source) {
  const auto* o = dynamic_cast<const TCadArc*>(&source);
  if (!o) return;
  SetFlags(o->Flags());
  SetLayer(o->Layer());
  SetArc(o->P1(), o->P2(), o->bulge_);
}

void TCadArc::ExtendTo(const TCadObj& blendArc) {
  TArcRec rec, brec;
  if (!GetArcData(rec) || !blendArc.GetArcData(brec)) return;
  TMOptions markers;
  TPointD T;
  if (!Intersect(blendArc, markers, T) || markers.Count() != 1) return;
  // The direction from T into the blend arc, and this arc's direction of
  // travel at T: where they agree this arc runs into the blend, so its end
  // moves to T; otherwise its start does.
  const double bturn = brec.Radius > 0 ? HalfPi : -HalfPi;
  double into = Angle(brec.Center, T) + bturn;
  if (Distance(T, blendArc.P2()) < Distance(T, blendArc.P1())) into += Pi;  // leaving the blend's end backwards
  const double travel = Angle(rec.Center, T) + (rec.Radius > 0 ? HalfPi : -HalfPi);
  const TPointD onCircle = Polar(rec.Center, std::fabs(rec.Radius), Angle(rec.Center, T));
  if (std::cos(travel - into) > 0)
    SetArc(P1(), onCircle, BulgeBetween(rec.Center, rec.Radius > 0, P1(), onCircle));
  else
    SetArc(onCircle, P2(), BulgeBetween(rec.Center, rec.Radius > 0, onCircle, P2()));
}

void TCadArc::TrimAt(const TCadObj& chamferLine, const TCadObj& other) {
  TArcRec rec;
  TSegment cs;
  if (!GetArcData(rec) || !chamferLine.GetLineData(cs)) return;
  TMOptions markers;
  TPointD I;
  if (!Intersect(other, markers, I)) return;
  if (markers.Count() >= 2 && Distance(markers.At(1)->point, cs.P1) < Distance(markers.At(0)->point, cs.P1))
    I = markers.At(1)->point;
  // J: where the chamfer line's carrier meets this circle, at its end on
  // this arc.
  const IntersectResult jr = LineCircle(LineCircleMode::Line, rec.Center, std::fabs(rec.Radius), cs);
  if (jr.count == 0) return;
  auto nearChamfer = [&](TPointD p) { return std::min(Distance(p, cs.P1), Distance(p, cs.P2)); };
  TPointD J = jr.p1;
  if (jr.count == 2 && nearChamfer(jr.p2) < nearChamfer(J)) J = jr.p2;
  const double sweep = Sweep(rec);
  const bool ccw = rec.Radius > 0;
  // The end on the corner's side moves to J.
  if (SignedTravel(rec, sweep, I) > SignedTravel(rec, sweep, J))
    SetArc(P1(), J, BulgeBetween(rec.Center, ccw, P1(), J));
  else
    SetArc(J, P2(), BulgeBetween(rec.Center, ccw, J, P2()));
}

bool TCadArc::InFrame(const TCanvas& frame, bool entirely) const {
  TArcRec rec;
  if (!GetArcData(rec)) return frame.SegmentInBand(entirely, P1(), P2());
  const chords::Path path = curve::PathOf(rec);
  const int minimum = static_cast<int>(std::lround(std::fabs(RadToDeg(path.sweep)) / 5)) + 1;
  return curve::InFrame(frame, entirely, path, GetExtents(), minimum);
}

// ---- transformations ----------------------------------------------------------------

void TCadArc::Transform(double dx, double dy, double f) {
  SetArc(Affine(P1(), dx, dy, f), Affine(P2(), dx, dy, f), bulge_);
}

std::int32_t TCadArc::ScaleXY(TCadGroup*, TMarkGroup*, double dx, double dy, double sx, double sy) {
  if (!curve::SameMagnitude(sx, sy)) return NotAvailable;
  // Opposite signs mirror the arc, which reverses its turning.
  const double b = (sx < 0) != (sy < 0) ? -bulge_ : bulge_;
  SetArc({P1().x * sx + dx, P1().y * sy + dy}, {P2().x * sx + dx, P2().y * sy + dy}, b);
  return 0;
}

void TCadArc::Move(double dx, double dy) { SetArc({P1().x + dx, P1().y + dy}, {P2().x + dx, P2().y + dy}, bulge_); }

void TCadArc::Rotate(double cx, double cy, double angle) {
  SetArc(RotateAbout(P1(), cx, cy, angle), RotateAbout(P2(), cx, cy, angle), bulge_);
}

void TCadArc::Scale(double cx, double cy, double f) {
  SetArc(ScaleAbout(P1(), cx, cy, f), ScaleAbout(P2(), cx, cy, f), bulge_);
}

void TCadArc::Mirror(double x1, double y1, double x2, double y2) {
  SetArc(MirrorPoint(P1(), x1, y1, x2, y2), MirrorPoint(P2(), x1, y1, x2, y2), -bulge_);
}

// ---- measuring ---------------------------------------------------------------------

bool TCadArc::IsOn(TPointD p, double t) const { return DistanceTo(p) < t; }

double TCadArc::DistanceAlong(std::int32_t which, TPointD p) const {
  TArcRec rec;
  if (!GetArcData(rec)) return Distance(which < 0 ? P2() : P1(), p);
  const bool ccw = rec.Radius > 0;
  const double theta = Angle(rec.Center, p), r = std::fabs(rec.Radius);
  return which < 0 ? r * Travel(theta, rec.EndAngle, ccw) : r * Travel(rec.StartAngle, theta, ccw);
}

std::unique_ptr<TCadObj> TCadArc::BreakAt(TPointD p) {
  TArcRec rec;
  if (!GetArcData(rec) || SamePoint(p, P1(), Tol5) || SamePoint(p, P2(), Tol5)) return nullptr;
  const TPointD q = Polar(rec.Center, std::fabs(rec.Radius), Angle(rec.Center, p));
  std::unique_ptr<TCadArc> rest = Piece(rec, q, P2());
  SetArc(P1(), q, BulgeBetween(rec.Center, rec.Radius > 0, P1(), q));
  return rest;
}

std::unique_ptr<TCadObj> TCadArc::Overlap(const TCadObj& other) const {
  TArcRec me, ot;
  if (!GetArcData(me) || !other.GetArcData(ot) || !SamePoint(me.Center, ot.Center, Tol5)) return nullptr;
  const auto* oa = dynamic_cast<const TCadArc*>(&other);
  const auto* oc = dynamic_cast<const TCadCirc*>(&other);
  if (!oa && !oc) return nullptr;
  auto copyOf = [&](const TCadArc& a) {
    return std::make_unique<TCadArc>(Layer(), nullptr, ofChainFwd, a.P1(), a.P2(), a.bulge_);
  };
  auto midOf = [](const TCadObj& a) {
    TPointD m;
    a.SnapMid(m);
    return m;
  };
  if (oc) {
    if (!IsOnArc(ot, P1(), Tol5) || !IsOnArc(ot, P2(), Tol5)) return nullptr;
    return copyOf(*this);
  }
  const bool o1 = IsOnArc(me, oa->P1(), Tol5), o2 = IsOnArc(me, oa->P2(), Tol5);
  const bool t1 = IsOnArc(ot, P1(), Tol5), t2 = IsOnArc(ot, P2(), Tol5);
  if (o1 && o2 && IsOnArc(me, midOf(*oa), Tol5)) return copyOf(*oa);
  if (t1 && t2 && IsOnArc(ot, midOf(*this), Tol5)) return copyOf(*this);
  // Partly overlapping: between an end of this arc that lies on the other
  // and an end of the other that lies on this one, in this arc's direction.
  struct Candidate {
    bool ok;
    TPointD a, b;
  };
  const Candidate candidates[4] = {{t1 && o1, P1(), oa->P1()},
                                   {t1 && o2, P1(), oa->P2()},
                                   {o1 && t2, oa->P1(), P2()},
                                   {o2 && t2, oa->P2(), P2()}};
  for (const Candidate& c : candidates) {
    if (!c.ok || SamePoint(c.a, c.b, Tol5)) continue;  // touching ends share no part
    auto piece = std::make_unique<TCadArc>(Layer(), nullptr, ofChainFwd, c.a, c.b,
                                           BulgeBetween(me.Center, me.Radius > 0, c.a, c.b));
    const TPointD m = midOf(*piece);
    if (IsOnArc(me, m, Tol5) && IsOnArc(ot, m, Tol5)) return piece;
  }
  return nullptr;
}

void TCadArc::ProjectPoint(TPointD& p) const {
  TArcRec rec;
  if (!GetArcData(rec)) {
    if (!SamePoint(P1(), P2(), Eps)) p = PointLineDistance(LineDistanceMode::SignedLine, p, {P1(), P2()}).point;
    return;
  }
  const TPointD q = Polar(rec.Center, std::fabs(rec.Radius), Angle(rec.Center, p));
  if (IsOn(q, Tol4))
    p = q;
  else
    p = Distance(p, P1()) <= Distance(p, P2()) ? P1() : P2();
}

double TCadArc::Length() const {
  TArcRec rec;
  if (!GetArcData(rec)) return Distance(P1(), P2());
  return std::fabs(rec.Radius) * Sweep(rec);
}

bool TCadArc::ClassAccepts(const TCadObj& other) const { return dynamic_cast<const TCadArc*>(&other) != nullptr; }

}  // namespace qm
