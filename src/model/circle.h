#pragma once
// TCadCirc: a full circle; P1 is the centre, P2.x the radius (kept
// positive), P2.y 0.
//
// Prototype Kinds (the circle tools): 0 "Circle by 3 Points", 1 "Circle by
// 2 Points and Radius", 2 "Circle by Center and Radius", 3 "Circle by
// Center and Point on Edge".
#include "model/object.h"

namespace qm {

class TCadCirc : public TCadObj {
 public:
  enum Kinds : std::uint8_t { KindThreePoints = 0, KindPointsRadius = 1, KindCenterRadius = 2, KindCenterPoint = 3 };

  TCadCirc(std::int16_t layer, TCadObj* owner, std::uint16_t flags, TPointD center, double radius)
      : TCadObj(layer, owner, flags, center.x, center.y, std::fabs(radius), 0) {}
  // A free circle (no owner, layer 0, visible).
  TCadCirc(TPointD center, double radius) : TCadCirc(0, nullptr, ofVisible, center, radius) {}

  TPointD Center() const { return P1(); }
  double Radius() const { return P2().x; }
  void SetCircle(TPointD center, double radius) { SetPoints(center, {std::fabs(radius), 0}); }

  // ---- slots -----------------------------------------------------------------
  void DrawDirection(TCanvas& canvas, std::int16_t mode) override;
  void Draw(TCanvas& canvas, std::int16_t mode, std::int16_t fill) override;
  std::int32_t DrawAnimated(TCanvas& canvas, std::int32_t phase) override;
  void Reverse() override {}
  double WindingAngle(double x, double y) const override;
  TBox GetExtents() const override;
  bool MatchEnd(TPointD, std::int16_t, TPointD&, std::int16_t&) const override { return false; }
  TPointD GetStartPoint() const override;
  TPointD GetEndPoint() const override;
  void SnapEnd(TPointD& p) const override;
  void SnapMid(TPointD& p) const override;
  TPointD SnapCenter() const override { return Center(); }
  bool Intersect(const TCadObj& other, TMOptions& markers, TPointD& first) const override;
  double DistanceTo(TPointD p) const override;
  std::unique_ptr<TCadObj> Clone() const override;
  TConstructResult Construct(TClicks fixed, TClicks tangent, TExList<TCadObj>& result, TPointD cursor,
                             TClicks normal, const TConstructInput& input) override;
  std::int32_t NormalFrom(TPointD p, TSegment& s1, TSegment& s2) const override;
  bool GetArcData(TArcRec& arc) const override;
  bool GetLineData(TSegment& seg) const override;
  void Edit(TEditHost& host, TEditGroup& container) override;
  std::int16_t TrimPieces(const TCadObj& other, TPointD cursor, TExList<TCadObj>& result) const override;
  bool SameAs(const TCadObj& other) const override;
  void Assign(const TCadObj& source) override;
  bool InFrame(const TCanvas& frame, bool entirely) const override;
  void Transform(double dx, double dy, double factor) override;
  // Equal |sx| and |sy| keep it a circle (0); unequal ones need the
  // common-geometry conversion, which is not available yet.
  std::int32_t ScaleXY(TCadGroup* group, TMarkGroup* markGroup, double dx, double dy, double sx,
                       double sy) override;
  void Move(double dx, double dy) override;
  void Rotate(double cx, double cy, double angle) override;
  void Scale(double cx, double cy, double factor) override;
  void Mirror(double x1, double y1, double x2, double y2) override;
  bool IsOn(TPointD p, double tolerance) const override;
  double DistanceAlong(std::int32_t which, TPointD p) const override;
  std::unique_ptr<TCadObj> Overlap(const TCadObj& other) const override;
  void ProjectPoint(TPointD& p) const override;
  double Length() const override { return TwoPi * Radius(); }
  bool ClassAccepts(const TCadObj& other) const override;

 protected:
  TCadCirc(const TCadCirc&) = default;

 private:
  TPointD Radial(TPointD p) const;
};

}  // namespace qm
