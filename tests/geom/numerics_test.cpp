#include <cstdint>
#include <limits>

#include "geom_fixture.h"

namespace qm::test {
namespace {

TEST(GeomState, ToleranceStartsFineAndSetToleranceKeepsEps2Double) {
  // Before the configuration start-up the kernel works with 1e-7.
  EXPECT_EQ(Eps, 1e-7);
  EXPECT_EQ(Eps2, 2e-7);
  const double saved = Eps;
  SetTolerance(1e-6);
  EXPECT_EQ(Eps, 1e-6);
  EXPECT_EQ(Eps2, 2e-6);
  SetTolerance(saved);
}

using Numerics = GeomTest;

TEST_F(Numerics, ComparisonsAreInclusiveAtTheTolerance) {
  EXPECT_TRUE(IsZero(1e-6));
  EXPECT_TRUE(IsZero(-1e-6));
  EXPECT_FALSE(IsZero(1.1e-6));
  EXPECT_TRUE(IsNonZero(-1.1e-6));
  EXPECT_FALSE(IsPositive(1e-6));
  EXPECT_TRUE(IsPositive(1.1e-6));
  EXPECT_TRUE(IsNotPositive(1e-6));
  EXPECT_FALSE(IsNegative(-1e-6));
  EXPECT_TRUE(IsNegative(-1.1e-6));
  EXPECT_TRUE(IsNotNegative(-1e-6));
  EXPECT_TRUE(IsEqual(1.0, 1.0 + 1.9e-6));
  EXPECT_TRUE(IsNotEqual(1.0, 1.0 + 2.1e-6));
  EXPECT_TRUE(WithinTol(0.5, 1.0, 1.5));
  double x = 5e-7;
  SnapZero(x);
  EXPECT_EQ(x, 0.0);
}

TEST_F(Numerics, SamePointIsStrictInBothCoordinates) {
  EXPECT_TRUE(SamePoint(0, 0, 0.09, -0.09, 0.1));
  EXPECT_FALSE(SamePoint(0, 0, 0.1, 0, 0.1));  // exactly t apart is not the same point
  EXPECT_FALSE(SamePoint(TPointD{0, 0}, TPointD{0, 0.2}, 0.1));
  EXPECT_TRUE(SamePointEps({1, 1}, {1 + 5e-7, 1 - 5e-7}));
  EXPECT_FALSE(SamePoint3D(0, 0, 0, 0, 0, 0.2, 0.1));
  EXPECT_TRUE(SamePoint3D(0, 0, 0, 0.05, 0, 0.05, 0.1));
}

TEST_F(Numerics, CeilTolTreatsNearIntegersFromEitherSideAsThatInteger) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  const struct {
    double x;
    std::int64_t expected;
  } cases[] = {
      {3.0, 3},          {3.0000001, 3},  {2.9999999, 3},  {2.5, 3},    {3.01, 4},
      {-2.5, -2},        {-2.0000001, -2}, {-1.9999999, -2}, {-1.5, -1}, {0.0, 0},
      {1e30, kMax},      {-1e30, kMin},   {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(CeilTol(c.x), c.expected) << c.x;
}

TEST_F(Numerics, ReciprocalAnswersZeroForAVanishingDivisor) {
  EXPECT_EQ(Reciprocal(0.0), 0.0);
  EXPECT_EQ(Reciprocal(-1e-7), 0.0);
  EXPECT_EQ(Reciprocal(4.0), 0.25);
}

TEST_F(Numerics, DistancesAndMidPoint) {
  EXPECT_DOUBLE_EQ(Distance(1, 1, 4, 5), 5.0);
  EXPECT_DOUBLE_EQ(Distance3D(0, 0, 0, 1, 2, 2), 3.0);
  EXPECT_EQ(Distance3D(1, 2, 3, 1, 2, 3), 0.0);
  EXPECT_EQ(SumSquares(3, 4), 25.0);
  const TPointD m = MidPoint({1, 1}, {1 + 1e-7, 3});
  EXPECT_EQ(m.x, 1.0);  // a half-difference within Eps stays exactly the first point's
  EXPECT_EQ(m.y, 2.0);
}

TEST_F(Numerics, DegreeConversionsAreExactAtWholeTurns) {
  // With short literals DegToRad(360) fell short of 2π and normalised to
  // about 2e-11; a 0–360° arc then had a zero sweep.
  EXPECT_EQ(DegToRad(360), TwoPi);
  EXPECT_EQ(NormalizeAngle(DegToRad(360)), TwoPi);
  EXPECT_EQ(DegToRad(90), HalfPi);
  EXPECT_EQ(DegToRad(270), ThreeHalfPi);
  EXPECT_EQ(RadToDeg(Pi), 180.0);
  EXPECT_DOUBLE_EQ(Tan22_5, std::tan(Pi / 8));
}

}  // namespace
}  // namespace qm::test
