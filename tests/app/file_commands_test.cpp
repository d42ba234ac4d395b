#include <gtest/gtest.h>

#include <filesystem>

#include "app/file_commands.h"
#include "app_fakes.h"
#include "test_support.h"

using namespace qm::app;
using qm::platform::ProfileFile;
using qm::test::FakeDialogs;
using qm::test::FakeDocument;
using qm::test::FakeMessages;
using qm::test::FakeUndo;
using qm::test::ReadFile;
using qm::test::TempDir;
using Names = std::vector<std::string>;

namespace {

// The main window's file commands over doubles, with a real configuration
// file for the recent files and real files on disk for the open commands.
struct Session {
  Session() : ini(dir / "quillery5.ini"), recent(ini) { recent.Load(); }

  // A file that exists, so that the open commands get as far as the reader.
  std::string File(const std::string& name) {
    std::string path = dir / name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    qm::test::WriteFile(path, "x");
    return path;
  }
  // Opens an existing native drawing through File › Open.
  void Opened(const std::string& name) {
    dialogs.openChoice = File(name);
    ASSERT_EQ(files.OpenDrawing().result, TFileResult::Done);
  }
  // Unsaved work: a recorded command and a change no step holds yet.
  void Edit() {
    doc.empty = false;
    log.RecordAction("Cut");
    log.NoteChange("Text");
  }
  bool Unsaved() const { return log.Modified() || log.ChangePending(); }
  std::string Ini(int k) { return ini.ReadString("Quillmar", "LastFile" + std::to_string(k), "?"); }

  TempDir dir;
  ProfileFile ini;
  TRecentFiles recent;
  FakeUndo undo;
  TActionLog log{undo};
  FakeDocument doc;
  FakeMessages messages;
  FakeDialogs dialogs;
  TFileCommands files{doc, log, recent, messages, dialogs};
};

}  // namespace

TEST(FileNames, ExtensionsRouteWithoutChangingTheName) {
  struct Case {
    const char *path, *withExtension;
    TFileKind load, save;
  } cases[] = {
      {"/home/u/plan", "/home/u/plan.qmd", TFileKind::Native, TFileKind::Native},
      // Dotted directories are common: only the last component counts.
      {"/home/u/v1.2/Plan", "/home/u/v1.2/Plan.qmd", TFileKind::Native, TFileKind::Native},
      {"/home/u/Plan.QMD", "/home/u/Plan.QMD", TFileKind::Native, TFileKind::Native},
      {"/d/old.Cad", "/d/old.Cad", TFileKind::Native, TFileKind::Native},
      {"/d/part.DXF", "/d/part.DXF", TFileKind::Converter, TFileKind::Export},
      {"/d/part.plt", "/d/part.plt", TFileKind::Converter, TFileKind::Export},
      {"/d/part.eps", "/d/part.eps", TFileKind::Converter, TFileKind::Native},
      {"/d/photo.JPEG", "/d/photo.JPEG", TFileKind::Picture, TFileKind::Native},
      {"/d/plan.v2", "/d/plan.v2", TFileKind::Unknown, TFileKind::Native},
      {"/mail/$C1234.5.7", "/mail/$C1234.5.7", TFileKind::Snapshot, TFileKind::Snapshot},
      {"/mail/$cx/plan.qmd", "/mail/$cx/plan.qmd", TFileKind::Native, TFileKind::Native},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithDrawingExtension(c.path), c.withExtension) << c.path;
    EXPECT_EQ(LoadKindOf(c.withExtension), c.load) << c.path;
    EXPECT_EQ(SaveKindOf(c.withExtension), c.save) << c.path;
  }
  EXPECT_EQ(WindowCaption("*.qmd"), "Quillmar");
  EXPECT_EQ(WindowCaption("?.qmd"), "Quillmar-[?.qmd]");
  EXPECT_EQ(WindowCaption("/d/Plan.qmd"), "Quillmar-[/d/Plan.qmd]");
  EXPECT_EQ(FileErrorMessage(1, TFileKind::Native), 109);
  EXPECT_EQ(FileErrorMessage(5, TFileKind::Native), 113);
  EXPECT_EQ(FileErrorMessage(6, TFileKind::Converter), 0);
  EXPECT_EQ(FileErrorMessage(-1, TFileKind::Native), 0);
  EXPECT_EQ(FileErrorMessage(-2, TFileKind::Picture), 114);
  EXPECT_EQ(FileErrorMessage(-7, TFileKind::Picture), 115);
}

TEST(CloseQuery, AnswersOfNewAndExit) {
  struct Case {
    const char* what;
    bool modified, pending, empty;
    std::optional<TAnswer> answer;  // none: no question expected
    std::optional<std::string> saveChoice;
    bool proceeds, unsavedAfter;
    std::size_t saves;
  } cases[] = {
      {"unmodified", false, false, false, {}, {}, true, false, 0},
      {"modified but empty", true, false, true, {}, {}, true, true, 0},
      {"a change still pending", false, true, false, TAnswer::No, {}, true, true, 0},
      // Yes saves; the user repeats the command afterwards.
      {"Yes", true, false, false, TAnswer::Yes, "/d/saved", false, false, 1},
      {"Yes, then the save dialog is cancelled", true, false, false, TAnswer::Yes, {}, false, true, 0},
      {"No", true, false, false, TAnswer::No, {}, true, false, 0},
      {"Cancel", true, false, false, TAnswer::Cancel, {}, false, true, 0},
  };
  for (const auto& c : cases) {
    for (bool exit : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (exit ? " (Exit)" : " (New)"));
      Session s;
      s.doc.empty = c.empty;
      s.log.SetModified(c.modified);
      if (c.pending) s.log.NoteChange();
      if (c.answer) s.messages.answers.push_back(*c.answer);
      s.dialogs.saveChoice = c.saveChoice;
      bool proceeded = exit ? s.files.QueryExit() : s.files.NewDrawing() == TFileResult::Done;
      EXPECT_EQ(proceeded, c.proceeds);
      EXPECT_EQ(s.messages.asked, c.answer ? 1 : 0);
      EXPECT_EQ(s.doc.saves.size(), c.saves);
      if (exit) {
        EXPECT_EQ(s.Unsaved(), c.unsavedAfter);
      } else if (proceeded) {
        EXPECT_EQ(s.doc.news, 1);
        EXPECT_EQ(s.files.CurrentFileName(), "?.qmd");
        EXPECT_EQ(s.undo.Names(), Names{"New"});
        EXPECT_FALSE(s.Unsaved());
      } else {
        EXPECT_EQ(s.doc.news, 0);  // the drawing stays as it is
        EXPECT_EQ(s.files.CurrentFileName(), c.saves ? "/d/saved.qmd" : "*.qmd");
      }
    }
  }
}

TEST(FileCommands, OpeningAToFKeepsTheFiveNewestAndReopeningChangesNothing) {
  Session s;
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(s.Ini(k), "") << k;
  std::vector<std::string> paths;
  for (const char* name : {"a.qmd", "b.qmd", "c.qmd", "d.qmd", "e.qmd", "F.Qmd"}) {
    s.Opened(name);
    paths.push_back(s.dir / name);
  }
  const Names expected = {paths[5], paths[4], paths[3], paths[2], paths[1]};
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(s.Ini(k), expected[static_cast<std::size_t>(k - 1)]) << k;
  EXPECT_EQ(s.files.CurrentFileName(), paths[5]);  // the case is kept

  const std::string file = ReadFile(s.dir / "quillery5.ini");
  s.Opened("d.qmd");  // shown third
  EXPECT_EQ(ReadFile(s.dir / "quillery5.ini"), file);
  // Ctrl+3 opens the third item, exactly as it is named.
  ASSERT_EQ(s.files.OpenRecent(3).result, TFileResult::Done);
  EXPECT_EQ(s.doc.loads.back().path, paths[3]);
  EXPECT_EQ(ReadFile(s.dir / "quillery5.ini"), file);
}

TEST(FileCommands, WhatALoadDoesToTheNameTheUndoListAndModified) {
  struct Case {
    const char* what;
    const char* chosen;  // relative to the session's directory; nullptr: the dialog is cancelled
    const char* onDisk;  // the file that exists, nullptr: none
    int code;            // what the reader answers
    TFileResult result;
    TFileKind readAs;        // as the reader is asked
    const char* nameAfter;   // nullptr: the name stays "cur.qmd"
    bool modifiedAfter;
    Names steps;
    int message;  // of the error shown, -1: none shown
  } cases[] = {
      {"a native drawing", "Plan.qmd", "Plan.qmd", 0, TFileResult::Done, TFileKind::Native, "Plan.qmd", false,
       {"Open"}, -1},
      {"a name without extension in a dotted directory", "v1.2/plan", "v1.2/plan.qmd", 0, TFileResult::Done,
       TFileKind::Native, "v1.2/plan.qmd", false, {"Open"}, -1},
      {"a drawing saved under another extension", "plan.v2", "plan.v2", 0, TFileResult::Done, TFileKind::Unknown,
       "plan.v2", false, {"Open"}, -1},
      // An import is not the drawing's file: Save must ask for a name.
      {"a converter import", "Part.DXF", "Part.DXF", 0, TFileResult::Done, TFileKind::Converter, "?.qmd", true,
       {"Open", "Cut", "Open"}, -1},
      {"a background picture", "photo.png", "photo.png", 0, TFileResult::Done, TFileKind::Picture, nullptr, true,
       {"Open", "Cut"}, -1},
      {"a damaged drawing", "bad.qmd", "bad.qmd", -1, TFileResult::Failed, TFileKind::Native, nullptr, true,
       {"Open", "Cut"}, 0},
      {"a file that is not a drawing", "notes.zip", "notes.zip", -1, TFileResult::Failed, TFileKind::Unknown,
       nullptr, true, {"Open", "Cut"}, 0},
      {"a failed import", "part.dxf", "part.dxf", 2, TFileResult::Failed, TFileKind::Converter, nullptr, true,
       {"Open", "Cut"}, 110},
      {"a missing file", "gone.qmd", nullptr, 0, TFileResult::Failed, TFileKind::Native, nullptr, true,
       {"Open", "Cut"}, 109},
      {"the dialog cancelled", nullptr, nullptr, 0, TFileResult::Cancelled, TFileKind::Native, nullptr, true,
       {"Open", "Cut"}, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Session s;
    s.Opened("cur.qmd");
    s.Edit();
    const std::string cur = s.dir / "cur.qmd";
    s.messages.answers.push_back(TAnswer::No);
    if (c.onDisk) s.File(c.onDisk);
    s.dialogs.openChoice.reset();
    if (c.chosen) s.dialogs.openChoice = s.dir / c.chosen;
    const std::size_t loadsBefore = s.doc.loads.size();
    if (c.onDisk) s.doc.loadResults[s.dir / c.onDisk] = c.code;

    TFileOutcome out = s.files.OpenDrawing();
    EXPECT_EQ(out.result, c.result);
    EXPECT_EQ(s.messages.asked, 1);
    if (c.onDisk) {
      ASSERT_EQ(s.doc.loads.size(), loadsBefore + 1);
      EXPECT_EQ(s.doc.loads.back().path, s.dir / c.onDisk);
      EXPECT_EQ(s.doc.loads.back().kind, c.readAs);
    } else {
      EXPECT_EQ(s.doc.loads.size(), loadsBefore);
    }
    const std::string nameAfter = !c.nameAfter ? cur : c.nameAfter[0] == '?' ? c.nameAfter : s.dir / c.nameAfter;
    EXPECT_EQ(s.files.CurrentFileName(), nameAfter);
    EXPECT_EQ(s.log.Modified(), c.modifiedAfter);
    EXPECT_EQ(s.undo.Names(), c.steps);
    // Only a drawing file the program can save again enters the recent files.
    EXPECT_EQ(s.recent.Name(1), c.nameAfter && c.nameAfter[0] != '?' ? nameAfter : cur);
    if (c.message < 0) {
      EXPECT_TRUE(s.messages.errors.empty());
    } else {
      ASSERT_EQ(s.messages.errors.size(), 1u);
      EXPECT_EQ(s.messages.errors[0].message, c.message);
      EXPECT_FALSE(s.messages.errors[0].saving);
    }
  }
}

TEST(FileCommands, AfterOpeningBUndoHasNothingOfTheOldDrawingToRestore) {
  Session s;
  s.Opened("a.qmd");
  s.Edit();
  s.messages.answers.push_back(TAnswer::No);
  s.Opened("b.qmd");
  EXPECT_FALSE(s.log.Undo());
  EXPECT_EQ(s.undo.Names(), Names{"Open"});
  EXPECT_FALSE(s.Unsaved());
  // An untouched drawing closes without a question.
  EXPECT_TRUE(s.files.QueryExit());
  EXPECT_EQ(s.messages.asked, 1);
}

TEST(FileCommands, SaveAndSaveAs) {
  enum class Start { Initial, New, Opened };
  struct Case {
    const char* what;
    Start start;
    bool saveAs, marked;
    std::optional<std::string> choice;
    int code;                  // what the writer answers
    std::optional<bool> offeredDrawingTypeOnly;  // none: no dialog
    const char* written;       // nullptr: nothing
    TFileKind writtenAs;
    const char* nameAfter;     // nullptr: unchanged
    bool unsavedAfter;
    int message;               // of the error shown, -1: none
  } cases[] = {
      {"Save of a drawing never named", Start::Initial, false, false, "/d/Out", 0, true, "/d/Out.qmd",
       TFileKind::Native, "/d/Out.qmd", false, -1},
      {"Save after New", Start::New, false, true, "/d/v1.2/Plan", 0, false, "/d/v1.2/Plan.qmd", TFileKind::Native,
       "/d/v1.2/Plan.qmd", false, -1},
      {"Save of an opened drawing", Start::Opened, false, false, {}, 0, {}, "cur.qmd", TFileKind::Native, nullptr,
       false, -1},
      {"Save that fails", Start::Opened, false, false, {}, 5, {}, "cur.qmd", TFileKind::Native, nullptr, true, 113},
      {"Save As under a new name", Start::Opened, true, false, "/d/Copy.qmd", 0, true, "/d/Copy.qmd",
       TFileKind::Native, "/d/Copy.qmd", false, -1},
      // The name is taken only once the drawing was written.
      {"Save As that fails", Start::Opened, true, false, "/d/Copy.qmd", -10, true, "/d/Copy.qmd",
       TFileKind::Native, nullptr, true, 0},
      // An export writes the marked entities; the drawing keeps its name and state.
      {"an export", Start::Opened, true, true, "/d/Part.DXF", 0, false, "/d/Part.DXF", TFileKind::Export, nullptr,
       true, -1},
      {"an export that fails", Start::Opened, true, true, "/d/part.plt", 3, false, "/d/part.plt", TFileKind::Export,
       nullptr, true, 111},
      {"Save As cancelled", Start::Opened, true, false, {}, 0, true, nullptr, TFileKind::Native, nullptr, true, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Session s;
    if (c.start == Start::New) s.files.NewDrawing();
    if (c.start == Start::Opened) s.Opened("cur.qmd");
    const std::string before = s.files.CurrentFileName();
    s.Edit();
    s.doc.marked = c.marked;
    s.dialogs.saveChoice = c.choice;
    const std::string written = c.written && std::string(c.written) == "cur.qmd" ? s.dir / "cur.qmd"
                                : c.written                                    ? c.written
                                                                               : "";
    if (c.written) s.doc.saveResults[written] = c.code;

    TFileOutcome out = c.saveAs ? s.files.SaveAs() : s.files.Save();
    EXPECT_EQ(out.result, !c.written ? TFileResult::Cancelled
                          : c.code   ? TFileResult::Failed
                                     : TFileResult::Done);
    if (c.offeredDrawingTypeOnly) {
      EXPECT_EQ(s.dialogs.saveOffers, std::vector<bool>{*c.offeredDrawingTypeOnly});
    } else {
      EXPECT_TRUE(s.dialogs.saveOffers.empty());
    }
    if (c.written) {
      ASSERT_EQ(s.doc.saves.size(), 1u);
      EXPECT_EQ(s.doc.saves[0].path, written);
      EXPECT_EQ(s.doc.saves[0].kind, c.writtenAs);
    } else {
      EXPECT_TRUE(s.doc.saves.empty());
    }
    EXPECT_EQ(s.files.CurrentFileName(), c.nameAfter ? c.nameAfter : before);
    EXPECT_EQ(s.Unsaved(), c.unsavedAfter);
    EXPECT_EQ(s.recent.Name(1), c.nameAfter ? c.nameAfter : c.start == Start::Opened ? before : "");
    if (c.message < 0) {
      EXPECT_TRUE(s.messages.errors.empty());
    } else {
      ASSERT_EQ(s.messages.errors.size(), 1u);
      EXPECT_EQ(s.messages.errors[0].message, c.message);
      EXPECT_TRUE(s.messages.errors[0].saving);
    }
  }
}

TEST(FileCommands, EmptyDrawings) {
  Session s;
  s.files.NewDrawing();
  // Save As is disabled for an empty drawing; Save of an unnamed one still asks.
  EXPECT_EQ(s.files.SaveAs().result, TFileResult::Ignored);
  EXPECT_TRUE(s.dialogs.saveOffers.empty());
  s.dialogs.saveChoice = "/d/empty";
  EXPECT_EQ(s.files.Save().result, TFileResult::Done);
  EXPECT_EQ(s.files.CurrentFileName(), "/d/empty.qmd");
  // An empty drawing is replaced without a question, however it was changed.
  s.log.RecordAction("Add Layer");
  s.dialogs.openChoice = s.File("a.qmd");
  EXPECT_EQ(s.files.OpenDrawing().result, TFileResult::Done);
  EXPECT_EQ(s.messages.asked, 0);
}

TEST(FileCommands, RecentItemsAndTheCommandLine) {
  Session s;
  s.Opened("a.qmd");
  s.Opened("b.qmd");
  EXPECT_EQ(s.files.OpenRecent(3).result, TFileResult::Ignored);  // a hidden item
  EXPECT_EQ(s.files.OpenRecent(0).result, TFileResult::Ignored);

  // A drawing with unsaved work asks first; Cancel opens nothing.
  s.Edit();
  s.messages.answers.push_back(TAnswer::Cancel);
  const std::size_t loads = s.doc.loads.size();
  EXPECT_EQ(s.files.OpenRecent(2).result, TFileResult::Cancelled);
  EXPECT_EQ(s.doc.loads.size(), loads);

  // A recent file that went away is reported and stays in the list.
  std::filesystem::remove(s.dir / "a.qmd");
  s.messages.answers.push_back(TAnswer::No);
  EXPECT_EQ(s.files.OpenRecent(2).result, TFileResult::Failed);
  ASSERT_EQ(s.messages.errors.size(), 1u);
  EXPECT_EQ(s.messages.errors[0].message, 109);
  EXPECT_EQ(s.recent.Name(2), s.dir / "a.qmd");
  EXPECT_TRUE(s.log.Modified());  // the work is still unsaved

  // The command line: an existing file, relative to the working directory.
  Session c;
  c.File("sub/Plan.qmd");
  for (const char* ignored : {"", "sub/*.qmd", "sub/Plan?.qmd", "sub/none.qmd"})
    EXPECT_EQ(c.files.OpenCommandLine(ignored, c.dir.path()).result, TFileResult::Ignored) << ignored;
  EXPECT_TRUE(c.doc.loads.empty());
  EXPECT_EQ(c.files.OpenCommandLine("./sub/Plan", c.dir.path()).result, TFileResult::Done);
  EXPECT_EQ(c.files.CurrentFileName(), c.dir / "sub/Plan.qmd");
  EXPECT_EQ(c.recent.Name(1), c.dir / "sub/Plan.qmd");
}
