#pragma once
// TCadLine: the straight segment from P1 to P2 (direction P1 → P2). A line
// may be degenerate (P1 = P2): it then has no direction, its distance is the
// distance to its point and it has no perpendicular foot.
//
// Prototype Kinds (the line tools): 0 "Diagonal Straight Line",
// 1 "Horizontal Line", 2 "Vertical Line", 3 "Line with Defined Length /
// Angle" (with the length and angle of TConstructInput; Kind 3 with neither
// box checked behaves like Kind 0).
#include "model/object.h"

namespace qm {

class TCadLine : public TCadObj {
 public:
  enum Kinds : std::uint8_t { KindDiagonal = 0, KindHorizontal = 1, KindVertical = 2, KindLengthAngle = 3 };

  TCadLine(std::int16_t layer, TCadObj* owner, std::uint16_t flags, TPointD p1, TPointD p2)
      : TCadObj(layer, owner, flags, p1.x, p1.y, p2.x, p2.y) {}
  TCadLine(std::int16_t layer, TCadObj* owner, std::uint16_t flags, double x1, double y1, double x2, double y2)
      : TCadObj(layer, owner, flags, x1, y1, x2, y2) {}
  // A free line (no owner, layer 0, visible).
  TCadLine(TPointD p1, TPointD p2) : TCadLine(0, nullptr, ofVisible, p1, p2) {}

  TSegment Segment() const { return {P1(), P2()}; }
  bool IsDegenerate() const;
  // Direction P1 → P2 in (0, 2π]; 0 for a degenerate line.
  double Direction() const { return Angle(P1(), P2()); }

  // ---- slots -----------------------------------------------------------------
  void DrawDirection(TCanvas& canvas, std::int16_t mode) override;
  void Draw(TCanvas& canvas, std::int16_t mode, std::int16_t fill) override;
  std::int32_t DrawAnimated(TCanvas& canvas, std::int32_t phase) override;
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
  std::int32_t ScaleXY(TCadGroup* group, TMarkGroup* markGroup, double dx, double dy, double sx,
                       double sy) override;
  void Move(double dx, double dy) override;
  void Rotate(double cx, double cy, double angle) override;
  void Scale(double cx, double cy, double factor) override;
  void Mirror(double x1, double y1, double x2, double y2) override;
  bool IsOn(TPointD p, double tolerance) const override;
  double DistanceAlong(std::int32_t which, TPointD p) const override;
  double PointAtDistance(bool clamp, std::int32_t which, double d, TPointD& p) const override;
  std::unique_ptr<TCadObj> BreakAt(TPointD p) override;
  std::unique_ptr<TCadObj> Overlap(const TCadObj& other) const override;
  void ProjectPoint(TPointD& p) const override;
  bool ClassAccepts(const TCadObj& other) const override;

 protected:
  TCadLine(const TCadLine&) = default;

 private:
  // A new line with this line's Layer, Owner and Flags.
  std::unique_ptr<TCadLine> Piece(TPointD a, TPointD b) const;
};

}  // namespace qm
