#include "drafting/input_boxes.h"

#include <gtest/gtest.h>

#include <string>

namespace qm::test {
namespace {

TEST(InputBoxes, StartHiddenWithTheirDefaults) {
  InputBoxes boxes;
  const struct {
    const TInputBox* box;
    const char* caption;
    const char* input;
    const char* fieldName;
    double value, min, max;
  } cases[] = {
      {&boxes.LALineDlg, "Line Length & Angle", "length", "LenCalc", 1, 1e-06, 99999},
      {&boxes.LALineDlg, "Line Length & Angle", "angle", "AngCalc", 0, -360, 360},
      {&boxes.RadDlg, "Arc/Circle Radius", "radius", "RadCalc", 1, 1e-06, 99999},
      {&boxes.BlenDlg, "Blend Radius", "radius", "RadCalc", 1, 1e-06, 99999},
      {&boxes.ChamfDlg, "Make Chamfer", "distance", "ChamfCalc", 1, 1e-06, 99999},
      {&boxes.XYAbsoluteDlg, "XY Coordinates", "x", "XCalc", 0, -99999, 99999},
      {&boxes.XYAbsoluteDlg, "XY Coordinates", "y", "YCalc", 0, -99999, 99999},
      {&boxes.XYDeltaDlg, "Delta XY", "dx", "XCalc", 0, -99999, 99999},
      {&boxes.XYDeltaDlg, "Delta XY", "dy", "YCalc", 0, -99999, 99999},
      {&boxes.RTDeltaDlg,
       "Delta R\u00FE"
       "A",
       "r", "XCalc", 0, -99999, 99999},
      {&boxes.RTDeltaDlg,
       "Delta R\u00FE"
       "A",
       "a", "YCalc", 0, -99999, 99999},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.box->Caption(), c.caption);
    EXPECT_FALSE(c.box->Visible()) << c.caption;
    const TCalcEdit* f = c.box->FindField(c.input);
    ASSERT_NE(f, nullptr) << c.input;
    EXPECT_EQ(f->Name(), c.fieldName);
    EXPECT_EQ(f->Value(), c.value) << c.input;
    EXPECT_EQ(f->MinValue(), c.min) << c.input;
    EXPECT_EQ(f->MaxValue(), c.max) << c.input;
    EXPECT_EQ(f->Decimals(), 5);
    EXPECT_TRUE(f->Enabled());
  }
  EXPECT_TRUE(boxes.LALineDlg.ForceLen());
  EXPECT_TRUE(boxes.LALineDlg.ForceAng());
  EXPECT_TRUE(boxes.BlenDlg.DoTrim());
  EXPECT_TRUE(boxes.ChamfDlg.DoTrim());
  EXPECT_TRUE(boxes.XYAbsoluteDlg.TakesDeleteShortcut());
  EXPECT_FALSE(boxes.RadDlg.TakesDeleteShortcut());
}

TEST(InputBoxes, InputGoesByFieldNameOnlyIntoShownBoxes) {
  InputBoxes boxes;
  const struct {
    TInputBox* box;
    const char* input;
    const char* text;
    double expected;
  } cases[] = {
      {&boxes.LALineDlg, "length", "2*3", 6},
      {&boxes.LALineDlg, "angle", "-45", -45},
      {&boxes.RadDlg, "radius", "sqr(2)", 1.4142135623730951},
      {&boxes.ChamfDlg, "distance", "0.5", 0.5},
      {&boxes.XYAbsoluteDlg, "x", "10/4", 2.5},
      {&boxes.XYAbsoluteDlg, "Y", "-7", -7},
      {&boxes.XYDeltaDlg, "dx", "1", 1},
      {&boxes.XYDeltaDlg, "dy", "2", 2},
      {&boxes.RTDeltaDlg, "r", "5", 5},
      {&boxes.RTDeltaDlg, "a", "asin(1)", 90},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(boxes.Input(c.input, c.text).status, InputStatus::NotShown) << c.input;
    EXPECT_FALSE(boxes.IsShown(c.input));
    c.box->Show();
    EXPECT_TRUE(boxes.IsShown(c.input));
    EXPECT_TRUE(boxes.Input(c.input, c.text).ok()) << c.input;
    EXPECT_DOUBLE_EQ(boxes.FindField(c.input)->Value(), c.expected) << c.input;
    c.box->Hide();
  }
  EXPECT_EQ(boxes.Input("height", "1").status, InputStatus::UnknownField);
  EXPECT_EQ(boxes.FindField("height"), nullptr);
}

TEST(InputBoxes, RadiusGoesToTheRadiusOrTheBlendBoxWhicheverIsShown) {
  InputBoxes boxes;
  boxes.BlenDlg.Show();
  ASSERT_TRUE(boxes.Input("radius", "2").ok());
  EXPECT_EQ(boxes.BlenDlg.Radius(), 2);
  EXPECT_EQ(boxes.RadDlg.Radius(), 1);
  boxes.BlenDlg.Hide();
  boxes.RadDlg.Show();
  ASSERT_TRUE(boxes.Input("radius", "3").ok());
  EXPECT_EQ(boxes.RadDlg.Radius(), 3);
  EXPECT_EQ(boxes.BlenDlg.Radius(), 2);
}

TEST(InputBoxes, RefusedInputLeavesTheFieldAsItWas) {
  InputBoxes boxes;
  boxes.LALineDlg.Show();
  const struct {
    const char* input;
    const char* text;
    CalcError error;
  } cases[] = {
      {"angle", "400", CalcError::OutOfRange},          {"length", "0", CalcError::OutOfRange},
      {"length", "1 + 2", CalcError::InvalidCharacter}, {"angle", "", CalcError::Empty},
      {"length", "1/0", CalcError::DivisionByZero},
  };
  for (const auto& c : cases) {
    const InputResult r = boxes.Input(c.input, c.text);
    EXPECT_EQ(r.status, InputStatus::Refused) << c.text;
    EXPECT_EQ(r.error, c.error) << c.text;
  }
  EXPECT_EQ(boxes.LALineDlg.AngCalc.Text(), "0");
  EXPECT_EQ(boxes.LALineDlg.Length(), 1);
  EXPECT_EQ(boxes.LALineDlg.LenCalc.Text(), "1");
}

TEST(InputBoxes, ForceCheckBoxesEnableTheirFields) {
  TLALineDlg box;
  box.Show();
  unsigned changes = 0;
  box.SetOnChange([&](TInputBox&, unsigned c) { changes |= c; });
  box.SetForceLen(false);
  EXPECT_FALSE(box.LenCalc.Enabled());
  EXPECT_TRUE(box.AngCalc.Enabled());
  EXPECT_EQ(changes, kBoxCheckChanged);
  EXPECT_EQ(box.Input("length", "5").status, InputStatus::Disabled);
  EXPECT_TRUE(box.Input("angle", "90").ok());
  EXPECT_DOUBLE_EQ(box.AngleRad(), 3.14159265358979323846 / 2);
  box.SetForceLen(true);
  EXPECT_TRUE(box.Input("length", "5").ok());
  EXPECT_EQ(box.Length(), 5);
}

TEST(InputBoxes, DeltaAndPolarBoxesExcludeEachOther) {
  InputBoxes boxes;
  unsigned polarChanges = 0;
  boxes.RTDeltaDlg.SetOnChange([&](TInputBox&, unsigned c) { polarChanges |= c; });
  boxes.RTDeltaDlg.Show();
  boxes.XYDeltaDlg.Show();
  EXPECT_TRUE(boxes.XYDeltaDlg.Visible());
  EXPECT_FALSE(boxes.RTDeltaDlg.Visible());
  EXPECT_EQ(polarChanges, kBoxVisibilityChanged);
  boxes.RTDeltaDlg.Show();
  EXPECT_FALSE(boxes.XYDeltaDlg.Visible());
  EXPECT_TRUE(boxes.RTDeltaDlg.Visible());
  boxes.XYAbsoluteDlg.Show();  // the XY box is independent of both
  EXPECT_TRUE(boxes.RTDeltaDlg.Visible());
}

TEST(InputBoxes, TypedButUnconfirmedNumbersAreTakenWhenTheBoxLetsGo) {
  InputBoxes boxes;
  boxes.LALineDlg.Show();
  boxes.LALineDlg.LenCalc.EditText("25");
  EXPECT_EQ(boxes.LALineDlg.Length(), 1);
  EXPECT_TRUE(boxes.LALineDlg.Deactivate());  // the user clicked into the view
  EXPECT_EQ(boxes.LALineDlg.Length(), 25);

  boxes.LALineDlg.AngCalc.EditText("sqr(-1)");
  EXPECT_FALSE(boxes.LALineDlg.Deactivate());
  EXPECT_EQ(boxes.LALineDlg.AngleDeg(), 0);

  boxes.XYDeltaDlg.Show();
  boxes.XYDeltaDlg.XCalc.EditText("3*3");
  boxes.XYDeltaDlg.Hide();  // hiding evaluates as leaving
  EXPECT_EQ(boxes.XYDeltaDlg.Dx(), 9);
  EXPECT_EQ(boxes.XYDeltaDlg.XCalc.Text(), "9");
}

TEST(InputBoxes, ApplyClicksOnlyWithValidCoordinates) {
  TXYAbsoluteDlg box;
  int clicks = 0;
  box.SetOnApply([&] { ++clicks; });
  EXPECT_FALSE(box.Apply());  // hidden
  box.Show();
  box.XCalc.EditText("1+1");
  box.YCalc.EditText("2 2");
  EXPECT_FALSE(box.Apply());
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(box.X(), 2);
  box.YCalc.EditText("22");
  EXPECT_TRUE(box.Apply());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(box.Y(), 22);
}

TEST(InputBoxes, EntryBoxesAdjustTheSnappedPoint) {
  InputBoxes boxes;
  double x = 1;
  double y = 2;
  boxes.ApplyEntryBoxes(x, y);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 2);

  boxes.XYAbsoluteDlg.Show();
  ASSERT_TRUE(boxes.Input("x", "10").ok());
  ASSERT_TRUE(boxes.Input("y", "20").ok());
  boxes.ApplyEntryBoxes(x, y);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 20);

  boxes.XYDeltaDlg.Show();
  ASSERT_TRUE(boxes.Input("dx", "-1").ok());
  ASSERT_TRUE(boxes.Input("dy", "0.5").ok());
  boxes.ApplyEntryBoxes(x, y);
  EXPECT_EQ(x, 9);
  EXPECT_EQ(y, 20.5);

  boxes.RTDeltaDlg.Show();  // hides the delta box
  ASSERT_TRUE(boxes.Input("r", "5").ok());
  ASSERT_TRUE(boxes.Input("a", "90").ok());
  boxes.ApplyEntryBoxes(x, y);
  EXPECT_EQ(x, 10);  // exactly: cos 90° is 0
  EXPECT_EQ(y, 25);
}

}  // namespace
}  // namespace qm::test
