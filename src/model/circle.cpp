#include "model/circle.h"

#include "model/arc.h"
#include "model/canvas.h"
#include "model/curve.h"
#include "model/edit_host.h"
#include "model/shape_util.h"

namespace qm {

using namespace shape;

TPointD TCadCirc::Radial(TPointD p) const { return Polar(Center(), Radius(), Angle(Center(), p)); }

bool TCadCirc::GetArcData(TArcRec& arc) const {
  arc = TArcRec{};
  arc.Center = Center();
  arc.Radius = Radius();
  arc.AngleUnit = ArcAngleUnit::Radians;
  arc.StartAngle = 0;
  arc.EndAngle = TwoPi;
  return true;
}

bool TCadCirc::GetLineData(TSegment& seg) const {
  seg = TSegment{};
  return false;
}

void TCadCirc::DrawDirection(TCanvas& canvas, std::int16_t mode) {
  if (!HasFlag(ofShowDir)) return;
  DrawArrowhead(canvas, mode, IsMarked(), GetEndPoint(), -HalfPi);
}

void TCadCirc::Draw(TCanvas& canvas, std::int16_t mode, std::int16_t fill) {
  PreparePen(canvas, mode);
  TArcRec rec;
  GetArcData(rec);
  curve::Draw(canvas, mode, fill, IsMarked(), curve::PathOf(rec), 12, nullptr, nullptr);
}

std::int32_t TCadCirc::DrawAnimated(TCanvas& canvas, std::int32_t phase) {
  TArcRec rec;
  GetArcData(rec);
  return curve::DrawAnimated(canvas, phase, curve::PathOf(rec), 12, nullptr, nullptr);
}

double TCadCirc::WindingAngle(double x, double y) const {
  return Distance({x, y}, Center()) >= Radius() ? 0 : TwoPi;
}

TBox TCadCirc::GetExtents() const {
  const TPointD c = Center();
  const double r = Radius();
  return {{c.x - r, c.y - r}, {c.x + r, c.y + r}};
}

TPointD TCadCirc::GetStartPoint() const { return {Center().x + Radius(), Center().y}; }
TPointD TCadCirc::GetEndPoint() const { return GetStartPoint(); }
void TCadCirc::SnapEnd(TPointD& p) const { p = Radial(p); }
void TCadCirc::SnapMid(TPointD& p) const { p = Radial(p); }

bool TCadCirc::Intersect(const TCadObj& other, TMOptions& markers, TPointD& first) const {
  TArcRec rec;
  GetArcData(rec);
  return curve::Intersect(rec, other, markers, first);
}

double TCadCirc::DistanceTo(TPointD p) const { return std::fabs(Distance(p, Center()) - Radius()); }

std::unique_ptr<TCadObj> TCadCirc::Clone() const { return std::unique_ptr<TCadCirc>(new TCadCirc(*this)); }

TConstructResult TCadCirc::Construct(TClicks fixed, TClicks tangent, TExList<TCadObj>& result, TPointD,
                                     TClicks normal, const TConstructInput& input) {
  return curve::Construct(false, *this, fixed, tangent, result, normal, input);
}

std::int32_t TCadCirc::NormalFrom(TPointD p, TSegment& s1, TSegment& s2) const {
  const double theta = Angle(Center(), p);
  s1 = {p, Polar(Center(), Radius(), theta)};
  s2 = {p, Polar(Center(), -Radius(), theta)};
  return 2;
}

void TCadCirc::Edit(TEditHost& host, TEditGroup& container) { host.EditCircle(*this, container); }

std::int16_t TCadCirc::TrimPieces(const TCadObj& other, TPointD, TExList<TCadObj>& result) const {
  if (&other == this) return construct::CannotTrim;
  TMOptions markers;
  TPointD first;
  if (!Intersect(other, markers, first) || markers.Count() != 2) return construct::CannotTrim;
  const TPointD I1 = markers.At(0)->point, I2 = markers.At(1)->point;
  for (const auto& [a, b] : {std::pair{I1, I2}, std::pair{I2, I1}})
    result.Add(std::make_unique<TCadArc>(Layer(), Owner(), Flags(), a, b, BulgeBetween(Center(), true, a, b)));
  return 2;
}

bool TCadCirc::SameAs(const TCadObj& other) const {
  const auto* o = dynamic_cast<const TCadCirc*>(&other);
  return o && IsEqual(o->Center().x, Center().x) && IsEqual(o->Center().y, Center().y) &&
         IsEqual(o->Radius(), Radius()) && o->Layer() == Layer();
}

void TCadCirc::Assign(const TCadObj& source) {
  const auto* o = dynamic_cast<const TCadCirc*>(&source);
  if (!o) return;
  SetFlags(o->Flags());
  SetLayer(o->Layer());
  SetCircle(o->Center(), o->Radius());
}

bool TCadCirc::InFrame(const TCanvas& frame, bool entirely) const {
  TArcRec rec;
  GetArcData(rec);
  return curve::InFrame(frame, entirely, curve::PathOf(rec), GetExtents(), 72);
}

void TCadCirc::Transform(double dx, double dy, double f) {
  SetCircle(Affine(Center(), dx, dy, f), Radius() * std::fabs(f));
}

std::int32_t TCadCirc::ScaleXY(TCadGroup*, TMarkGroup*, double dx, double dy, double sx, double sy) {
  if (!curve::SameMagnitude(sx, sy)) return NotAvailable;
  SetCircle({Center().x * sx + dx, Center().y * sy + dy}, Radius() * std::fabs(sx));
  return 0;
}

void TCadCirc::Move(double dx, double dy) { SetCircle({Center().x + dx, Center().y + dy}, Radius()); }

void TCadCirc::Rotate(double cx, double cy, double angle) { SetCircle(RotateAbout(Center(), cx, cy, angle), Radius()); }

void TCadCirc::Scale(double cx, double cy, double f) {
  SetCircle(ScaleAbout(Center(), cx, cy, f), Radius() * std::fabs(f));
}

void TCadCirc::Mirror(double x1, double y1, double x2, double y2) {
  SetCircle(MirrorPoint(Center(), x1, y1, x2, y2), Radius());
}

bool TCadCirc::IsOn(TPointD p, double t) const { return DistanceTo(p) < t; }

double TCadCirc::DistanceAlong(std::int32_t which, TPointD p) const {
  const double theta = Angle(Center(), p);
  return Radius() * (which < 0 ? Travel(theta, 0, true) : Travel(0, theta, true));
}

std::unique_ptr<TCadObj> TCadCirc::Overlap(const TCadObj& other) const {
  TArcRec ot;
  if (!other.GetArcData(ot) || !SamePoint(ot.Center, Center(), Tol5) || !IsEqual(std::fabs(ot.Radius), Radius()))
    return nullptr;
  if (dynamic_cast<const TCadCirc*>(&other))
    return std::make_unique<TCadCirc>(Layer(), nullptr, ofChainFwd, Center(), Radius());
  if (const auto* a = dynamic_cast<const TCadArc*>(&other))
    return std::make_unique<TCadArc>(Layer(), nullptr, ofChainFwd, a->P1(), a->P2(), a->Bulge());
  return nullptr;
}

void TCadCirc::ProjectPoint(TPointD& p) const { p = Radial(p); }

bool TCadCirc::ClassAccepts(const TCadObj& other) const { return dynamic_cast<const TCadCirc*>(&other) != nullptr; }

}  // namespace qm
