#include "drafting/input_boxes.h"

#include "geom/geometry.h"

namespace qm {

namespace {

constexpr int kDecimals = 5;
constexpr double kMinLength = 1e-06;
constexpr double kMaxCoordinate = 99999;

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// TInputBox
// ---------------------------------------------------------------------------

TInputBox::TInputBox(std::string_view className, std::string_view caption, std::string_view languageComponent,
                     bool takesDeleteShortcut)
    : className_(className),
      caption_(caption),
      languageComponent_(languageComponent),
      takesDeleteShortcut_(takesDeleteShortcut) {}

void TInputBox::AddField(std::string_view inputName, TCalcEdit& field, std::string_view label, std::string_view hint) {
  fields_.push_back({inputName, &field, label, hint});
}

void TInputBox::Show() {
  if (excludes_) excludes_->Hide();
  if (visible_) return;
  visible_ = true;
  Notify(kBoxVisibilityChanged);
}

void TInputBox::Hide() {
  if (!visible_) return;
  for (const FieldEntry& f : fields_) f.field->LeaveField();
  visible_ = false;
  Notify(kBoxVisibilityChanged);
}

bool TInputBox::Deactivate() {
  bool ok = true;
  for (const FieldEntry& f : fields_) ok = f.field->LeaveField() && ok;
  return ok;
}

TCalcEdit* TInputBox::FindField(std::string_view inputName) const {
  for (const FieldEntry& f : fields_)
    if (SameName(f.inputName, inputName)) return f.field;
  return nullptr;
}

InputResult TInputBox::Input(std::string_view inputName, std::string_view text) {
  TCalcEdit* field = FindField(inputName);
  if (!field) return {InputStatus::UnknownField, CalcError::None};
  if (!visible_) return {InputStatus::NotShown, CalcError::None};
  if (!field->Enabled()) return {InputStatus::Disabled, CalcError::None};
  const CalcError e = field->EnterText(text);
  if (e != CalcError::None) return {InputStatus::Refused, e};
  return {};
}

void TInputBox::MakeExclusive(TInputBox& a, TInputBox& b) {
  a.excludes_ = &b;
  b.excludes_ = &a;
}

void TInputBox::Notify(unsigned changes) {
  if (onChange_) onChange_(*this, changes);
}

// ---------------------------------------------------------------------------
// The boxes
// ---------------------------------------------------------------------------

TLALineDlg::TLALineDlg()
    : TInputBox("TLALineDlg", "Line Length & Angle", "TLALineDlgMultLang1", false),
      LenCalc("LenCalc", kDecimals, kMinLength, kMaxCoordinate, 1),
      AngCalc("AngCalc", kDecimals, -360, 360, 0) {
  AddField("length", LenCalc, kForceLenCaption, "Length (units)");
  AddField("angle", AngCalc, kForceAngCaption, "Angle (Degrees)");
}

void TLALineDlg::SetForceLen(bool on) {
  if (forceLen_ == on) return;
  forceLen_ = on;
  LenCalc.SetEnabled(on);
  Notify(kBoxCheckChanged);
}

void TLALineDlg::SetForceAng(bool on) {
  if (forceAng_ == on) return;
  forceAng_ = on;
  AngCalc.SetEnabled(on);
  Notify(kBoxCheckChanged);
}

double TLALineDlg::AngleRad() const { return DegToRad(AngCalc.Value()); }

TRadDlg::TRadDlg()
    : TInputBox("TRadDlg", "Arc/Circle Radius", "TRadDlgMultLang1", false),
      RadCalc("RadCalc", kDecimals, kMinLength, kMaxCoordinate, 1) {
  AddField("radius", RadCalc, "&Radius:", "Length (units)");
}

TBlenDlg::TBlenDlg()
    : TInputBox("TBlenDlg", "Blend Radius", "", false), RadCalc("RadCalc", kDecimals, kMinLength, kMaxCoordinate, 1) {
  AddField("radius", RadCalc, "&Radius:", "");
}

void TBlenDlg::SetDoTrim(bool on) {
  if (doTrim_ == on) return;
  doTrim_ = on;
  Notify(kBoxCheckChanged);
}

TChamfDlg::TChamfDlg()
    : TInputBox("TChamfDlg", "Make Chamfer", "", false),
      ChamfCalc("ChamfCalc", kDecimals, kMinLength, kMaxCoordinate, 1) {
  AddField("distance", ChamfCalc, "&Distance:", "");
}

void TChamfDlg::SetDoTrim(bool on) {
  if (doTrim_ == on) return;
  doTrim_ = on;
  Notify(kBoxCheckChanged);
}

TXYAbsoluteDlg::TXYAbsoluteDlg()
    : TInputBox("TXYAbsoluteDlg", "XY Coordinates", "TXYAbsoluteDlgMultLang1", true),
      XCalc("XCalc", kDecimals, -kMaxCoordinate, kMaxCoordinate, 0),
      YCalc("YCalc", kDecimals, -kMaxCoordinate, kMaxCoordinate, 0) {
  AddField("x", XCalc, "&X :", "");
  AddField("y", YCalc, "&Y :", "");
}

bool TXYAbsoluteDlg::Apply() {
  if (!Visible()) return false;
  const bool xOk = XCalc.LeaveField();
  const bool yOk = YCalc.LeaveField();
  if (!xOk || !yOk) return false;
  if (onApply_) onApply_();
  return true;
}

TXYDeltaDlg::TXYDeltaDlg()
    : TInputBox("TXYDeltaDlg", "Delta XY", "TXYDeltaDlgMultLang1", true),
      XCalc("XCalc", kDecimals, -kMaxCoordinate, kMaxCoordinate, 0),
      YCalc("YCalc", kDecimals, -kMaxCoordinate, kMaxCoordinate, 0) {
  AddField("dx", XCalc, "&X :", "");
  AddField("dy", YCalc, "&Y :", "");
}

// The caption's third character is the thorn, as the form has always shown it.
TRTDeltaDlg::TRTDeltaDlg()
    : TInputBox("TRTDeltaDlg",
                "Delta R\u00FE"
                "A",
                "TRTDeltaDlgMultLang1", true),
      XCalc("XCalc", kDecimals, -kMaxCoordinate, kMaxCoordinate, 0),
      YCalc("YCalc", kDecimals, -kMaxCoordinate, kMaxCoordinate, 0) {
  AddField("r", XCalc, "&R :", "");
  AddField("a", YCalc, "&A:", "");
}

double TRTDeltaDlg::ARad() const { return DegToRad(YCalc.Value()); }

// ---------------------------------------------------------------------------
// InputBoxes
// ---------------------------------------------------------------------------

InputBoxes::InputBoxes() : all_{&LALineDlg, &RadDlg, &BlenDlg, &ChamfDlg, &XYAbsoluteDlg, &XYDeltaDlg, &RTDeltaDlg} {
  TInputBox::MakeExclusive(XYDeltaDlg, RTDeltaDlg);
}

InputResult InputBoxes::Input(std::string_view inputName, std::string_view text) {
  TInputBox* hidden = nullptr;
  for (TInputBox* box : all_) {
    if (!box->FindField(inputName)) continue;
    if (box->Visible()) return box->Input(inputName, text);
    if (!hidden) hidden = box;
  }
  if (hidden) return {InputStatus::NotShown, CalcError::None};
  return {InputStatus::UnknownField, CalcError::None};
}

bool InputBoxes::IsShown(std::string_view inputName) const {
  for (const TInputBox* box : all_)
    if (box->Visible() && box->FindField(inputName)) return true;
  return false;
}

TCalcEdit* InputBoxes::FindField(std::string_view inputName) const {
  TCalcEdit* any = nullptr;
  for (const TInputBox* box : all_) {
    TCalcEdit* f = box->FindField(inputName);
    if (!f) continue;
    if (box->Visible()) return f;
    if (!any) any = f;
  }
  return any;
}

void InputBoxes::ApplyEntryBoxes(double& x, double& y) const {
  if (XYAbsoluteDlg.Visible()) {
    x = XYAbsoluteDlg.X();
    y = XYAbsoluteDlg.Y();
  }
  if (XYDeltaDlg.Visible()) {
    x += XYDeltaDlg.Dx();
    y += XYDeltaDlg.Dy();
  } else if (RTDeltaDlg.Visible()) {
    x += RTDeltaDlg.R() * CosDeg(RTDeltaDlg.ADeg());
    y += RTDeltaDlg.R() * SinDeg(RTDeltaDlg.ADeg());
  }
}

}  // namespace qm
