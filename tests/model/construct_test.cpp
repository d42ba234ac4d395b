// Construct: every construction case of the line, arc and circle tools with
// its alternatives in order, or its refusal; the tangent-circle solvers.
#include <array>
#include <functional>

#include "model/tangent.h"
#include "model_fixture.h"

namespace qm::test {
namespace {

using Construct = ModelTest;

// What one result should be: a line (a → b), an arc (centre, signed radius,
// a → b) or a circle (centre, radius).
struct Want {
  enum class K { Line, Arc, Circle } kind;
  TPointD a{}, b{}, c{};
  double r = 0;
};
Want Seg(TPointD a, TPointD b) { return {Want::K::Line, a, b, {}, 0}; }
Want Arc(TPointD c, double r, TPointD a, TPointD b) { return {Want::K::Arc, a, b, c, r}; }
Want Circ(TPointD c, double r) { return {Want::K::Circle, {}, {}, c, r}; }

::testing::AssertionResult Matches(const TCadObj& e, const Want& w, double tol) {
  switch (w.kind) {
    case Want::K::Line: {
      if (!dynamic_cast<const TCadLine*>(&e)) return ::testing::AssertionFailure() << "not a line";
      return Ends(e, w.a, w.b, tol);
    }
    case Want::K::Arc: {
      if (!dynamic_cast<const TCadArc*>(&e)) return ::testing::AssertionFailure() << "not an arc";
      TArcRec r;
      if (!e.GetArcData(r)) return ::testing::AssertionFailure() << "arc without record";
      if (!Near(r.Center, w.c, tol) || std::fabs(r.Radius - w.r) > tol)
        return ::testing::AssertionFailure() << "arc about (" << r.Center.x << ", " << r.Center.y << ") radius "
                                             << r.Radius;
      return Ends(e, w.a, w.b, tol);
    }
    case Want::K::Circle: {
      const auto* c = dynamic_cast<const TCadCirc*>(&e);
      if (!c) return ::testing::AssertionFailure() << "not a circle";
      if (!Near(c->Center(), w.c, tol) || std::fabs(c->Radius() - w.r) > tol)
        return ::testing::AssertionFailure() << "circle about (" << c->Center().x << ", " << c->Center().y
                                             << ") radius " << c->Radius();
      return ::testing::AssertionSuccess();
    }
  }
  return ::testing::AssertionFailure();
}

// The results in the order given, or (anyOrder) each matching one wanted.
::testing::AssertionResult Results(const TExList<TCadObj>& out, const std::vector<Want>& want, bool anyOrder,
                                   double tol) {
  if (out.Count() != static_cast<int>(want.size()))
    return ::testing::AssertionFailure() << out.Count() << " results, expected " << want.size();
  std::vector<bool> used(want.size());
  for (int i = 0; i < out.Count(); ++i) {
    const TCadObj& e = *out.At(i);
    if (!anyOrder) {
      const ::testing::AssertionResult m = Matches(e, want[static_cast<std::size_t>(i)], tol);
      if (!m) return ::testing::AssertionFailure() << "result " << i << ": " << m.message();
      continue;
    }
    bool found = false;
    for (std::size_t j = 0; j < want.size() && !found; ++j)
      if (!used[j] && Matches(e, want[j], tol)) found = used[j] = true;
    if (!found) return ::testing::AssertionFailure() << "result " << i << " matches nothing wanted";
  }
  return ::testing::AssertionSuccess();
}

// The answer expected: a count, 0 (more clicks), −1, or a refusal (−5)
// with its message or none.
struct Answer {
  std::int16_t code;
  const char* message;
};
const Answer kWait{construct::NeedMore, nullptr};
const Answer kProblem{construct::ObjectProblem, construct_msg::ObjectProblem};
const Answer kSilent{construct::Refused, nullptr};
Answer Says(const char* text) { return {construct::Refused, text}; }
Answer Gives(int n) { return {static_cast<std::int16_t>(n), nullptr}; }

struct Case {
  const char* name;
  std::uint8_t kind;
  TConstructInput input;
  Clicks clicks;
  Answer answer;
  std::vector<Want> results = {};
  bool anyOrder = false;
};

void RunCases(const std::function<std::unique_ptr<TCadObj>()>& makeProto, std::vector<Case>& cases, double tol) {
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TCadObj> proto = makeProto();
    proto->SetKind(c.kind);
    TExList<TCadObj> out;
    const TConstructResult r = c.clicks.Run(*proto, out, c.input);
    EXPECT_EQ(r.code, c.answer.code);
    if (c.answer.message)
      EXPECT_STREQ(r.message, c.answer.message);
    else
      EXPECT_EQ(r.message, nullptr) << r.message;
    if (r.code > 0)
      EXPECT_EQ(r.code, out.Count());
    else
      EXPECT_TRUE(out.Empty());
    EXPECT_TRUE(Results(out, c.results, c.anyOrder, tol));
  }
}

TConstructInput In(double length, double angleDeg, bool forceLength = true, bool forceAngle = true) {
  TConstructInput in;
  in.length = length;
  in.angleDeg = angleDeg;
  in.forceLength = forceLength;
  in.forceAngle = forceAngle;
  return in;
}
TConstructInput Radius(double r) {
  TConstructInput in;
  in.radius = r;
  return in;
}
const TConstructInput kDefault{};
const TConstructInput kLengthOnly = In(1, 0, true, false);
const TConstructInput kAngleOnly = In(1, 0, false, true);

constexpr std::uint8_t K0 = 0, K1 = 1, K2 = 2, K3 = 3;

TEST_F(Construct, LineCases) {
  using C = Clicks;
  const double s = 0.9797958971132712;  // √(1 − 0.2²): the inner tangents of two unit circles 10 apart
  std::vector<Case> cases;
  auto add = [&](Case c) { cases.push_back(std::move(c)); };
  // Case 1: one click completes only a forced length and angle.
  add({"1: kind 3 forced", K3, In(2, 90), C().F(1, 1), Gives(1), {Seg({1, 1}, {1, 3})}});
  add({"1: kind 0 waits", K0, kDefault, C().F(1, 1), kWait});
  add({"1: kind 3 length only waits", K3, kLengthOnly, C().F(1, 1), kWait});
  // Case 2.
  add({"2: kind 0", K0, kDefault, C().F(0, 0).F(3, 4), Gives(1), {Seg({0, 0}, {3, 4})}});
  add({"2: kind 1", K1, kDefault, C().F(1, 1).F(5, 7), Gives(1), {Seg({1, 1}, {5, 1})}});
  add({"2: kind 2", K2, kDefault, C().F(1, 1).F(5, 7), Gives(1), {Seg({1, 1}, {1, 7})}});
  add({"2: kind 3 forced angle", K3, In(1, 0), C().F(0, 0).F(3, 4), Gives(1), {Seg({0, 0}, {5, 0})}});
  add({"2: kind 3 forced length", K3, In(10, 0, true, false), C().F(0, 0).F(3, 4), Gives(1), {Seg({0, 0}, {6, 8})}});
  add({"2: kind 3 neither", K3, In(10, 0, false, false), C().F(0, 0).F(3, 4), Gives(1), {Seg({0, 0}, {3, 4})}});
  add({"2: coincident clicks", K0, kDefault, C().F(2, 2).F(2, 2), kProblem});
  add({"three clicks: no such case", K0, kDefault, C().F(0, 0).F(1, 0).F(2, 2), kSilent});
  // Case 10: a tangent at the forced angle, forced length.
  add({"10: kind 3 forced",
       K3,
       In(2, 0),
       C().T(Circle(0, 0, 1)),
       Gives(4),
       {Seg({0, 1}, {2, 1}), Seg({0, 1}, {-2, 1}), Seg({0, -1}, {2, -1}), Seg({0, -1}, {-2, -1})}});
  add({"10: kind 3 with a line", K3, In(2, 0), C().T(Line(0, 0, 1, 0)), Says(construct_msg::TangentToLine)});
  add({"10: kind 0 waits", K0, kDefault, C().T(Circle(0, 0, 1)), kWait});
  // Case 11: tangents through a point.
  add({"11: kind 0",
       K0,
       kDefault,
       C().F(2, 0).T(Circle(0, 0, 1)),
       Gives(2),
       {Seg({2, 0}, {0.5, -kS3}), Seg({2, 0}, {0.5, kS3})}});
  add({"11: kind 0 inside", K0, kDefault, C().F(0.5, 0).T(Circle(0, 0, 1)), kSilent});
  add({"11: kind 0 on the circle", K0, kDefault, C().F(1, 0).T(Circle(0, 0, 1)), kProblem});
  add({"11: kind 1",
       K1,
       kDefault,
       C().F(3, 5).T(Circle(0, 0, 1)),
       Gives(2),
       {Seg({3, 1}, {0, 1}), Seg({3, -1}, {0, -1})}});
  add({"11: kind 2",
       K2,
       kDefault,
       C().F(3, 5).T(Circle(0, 0, 1)),
       Gives(2),
       {Seg({1, 5}, {1, 0}), Seg({-1, 5}, {-1, 0})}});
  add({"11: kind 3 forced length",
       K3,
       kLengthOnly,
       C().F(2, 0).T(Circle(0, 0, 1)),
       Gives(2),
       {Seg({2, 0}, {2 - kS3, -0.5}), Seg({2, 0}, {2 - kS3, 0.5})}});
  add({"11: kind 3 forced both: the length counts",
       K3,
       In(1, 45),
       C().F(2, 0).T(Circle(0, 0, 1)),
       Gives(2),
       {Seg({2, 0}, {2 - kS3, -0.5}), Seg({2, 0}, {2 - kS3, 0.5})}});
  add({"11: kind 3 forced angle",
       K3,
       kAngleOnly,
       C().F(3, 2).T(Circle(0, 0, 1)),
       Gives(1),
       {Seg({0, 1}, {std::sqrt(10.0), 1})}});
  add({"11: tangent to a line", K0, kDefault, C().F(0, 0).T(Line(0, 1, 5, 1)), Says(construct_msg::TangentToLine)});
  // Case 20: common tangents.
  add({"20: kind 0",
       K0,
       kDefault,
       C().T(Circle(0, 0, 1)).T(Circle(10, 0, 1)),
       Gives(4),
       {Seg({0, -1}, {10, -1}), Seg({0, 1}, {10, 1}), Seg({0.2, -s}, {9.8, s}), Seg({0.2, s}, {9.8, -s})}});
  add({"20: kind 1",
       K1,
       kDefault,
       C().T(Circle(0, 0, 1)).T(Circle(10, 0, 1)),
       Gives(2),
       {Seg({0, 1}, {10, 1}), Seg({0, -1}, {10, -1})}});
  add({"20: kind 1 without a common level",
       K1,
       kDefault,
       C().T(Circle(0, 0, 1)).T(Circle(10, 5, 2)),
       Says(construct_msg::TangentToThese)});
  add({"20: kind 2",
       K2,
       kDefault,
       C().T(Circle(0, 0, 1)).T(Circle(0, 10, 1)),
       Gives(2),
       {Seg({1, 0}, {1, 10}), Seg({-1, 0}, {-1, 10})}});
  add({"20: kind 3 forced length",
       K3,
       In(3, 0, true, false),
       C().T(Circle(0, 0, 1)).T(Circle(10, 0, 1)),
       Gives(4),
       {Seg({0, -1}, {3, -1}), Seg({0, 1}, {3, 1}), Seg({0.2, -s}, {0.2 + 3 * s, -s + 0.6}),
        Seg({0.2, s}, {0.2 + 3 * s, s - 0.6})}});
  add({"20: kind 3 forced angle",
       K3,
       kAngleOnly,
       C().T(Circle(0, 0, 1)).T(Circle(10, 0, 1)),
       Says(construct_msg::KeepAngle)});
  add({"20: a line among them",
       K0,
       kDefault,
       C().T(Circle(0, 0, 1)).T(Line(0, 5, 1, 5)),
       Says(construct_msg::TangentToLine)});
  // Case 101: normals from a point.
  add({"101: kind 0, line", K0, kDefault, C().F(3, 4).N(Line(0, 0, 10, 0)), Gives(1), {Seg({3, 4}, {3, 0})}});
  add({"101: kind 0, circle",
       K0,
       kDefault,
       C().F(6, 8).N(Circle(0, 0, 5)),
       Gives(2),
       {Seg({6, 8}, {3, 4}), Seg({6, 8}, {-3, -4})}});
  add({"101: kind 0, zero-length line", K0, kDefault, C().F(3, 4).N(Line(1, 1, 1, 1)), kProblem});
  add({"101: kind 1, vertical line", K1, kDefault, C().F(1, 2).N(Line(5, 0, 5, 10)), Gives(1), {Seg({1, 2}, {5, 2})}});
  add({"101: kind 1, other line", K1, kDefault, C().F(1, 2).N(Line(0, 0, 10, 1)), Says(construct_msg::NormalToLine)});
  add({"101: kind 1, circle",
       K1,
       kDefault,
       C().F(-5, 3).N(Circle(0, 0, 2)),
       Gives(2),
       {Seg({-5, 0}, {-2, 0}), Seg({-5, 0}, {2, 0})}});
  add({"101: kind 2, horizontal line", K2, kDefault, C().F(3, 5).N(Line(0, 1, 10, 1)), Gives(1), {Seg({3, 5}, {3, 1})}});
  add({"101: kind 2, other line", K2, kDefault, C().F(3, 5).N(Line(5, 0, 5, 10)), Says(construct_msg::NormalToLine)});
  add({"101: kind 2, circle",
       K2,
       kDefault,
       C().F(1, -6).N(Circle(0, 0, 2)),
       Gives(2),
       {Seg({0, -6}, {0, -2}), Seg({0, -6}, {0, 2})}});
  add({"101: kind 3 forced length",
       K3,
       In(2, 0, true, false),
       C().F(3, 4).N(Line(0, 0, 10, 0)),
       Gives(1),
       {Seg({3, 4}, {3, 2})}});
  add({"101: kind 3 forced angle", K3, kAngleOnly, C().F(3, 4).N(Line(0, 0, 10, 0)), Says(construct_msg::KeepAngle)});
  // Case 110: tangent to a circle, normal to an entity.
  add({"110: kind 0, line",
       K0,
       kDefault,
       C().T(Circle(5, 5, 1)).N(Line(0, 0, 10, 0)),
       Gives(2),
       {Seg({6, 5}, {6, 0}), Seg({4, 5}, {4, 0})}});
  add({"110: kind 0, circle",
       K0,
       kDefault,
       C().T(Circle(0, 0, 1)).N(Circle(2, 0, 0.5)),
       Gives(4),
       {Seg({0.5, -kS3}, {2 - 0.5 * kS3, -0.25}), Seg({0.5, -kS3}, {2 + 0.5 * kS3, 0.25}),
        Seg({0.5, kS3}, {2 - 0.5 * kS3, 0.25}), Seg({0.5, kS3}, {2 + 0.5 * kS3, -0.25})},
       true});
  add({"110: kind 1, vertical line",
       K1,
       kDefault,
       C().T(Circle(0, 0, 1)).N(Line(5, -5, 5, 5)),
       Gives(2),
       {Seg({0, 1}, {5, 1}), Seg({0, -1}, {5, -1})}});
  add({"110: kind 1, other line",
       K1,
       kDefault,
       C().T(Circle(0, 0, 1)).N(Line(0, 3, 10, 3)),
       Says(construct_msg::HorizontalVertical)});
  add({"110: kind 2, horizontal line",
       K2,
       kDefault,
       C().T(Circle(0, 0, 1)).N(Line(-5, 3, 5, 3)),
       Gives(2),
       {Seg({1, 0}, {1, 3}), Seg({-1, 0}, {-1, 3})}});
  add({"110: kind 3 forced length",
       K3,
       In(2, 0, true, false),
       C().T(Circle(5, 5, 1)).N(Line(0, 0, 10, 0)),
       Gives(2),
       {Seg({6, 5}, {6, 3}), Seg({4, 5}, {4, 3})}});
  add({"110: kind 3 forced angle",
       K3,
       kAngleOnly,
       C().T(Circle(5, 5, 1)).N(Line(0, 0, 10, 0)),
       Says(construct_msg::KeepAngle)});
  add({"110: tangent to a line",
       K0,
       kDefault,
       C().T(Line(0, 5, 1, 5)).N(Line(0, 0, 10, 0)),
       Says(construct_msg::TangentToLine)});
  // Case 200: normal to two entities.
  add({"200: two lines", K0, kDefault, C().N(Line(0, 0, 1, 0)).N(Line(0, 0, 0, 1)), Says(construct_msg::NormalToLine)});
  add({"200: line and circle",
       K0,
       kDefault,
       C().N(Line(0, 0, 10, 0)).N(Circle(5, 5, 1)),
       Gives(2),
       {Seg({5, 4}, {5, 0}), Seg({5, 6}, {5, 0})},
       true});
  add({"200: two circles",
       K0,
       kDefault,
       C().N(Circle(0, 0, 1)).N(Circle(10, 0, 2)),
       Gives(2),
       {Seg({1, 0}, {8, 0}), Seg({-1, 0}, {12, 0})},
       true});
  add({"200: kind 1 keeps horizontal results",
       K1,
       kDefault,
       C().N(Circle(0, 0, 1)).N(Circle(10, 0, 2)),
       Gives(2),
       {Seg({1, 0}, {8, 0}), Seg({-1, 0}, {12, 0})},
       true});
  add({"200: kind 2 refuses horizontal results",
       K2,
       kDefault,
       C().N(Circle(0, 0, 1)).N(Circle(10, 0, 2)),
       Says(construct_msg::NormalToLine)});
  add({"200: kind 3 at the forced angle",
       K3,
       In(1, 180),
       C().N(Circle(0, 0, 1)).N(Circle(10, 0, 2)),
       Gives(2),
       {Seg({1, 0}, {8, 0}), Seg({-1, 0}, {12, 0})},
       true});
  add({"200: kind 3 at another angle",
       K3,
       In(1, 30),
       C().N(Circle(0, 0, 1)).N(Circle(10, 0, 2)),
       Says(construct_msg::NormalToLine)});
  // Counts no case completes.
  add({"fixed and tangent: waits for nothing", K0, kDefault, C().F(0, 0).F(1, 1).T(Circle(5, 5, 1)), kSilent});
  add({"a tangent first waits", K0, kDefault, C().T(Circle(5, 5, 1)), kWait});
  add({"a normal first waits", K1, kDefault, C().N(Line(0, 0, 1, 0)), kWait});
  add({"three normals", K0, kDefault, C().N(Line(0, 0, 1, 0)).N(Line(0, 1, 1, 1)).N(Line(0, 2, 1, 2)), kSilent});
  RunCases([] { return std::make_unique<TCadLine>(TPointD{}, TPointD{}); }, cases, 1e-9);
}

TEST_F(Construct, ResultsTakeThePrototypesHeader) {
  TCadGroup layer(nullptr, 1, "L");
  TCadLine proto(5, &layer, ofVisible | ofPreview, {0, 0}, {0, 0});
  proto.SetKind(TCadLine::KindDiagonal);
  TExList<TCadObj> out;
  ASSERT_EQ(Clicks().F(0, 0).F(1, 1).Run(proto, out).code, 1);
  EXPECT_EQ(out.First()->Layer(), 5);
  EXPECT_EQ(out.First()->Owner(), &layer);
  EXPECT_EQ(out.First()->Flags(), proto.Flags());
  EXPECT_EQ(layer.MemberCount(), 0);  // a candidate, not a member

  TCadCirc cproto(5, &layer, ofVisible, {0, 0}, 1);
  cproto.SetKind(TCadCirc::KindCenterRadius);
  ASSERT_EQ(Clicks().F(2, 2).Run(cproto, out, Radius(-3)).code, 1);  // |R|
  EXPECT_EQ(out.Last()->Layer(), 5);
  EXPECT_EQ(out.Last()->Owner(), &layer);
  EXPECT_EQ(static_cast<TCadCirc*>(out.Last())->Radius(), 3);

  // An inserted result leaves the prototype state behind.
  TCadObj* kept = layer.InsertMember(out.Extract(0));
  EXPECT_EQ(kept->Kind(), 0);
  EXPECT_FALSE(kept->HasFlag(ofPreview));
}

TEST_F(Construct, ArcAndCircleCases) {
  using C = Clicks;
  const double r2 = 5 * std::sqrt(2.0), k = 0.9682458365518543;  // √(1 − 1/16)
  const double a = std::sqrt(12.0), b = std::sqrt(240.0) / 8;
  std::vector<Case> arcs, circles;
  auto arc = [&](Case c) { arcs.push_back(std::move(c)); };
  auto circle = [&](Case c) { circles.push_back(std::move(c)); };
  const TPointD P{0, 0}, Q{10, 0};

  // Case 1.
  circle({"1: circle 2", K2, Radius(2), C().F(1, 1), Gives(1), {Circ({1, 1}, 2)}});
  circle({"1: circle 2 with a second click", K2, Radius(2), C().F(1, 1).F(2, 2), kSilent});
  circle({"1: circle 1 waits", K1, Radius(2), C().F(1, 1), kWait});
  // Case 2: two points and a radius.
  arc({"2: arc 1, R = 5",
       K1,
       Radius(5),
       C().F(0, 0).F(10, 0),
       Gives(2),
       {Arc({5, 0}, 5, P, Q), Arc({5, 0}, -5, P, Q)}});
  arc({"2: arc 1, R within Tol6 of half",
       K1,
       Radius(4.9999999),
       C().F(0, 0).F(10, 0),
       Gives(2),
       {Arc({5, 0}, 5, P, Q), Arc({5, 0}, -5, P, Q)}});
  arc({"2: arc 1, R = 4", K1, Radius(4), C().F(0, 0).F(10, 0), kSilent});
  arc({"2: arc 1, R = 5√2",
       K1,
       Radius(r2),
       C().F(0, 0).F(10, 0),
       Gives(4),
       {Arc({5, 5}, r2, P, Q), Arc({5, 5}, -r2, P, Q), Arc({5, -5}, r2, P, Q), Arc({5, -5}, -r2, P, Q)}});
  arc({"2: arc 1, coincident clicks", K1, Radius(5), C().F(1, 1).F(1, 1), kProblem});
  circle({"2: circle 1, R = 5", K1, Radius(5), C().F(0, 0).F(10, 0), Gives(1), {Circ({5, 0}, 5)}});
  circle({"2: circle 1, R = 5√2",
          K1,
          Radius(r2),
          C().F(0, 0).F(10, 0),
          Gives(2),
          {Circ({5, 5}, r2), Circ({5, -5}, r2)}});
  circle({"2: circle 1, R = 4", K1, Radius(4), C().F(0, 0).F(10, 0), kProblem});
  circle({"2: circle 1, coincident clicks", K1, Radius(5), C().F(1, 1).F(1, 1), kProblem});
  circle({"2: circle 3", K3, kDefault, C().F(1, 1).F(4, 5), Gives(1), {Circ({1, 1}, 5)}});
  circle({"2: circle 3, coincident clicks", K3, kDefault, C().F(1, 1).F(1, 1), kProblem});
  circle({"1: circle 3 waits", K3, kDefault, C().F(1, 1), kWait});
  // Case 3: three points.
  arc({"3: arc 0 counter-clockwise",
       K0,
       kDefault,
       C().F(1, 0).F(0, 1).F(-1, 0),
       Gives(1),
       {Arc({0, 0}, 1, {1, 0}, {-1, 0})}});
  arc({"3: arc 0 clockwise",
       K0,
       kDefault,
       C().F(1, 0).F(0, -1).F(-1, 0),
       Gives(1),
       {Arc({0, 0}, -1, {1, 0}, {-1, 0})}});
  arc({"3: arc 0 collinear", K0, kDefault, C().F(0, 0).F(1, 1).F(2, 2), kProblem});
  arc({"2: arc 0 waits", K0, kDefault, C().F(0, 0).F(1, 1), kWait});
  arc({"3: arc 2", K2, kDefault, C().F(0, 0).F(2, 0).F(0, 5), Gives(1), {Arc({0, 0}, 2, {2, 0}, {0, 2})}});
  arc({"3: arc 3", K3, Radius(3), C().F(0, 0).F(1, 0).F(0, -1), Gives(1), {Arc({0, 0}, 3, {3, 0}, {0, -3})}});
  arc({"3: arc 2, centre clicked twice", K2, kDefault, C().F(0, 0).F(0, 0).F(0, 5), kProblem});
  circle({"3: circle 0", K0, kDefault, C().F(1, 0).F(0, 1).F(-1, 0), Gives(1), {Circ({0, 0}, 1)}});
  circle({"3: circle 0 collinear", K0, kDefault, C().F(0, 0).F(1, 1).F(2, 2), kProblem});
  // Case 11: through P with radius R, or centred at P, tangent to E.
  circle({"11: circle 1 through P, line",
          K1,
          Radius(1),
          C().F(0, 1).T(Line(-5, 0, 5, 0)),
          Gives(2),
          {Circ({1, 1}, 1), Circ({-1, 1}, 1)}});
  arc({"11: arc 1 through P, line",
       K1,
       Radius(1),
       C().F(0, 1).T(Line(-5, 0, 5, 0)),
       Gives(4),
       {Arc({1, 1}, 1, {0, 1}, {1, 0}), Arc({1, 1}, -1, {0, 1}, {1, 0}), Arc({-1, 1}, 1, {0, 1}, {-1, 0}),
        Arc({-1, 1}, -1, {0, 1}, {-1, 0})}});
  circle({"11: circle 1 through P inside a circle",
          K1,
          Radius(1),
          C().F(0, 0.5).T(Circle(0, 0, 2)),
          Gives(2),
          {Circ({k, 0.25}, 1), Circ({-k, 0.25}, 1)}});
  circle({"11: circle 1 through P outside a circle",
          K1,
          Radius(1),
          C().F(2, 0).T(Circle(0, 0, 1)),
          Gives(2),
          {Circ({1.75, -k}, 1), Circ({1.75, k}, 1)}});
  circle({"11: circle 1 through P, touching once",
          K1,
          Radius(1),
          C().F(3, 0).T(Circle(0, 0, 1)),
          Gives(1),
          {Circ({2, 0}, 1)}});
  circle({"11: circle 1, too small to reach", K1, Radius(0.1), C().F(5, 0).T(Circle(0, 0, 1)), kProblem});
  arc({"11: arc 1, too small to reach", K1, Radius(0.1), C().F(5, 0).T(Circle(0, 0, 1)), kSilent});
  circle({"11: circle 2 centred at P, line", K2, kDefault, C().F(3, 4).T(Line(0, 0, 10, 0)), Gives(1), {Circ({3, 4}, 4)}});
  circle({"11: circle 2 centred beyond the line's end",
          K2,
          kDefault,
          C().F(-3, 4).T(Line(0, 0, 10, 0)),
          Gives(1),
          {Circ({-3, 4}, 5)}});
  circle({"11: circle 2 centred on the line", K2, kDefault, C().F(3, 0).T(Line(0, 0, 10, 0)), kProblem});
  circle({"11: circle 2 centred, zero-length line", K2, kDefault, C().F(3, 4).T(Line(1, 1, 1, 1)), kProblem});
  circle({"11: circle 2 centred outside a circle",
          K2,
          kDefault,
          C().F(0, 0).T(Circle(5, 0, 2)),
          Gives(2),
          {Circ({0, 0}, 3), Circ({0, 0}, 7)}});
  circle({"11: circle 2 centred inside a circle", K2, kDefault, C().F(1, 0).T(Circle(3, 0, 5)), Gives(1), {Circ({1, 0}, 3)}});
  circle({"11: circle 2 centred on the circle", K2, kDefault, C().F(0, 0).T(Circle(5, 0, 5)), kProblem});
  circle({"11: circle 2 centred on the circle within Tol6",
          K2,
          kDefault,
          C().F(0.0000005, 0).T(Circle(5, 0, 5)),
          kProblem});
  arc({"11: arc 3 centred at P, line",
       K3,
       kDefault,
       C().F(3, 4).T(Line(0, 0, 10, 0)),
       Gives(1),
       {Arc({3, 4}, 4, {-1, 4}, {7, 4})}});
  // Case 12: through two points tangent to E.
  circle({"12: circle 0, two circles",
          K0,
          kDefault,
          C().F(0, 1).F(0, 3).T(Line(-10, 0, 10, 0)),
          Gives(2),
          {Circ({std::sqrt(3.0), 2}, 2), Circ({-std::sqrt(3.0), 2}, 2)},
          true});
  circle({"12: circle 0, one circle",
          K0,
          kDefault,
          C().F(-1, 1).F(1, 1).T(Line(-10, 0, 10, 0)),
          Gives(1),
          {Circ({0, 1}, 1)}});
  circle({"12: circle 0, the line between", K0, kDefault, C().F(0, 1).F(0, -1).T(Line(-10, 0, 10, 0)), kProblem});
  circle({"12: circle 0, coincident clicks", K0, kDefault, C().F(0, 1).F(0, 1).T(Line(-10, 0, 10, 0)), kProblem});
  arc({"12: arc 0 through the touching point",
       K0,
       kDefault,
       C().F(0, 1).F(0, 3).T(Line(-10, 0, 10, 0)),
       Gives(2),
       {Arc({std::sqrt(3.0), 2}, 2, {0, 1}, {0, 3}), Arc({-std::sqrt(3.0), 2}, -2, {0, 1}, {0, 3})},
       true});
  arc({"12: arc 0, the line between", K0, kDefault, C().F(0, 1).F(0, -1).T(Line(-10, 0, 10, 0)), kProblem});
  // Case 20: radius R tangent to two entities.
  circle({"20: circle 1, the lines y = 0 and x = 0",
          K1,
          Radius(1),
          C().T(Line(0, 0, 1, 0)).T(Line(0, 0, 0, 1)),
          Gives(4),
          {Circ({-1, 1}, 1), Circ({1, 1}, 1), Circ({1, -1}, 1), Circ({-1, -1}, 1)}});
  circle({"20: circle 2, parallel lines 2R apart", K2, Radius(1), C().T(Line(0, 0, 10, 0)).T(Line(0, 2, 10, 2)), kProblem});
  arc({"20: arc 1, fillets of y = 0 and x = 0",
       K1,
       Radius(1),
       C().T(Line(0, 0, 1, 0)).T(Line(0, 0, 0, 1)),
       Gives(4),
       {Arc({-1, 1}, 1, {-1, 0}, {0, 1}), Arc({1, 1}, -1, {1, 0}, {0, 1}), Arc({1, -1}, 1, {1, 0}, {0, -1}),
        Arc({-1, -1}, -1, {-1, 0}, {0, -1})}});
  arc({"20: arc 1, parallel lines", K1, Radius(1), C().T(Line(0, 0, 10, 0)).T(Line(0, 2, 10, 2)), kSilent});
  circle({"20: circle 1, a line and a circle",
          K1,
          Radius(1),
          C().T(Line(-10, 0, 10, 0)).T(Circle(0, 2, 1)),
          Gives(2),
          {Circ({std::sqrt(3.0), 1}, 1), Circ({-std::sqrt(3.0), 1}, 1)}});
  circle({"20: circle 1, a circle and a line",
          K1,
          Radius(1),
          C().T(Circle(0, 2, 1)).T(Line(-10, 0, 10, 0)),
          Gives(2),
          {Circ({std::sqrt(3.0), 1}, 1), Circ({-std::sqrt(3.0), 1}, 1)}});
  circle({"20: circle 1, two circles without repeats",
          K1,
          Radius(3),
          C().T(Circle(0, 0, 1)).T(Circle(4, 0, 1)),
          Gives(7),
          {Circ({2, a}, 3), Circ({2, -a}, 3), Circ({2, 0}, 3), Circ({0.5, b}, 3), Circ({0.5, -b}, 3), Circ({3.5, b}, 3),
           Circ({3.5, -b}, 3)}});
  circle({"20: circle 1, concentric circles", K1, Radius(1), C().T(Circle(0, 0, 1)).T(Circle(0, 0, 3)), kProblem});
  // Case 21: through P tangent to two entities.
  circle({"21: circle 0, two lines",
          K0,
          kDefault,
          C().T(Line(0, 0, 10, 0)).F(1, 2).T(Line(0, 0, 0, 10)),
          Gives(2),
          {Circ({1, 1}, 1), Circ({5, 5}, 5)},
          true});
  circle({"21: circle 0, outside parallel lines",
          K0,
          kDefault,
          C().T(Line(-10, 0, 10, 0)).F(0, 5).T(Line(-10, 2, 10, 2)),
          kProblem});
  arc({"21: arc 0, outside parallel lines", K0, kDefault, C().T(Line(-10, 0, 10, 0)).F(0, 5).T(Line(-10, 2, 10, 2)), kSilent});
  circle({"21: circle 0, a point on the circle drops the point circle",
          K0,
          kDefault,
          C().T(Circle(0, 0, 1)).F(1, 0).T(Line(3, -5, 3, 5)),
          Gives(1),
          {Circ({2, 0}, 1)}});
  // Case 30: tangent to three entities.
  circle({"30: circle 0, the sides of a triangle",
          K0,
          kDefault,
          C().T(Line(0, 0, 4, 0)).T(Line(4, 0, 0, 3)).T(Line(0, 3, 0, 0)),
          Gives(4),
          {Circ({1, 1}, 1), Circ({6, 6}, 6), Circ({-2, 2}, 2), Circ({3, -3}, 3)},
          true});
  circle({"30: circle 0, three parallel lines",
          K0,
          kDefault,
          C().T(Line(0, 0, 1, 0)).T(Line(0, 1, 1, 1)).T(Line(0, 2, 1, 2)),
          kSilent});
  // Counts no case of the tool completes.
  circle({"circle 3 with a tangent", K3, kDefault, C().T(Circle(0, 0, 1)), kSilent});
  circle({"circle 0 with a normal", K0, kDefault, C().N(Circle(0, 0, 1)), kSilent});
  arc({"arc 2 with a tangent", K2, kDefault, C().F(0, 0).T(Circle(0, 0, 1)), kSilent});
  arc({"arc 1 waits for a second click", K1, Radius(1), C().F(0, 0), kWait});
  arc({"arc 0, four tangents", K0, kDefault, C().T(Line(0, 0, 1, 0)).T(Line(0, 1, 1, 1)).T(Line(0, 2, 1, 2)).T(Line(0, 3, 1, 3)), kSilent});

  RunCases([] { return std::make_unique<TCadArc>(TPointD{}, TPointD{1, 0}, 1); }, arcs, 1e-7);
  RunCases([] { return std::make_unique<TCadCirc>(TPointD{}, 1); }, circles, 1e-7);
}

// Every result of the tangency solvers really touches what it should.
bool Touches(const TCarrier& o, TPointD c, double r, double tol) {
  switch (o.kind) {
    case TCarrier::Kind::Line:
      return std::fabs(std::fabs(PointLineDistance(LineDistanceMode::SignedLine, c, o.seg).distance) - r) <= tol;
    case TCarrier::Kind::Circle: {
      const double d = Distance(c, o.center);
      return std::fabs(d - (r + o.radius)) <= tol || std::fabs(d - std::fabs(r - o.radius)) <= tol;
    }
    case TCarrier::Kind::Point: return std::fabs(Distance(c, o.center) - r) <= tol;
    default: return false;
  }
}

TEST_F(Construct, TangentToThreeFindsEveryDistinctSolution) {
  using T = TCarrier;
  const struct {
    const char* name;
    std::array<TCarrier, 3> objects;
    std::size_t count;
  } cases[] = {
      {"three circles apart", {T::CircleOf({0, 0}, 1), T::CircleOf({10, 0}, 1), T::CircleOf({5, 8}, 1)}, 8},
      {"two lines and a circle", {T::LineOf({0, 0}, {1, 0}), T::LineOf({0, 0}, {0, 1}), T::CircleOf({5, 5}, 1)}, 4},  // all in the first quadrant
      {"a line and two circles", {T::LineOf({-10, 0}, {10, 0}), T::CircleOf({-3, 3}, 1), T::CircleOf({3, 3}, 1)}, 6},  // all above the line
      {"three points", {T::PointAt({1, 0}), T::PointAt({0, 1}), T::PointAt({-1, 0})}, 1},
      {"far from the origin",
       {T::CircleOf({1e5, 1e5}, 1), T::CircleOf({1e5 + 10, 1e5}, 1), T::CircleOf({1e5 + 5, 1e5 + 8}, 1)},
       8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<TCircleSol> sols = CirclesTangentToThree(c.objects);
    EXPECT_EQ(sols.size(), c.count);
    for (std::size_t i = 0; i < sols.size(); ++i) {
      EXPECT_GT(sols[i].radius, Tol6);
      const double tol = 1e-6 * std::max(1.0, sols[i].radius);
      for (const TCarrier& o : c.objects) EXPECT_TRUE(Touches(o, sols[i].center, sols[i].radius, tol)) << i;
      for (std::size_t j = 0; j < i; ++j)
        EXPECT_FALSE(SamePoint(sols[i].center, sols[j].center, 1e-6) && std::fabs(sols[i].radius - sols[j].radius) < 1e-6);
    }
  }
}

TEST_F(Construct, TangentArcsRunBetweenTheirTouchingPoints) {
  // Case 30 for arcs: the arcs of the triangle's four circles, from the
  // touching point on the first side through the second's to the third's.
  TCadArc proto({0, 0}, {1, 0}, 1);
  proto.SetKind(TCadArc::KindThreePoints);
  TExList<TCadObj> out;
  Clicks clicks = Clicks().T(Line(0, 0, 4, 0)).T(Line(4, 0, 0, 3)).T(Line(0, 3, 0, 0));
  ASSERT_EQ(clicks.Run(proto, out).code, 4);
  for (const TCadObj* e : out) {
    const TArcRec r = RecordOf(*e);
    const TCarrier first = TCarrier::Of(*clicks.tangent[0].entity), last = TCarrier::Of(*clicks.tangent[2].entity);
    EXPECT_TRUE(Near(e->P1(), TouchPoint(first, r.Center, std::fabs(r.Radius)), 1e-9));
    EXPECT_TRUE(Near(e->P2(), TouchPoint(last, r.Center, std::fabs(r.Radius)), 1e-9));
    const TPointD middle = TouchPoint(TCarrier::Of(*clicks.tangent[1].entity), r.Center, std::fabs(r.Radius));
    EXPECT_TRUE(e->IsOn(middle, 1e-9));
  }

  // Case 101: arcs of radius R through P meeting a circle or a line at right
  // angles: each starts at P and ends on the entity, crossing it squarely.
  proto.SetKind(TCadArc::KindPointsRadius);
  const struct {
    const char* name;
    std::unique_ptr<TCadObj> entity;
    int count;
  } cases[] = {{"circle", Circle(3, 0, 2), 4}, {"line", Line(-10, 0, 10, 0), 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    out.Clear();
    Clicks k;
    k.F(0, 1);
    k.normal.push_back({{}, c.entity.get(), 2});
    ASSERT_EQ(k.Run(proto, out, Radius(2)).code, c.count);
    TArcRec e;
    const bool round = c.entity->GetArcData(e);
    for (const TCadObj* arc : out) {
      const TArcRec r = RecordOf(*arc);
      EXPECT_NEAR(std::fabs(r.Radius), 2, 1e-9);
      EXPECT_TRUE(Near(arc->P1(), {0, 1}, 1e-9));
      EXPECT_LT(c.entity->DistanceTo(arc->P2()), 1e-9);
      const TPointD w = arc->P2();
      if (round)  // the radii at the crossing are perpendicular
        EXPECT_NEAR((w.x - r.Center.x) * (w.x - e.Center.x) + (w.y - r.Center.y) * (w.y - e.Center.y), 0, 1e-6);
      else  // the centre lies on the line
        EXPECT_NEAR(r.Center.y, 0, 1e-9);
    }
  }
}

TEST_F(Construct, TangentCirclesOfRadiusTwoLinesUseTheScaledParallelTest) {
  // Short lines at a small angle are not parallel for the solver when the
  // intersection finds them crossing.
  const TCarrier a = TCarrier::LineOf({0, 0}, {0.001, 0}), b = TCarrier::LineOf({0, 0}, {0.001, 0.0000001});
  EXPECT_NE(IntersectSegments(a.seg, b.seg).status, GeomStatus::SegmentsParallel);
  std::int32_t status = 0;
  EXPECT_EQ(TangentCirclesOfRadius(a, b, 1, &status).size(), 4u);
  // Exactly parallel: none, status 6; a line that is a point: none, status 2.
  EXPECT_TRUE(TangentCirclesOfRadius(TCarrier::LineOf({0, 0}, {1, 0}), TCarrier::LineOf({0, 2}, {5, 2}), 1, &status).empty());
  EXPECT_EQ(status, GeomStatus::ParallelLines);
  EXPECT_TRUE(TangentCirclesOfRadius(TCarrier::LineOf({0, 0}, {0, 0}), TCarrier::LineOf({0, 2}, {5, 2}), 1, &status).empty());
  EXPECT_EQ(status, GeomStatus::CoincidentPoints);
}

}  // namespace
}  // namespace qm::test
