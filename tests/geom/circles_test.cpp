#include "geom_fixture.h"

namespace qm::test {
namespace {

using Circles = GeomTest;

TArcRec Arc(TPointD c, double r, double start, double end, ArcAngleUnit unit = ArcAngleUnit::Radians) {
  TArcRec a;
  a.Center = c;
  a.Radius = r;
  a.AngleUnit = unit;
  a.StartAngle = start;
  a.EndAngle = end;
  return a;
}

TPointD Dir(double theta, double r = 1, TPointD c = {0, 0}) {
  return {c.x + r * std::cos(theta), c.y + r * std::sin(theta)};
}

const double kS3 = std::sqrt(3.0) / 2;
const double kS2 = std::sqrt(0.5);

TEST_F(Circles, LineCircleOrdersPointsAlongTheSegment) {
  const struct {
    const char* name;
    LineCircleMode mode;
    TSegment s;
    int count;
    TPointD p1, p2;
  } cases[] = {
      {"tangent carrier", LineCircleMode::Line, {{-2, 1}, {2, 1}}, 1, {0, 1}, {}},
      {"through the centre", LineCircleMode::Line, {{-2, 0}, {2, 0}}, 2, {-1, 0}, {1, 0}},
      {"reversed", LineCircleMode::Line, {{2, 0}, {-2, 0}}, 2, {1, 0}, {-1, 0}},
      {"missing", LineCircleMode::Line, {{-2, 1.5}, {2, 1.5}}, 0, {}, {}},
      {"segment keeps the second point as the first", LineCircleMode::Segment, {{0, 0}, {2, 0}}, 1, {1, 0}, {}},
      {"segment inside", LineCircleMode::Segment, {{-0.5, 0}, {0.5, 0}}, 0, {}, {}},
      {"segment through", LineCircleMode::Segment, {{-3, 0}, {3, 0}}, 2, {-1, 0}, {1, 0}},
      {"segment short of the tangent point", LineCircleMode::Segment, {{-2, 1}, {-1, 1}}, 0, {}, {}},
      {"diagonal", LineCircleMode::Line, {{-2, -2}, {3, 3}}, 2, {-kS2, -kS2}, {kS2, kS2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const IntersectResult r = LineCircle(c.mode, {0, 0}, 1, c.s);
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.count, c.count);
    if (c.count >= 1) {
      EXPECT_TRUE(Near(r.p1, c.p1, 1e-12));
    }
    if (c.count >= 2) {
      EXPECT_TRUE(Near(r.p2, c.p2, 1e-12));
    }
  }
  // A clockwise arc's negative radius is a circle all the same.
  EXPECT_EQ(LineCircle(LineCircleMode::Line, {0, 0}, -1, {{-2, 0}, {2, 0}}).count, 2);

  const IntersectResult point = LineCircle(LineCircleMode::Line, {0, 0}, 1, {{1, 0}, {1, 0}});
  EXPECT_EQ(point.count, 0);
  EXPECT_EQ(point.status, GeomStatus::CoincidentPoints);
  EXPECT_EQ(LastStatus, GeomStatus::CoincidentPoints);
}

TEST_F(Circles, CircleCircleTouchingCrossingAndApart) {
  const struct {
    const char* name;
    TPointD c1;
    double r1;
    TPointD c2;
    double r2;
    int count;
    TPointD plus, minus;
    std::int32_t status;
  } cases[] = {
      {"externally touching", {0, 0}, 1, {2, 0}, 1, 1, {1, 0}, {}, 0},
      {"touching within 10·t", {0, 0}, 1, {2.000005, 0}, 1, 1, {1, 0}, {}, 0},
      {"crossing at ±60°", {0, 0}, 1, {1, 0}, 1, 2, {0.5, kS3}, {0.5, -kS3}, 0},
      {"internally touching, first larger", {0, 0}, 2, {1, 0}, 1, 1, {2, 0}, {}, 0},
      {"internally touching, second larger", {0, 0}, 1, {1, 0}, 2, 1, {-1, 0}, {}, 0},
      {"negative radii", {0, 0}, -1, {1, 0}, -1, 2, {0.5, kS3}, {0.5, -kS3}, 0},
      {"apart", {0, 0}, 1, {3, 0}, 1, 0, {}, {}, 0},
      {"one inside the other", {0, 0}, 3, {1, 0}, 1, 0, {}, {}, 0},
      {"concentric", {1, 1}, 1, {1, 1 + 5e-7}, 2, 0, {}, {}, GeomStatus::Concentric},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const IntersectResult r = CircleCircle(c.c1, c.r1, c.c2, c.r2, Tol6);
    EXPECT_EQ(r.status, c.status);
    ASSERT_EQ(r.count, c.count);
    if (c.count >= 1) {
      EXPECT_TRUE(Near(r.p1, c.plus, 1e-5));
    }
    if (c.count >= 2) {
      EXPECT_TRUE(Near(r.p2, c.minus, 1e-12));
    }
  }
}

TEST_F(Circles, NearlyCoincidentCirclesStillGiveTwoPoints) {
  // The sine of the half angle rounds above 1 here; taking the angle as 0
  // answered the same point twice.
  for (const double r : {1.0, 3.0}) {
    const TPointD c2{1.005e-5, 0};
    const IntersectResult x = CircleCircle({0, 0}, r, c2, r, Tol6);
    ASSERT_EQ(x.count, 2) << r;
    EXPECT_GT(x.p1.y, 0.99 * r);
    EXPECT_LT(x.p2.y, -0.99 * r);
    for (const TPointD p : {x.p1, x.p2}) {
      EXPECT_NEAR(Distance({0, 0}, p), r, 1e-9);
      EXPECT_NEAR(Distance(c2, p), r, 1e-9);
    }
  }
}

TEST_F(Circles, CircleCircleFromEquations) {
  const IntersectResult r =
      CircleCircle(CircleEquation({0, 0}, 1).value, CircleEquation({1, 0}, 1).value, Tol6);
  ASSERT_EQ(r.count, 2);
  EXPECT_TRUE(Near(r.p1, {0.5, kS3}, 1e-12));
  TCircleEq none;
  none.F = 1;  // x² + y² + 1 = 0
  EXPECT_EQ(CircleCircle(none, CircleEquation({1, 0}, 1).value, Tol6).status, GeomStatus::NoRealCircle);
}

TEST_F(Circles, ArcArcKeepsPointsOnBothArcs) {
  const TArcRec upper = Arc({0, 0}, 1, 0, Pi);
  for (const TArcRec& left : {Arc({1, 0}, 1, HalfPi, ThreeHalfPi), Arc({1, 0}, 1, 90, 270, ArcAngleUnit::Degrees)}) {
    const IntersectResult r = ArcArc(upper, left);
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.count, 1);
    EXPECT_TRUE(Near(r.p1, {0.5, kS3}, 1e-12));
  }
  // Only the second circle point is on both: it becomes the first answer.
  const IntersectResult lower = ArcArc(Arc({0, 0}, 1, Pi, TwoPi), Arc({1, 0}, 1, HalfPi, ThreeHalfPi));
  ASSERT_EQ(lower.count, 1);
  EXPECT_TRUE(Near(lower.p1, {0.5, -kS3}, 1e-12));
  EXPECT_EQ(ArcArc(upper, Arc({0, 0}, 2, 0, Pi)).status, GeomStatus::Concentric);
  EXPECT_EQ(ArcArc(upper, Arc({1, 0}, 1, 0, 1, static_cast<ArcAngleUnit>(3))).status, GeomStatus::UnknownAngleUnit);
}

TEST_F(Circles, ArcEndPointsReadTheArcsUnit) {
  const TArcRec arcs[] = {
      Arc({1, 1}, 2, 0, HalfPi),
      Arc({1, 1}, 2, 0, 90, ArcAngleUnit::Degrees),
      Arc({1, 1}, 2, 0, 1, ArcAngleUnit::QuarterTurns),
      Arc({1, 1}, -2, 0, HalfPi),  // clockwise: the same points
  };
  for (const TArcRec& a : arcs) {
    const ArcEnds e = ArcEndPoints(a);
    EXPECT_EQ(e.status, 0);
    EXPECT_TRUE(Near(e.start, {3, 1}, 1e-12));
    EXPECT_TRUE(Near(e.end, {1, 3}, 1e-12));
  }
  EXPECT_EQ(ArcEndPoints(Arc({0, 0}, 1, 0, 1, static_cast<ArcAngleUnit>(4))).status, GeomStatus::UnknownAngleUnit);
}

TEST_F(Circles, SweepIsTheExtentInRadians) {
  const struct {
    const char* name;
    TArcRec arc;
    double expected;
  } cases[] = {
      {"quarter", Arc({0, 0}, 1, 0, HalfPi), HalfPi},
      {"clockwise quarter", Arc({0, 0}, -1, HalfPi, 0), HalfPi},
      {"wrapping", Arc({0, 0}, 1, ThreeHalfPi, HalfPi), Pi},
      {"end above 2π", Arc({0, 0}, 1, ThreeHalfPi, 5 * HalfPi), Pi},
      {"negative start", Arc({0, 0}, 1, -HalfPi, HalfPi), Pi},
      {"full turn", Arc({0, 0}, 1, 0, TwoPi), TwoPi},
      {"full turn stored against the direction", Arc({0, 0}, -1, 0, TwoPi), TwoPi},
      {"0–360°", Arc({0, 0}, 1, 0, 360, ArcAngleUnit::Degrees), TwoPi},
      {"90–180°", Arc({0, 0}, 1, 90, 180, ArcAngleUnit::Degrees), HalfPi},
      {"quarter turns 1–3", Arc({0, 0}, 1, 1, 3, ArcAngleUnit::QuarterTurns), Pi},
      {"equal angles", Arc({0, 0}, 1, 1, 1), 0},
  };
  for (const auto& c : cases) EXPECT_NEAR(Sweep(c.arc), c.expected, 1e-12) << c.name;
  EXPECT_EQ(Sweep(Arc({0, 0}, 1, 0, 1, static_cast<ArcAngleUnit>(5))), 0.0);
  EXPECT_EQ(LastStatus, GeomStatus::UnknownAngleUnit);
}

bool RightHalf(double t) { return std::cos(t) > 0; }
bool LeftHalf(double t) { return std::cos(t) < 0; }
bool UpperQuarter(double t) { return std::sin(t) >= kS2 - 1e-12; }
bool Everywhere(double) { return true; }

TEST_F(Circles, IsOnArcAndDistanceToArcAcceptAnyStartAndEndAngles) {
  const struct {
    const char* name;
    TArcRec arc;
    bool (*inRange)(double);
  } cases[] = {
      {"end above 2π", Arc({0, 0}, 1, ThreeHalfPi, 5 * HalfPi), RightHalf},
      {"negative start", Arc({0, 0}, 1, -HalfPi, HalfPi), RightHalf},
      {"clockwise, start above 2π", Arc({0, 0}, -1, 5 * HalfPi, ThreeHalfPi), RightHalf},
      {"clockwise through 0", Arc({0, 0}, -1, HalfPi, -HalfPi), RightHalf},
      {"clockwise, both negative", Arc({0, 0}, -1, -HalfPi, -3 * HalfPi), LeftHalf},
      {"wrapping", Arc({0, 0}, 1, ThreeHalfPi, HalfPi), RightHalf},
      {"plain", Arc({0, 0}, 1, QuarterPi, ThreeQuarterPi), UpperQuarter},
      {"degrees", Arc({0, 0}, 1, 270, 450, ArcAngleUnit::Degrees), RightHalf},
      {"full turn", Arc({0, 0}, 1, 1, 1 + TwoPi), Everywhere},
      {"equal angles", Arc({0, 0}, -1, 2, 2), Everywhere},
  };
  const double samples[] = {0,  0.3,        HalfPi - 0.1, HalfPi + 0.1, 2.5, Pi, 4.0, ThreeHalfPi - 0.1,
                            ThreeHalfPi + 0.1, 5.5, TwoPi};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ArcEnds ends = ArcEndPoints(c.arc);
    for (const double t : samples) {
      const TPointD p = Dir(t);
      const bool on = c.inRange(t);
      EXPECT_EQ(IsOnArc(c.arc, p, Tol6), on) << t;
      const double nearestEnd = std::min(Distance(p, ends.start), Distance(p, ends.end));
      EXPECT_NEAR(DistanceToArc(c.arc, p), on ? 0.0 : nearestEnd, 1e-12) << t;
      // Off the circle: never on the arc; the radial gap when in range.
      EXPECT_FALSE(IsOnArc(c.arc, Dir(t, 1.5), Tol6));
      if (on) {
        EXPECT_NEAR(DistanceToArc(c.arc, Dir(t, 1.5)), 0.5, 1e-12) << t;
      }
    }
  }
  EXPECT_NEAR(DistanceToArc(Arc({0, 0}, 2, 0, HalfPi), {0, 0}), 2.0, 1e-12);
  // End points count within t even just past the range.
  EXPECT_TRUE(IsOnArc(Arc({0, 0}, 1, 0, HalfPi), Dir(-1e-7), 1e-6));
  const TArcRec bad = Arc({0, 0}, 1, 0, 1, static_cast<ArcAngleUnit>(6));
  EXPECT_FALSE(IsOnArc(bad, {1, 0}, Tol6));
  EXPECT_EQ(LastStatus, GeomStatus::UnknownAngleUnit);
  EXPECT_EQ(DistanceToArc(bad, {1, 0}), FarValue);
  EXPECT_EQ(LastStatus, GeomStatus::UnknownAngleUnit);
}

TEST_F(Circles, ArcExtentsAreTheTightBox) {
  // Boxes for the unit circle, placed at centre c with radius 2.
  const TPointD c{1, -2};
  const double r = 2;
  const struct {
    const char* name;
    double start, end, radiusSign;
    ArcAngleUnit unit;
    TBox unitBox;
  } cases[] = {
      {"first quadrant", 0, HalfPi, 1, ArcAngleUnit::Radians, {{0, 0}, {1, 1}}},
      {"through 0", 7 * QuarterPi, QuarterPi, 1, ArcAngleUnit::Radians, {{kS2, -kS2}, {1, kS2}}},
      {"end above 2π", ThreeHalfPi, 5 * HalfPi, 1, ArcAngleUnit::Radians, {{0, -1}, {1, 1}}},
      {"clockwise through 0", HalfPi, -HalfPi, -1, ArcAngleUnit::Radians, {{0, -1}, {1, 1}}},
      {"top", QuarterPi, ThreeQuarterPi, 1, ArcAngleUnit::Radians, {{-kS2, kS2}, {kS2, 1}}},
      {"three quarters", HalfPi, 0, 1, ArcAngleUnit::Radians, {{-1, -1}, {1, 1}}},
      {"full turn", 0, TwoPi, 1, ArcAngleUnit::Radians, {{-1, -1}, {1, 1}}},
      {"nearly full", 0.5, 0.5 + TwoPi - 1e-7, 1, ArcAngleUnit::Radians, {{-1, -1}, {1, 1}}},
      {"degrees", 0, 90, 1, ArcAngleUnit::Degrees, {{0, 0}, {1, 1}}},
      {"unknown unit", 0, 1, 1, static_cast<ArcAngleUnit>(7), {{-1, -1}, {1, 1}}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    const TBox b = ArcExtents(Arc(c, k.radiusSign * r, k.start, k.end, k.unit));
    EXPECT_TRUE(Near(b.Min, {c.x + r * k.unitBox.Min.x, c.y + r * k.unitBox.Min.y}, 1e-12));
    EXPECT_TRUE(Near(b.Max, {c.x + r * k.unitBox.Max.x, c.y + r * k.unitBox.Max.y}, 1e-12));
  }
}

TEST_F(Circles, BulgeFromArc) {
  EXPECT_NEAR(BulgeFromArc(Arc({0, 0}, 1, 0, HalfPi)), Tan22_5, 1e-12);
  EXPECT_NEAR(BulgeFromArc(Arc({0, 0}, -1, HalfPi, 0)), -Tan22_5, 1e-12);
  EXPECT_NEAR(BulgeFromArc(Arc({0, 0}, 1, 0, Pi)), 1.0, 1e-12);
  EXPECT_NEAR(BulgeFromArc(Arc({0, 0}, 1, 0, 180, ArcAngleUnit::Degrees)), 1.0, 1e-12);
  EXPECT_EQ(BulgeFromArc(Arc({0, 0}, 1, 0, TwoPi)), 0.0);  // a full circle cannot be an arc
}

TEST_F(Circles, ArcFromBulge) {
  const ArcFromBulgeResult half = ArcFromBulge(1, {0, 0}, {2, 0}, 1);
  ASSERT_TRUE(half.ok);
  EXPECT_TRUE(Near(half.arc.Center, {1, 0}));
  EXPECT_DOUBLE_EQ(half.arc.Radius, 1);
  EXPECT_EQ(half.arc.AngleUnit, ArcAngleUnit::Radians);
  EXPECT_DOUBLE_EQ(half.arc.StartAngle, Pi);
  EXPECT_DOUBLE_EQ(half.arc.EndAngle, TwoPi);
  const ArcFromBulgeResult other = ArcFromBulge(-1, {0, 0}, {2, 0}, 1);
  ASSERT_TRUE(other.ok);
  EXPECT_DOUBLE_EQ(other.arc.Radius, -1);
  EXPECT_TRUE(IsOnArc(other.arc, {1, 1}, Tol6));  // bulges the other way
  EXPECT_FALSE(IsOnArc(other.arc, {1, -1}, Tol6));

  // Round trip: the arc ends where it was asked to and has the same bulge.
  for (const double bulge : {0.3, -0.3, 1.0, -1.0, 2.5, -2.5, 0.01}) {
    const TPointD p1{1, 2}, p2{4, -1};
    const ArcFromBulgeResult a = ArcFromBulge(bulge, p1, p2, 1);
    ASSERT_TRUE(a.ok) << bulge;
    EXPECT_NEAR(BulgeFromArc(a.arc), bulge, 1e-9) << bulge;
    const ArcEnds e = ArcEndPoints(a.arc);
    EXPECT_TRUE(Near(e.start, p1, 1e-9));
    EXPECT_TRUE(Near(e.end, p2, 1e-9));
  }

  EXPECT_FALSE(ArcFromBulge(5e-5, {0, 0}, {2, 0}, 1).ok);  // straight
  // A radius of 2.5e-4 is too small in millimetres, not in inches.
  EXPECT_FALSE(ArcFromBulge(1, {0, 0}, {5e-4, 0}, 1).ok);
  EXPECT_TRUE(ArcFromBulge(1, {0, 0}, {5e-4, 0}, 25.4).ok);
  const ArcFromBulgeResult same = ArcFromBulge(1, {1, 1}, {1, 1}, 1);
  EXPECT_FALSE(same.ok);
  EXPECT_EQ(same.status, GeomStatus::CoincidentPoints);
}

TEST_F(Circles, CircleFromPoints) {
  const struct {
    const char* name;
    CircleFromMode mode;
    TPointD p1, p2, p3;
    std::int32_t status;
    TPointD centre;
    double radius;
  } cases[] = {
      {"diameter", CircleFromMode::Diameter, {0, 0}, {2, 0}, {}, 0, {1, 0}, 1},
      {"diameter of a point", CircleFromMode::Diameter, {1, 1}, {1, 1}, {}, GeomStatus::Collinear, {}, 0},
      {"three points", CircleFromMode::ThreePoints, {0, 0}, {2, 0}, {0, 2}, 0, {1, 1}, std::sqrt(2.0)},
      {"three points, small", CircleFromMode::ThreePoints, {0, 0}, {2e-4, 0}, {0, 2e-4}, 0, {1e-4, 1e-4},
       std::sqrt(2.0) * 1e-4},
      {"three collinear points", CircleFromMode::ThreePoints, {0, 0}, {1, 1}, {2, 2}, GeomStatus::Collinear, {}, 0},
      {"inscribed", CircleFromMode::Inscribed, {0, 0}, {4, 0}, {0, 3}, 0, {1, 1}, 1},
      {"inscribed, zero side", CircleFromMode::Inscribed, {0, 0}, {0, 0}, {1, 1}, GeomStatus::DegenerateTriangle, {},
       0},
      {"inscribed, flat", CircleFromMode::Inscribed, {0, 0}, {1, 0}, {3, 0}, GeomStatus::Collinear, {}, 0},
      {"square", CircleFromMode::InSquare, {0, 0}, {2, 2}, {}, 0, {1, 1}, 1},
      {"square, corners reversed", CircleFromMode::InSquare, {2, 2}, {0, 0}, {}, 0, {1, 1}, 1},
      {"square, other diagonal", CircleFromMode::InSquare, {0, 2}, {2, 0}, {}, 0, {1, 1}, 1},
      {"not a square", CircleFromMode::InSquare, {0, 0}, {2, 1}, {}, GeomStatus::NotASquare, {}, 0},
      {"square of a point", CircleFromMode::InSquare, {3, 3}, {3, 3}, {}, GeomStatus::Collinear, {}, 0},
      {"unknown mode", static_cast<CircleFromMode>(9), {0, 0}, {1, 0}, {0, 1}, GeomStatus::UnknownMode, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Result<TCircleEq> r = CircleFrom(c.mode, c.p1, c.p2, c.p3);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(LastStatus, c.status);
    EXPECT_TRUE(Near(r.value.Center, c.centre, 1e-12));
    EXPECT_NEAR(r.value.Radius, c.radius, 1e-12);
    if (c.status != 0) continue;
    // The equation form describes the same circle.
    const TPointD on = Dir(0.7, c.radius, c.centre);
    EXPECT_NEAR(on.x * on.x + on.y * on.y + r.value.D * on.x + r.value.E * on.y + r.value.F, 0, 1e-12);
  }
}

TEST_F(Circles, CircleEquationConversions) {
  const Result<TCircleEq> eq = CircleEquation({1, 2}, 3);
  EXPECT_TRUE(eq.ok());
  EXPECT_DOUBLE_EQ(eq.value.D, -2);
  EXPECT_DOUBLE_EQ(eq.value.E, -4);
  EXPECT_DOUBLE_EQ(eq.value.F, -4);
  const Result<TCircleEq> back = CircleFromEquation(-2, -4, -4);
  EXPECT_TRUE(back.ok());
  EXPECT_TRUE(Near(back.value.Center, {1, 2}));
  EXPECT_DOUBLE_EQ(back.value.Radius, 3);
  EXPECT_EQ(CircleEquation({1, 2}, 0).status, GeomStatus::PointCircle);
  EXPECT_EQ(CircleFromEquation(-2, -4, 5).status, GeomStatus::PointCircle);
  EXPECT_EQ(CircleFromEquation(0, 0, 1).status, GeomStatus::NoRealCircle);
}

TEST_F(Circles, TangentsFromPoint) {
  const TangentResult unit = TangentsFromPoint({0, 0}, 1, {2, 0});
  ASSERT_EQ(unit.count, 2);
  // Left of the direction toward the centre (−x) is −y.
  EXPECT_TRUE(Near(unit.seg[0].P2, {0.5, -kS3}, 1e-12));
  EXPECT_TRUE(Near(unit.seg[1].P2, {0.5, kS3}, 1e-12));

  const TPointD c{1, 2}, p{-3, 4};
  const TangentResult t = TangentsFromPoint(c, -1.5, p);
  ASSERT_EQ(t.count, 2);
  for (int i = 0; i < 2; ++i) {
    const TPointD q = t.seg[i].P2;
    EXPECT_EQ(t.seg[i].P1, p);
    EXPECT_NEAR(Distance(c, q), 1.5, 1e-12);
    EXPECT_NEAR((q.x - c.x) * (q.x - p.x) + (q.y - c.y) * (q.y - p.y), 0, 1e-12);  // radius ⟂ tangent
  }

  const TangentResult on = TangentsFromPoint({0, 0}, 1, {0, 1});
  ASSERT_EQ(on.count, 1);
  EXPECT_EQ(on.seg[0], (TSegment{{0, 1}, {0, 1}}));
  EXPECT_EQ(TangentsFromPoint({0, 0}, 1, {0.5, 0}).status, GeomStatus::InsideCircle);
  EXPECT_EQ(TangentsFromPoint({0, 0}, 1, {0.5, 0}).count, 0);
  EXPECT_EQ(TangentsFromPoint({0, 0}, 1, {0, 0}).status, GeomStatus::AtCentre);
}

// Every answer touches both circles: it runs from the first circle (smaller
// centre x) to the second, perpendicular to the radius at each end.
void ExpectTangentSegments(const TangentResult& r, TPointD c1, double r1, TPointD c2, double r2) {
  if (c2.x < c1.x) {
    std::swap(c1, c2);
    std::swap(r1, r2);
  }
  for (int i = 0; i < r.count; ++i) {
    SCOPED_TRACE(i);
    const TSegment s = r.seg[i];
    EXPECT_NEAR(Distance(c1, s.P1), r1, 1e-9);
    EXPECT_NEAR(Distance(c2, s.P2), r2, 1e-9);
    const double dx = s.P2.x - s.P1.x, dy = s.P2.y - s.P1.y;
    EXPECT_NEAR((s.P1.x - c1.x) * dx + (s.P1.y - c1.y) * dy, 0, 1e-9);
    EXPECT_NEAR((s.P2.x - c2.x) * dx + (s.P2.y - c2.y) * dy, 0, 1e-9);
    for (int j = 0; j < i; ++j)
      EXPECT_FALSE(SamePoint(r.seg[j].P1, s.P1, 1e-6) && SamePoint(r.seg[j].P2, s.P2, 1e-6)) << "repeats " << j;
  }
}

TEST_F(Circles, CommonTangentsCountFollowsTheCirclesRelation) {
  const struct {
    const char* name;
    TPointD c1;
    double r1;
    TPointD c2;
    double r2;
    int count;
    std::int32_t status;
  } cases[] = {
      {"apart", {0, 0}, 1, {5, 0}, 2, 4, 0},
      {"apart, given right to left", {5, 1}, 2, {0, 0}, 1, 4, 0},
      {"externally touching", {0, 0}, 1, {3, 0}, 2, 3, 0},
      {"crossing", {0, 0}, 2, {3, 0}, 2, 2, 0},
      {"internally touching", {0, 0}, 3, {1, 0}, 2, 1, 0},
      {"one inside the other", {0, 0}, 3, {0.5, 0}, 1, 0, 0},
      {"concentric", {1, 1}, 3, {1, 1}, 1, 0, GeomStatus::Concentric},
      // Touching where d² − ρ² rounds just below 0: the touching tangent stays.
      {"externally touching, rounded", {0.7, 0}, 0.1, {1.0999999999999999, 0}, 0.3, 3, 0},
      {"internally touching, rounded", {0.7, 0}, 0.6, {1.0999999999999999, 0}, 0.2, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TangentResult r = CommonTangents(c.c1, c.r1, c.c2, c.r2);
    EXPECT_EQ(r.status, c.status);
    ASSERT_EQ(r.count, c.count);
    ExpectTangentSegments(r, c.c1, c.r1, c.c2, c.r2);
  }
  // Order: outer right, outer left, inner leaving the first circle on the
  // right, inner leaving it on the left (seen from the first centre).
  const TangentResult apart = CommonTangents({0, 0}, 1, {5, 0}, 2);
  ASSERT_EQ(apart.count, 4);
  EXPECT_LT(apart.seg[0].P1.y, 0);
  EXPECT_GT(apart.seg[1].P1.y, 0);
  EXPECT_LT(apart.seg[2].P1.y, 0);
  EXPECT_GT(apart.seg[3].P1.y, 0);
  EXPECT_LT(apart.seg[0].P2.y, 0);  // outer: same side on both circles
  EXPECT_GT(apart.seg[2].P2.y, 0);  // inner: crosses over
  // The internally touching tangent is the line through the touching point.
  const TangentResult inner = CommonTangents({0, 0}, 3, {1, 0}, 2);
  ASSERT_EQ(inner.count, 1);
  EXPECT_TRUE(Near(inner.seg[0].P1, {3, 0}, 1e-12));
  EXPECT_TRUE(Near(inner.seg[0].P2, {3, 0}, 1e-12));
}

TEST_F(Circles, PerpendicularTangents) {
  const TangentResult r = PerpendicularTangents({0, 0}, 1, {{-5, -3}, {5, -3}});
  ASSERT_EQ(r.count, 2);
  EXPECT_TRUE(Near(r.seg[0].P1, {1, 0}));
  EXPECT_TRUE(Near(r.seg[0].P2, {1, -3}));
  EXPECT_TRUE(Near(r.seg[1].P1, {-1, 0}));
  EXPECT_TRUE(Near(r.seg[1].P2, {-1, -3}));

  const TSegment diag{{0, 4}, {4, 0}};
  const TangentResult d = PerpendicularTangents({1, 1}, 2, diag);
  ASSERT_EQ(d.count, 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_NEAR(Distance({1, 1}, d.seg[i].P1), 2, 1e-12);
    EXPECT_TRUE(IsOnSegment({{-10, 14}, {14, -10}}, d.seg[i].P2, 1e-9));  // foot on the carrier
    const double tx = d.seg[i].P2.x - d.seg[i].P1.x, ty = d.seg[i].P2.y - d.seg[i].P1.y;
    EXPECT_NEAR(tx * 4 + ty * -4, 0, 1e-12);  // perpendicular to s
  }
  EXPECT_EQ(PerpendicularTangents({0, 0}, 1, {{2, 2}, {2, 2}}).status, GeomStatus::CoincidentPoints);
}

}  // namespace
}  // namespace qm::test
