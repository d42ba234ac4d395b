#pragma once
// TCADChild, the program's main window. It owns the drawing and everything
// that belongs to it (the document with its layout and groups, the undo
// list, the view, the action log, the file commands, the recent files) and
// turns menu commands, tool buttons, keys, timers and messages from the
// program family into operations on them. The rules live in the plain C++
// controllers of app/; the window mirrors their states.
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/actions.h"
#include "app/commands.h"
#include "app/config.h"
#include "app/document.h"
#include "app/file_commands.h"
#include "app/forms/window_prompts.h"
#include "app/language.h"
#include "app/recent_files.h"
#include "app/toolbar_layout.h"
#include "model/layout.h"
#include "model/undo.h"
#include "persist/forms/qt_picture_decoder.h"
#include "platform/qt/family_listener.h"

class QMenu;

namespace qm::view {
class TOpenCanvasWidget;
class TLayoutContent;
}  // namespace qm::view

namespace qm::app {

class TLayerTabBar;
class TToolbars;

// The window messages the main window accepts.
inline constexpr std::uint32_t kMsgFontEditorShown = 0x5F5, kMsgFontEditorLetter = 0x5F6,
                               kMsgFontEditorChar = 0x5F7, kMsgFontEditorWantsMarked = 0x5F8,
                               kMsgSketchReady = 0x659;

// Reads a common-geometry interchange file into the active layer (the
// exchange module provides it); true when something was imported.
using TCommonFileImporter = std::function<bool(TCadLayout&, const std::string& path, TMarkGroup& marked)>;

class TCADChild : public QMainWindow, public ScaleVisibilitySink, public TLayoutHost, public TUndoControls {
  Q_OBJECT
 public:
  explicit TCADChild(Configuration& config, QWidget* parent = nullptr);
  ~TCADChild() override;

  // ---- what tests and the start-up code reach ---------------------------------------
  // The message boxes and file dialogs; null restores the desktop's.
  void SetPrompts(TWindowPrompts* prompts);
  TDrawingDocument& Document() { return *document_; }
  TCadLayout& Layout() { return document_->Layout(); }
  TActionLog& Actions() { return *actions_; }
  TFileCommands& Files() { return *files_; }
  TRecentFiles& RecentFiles() { return *recent_; }
  // Created when the window is first shown.
  TUndoList* UndoList() { return undoList_.get(); }
  view::TOpenCanvasWidget& Canvas() { return *canvas_; }
  TLayerTabBar& LayerTabs() { return *tabs_; }
  TToolbars& Toolbars() { return *toolbars_; }
  QMenu& LayerMenu() { return *layerMenu_; }
  QAction* Action(TCommandId id) const { return actions_by_id_[static_cast<std::size_t>(id)]; }
  // The action of a tool button, by its tag in the layout file.
  QAction* ButtonAction(std::int32_t tag) const;
  // Status panels: 0 units, 1 pointer, 2 hint, 3 drawing size.
  QString StatusPanelText(int panel) const;
  const std::string& CurrentFileName() const { return files_->CurrentFileName(); }
  int CursorShape() const { return cursorShape_; }
  bool ActiveLayerOnly() const { return activeLayerOnly_; }
  bool Closing() const { return closing_; }
  void SetCommonFileImporter(TCommonFileImporter importer) { importer_ = std::move(importer); }

  // ---- the window's operations --------------------------------------------------------
  // Runs a menu command or tool button (nothing when it is disabled).
  void RunCommand(TCommandId id);
  // The undo step of a command, named after its caption or hint.
  void RecordAction(std::string_view name) override;
  // A change that the next recording takes along.
  void NoteChange(std::string_view name = {});
  // Escape and "&Reset Activity".
  void ResetActivity(bool redraw) override;
  // A message box captioned "Error", then Reset Activity with redraw.
  void ShowError(const QString& text);
  // Reads an interchange file into the active layer (its new entities
  // marked), optionally zooms to the drawing, redraws.
  bool ImportToActiveLayer(const std::string& fileName, bool zoom);
  void SetActiveLayer(int index);
  void UpdateCommands();
  void SetCursorShape(int number);
  // The drawing is drawn again into the view's buffer and shown.
  void RedrawAll();
  // The file named first on the command line, opened as by Open; relative
  // names are taken from `workingDir` (the current directory when empty).
  void OpenCommandLine(const std::string& argument, const std::string& workingDir = {});
  // Opens the help page of a keyword (the contents when none matches).
  void ShowHelpTopic(std::string_view keyword);

  // ---- messages ---------------------------------------------------------------------------------
  // Any of the messages the window accepts (others are ignored).
  void WindowMessage(std::uint32_t message, std::int64_t wParam, std::int64_t lParam);
  void FontEditorShown(bool shown);                 // 0x5F5
  void FontEditorLetterReady();                     // 0x5F6
  void FontEditorCharacter(std::int64_t wParam);    // 0x5F7
  void FontEditorWantsMarked();                     // 0x5F8
  void SketchReady();                               // 0x659
  void ReloadConfiguration();                       // 0x85B
  // The "Options" command: the family's settings dialog.
  void OptionsCommand();
  // Comes forward when a second instance starts.
  void BringToFront();

  TMultiLang& Language() { return *language_; }
  platform::FamilyListener& Family() { return family_; }
  void SetScaleVisible(int which, bool visible) override;
  bool ScaleVisible(int which) const { return scaleVisible_[static_cast<std::size_t>(which)]; }

  // ---- TLayoutHost ----------------------------------------------------------------------------
  void SetModified() override;
  void LayerTabAdded(int index, TCadGroup& layer) override;
  void LayerTabRemoved(int index) override;
  void LayerTabsCleared() override;
  void LayerTabSelected(int index) override;
  void LayerVisibleChecked() override;
  std::int16_t CurrentColor() const override { return currentColor_; }
  void MarkingFrameOff() override;
  void FrameAround(const TBox& extents) override;
  void Redraw() override { RedrawAll(); }

  // ---- TUndoControls --------------------------------------------------------------------------
  void SetUndoState(bool enabled, const std::string& caption, const std::string& hint) override;
  void SetRedoState(bool enabled, const std::string& caption, const std::string& hint) override;

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  class UndoSteps;
  class BusyDocument;
  class FileMessages;
  class FileDialogs;

  void BuildCommands();
  void BuildStatusLine();
  void BuildTimers();
  void FirstShow();
  void RefreshHints();
  void RefreshRecentItems();
  void UpdateCaption();
  void WriteSizePanel();
  void ApplyBackground();
  void ApplyLoadedSettings();
  void Dispatch(TCommandId id);
  bool HandleKey(QKeyEvent* e);
  QString Message(int number, std::string_view fallback) const;
  QString CaptionText(int number, std::string_view fallback) const { return Message(number, fallback); }

  // Commands.
  void NewCommand();
  void OpenCommand();
  void OpenRecentCommand(int k);
  void AfterLoad(const TFileOutcome& outcome);
  void SaveCommand();
  void SaveAsCommand();
  void UndoCommand();
  void RedoCommand();
  void UnmarkAllCommand();
  void ZoomCommand(TCommandId id);
  void AddLayerCommand();
  void EmptyLayerCommand();
  void ShowLayers(TCommandId id);
  void LayerVisibleCommand();
  void LayerColorCommand();
  void LayerNameCommand();
  void LayerNameEntered(int index, const QString& name);
  void RemoveLayerCommand();
  void CompanionCommand(TCommandId id);
  void CustomizeToolbarsCommand();
  void HelpCommand(TCommandId id);
  void AboutCommand();

  // The drawing was replaced (New, a load, an undo step).
  void DrawingReplaced();
  void RebuildTabs();
  void TabChanged(int index);
  void SelectTab(int index);
  bool AdoptPicture(TDecodedPicture&& picture);
  void ApplyToolbarLayout(const TToolbarLayout& layout, bool write);
  void WriteToolbars();

  Configuration& config_;
  std::shared_ptr<LanguageFile> languageFile_;
  std::unique_ptr<TMultiLang> language_;
  bool languageAttached_ = false;
  platform::FamilyListener family_;

  std::unique_ptr<TQtPrompts> qtPrompts_;
  TWindowPrompts* prompts_ = nullptr;
  std::unique_ptr<UndoSteps> undoSteps_;
  std::unique_ptr<TActionLog> actions_;
  std::unique_ptr<TRecentFiles> recent_;
  TQtPictureDecoder pictureDecoder_;
  std::unique_ptr<TDrawingDocument> document_;
  std::unique_ptr<BusyDocument> busyDocument_;
  std::unique_ptr<FileMessages> fileMessages_;
  std::unique_ptr<FileDialogs> fileDialogs_;
  std::unique_ptr<TFileCommands> files_;
  std::unique_ptr<TUndoList> undoList_;
  std::unique_ptr<view::TLayoutContent> content_;
  TCommonFileImporter importer_;

  // Widgets (owned by Qt's parent chain).
  QWidget* alignPanel_ = nullptr;
  view::TOpenCanvasWidget* canvas_ = nullptr;
  TLayerTabBar* tabs_ = nullptr;
  TToolbars* toolbars_ = nullptr;
  QMenu* layerMenu_ = nullptr;
  std::array<QLabel*, 4> panels_{};
  std::array<QAction*, kCommandCount> actions_by_id_{};
  QAction* chainMarkedKey_ = nullptr;

  QTimer tcTimer_, charDrawTimer_, markingFrameTimer_;

  // Window state.
  bool shownOnce_ = false;
  bool closing_ = false;
  bool activeLayerOnly_ = false;
  bool showArrows_ = false;
  bool fontEditorShown_ = false;
  bool syncingTabs_ = false;
  bool toolbarsApplied_ = false;
  bool toolbarsFinal_ = false;
  TToolbarLayout finalToolbars_;
  std::int16_t currentColor_ = 0;
  int framePhase_ = 0;
  int cursorShape_ = 0, previousCursorShape_ = 0;
  std::string statusName_;  // the drafting tool's hint, for its lazy undo steps
  std::string lastPath_;    // the file the current file command works on
  std::array<bool, 4> scaleVisible_{true, true, true, true};
};

}  // namespace qm::app
