// Lines: intersections, splitting, trimming, chamfering, joining after a
// blend or chamfer, measuring and the degenerate (zero-length) line.
#include "model_fixture.h"

namespace qm::test {
namespace {

using LineOps = ModelTest;

std::vector<TSegment> SegmentsOf(const TExList<TCadObj>& list) {
  std::vector<TSegment> out;
  for (const TCadObj* e : list) out.push_back({e->P1(), e->P2()});
  return out;
}

::testing::AssertionResult SameSegments(const TExList<TCadObj>& list, const std::vector<TSegment>& expected,
                                        double tol = 1e-9) {
  const std::vector<TSegment> got = SegmentsOf(list);
  if (got.size() != expected.size())
    return ::testing::AssertionFailure() << got.size() << " entities, expected " << expected.size();
  for (std::size_t i = 0; i < got.size(); ++i) {
    const ::testing::AssertionResult r = Ends(*list.At(static_cast<int>(i)), expected[i].P1, expected[i].P2, tol);
    if (!r) return ::testing::AssertionFailure() << "entity " << i << ": " << r.message();
  }
  return ::testing::AssertionSuccess();
}

TEST_F(LineOps, SnapIntersectAndSplit) {
  TCadLine l({0, 0}, {10, 0});
  TPointD p{5, 3};
  l.SnapEnd(p);
  EXPECT_EQ(p, (TPointD{10, 0}));  // equal distances: P2
  p = {1, 1};
  l.SnapEnd(p);
  EXPECT_EQ(p, (TPointD{0, 0}));

  // The carrier intersection counts although it lies on neither segment;
  // splitting drops it, so the line comes back whole.
  TCadLine shortLine({0, 0}, {1, 0});
  TCadLine cross({5, -1}, {5, 1});
  TMOptions markers;
  TPointD first;
  ASSERT_TRUE(shortLine.Intersect(cross, markers, first));
  ASSERT_EQ(markers.Count(), 1);
  EXPECT_TRUE(Near(first, {5, 0}));
  TExList<TCadObj> pieces;
  EXPECT_EQ(shortLine.SplitBy(cross, pieces), 1);
  EXPECT_TRUE(SameSegments(pieces, {{{0, 0}, {1, 0}}}));

  // Parallel lines and the line itself give nothing.
  pieces.Clear();
  EXPECT_FALSE(l.Intersect(TCadLine({0, 1}, {10, 1}), markers, first));
  EXPECT_EQ(l.SplitBy(TCadLine({0, 1}, {10, 1}), pieces), 0);
  EXPECT_EQ(l.SplitBy(l, pieces), 0);

  // A circle cuts the line into three, in order from P1; the pieces take
  // the line's Layer, Owner and Flags.
  TCadGroup layer(nullptr, 1, "L");
  auto* owned = static_cast<TCadLine*>(layer.InsertMember(Line(0, 0, 10, 0)));
  owned->SetLayer(4);
  owned->SetFlag(ofMarked, true);
  const TCadCirc circle({5, 0}, 2);
  ASSERT_TRUE(owned->Intersect(circle, markers, first));
  EXPECT_TRUE(Near(first, {3, 0}));  // nearer P1 first
  EXPECT_EQ(owned->SplitBy(circle, pieces), 3);
  EXPECT_TRUE(SameSegments(pieces, {{{0, 0}, {3, 0}}, {{3, 0}, {7, 0}}, {{7, 0}, {10, 0}}}));
  for (const TCadObj* e : pieces) {
    EXPECT_EQ(e->Owner(), &layer);
    EXPECT_EQ(e->Layer(), 4);
    EXPECT_TRUE(e->IsMarked());
  }
}

TEST_F(LineOps, CutsKeepFullPrecisionAtLargeCoordinates) {
  // Single-precision cut points lie up to 5e-4 off this diagonal, more than
  // the 1e-4 a cut may be off the line; the full-precision ones are exact.
  const double b = 10000, s = std::sqrt(2.0);
  TCadLine l({b, b}, {b + 10, b + 10});
  const TCadCirc circle({b + 5, b + 5}, 2);
  TExList<TCadObj> pieces;
  ASSERT_EQ(l.SplitBy(circle, pieces), 3);
  EXPECT_TRUE(SameSegments(pieces, {{{b, b}, {b + 5 - s, b + 5 - s}},
                                    {{b + 5 - s, b + 5 - s}, {b + 5 + s, b + 5 + s}},
                                    {{b + 5 + s, b + 5 + s}, {b + 10, b + 10}}},
                           1e-8));
  TMOptions markers;
  TPointD first;
  ASSERT_TRUE(l.Intersect(circle, markers, first));
  EXPECT_EQ(markers.First()->x, static_cast<float>(b + 5 - s));  // shown in single precision
  EXPECT_EQ(markers.First()->point, first);                      // kept in full

  TExList<TCadObj> candidates;
  ASSERT_EQ(l.TrimPieces(circle, {}, candidates), 5);
  EXPECT_TRUE(Ends(*candidates.At(2), {b + 5 - s, b + 5 - s}, {b + 5 + s, b + 5 + s}, 1e-8));
}

TEST_F(LineOps, TrimPiecesAgainstLinesAndCircles) {
  const TCadLine l({0, 0}, {10, 0});
  const struct {
    const char* name;
    std::unique_ptr<TCadObj> other;
    int result;
    std::vector<TSegment> pieces;
  } cases[] = {
      {"line across", Line(4, -1, 4, 1), 2, {{{4, 0}, {10, 0}}, {{4, 0}, {0, 0}}}},
      {"line beyond the end", Line(12, -1, 12, 1), 1, {{{12, 0}, {0, 0}}}},
      {"line beyond the start", Line(-2, -1, -2, 1), 1, {{{-2, 0}, {10, 0}}}},
      {"parallel line", Line(0, 1, 10, 1), -2, {}},
      {"circle, two points",
       Circle(5, 0, 2),
       5,
       {{{0, 0}, {3, 0}}, {{0, 0}, {7, 0}}, {{3, 0}, {7, 0}}, {{10, 0}, {3, 0}}, {{10, 0}, {7, 0}}}},
      {"tangent circle", Circle(4, 1, 1), 2, {{{4, 0}, {10, 0}}, {{4, 0}, {0, 0}}}},
      {"circle missed", Circle(5, 5, 1), -2, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TExList<TCadObj> out;
    EXPECT_EQ(l.TrimPieces(*c.other, {}, out), c.result);
    EXPECT_TRUE(SameSegments(out, c.pieces));
  }
  TExList<TCadObj> out;
  EXPECT_EQ(l.TrimPieces(l, {}, out), -2);
}

TEST_F(LineOps, ChamferCandidatesAreTheRhombusAroundEachCorner) {
  const TCadLine l({0, 0}, {10, 0});
  TExList<TCadObj> out;
  ASSERT_EQ(l.ChamferLines(TCadLine({5, -5}, {5, 5}), 1, out), 4);
  // S± along this line, O± along the other: S+→O+, O+→S−, S−→O−, O−→S+.
  EXPECT_TRUE(SameSegments(out, {{{6, 0}, {5, 1}}, {{5, 1}, {4, 0}}, {{4, 0}, {5, -1}}, {{5, -1}, {6, 0}}}, 1e-12));

  out.Clear();
  EXPECT_EQ(l.ChamferLines(TCadLine({0, 2}, {10, 2}), 1, out), 0);  // parallel: nothing
  EXPECT_EQ(l.ChamferLines(TCadCirc({5, 5}, 1), 1, out), -4);       // no intersection

  // With a circle: arc length d on the circle on either side of each point.
  // At (3, 0), d = π is a quarter turn on the circle of radius 2: O+ is at
  // angle π + π/2.
  ASSERT_EQ(l.ChamferLines(TCadCirc({5, 0}, 2), Pi, out), 8);
  EXPECT_TRUE(Ends(*out.At(0), {3 + Pi, 0}, {5, -2}, 1e-12));
  EXPECT_TRUE(Ends(*out.At(1), {5, -2}, {3 - Pi, 0}, 1e-12));
}

TEST_F(LineOps, ExtendToJoinsTheEndThatLeadsIntoTheBlend) {
  // The blend arc leaves or reaches the line at (0, 0) (shifted by `b`):
  // counter-clockwise about (0, 1) or clockwise about (0, −1), both with
  // the tangent +x there. The line overshoots the contact point.
  // Far from the origin the contact point is not representable in single
  // precision; it is compared in full.
  for (double b : {0.0, 12345.678, 1e5}) {
    const struct {
      const char* name;
      TPointD center;
      double radius, from, to;  // the blend arc's record
      TPointD p1, p2;           // the line before
      TPointD e1, e2;           // after
    } cases[] = {
        {"runs into a ccw arc's start", {0, 1}, 1, 1.5 * Pi, 2 * Pi, {-10, 0}, {3, 0}, {-10, 0}, {0, 0}},
        {"reversed line, ccw start", {0, 1}, 1, 1.5 * Pi, 2 * Pi, {3, 0}, {-10, 0}, {0, 0}, {-10, 0}},
        {"runs into a cw arc's start", {0, -1}, -1, 0.5 * Pi, 0, {-10, 0}, {3, 0}, {-10, 0}, {0, 0}},
        {"reversed line, cw start", {0, -1}, -1, 0.5 * Pi, 0, {3, 0}, {-10, 0}, {0, 0}, {-10, 0}},
        {"continues a ccw arc's end", {0, 1}, 1, Pi, 1.5 * Pi, {-2, 0}, {10, 0}, {0, 0}, {10, 0}},
        {"continues a cw arc's end", {0, -1}, -1, Pi, 0.5 * Pi, {-2, 0}, {10, 0}, {0, 0}, {10, 0}},
        {"reversed line, cw end", {0, -1}, -1, Pi, 0.5 * Pi, {10, 0}, {-2, 0}, {10, 0}, {0, 0}},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      SCOPED_TRACE(b);
      const auto blend = ArcOf({c.center.x + b, c.center.y + b}, c.radius, c.from, c.to);
      TCadLine l({c.p1.x + b, c.p1.y + b}, {c.p2.x + b, c.p2.y + b});
      l.ExtendTo(*blend);
      EXPECT_TRUE(Ends(l, {c.e1.x + b, c.e1.y + b}, {c.e2.x + b, c.e2.y + b}, 1e-9));
    }
  }
  // Two intersections: nothing happens.
  TCadLine l({-10, 0.5}, {10, 0.5});
  l.ExtendTo(*ArcOf({0, 1}, 1, 1.5 * Pi, 2 * Pi));
  EXPECT_TRUE(Ends(l, {-10, 0.5}, {10, 0.5}));
}

TEST_F(LineOps, TrimAtCutsBackToTheChamfer) {
  const TCadLine other({10, 0}, {10, 10});  // the corner is at (10, 0)
  const TCadLine chamfer({8, 0}, {10, 2});
  const struct {
    const char* name;
    TPointD p1, p2, e1, e2;
  } cases[] = {
      {"corner at the end", {0, 0}, {10, 0}, {0, 0}, {8, 0}},
      {"corner at the start", {10, 0}, {0, 0}, {8, 0}, {0, 0}},
      {"chamfer beyond the line", {0, 0}, {6, 0}, {0, 0}, {8, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TCadLine l(c.p1, c.p2);
    l.TrimAt(chamfer, other);
    EXPECT_TRUE(Ends(l, c.e1, c.e2));
  }
}

TEST_F(LineOps, OverlapOfCollinearLinesIsACopy) {
  const TCadLine l(3, nullptr, ofVisible | ofMarked, {0, 0}, {10, 0});
  const struct {
    const char* name;
    TPointD p1, p2;
    bool some;
    TPointD e1, e2;
  } cases[] = {
      {"overlapping", {5, 0}, {15, 0}, true, {5, 0}, {10, 0}},
      {"overlapping, reversed", {15, 0}, {5, 0}, true, {5, 0}, {10, 0}},
      {"inside", {2, 0}, {8, 0}, true, {2, 0}, {8, 0}},
      {"around", {-5, 0}, {20, 0}, true, {0, 0}, {10, 0}},
      {"around, sharing the start", {0, 0}, {20, 0}, true, {0, 0}, {10, 0}},
      {"around, sharing the end", {-5, 0}, {10, 0}, true, {10, 0}, {0, 0}},
      {"parallel", {0, 1}, {10, 1}, false, {}, {}},
      {"touching end to end", {10, 0}, {20, 0}, false, {}, {}},
      {"crossing", {5, -5}, {5, 5}, false, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TCadLine other(c.p1, c.p2);
    std::unique_ptr<TCadObj> common = l.Overlap(other);
    ASSERT_EQ(common != nullptr, c.some);
    if (!common) continue;
    EXPECT_TRUE(Ends(*common, c.e1, c.e2) || Ends(*common, c.e2, c.e1));
    EXPECT_NE(common.get(), &other);
    EXPECT_EQ(common->Owner(), nullptr);
    EXPECT_EQ(common->Flags(), ofChainFwd);
    EXPECT_EQ(common->Layer(), 3);
  }
  // The result list owns what it holds: freeing it leaves `other` alone.
  TCadLine other({2, 0}, {8, 0});
  {
    TExList<TCadObj> results;
    results.Add(l.Overlap(other));
  }
  EXPECT_TRUE(Ends(other, {2, 0}, {8, 0}));
  EXPECT_EQ(l.Overlap(TCadCirc({0, 0}, 1)), nullptr);
}

TEST_F(LineOps, PointAtDistanceClampsToTheRightEnd) {
  const struct {
    const char* name;
    TPointD p2;
    bool clamp;
    int which;
    double d;
    TPointD point;
    double result;
  } cases[] = {
      {"from P1", {10, 0}, true, 1, 4, {4, 0}, 4},
      {"from P1, beyond", {10, 0}, true, 1, 12, {10, 0}, 10},
      {"from P1, before", {10, 0}, true, 0, -2, {0, 0}, 0},
      {"from P2", {10, 0}, true, -1, 3, {7, 0}, 3},
      {"from P2, beyond", {10, 0}, true, -1, 12, {0, 0}, 10},
      {"from P2, before", {10, 0}, true, -1, -1, {10, 0}, 0},
      {"unclamped beyond", {10, 0}, false, 1, 12, {12, 0}, 12},
      {"unclamped before P2", {10, 0}, false, -1, -2, {12, 0}, -2},
      {"zero length from P1", {0, 0}, true, 1, 5, {0, 0}, 0},
      {"zero length from P2", {0, 0}, false, -1, 5, {0, 0}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TCadLine l({0, 0}, c.p2);
    TPointD p{-99, -99};
    EXPECT_DOUBLE_EQ(l.PointAtDistance(c.clamp, c.which, c.d, p), c.result);
    EXPECT_TRUE(Near(p, c.point));
  }
}

TEST_F(LineOps, ZeroLengthLineMeasuresToItsPoint) {
  const TCadLine dot({3, 4}, {3, 4});
  EXPECT_DOUBLE_EQ(dot.DistanceTo({0, 0}), 5);
  EXPECT_DOUBLE_EQ(dot.DistanceTo({3, 4}), 0);
  TSegment s1{{1, 1}, {1, 1}}, s2 = s1;
  EXPECT_EQ(dot.NormalFrom({0, 0}, s1, s2), 0);  // no foot
  EXPECT_EQ(s1, TSegment{});
  TPointD p{7, 7};
  dot.ProjectPoint(p);
  EXPECT_EQ(p, (TPointD{3, 4}));
  EXPECT_EQ(dot.Overlap(TCadLine({3, 4}, {3, 4})), nullptr);
  TMOptions markers;
  TPointD first;
  EXPECT_FALSE(dot.Intersect(TCadCirc({3, 4}, 1), markers, first));

  // A real line: one perpendicular, its foot on the carrier.
  const TCadLine l({0, 0}, {10, 0});
  EXPECT_EQ(l.NormalFrom({13, 4}, s1, s2), 1);
  EXPECT_TRUE(Near(s1.P1, {13, 4}));
  EXPECT_TRUE(Near(s1.P2, {13, 0}));
  EXPECT_EQ(s2, TSegment{});
  p = {13, 4};
  l.ProjectPoint(p);
  EXPECT_TRUE(Near(p, {13, 0}));
  EXPECT_DOUBLE_EQ(l.DistanceTo({13, 4}), 5);  // to the segment
}

TEST_F(LineOps, BreakAtAndDistanceAlong) {
  TCadGroup layer(nullptr, 1, "L");
  auto* l = static_cast<TCadLine*>(layer.InsertMember(Line(0, 0, 10, 0)));
  EXPECT_EQ(l->BreakAt({0.000001, 0}), nullptr);  // at P1 within Tol5
  EXPECT_EQ(l->BreakAt({10, 0}), nullptr);
  EXPECT_TRUE(Ends(*l, {0, 0}, {10, 0}));
  std::unique_ptr<TCadObj> rest = l->BreakAt({4, 0});
  ASSERT_TRUE(rest);
  EXPECT_TRUE(Ends(*l, {0, 0}, {4, 0}));
  EXPECT_TRUE(Ends(*rest, {4, 0}, {10, 0}));
  EXPECT_EQ(rest->Owner(), &layer);
  EXPECT_NE(rest->Id(), l->Id());

  // From the start for which ≥ 0, from the end for which < 0.
  const TCadLine m({0, 0}, {10, 0});
  EXPECT_DOUBLE_EQ(m.DistanceAlong(0, {3, 0}), 3);
  EXPECT_DOUBLE_EQ(m.DistanceAlong(1, {3, 0}), 3);
  EXPECT_DOUBLE_EQ(m.DistanceAlong(-1, {3, 0}), 7);
  EXPECT_TRUE(m.IsOn({3, 0.00001}, Tol4));
  EXPECT_FALSE(m.IsOn({3, 0.1}, Tol4));
  EXPECT_TRUE(m.SameAs(TCadLine({0, 0.000001}, {10, 0})));
  EXPECT_FALSE(m.SameAs(TCadLine({0, 0.00001}, {10, 0})));
  EXPECT_FALSE(m.SameAs(TCadLine(2, nullptr, ofVisible, {0, 0}, {10, 0})));  // other layer
}

}  // namespace
}  // namespace qm::test
