#include <gtest/gtest.h>

#include <sstream>

#include "app/cli/options.h"
#include "app/cli/verbs.h"
#include "app/config.h"
#include "app/language.h"
#include "geom/geometry.h"
#include "platform/paths.h"
#include "test_support.h"

using namespace qm::app;
using qm::test::ReadFile;
using qm::test::TempDir;
using qm::test::WriteFile;

TEST(ConfigNumbers, GeneralFormatWithFourDigits) {
  struct Case {
    double v;
    const char* text;
  } cases[] = {
      {12.3456, "12.35"}, {10, "10"},          {0.001, "0.001"},     {0.00015, "0.00015"}, {0, "0"},
      {1, "1"},           {-2.5, "-2.5"},      {1234, "1234"},       {12346, "1.235E4"},   {1e-6, "1E-6"},
      {1e30, "1E30"},     {99.999, "100"},     {0.1, "0.1"},         {50, "50"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatGeneral4(c.v), c.text) << c.v;
}

TEST(ConfigNumbers, ParsesOnlyCompleteDecimalNumbers) {
  struct Case {
    const char* text;
    bool ok;
    double v;
  } cases[] = {
      {"12.3456", true, 12.3456}, {"-1", true, -1},       {"+2", true, 2},   {"1e3", true, 1000},
      {"abc", false, 0},          {"1,5", false, 0},      {"12px", false, 0}, {"inf", false, 0},
      {"nan", false, 0},          {"0x10", false, 0},     {"", false, 0},
      // Only the first 20 characters count.
      {"1.000000000000000000009", true, 1.0},
  };
  for (const auto& c : cases) {
    double v = -99;
    EXPECT_EQ(ParseConfigNumber(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.v) << c.text;
    }
  }
}

namespace {
std::string RunStart(const std::string& dir) {
  Configuration config(dir, dir + "/rt");
  config.Initialise();
  config.Initialise();
  config.LoadSystemConfig();
  config.LoadUserDefaults(nullptr);
  config.ApplyLanguage(nullptr);
  return ReadFile(config.ConfigPath());
}
}  // namespace

TEST(Configuration, FirstStartWritesEveryKeyWithItsDefault) {
  TempDir dir;
  std::string ini = RunStart(dir.path());
  EXPECT_EQ(ini,
            "[Directories]\nSystem=.\nMail=mail-box\nPosts=posts\nFonts=fonts\n\n"
            "[System]\nScreenColorIndex=0\nUnits=MM\nChain_Tol=0.001\nLanguage=English\n\n"
            "[ExternalApp]\nApplicationName=\nCaptionName=\nDataFile=External.Dat\n\n"
            "[Quillmar]\nHeight=10\nAspect=1\nSpacing=20\nSlant=0\nRotation=0\nWordSpacing=50\n"
            "LineSpacing=15\nLineDirection=0\nKernMode=Kern\nFont=Arial\nShowArrows=NO\nShowMarkDimensions=NO\n");
  // A second start changes nothing.
  EXPECT_EQ(RunStart(dir.path()), ini);
  // The mail box exists on a fresh machine.
  EXPECT_TRUE(qm::platform::IsDirectory(dir / "mail-box"));
}

TEST(Configuration, ReadBackRulesAndDerivedValues) {
  TempDir dir;
  WriteFile(dir / "quillery5.ini",
            "[System]\nChain_Tol=0.00015\nUnits=Inches\nLeft_Scale=2\nTop_Scale=1\nRight_Scale=0\n"
            "[Directories]\nMail=/abs/box\nFonts=my fonts\n"
            "[Quillmar]\nHeight=12.3456\nAspect=abc\nKernMode=Width\nShowArrows=yes\n");
  Configuration config(dir.path(), dir / "rt");
  config.Initialise();
  config.LoadUserDefaults(nullptr);
  const TConfig& c = config.Record();
  EXPECT_DOUBLE_EQ(c.ChainTolerance, 0.00015);
  EXPECT_DOUBLE_EQ(c.UnitFactor, 25.4);
  EXPECT_EQ(c.ScaleVisible, (std::array<bool, 4>{false, true, false, true}));
  EXPECT_DOUBLE_EQ(c.DefaultTextHeight, 12.3456);
  EXPECT_DOUBLE_EQ(c.DefaultTextAspect, 1.0);
  EXPECT_EQ(c.DefaultKernMode, 'W');
  EXPECT_TRUE(c.ShowArrows);
  EXPECT_EQ(c.MailDir, "/abs/box");
  EXPECT_EQ(c.FontsDir, dir / "my fonts");
  EXPECT_EQ(c.SystemDir, dir.path());
  EXPECT_EQ(c.MailDatPath, "/abs/box/mail.dat");
  EXPECT_EQ(c.ToolbarLayoutPath, dir / "Quillmar.lay");
  EXPECT_DOUBLE_EQ(qm::Eps, 1e-6);

  qm::platform::ProfileFile f(dir / "quillery5.ini");
  EXPECT_EQ(f.ReadString("System", "Chain_Tol", ""), "0.00015");
  EXPECT_EQ(f.ReadString("Quillmar", "Height", ""), "12.35");
  EXPECT_EQ(f.ReadString("Quillmar", "Aspect", ""), "1");
  EXPECT_EQ(f.ReadString("System", "Units", ""), "Inches");  // text keys are written back as read
  EXPECT_EQ(f.ReadString("System", "Left_Scale", ""), "2");   // scale keys are not rewritten
}

TEST(Configuration, UnitsSelectInchesWhenTheyContainIN) {
  struct Case {
    const char* units;
    double factor;
  } cases[] = {{"inch", 25.4}, {"Inches", 25.4}, {"IN", 25.4}, {"mm", 1}, {"cm", 1}, {"", 1}, {"MINUTES", 25.4}};
  for (const auto& c : cases) {
    TempDir dir;
    WriteFile(dir / "quillery5.ini", std::string("[System]\nUnits=") + c.units + "\n");
    Configuration config(dir.path(), dir / "rt");
    config.Initialise();
    EXPECT_DOUBLE_EQ(config.Record().UnitFactor, c.factor) << c.units;
  }
}

TEST(Configuration, MainWindowTakesScaleVisibilityFromQuillmarSection) {
  struct Sink : ScaleVisibilitySink {
    std::array<int, 4> v{-1, -1, -1, -1};
    void SetScaleVisible(int which, bool visible) override { v[static_cast<std::size_t>(which)] = visible; }
  } sink;
  TempDir dir;
  WriteFile(dir / "quillery5.ini", "[Quillmar]\nTop_Scale=0\nBottom_Scale=3\n");
  Configuration config(dir.path(), dir / "rt");
  config.Initialise();
  config.LoadUserDefaults(&sink);
  EXPECT_EQ(sink.v, (std::array<int, 4>{1, 0, 1, 0}));
  EXPECT_FALSE(qm::platform::ProfileFile(dir / "quillery5.ini").Find("Quillmar", "Left_Scale"));
}

TEST(FamilyRules, TitleAndClassMustBothMatch) {
  struct Case {
    const char *title, *cls, *external;
    int kind;
  } cases[] = {
      {"Quillmar-[a.qmd]", "TCADChild", "", 0}, {"Quillmar", "Other", "", -1},
      {"Sorvel 5", "TSorvelApp", "", 1},        {"Sorvel 5", "TOther", "", -1},
      {"Tornak", "TTornakForm", "", 2},         {"My Imgel", "TImgelForm", "", 3},
      {"ExtApp v2", "Any", "ExtApp", 4},        {"The ExtApp", "Any", "ExtApp", -1},
      {"", "TCADChild", "", -1},                {"quillmar", "TCADChild", "", -1},
  };
  for (const auto& c : cases) {
    qm::platform::FamilyWindow w;
    w.endpoint = "x";
    w.title = c.title;
    w.className = c.cls;
    EXPECT_EQ(ClassifyFamilyWindow(w, c.external), c.kind) << c.title << " / " << c.cls;
  }
}

TEST(Language, TextsSwitchAndFallBack) {
  TempDir dir;
  WriteFile(dir / "q.lan", "[Deutsch]\nTCADChild.FileItem.Caption=&Datei\n@107=Fehler\n[English]\n@18=Quillmar!\n");
  auto file = std::make_shared<LanguageFile>();
  ASSERT_EQ(file->Load(dir / "q.lan"), 0);
  TMultiLang lang("TCADChild");
  EXPECT_EQ(lang.Name(), "TCADChildMultLang1");
  lang.SetLanguageFile(file);
  std::string caption, exitCaption;
  lang.Register("FileItem", "Caption", "&File", [&](const std::string& t) { caption = t; });
  lang.Register("ExitItem", "Caption", "E&xit", [&](const std::string& t) { exitCaption = t; });
  EXPECT_EQ(caption, "&File");
  lang.SetLanguage("Deutsch");
  EXPECT_EQ(caption, "&Datei");
  EXPECT_EQ(exitCaption, "E&xit");  // no translation: the built-in text
  EXPECT_EQ(lang.Message(107, "Error"), "Fehler");
  EXPECT_EQ(lang.Message(108, "Literal"), "Literal");
  lang.SetLanguage("English");
  EXPECT_EQ(caption, "&File");
  EXPECT_EQ(lang.Message(18, "Quillmar"), "Quillmar!");
  LanguageFile missing;
  EXPECT_EQ(missing.Load(dir / "none.lan"), 0);
}

TEST(CliConfig, PrintsTheRecordAsJson) {
  TempDir dir;
  WriteFile(dir / "quillery5.ini", "[Quillmar]\nHeight=12.3456\n[System]\nUnits=Inches\n");
  qm::cli::Options opts;
  opts.values["config-dir"] = dir.path();
  std::ostringstream out, err;
  ASSERT_EQ(qm::cli::RunConfig(opts, out, err), 0) << err.str();
  std::string json = out.str();
  EXPECT_NE(json.find("\"DefaultTextHeight\": 12.3456,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"UnitFactor\": 25.4,"), std::string::npos);
  EXPECT_NE(json.find("\"ScaleVisible\": [true, true, true, true],"), std::string::npos);
  EXPECT_NE(json.find("\"MailDir\": \"" + dir.path() + "/mail-box\""), std::string::npos);

  qm::cli::Options bad;
  std::string error;
  EXPECT_FALSE(qm::cli::ParseOptions({"--nope"}, {{"config-dir", true, ""}}, bad, error));
  EXPECT_EQ(error, "unknown option --nope");
}
