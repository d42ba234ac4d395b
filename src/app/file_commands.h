#pragma once
// The file commands of the main window — New, Open, the recent files, the
// file named on the command line, Save, Save As and the close query — as
// logic over small interfaces: the drawing, the message boxes and the file
// dialogs. The Qt window implements the interfaces and calls the commands.
#include <optional>
#include <string>
#include <string_view>

#include "app/actions.h"
#include "app/recent_files.h"

namespace qm::app {

// How a file is read or written, from its extension (compared without
// regard to case; the name itself is never changed).
enum class TFileKind : std::uint8_t {
  Native,     // .qmd, .cad, .txt: the drawing reader; saving: the drawing writer
  Snapshot,   // an undo snapshot ("$C…"): read and written natively, never named
  Converter,  // .dxf .plt .eps .rlf .cnc: imported through the converter
  Picture,    // .pcx .tif(f) .jp(e)g .bmp .png .gif: the view's background picture
  Export,     // saving .dxf or .plt: the marked entities through the converter
  Unknown,    // loading any other extension: a drawing is recognised by its header
};
TFileKind LoadKindOf(std::string_view path);
TFileKind SaveKindOf(std::string_view path);

// ".qmd" appended when the last path component has no "." at all
// ("/home/a.b/plan" → "/home/a.b/plan.qmd").
std::string WithDrawingExtension(std::string_view path);
bool HasWildcard(std::string_view path);  // "*" or "?"
// The last component begins with "$C" or "$c".
bool IsSnapshotName(std::string_view path);
// A name Save can write to without asking: not empty, no "*" or "?".
bool IsSavableName(std::string_view currentFileName);

// The language message for a failed load or save (caption 19, exclamation
// icon, OK), or 0 when the code shows none.
int FileErrorMessage(int code, TFileKind kind);

// "Quillmar" while the name holds "*", else "Quillmar-[<name>]".
std::string WindowCaption(std::string_view currentFileName);

// The drawing as the file commands see it.
class TDocument {
 public:
  virtual ~TDocument() = default;
  // No entity in any layer and no paragraph of text.
  virtual bool IsEmpty() const = 0;
  // The marking frame is shown (something is marked).
  virtual bool MarkingShown() const = 0;
  // Replaces the drawing by a new one with one empty layer.
  virtual void New() = 0;
  // Reads `path` as `kind` (Native, Snapshot, Converter, Picture, or Unknown:
  // read natively when the header is that of a drawing, else -1); 0 on
  // success, else the result code of the reader. The drawing is changed only
  // when the result is 0.
  virtual int Load(const std::string& path, TFileKind kind) = 0;
  // Writes the drawing (Native, Snapshot) or exports the marked entities
  // (Export); 0 on success, else the result code of the writer.
  virtual int Save(const std::string& path, TFileKind kind) = 0;
  // Before saving: empty baselines and paragraphs and unused fonts go.
  virtual void PrepareSave() {}
};

enum class TAnswer : std::uint8_t { Yes, No, Cancel };

class TFileMessages {
 public:
  virtual ~TFileMessages() = default;
  // Message 101, caption 18, Yes / No / Cancel, question icon.
  virtual TAnswer AskSaveChanges() = 0;
  // A load or save failed with `code`; `message` is FileErrorMessage. With
  // 0, a load shows nothing for -1 and -2 and the reader's own text for
  // other codes; a save should still say that it failed.
  virtual void ShowFileError(int code, int message, bool saving) = 0;
};

class TFileDialogs {
 public:
  virtual ~TFileDialogs() = default;
  // The open dialog; nothing when cancelled.
  virtual std::optional<std::string> ChooseOpenFile() = 0;
  // The save dialog, warning before overwriting; with `drawingTypeOnly` it
  // offers only "*.qmd" (nothing is marked, so there is nothing to export).
  virtual std::optional<std::string> ChooseSaveFile(bool drawingTypeOnly) = 0;
};

enum class TFileResult : std::uint8_t {
  Done,       // the command did its work
  Cancelled,  // the close query or a dialog stopped it
  Failed,     // the load or save failed (reported)
  Ignored,    // nothing to do (Save As of an empty drawing, a hidden recent item, ...)
};

struct TFileOutcome {
  TFileResult result = TFileResult::Ignored;
  TFileKind kind = TFileKind::Unknown;
  int code = 0;  // the reader's or writer's result code
  bool operator==(TFileResult r) const { return result == r; }
};

class TFileCommands {
 public:
  TFileCommands(TDocument& document, TActionLog& actions, TRecentFiles& recent, TFileMessages& messages,
                TFileDialogs& dialogs);

  // "*.qmd" before anything was loaded, "?.qmd" for a drawing without a
  // name, else the path of the drawing file as it was chosen.
  const std::string& CurrentFileName() const { return currentFileName_; }
  bool IsNewDrawing() const { return newDrawing_; }
  std::string Caption() const { return WindowCaption(currentFileName_); }

  // Whether an operation that replaces or ends the drawing may go on. An
  // unmodified or empty drawing goes on at once; otherwise message 101: Yes
  // opens Save As and stops, No drops the changes and goes on, Cancel stops.
  bool CloseQuery();

  TFileOutcome NewDrawing();
  TFileOutcome OpenDrawing();
  // k = 1 .. 5.
  TFileOutcome OpenRecent(int k);
  // The first command-line argument, relative names taken from `workingDir`;
  // ignored unless it names an existing file without "*" or "?".
  TFileOutcome OpenCommandLine(std::string_view argument, std::string_view workingDir);
  // Saves under CurrentFileName; a drawing without a name asks for one.
  TFileOutcome Save();
  // Asks for a name, then saves natively or exports the marked entities.
  // Ignored for an empty drawing (the command is disabled then).
  TFileOutcome SaveAs();
  // Exit: whether the window may close.
  bool QueryExit() { return CloseQuery(); }

  // At start-up, after the previous run's drawing was restored.
  void RecoveredDrawing();

  // Loads a file with the rules of every load through the window (used by
  // the open commands after their close query).
  TFileOutcome LoadFile(std::string_view path);

 private:
  TFileOutcome OpenAfterQuery(std::string_view path, bool modifiedBefore);
  TFileOutcome AskAndSave();
  TFileOutcome SaveNative(const std::string& path);

  TDocument& document_;
  TActionLog& actions_;
  TRecentFiles& recent_;
  TFileMessages& messages_;
  TFileDialogs& dialogs_;
  std::string currentFileName_ = "*.qmd";
  bool newDrawing_ = false;
};

}  // namespace qm::app
