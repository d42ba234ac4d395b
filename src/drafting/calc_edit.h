// The numeric entry field and its expression evaluator.
//
// Every numeric field of the drafting boxes and dialogs is a TCalcEdit: a
// one-line text that may hold an arithmetic expression, and a stored value
// that changes only when a value is set or the text evaluates successfully.
// This is the controller; a widget mirrors it (forms/) by forwarding typed
// keys, edits and focus changes and by re-reading the getters when the
// change handler fires.
//
// Expression language (case-insensitive, no blanks):
//   numbers      digits with an optional "." (".5" and "5." are numbers)
//   constants    P = π;  X, Y = caller-supplied variables (0 in the boxes),
//                R = √(X² + Y²), A = direction of (X, Y) in degrees (0, 360]
//   operators    ^ (left-associative: 2^3^2 = 64), then * /, then + −
//   negation     a "-" where an operand is expected; it belongs to the
//                operand that follows — a number, a variable or a
//                parenthesis together with its functions — before any ^,
//                so -2^2 = 4 and -COS(0) = −1
//   functions    SIN COS TAN (degrees), ASIN ACOS ATAN (results in
//                degrees), LOG (natural), EXP, SQR (square root), ABS, INT
//                (truncation toward zero); a name must be followed by "(" or
//                by another name (ABSINT(x) = ABS(INT(x)))
//   parentheses  up to 99 levels counting the outermost; parentheses left
//                open at the end are closed there
//   "="          optional, only as the last character
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qm {

// Longest text the evaluator reads; longer texts are refused, never cut.
inline constexpr std::size_t kMaxExpressionLength = 255;
// Parenthesis levels, the outermost (the text itself) counting as level 1.
inline constexpr int kMaxExpressionLevels = 99;

enum class CalcError : std::uint8_t {
  None = 0,
  Empty,             // nothing to evaluate
  TooLong,           // more than kMaxExpressionLength characters
  InvalidCharacter,  // outside the expression alphabet; a blank included
  Syntax,            // missing or doubled operand, stray ")", bad number, function without "("
  TooDeep,           // a "(" that would open a level above kMaxExpressionLevels
  DivisionByZero,    // x/0, and 0 raised to a negative power
  NegativeBase,      // a negative base with a fractional exponent
  NegativeRoot,      // SQR of a negative number
  LogDomain,         // LOG of a number not above 0
  ArcDomain,         // ASIN or ACOS of a number above 1 in magnitude
  TanUndefined,      // TAN of an odd multiple of 90°
  ExpRange,          // EXP of a number above 88 or below −88
  Overflow,          // a number, variable or intermediate result that is not finite
  OutOfRange,        // (fields only) the result lies outside the field's range
};

// A short English description for logs and the script runner.
const char* CalcErrorText(CalcError error);

struct CalcResult {
  double value = 0;
  CalcError error = CalcError::None;
  // Offset in the text of the character at which the error was found (the
  // text's length for errors found at its end).
  std::size_t position = 0;
  bool ok() const { return error == CalcError::None; }
};

// Evaluates text with the variables X = x and Y = y. Never throws; any text
// (of any length or content) gives a value or an error. A zero result is
// always +0.
CalcResult EvaluateExpression(std::string_view text, double x = 0, double y = 0);

// The value in fixed notation with `decimals` places (clamped to 0…20),
// then, while the text contains a ".", one trailing "0" or "." at a time is
// removed: 360 → "360", 0.5 → "0.5". A value that rounds to zero shows "0".
std::string FormatCalcValue(double value, int decimals);

// Sine and cosine of an angle in degrees with exact results at multiples of
// 30° where those are representable (sin 30° = 0.5, cos 90° = 0).
double SinDeg(double degrees);
double CosDeg(double degrees);

// What changed in a field, as flags for the change handler.
enum CalcChange : unsigned {
  kCalcTextChanged = 1,     // the text or the caret
  kCalcValueChanged = 2,    // the stored value
  kCalcEnabledChanged = 4,  // the enabled state
};

class TCalcEdit {
 public:
  using ChangeHandler = std::function<void(const TCalcEdit&, unsigned changes)>;

  // When minValue == maxValue the field has no range. The text starts as
  // the formatted initial value.
  TCalcEdit(std::string name, int decimals, double minValue, double maxValue, double value);

  const std::string& Name() const { return name_; }

  // --- properties ---
  int Decimals() const { return decimals_; }
  void SetDecimals(int decimals) { decimals_ = decimals; }  // used by the next value shown
  double MinValue() const { return min_; }
  double MaxValue() const { return max_; }
  void SetRange(double minValue, double maxValue);
  bool HasRange() const { return min_ != max_; }
  bool InRange(double v) const;
  // Most characters the user may type; 0 means no limit (the evaluator still
  // refuses texts beyond kMaxExpressionLength).
  std::size_t MaxLength() const { return maxLength_; }
  void SetMaxLength(std::size_t n) { maxLength_ = n; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  // The variables X and Y of the expressions (0 unless the caller sets them).
  void SetVariables(double x, double y) {
    varX_ = x;
    varY_ = y;
  }

  // --- value and text ---
  // The stored value: that of the last value set or of the last successful
  // evaluation.
  double Value() const { return value_; }
  // Stores v and shows it formatted; refused (false, nothing changes) when v
  // is not finite or lies outside the range.
  bool SetValue(double v);
  const std::string& Text() const { return text_; }
  std::size_t Caret() const { return caret_; }
  // Whether the user edited the text since the value was last shown.
  bool Modified() const { return modified_; }
  // The error of the last evaluation attempt (None after a success).
  CalcError LastError() const { return lastError_; }

  // Empties the text from the program; the stored value stays (a field
  // emptied this way makes a force button do nothing).
  void ClearText();
  // Shows the stored value again, dropping the typed text.
  void RevertText();

  // --- user input (ignored while disabled) ---
  // The text as the user left it after an edit (a widget's textEdited), cut
  // to MaxLength; the caret goes to `caret` (clamped) or to the end.
  void EditText(std::string_view text, std::size_t caret = std::string::npos);
  void SetCaret(std::size_t caret);
  // One typed character at the caret: "=" evaluates, '\b' is Backspace,
  // anything else is inserted (unless the text is at MaxLength).
  void TypeChar(char c);
  void TypeText(std::string_view text);
  // Directly after a successful evaluation: the text becomes the evaluated
  // expression less its last character. Otherwise deletes the character
  // before the caret.
  void Backspace();
  // Evaluates the text as "=" does: on success the value is stored, the
  // result replaces the text and the caret moves to the end; otherwise the
  // text stays as typed. Empty text gives Empty and changes nothing.
  CalcError Evaluate();
  // The focus is leaving the field for another control of its window.
  // Evaluates the text when the user has edited it; true when the focus may
  // go, false when it must stay in the field (the text does not evaluate or
  // its result is outside the range). An empty or unedited text is not
  // evaluated, so the stored value keeps its full precision.
  bool LeaveField();
  // Types the whole text and leaves the field, as one operation that either
  // succeeds or changes nothing (scripted input). It does not look at
  // Enabled: the boxes refuse disabled fields before calling it.
  CalcError EnterText(std::string_view text);

  void SetOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }

 private:
  CalcError Accept(std::string_view expression);
  void Show(double v);
  void Notify(unsigned changes);

  std::string name_;
  int decimals_;
  double min_;
  double max_;
  double value_ = 0;
  std::string text_;
  std::size_t caret_ = 0;
  std::size_t maxLength_ = 0;
  bool enabled_ = true;
  bool modified_ = false;
  bool justEvaluated_ = false;  // the last action was a successful evaluation
  std::string lastExpression_;  // the text that was evaluated last
  CalcError lastError_ = CalcError::None;
  double varX_ = 0;
  double varY_ = 0;
  ChangeHandler onChange_;
};

}  // namespace qm
