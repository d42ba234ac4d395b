#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "model/undo.h"
#include "platform/paths.h"
#include "test_support.h"

using namespace qm;
using qm::test::ReadFile;
using qm::test::TempDir;
using qm::test::WriteFile;

namespace {

// A drawing that is just a text: saving writes it, loading replaces it.
struct FakeStore : TSnapshotStore {
  std::string drawing = "empty";
  bool failSave = false;
  std::set<std::string> unreadable;
  bool SaveSnapshot(const std::string& path) override {
    if (failSave) return false;
    WriteFile(path, drawing);
    return true;
  }
  bool LoadSnapshot(const std::string& path) override {
    if (unreadable.count(path) || !platform::FileExists(path)) return false;
    drawing = ReadFile(path);
    return true;
  }
};

struct FakeControls : TUndoControls {
  bool undoEnabled = false, redoEnabled = false;
  std::string undoCaption, redoCaption, undoHint, redoHint;
  void SetUndoState(bool e, const std::string& c, const std::string& h) override {
    undoEnabled = e;
    undoCaption = c;
    undoHint = h;
  }
  void SetRedoState(bool e, const std::string& c, const std::string& h) override {
    redoEnabled = e;
    redoCaption = c;
    redoHint = h;
  }
};

std::size_t SnapshotCount(const std::string& dir) {
  std::size_t n = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (IsSnapshotFileName(e.path().filename().string())) ++n;
  return n;
}

}  // namespace

TEST(Undo, CaptionsReduceLikeMenuHints) {
  EXPECT_EQ(ReduceCaption("&Undo (Diagonal Straight Line)"), "Undo (Diagonal Straight Line)");
  EXPECT_EQ(ReduceCaption(" &Open... "), "Open");
  EXPECT_EQ(ReduceCaption("&Redo"), "Redo");
  EXPECT_TRUE(IsSnapshotFileName("$C12.3"));
  EXPECT_TRUE(IsSnapshotFileName("$c12.3"));
  EXPECT_FALSE(IsSnapshotFileName("C12.3"));
}

TEST(Undo, StepsBackAndForthWithCaptionsAndStates) {
  TempDir dir;
  FakeStore store;
  FakeControls ui;
  TUndoList list(dir.path(), "77", store, &ui);
  EXPECT_FALSE(ui.undoEnabled);
  store.drawing = "A";
  ASSERT_TRUE(list.Record("New"));
  EXPECT_FALSE(ui.undoEnabled);  // nothing to undo right after New
  store.drawing = "B";
  ASSERT_TRUE(list.Record("Diagonal Straight Line"));
  EXPECT_TRUE(ui.undoEnabled);
  EXPECT_EQ(ui.undoCaption, "&Undo (Diagonal Straight Line)");
  EXPECT_EQ(ui.undoHint, "Undo (Diagonal Straight Line)");
  EXPECT_FALSE(ui.redoEnabled);
  EXPECT_EQ(ui.redoCaption, "&Redo");

  ASSERT_TRUE(list.Undo());
  EXPECT_EQ(store.drawing, "A");
  EXPECT_EQ(ui.redoCaption, "&Redo (Diagonal Straight Line)");
  EXPECT_TRUE(ui.redoEnabled);
  EXPECT_FALSE(ui.undoEnabled);
  // A change nobody recorded yet: Redo would lose it.
  list.SetChangePending(true);
  EXPECT_FALSE(ui.redoEnabled);
  EXPECT_FALSE(list.Redo());
  list.SetChangePending(false);
  ASSERT_TRUE(list.Redo());
  EXPECT_EQ(store.drawing, "B");
  EXPECT_EQ(ui.undoCaption, "&Undo (Diagonal Straight Line)");

  // A long name is cut to 40 characters.
  ASSERT_TRUE(list.Record(std::string(60, 'x')));
  EXPECT_EQ(ui.undoCaption, "&Undo (" + std::string(40, 'x') + ")");
}

TEST(Undo, RecordAfterUndoDropsTheRedoBranch) {
  TempDir dir;
  FakeStore store;
  TUndoList list(dir.path(), "5", store, nullptr);
  for (const char* d : {"A", "B", "C"}) {
    store.drawing = d;
    ASSERT_TRUE(list.Record(d));
  }
  ASSERT_TRUE(list.Undo());
  ASSERT_TRUE(list.Undo());
  store.drawing = "D";
  ASSERT_TRUE(list.Record("D"));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_FALSE(list.CanRedo());
  EXPECT_EQ(SnapshotCount(dir.path()), 2u);
  ASSERT_TRUE(list.Undo());
  EXPECT_EQ(store.drawing, "A");
}

TEST(Undo, LimitCounterWrapAndFailedSaves) {
  TempDir dir;
  FakeStore store;
  TUndoList list(dir.path(), "9", store, nullptr);
  for (int i = 0; i < 150; ++i) ASSERT_TRUE(list.Record("step"));
  EXPECT_EQ(list.Count(), 101);
  EXPECT_EQ(SnapshotCount(dir.path()), 101u);
  EXPECT_EQ(list.Counter(), 150);
  for (int i = 150; i < 899; ++i) ASSERT_TRUE(list.Record("step"));
  EXPECT_EQ(list.Counter(), 899);
  ASSERT_TRUE(list.Record("wrap"));
  EXPECT_EQ(list.Counter(), 0);
  EXPECT_TRUE(platform::FileExists(dir / "$C9.0"));
  EXPECT_EQ(SnapshotCount(dir.path()), 101u);

  // A save that fails lists nothing and leaves the position alone.
  int index = list.Index(), count = list.Count();
  store.failSave = true;
  EXPECT_FALSE(list.Record("lost"));
  EXPECT_EQ(list.Index(), index);
  EXPECT_EQ(list.Count(), count);
  EXPECT_EQ(list.Counter(), 0);
}

TEST(Undo, MissingSnapshotKeepsThePosition) {
  TempDir dir;
  FakeStore store;
  TUndoList list(dir.path(), "3", store, nullptr);
  ASSERT_TRUE(list.Record("a"));
  ASSERT_TRUE(list.Record("b"));
  ::unlink(list.Item(0).FileName.c_str());
  EXPECT_FALSE(list.Undo());
  EXPECT_EQ(list.Index(), 1);
}

TEST(Undo, ClearAllMatchesTheTagExactlyAndExitKeepsRunningInstances) {
  TempDir dir;
  FakeStore store;
  WriteFile(dir / "$C1234.1", "other window, still running");
  WriteFile(dir / "$C999999.4", "a crashed instance");
  WriteFile(dir / "$cad", "not ours either");  // lower-case prefix: also a snapshot name
  {
    TUndoList list(dir.path(), "12", store, nullptr);
    list.SetRunningTest([](const std::string& tag) { return tag == "1234"; });
    ASSERT_TRUE(list.Record("x"));
    ASSERT_TRUE(list.Record("y"));
    list.ClearAll();
    EXPECT_FALSE(platform::FileExists(dir / "$C12.1"));
    EXPECT_TRUE(platform::FileExists(dir / "$C1234.1"));  // tag 12 is not a prefix match
    EXPECT_EQ(list.Index(), -1);
    ASSERT_TRUE(list.Record("z"));
  }
  // Normal exit: own snapshots and those of instances that no longer run.
  EXPECT_FALSE(platform::FileExists(dir / "$C12.1"));
  EXPECT_FALSE(platform::FileExists(dir / "$C999999.4"));
  EXPECT_TRUE(platform::FileExists(dir / "$C1234.1"));
}

TEST(Undo, RecoveryTakesTheNewestLoadableSnapshot) {
  TempDir dir;
  FakeStore store;
  auto plant = [&](const std::string& name, const std::string& content, int age) {
    WriteFile(dir / name, content);
    struct timeval tv[2];
    ::gettimeofday(&tv[0], nullptr);
    tv[0].tv_sec -= age;
    tv[1] = tv[0];
    ::utimes((dir / name).c_str(), tv);
  };
  plant("$C4242.7", "older", 100);
  plant("$C4242.8", "newest but damaged", 10);
  plant("$C4242.6", "oldest", 200);
  store.unreadable.insert(dir / "$C4242.8");
  TUndoList list(dir.path(), "1", store, nullptr);
  ASSERT_TRUE(list.RecoverLatest());
  EXPECT_EQ(store.drawing, "older");

  TempDir empty;
  TUndoList none(empty.path(), "1", store, nullptr);
  EXPECT_FALSE(none.RecoverLatest());
}
