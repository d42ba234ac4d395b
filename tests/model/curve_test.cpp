// Arcs and circles: records, extents, snapping, intersections, splitting,
// trimming, joining, overlap, measuring; the transformations of all three
// entity classes; drawing by chords and the frame tests.
#include <functional>

#include "model/chords.h"
#include "model_fixture.h"

namespace qm::test {
namespace {

using Curves = ModelTest;

const TPointD kO{0, 0};

// The arc's record, angles brought into [0, 2π).
struct ArcShape {
  TPointD center;
  double radius;
  double start, end;
};

::testing::AssertionResult IsArc(const TCadObj& e, const ArcShape& s, double tol = 1e-9) {
  TArcRec r;
  if (!e.GetArcData(r)) return ::testing::AssertionFailure() << "no record";
  auto wrap = [](double a) {
    a = std::fmod(a, TwoPi);
    if (a < 0) a += TwoPi;
    return a;
  };
  auto sameAngle = [&](double a, double b) {
    const double d = std::fabs(wrap(a) - wrap(b));
    return std::min(d, TwoPi - d) <= tol * 10;
  };
  if (!Near(r.Center, s.center, tol) || std::fabs(r.Radius - s.radius) > tol || !sameAngle(r.StartAngle, s.start) ||
      !sameAngle(r.EndAngle, s.end))
    return ::testing::AssertionFailure() << "arc about (" << r.Center.x << ", " << r.Center.y << ") radius "
                                         << r.Radius << " from " << r.StartAngle << " to " << r.EndAngle;
  return ::testing::AssertionSuccess();
}

TEST_F(Curves, RecordsAndExtents) {
  // A full turn has bulge 0 and so no record; full circles are TCadCirc.
  TArcRec full;
  full.Center = {1, 1};
  full.Radius = 2;
  full.StartAngle = 0;
  full.EndAngle = TwoPi;
  const TCadArc turn(0, nullptr, ofVisible, full);
  EXPECT_EQ(turn.Bulge(), 0);
  TArcRec r;
  EXPECT_FALSE(turn.GetArcData(r));

  const struct {
    const char* name;
    std::unique_ptr<TCadArc> arc;
    TBox box;
  } cases[] = {
      {"quarter", ArcOf(kO, 10, 0, Pi / 2), {{0, 0}, {10, 10}}},
      {"three quarters", ArcOf(kO, 10, 0, 1.5 * Pi), {{-10, -10}, {10, 10}}},
      {"clockwise quarter", ArcOf(kO, -10, 0, -Pi / 2), {{0, -10}, {10, 0}}},
      {"straight (no record)", std::make_unique<TCadArc>(TPointD{0, 0}, TPointD{4, 2}, 1e-5), {{0, 0}, {4, 2}}},
      {"ends coincide (no record)", std::make_unique<TCadArc>(TPointD{3, 3}, TPointD{3, 3}, 1), {{3, 3}, {3, 3}}},
      {"tiny radius (no record)",
       std::make_unique<TCadArc>(TPointD{0, 0}, TPointD{0.0005, 0}, 1),
       {{0, 0}, {0.0005, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TBox b = c.arc->GetExtents();
    EXPECT_TRUE(Near(b.Min, c.box.Min, 1e-9));
    EXPECT_TRUE(Near(b.Max, c.box.Max, 1e-9));
  }
  // Nearly a full turn with a record: the record's box is the circle's.
  const double e = 1e-7;
  const TCadArc nearlyFull({1 + 2 * std::cos(e), 1 + 2 * std::sin(e)}, {1 + 2 * std::cos(e), 1 - 2 * std::sin(e)},
                           1 / std::tan(e / 2));
  ASSERT_TRUE(nearlyFull.GetArcData(r));
  const TBox nearly = nearlyFull.GetExtents();
  EXPECT_TRUE(Near(nearly.Min, {-1, -1}, 1e-6));
  EXPECT_TRUE(Near(nearly.Max, {3, 3}, 1e-6));
  EXPECT_EQ(TCadCirc({1, 2}, 3).GetExtents(), (TBox{{-2, -1}, {4, 5}}));

  // In inches the smallest radius with a record is 0.001 / 25.4.
  CurrentModelSettings().unitFactor = 25.4;
  EXPECT_TRUE(TCadArc({0, 0}, {0.0005, 0}, 1).GetArcData(r));
}

TEST_F(Curves, ArcWithoutRecordIsMeasuredAsItsChord) {
  const TCadArc flat({0, 0}, {10, 0}, 1e-5);
  EXPECT_DOUBLE_EQ(flat.DistanceTo({5, 3}), 3);
  EXPECT_DOUBLE_EQ(flat.DistanceTo({13, 4}), 5);
  EXPECT_DOUBLE_EQ(flat.Length(), 10);
  EXPECT_TRUE(Near(flat.SnapCenter(), {5, 0}));
  TMOptions markers;
  TPointD first;
  EXPECT_FALSE(flat.Intersect(TCadLine({5, -1}, {5, 1}), markers, first));
  TExList<TCadObj> out;
  EXPECT_EQ(flat.SplitBy(TCadLine({5, -1}, {5, 1}), out), 0);
  EXPECT_EQ(flat.TrimPieces(TCadLine({5, -1}, {5, 1}), {}, out), -2);

  RecordingCanvas canvas;
  TCadArc drawn({0, 0}, {10, 0}, 1e-5);
  drawn.Draw(canvas, 0, 1);
  ASSERT_EQ(canvas.LineCount(), 1);  // the chord
  EXPECT_EQ(canvas.fillEdges, 1);
}

TEST_F(Curves, WindingSnapAndNormals) {
  // Two half circles make a closed contour about the origin.
  const auto upper = ArcOf(kO, 1, 0, Pi), lower = ArcOf(kO, 1, Pi, TwoPi);
  EXPECT_NEAR(upper->WindingAngle(0, 0) + lower->WindingAngle(0, 0), TwoPi, 1e-12);
  EXPECT_NEAR(upper->WindingAngle(0, 0.5) + lower->WindingAngle(0, 0.5), TwoPi, 1e-12);
  EXPECT_NEAR(upper->WindingAngle(5, 0) + lower->WindingAngle(5, 0), 0, 1e-12);
  const auto cwUpper = ArcOf(kO, -1, Pi, 0), cwLower = ArcOf(kO, -1, TwoPi, Pi);
  EXPECT_NEAR(cwUpper->WindingAngle(0, 0.5) + cwLower->WindingAngle(0, 0.5), -TwoPi, 1e-12);
  EXPECT_EQ(TCadCirc(kO, 1).WindingAngle(0.5, 0), TwoPi);
  EXPECT_EQ(TCadCirc(kO, 1).WindingAngle(1, 0), 0);

  const auto quarter = ArcOf(kO, 10, 0, Pi / 2);
  TPointD p{5, 5};
  quarter->SnapEnd(p);
  EXPECT_TRUE(Near(p, {0, 10}));  // equal distances: P2
  quarter->SnapMid(p);
  EXPECT_TRUE(Near(p, {10 * kS2, 10 * kS2}));
  ArcOf(kO, -10, 0, -Pi / 2)->SnapMid(p);
  EXPECT_TRUE(Near(p, {10 * kS2, -10 * kS2}));
  ArcOf(kO, 10, 1.75 * Pi, 0.25 * Pi)->SnapMid(p);  // wraps through 0
  EXPECT_TRUE(Near(p, {10, 0}));
  EXPECT_TRUE(Near(quarter->SnapCenter(), kO));

  const TCadCirc circle({1, 1}, 2);
  p = {1, 5};
  circle.SnapEnd(p);
  EXPECT_TRUE(Near(p, {1, 3}));
  EXPECT_EQ(circle.GetStartPoint(), (TPointD{3, 1}));
  EXPECT_EQ(circle.GetEndPoint(), (TPointD{3, 1}));

  for (const TCadObj* e : {static_cast<const TCadObj*>(quarter.get()), static_cast<const TCadObj*>(&circle)}) {
    TSegment s1, s2;
    const TArcRec r = RecordOf(*e);
    ASSERT_EQ(e->NormalFrom({20, 20}, s1, s2), 2);
    EXPECT_NEAR(Distance(s1.P2, r.Center), std::fabs(r.Radius), 1e-12);
    EXPECT_NEAR(Distance(s2.P2, r.Center), std::fabs(r.Radius), 1e-12);
    EXPECT_LT(Distance(s1.P1, s1.P2), Distance(s2.P1, s2.P2));  // the near foot first
  }
}

TEST_F(Curves, IntersectAndSplitArcs) {
  // A line that misses the arc but cuts its circle: two markers, no cut.
  const auto upper = ArcOf(kO, 10, 0, Pi);
  const TCadLine below({-20, -5}, {20, -5});
  TMOptions markers;
  TPointD first;
  ASSERT_TRUE(upper->Intersect(below, markers, first));
  EXPECT_EQ(markers.Count(), 2);
  TExList<TCadObj> pieces;
  EXPECT_EQ(upper->SplitBy(below, pieces), 1);
  EXPECT_TRUE(IsArc(*pieces.First(), {kO, 10, 0, Pi}));

  const double q = Pi / 4;
  const struct {
    const char* name;
    std::unique_ptr<TCadArc> arc;
    std::unique_ptr<TCadObj> by;
    std::vector<ArcShape> pieces;
  } cases[] = {
      {"ccw by a diagonal", ArcOf(kO, 10, 0, Pi / 2), Line(0, 0, 20, 20), {{kO, 10, 0, q}, {kO, 10, q, 2 * q}}},
      {"cw by a diagonal", ArcOf(kO, -10, Pi / 2, 0), Line(0, 0, 20, 20), {{kO, -10, 2 * q, q}, {kO, -10, q, 0}}},
      {"ccw through 0 by the x axis",
       ArcOf(kO, 10, 1.5 * Pi, 0.5 * Pi),
       Line(-20, 0, 20, 0),
       {{kO, 10, 1.5 * Pi, 0}, {kO, 10, 0, 0.5 * Pi}}},
      {"cw through 0 by the x axis",
       ArcOf(kO, -10, 0.5 * Pi, 1.5 * Pi),
       Line(-20, 0, 20, 0),
       {{kO, -10, 0.5 * Pi, 0}, {kO, -10, 0, -0.5 * Pi}}},
      {"by a circle, two cuts",
       ArcOf(kO, 10, 0, Pi),
       Circle(0, 10, 10),
       {{kO, 10, 0, Pi / 6}, {kO, 10, Pi / 6, 5 * Pi / 6}, {kO, 10, 5 * Pi / 6, Pi}}},
      {"cut at its end", ArcOf(kO, 10, 0, Pi / 2), Line(0, 0, 0, 20), {{kO, 10, 0, Pi / 2}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TExList<TCadObj> out;
    ASSERT_EQ(c.arc->SplitBy(*c.by, out), static_cast<int>(c.pieces.size()));
    for (int i = 0; i < out.Count(); ++i) EXPECT_TRUE(IsArc(*out.At(i), c.pieces[static_cast<std::size_t>(i)]));
  }
  EXPECT_EQ(upper->SplitBy(*upper, pieces), 0);
}

TEST_F(Curves, TrimPiecesOfArcsAndCircles) {
  const auto arc = ArcOf(kO, 10, 0, Pi);  // (10, 0) → (−10, 0) over the top
  const double a1 = Pi / 3, a2 = 2 * Pi / 3;
  // The line y = 10·sin 60° cuts at 60°, then (along the line from its P1 on
  // the right) at 120°.
  const TCadLine chord({20, 10 * kS3}, {-20, 10 * kS3});
  TExList<TCadObj> out;
  ASSERT_EQ(arc->TrimPieces(chord, {}, out), 6);
  const ArcShape expected[] = {{kO, 10, a1, Pi}, {kO, 10, a2, Pi}, {kO, 10, 0, a1},
                               {kO, 10, 0, a2},  {kO, 10, a1, a2}, {kO, 10, a2, a1}};
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(IsArc(*out.At(i), expected[i])) << i;

  out.Clear();
  ASSERT_EQ(arc->TrimPieces(TCadLine({-20, 10}, {20, 10}), {}, out), 1);  // tangent: one point
  EXPECT_TRUE(IsArc(*out.First(), {kO, 10, Pi / 2, Pi}));
  EXPECT_EQ(arc->TrimPieces(TCadLine({-20, 20}, {20, 20}), {}, out), -2);
  EXPECT_EQ(arc->TrimPieces(*arc, {}, out), -2);

  const TCadCirc circle(kO, 10);
  out.Clear();
  EXPECT_EQ(circle.TrimPieces(TCadLine({-20, 10}, {20, 10}), {}, out), -2);  // tangent
  ASSERT_EQ(circle.TrimPieces(TCadLine({0, -20}, {0, 20}), {}, out), 2);
  EXPECT_TRUE(IsArc(*out.At(0), {kO, 10, 1.5 * Pi, 0.5 * Pi}));  // both counter-clockwise
  EXPECT_TRUE(IsArc(*out.At(1), {kO, 10, 0.5 * Pi, 1.5 * Pi}));
}

TEST_F(Curves, ChamferCandidatesOfAnArc) {
  const auto arc = ArcOf(kO, 10, 0, Pi);
  const TCadLine l({0, -20}, {0, 20});  // meets the circle at (0, ±10)
  TExList<TCadObj> out;
  ASSERT_EQ(arc->ChamferLines(l, 10 * Pi / 2, out), 8);  // a quarter turn of arc length
  // At (0, −10): S+ a quarter turn on, O+ along the line.
  EXPECT_TRUE(Ends(*out.At(0), {10, 0}, {0, -10 + 10 * Pi / 2}, 1e-9));
  TSegment seg;
  for (const TCadObj* e : out) EXPECT_TRUE(e->GetLineData(seg));
  EXPECT_EQ(arc->ChamferLines(TCadLine({20, -20}, {20, 20}), 1, out), -4);
}

TEST_F(Curves, BreakAtKeepsTheCurve) {
  TCadGroup layer(nullptr, 1, "L");
  auto* arc = static_cast<TCadArc*>(layer.InsertMember(ArcOf(kO, 10, 0, Pi)));
  EXPECT_EQ(arc->BreakAt({10, 0.000001}), nullptr);
  std::unique_ptr<TCadObj> rest = arc->BreakAt({0, 11});  // projected onto the arc
  ASSERT_TRUE(rest);
  EXPECT_TRUE(IsArc(*arc, {kO, 10, 0, Pi / 2}));
  EXPECT_TRUE(IsArc(*rest, {kO, 10, Pi / 2, Pi}));
  EXPECT_EQ(rest->Owner(), &layer);
  auto cw = ArcOf(kO, -10, Pi, 0);
  rest = cw->BreakAt({0, 10});
  ASSERT_TRUE(rest);
  EXPECT_TRUE(IsArc(*cw, {kO, -10, Pi, Pi / 2}));
  EXPECT_TRUE(IsArc(*rest, {kO, -10, Pi / 2, 0}));
}

TEST_F(Curves, OverlapOfConcentricCurvesIsACopy) {
  const double d = Pi / 180;
  const struct {
    const char* name;
    std::unique_ptr<TCadObj> mine, other;
    bool some;
    ArcShape common;
  } cases[] = {
      {"partly", ArcOf(kO, 10, 0, 90 * d), ArcOf(kO, 10, 45 * d, 135 * d), true, {kO, 10, 45 * d, 90 * d}},
      {"partly, other first", ArcOf(kO, 10, 45 * d, 135 * d), ArcOf(kO, 10, 0, 90 * d), true, {kO, 10, 45 * d, 90 * d}},
      {"contained", ArcOf(kO, 10, 0, 90 * d), ArcOf(kO, 10, 20 * d, 40 * d), true, {kO, 10, 20 * d, 40 * d}},
      {"containing", ArcOf(kO, 10, 20 * d, 40 * d), ArcOf(kO, 10, 0, 90 * d), true, {kO, 10, 20 * d, 40 * d}},
      {"apart", ArcOf(kO, 10, 0, 40 * d), ArcOf(kO, 10, 90 * d, 135 * d), false, {}},
      {"end to end", ArcOf(kO, 10, 0, 40 * d), ArcOf(kO, 10, 40 * d, 135 * d), false, {}},
      {"other centre", ArcOf(kO, 10, 0, 90 * d), ArcOf({1, 0}, 10, 0, 90 * d), false, {}},
      {"arc on a circle", ArcOf(kO, 10, 0, 90 * d), Circle(0, 0, 10), true, {kO, 10, 0, 90 * d}},
      {"circle and arc", Circle(0, 0, 10), ArcOf(kO, 10, 10 * d, 30 * d), true, {kO, 10, 10 * d, 30 * d}},
      {"circle and smaller arc", Circle(0, 0, 10), ArcOf(kO, 9, 10 * d, 30 * d), false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TCadObj> common = c.mine->Overlap(*c.other);
    ASSERT_EQ(common != nullptr, c.some);
    if (!common) continue;
    EXPECT_TRUE(IsArc(*common, c.common, 1e-9));
    EXPECT_NE(common.get(), c.other.get());
    EXPECT_EQ(common->Flags(), ofChainFwd);
    EXPECT_EQ(common->Owner(), nullptr);
  }
  std::unique_ptr<TCadObj> same = TCadCirc(kO, 10).Overlap(TCadCirc({0.000001, 0}, 10));
  ASSERT_TRUE(same);
  EXPECT_TRUE(dynamic_cast<TCadCirc*>(same.get()));
}

TEST_F(Curves, MeasuringAlongArcsAndCircles) {
  const auto quarter = ArcOf(kO, 10, 0, Pi / 2);
  const TPointD at30{10 * kS3, 5};
  // From the start for which ≥ 0 (as for lines), from the end for which < 0.
  EXPECT_NEAR(quarter->DistanceAlong(0, at30), 10 * Pi / 6, 1e-12);
  EXPECT_NEAR(quarter->DistanceAlong(1, at30), 10 * Pi / 6, 1e-12);
  EXPECT_NEAR(quarter->DistanceAlong(-1, at30), 10 * Pi / 3, 1e-12);
  const auto cw = ArcOf(kO, -10, Pi / 2, 0);
  EXPECT_NEAR(cw->DistanceAlong(0, at30), 10 * Pi / 3, 1e-12);
  EXPECT_NEAR(cw->DistanceAlong(-1, at30), 10 * Pi / 6, 1e-12);
  const TCadCirc circle(kO, 10);
  EXPECT_NEAR(circle.DistanceAlong(0, {0, -10}), 15 * Pi, 1e-12);
  EXPECT_NEAR(circle.DistanceAlong(-1, {0, -10}), 5 * Pi, 1e-12);

  EXPECT_NEAR(quarter->Length(), 5 * Pi, 1e-12);
  EXPECT_NEAR(circle.Length(), 20 * Pi, 1e-12);
  EXPECT_NEAR(quarter->DistanceTo({20, 0}), 10, 1e-12);
  EXPECT_NEAR(quarter->DistanceTo({0, -20}), std::hypot(10, 20), 1e-12);  // nearest end
  EXPECT_NEAR(circle.DistanceTo({0, 3}), 7, 1e-12);
  EXPECT_TRUE(quarter->IsOn({10 * kS2, 10 * kS2 + 1e-5}, Tol4));
  EXPECT_FALSE(quarter->IsOn({0, -10}, Tol4));

  TPointD p{-5, -5};
  quarter->ProjectPoint(p);  // off the arc: the nearer end
  EXPECT_TRUE(Near(p, {10, 0}) || Near(p, {0, 10}));
  p = {3, 3};
  quarter->ProjectPoint(p);
  EXPECT_TRUE(Near(p, {10 * kS2, 10 * kS2}));
  p = {0, -3};
  circle.ProjectPoint(p);
  EXPECT_TRUE(Near(p, {0, -10}));

  EXPECT_TRUE(quarter->SameAs(*ArcOf(kO, 10, 0, Pi / 2)));
  EXPECT_FALSE(quarter->SameAs(*ArcOf(kO, 10, 0, Pi / 3)));
  EXPECT_TRUE(circle.SameAs(TCadCirc({0.000001, 0}, 10)));
  EXPECT_FALSE(circle.SameAs(TCadCirc(kO, 10.0001)));
}

TEST_F(Curves, ExtendToMovesTheEndOnTheCornerSide) {
  // This arc runs counter-clockwise from −30° to 60° on the circle of radius
  // 10; the blend arc about (12, 0) touches it from outside at (10, 0),
  // starting or ending there, and lies below or above that point. The part
  // of this arc on the other side of the contact point stays.
  const double d = Pi / 180;
  const struct {
    const char* name;
    double blendRadius, blendFrom, blendTo;
    ArcShape after;
  } cases[] = {
      {"blend leaves downwards", 2, Pi, 1.5 * Pi, {kO, 10, 0, 60 * d}},
      {"blend leaves upwards", -2, Pi, 0.5 * Pi, {kO, 10, -30 * d, 0}},
      {"blend above, ending there", 2, 0.5 * Pi, Pi, {kO, 10, -30 * d, 0}},
      {"blend below, ending there", -2, 1.5 * Pi, Pi, {kO, 10, 0, 60 * d}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto arc = ArcOf(kO, 10, -30 * d, 60 * d);
    arc->ExtendTo(*ArcOf({12, 0}, c.blendRadius, c.blendFrom, c.blendTo));
    EXPECT_TRUE(IsArc(*arc, c.after, 1e-7));
  }
  // Nothing without exactly one contact point.
  auto arc = ArcOf(kO, 10, -30 * d, 60 * d);
  arc->ExtendTo(*ArcOf({10, 0}, 2, 0, Pi));
  EXPECT_TRUE(IsArc(*arc, {kO, 10, -30 * d, 60 * d}));
  TCadCirc circle(kO, 10);
  circle.ExtendTo(*ArcOf({12, 0}, 2, Pi, 1.5 * Pi));
  EXPECT_EQ(circle.Radius(), 10);
}

TEST_F(Curves, TrimAtCutsTheArcBackToTheChamfer) {
  // The arc meets the line x = 5 at 60°; the chamfer runs from the arc at
  // 45° to the line, so the part beyond 45° on the corner's side goes.
  const double d = Pi / 180;
  const TCadLine other({5, 0}, {5, 20});
  const TCadLine chamfer({10 * kS2, 10 * kS2}, {5, 6});
  auto arc = ArcOf(kO, 10, 0, 90 * d);
  arc->TrimAt(chamfer, other);
  EXPECT_TRUE(IsArc(*arc, {kO, 10, 0, 45 * d}));
  // The same arc the other way round keeps its start at 45°.
  auto cw = ArcOf(kO, -10, 90 * d, 0);
  cw->TrimAt(chamfer, other);
  EXPECT_TRUE(IsArc(*cw, {kO, -10, 45 * d, 0}));
  // Corner below the chamfer: the start side goes.
  auto low = ArcOf(kO, 10, -30 * d, 90 * d);
  low->TrimAt(TCadLine({10 * kS2, 10 * kS2}, {12, 0}), TCadLine({0, 0}, {20, 0}));
  EXPECT_TRUE(IsArc(*low, {kO, 10, 45 * d, 90 * d}));
}

// ---- transformations of every entity class -----------------------------------

struct TransformCase {
  const char* name;
  std::function<void(TCadObj&)> op;
  std::function<TPointD(TPointD)> map;  // what the operation does to a point
  double factor;                        // what it does to lengths
};

std::vector<TransformCase> TransformCases() {
  const double c = std::cos(Pi / 3), s = std::sin(Pi / 3);
  return {
      {"Move", [](TCadObj& e) { e.Move(3, -2); }, [](TPointD p) { return TPointD{p.x + 3, p.y - 2}; }, 1},
      {"Rotate",
       [](TCadObj& e) { e.Rotate(1, 1, Pi / 3); },
       [=](TPointD p) {
         return TPointD{1 + (p.x - 1) * c - (p.y - 1) * s, 1 + (p.x - 1) * s + (p.y - 1) * c};
       },
       1},
      {"Scale", [](TCadObj& e) { e.Scale(1, 1, 2); }, [](TPointD p) { return TPointD{1 + 2 * (p.x - 1), 1 + 2 * (p.y - 1)}; }, 2},
      {"Scale negative",
       [](TCadObj& e) { e.Scale(1, 1, -0.5); },
       [](TPointD p) { return TPointD{1 - 0.5 * (p.x - 1), 1 - 0.5 * (p.y - 1)}; },
       0.5},
      {"Mirror diagonal", [](TCadObj& e) { e.Mirror(0, 0, 1, 1); }, [](TPointD p) { return TPointD{p.y, p.x}; }, 1},
      {"Mirror horizontal", [](TCadObj& e) { e.Mirror(0, 5, 1, 5); }, [](TPointD p) { return TPointD{p.x, 10 - p.y}; }, 1},
      {"Transform", [](TCadObj& e) { e.Transform(1, 2, 3); }, [](TPointD p) { return TPointD{3 * p.x + 1, 3 * p.y + 2}; }, 3},
      {"Transform negative",
       [](TCadObj& e) { e.Transform(1, 2, -2); },
       [](TPointD p) { return TPointD{-2 * p.x + 1, -2 * p.y + 2}; },
       2},
      {"ScaleXY equal",
       [](TCadObj& e) { EXPECT_EQ(e.ScaleXY(nullptr, nullptr, 1, -1, 2, 2), 0); },
       [](TPointD p) { return TPointD{2 * p.x + 1, 2 * p.y - 1}; },
       2},
      {"ScaleXY mirrored",
       [](TCadObj& e) { EXPECT_EQ(e.ScaleXY(nullptr, nullptr, 0, 0, 2, -2), 0); },
       [](TPointD p) { return TPointD{2 * p.x, -2 * p.y}; },
       2},
  };
}

TEST_F(Curves, EveryEntityTransforms) {
  for (const TransformCase& t : TransformCases()) {
    SCOPED_TRACE(t.name);
    TCadLine line({1, 2}, {4, -3});
    t.op(line);
    EXPECT_TRUE(Ends(line, t.map({1, 2}), t.map({4, -3}), 1e-12));

    // An arc keeps passing through the images of its ends and its middle,
    // whichever way it turns afterwards.
    for (double r : {3.0, -3.0}) {
      auto arc = ArcOf({2, 1}, r, 0.3, 2.0);
      TPointD mid;
      arc->SnapMid(mid);
      const TPointD p1 = arc->P1(), p2 = arc->P2();
      t.op(*arc);
      EXPECT_TRUE(Ends(*arc, t.map(p1), t.map(p2), 1e-12));
      TPointD newMid;
      arc->SnapMid(newMid);
      EXPECT_TRUE(Near(newMid, t.map(mid), 1e-12));
      EXPECT_NEAR(std::fabs(RecordOf(*arc).Radius), 3 * t.factor, 1e-12);
    }

    TCadCirc circle({2, 1}, 3);
    t.op(circle);
    EXPECT_TRUE(Near(circle.Center(), t.map({2, 1}), 1e-12));
    EXPECT_NEAR(circle.Radius(), 3 * t.factor, 1e-12);
  }
}

TEST_F(Curves, UnequalScalingOfCurvesIsNotAvailableYet) {
  TCadLine line({1, 1}, {2, 3});
  EXPECT_EQ(line.ScaleXY(nullptr, nullptr, 1, 0, 2, -1), 0);  // a line stays a line
  EXPECT_TRUE(Ends(line, {3, -1}, {5, -3}));

  auto arc = ArcOf(kO, 1, 0, 1);
  TCadCirc circle(kO, 1);
  const TPointD a1 = arc->P1();
  EXPECT_LT(arc->ScaleXY(nullptr, nullptr, 0, 0, 2, 3), 0);
  EXPECT_LT(circle.ScaleXY(nullptr, nullptr, 0, 0, 2, 3), 0);
  EXPECT_EQ(arc->P1(), a1);  // left as it was
  EXPECT_EQ(circle.Radius(), 1);

}

// ---- drawing by chords ---------------------------------------------------------

// The largest distance between the chords and the curve.
double MaxDeviation(const std::vector<RecordingCanvas::Record>& records, TPointD c, double r) {
  double worst = 0;
  for (const auto& rec : records) {
    if (rec.op != RecordingCanvas::Op::Line && rec.op != RecordingCanvas::Op::AnimatedLine) continue;
    const TPointD m{(rec.p1.x + rec.p2.x) / 2, (rec.p1.y + rec.p2.y) / 2};
    worst = std::max({worst, std::fabs(Distance(m, c) - r), std::fabs(Distance(rec.p1, c) - r)});
  }
  return worst;
}

TEST_F(Curves, ChordsFollowThePixelSize) {
  const struct {
    const char* name;
    double radius, sweep, pixel;
    int minimum;
    int expected;
  } cases[] = {
      {"quarter, coarse: the minimum", 10, Pi / 2, 1, 6, 6},
      {"circle, coarse: the minimum", 10, TwoPi, 1, 12, 12},
      {"quarter at 0.1", 10, Pi / 2, 0.1, 6, 8},
      {"quarter at 0.001", 10, Pi / 2, 0.001, 6, 79},
      {"huge circle: capped", 1e9, TwoPi, 1e-6, 12, chords::kMaxChords},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int n = chords::ChordCount(c.radius, c.sweep, c.pixel, c.minimum);
    EXPECT_EQ(n, c.expected);
    // Within half a pixel, and the smallest such count above the minimum.
    if (n > c.minimum && n < chords::kMaxChords) {
      EXPECT_LE(c.radius * (1 - std::cos(c.sweep / (2 * n))), 0.5 * c.pixel * (1 + 1e-9));
      EXPECT_GT(c.radius * (1 - std::cos(c.sweep / (2 * (n - 1)))), 0.5 * c.pixel);
    }
  }
  // A curve smaller than a pixel gets no more than its minimum.
  EXPECT_EQ(chords::ChordCount(0.2, TwoPi, 1, 12), 12);
}

TEST_F(Curves, ArcsAndCirclesDrawWithinHalfAPixel) {
  RecordingCanvas canvas;
  canvas.pixelSize = 0.001;
  auto arc = ArcOf({1, 1}, 10, 0.2, 2.5);
  arc->Draw(canvas, 0, 1);
  const int n = canvas.LineCount();
  EXPECT_GT(n, 6);
  EXPECT_EQ(canvas.fillEdges, n);
  EXPECT_LE(MaxDeviation(canvas.records, {1, 1}, 10), 0.5 * canvas.pixelSize);
  // Neighbours meet the arc exactly: the chords start and end at its points.
  EXPECT_EQ(canvas.records.front().p1, arc->P1());
  EXPECT_EQ(canvas.records[canvas.records.size() - 2].op, RecordingCanvas::Op::Line);
  EXPECT_EQ(canvas.records[canvas.records.size() - 2].p2, arc->P2());

  // Zoomed far in, only the visible part is cut into chords.
  RecordingCanvas zoomed;
  zoomed.pixelSize = 1e-6;
  const double w[4] = {9.9, -0.1, 10.1, 0.1};
  std::copy(std::begin(w), std::end(w), zoomed.window);
  TCadCirc circle(kO, 10);
  circle.Draw(zoomed, -1, 0);
  EXPECT_GT(zoomed.LineCount(), 0);
  EXPECT_LT(zoomed.LineCount(), 20000);
  EXPECT_LE(MaxDeviation(zoomed.records, kO, 10), 0.5 * zoomed.pixelSize);
  for (const auto& rec : zoomed.records) {
    EXPECT_TRUE(rec.toScreen);
    EXPECT_GT(rec.p1.x, 9.8);
  }

  RecordingCanvas animated;
  animated.pixelSize = 0.01;
  const int drawn = circle.DrawAnimated(animated, 4);
  EXPECT_EQ(drawn, static_cast<int>(animated.records.size()));
  EXPECT_EQ(animated.records.front().phase, 4);
}

TEST_F(Curves, DirectionArrowheads) {
  RecordingCanvas canvas;
  canvas.pixelSize = 0.1;
  const struct {
    const char* name;
    std::unique_ptr<TCadObj> e;
    TPointD tip;
    double back;  // the direction pointing back along the outline at the tip
  } cases[] = {
      {"line", Line(0, 0, 10, 0), {10, 0}, Pi},
      {"ccw arc", ArcOf(kO, 10, 0, Pi / 2), {0, 10}, 0},
      {"cw arc", ArcOf(kO, -10, Pi, Pi / 2), {0, 10}, Pi},
      {"circle", Circle(0, 0, 10), {10, 0}, -Pi / 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    canvas.records.clear();
    c.e->DrawDirection(canvas, 0);
    EXPECT_TRUE(canvas.records.empty());  // without ofShowDir nothing
    c.e->SetFlag(ofShowDir, true);
    c.e->DrawDirection(canvas, -1);
    ASSERT_EQ(canvas.LineCount(), 2);
    for (int i = 0; i < 2; ++i) {
      const auto& r = canvas.records[static_cast<std::size_t>(i)];
      EXPECT_TRUE(Near(r.p1, c.tip, 1e-12));
      EXPECT_NEAR(Distance(r.p1, r.p2), 0.7, 1e-12);
      EXPECT_NEAR(std::fabs(AngleDiff(Angle(r.p1, r.p2), c.back)), Pi / 8, 1e-9);
      EXPECT_TRUE(r.toScreen);
    }
  }
}

TEST_F(Curves, FrameTestsFindLargeCurvesWithSmallBands) {
  // A circle of radius 1000 seen at 0.01 units per pixel; a 7×7-pixel band
  // on the curve halfway between two 5° samples (where 72 chords run almost
  // a unit inside the circle).
  RecordingCanvas frame;
  frame.pixelSize = 0.01;
  const double a = 2.5 * Pi / 180, h = 0.035;
  auto bandAt = [&](double radius) {
    const TPointD p{radius * std::cos(a), radius * std::sin(a)};
    const double b[4] = {p.x - h, p.y - h, p.x + h, p.y + h};
    std::copy(std::begin(b), std::end(b), frame.band);
  };
  const TCadCirc circle(kO, 1000);
  const auto arc = ArcOf(kO, 1000, 0, 10 * Pi / 180);
  bandAt(1000);
  EXPECT_TRUE(circle.InFrame(frame, false));
  EXPECT_TRUE(arc->InFrame(frame, false));
  EXPECT_FALSE(circle.InFrame(frame, true));
  bandAt(1000.1);  // ten pixels outside
  EXPECT_FALSE(circle.InFrame(frame, false));
  EXPECT_FALSE(arc->InFrame(frame, false));

  // Entirely: the whole curve in the band.
  const double all[4] = {-1001, -1001, 1001, 1001};
  std::copy(std::begin(all), std::end(all), frame.band);
  EXPECT_TRUE(circle.InFrame(frame, true));
  EXPECT_TRUE(arc->InFrame(frame, true));
  const double most[4] = {-1001, -1001, 1001, 999};
  std::copy(std::begin(most), std::end(most), frame.band);
  EXPECT_FALSE(circle.InFrame(frame, true));
  EXPECT_TRUE(circle.InFrame(frame, false));
  EXPECT_TRUE(arc->InFrame(frame, true));  // its top is at 1000·sin 10°
  EXPECT_TRUE(TCadLine({0, 0}, {10, 0}).InFrame(frame, true));
}

}  // namespace
}  // namespace qm::test
