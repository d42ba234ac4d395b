#include <limits>

#include "geom_fixture.h"

namespace qm::test {
namespace {

using Angles = GeomTest;

TEST_F(Angles, DirectionLiesInZeroExclusiveToTwoPi) {
  const struct {
    TPointD to;
    double expected;
  } cases[] = {
      {{1, 0}, TwoPi},  // the positive x direction is 2π, never 0
      {{1, -0.0}, TwoPi},
      {{0, 1}, HalfPi},
      {{-1, 0}, Pi},
      {{0, -1}, ThreeHalfPi},
      {{1, 1}, QuarterPi},
      {{-1, 1}, ThreeQuarterPi},
      {{-1, -1}, FiveQuarterPi},
      {{1, -1}, SevenQuarterPi},
      {{0, 0}, 0},  // coincident points
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(Angle(TPointD{0, 0}, c.to), c.expected) << c.to.x << "," << c.to.y;
  EXPECT_DOUBLE_EQ(Angle(AngleMode::Degrees, 2, 2, 2, 5), 90.0);
  EXPECT_EQ(LastStatus, 0);
  EXPECT_DOUBLE_EQ(Angle(AngleMode::Radians, 2, 2, 3, 2), TwoPi);
  EXPECT_DOUBLE_EQ(AngleDeg({0, 0}, {1, 0}), 360.0);
}

TEST_F(Angles, AngleDiffTakesTheShortWayAndKeepsTheSignAtPi) {
  const struct {
    double a, b, expected;
  } cases[] = {
      {0, Pi, Pi},
      {Pi, 0, -Pi},
      {0.1, TwoPi - 0.1, -0.2},
      {TwoPi - 0.1, 0.1, 0.2},
      {TwoPi, HalfPi, HalfPi},      // 2π and 0 are the same direction
      {-HalfPi, 0.5, 0.5 + HalfPi},  // inputs are normalised first
      {5 * TwoPi + 1, 1.5, 0.5},
  };
  for (const auto& c : cases) EXPECT_NEAR(AngleDiff(c.a, c.b), c.expected, 1e-12) << c.a << " → " << c.b;
}

TEST_F(Angles, NormalizeAngleKeepsTwoPiAndHandlesAnyMagnitude) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double a, expected;
  } cases[] = {
      {0, 0},
      {TwoPi, TwoPi},
      {Pi, Pi},
      {2 * TwoPi, TwoPi},  // a whole number of turns is a full turn, not 0
      {-TwoPi, TwoPi},
      {TwoPi + 1, 1},
      {-HalfPi, ThreeHalfPi},
      {-3 * TwoPi - 1, TwoPi - 1},
  };
  for (const auto& c : cases) EXPECT_NEAR(NormalizeAngle(c.a), c.expected, 1e-12) << c.a;

  // Huge angles come back in range (a subtraction loop would never end).
  for (const double a : {1e300, -1e300, 1e17, -1e17}) {
    const double n = NormalizeAngle(a);
    EXPECT_GE(n, 0) << a;
    EXPECT_LE(n, TwoPi) << a;
  }
  EXPECT_EQ(NormalizeAngle(inf), inf);
  EXPECT_EQ(NormalizeAngle(-inf), -inf);
  EXPECT_TRUE(std::isnan(NormalizeAngle(std::numeric_limits<double>::quiet_NaN())));
}

TEST_F(Angles, QuarterToAngleConvertsAndRejectsOutOfRange) {
  const struct {
    AngleMode mode;
    double q;
    double value;
    std::int32_t status;
  } cases[] = {
      {AngleMode::Radians, 1, HalfPi, 0},
      {AngleMode::Radians, 2.5, 5 * QuarterPi, 0},
      {AngleMode::Radians, 4, TwoPi, 0},
      {AngleMode::Degrees, 3, 270, 0},
      {AngleMode::Degrees, 0.5, 45, 0},
      {AngleMode::Radians, -0.5, 0, GeomStatus::AngleNegative},
      {AngleMode::Degrees, 4.5, 0, GeomStatus::AngleOutOfRange},
      {static_cast<AngleMode>(7), 1, 0, GeomStatus::UnknownMode},
  };
  for (const auto& c : cases) {
    const Result<double> r = QuarterToAngle(c.mode, c.q);
    EXPECT_EQ(r.status, c.status) << c.q;
    EXPECT_EQ(LastStatus, c.status);
    EXPECT_DOUBLE_EQ(r.value, c.value) << c.q;
  }
}

TEST_F(Angles, QuadrantCountsSmallNegativesAsZero) {
  const struct {
    TPointD v;
    int expected;
  } cases[] = {
      {{1, 1}, 1}, {{-1, 1}, 2}, {{-1, -1}, 3}, {{1, -1}, 4}, {{0, 0}, 1}, {{-5e-7, -5e-7}, 1}, {{-2e-6, 0}, 2},
  };
  for (const auto& c : cases) EXPECT_EQ(Quadrant(c.v), c.expected) << c.v.x << "," << c.v.y;
}

TEST_F(Angles, PolarPointReadsItsModeAndSnapsTinyCoordinates) {
  const TPointD o{1, 1};
  const struct {
    PolarMode mode;
    double angle, d;
    TPointD expected;
  } cases[] = {
      {PolarMode::Degrees, 90, 2, {1, 3}},
      {PolarMode::Radians, Pi, 2, {-1, 1}},
      {PolarMode::QuarterTurns, 3, 2, {1, -1}},
      {PolarMode::Degrees, 0, -2, {3, 1}},  // |d|
      {PolarMode::SignedDegrees, 0, -2, {-1, 1}},
      {PolarMode::SignedRadians, HalfPi, -1, {1, 0}},
      {PolarMode::SignedQuarterTurns, 2, -1, {2, 1}},
  };
  for (const auto& c : cases) EXPECT_TRUE(Near(PolarPoint(c.mode, o, c.angle, c.d), c.expected));
  // cos 90° is not exactly 0; the coordinate is snapped to it.
  EXPECT_EQ(PolarPoint(PolarMode::Degrees, {0, 0}, 90, 1).x, 0.0);
  EXPECT_EQ(LastStatus, 0);
  const TPointD bad = PolarPoint(static_cast<PolarMode>(5), o, 1, 1);
  EXPECT_EQ(bad, o);
  EXPECT_EQ(LastStatus, GeomStatus::UnknownMode);
}

TEST_F(Angles, ArcUnitsMapToThePolarModeThatReadsThem) {
  // The arc record numbers radians 0, PolarPoint numbers degrees 0: the same
  // quarter turn in each arc unit must land on the same point.
  const struct {
    ArcAngleUnit unit;
    double quarterTurn;
    PolarMode mode, signedMode;
  } cases[] = {
      {ArcAngleUnit::Radians, HalfPi, PolarMode::Radians, PolarMode::SignedRadians},
      {ArcAngleUnit::Degrees, 90, PolarMode::Degrees, PolarMode::SignedDegrees},
      {ArcAngleUnit::QuarterTurns, 1, PolarMode::QuarterTurns, PolarMode::SignedQuarterTurns},
  };
  for (const auto& c : cases) {
    const Result<PolarMode> m = PolarModeFor(c.unit);
    ASSERT_TRUE(m.ok());
    EXPECT_EQ(m.value, c.mode);
    EXPECT_EQ(PolarModeFor(c.unit, true).value, c.signedMode);
    EXPECT_TRUE(Near(PolarPoint(m.value, {0, 0}, c.quarterTurn, 2), {0, 2}));
    EXPECT_DOUBLE_EQ(ArcAngleToRadians(c.quarterTurn, c.unit).value, HalfPi);
  }
  EXPECT_EQ(PolarModeFor(static_cast<ArcAngleUnit>(9)).status, GeomStatus::UnknownAngleUnit);
  EXPECT_EQ(ArcAngleToRadians(1, static_cast<ArcAngleUnit>(9)).status, GeomStatus::UnknownAngleUnit);
}

TEST_F(Angles, RotateAndMirror) {
  EXPECT_TRUE(Near(RotatePointDeg({2, 1}, {1, 1}, 90), {1, 2}));
  EXPECT_TRUE(Near(RotatePointDeg({2, 1}, {1, 1}, -180), {0, 1}));
  const TPointD p{0.3, 0.7};
  EXPECT_EQ(RotatePointDeg(p, {5, 5}, 1e-7), p);  // an angle that IsZero changes nothing

  const struct {
    TPointD a, b, p, expected;
  } mirrors[] = {
      {{1, 0}, {1, 5}, {3, 2}, {-1, 2}},         // vertical
      {{1, 0}, {1 + 5e-7, 5}, {3, 2}, {-1, 2}},  // within Tol6 of vertical
      {{0, 1}, {4, 1}, {3, 3}, {3, -1}},         // horizontal
      {{0, 0}, {2, 2}, {3, 1}, {1, 3}},          // the diagonal swaps x and y
      {{2, 2}, {2, 2}, {3, 1}, {1, 1}},          // coincident points: the vertical through them
  };
  for (const auto& m : mirrors) EXPECT_TRUE(Near(MirrorPoint(m.p, m.a, m.b), m.expected));
}

}  // namespace
}  // namespace qm::test
