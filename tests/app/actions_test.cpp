#include <gtest/gtest.h>

#include "app/actions.h"
#include "app_fakes.h"

using namespace qm::app;
using qm::test::FakeUndo;
using Names = std::vector<std::string>;

TEST(ReduceCaption, RemovesAmpersandsDotsAndBlanks) {
  struct Case {
    const char* caption;
    const char* name;
  } cases[] = {
      {"&Print ...", "Print"},     {"Save &As...", "Save As"},   {"Zoom &All", "Zoom All"},
      {" &Open... ", "Open"},      {"S&hadow...", "Shadow"},     {"Set Name ...", "Set Name"},
      {"Remove!", "Remove!"},      {"&Show Picture On/Off", "Show Picture On/Off"},
      {"&Undo (Diagonal Straight Line)", "Undo (Diagonal Straight Line)"},
      {"", ""},                    {"...", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ReduceCaption(c.caption), c.name) << c.caption;
}

class ActionLogTest : public ::testing::Test {
 protected:
  int content = 0;  // stands for the drawing: steps remember it
  FakeUndo undo{&content};
  TActionLog log{undo};
};

TEST_F(ActionLogTest, RecordActionSetsModifiedAndClearsThePendingChange) {
  log.NoteChange("Text");
  EXPECT_TRUE(log.ChangePending());
  EXPECT_TRUE(undo.pending);

  EXPECT_FALSE(log.RecordAction(""));  // an empty name records nothing
  EXPECT_TRUE(undo.steps.empty());
  EXPECT_FALSE(log.Modified());

  EXPECT_TRUE(log.RecordAction("Add Layer"));
  EXPECT_EQ(undo.Names(), Names{"Add Layer"});
  EXPECT_TRUE(log.Modified());
  EXPECT_FALSE(log.ChangePending());
  EXPECT_FALSE(undo.pending);
  EXPECT_EQ(log.PendingActionName(), "");
}

TEST_F(ActionLogTest, AFailedSnapshotLeavesTheChangePending) {
  undo.failRecords = true;
  EXPECT_FALSE(log.RecordAction("Cut"));
  EXPECT_TRUE(log.Modified());
  EXPECT_TRUE(log.ChangePending());
  EXPECT_TRUE(undo.pending);
  // The next recording takes the change along.
  undo.failRecords = false;
  EXPECT_TRUE(log.RecordPending("Undo"));
  EXPECT_EQ(undo.Names(), Names{"Undo"});
}

TEST_F(ActionLogTest, UndoRecordsAPendingChangeFirstAndClearsRedrawPending) {
  log.StartedNewDrawing();
  content = 1;
  log.NoteChange("Text");
  log.SetRedrawPending(true);
  EXPECT_TRUE(log.Undo());
  EXPECT_EQ(undo.Names(), (Names{"New", "Text"}));
  EXPECT_EQ(undo.index, 0);
  EXPECT_TRUE(log.Modified());
  EXPECT_FALSE(log.RedrawPending());
  // Escape after Undo neither records nor drops the redo branch.
  EXPECT_FALSE(log.FinishResetActivity("Diagonal Straight Line"));
  EXPECT_EQ(undo.steps.size(), 2u);
  log.SetRedrawPending(true);
  EXPECT_TRUE(log.Redo());
  EXPECT_FALSE(log.RedrawPending());
  EXPECT_EQ(undo.index, 1);

  // Without a pending change the step is named "Undo".
  content = 2;
  log.NoteChange();
  log.Undo();
  EXPECT_EQ(undo.Names(), (Names{"New", "Text", "Undo"}));
}

TEST_F(ActionLogTest, UndoWithNothingToUndoLeavesTheDrawingUnmodified) {
  log.LoadedNativeDrawing();
  EXPECT_FALSE(log.Undo());
  EXPECT_FALSE(log.Redo());
  EXPECT_FALSE(log.Modified());
}

TEST_F(ActionLogTest, ResetActivityRecordsTheToolsWorkOnce) {
  log.SetRedrawPending(true);
  EXPECT_TRUE(log.FinishResetActivity("Diagonal Straight Line"));
  EXPECT_FALSE(log.FinishResetActivity("Diagonal Straight Line"));
  EXPECT_EQ(undo.Names(), Names{"Diagonal Straight Line"});
}

TEST_F(ActionLogTest, AddLayerRecordsOnceAfterAdding) {
  log.StartedNewDrawing();
  log.AddLayer([&] { content = 2; });
  ASSERT_EQ(undo.Names(), (Names{"New", "Add Layer"}));
  EXPECT_EQ(undo.steps[1].content, 2);  // the step holds the new layer

  // A pending change gets its own step before the layer is added.
  content = 3;
  log.NoteChange("Text");
  log.AddLayer([&] { content = 4; });
  ASSERT_EQ(undo.Names(), (Names{"New", "Add Layer", "Text", "Add Layer"}));
  EXPECT_EQ(undo.steps[2].content, 3);
  EXPECT_EQ(undo.steps[3].content, 4);
}

TEST_F(ActionLogTest, CutDeletesOnlyAfterTheCopyWasWritten) {
  bool deleted = false;
  EXPECT_FALSE(log.Cut([] { return false; }, [&] { deleted = true; }));
  EXPECT_FALSE(deleted);
  EXPECT_TRUE(undo.steps.empty());
  EXPECT_TRUE(log.Cut([] { return true; }, [&] { deleted = true; }));
  EXPECT_TRUE(deleted);
  EXPECT_EQ(undo.Names(), Names{"Cut"});
}

TEST(PastedKeys, EachKindOfLineEndIsOneEnter) {
  struct Case {
    const char* text;
    const char* keys;
  } cases[] = {
      {"ab", "ab"},           {"a\r\nb", "a\rb"},      {"a\rb", "a\rb"},       {"a\nb", "a\rb"},
      {"a\n\rb", "a\r\rb"},   {"\r\n\r\n", "\r\r"},    {"x\r", "x\r"},          {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PastedKeys(c.text), c.keys) << c.text;
}

TEST_F(ActionLogTest, APasteIsOneStepHoweverManyLinesItHas) {
  std::string text;
  for (int i = 0; i < 150; ++i) text += "line\r\n";
  std::string inserted;
  EXPECT_TRUE(log.PasteText(text, [&](char k) { inserted.push_back(k); }));
  EXPECT_EQ(inserted.size(), 150u * 5);
  EXPECT_EQ(undo.Names(), Names{"Paste"});
  EXPECT_FALSE(log.PasteText("", [&](char) { FAIL(); }));
  EXPECT_EQ(undo.steps.size(), 1u);
}

TEST_F(ActionLogTest, TypingIsPendingUntilEnter) {
  log.TypedKey('a');
  EXPECT_TRUE(log.ChangePending());
  EXPECT_TRUE(undo.steps.empty());
  log.TypedKey(13);
  EXPECT_EQ(undo.Names(), Names{"Enter"});
  EXPECT_FALSE(log.ChangePending());
}

TEST_F(ActionLogTest, NewOpenAndRecoveryStartTheUndoListAfresh) {
  log.RecordAction("Cut");
  log.NoteChange();
  log.LoadedNativeDrawing();
  EXPECT_EQ(undo.clears, 1);
  EXPECT_EQ(undo.Names(), Names{"Open"});
  EXPECT_FALSE(log.Modified());  // an untouched drawing does not ask to be saved
  EXPECT_FALSE(log.ChangePending());

  log.StartedNewDrawing();
  EXPECT_EQ(undo.Names(), Names{"New"});
  EXPECT_FALSE(log.Modified());

  log.RecoveredDrawing();  // the restored drawing was never saved
  EXPECT_EQ(undo.Names(), Names{"New"});
  EXPECT_TRUE(log.Modified());
}

TEST(LayerRules, UndoReselectsTheClampedLayerAndRemoveAsksForText) {
  struct Case {
    int previous, tabs, expected;
  } cases[] = {{0, 3, 0}, {2, 3, 2}, {3, 3, 2}, {7, 3, 2}, {-1, 3, 0}, {1, 0, -1}};
  for (const auto& c : cases) EXPECT_EQ(LayerAfterUndo(c.previous, c.tabs), c.expected) << c.previous;
  EXPECT_TRUE(RemoveLayerAsks(false, true));
  EXPECT_FALSE(RemoveLayerAsks(false, false));
}
