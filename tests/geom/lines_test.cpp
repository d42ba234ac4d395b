#include "geom_fixture.h"

namespace qm::test {
namespace {

using Lines = GeomTest;

TEST_F(Lines, LineEquationIsNormalisedWithPositiveDistanceOnTheLeft) {
  const Result<TLineEq> e = LineEquation({1, 1}, {4, 5});
  ASSERT_TRUE(e.ok());
  EXPECT_DOUBLE_EQ(std::hypot(e.value.a, e.value.b), 1.0);
  EXPECT_NEAR(e.value.a * 1 + e.value.b * 1 + e.value.c, 0, 1e-12);
  EXPECT_NEAR(e.value.a * 4 + e.value.b * 5 + e.value.c, 0, 1e-12);
  EXPECT_NEAR(e.value.a * -3 + e.value.b * 4 + e.value.c, 5, 1e-12);  // 5 to the left of (1,1) → (4,5)

  const Result<TLineParam> p = LineParam({1, 1}, {4, 5});
  ASSERT_TRUE(p.ok());
  EXPECT_DOUBLE_EQ(p.value.dx, 0.6);
  EXPECT_DOUBLE_EQ(p.value.dy, 0.8);

  EXPECT_EQ(LineEquation({1, 1}, {1, 1 + 5e-7}).status, GeomStatus::CoincidentPoints);
  EXPECT_EQ(LastStatus, GeomStatus::CoincidentPoints);
  EXPECT_EQ(LineParam({1, 1}, {1, 1}).status, GeomStatus::CoincidentPoints);
}

TEST_F(Lines, IntersectSegmentsClassifiesTheCarrierIntersection) {
  const struct {
    const char* name;
    TSegment s, t;
    std::int32_t status;
    TPointD point;
  } cases[] = {
      {"crossing", {{0, 0}, {2, 2}}, {{0, 2}, {2, 0}}, 0, {1, 1}},
      {"on an extension", {{0, 0}, {1, 0}}, {{2, -1}, {2, 1}}, GeomStatus::OnExtension, {2, 0}},
      {"parallel", {{0, 0}, {1, 0}}, {{0, 1}, {1, 1}}, GeomStatus::SegmentsParallel, {}},
      // Short segments are judged by angle, not by their tiny cross product.
      {"glyph chord 1e-3", {{0, 0}, {1e-3, 0}}, {{5e-4, -5e-4}, {5e-4, 5e-4}}, 0, {5e-4, 0}},
      {"1e-4 segments", {{0, 0}, {1e-4, 1e-4}}, {{0, 1e-4}, {1e-4, 0}}, 0, {5e-5, 5e-5}},
      // 1e-7 rad apart: parallel however long the segments are.
      {"long, nearly parallel", {{0, 0}, {1000, 0}}, {{0, 1}, {1000, 1 + 1e-4}}, GeomStatus::SegmentsParallel, {}},
      {"a point", {{1, 1}, {1, 1}}, {{0, 0}, {2, 2}}, GeomStatus::SegmentsParallel, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const SegmentIntersection r = IntersectSegments(c.s, c.t);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(LastStatus, c.status);
    if (c.status != GeomStatus::SegmentsParallel) {
      EXPECT_TRUE(Near(r.point, c.point, 1e-12));
    }
  }
  const SegmentIntersection r = IntersectSegments({{0, 0}, {4, 0}}, {{1, -1}, {1, 3}});
  EXPECT_DOUBLE_EQ(r.h, 0.25);
  EXPECT_DOUBLE_EQ(r.k, 0.25);
}

TEST_F(Lines, SegmentsCrossIsIndependentOfScale) {
  const struct {
    const char* name;
    TSegment s, t;
    bool expected;
  } cases[] = {
      {"X", {{0, 0}, {2, 2}}, {{0, 2}, {2, 0}}, true},
      {"T touch", {{0, 0}, {2, 0}}, {{1, 0}, {1, 1}}, true},
      {"apart", {{0, 0}, {1, 0}}, {{2, -1}, {2, 1}}, false},
      {"tiny X", {{0, 0}, {1e-3, 0}}, {{5e-4, -5e-4}, {5e-4, 5e-4}}, true},
      {"tiny apart", {{0, 0}, {1e-3, 0}}, {{5e-4, 5e-4}, {5e-4, 1e-3}}, false},
      {"collinear, disjoint", {{0, 0}, {1, 0}}, {{2, 0}, {3, 0}}, true},
      {"a point on the carrier", {{5, 0}, {5, 0}}, {{0, 0}, {1, 0}}, true},
      {"a point off the carrier", {{5, 1}, {5, 1}}, {{0, 0}, {1, 0}}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SegmentsCross(c.s, c.t), c.expected) << c.name;
    EXPECT_EQ(SegmentsCross(c.t, c.s), c.expected) << c.name << " (swapped)";
  }
}

TEST_F(Lines, IsOnSegmentCombinesEndTolerancesAngleAndDistance) {
  const TSegment s{{0, 0}, {10, 0}};
  const TSegment longLine{{0, 0}, {10000, 0}};
  const TSegment point{{1, 1}, {1, 1}};
  const struct {
    const char* name;
    TSegment s;
    TPointD p;
    double t;
    bool expected;
  } cases[] = {
      {"0.0008 rad off", s, {5, 0.002}, Eps, true},
      {"0.0016 rad off", s, {5, 0.004}, Eps, false},
      {"beyond the end", s, {12, 0}, Eps, false},
      {"end within t", s, {10.01, -0.01}, 0.01, true},
      {"end just beyond t", s, {10.02, 0}, 0.01, false},
      // The angular test alone accepts a point 1 unit off a 10,000-unit line.
      {"1 off a long line", longLine, {5000, 1}, Eps, false},
      {"0.005 off a long line", longLine, {5000, 0.005}, Eps, true},
      {"0.5 off a long line, t 1", longLine, {5000, 0.5}, 1, true},
      {"a point segment, elsewhere", point, {2, 2}, Eps, false},
      {"a point segment, itself", point, {1, 1}, Eps, true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsOnSegment(c.s, c.p, c.t), c.expected) << c.name;
}

TEST_F(Lines, PointLineDistanceModes) {
  const TSegment s{{0, 0}, {4, 0}};
  const struct {
    const char* name;
    LineDistanceMode mode;
    TPointD p;
    double distance;
    TPointD point;
    bool footOnSegment;
  } cases[] = {
      {"signed, left", LineDistanceMode::SignedLine, {1, 2}, 2, {1, 0}, true},
      {"signed, right", LineDistanceMode::SignedLine, {7, -2}, -2, {7, 0}, false},
      {"segment, beside", LineDistanceMode::Segment, {2, 3}, 3, {2, 0}, true},
      {"segment, past the end", LineDistanceMode::Segment, {7, 4}, 5, {4, 0}, false},
      {"foot, inside", LineDistanceMode::FootOnSegment, {2, -3}, 3, {2, 0}, true},
      {"foot, outside", LineDistanceMode::FootOnSegment, {-1, 5}, 1, {-1, 5}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const LineDistance r = PointLineDistance(c.mode, c.p, s);
    EXPECT_EQ(r.status, 0);
    EXPECT_DOUBLE_EQ(r.distance, c.distance);
    EXPECT_TRUE(Near(r.point, c.point));
    EXPECT_EQ(r.footOnSegment, c.footOnSegment);
  }
  // A segment that is a point is at its distance from p, not 1.
  for (const LineDistanceMode mode :
       {LineDistanceMode::SignedLine, LineDistanceMode::Segment, LineDistanceMode::FootOnSegment}) {
    const LineDistance r = PointLineDistance(mode, {4, 5}, {{1, 1}, {1, 1}});
    EXPECT_EQ(r.status, GeomStatus::CoincidentPoints);
    EXPECT_DOUBLE_EQ(r.distance, 5.0);
    EXPECT_EQ(r.point, (TPointD{1, 1}));
  }
  EXPECT_EQ(PointLineDistance(static_cast<LineDistanceMode>(0), {0, 0}, s).status, GeomStatus::UnknownMode);
}

TEST_F(Lines, ClipSegmentKeepsThePartInsideTheWindow) {
  const TBox window{{0, 0}, {10, 10}};
  const TBox reversed{{10, 10}, {0, 0}};
  const struct {
    const char* name;
    TBox window;
    TSegment s;
    bool visible;
    TSegment expected;
  } cases[] = {
      {"inside", window, {{1, 1}, {2, 3}}, true, {{1, 1}, {2, 3}}},
      {"across", window, {{-5, 5}, {15, 5}}, true, {{0, 5}, {10, 5}}},
      {"corner to corner", window, {{11, 11}, {-1, -1}}, true, {{10, 10}, {0, 0}}},
      {"leaving", window, {{5, 5}, {5, 20}}, true, {{5, 5}, {5, 10}}},
      {"outside", window, {{-5, -5}, {-1, 20}}, false, {}},
      {"passing a corner", window, {{-1, 9.5}, {2, 12.5}}, false, {}},
      {"corners in any order", reversed, {{-5, 5}, {15, 5}}, true, {{0, 5}, {10, 5}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ClipResult r = ClipSegment(c.window, c.s);
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.visible, c.visible);
    if (c.visible) {
      EXPECT_TRUE(Near(r.segment.P1, c.expected.P1, 1e-12));
      EXPECT_TRUE(Near(r.segment.P2, c.expected.P2, 1e-12));
    } else {
      EXPECT_EQ(r.segment.P1, r.segment.P2);
    }
  }
  const ClipResult flat = ClipSegment({{0, 0}, {0, 10}}, {{-1, 1}, {1, 1}});
  EXPECT_EQ(flat.status, GeomStatus::DegenerateBox);
  EXPECT_FALSE(flat.visible);
}

TEST_F(Lines, SegmentBoxAndTriangleHelpers) {
  const Result<TBox> box = SegmentBox({{3, -1}, {1, 2}});
  EXPECT_TRUE(box.ok());
  EXPECT_EQ(box.value, (TBox{{1, -1}, {3, 2}}));
  EXPECT_EQ(SegmentBox({{1, 1}, {1, 1}}).status, GeomStatus::CoincidentPoints);

  const Result<TPointD> in = Incenter({0, 0}, {4, 0}, {0, 3});
  EXPECT_TRUE(in.ok());
  EXPECT_TRUE(Near(in.value, {1, 1}, 1e-12));
  EXPECT_EQ(Incenter({0, 0}, {0, 0}, {1, 1}).status, GeomStatus::DegenerateTriangle);

  const TriangleAnglesResult t = TriangleAngles(3, 4, 5);
  EXPECT_EQ(t.status, 0);
  EXPECT_NEAR(t.A, std::asin(0.6), 1e-12);
  EXPECT_NEAR(t.B, std::asin(0.8), 1e-12);
  EXPECT_NEAR(t.C, HalfPi, 1e-12);
  EXPECT_EQ(TriangleAngles(1, 1, 3).status, GeomStatus::NotATriangle);
  EXPECT_EQ(TriangleAngles(1, 0, 1).status, GeomStatus::SideNotPositive);
}

TEST_F(Lines, PointInQuadWindingAndCrossingAgree) {
  const std::array<TPointD, 4> square{{{0, 0}, {2, 0}, {2, 2}, {0, 2}}};
  const std::array<TPointD, 4> clockwise{{{0, 0}, {0, 2}, {2, 2}, {2, 0}}};
  const std::array<TPointD, 4> skewed{{{0, 0}, {4, 0}, {4, 1}, {0, 3}}};
  const struct {
    const std::array<TPointD, 4>* quad;
    TPointD p;
    bool inside;
  } cases[] = {
      {&square, {1, 1}, true},   {&square, {3, 1}, false},  {&square, {1, -0.5}, false},
      {&clockwise, {1, 1}, true}, {&skewed, {1, 1}, true},  {&skewed, {3, 1.8}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PointInQuad(c.p, *c.quad), c.inside) << c.p.x << "," << c.p.y;
    EXPECT_EQ(PointInQuadCrossing(c.p, *c.quad), c.inside) << c.p.x << "," << c.p.y;
  }
}

}  // namespace
}  // namespace qm::test
