#pragma once
// TCadArc: a circular arc from P1 to P2 with Bulge = s·tan(sweep/4)
// (s = +1 counter-clockwise, −1 clockwise, 0 < sweep < 2π). Its record
// (centre, signed radius, angles) is derived on demand; an arc whose bulge
// is at most 1e-4 in magnitude, or whose radius is not above
// 0.001 / unitFactor, has none: it is drawn and measured as its chord, and
// the operations that need a record do nothing.
//
// Prototype Kinds (the arc tools): 0 "Arc Defined by 3 points",
// 1 "Arc Defined by 2 Points and Radius", 2 "Arc by Center, 1st point/rad
// and second", 3 "Arc by Center, Radius and edges".
#include "model/object.h"

namespace qm {

class TCadArc : public TCadObj {
 public:
  enum Kinds : std::uint8_t { KindThreePoints = 0, KindPointsRadius = 1, KindCenterPoints = 2, KindCenterRadius = 3 };

  TCadArc(std::int16_t layer, TCadObj* owner, std::uint16_t flags, TPointD p1, TPointD p2, double bulge)
      : TCadObj(layer, owner, flags, p1.x, p1.y, p2.x, p2.y), bulge_(bulge) {}
  // From a record: the end points at its angles, the bulge from its sweep
  // (a full turn gives bulge 0 and so no record: full circles are TCadCirc).
  TCadArc(std::int16_t layer, TCadObj* owner, std::uint16_t flags, const TArcRec& rec);
  // A free arc (no owner, layer 0, visible).
  TCadArc(TPointD p1, TPointD p2, double bulge) : TCadArc(0, nullptr, ofVisible, p1, p2, bulge) {}

  double Bulge() const { return bulge_; }
  void SetArc(TPointD p1, TPointD p2, double bulge);
  // Replaces the geometry by the record's.
  void SetFromRecord(const TArcRec& rec);

  // ---- slots -----------------------------------------------------------------
  void DrawDirection(TCanvas& canvas, std::int16_t mode) override;
  void Draw(TCanvas& canvas, std::int16_t mode, std::int16_t fill) override;
  std::int32_t DrawAnimated(TCanvas& canvas, std::int32_t phase) override;
  void Reverse() override;
  double WindingAngle(double x, double y) const override;
  TBox GetExtents() const override;
  void SnapEnd(TPointD& p) const override;
  void SnapMid(TPointD& p) const override;
  TPointD SnapCenter() const override;
  bool Intersect(const TCadObj& other, TMOptions& markers, TPointD& first) const override;
  double DistanceTo(TPointD p) const override;
  std::unique_ptr<TCadObj> Clone() const override;
  TConstructResult Construct(TClicks fixed, TClicks tangent, TExList<TCadObj>& result, TPointD cursor,
                             TClicks normal, const TConstructInput& input) override;
  std::int32_t NormalFrom(TPointD p, TSegment& s1, TSegment& s2) const override;
  bool GetArcData(TArcRec& arc) const override;
  bool GetLineData(TSegment& seg) const override;
  void Edit(TEditHost& host, TEditGroup& container) override;
  std::int16_t SplitBy(const TCadObj& other, TExList<TCadObj>& result) const override;
  std::int16_t TrimPieces(const TCadObj& other, TPointD cursor, TExList<TCadObj>& result) const override;
  std::int16_t ChamferLines(const TCadObj& other, double distance, TExList<TCadObj>& result) const override;
  bool SameAs(const TCadObj& other) const override;
  void Assign(const TCadObj& source) override;
  void ExtendTo(const TCadObj& blendArc) override;
  void TrimAt(const TCadObj& chamferLine, const TCadObj& other) override;
  bool InFrame(const TCanvas& frame, bool entirely) const override;
  void Transform(double dx, double dy, double factor) override;
  // Equal |sx| and |sy| keep it an arc (scaled in place, 0); unequal ones
  // need the common-geometry conversion, which is not available yet.
  std::int32_t ScaleXY(TCadGroup* group, TMarkGroup* markGroup, double dx, double dy, double sx,
                       double sy) override;
  void Move(double dx, double dy) override;
  void Rotate(double cx, double cy, double angle) override;
  void Scale(double cx, double cy, double factor) override;
  void Mirror(double x1, double y1, double x2, double y2) override;
  bool IsOn(TPointD p, double tolerance) const override;
  double DistanceAlong(std::int32_t which, TPointD p) const override;
  std::unique_ptr<TCadObj> BreakAt(TPointD p) override;
  std::unique_ptr<TCadObj> Overlap(const TCadObj& other) const override;
  void ProjectPoint(TPointD& p) const override;
  double Length() const override;
  bool ClassAccepts(const TCadObj& other) const override;

 protected:
  TCadArc(const TCadArc&) = default;

 private:
  // A new arc on this arc's circle and in its direction from a to b, with
  // this arc's Layer, Owner and Flags.
  std::unique_ptr<TCadArc> Piece(const TArcRec& rec, TPointD a, TPointD b) const;

  double bulge_ = 0;
};

// The bulge of the arc about `center` from a to b, counter-clockwise or not.
double BulgeBetween(TPointD center, bool ccw, TPointD a, TPointD b);

}  // namespace qm
