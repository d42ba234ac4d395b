#include "drafting/calc_edit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace qm::test {
namespace {

struct ValueCase {
  const char* text;
  double expected;
};

void ExpectValues(const std::vector<ValueCase>& cases, double x = 0, double y = 0) {
  for (const auto& c : cases) {
    const CalcResult r = EvaluateExpression(c.text, x, y);
    EXPECT_TRUE(r.ok()) << c.text << ": " << CalcErrorText(r.error) << " at " << r.position;
    EXPECT_NEAR(r.value, c.expected, 1e-12 * std::max(1.0, std::fabs(c.expected))) << c.text;
  }
}

TEST(CalcExpression, PrecedenceAndAssociativity) {
  ExpectValues({
      {"2+3*4", 14},
      {"(2+3)*4", 20},
      {"2^3^2", 64},  // powers are taken from the left
      {"2*3^2", 18},
      {"2^3*2", 16},
      {"2+3^2*2", 20},
      {"2-3-4", -5},
      {"8/2/2", 2},
      {"10/4", 2.5},
      {"1-2*3+4/2", -3},
      {"((1+2)*(3+4))", 21},
      {"42", 42},
      {".5", 0.5},
      {"5.", 5},
      {"007.250", 7.25},
      {"2+3=", 5},  // a trailing "=" is allowed
  });
}

TEST(CalcExpression, NegationBelongsToTheOperandBeforeAnyPower) {
  ExpectValues({
      {"-2^2", 4},
      {"-2^3", -8},
      {"2^-1", 0.5},
      {"2*-3", -6},
      {"2--3", 5},
      {"--2", 2},
      {"-(2+3)^2", 25},
      {"-COS(0)", -1},  // the sign applies after the function
      {"-SIN(30)*2", -1},
      {"2*-SQR(9)", -6},
      {"-P", -3.14159265358979323846},
      {"n5", -5},  // N is the negation sign itself
  });
}

TEST(CalcExpression, FunctionsWorkInDegrees) {
  ExpectValues({
      {"sin(30)", 0.5},    {"SIN(30)", 0.5},   {"Sin(150)", 0.5}, {"sin(-30)", -0.5},
      {"cos(60)", 0.5},    {"cos(90)", 0},     {"sin(180)", 0},   {"cos(720)", 1},
      {"tan(45)", 1},      {"tan(-45)", -1},   {"asin(1)", 90},  // |x| = 1 is inside the domain
      {"asin(-1)", -90},   {"acos(1)", 0},     {"acos(-1)", 180}, {"asin(0.5)", 30},
      {"atan(1)", 45},     {"log(exp(1))", 1}, {"exp(0)", 1},     {"exp(88)", std::exp(88.0)},
      {"sqr(16)", 4},  // SQR is the square root
      {"abs(-3)", 3},      {"int(-2.7)", -2},  {"int(2.7)", 2},   {"sin(cos(0)*90)", 1},
      {"absint(-2.5)", 2},                   // names stack: ABS(INT(-2.5))
      {"2*sin(30)+1", 2},  {"sin(30", 0.5},  // parentheses left open close at the end
      {"(2+3", 5},         {"sqr(sqr(16", 2},
  });
}

TEST(CalcExpression, PowersFollowTheSignRules) {
  ExpectValues({
      {"0^0", 1},
      {"5^0", 1},
      {"0^2", 0},
      {"(-2)^3", -8},
      {"(-2)^2", 4},
      {"4^0.5", 2},
      {"(-1)^-1", -1},
  });
}

TEST(CalcExpression, VariablesComeFromTheCaller) {
  ExpectValues({{"X+Y", 7}, {"R", 5}, {"x*y", 12}, {"2*P", 2 * 3.14159265358979323846}}, 3, 4);
  ExpectValues({{"A", 90}}, 0, 2);
  ExpectValues({{"A", 360}}, 1, 0);  // the positive x direction is 360, not 0
  ExpectValues({{"A", 0}, {"R", 0}}, 0, 0);
  EXPECT_EQ(EvaluateExpression("X", NAN, 0).error, CalcError::Overflow);
}

TEST(CalcExpression, ErrorsGiveNoValue) {
  const struct {
    const char* text;
    CalcError error;
  } cases[] = {
      {"", CalcError::Empty},
      {"1 + 2", CalcError::InvalidCharacter},  // a blank is not allowed
      {" 1", CalcError::InvalidCharacter},
      {"1E5", CalcError::InvalidCharacter},
      {"2#3", CalcError::InvalidCharacter},
      {"1/0 ", CalcError::InvalidCharacter},  // characters are checked before anything is evaluated
      {"2\xC2\xB2", CalcError::InvalidCharacter},
      {"sqr(-4)", CalcError::NegativeRoot},
      {"1/0", CalcError::DivisionByZero},
      {"1/(2-2)", CalcError::DivisionByZero},
      {"0^-1", CalcError::DivisionByZero},  // not 0
      {"0^(-0.5)", CalcError::DivisionByZero},
      {"(-8)^(1/3)", CalcError::NegativeBase},
      {"-2^0.5", CalcError::NegativeBase},  // the sign belongs to the 2
      {"log(0)", CalcError::LogDomain},
      {"log(-1)", CalcError::LogDomain},
      {"asin(1.0001)", CalcError::ArcDomain},
      {"acos(-2)", CalcError::ArcDomain},
      {"tan(90)", CalcError::TanUndefined},
      {"tan(-270)", CalcError::TanUndefined},
      {"tan(450)", CalcError::TanUndefined},
      {"exp(88.5)", CalcError::ExpRange},
      {"exp(-89)", CalcError::ExpRange},
      {"10^400", CalcError::Overflow},
      {"99999^99999", CalcError::Overflow},
      {"(10^200)*(10^200)", CalcError::Overflow},
      {"2+", CalcError::Syntax},
      {"*3", CalcError::Syntax},
      {"+2", CalcError::Syntax},
      {"2**3", CalcError::Syntax},
      {"2(3)", CalcError::Syntax},
      {"(2)3", CalcError::Syntax},
      {"()", CalcError::Syntax},
      {"(2+)", CalcError::Syntax},
      {"2+3)*4", CalcError::Syntax},  // a ")" without its "("
      {"1.2.3", CalcError::Syntax},
      {".", CalcError::Syntax},
      {"sin30", CalcError::Syntax},  // a function needs its parenthesis
      {"sin", CalcError::Syntax},
      {"2=3", CalcError::Syntax},
      {"=", CalcError::Syntax},
      {"PX", CalcError::Syntax},
      {"2N3", CalcError::Syntax},
      {"-", CalcError::Syntax},
  };
  for (const auto& c : cases) {
    const CalcResult r = EvaluateExpression(c.text);
    EXPECT_EQ(r.error, c.error) << c.text << ": got " << CalcErrorText(r.error);
    EXPECT_FALSE(r.ok()) << c.text;
  }
  EXPECT_EQ(EvaluateExpression("1 + 2").position, 1u);
}

TEST(CalcExpression, NestingIsLimitedByDepthNotByCount) {
  auto nested = [](int n) { return std::string(n, '(') + "1" + std::string(n, ')'); };
  EXPECT_TRUE(EvaluateExpression(nested(98)).ok());  // level 99, the deepest
  EXPECT_EQ(EvaluateExpression(nested(99)).error, CalcError::TooDeep);
  EXPECT_EQ(EvaluateExpression(std::string(99, '(') + "1").error, CalcError::TooDeep);

  // 100 "(" in all, but never deeper than level 99.
  const std::string many = std::string(97, '(') + "(1)+(1)+(1)" + std::string(97, ')');
  const CalcResult r = EvaluateExpression(many);
  ASSERT_TRUE(r.ok()) << CalcErrorText(r.error);
  EXPECT_EQ(r.value, 3);
}

TEST(CalcExpression, HostileTextIsRefusedWithoutHarm) {
  std::string longest;
  while (longest.size() + 2 <= kMaxExpressionLength) longest += "1+";
  longest += "1";
  ASSERT_EQ(longest.size(), kMaxExpressionLength);
  EXPECT_EQ(EvaluateExpression(longest).value, 128);
  EXPECT_EQ(EvaluateExpression(longest + "0").error, CalcError::TooLong);  // never cut and evaluated

  EXPECT_EQ(EvaluateExpression(std::string(10000, '(') + "1" + std::string(10000, ')')).error, CalcError::TooLong);
  EXPECT_EQ(EvaluateExpression(std::string(1 << 20, '9')).error, CalcError::TooLong);
  EXPECT_EQ(EvaluateExpression(std::string(200, '9') + "^2").error, CalcError::Overflow);
  EXPECT_EQ(EvaluateExpression(std::string(64, '-') + "2").value, 2);
  EXPECT_EQ(EvaluateExpression(std::string("1\0"
                                           "2",
                                           3))
                .error,
            CalcError::InvalidCharacter);
}

TEST(CalcExpression, ZeroResultIsPositive) {
  const CalcResult r = EvaluateExpression("-0*5");
  ASSERT_TRUE(r.ok());
  EXPECT_FALSE(std::signbit(r.value));
}

TEST(CalcFormat, TrailingZerosAndPointAreDropped) {
  const struct {
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {360, 5, "360"},     {0.5, 5, "0.5"},
      {12.25, 5, "12.25"}, {1234.567891, 5, "1234.56789"},
      {100, 0, "100"},     {-7.5, 5, "-7.5"},
      {0, 5, "0"},         {-0.000001, 5, "0"},
      {99999, 5, "99999"}, {1e20, 2, "100000000000000000000"},
      {0.000004, 4, "0"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatCalcValue(c.value, c.decimals), c.text) << c.value;
}

// A field as the boxes use it: 5 decimals, 1e-6 … 99999, initially 1.
class CalcField : public ::testing::Test {
 protected:
  TCalcEdit field{"LenCalc", 5, 1e-06, 99999, 1};
  unsigned changes = 0;
  int notifications = 0;
  void SetUp() override {
    field.SetOnChange([this](const TCalcEdit&, unsigned c) {
      changes |= c;
      ++notifications;
    });
  }
};

TEST_F(CalcField, SettingAValueFormatsItAndARangeRefusesOutsiders) {
  EXPECT_EQ(field.Text(), "1");
  EXPECT_TRUE(field.SetValue(360));
  EXPECT_EQ(field.Text(), "360");
  EXPECT_EQ(changes, kCalcTextChanged | kCalcValueChanged);

  changes = 0;
  EXPECT_FALSE(field.SetValue(100000));
  EXPECT_FALSE(field.SetValue(0));
  EXPECT_FALSE(field.SetValue(NAN));
  EXPECT_EQ(field.Text(), "360");
  EXPECT_EQ(field.Value(), 360);
  EXPECT_EQ(changes, 0u);

  TCalcEdit free{"FloatCalc", 4, 0, 0, 0};  // equal bounds: no range
  EXPECT_TRUE(free.SetValue(-1e9));
  EXPECT_EQ(free.Text(), "-1000000000");
  EXPECT_FALSE(free.SetValue(INFINITY));
}

TEST_F(CalcField, EqualsEvaluatesAndBackspaceBringsTheExpressionBack) {
  field.EditText("");
  field.TypeText("2+3*4=");
  EXPECT_EQ(field.Text(), "14");
  EXPECT_EQ(field.Value(), 14);
  EXPECT_EQ(field.Caret(), 2u);
  EXPECT_TRUE(changes & kCalcValueChanged);

  field.Backspace();
  EXPECT_EQ(field.Text(), "2+3*");
  EXPECT_EQ(field.Caret(), 4u);
  field.TypeChar('\b');  // an ordinary Backspace now
  EXPECT_EQ(field.Text(), "2+3");
  field.TypeText("=");
  EXPECT_EQ(field.Value(), 5);
}

TEST_F(CalcField, TextThatDoesNotEvaluateStaysAndKeepsTheFocus) {
  const struct {
    const char* text;
    CalcError error;
  } cases[] = {
      {"sqr(-4)", CalcError::NegativeRoot},
      {"1 + 2", CalcError::InvalidCharacter},
      {"0", CalcError::OutOfRange},
      {"100000", CalcError::OutOfRange},
  };
  for (const auto& c : cases) {
    field.EditText(c.text);
    EXPECT_EQ(field.Evaluate(), c.error) << c.text;
    EXPECT_EQ(field.Text(), c.text);
    EXPECT_EQ(field.Value(), 1) << c.text;
    EXPECT_FALSE(field.LeaveField()) << c.text;
    EXPECT_EQ(field.LastError(), c.error);
  }
  field.TypeChar('=');  // "=" on a bad text inserts nothing
  EXPECT_EQ(field.Text(), "100000");
}

TEST_F(CalcField, LeavingEvaluatesOnlyEditedNonEmptyText) {
  field.EditText("2*p");
  EXPECT_TRUE(field.LeaveField());
  EXPECT_EQ(field.Text(), "6.28319");
  EXPECT_DOUBLE_EQ(field.Value(), 2 * 3.14159265358979323846);  // the value keeps its precision
  EXPECT_TRUE(field.LeaveField());                              // unedited: not re-read from "6.28319"
  EXPECT_DOUBLE_EQ(field.Value(), 2 * 3.14159265358979323846);

  field.EditText("");
  EXPECT_TRUE(field.LeaveField());  // empty: the value stays
  EXPECT_EQ(field.Text(), "");
  EXPECT_DOUBLE_EQ(field.Value(), 2 * 3.14159265358979323846);

  field.ClearText();
  EXPECT_EQ(field.Text(), "");
  field.RevertText();
  EXPECT_EQ(field.Text(), "6.28319");
}

TEST_F(CalcField, TypingRespectsCaretMaxLengthAndEnabled) {
  field.EditText("12", 1);
  field.TypeChar('+');
  EXPECT_EQ(field.Text(), "1+2");
  EXPECT_EQ(field.Caret(), 2u);

  field.SetMaxLength(3);
  field.TypeChar('9');
  EXPECT_EQ(field.Text(), "1+2");
  field.EditText("123456");
  EXPECT_EQ(field.Text(), "123");
  EXPECT_EQ(field.EnterText("1234"), CalcError::TooLong);

  notifications = 0;
  field.SetEnabled(false);
  EXPECT_EQ(changes & kCalcEnabledChanged, kCalcEnabledChanged);
  field.TypeText("9=");
  field.Backspace();
  EXPECT_EQ(field.Text(), "123");
  EXPECT_TRUE(field.LeaveField());
  EXPECT_EQ(field.Value(), 1);
  EXPECT_EQ(notifications, 1);
}

TEST_F(CalcField, EnterTextIsAllOrNothing) {
  EXPECT_EQ(field.EnterText("sqr(2)^2"), CalcError::None);
  EXPECT_DOUBLE_EQ(field.Value(), 2);
  EXPECT_EQ(field.Text(), "2");
  EXPECT_EQ(field.EnterText("-1"), CalcError::OutOfRange);
  EXPECT_EQ(field.EnterText(""), CalcError::Empty);
  EXPECT_EQ(field.EnterText(std::string(1 << 20, '(')), CalcError::TooLong);
  EXPECT_EQ(field.Text(), "2");
  EXPECT_DOUBLE_EQ(field.Value(), 2);

  field.SetVariables(3, 4);
  EXPECT_EQ(field.EnterText("R*2"), CalcError::None);
  EXPECT_EQ(field.Value(), 10);
}

}  // namespace
}  // namespace qm::test
