#include <gtest/gtest.h>

#include "app/recent_files.h"
#include "test_support.h"

using namespace qm::app;
using qm::platform::ProfileFile;
using qm::test::ReadFile;
using qm::test::TempDir;

namespace {
std::array<std::string, 5> Names(const TRecentFiles& r) {
  return {r.Name(1), r.Name(2), r.Name(3), r.Name(4), r.Name(5)};
}
}  // namespace

TEST(RecentFiles, FirstStartWritesFiveEmptyKeysAndHidesTheItems) {
  TempDir dir;
  ProfileFile ini(dir / "quillery5.ini");
  TRecentFiles recent(ini);
  recent.Load();
  EXPECT_EQ(ReadFile(dir / "quillery5.ini"),
            "[Quillmar]\nLastFile1=\nLastFile2=\nLastFile3=\nLastFile4=\nLastFile5=\n");
  for (int k = 1; k <= 5; ++k) EXPECT_FALSE(recent.Visible(k)) << k;
  EXPECT_FALSE(recent.Visible(0));
  EXPECT_FALSE(recent.Visible(6));
}

TEST(RecentFiles, NewFilesGoOnTopAndKnownOnesChangeNothing) {
  TempDir dir;
  ProfileFile ini(dir / "quillery5.ini");
  TRecentFiles recent(ini);
  recent.Load();
  for (const char* f : {"/d/a.qmd", "/d/b.qmd", "/d/c.qmd", "/d/d.qmd", "/d/e.qmd", "/d/f.qmd"})
    EXPECT_TRUE(recent.Add(f));
  const std::array<std::string, 5> expected = {"/d/f.qmd", "/d/e.qmd", "/d/d.qmd", "/d/c.qmd", "/d/b.qmd"};
  EXPECT_EQ(Names(recent), expected);
  const std::string file = ReadFile(dir / "quillery5.ini");
  EXPECT_EQ(file,
            "[Quillmar]\nLastFile1=/d/f.qmd\nLastFile2=/d/e.qmd\nLastFile3=/d/d.qmd\nLastFile4=/d/c.qmd\n"
            "LastFile5=/d/b.qmd\n");

  // Reopening the file shown third, or the first, changes nothing.
  EXPECT_FALSE(recent.Add("/d/d.qmd"));
  EXPECT_FALSE(recent.Add("/d/f.qmd"));
  EXPECT_EQ(Names(recent), expected);
  EXPECT_EQ(ReadFile(dir / "quillery5.ini"), file);

  // The next start shows the same list.
  ProfileFile again(dir / "quillery5.ini");
  TRecentFiles next(again);
  next.Load();
  EXPECT_EQ(Names(next), expected);
}

TEST(RecentFiles, NamesKeepTheirCaseAndLength) {
  TempDir dir;
  ProfileFile ini(dir / "quillery5.ini");
  TRecentFiles recent(ini);
  recent.Load();
  const std::string longName = "/home/u/" + std::string(300, 'x') + "/Plan.qmd";
  EXPECT_TRUE(recent.Add("/home/u/Plan.qmd"));
  EXPECT_TRUE(recent.Add("/home/u/plan.qmd"));  // another file on Linux
  EXPECT_TRUE(recent.Add(longName));
  EXPECT_FALSE(recent.Add(""));
  EXPECT_FALSE(recent.Add("/home/u/two\nlines.qmd"));
  ProfileFile again(dir / "quillery5.ini");
  TRecentFiles next(again);
  next.Load();
  EXPECT_EQ(next.Name(1), longName);
  EXPECT_EQ(next.Name(2), "/home/u/plan.qmd");
  EXPECT_EQ(next.Name(3), "/home/u/Plan.qmd");
  EXPECT_FALSE(next.Visible(4));
}

TEST(RecentFiles, AGapInTheFileIsNotShownAfterAShift) {
  TempDir dir;
  qm::test::WriteFile(dir / "quillery5.ini", "[Quillmar]\nLastFile1=\nLastFile2=/d/x.qmd\n");
  ProfileFile ini(dir / "quillery5.ini");
  TRecentFiles recent(ini);
  recent.Load();
  EXPECT_FALSE(recent.Visible(1));
  EXPECT_TRUE(recent.Visible(2));
  recent.Add("/d/y.qmd");
  // The menu now shows y, nothing, x: the file says the same.
  EXPECT_EQ(ini.ReadString("Quillmar", "LastFile2", "?"), "");
  EXPECT_EQ(ini.ReadString("Quillmar", "LastFile3", "?"), "/d/x.qmd");
}
