// Shared fixture: every geometry test runs with the tolerance the program
// uses after start-up, and restores the previous one afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "geom/geometry.h"

namespace qm::test {

class GeomTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = Eps;
    SetTolerance(1e-6);
    LastStatus = -1;  // so a test can see that an operation wrote it
  }
  void TearDown() override { SetTolerance(saved_); }

 private:
  double saved_ = 0;
};

inline ::testing::AssertionResult Near(TPointD actual, TPointD expected, double tol = 1e-9) {
  if (std::fabs(actual.x - expected.x) <= tol && std::fabs(actual.y - expected.y) <= tol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ") is not within " << tol
                                       << " of (" << expected.x << ", " << expected.y << ")";
}

}  // namespace qm::test
