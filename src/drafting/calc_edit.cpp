#include "drafting/calc_edit.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>
#include <utility>

#include "geom/geometry.h"

namespace qm {

const char* CalcErrorText(CalcError error) {
  switch (error) {
    case CalcError::None:
      return "no error";
    case CalcError::Empty:
      return "nothing to evaluate";
    case CalcError::TooLong:
      return "expression too long";
    case CalcError::InvalidCharacter:
      return "invalid character in expression";
    case CalcError::Syntax:
      return "malformed expression";
    case CalcError::TooDeep:
      return "parentheses nested too deeply";
    case CalcError::DivisionByZero:
      return "division by zero";
    case CalcError::NegativeBase:
      return "negative number raised to a fractional power";
    case CalcError::NegativeRoot:
      return "square root of a negative number";
    case CalcError::LogDomain:
      return "logarithm of a number not above 0";
    case CalcError::ArcDomain:
      return "arc sine or arc cosine of a number above 1 in magnitude";
    case CalcError::TanUndefined:
      return "tangent of an odd multiple of 90 degrees";
    case CalcError::ExpRange:
      return "exponential of a number beyond 88 in magnitude";
    case CalcError::Overflow:
      return "number out of range";
    case CalcError::OutOfRange:
      return "value outside the field's range";
  }
  return "unknown error";
}

// ---------------------------------------------------------------------------
// Trigonometry in degrees
// ---------------------------------------------------------------------------

namespace {

// The angle is reduced exactly (fmod is exact) to a remainder d in
// [−45°, 45°] about a multiple of 90°, so that multiples of 90° give exact
// zeros and ±1 (the tangent can then tell 90° from "almost 90°"), and ±30°
// gives an exact half.
void SinCosDeg(double degrees, double& s, double& c) {
  double r = std::fmod(degrees, 360.0);
  if (r < 0) r += 360.0;
  const double q = std::nearbyint(r / 90.0);  // 0…4
  const double d = r - 90.0 * q;
  double sd;
  double cd;
  if (d == 0) {
    sd = 0;
    cd = 1;
  } else if (d == 30 || d == -30) {
    sd = d > 0 ? 0.5 : -0.5;
    cd = std::cos(DegToRad(30.0));
  } else {
    sd = std::sin(DegToRad(d));
    cd = std::cos(DegToRad(d));
  }
  switch (static_cast<int>(q) & 3) {
    case 0:
      s = sd;
      c = cd;
      break;
    case 1:
      s = cd;
      c = -sd;
      break;
    case 2:
      s = -sd;
      c = -cd;
      break;
    default:
      s = -cd;
      c = sd;
      break;
  }
  if (s == 0) s = 0;  // no negative zeros
  if (c == 0) c = 0;
}

}  // namespace

double SinDeg(double degrees) {
  double s = 0;
  double c = 0;
  SinCosDeg(degrees, s, c);
  return s;
}

double CosDeg(double degrees) {
  double s = 0;
  double c = 0;
  SinCosDeg(degrees, s, c);
  return c;
}

// ---------------------------------------------------------------------------
// Evaluator
// ---------------------------------------------------------------------------

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Function names with the internal code of each; the four-letter names come
// first so that ASIN is not read as A followed by SIN.
struct FunctionName {
  std::string_view name;
  char code;
};
constexpr FunctionName kFunctions[] = {
    {"ASIN", 'a'}, {"ACOS", 'b'}, {"ATAN", 'c'}, {"SIN", 's'}, {"COS", 'o'}, {"TAN", 't'},
    {"LOG", 'l'},  {"EXP", 'e'},  {"SQR", 'q'},  {"ABS", 'v'}, {"INT", 'i'},
};

// The function whose name starts at text[i], or nullptr.
const FunctionName* FunctionAt(std::string_view text, std::size_t i) {
  for (const auto& f : kFunctions) {
    if (text.size() - i < f.name.size()) continue;
    bool match = true;
    for (std::size_t k = 0; k < f.name.size() && match; ++k) match = Upper(text[i + k]) == f.name[k];
    if (match) return &f;
  }
  return nullptr;
}

bool IsVariable(char c) { return c == 'P' || c == 'X' || c == 'Y' || c == 'R' || c == 'A'; }
bool IsSymbol(char c) {
  return IsDigit(c) || c == '.' || c == '(' || c == ')' || c == '*' || c == '+' || c == '-' || c == '/' || c == '^' ||
         c == '=' || c == 'N' || IsVariable(c);
}

// One parenthesis level: an additive sum with its pending operator, a
// product with its pending operator and a pending power base.
struct Level {
  double sum = 0;
  char addOp = 0;  // 0, '+', '-'
  double product = 0;
  char mulOp = 0;  // 0, '*', '/'
  double base = 0;
  bool hasBase = false;
  bool negate = false;    // the operand being read at this level is negated when finished
  std::string functions;  // written before this level's "(", applied last-first when it closes
};

class Evaluator {
 public:
  Evaluator(double x, double y) : x_(x), y_(y) {}

  CalcResult Run(std::string_view text) {
    const std::size_t n = text.size();
    if (n == 0) return {0, CalcError::Empty, 0};
    if (n > kMaxExpressionLength) return {0, CalcError::TooLong, kMaxExpressionLength};

    // Every character must belong to the alphabet before anything is
    // evaluated.
    for (std::size_t i = 0; i < n;) {
      if (const FunctionName* f = FunctionAt(text, i)) {
        i += f->name.size();
        continue;
      }
      if (!IsSymbol(Upper(text[i]))) return {0, CalcError::InvalidCharacter, i};
      ++i;
    }

    bool expectOperand = true;   // an operand (or "-", "(" or a function) must come next
    bool afterFunction = false;  // the last token was a function name
    std::size_t i = 0;
    while (i < n) {
      const std::size_t at = i;
      const char c = Upper(text[i]);
      const FunctionName* f = IsDigit(c) || c == '.' ? nullptr : FunctionAt(text, i);
      if (afterFunction && c != '(' && !f) return {0, CalcError::Syntax, at};
      afterFunction = false;

      if (f) {
        if (!expectOperand) return {0, CalcError::Syntax, at};
        pendingFunctions_ += f->code;
        afterFunction = true;
        i += f->name.size();
        continue;
      }
      if (IsDigit(c) || c == '.') {
        std::size_t j = i;
        while (j < n && (IsDigit(text[j]) || text[j] == '.')) ++j;
        if (!expectOperand) return {0, CalcError::Syntax, at};
        const CalcError e = ReadNumber(text.substr(i, j - i));
        if (e != CalcError::None) return {0, e, at};
        expectOperand = false;
        i = j;
        continue;
      }
      ++i;
      CalcError e = CalcError::None;
      switch (c) {
        case 'P':
        case 'X':
        case 'Y':
        case 'R':
        case 'A':
          if (!expectOperand) return {0, CalcError::Syntax, at};
          current_ = Variable(c);
          if (!std::isfinite(current_)) return {0, CalcError::Overflow, at};
          expectOperand = false;
          break;
        case 'N':
          if (!expectOperand) return {0, CalcError::Syntax, at};
          Top().negate = !Top().negate;
          break;
        case '-':
          if (expectOperand) {
            Top().negate = !Top().negate;
            break;
          }
          [[fallthrough]];
        case '+':
        case '*':
        case '/':
        case '^':
          if (expectOperand) return {0, CalcError::Syntax, at};
          FinishOperand();
          e = Binary(c);
          expectOperand = true;
          break;
        case '(':
          if (!expectOperand) return {0, CalcError::Syntax, at};
          if (depth_ == kMaxExpressionLevels) return {0, CalcError::TooDeep, at};
          levels_[static_cast<std::size_t>(depth_)] = Level{};
          levels_[static_cast<std::size_t>(depth_)].functions = std::move(pendingFunctions_);
          pendingFunctions_.clear();
          ++depth_;
          break;
        case ')':
          if (expectOperand || depth_ == 1) return {0, CalcError::Syntax, at};
          e = Close();
          break;
        case '=':
          if (expectOperand || i != n) return {0, CalcError::Syntax, at};
          break;
        default:
          return {0, CalcError::InvalidCharacter, at};
      }
      if (e != CalcError::None) return {0, e, at};
    }
    if (expectOperand) return {0, CalcError::Syntax, n};

    // Parentheses left open are closed at the end.
    while (depth_ > 1) {
      if (const CalcError e = Close(); e != CalcError::None) return {0, e, n};
    }
    FinishOperand();
    double result = 0;
    if (const CalcError e = ResolveLevel(Top(), result); e != CalcError::None) return {0, e, n};
    if (result == 0) result = 0;  // +0, never −0
    return {result, CalcError::None, 0};
  }

 private:
  Level& Top() { return levels_[static_cast<std::size_t>(depth_ - 1)]; }

  CalcError ReadNumber(std::string_view s) {
    if (std::count(s.begin(), s.end(), '.') > 1 || s == ".") return CalcError::Syntax;
    // "5." is read as 5.
    if (s.back() == '.') s.remove_suffix(1);
    double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    if (r.ec == std::errc::result_out_of_range) return CalcError::Overflow;
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return CalcError::Syntax;
    if (!std::isfinite(v)) return CalcError::Overflow;
    current_ = v;
    return CalcError::None;
  }

  double Variable(char c) const {
    switch (c) {
      case 'P':
        return Pi;
      case 'X':
        return x_;
      case 'Y':
        return y_;
      case 'R':
        return std::hypot(x_, y_);
      default:
        return AngleDeg({0, 0}, {x_, y_});
    }
  }

  // The operand is complete: its negation applies now, after its functions
  // and before any "^".
  void FinishOperand() {
    Level& l = Top();
    if (l.negate) current_ = -current_;
    l.negate = false;
  }

  static CalcError Power(double base, double exponent, double& out) {
    if (exponent == 0) {
      out = 1;
      return CalcError::None;
    }
    if (base == 0) {
      if (exponent < 0) return CalcError::DivisionByZero;
      out = 0;
      return CalcError::None;
    }
    if (base < 0 && std::trunc(exponent) != exponent) return CalcError::NegativeBase;
    out = std::pow(base, exponent);  // a negative base with an odd exponent stays negative
    return std::isfinite(out) ? CalcError::None : CalcError::Overflow;
  }

  CalcError ResolvePower(Level& l) {
    if (!l.hasBase) return CalcError::None;
    l.hasBase = false;
    return Power(l.base, current_, current_);
  }

  CalcError CombineProduct(Level& l) {
    if (l.mulOp == 0) {
      l.product = current_;
    } else if (l.mulOp == '*') {
      l.product *= current_;
    } else {
      if (current_ == 0) return CalcError::DivisionByZero;
      l.product /= current_;
    }
    l.mulOp = 0;
    return std::isfinite(l.product) ? CalcError::None : CalcError::Overflow;
  }

  CalcError CombineSum(Level& l) {
    if (l.addOp == 0)
      l.sum = l.product;
    else if (l.addOp == '+')
      l.sum += l.product;
    else
      l.sum -= l.product;
    l.addOp = 0;
    return std::isfinite(l.sum) ? CalcError::None : CalcError::Overflow;
  }

  CalcError Binary(char op) {
    Level& l = Top();
    if (CalcError e = ResolvePower(l); e != CalcError::None) return e;
    if (op == '^') {
      l.base = current_;
      l.hasBase = true;
      return CalcError::None;
    }
    if (CalcError e = CombineProduct(l); e != CalcError::None) return e;
    if (op == '*' || op == '/') {
      l.mulOp = op;
      return CalcError::None;
    }
    if (CalcError e = CombineSum(l); e != CalcError::None) return e;
    l.addOp = op;
    return CalcError::None;
  }

  CalcError ResolveLevel(Level& l, double& out) {
    if (CalcError e = ResolvePower(l); e != CalcError::None) return e;
    if (CalcError e = CombineProduct(l); e != CalcError::None) return e;
    if (CalcError e = CombineSum(l); e != CalcError::None) return e;
    out = l.sum;
    return CalcError::None;
  }

  static CalcError Apply(char code, double& v) {
    switch (code) {
      case 's':
        v = SinDeg(v);
        break;
      case 'o':
        v = CosDeg(v);
        break;
      case 't': {
        double s = 0;
        double c = 0;
        SinCosDeg(v, s, c);
        if (c == 0) return CalcError::TanUndefined;
        v = s / c;
        break;
      }
      case 'a':
        if (std::fabs(v) > 1) return CalcError::ArcDomain;
        v = RadToDeg(std::asin(v));
        break;
      case 'b':
        if (std::fabs(v) > 1) return CalcError::ArcDomain;
        v = RadToDeg(std::acos(v));
        break;
      case 'c':
        v = RadToDeg(std::atan(v));
        break;
      case 'l':
        if (v <= 0) return CalcError::LogDomain;
        v = std::log(v);
        break;
      case 'e':
        if (v > 88 || v < -88) return CalcError::ExpRange;
        v = std::exp(v);
        break;
      case 'q':
        if (v < 0) return CalcError::NegativeRoot;
        v = std::sqrt(v);
        break;
      case 'v':
        v = std::fabs(v);
        break;
      default:
        v = std::trunc(v);
        break;  // 'i'
    }
    return std::isfinite(v) ? CalcError::None : CalcError::Overflow;
  }

  // ")" (or the end of the text for an open level): the level's value,
  // with its functions applied, becomes the operand of the level below.
  CalcError Close() {
    FinishOperand();
    Level& l = Top();
    double v = 0;
    if (CalcError e = ResolveLevel(l, v); e != CalcError::None) return e;
    for (auto it = l.functions.rbegin(); it != l.functions.rend(); ++it) {
      if (CalcError e = Apply(*it, v); e != CalcError::None) return e;
    }
    --depth_;
    current_ = v;
    return CalcError::None;
  }

  double x_;
  double y_;
  std::array<Level, kMaxExpressionLevels> levels_{};
  int depth_ = 1;
  double current_ = 0;
  std::string pendingFunctions_;
};

}  // namespace

CalcResult EvaluateExpression(std::string_view text, double x, double y) { return Evaluator(x, y).Run(text); }

std::string FormatCalcValue(double value, int decimals) {
  const int places = std::clamp(decimals, 0, 20);
  // The largest double has 309 integer digits.
  std::array<char, 400> buf{};
  const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, places);
  std::string s(buf.data(), r.ec == std::errc() ? r.ptr : buf.data());
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && (s.back() == '0' || s.back() == '.')) {
      const bool dot = s.back() == '.';
      s.pop_back();
      if (dot) break;
    }
  }
  if (s == "-0") s = "0";
  return s;
}

// ---------------------------------------------------------------------------
// TCalcEdit
// ---------------------------------------------------------------------------

TCalcEdit::TCalcEdit(std::string name, int decimals, double minValue, double maxValue, double value)
    : name_(std::move(name)), decimals_(decimals), min_(minValue), max_(maxValue) {
  Show(std::isfinite(value) ? value : 0);
}

void TCalcEdit::SetRange(double minValue, double maxValue) {
  min_ = minValue;
  max_ = maxValue;
}

bool TCalcEdit::InRange(double v) const {
  if (!std::isfinite(v)) return false;
  return !HasRange() || (v >= min_ && v <= max_);
}

void TCalcEdit::SetEnabled(bool on) {
  if (enabled_ == on) return;
  enabled_ = on;
  Notify(kCalcEnabledChanged);
}

void TCalcEdit::Show(double v) {
  value_ = v == 0 ? 0.0 : v;
  text_ = FormatCalcValue(v, decimals_);
  caret_ = text_.size();
  modified_ = false;
}

bool TCalcEdit::SetValue(double v) {
  if (!InRange(v)) return false;
  const double oldValue = value_;
  const std::string oldText = text_;
  const std::size_t oldCaret = caret_;
  Show(v);
  justEvaluated_ = false;
  Notify((text_ != oldText || caret_ != oldCaret ? kCalcTextChanged : 0u) |
         (value_ != oldValue ? kCalcValueChanged : 0u));
  return true;
}

void TCalcEdit::ClearText() {
  const bool changed = !text_.empty();
  text_.clear();
  caret_ = 0;
  modified_ = false;
  justEvaluated_ = false;
  if (changed) Notify(kCalcTextChanged);
}

void TCalcEdit::RevertText() {
  const std::string oldText = text_;
  Show(value_);
  justEvaluated_ = false;
  if (text_ != oldText) Notify(kCalcTextChanged);
}

void TCalcEdit::EditText(std::string_view text, std::size_t caret) {
  if (!enabled_) return;
  if (maxLength_ > 0 && text.size() > maxLength_) text = text.substr(0, maxLength_);
  text_.assign(text);
  caret_ = std::min(caret, text_.size());
  modified_ = true;
  justEvaluated_ = false;
  Notify(kCalcTextChanged);
}

void TCalcEdit::SetCaret(std::size_t caret) {
  caret = std::min(caret, text_.size());
  if (caret == caret_) return;
  caret_ = caret;
  Notify(kCalcTextChanged);
}

void TCalcEdit::TypeChar(char c) {
  if (!enabled_) return;
  if (c == '=') {
    Evaluate();
    return;
  }
  if (c == '\b') {
    Backspace();
    return;
  }
  if (maxLength_ > 0 && text_.size() >= maxLength_) return;
  text_.insert(text_.begin() + static_cast<std::ptrdiff_t>(caret_), c);
  ++caret_;
  modified_ = true;
  justEvaluated_ = false;
  Notify(kCalcTextChanged);
}

void TCalcEdit::TypeText(std::string_view text) {
  for (char c : text) TypeChar(c);
}

void TCalcEdit::Backspace() {
  if (!enabled_) return;
  if (justEvaluated_) {
    text_ = lastExpression_;
    if (!text_.empty()) text_.pop_back();
    caret_ = text_.size();
  } else if (caret_ > 0) {
    text_.erase(caret_ - 1, 1);
    --caret_;
  } else {
    return;
  }
  modified_ = true;
  justEvaluated_ = false;
  Notify(kCalcTextChanged);
}

CalcError TCalcEdit::Accept(std::string_view expression) {
  const CalcResult r = EvaluateExpression(expression, varX_, varY_);
  if (!r.ok()) return lastError_ = r.error;
  if (!InRange(r.value)) return lastError_ = CalcError::OutOfRange;
  const double oldValue = value_;
  lastExpression_.assign(expression);
  Show(r.value);
  justEvaluated_ = true;
  lastError_ = CalcError::None;
  Notify(kCalcTextChanged | (value_ != oldValue ? kCalcValueChanged : 0u));
  return CalcError::None;
}

CalcError TCalcEdit::Evaluate() {
  if (text_.empty()) return lastError_ = CalcError::Empty;
  const std::string expression = text_;
  return Accept(expression);
}

bool TCalcEdit::LeaveField() {
  if (!enabled_ || text_.empty() || !modified_) return true;
  return Evaluate() == CalcError::None;
}

CalcError TCalcEdit::EnterText(std::string_view text) {
  if (text.empty()) return lastError_ = CalcError::Empty;
  if (maxLength_ > 0 && text.size() > maxLength_) return lastError_ = CalcError::TooLong;
  return Accept(text);
}

void TCalcEdit::Notify(unsigned changes) {
  if (changes != 0 && onChange_) onChange_(*this, changes);
}

}  // namespace qm
