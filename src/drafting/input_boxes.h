// The small input boxes the drafting tools read their numbers from: length
// and angle of the next line, radius, blend radius, chamfer distance, typed
// XY coordinates and the two relative offsets (delta XY, delta polar).
//
// Each box is a controller: its numeric fields are TCalcEdit members named
// as on the form, its check boxes plain flags, and a visible state that the
// drafting tool box switches. A Qt form mirrors a box by reading its
// getters and listening to the box's and the fields' change handlers.
//
// Units: lengths, radii, distances and coordinates are drawing units (the
// unit the drawing is kept in, mm or inch); the defaults of 1 are one
// drawing unit. Angles are typed in degrees; the getters named ...Rad
// convert.
//
// Every field also has a short input name ("length", "radius", "dx", ...)
// by which a script types into it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drafting/calc_edit.h"

namespace qm {

enum class InputStatus : std::uint8_t {
  Ok = 0,
  UnknownField,  // no box has a field of that input name
  NotShown,      // the box with that field is hidden
  Disabled,      // the field is disabled (e.g. its Force check box is clear)
  Refused,       // the text does not evaluate or its value is out of range; see error
};

struct InputResult {
  InputStatus status = InputStatus::Ok;
  CalcError error = CalcError::None;  // for Refused
  bool ok() const { return status == InputStatus::Ok; }
};

// What a box's change handler is told.
enum InputBoxChange : unsigned {
  kBoxVisibilityChanged = 1,
  kBoxCheckChanged = 2,  // a check box of the box
};

class TInputBox {
 public:
  using ChangeHandler = std::function<void(TInputBox&, unsigned changes)>;

  struct FieldEntry {
    std::string_view inputName;  // "length", "x", ...
    TCalcEdit* field;
    std::string_view label;  // the caption beside the field, with its "&"
    std::string_view hint;   // empty when the field has none
  };

  TInputBox(const TInputBox&) = delete;
  TInputBox& operator=(const TInputBox&) = delete;
  virtual ~TInputBox() = default;

  std::string_view ClassName() const { return className_; }
  std::string_view Caption() const { return caption_; }
  // The language component attached while the box is shown.
  std::string_view LanguageComponent() const { return languageComponent_; }
  // The coordinate boxes take the Delete key from the main window's
  // "&Delete" item while shown, so that Delete edits their fields.
  bool TakesDeleteShortcut() const { return takesDeleteShortcut_; }

  bool Visible() const { return visible_; }
  // Showing a box hides the box it excludes (delta XY and delta polar).
  void Show();
  // Hiding evaluates every field as on leaving it, then hides the box.
  void Hide();
  void SetVisible(bool on) { on ? Show() : Hide(); }
  // The box lost the activation (the user went on in another window):
  // every enabled field is evaluated as on leaving it, so that a typed but
  // unconfirmed number is what the next click reads. False when a field's
  // text does not evaluate (it keeps its text and its previous value).
  bool Deactivate();

  std::span<const FieldEntry> Fields() const { return fields_; }
  // The field of that input name (ASCII case ignored), or nullptr.
  TCalcEdit* FindField(std::string_view inputName) const;
  // Types text into the named field and leaves it. Refused when the box is
  // hidden, the field disabled or the text does not give a value in range;
  // a refused input changes nothing.
  InputResult Input(std::string_view inputName, std::string_view text);

  void SetOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }
  // Showing this box hides `other` and the other way round.
  static void MakeExclusive(TInputBox& a, TInputBox& b);

 protected:
  TInputBox(std::string_view className, std::string_view caption, std::string_view languageComponent,
            bool takesDeleteShortcut);
  void AddField(std::string_view inputName, TCalcEdit& field, std::string_view label, std::string_view hint);
  void Notify(unsigned changes);

 private:
  std::string_view className_;
  std::string_view caption_;
  std::string_view languageComponent_;
  bool takesDeleteShortcut_;
  bool visible_ = false;
  TInputBox* excludes_ = nullptr;
  std::vector<FieldEntry> fields_;
  ChangeHandler onChange_;
};

// "Line Length & Angle": read by the line with defined length and angle.
class TLALineDlg : public TInputBox {
 public:
  TLALineDlg();
  TCalcEdit LenCalc;  // "length": units, 1e-06 … 99999, initially 1
  TCalcEdit AngCalc;  // "angle": degrees, −360 … 360, initially 0

  // "Force &Length to:" / "Force &Angle to:", both checked at start; each
  // enables its field when checked and disables it otherwise.
  bool ForceLen() const { return forceLen_; }
  bool ForceAng() const { return forceAng_; }
  void SetForceLen(bool on);
  void SetForceAng(bool on);

  double Length() const { return LenCalc.Value(); }
  double AngleDeg() const { return AngCalc.Value(); }
  double AngleRad() const;

  static constexpr std::string_view kForceLenCaption = "Force &Length to:";
  static constexpr std::string_view kForceLenHint = "If set, next line will be this length";
  static constexpr std::string_view kForceAngCaption = "Force &Angle to:";
  static constexpr std::string_view kForceAngHint = "If set, Next line will be at this angle";

 private:
  bool forceLen_ = true;
  bool forceAng_ = true;
};

// "Arc/Circle Radius": read by the arcs and circles with a given radius.
class TRadDlg : public TInputBox {
 public:
  TRadDlg();
  TCalcEdit RadCalc;  // "radius": units, 1e-06 … 99999, initially 1
  double Radius() const { return RadCalc.Value(); }
};

// "Blend Radius": read by the blend tool.
class TBlenDlg : public TInputBox {
 public:
  TBlenDlg();
  TCalcEdit RadCalc;  // "radius": units, 1e-06 … 99999, initially 1
  double Radius() const { return RadCalc.Value(); }
  bool DoTrim() const { return doTrim_; }  // "&Automatic Trimming", checked at start
  void SetDoTrim(bool on);
  static constexpr std::string_view kDoTrimCaption = "&Automatic Trimming";

 private:
  bool doTrim_ = true;
};

// "Make Chamfer": read by the chamfer tool.
class TChamfDlg : public TInputBox {
 public:
  TChamfDlg();
  TCalcEdit ChamfCalc;  // "distance": units, 1e-06 … 99999, initially 1
  double Distance() const { return ChamfCalc.Value(); }
  bool DoTrim() const { return doTrim_; }  // "&Automatic Trimming", checked at start
  void SetDoTrim(bool on);
  static constexpr std::string_view kDoTrimCaption = "&Automatic Trimming";

 private:
  bool doTrim_ = true;
};

// "XY Coordinates": the typed point of the XY snap mode.
class TXYAbsoluteDlg : public TInputBox {
 public:
  TXYAbsoluteDlg();
  TCalcEdit XCalc;  // "x": units, −99999 … 99999, initially 0
  TCalcEdit YCalc;  // "y"
  double X() const { return XCalc.Value(); }
  double Y() const { return YCalc.Value(); }

  // The Apply button ("Force Specified Start Point"): both fields are
  // evaluated as on leaving them; when both hold values the apply handler
  // runs (the main window then takes the typed point as a click). False,
  // and no click, when the box is hidden or a field does not evaluate.
  bool Apply();
  void SetOnApply(std::function<void()> handler) { onApply_ = std::move(handler); }
  static constexpr std::string_view kApplyHint = "Force Specified Start Point";

 private:
  std::function<void()> onApply_;
};

// "Delta XY": an offset added to every snapped point.
class TXYDeltaDlg : public TInputBox {
 public:
  TXYDeltaDlg();
  TCalcEdit XCalc;  // "dx": units, −99999 … 99999, initially 0
  TCalcEdit YCalc;  // "dy"
  double Dx() const { return XCalc.Value(); }
  double Dy() const { return YCalc.Value(); }
};

// "Delta RþA": a polar offset (distance, angle in degrees) added to every
// snapped point.
class TRTDeltaDlg : public TInputBox {
 public:
  TRTDeltaDlg();
  TCalcEdit XCalc;  // "r": units, −99999 … 99999, initially 0
  TCalcEdit YCalc;  // "a": degrees, −99999 … 99999, initially 0
  double R() const { return XCalc.Value(); }
  double ADeg() const { return YCalc.Value(); }
  double ARad() const;
};

// All input boxes of the drafting tools, created once with the main window.
class InputBoxes {
 public:
  InputBoxes();
  InputBoxes(const InputBoxes&) = delete;
  InputBoxes& operator=(const InputBoxes&) = delete;

  TLALineDlg LALineDlg;
  TRadDlg RadDlg;
  TBlenDlg BlenDlg;
  TChamfDlg ChamfDlg;
  TXYAbsoluteDlg XYAbsoluteDlg;
  TXYDeltaDlg XYDeltaDlg;  // exclusive with RTDeltaDlg
  TRTDeltaDlg RTDeltaDlg;

  std::span<TInputBox* const> All() const { return all_; }

  // Types into the field of that input name: length, angle; radius (the
  // radius box or the blend box, whichever is shown); distance; x, y; dx,
  // dy; r, a. NotShown when every box with that field is hidden.
  InputResult Input(std::string_view inputName, std::string_view text);
  // Whether a shown box has a field of that input name.
  bool IsShown(std::string_view inputName) const;
  // The field of that input name in a shown box, else in any box; nullptr
  // for an unknown name.
  TCalcEdit* FindField(std::string_view inputName) const;

  // Adjusts a snapped point by the coordinate boxes: the XY box, when
  // shown, replaces it; then the delta box, when shown, adds (dx, dy), or
  // else the polar box, when shown, adds r·(cos a°, sin a°).
  void ApplyEntryBoxes(double& x, double& y) const;

 private:
  std::vector<TInputBox*> all_;
};

}  // namespace qm
