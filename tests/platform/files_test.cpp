#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/atomic_file.h"
#include "platform/launcher.h"
#include "platform/palette.h"
#include "platform/paths.h"
#include "test_support.h"

using namespace qm::platform;
using qm::test::ReadFile;
using qm::test::TempDir;
using qm::test::WriteFile;

TEST(Paths, JoinSplitAndExtensionsKeepCase) {
  EXPECT_EQ(JoinPath("/a/b", "\\mail.dat"), "/a/b/mail.dat");
  EXPECT_EQ(JoinPath("/a/b/", "c"), "/a/b/c");
  EXPECT_EQ(JoinPath("", "c"), "c");
  EXPECT_EQ(DirectoryOf("/x/y.Qmd"), "/x");
  EXPECT_EQ(DirectoryOf("/y"), "/");
  EXPECT_EQ(FileNameOf("/x/y.Qmd"), "y.Qmd");
  EXPECT_EQ(ExtensionOf("/x.d/Drawing.QMD"), ".QMD");
  EXPECT_EQ(ExtensionOf("/x.d/Drawing"), "");  // a dotted directory is not an extension
  EXPECT_EQ(ExtensionOf("/x/.hidden"), "");
  EXPECT_TRUE(HasExtension("/x/A.QmD", ".qmd"));
  EXPECT_EQ(ResolveAgainst("/cfg", "."), "/cfg");
  EXPECT_EQ(ResolveAgainst("/cfg", "./mail-box"), "/cfg/mail-box");
  EXPECT_EQ(ResolveAgainst("/cfg", "/abs"), "/abs");
}

TEST(AtomicFile, ReplacesKeepsModeAndRefusesReadOnly) {
  TempDir dir;
  std::string path = dir / "f.bin";
  ASSERT_EQ(WriteFileAtomically(path, std::string("one\0two", 7)), 0);
  EXPECT_EQ(ReadFile(path), std::string("one\0two", 7));
  ::chmod(path.c_str(), 0640);
  ASSERT_EQ(WriteFileAtomically(path, "second"), 0);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(ReadFile(path), "second");

  if (::geteuid() != 0) {  // root may write anything
    ::chmod(path.c_str(), 0440);
    EXPECT_EQ(WriteFileAtomically(path, "third"), EACCES);
    EXPECT_EQ(ReadFile(path), "second");
  }
  // An unwritable destination leaves nothing behind and reports the error.
  EXPECT_NE(WriteFileAtomically(dir / "missing/dir/f", "x"), 0);
  std::string s;
  EXPECT_EQ(ReadWholeFile(dir / "nope", s), ENOENT);
  EXPECT_EQ(ReadWholeFile(path, s, 3), EFBIG);
}

TEST(Launcher, StartsDetachedInWorkDirAndReportsErrno) {
  TempDir dir;
  std::string script = dir / "Companion";
  WriteFile(script, "#!/bin/sh\npwd > started.txt\necho \"$1\" >> started.txt\n");
  ::chmod(script.c_str(), 0755);
  ASSERT_EQ(LaunchDetached(script, {"-Q"}, dir.path()), 0);
  std::string out;
  for (int i = 0; i < 200 && out.find("-Q") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    out = ReadFile(dir / "started.txt");
  }
  char real[4096];
  ASSERT_NE(::realpath(dir.path().c_str(), real), nullptr);
  EXPECT_EQ(out, std::string(real) + "\n-Q\n");
  EXPECT_EQ(LaunchDetached(dir / "missing", {}, dir.path()), ENOENT);
  WriteFile(dir / "plain", "not executable");
  EXPECT_EQ(LaunchDetached(dir / "plain", {}, dir.path()), EACCES);
}

TEST(Palette, ClassicTwentyEntriesBlackFirst) {
  ColorTable t = ColorTable::FromDefaultPalette();
  ASSERT_EQ(t.Count(), 20);
  EXPECT_EQ(t.At(0), (Rgb{0, 0, 0}));
  EXPECT_EQ(t.At(19), (Rgb{255, 255, 255}));
  EXPECT_EQ(t.At(13), (Rgb{255, 0, 0}));
  EXPECT_EQ(t.At(20), t.At(0));  // wraps
  EXPECT_EQ(t.At(-1), t.At(19));
}
