#include <gtest/gtest.h>

#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "test_support.h"

using qm::platform::FormRegistry;
using qm::platform::ProfileFile;
using qm::test::ReadFile;
using qm::test::TempDir;
using qm::test::WriteFile;

TEST(ProfileFile, ReadsLikeThePrivateProfileFunctions) {
  TempDir dir;
  WriteFile(dir / "a.ini",
            "; comment\n"
            "[System]\n"
            "  Units = Inches  \n"
            "Quoted=\"  spaced  \"\n"
            "units=second\n"
            "Number=42abc\n"
            "Neg=-7\n"
            "NoEquals\n"
            "[system]\n"
            "Other=1\n");
  ProfileFile f(dir / "a.ini");
  struct Case {
    const char *section, *key, *def, *expected;
  } cases[] = {
      {"System", "Units", "MM", "Inches"},     // trimmed, first match wins
      {"SYSTEM", "UNITS", "MM", "Inches"},     // case-insensitive
      {"System", "Quoted", "", "  spaced  "},  // one pair of quotes removed
      {"System", "Missing", " dflt ", "dflt"},
      {"Nowhere", "Units", "MM", "MM"},
      {"System", "Other", "x", "x"},  // only the first [system] section counts
  };
  for (const auto& c : cases) EXPECT_EQ(f.ReadString(c.section, c.key, c.def), c.expected) << c.section << "." << c.key;
  EXPECT_EQ(f.ReadInt("System", "Number", 5), 42);
  EXPECT_EQ(f.ReadInt("System", "Neg", 5), -7);
  EXPECT_EQ(f.ReadInt("System", "Units", 5), 0);  // present but not a number
  EXPECT_EQ(f.ReadInt("System", "Absent", 5), 5);
  EXPECT_EQ(f.ReadString("System", "Units", "", 3), "Inc");
}

TEST(ProfileFile, WritesInPlaceAndKeepsEverythingElse) {
  TempDir dir;
  std::string path = dir / "b.ini";
  WriteFile(path, "; keep me\n[A]\nx=1\n\n; between\n[B]\ny=2\n");
  ProfileFile f(path);
  ASSERT_EQ(f.WriteString("a", "X", "10"), 0);     // replaced in place, original spelling kept
  ASSERT_EQ(f.WriteString("A", "new", "n"), 0);    // appended after the section's last key
  ASSERT_EQ(f.WriteString("C", "z", "3\nbad"), 0); // new section at the end, no line break injected
  EXPECT_EQ(ReadFile(path), "; keep me\n[A]\nx=10\nnew=n\n\n; between\n[B]\ny=2\n\n[C]\nz=3 bad\n");
}

TEST(ProfileFile, CreatesMissingFileAndSeesOtherWriters) {
  TempDir dir;
  std::string path = dir / "sub/c.ini";
  ProfileFile f(path);
  EXPECT_EQ(f.ReadString("S", "k", "d"), "d");
  ASSERT_EQ(f.WriteString("S", "k", "v"), 0);
  EXPECT_EQ(ReadFile(path), "[S]\nk=v\n");
  // Another program rewrites the file: the next read sees it.
  WriteFile(path, "[S]\nk=changed\n");
  EXPECT_EQ(f.ReadString("S", "k", "d"), "changed");
}

TEST(ProfileFile, KeepsCrlfLineEnds) {
  TempDir dir;
  std::string path = dir / "d.ini";
  WriteFile(path, "[S]\r\nk=v\r\n");
  ProfileFile f(path);
  EXPECT_EQ(f.ReadString("S", "k", ""), "v");
  ASSERT_EQ(f.WriteString("S", "j", "w"), 0);
  EXPECT_EQ(ReadFile(path), "[S]\r\nk=v\r\nj=w\r\n");
}

TEST(FormRegistry, StoresDecimalTextInFormsSection) {
  TempDir dir;
  FormRegistry reg(dir.path());
  EXPECT_EQ(reg.ReadInt("DraftToolBox.Left", 77), 77);
  ASSERT_EQ(reg.WriteInt("DraftToolBox.Left", -12), 0);
  ASSERT_EQ(reg.WriteInt("DraftToolBox.Top", 300), 0);
  EXPECT_EQ(reg.ReadInt("DraftToolBox.Left", 0), -12);
  EXPECT_EQ(ReadFile(dir / "registry.ini"), "[Forms]\nDraftToolBox.Left=-12\nDraftToolBox.Top=300\n");
  WriteFile(dir / "registry.ini", "[Forms]\nTextToolBox.Left=12px\n");
  EXPECT_EQ(reg.ReadInt("TextToolBox.Left", 5), 5);  // not a number: the default
}

TEST(SettingsModel, ReportsOnlyRealChanges) {
  TempDir dir;
  ProfileFile f(dir / "q.ini");
  f.WriteString("System", "Units", "MM");
  qm::platform::SettingsModel model(f);
  EXPECT_EQ(model.Save(), 0);  // defaults of absent keys are not changes
  for (auto& field : model.Fields())
    if (field.key == "Units") field.value = "INCH";
  EXPECT_EQ(model.Save(), 1);
  EXPECT_EQ(f.ReadString("System", "Units", ""), "INCH");
  EXPECT_FALSE(f.Find("Directories", "Mail").has_value());
}
