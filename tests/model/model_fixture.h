// Shared helpers of the model tests: the tolerance the program runs with,
// default settings, click lists and point comparisons.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "geom/geometry.h"
#include "model/arc.h"
#include "model/canvas.h"
#include "model/circle.h"
#include "model/group.h"
#include "model/line.h"

namespace qm::test {

class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedEps_ = Eps;
    SetTolerance(1e-6);
    savedSettings_ = CurrentModelSettings();
    CurrentModelSettings() = ModelSettings{};
  }
  void TearDown() override {
    SetTolerance(savedEps_);
    CurrentModelSettings() = savedSettings_;
  }

 private:
  double savedEps_ = 0;
  ModelSettings savedSettings_;
};

inline ::testing::AssertionResult Near(TPointD actual, TPointD expected, double tol = 1e-9) {
  if (std::fabs(actual.x - expected.x) <= tol && std::fabs(actual.y - expected.y) <= tol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ") is not within " << tol << " of ("
                                       << expected.x << ", " << expected.y << ")";
}

// The end points of an entity, in either order.
inline ::testing::AssertionResult Ends(const TCadObj& e, TPointD a, TPointD b, double tol = 1e-9) {
  if (Near(e.P1(), a, tol) && Near(e.P2(), b, tol)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "ends (" << e.P1().x << ", " << e.P1().y << ")–(" << e.P2().x << ", "
                                       << e.P2().y << "), expected (" << a.x << ", " << a.y << ")–(" << b.x << ", "
                                       << b.y << ")";
}

inline const double kS2 = std::sqrt(0.5);
inline const double kS3 = std::sqrt(3.0) / 2;

// Owns the click lists and the entities behind tangent and normal clicks.
struct Clicks {
  std::vector<TClick> fixed, tangent, normal;
  std::vector<std::unique_ptr<TCadObj>> keep;

  Clicks& F(double x, double y) & {
    fixed.push_back({{x, y}, nullptr, static_cast<std::int16_t>(Count() + 1)});
    return *this;
  }
  Clicks& T(std::unique_ptr<TCadObj> e) & {
    tangent.push_back({{}, e.get(), static_cast<std::int16_t>(Count() + 1)});
    keep.push_back(std::move(e));
    return *this;
  }
  Clicks& N(std::unique_ptr<TCadObj> e) & {
    normal.push_back({{}, e.get(), static_cast<std::int16_t>(Count() + 1)});
    keep.push_back(std::move(e));
    return *this;
  }
  // The same on a temporary, so that a table can be written Clicks().F(…).T(…).
  Clicks&& F(double x, double y) && { return std::move(F(x, y)); }
  Clicks&& T(std::unique_ptr<TCadObj> e) && { return std::move(T(std::move(e))); }
  Clicks&& N(std::unique_ptr<TCadObj> e) && { return std::move(N(std::move(e))); }
  int Count() const { return static_cast<int>(fixed.size() + tangent.size() + normal.size()); }

  TConstructResult Run(TCadObj& proto, TExList<TCadObj>& out, const TConstructInput& in = {}) const {
    return proto.Construct(fixed, tangent, out, {}, normal, in);
  }
};

inline std::unique_ptr<TCadObj> Line(double x1, double y1, double x2, double y2) {
  return std::make_unique<TCadLine>(TPointD{x1, y1}, TPointD{x2, y2});
}
inline std::unique_ptr<TCadObj> Circle(double cx, double cy, double r) {
  return std::make_unique<TCadCirc>(TPointD{cx, cy}, r);
}
// The arc of the circle (c, |r|) from angle a to angle b, counter-clockwise
// for r > 0.
inline std::unique_ptr<TCadArc> ArcOf(TPointD c, double r, double a, double b) {
  TArcRec rec;
  rec.Center = c;
  rec.Radius = r;
  rec.StartAngle = a;
  rec.EndAngle = b;
  return std::make_unique<TCadArc>(0, nullptr, ofVisible, rec);
}

inline TArcRec RecordOf(const TCadObj& e) {
  TArcRec r;
  EXPECT_TRUE(e.GetArcData(r));
  return r;
}

inline std::unique_ptr<TCadObj> Proto(std::unique_ptr<TCadObj> e, std::uint8_t kind) {
  e->SetKind(kind);
  return e;
}

}  // namespace qm::test
