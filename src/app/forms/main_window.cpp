#include "app/forms/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <exception>
#include <unistd.h>

#include "app/forms/artwork.h"
#include "app/forms/customize_toolbars.h"
#include "app/forms/help.h"
#include "app/forms/layer_tabs.h"
#include "app/forms/toolbars.h"
#include "app/layer_colors.h"
#include "app/startup.h"
#include "exchange/engines.h"
#include "platform/paths.h"
#include "view/forms/open_canvas_widget.h"
#include "view/layout_content.h"

namespace qm::app {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A file name as a menu caption: "&" would be taken for a mnemonic.
QString MenuText(const std::string& name) { return Q(name).replace('&', "&&"); }

constexpr std::array<std::pair<TMenu, std::string_view>, 7> kMenus{{
    {TMenu::File, "&File"},
    {TMenu::Edit, "&Edit"},
    {TMenu::View, "&View"},
    {TMenu::Layers, "&Layers"},
    {TMenu::Transform, "&Transform"},
    {TMenu::System, "&System"},
    {TMenu::Help, "&Help"},
}};
constexpr std::array<std::string_view, 7> kMenuItems{"FileItem",      "EditItem",   "ViewItem", "LayersItem",
                                                     "TransformItem", "SystemItem", "HelpItem"};

// Items followed by a separator in their menu.
bool SeparatorAfter(TCommandId id) {
  using C = TCommandId;
  switch (id) {
    case C::FileSaveAs:
    case C::FilePrinterSetup:
    case C::RecentFile5:
    case C::Redo:
    case C::Delete:
    case C::ResetActivity:
    case C::ZoomSelected:
    case C::ViewGrid:
    case C::ViewFontEditor:
    case C::EmptyLayer:
    case C::Combine:
    case C::Mirror:
    case C::SystemTornak:
    case C::HelpHowToUse:
    case C::LayerSetName:
    case C::LayerAdd:
      return true;
    default:
      return false;
  }
}

bool Checkable(TCommandId id) {
  using C = TCommandId;
  return id == C::ViewFilled || id == C::Arrows || id == C::ShowPicture || id == C::ViewFontEditor ||
         id == C::LayerVisible;
}

int RecentIndex(TCommandId id) { return static_cast<int>(id) - static_cast<int>(TCommandId::RecentFile1) + 1; }

}  // namespace

// ---- the small adapters between the controllers and the window -----------------------------

// The undo list exists only once the window is shown; before that nothing
// can be recorded.
class TCADChild::UndoSteps : public TUndoSteps {
 public:
  explicit UndoSteps(TCADChild& w) : w_(w) {}
  bool Record(std::string_view name) override { return w_.undoList_ && w_.undoList_->Record(name); }
  bool Undo() override { return w_.undoList_ && w_.undoList_->Undo(); }
  bool Redo() override { return w_.undoList_ && w_.undoList_->Redo(); }
  void ClearAll() override {
    if (w_.undoList_) w_.undoList_->ClearAll();
  }
  void SetChangePending(bool pending) override {
    if (w_.undoList_) w_.undoList_->SetChangePending(pending);
  }

 private:
  TCADChild& w_;
};

// The drawing as the file commands use it, under the busy cursor while a
// file is read or written.
class TCADChild::BusyDocument : public TDocument {
 public:
  explicit BusyDocument(TCADChild& w) : w_(w) {}
  bool IsEmpty() const override { return w_.document_->IsEmpty(); }
  bool MarkingShown() const override { return w_.document_->MarkingShown(); }
  void New() override {
    w_.ResetActivity(false);
    w_.document_->New();
  }
  int Load(const std::string& path, TFileKind kind) override {
    Busy busy(w_);
    return w_.document_->Load(path, kind);
  }
  int Save(const std::string& path, TFileKind kind) override {
    Busy busy(w_);
    return w_.document_->Save(path, kind);
  }
  void PrepareSave() override { w_.document_->PrepareSave(); }

 private:
  struct Busy {
    explicit Busy(TCADChild& w) : w_(w), before_(w.cursorShape_) {
      w_.SetCursorShape(kCursorBusy);
      QApplication::setOverrideCursor(WindowCursor(kCursorBusy));
    }
    ~Busy() {
      QApplication::restoreOverrideCursor();
      w_.SetCursorShape(before_);
    }
    TCADChild& w_;
    int before_;
  };
  TCADChild& w_;
};

class TCADChild::FileMessages : public TFileMessages {
 public:
  explicit FileMessages(TCADChild& w) : w_(w) {}
  TAnswer AskSaveChanges() override {
    return w_.prompts_->Ask(w_.CaptionText(18, "Quillmar"),
                            w_.Message(101, "The drawing has been changed. Save the changes?"), true);
  }
  void ShowFileError(int code, int message, bool saving) override {
    QString text;
    if (message != 0) {
      std::string_view fallback;
      switch (message) {
        case 109: fallback = "The file cannot be found or read."; break;
        case 110: fallback = saving ? "The DXF file could not be written." : "The DXF file could not be converted."; break;
        case 111: fallback = saving ? "The HPGL file could not be written." : "The HPGL file could not be converted."; break;
        case 112: fallback = "The Postscript file could not be converted."; break;
        case 113:
          fallback = saving ? "The drawing cannot be saved while the view has no size."
                            : "The CNC file could not be converted.";
          break;
        case 114: fallback = "The picture's format is not supported."; break;
        case 115: fallback = "The picture is damaged or cannot be used."; break;
        default: fallback = "The file could not be read."; break;
      }
      text = w_.Message(message, fallback);
    } else if (saving) {
      if (code == kLoadNotAvailable) {
        text = QObject::tr("Exporting to this kind of file is not available yet.");
      } else {
        const int err = w_.document_->LastSaveError();
        text = QObject::tr("The drawing could not be saved") +
               (err ? QString(": %1").arg(QString::fromLocal8Bit(std::strerror(err))) : QString("."));
      }
    } else {
      // A file that is no drawing, or of a version older than 4, shows nothing.
      if (code == kLoadBadStructure || code == kLoadOldVersion) return;
      const std::string& said = w_.document_->LastLoadReport().message;
      text = said.empty() ? QObject::tr("The file could not be read.") : Q(said);
    }
    if (!w_.lastPath_.empty()) text += "\n\n" + Q(w_.lastPath_);
    w_.prompts_->Tell(w_.CaptionText(19, "Quillmar"), text, TNoteIcon::Exclamation);
  }

 private:
  TCADChild& w_;
};

class TCADChild::FileDialogs : public TFileDialogs {
 public:
  explicit FileDialogs(TCADChild& w) : w_(w) {}
  std::optional<std::string> ChooseOpenFile() override {
    auto name = w_.prompts_->ChooseOpenFile();
    if (name) w_.lastPath_ = *name;
    return name;
  }
  std::optional<std::string> ChooseSaveFile(bool drawingTypeOnly) override {
    auto name = w_.prompts_->ChooseSaveFile(drawingTypeOnly);
    if (name) w_.lastPath_ = WithDrawingExtension(*name);
    return name;
  }

 private:
  TCADChild& w_;
};

// ---- creation and destruction -------------------------------------------------------------------

TCADChild::TCADChild(Configuration& config, QWidget* parent)
    : QMainWindow(parent), config_(config), languageFile_(std::make_shared<LanguageFile>()) {
  setObjectName("CADChild");
  setWindowTitle("Quillmar");
  setWindowIcon(ProgramIcon());
  resize(1024, 700);

  // Creation: the language file, the settings once more, the help file.
  languageFile_->Load(LanguageFilePath());
  language_ = std::make_unique<TMultiLang>("TCADChild");
  language_->SetLanguageFile(languageFile_);
  config_.LoadSystemConfig();
  config_.LoadUserDefaults(nullptr);
  ApplyLoadedSettings();

  qtPrompts_ = std::make_unique<TQtPrompts>(this);
  prompts_ = qtPrompts_.get();
  undoSteps_ = std::make_unique<UndoSteps>(*this);
  actions_ = std::make_unique<TActionLog>(*undoSteps_);
  recent_ = std::make_unique<TRecentFiles>(config_.Profile(), "Quillmar");

  // The drawing area: the view inset by 2 pixels in its panel, the layer
  // tabs below it.
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  alignPanel_ = new QWidget(central);
  alignPanel_->setObjectName("AlignPanel");
  auto* inset = new QVBoxLayout(alignPanel_);
  inset->setContentsMargins(2, 2, 2, 2);
  canvas_ = new view::TOpenCanvasWidget(alignPanel_);
  canvas_->setObjectName("ChildOpenGL");
  canvas_->setFocusPolicy(Qt::StrongFocus);
  canvas_->installEventFilter(this);
  inset->addWidget(canvas_);
  tabs_ = new TLayerTabBar(central);
  column->addWidget(alignPanel_, 1);
  column->addWidget(tabs_, 0, Qt::AlignLeft);
  setCentralWidget(central);

  document_ = std::make_unique<TDrawingDocument>(this);
  content_ = std::make_unique<view::TLayoutContent>(document_->Layout());
  busyDocument_ = std::make_unique<BusyDocument>(*this);
  fileMessages_ = std::make_unique<FileMessages>(*this);
  fileDialogs_ = std::make_unique<FileDialogs>(*this);
  files_ = std::make_unique<TFileCommands>(*busyDocument_, *actions_, *recent_, *fileMessages_, *fileDialogs_);

  document_->SetPreviewSource([this] {
    const view::TRaster& b = std::as_const(canvas_->View()).BufferImage();
    return TPreviewSource{b.Width(), b.Height(), b.StridePixels(), b.Data()};
  });
  document_->SetPictureDecoder(&pictureDecoder_);
  document_->SetPictureSink(
      [this](TDecodedPicture&& picture, const std::string&) { return AdoptPicture(std::move(picture)); });
  document_->SetNewLayerColor([this] {
    // A new drawing starts from colour 0, moved off the background.
    const TNewLayerColor c =
        ChooseNewLayerColor(0, config_.Record().ScreenColorIndex, config_.Colors().Count(), false);
    currentColor_ = static_cast<std::int16_t>(c.currentColor);
    return static_cast<std::int16_t>(c.layerColor);
  });
  document_->SetReplacedHandler([this] { DrawingReplaced(); });

  view::TOpenCanvas& v = canvas_->View();
  v.SetContent(content_.get());
  v.SetHighlightColour({255, 127, 0});
  v.SetOverlay(view::Overlay::CaptionAndLayout, [this](view::TOpenCanvas&) { UpdateCaption(); });
  v.SetOverlay(view::Overlay::StatusPanel, [this](view::TOpenCanvas&) { WriteSizePanel(); });
  v.SetOverlay(view::Overlay::CommandStates, [this](view::TOpenCanvas&) { UpdateCommands(); });
  connect(canvas_, &view::TOpenCanvasWidget::mouseMoved, this, [this](int x, int y, Qt::MouseButtons, Qt::KeyboardModifiers) {
    const TPointD p = canvas_->View().PixelToWorld(x, y);
    char buf[96];
    std::snprintf(buf, sizeof buf, "(%3.4f,%3.4f)", p.x, p.y);
    panels_[1]->setText(buf);
  });

  tabs_->SetLookProvider([this](int index) {
    TTabLook look;
    TCadGroup* layer = Layout().LayerAt(index);
    if (!layer) {
      look.name = tabs_->tabText(index);
      return look;
    }
    look.name = Q(layer->Name());
    const platform::Rgb c = config_.Colors().At(layer->ColorIndex());
    look.color = QColor(c.r, c.g, c.b);
    look.hasContent = layer->MemberCount() > 0;
    look.hidden = !layer->IsVisible();
    return look;
  });
  connect(tabs_, &QTabBar::currentChanged, this, &TCADChild::TabChanged);
  connect(tabs_, &TLayerTabBar::rightPressed, this, [this](int, const QPoint& at) { layerMenu_->popup(at); });
  connect(tabs_, &TLayerTabBar::nameEntered, this, &TCADChild::LayerNameEntered);

  BuildCommands();
  toolbars_ = new TToolbars(*this, [this](std::int32_t tag) { return ButtonAction(tag); });
  BuildStatusLine();
  BuildTimers();

  connect(&family_, &platform::FamilyListener::messageReceived, this, [this](quint32 m, qint64 w, qint64 l) {
    // Only the settings notice travels between processes; the font editor's
    // and the sketcher's messages are calls inside this process.
    if (m == kMsgSettingsChanged) WindowMessage(m, w, l);
  });
  connect(&family_, &platform::FamilyListener::raiseRequested, this, &TCADChild::BringToFront);
  if (int err = family_.Open(config_.RuntimeDir(), "Quillmar", "TCADChild"))
    std::fprintf(stderr, "quillmar: cannot publish the window to the program family: %s\n", std::strerror(err));

  ApplyBackground();
  panels_[0]->setText(config_.Record().UnitFactor != 1.0 ? "Inch" : "mm");
  for (int i = 0; i < 4; ++i) SetScaleVisible(i, config_.Record().ScaleVisible[static_cast<std::size_t>(i)]);
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
    if (s == Qt::ApplicationActive && shownOnce_) RedrawAll();
  });
  UpdateCommands();
}

TCADChild::~TCADChild() {
  tcTimer_.stop();
  charDrawTimer_.stop();
  markingFrameTimer_.stop();
  // Failures while going away are not reported to anyone but the log.
  try {
    WriteToolbars();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quillmar: %s\n", e.what());
  }
  canvas_->View().SetContent(nullptr);
  canvas_->View().SetOverlay(view::Overlay::CaptionAndLayout, {});
  canvas_->View().SetOverlay(view::Overlay::StatusPanel, {});
  canvas_->View().SetOverlay(view::Overlay::CommandStates, {});
  tabs_->SetLookProvider({});
  disconnect(tabs_, nullptr, this, nullptr);
  files_.reset();
  document_->SetHost(nullptr);
  document_->SetReplacedHandler({});
  document_->SetPictureSink({});
  document_->SetPreviewSource({});
  // The undo list deletes its snapshot files; the drawing goes last.
  undoList_.reset();
  content_.reset();
  document_.reset();
}

void TCADChild::SetPrompts(TWindowPrompts* prompts) { prompts_ = prompts ? prompts : qtPrompts_.get(); }

void TCADChild::ApplyLoadedSettings() {
  // The help is the program's own pages.
  config_.Record().HelpFilePath = HelpContentsPath();
}

void TCADChild::BuildCommands() {
  std::array<QMenu*, 7> menus{};
  for (std::size_t i = 0; i < kMenus.size(); ++i) {
    QMenu* m = menuBar()->addMenu(Q(kMenus[i].second));
    m->setObjectName(Q(kMenuItems[i]));
    m->setSeparatorsCollapsible(true);
    language_->Register(std::string(kMenuItems[i]), "Caption", std::string(kMenus[i].second),
                        [m](const std::string& t) { m->setTitle(QString::fromStdString(t)); });
    menus[i] = m;
  }
  layerMenu_ = new QMenu(this);
  layerMenu_->setObjectName("LayerMenu");

  for (const TCommand& c : CommandTable()) {
    auto* a = new QAction(this);
    a->setObjectName(Q(c.item));
    a->setText(Q(c.caption));
    if (!c.shortcut.empty()) a->setShortcut(QKeySequence::fromString(Q(c.shortcut), QKeySequence::PortableText));
    if (c.buttonTag) a->setIcon(ButtonIcon(c.buttonTag));
    if (Checkable(c.id)) a->setCheckable(true);
    const TCommandId id = c.id;
    connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
    actions_by_id_[static_cast<std::size_t>(c.id)] = a;
    if (c.id != TCommandId::Undo && c.id != TCommandId::Redo && !c.caption.empty())
      language_->Register(std::string(c.item), "Caption", std::string(c.caption),
                          [a](const std::string& t) { a->setText(QString::fromStdString(t)); });
    QMenu* menu = c.menu == TMenu::LayerPopup ? layerMenu_ : menus[static_cast<std::size_t>(c.menu)];
    menu->addAction(a);
    if (SeparatorAfter(c.id)) menu->addSeparator();
  }
  // The hidden "&Chain Marked" item is reached through its key only, which
  // a hidden action does not take: a twin on the window carries the key.
  chainMarkedKey_ = new QAction(this);
  chainMarkedKey_->setShortcut(QKeySequence(Qt::Key_F7));
  connect(chainMarkedKey_, &QAction::triggered, this, [this] { RunCommand(TCommandId::ChainMarked); });
  addAction(chainMarkedKey_);
  Action(TCommandId::ChainMarked)->setShortcut({});
  // Help on the hint shown in the status line.
  auto* f1 = new QAction(this);
  f1->setShortcut(QKeySequence::HelpContents);
  connect(f1, &QAction::triggered, this, [this] { ShowHelpTopic(panels_[2] ? panels_[2]->text().toStdString() : ""); });
  addAction(f1);
  RefreshHints();
}

void TCADChild::BuildStatusLine() {
  QStatusBar* line = statusBar();
  line->setObjectName("StatusLine");
  const std::array<int, 4> widths{50, 130, 350, 50};
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    auto* label = new QLabel(line);
    label->setObjectName(QString("StatusPanel%1").arg(i));
    label->setMinimumWidth(widths[i]);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    if (i == 1 || i == 2) label->setFixedWidth(widths[i]);
    line->addWidget(label, i == 3 ? 1 : 0);
    panels_[i] = label;
  }
}

void TCADChild::BuildTimers() {
  // The text cursor blinks only while the text tool box is shown; until the
  // tool box was first used the timer barely runs.
  tcTimer_.setObjectName("TCTimer");
  tcTimer_.setInterval(5000000);
  tcTimer_.start();
  charDrawTimer_.setObjectName("charDrawtimer");
  charDrawTimer_.setInterval(250);
  charDrawTimer_.setSingleShot(true);
  connect(&charDrawTimer_, &QTimer::timeout, this, [this] {
    RedrawAll();
    tabs_->update();
  });
  markingFrameTimer_.setObjectName("MarkingFrameTimer");
  markingFrameTimer_.setInterval(80);
  connect(&markingFrameTimer_, &QTimer::timeout, this, [this] {
    if (!document_->MarkingShown()) {
      markingFrameTimer_.stop();
      return;
    }
    framePhase_ = (framePhase_ + 1) % 6;
  });
}

// ---- showing, closing, keys ---------------------------------------------------------------------

void TCADChild::showEvent(QShowEvent* e) {
  // Attach: the form shows the configured language while it is visible.
  if (!languageAttached_) {
    config_.ApplyLanguage(language_.get());
    languageAttached_ = true;
    RefreshHints();
  }
  if (!shownOnce_) {
    shownOnce_ = true;
    FirstShow();
  }
  QMainWindow::showEvent(e);
}

void TCADChild::FirstShow() {
  recent_->Load();
  RefreshRecentItems();
  const TLayoutReadResult read = ReadToolbarLayout(config_.Record().ToolbarLayoutPath);
  if (read.source == TLayoutSource::Unreadable)
    std::fprintf(stderr, "quillmar: cannot read the toolbar layout %s: %s\n", config_.Record().ToolbarLayoutPath.c_str(),
                 std::strerror(read.error));
  // The default arrangement is written at once, so a bad file does not stay.
  ApplyToolbarLayout(read.layout, read.source == TLayoutSource::Missing || read.source == TLayoutSource::Invalid);
  ApplyBackground();
  panels_[0]->setText(config_.Record().UnitFactor != 1.0 ? "Inch" : "mm");
  double dpi = 96;
  if (QScreen* s = screen()) dpi = s->logicalDotsPerInch();
  toolbars_->SetIconSize(std::max(16, static_cast<int>(24 * dpi / 96 + 0.5)));

  if (int err = platform::EnsureDirectory(config_.Record().MailDir))
    std::fprintf(stderr, "quillmar: cannot create the mail box %s: %s\n", config_.Record().MailDir.c_str(),
                 std::strerror(err));
  undoList_ = std::make_unique<TUndoList>(config_.Record().MailDir, std::to_string(::getpid()), *document_, this, 100);
  UpdateCaption();
  // The previous run's drawing, when it ended without tidying up.
  if (undoList_->RecoverLatest()) {
    files_->RecoveredDrawing();
    Layout().Unmark();
    document_->MarkGroup().ClearMarked();
    view::ZoomAll(canvas_->View(), Layout());
    RedrawAll();
  } else {
    NewCommand();
  }
  UpdateCaption();
  UpdateCommands();
}

void TCADChild::hideEvent(QHideEvent* e) {
  // Detach: back to the built-in texts until it is shown again.
  if (languageAttached_ && !e->spontaneous()) {
    language_->SetLanguage("English");
    languageAttached_ = false;
    RefreshHints();
  }
  QMainWindow::hideEvent(e);
}

void TCADChild::closeEvent(QCloseEvent* e) {
  if (!closing_ && !files_->QueryExit()) {
    e->ignore();
    return;
  }
  closing_ = true;
  UpdateCommands();
  if (toolbarsApplied_) {
    finalToolbars_ = toolbars_->Current();
    toolbarsFinal_ = true;
  }
  toolbars_->HideFloating();
  e->accept();
}

bool TCADChild::HandleKey(QKeyEvent* e) {
  charDrawTimer_.start();
  if (e->key() == Qt::Key_Escape) {
    ResetActivity(true);
    return true;
  }
  canvas_->View().Refresh();
  return false;
}

void TCADChild::keyPressEvent(QKeyEvent* e) {
  if (!HandleKey(e)) QMainWindow::keyPressEvent(e);
}

bool TCADChild::eventFilter(QObject* watched, QEvent* e) {
  if (watched == canvas_ && e->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(e))) return true;
  return QMainWindow::eventFilter(watched, e);
}

bool TCADChild::event(QEvent* e) {
  if (e->type() == QEvent::StatusTip) {
    // The hint of whatever is under the mouse goes to panel 2.
    if (panels_[2]) panels_[2]->setText(static_cast<QStatusTipEvent*>(e)->tip());
    return true;
  }
  return QMainWindow::event(e);
}

// ---- texts, captions, states -------------------------------------------------------------------

QString TCADChild::Message(int number, std::string_view fallback) const {
  return QString::fromStdString(language_->Message(number, fallback));
}

void TCADChild::RefreshHints() {
  for (const TCommand& c : CommandTable()) {
    QAction* a = Action(c.id);
    if (!a || c.id == TCommandId::Undo || c.id == TCommandId::Redo) continue;
    if (c.id >= TCommandId::RecentFile1 && c.id <= TCommandId::RecentFile5) continue;
    std::string hint;
    if (!c.fixedHint.empty())
      hint = language_->Text(c.button, "Hint", c.fixedHint);
    else
      hint = ButtonHint(c, a->text().toStdString());
    a->setToolTip(QString::fromStdString(hint));
    a->setStatusTip(QString::fromStdString(hint));
  }
}

void TCADChild::RefreshRecentItems() {
  for (int k = 1; k <= TRecentFiles::kCount; ++k) {
    QAction* a = Action(static_cast<TCommandId>(static_cast<int>(TCommandId::RecentFile1) + k - 1));
    const std::string& name = recent_->Name(k);
    a->setText(MenuText(name));
    a->setStatusTip(Q(name));
    a->setVisible(!name.empty());
  }
}

void TCADChild::UpdateCaption() {
  const std::string caption = files_ ? files_->Caption() : "Quillmar";
  const QString title = Q(caption);
  if (windowTitle() != title) setWindowTitle(title);
  family_.SetTitle(caption);
}

void TCADChild::WriteSizePanel() {
  const TBox b = Layout().GetExtents();
  const bool empty = !(b.Min.x < FarValue) || b.Max.x < b.Min.x;
  panels_[3]->setText(QString::fromStdString(SizePanelText(empty, b.Max.x - b.Min.x, b.Max.y - b.Min.y)));
}

QString TCADChild::StatusPanelText(int panel) const {
  if (panel < 0 || panel >= static_cast<int>(panels_.size())) return {};
  return panels_[static_cast<std::size_t>(panel)]->text();
}

QAction* TCADChild::ButtonAction(std::int32_t tag) const {
  const TCommand* c = FindCommandByButtonTag(tag);
  return c ? Action(c->id) : nullptr;
}

void TCADChild::UpdateCommands() {
  if (!document_ || !files_) return;
  TCommandFacts f;
  f.closing = closing_;
  f.marked = document_->MarkingShown();
  f.drawingEmpty = document_->IsEmpty();
  f.layerCount = Layout().LayerCount();
  TCadGroup* current = Layout().CurrentLayer();
  f.activeLayerVisible = current && current->IsVisible();
  f.canUndo = undoList_ && undoList_->CanUndo();
  f.canRedo = undoList_ && undoList_->CanRedo();
  f.fontEditorShown = fontEditorShown_;
  f.filled = Layout().FillMode() == 1;
  f.showArrows = showArrows_;
  f.pictureExists = canvas_->View().HasPicture();
  f.pictureShown = canvas_->View().PictureShown();
  f.recentFileShown = recent_->VisibleItems();
  const TCommandStates s = ComputeCommandStates(f);
  for (const TCommand& c : CommandTable()) {
    QAction* a = Action(c.id);
    const TCommandState& st = s[c.id];
    if (a->isEnabled() != st.enabled) a->setEnabled(st.enabled);
    if (a->isCheckable() && a->isChecked() != st.checked) a->setChecked(st.checked);
    if (a->isVisible() != st.visible) a->setVisible(st.visible);
  }
  chainMarkedKey_->setEnabled(s[TCommandId::ChainMarked].enabled);
}

void TCADChild::SetUndoState(bool enabled, const std::string& caption, const std::string& hint) {
  QAction* a = Action(TCommandId::Undo);
  a->setText(Q(caption));
  a->setToolTip(Q(hint));
  a->setStatusTip(Q(hint));
  a->setEnabled(enabled && !closing_);
}

void TCADChild::SetRedoState(bool enabled, const std::string& caption, const std::string& hint) {
  QAction* a = Action(TCommandId::Redo);
  a->setText(Q(caption));
  a->setToolTip(Q(hint));
  a->setStatusTip(Q(hint));
  a->setEnabled(enabled && !closing_);
}

void TCADChild::SetCursorShape(int number) {
  previousCursorShape_ = cursorShape_;
  cursorShape_ = number;
  const QCursor c = WindowCursor(number);
  setCursor(c);
  canvas_->setCursor(c);
}

void TCADChild::ApplyBackground() {
  const int index = config_.Record().ScreenColorIndex;
  const platform::Rgb c = config_.Colors().At(index);
  view::TOpenCanvas& v = canvas_->View();
  v.SetColors(config_.Colors());
  v.SetBackground(c);
  v.SetBackgroundIndex(index);
  QPalette pal = alignPanel_->palette();
  pal.setColor(QPalette::Window, QColor(c.r, c.g, c.b));
  alignPanel_->setPalette(pal);
  alignPanel_->setAutoFillBackground(true);
}

void TCADChild::SetScaleVisible(int which, bool visible) {
  if (which >= 0 && which < 4) scaleVisible_[static_cast<std::size_t>(which)] = visible;
}

// ---- the operations -----------------------------------------------------------------------------

void TCADChild::RunCommand(TCommandId id) {
  QAction* a = Action(id);
  if (closing_ || (a && !a->isEnabled())) return;
  try {
    Dispatch(id);
  } catch (const std::exception& e) {
    // A command that failed leaves the window usable.
    prompts_->Tell("Quillmar", QString::fromLocal8Bit(e.what()), TNoteIcon::Error);
  }
  UpdateCaption();
  UpdateCommands();
}

void TCADChild::Dispatch(TCommandId id) {
  using C = TCommandId;
  switch (id) {
    case C::FileNew: NewCommand(); break;
    case C::FileOpen: OpenCommand(); break;
    case C::FileSave: SaveCommand(); break;
    case C::FileSaveAs: SaveAsCommand(); break;
    case C::FileExit: close(); break;
    case C::RecentFile1:
    case C::RecentFile2:
    case C::RecentFile3:
    case C::RecentFile4:
    case C::RecentFile5: OpenRecentCommand(RecentIndex(id)); break;
    case C::Undo: UndoCommand(); break;
    case C::Redo: RedoCommand(); break;
    case C::UnmarkAll: UnmarkAllCommand(); break;
    case C::ResetActivity: ResetActivity(true); break;
    case C::ZoomAll:
    case C::ZoomDouble:
    case C::ZoomHalf:
    case C::ZoomWindow:
    case C::ZoomPrevious:
    case C::ZoomSelected: ZoomCommand(id); break;
    case C::ViewFilled:
      Layout().SetFillMode(Layout().FillMode() == 1 ? 0 : 1);
      RedrawAll();
      break;
    case C::Arrows:
      showArrows_ = !showArrows_;
      canvas_->View().SetShowArrows(showArrows_);
      RedrawAll();
      break;
    case C::ShowPicture:
      canvas_->View().SetPictureShown(!canvas_->View().PictureShown());
      RedrawAll();
      break;
    case C::AddLayer:
    case C::LayerAdd: AddLayerCommand(); break;
    case C::EmptyLayer: EmptyLayerCommand(); break;
    case C::ShowAllLayers:
    case C::HideAllLayers:
    case C::ShowActiveLayer: ShowLayers(id); break;
    case C::SystemSorvel:
    case C::SystemImgel:
    case C::SystemTornak: CompanionCommand(id); break;
    case C::CustomizeToolbars: CustomizeToolbarsCommand(); break;
    case C::SystemOptions: OptionsCommand(); break;
    case C::HelpContents:
    case C::HelpSearch:
    case C::HelpHowToUse: HelpCommand(id); break;
    case C::HelpAbout: AboutCommand(); break;
    case C::LayerVisible: LayerVisibleCommand(); break;
    case C::LayerSetColor: LayerColorCommand(); break;
    case C::LayerSetName: LayerNameCommand(); break;
    case C::LayerRemove: RemoveLayerCommand(); break;
    default:
      // The commands of parts of the program that are not there yet are
      // disabled; nothing reaches here.
      break;
  }
}

void TCADChild::RecordAction(std::string_view name) {
  actions_->RecordAction(name);
  UpdateCommands();
}

void TCADChild::NoteChange(std::string_view name) {
  actions_->NoteChange(name);
  UpdateCommands();
}

void TCADChild::ResetActivity(bool redraw) {
  view::TOpenCanvas& v = canvas_->View();
  if (v.ZoomPending() > 0) {
    v.CancelZoomWindow();
    SetCursorShape(kCursorArrow);
    previousCursorShape_ = kCursorArrow;
  }
  v.SetBandArmed(false);
  // The drafting tool's work becomes its undo step now.
  if (actions_->FinishResetActivity(statusName_)) v.RebuildView();
  if (redraw) v.Refresh();
}

void TCADChild::ShowError(const QString& text) {
  prompts_->Tell("Error", text, TNoteIcon::Error);
  ResetActivity(true);
}

bool TCADChild::ImportToActiveLayer(const std::string& fileName, bool zoom) {
  Layout().Unmark();
  document_->MarkGroup().ClearMarked();
  const int before = cursorShape_;
  SetCursorShape(kCursorBusy);
  if (TCadGroup* layer = Layout().CurrentLayer()) layer->Show();
  const bool imported = importer_ && importer_(Layout(), fileName, document_->MarkGroup());
  Layout().UpdateExtents();
  if (zoom) view::ZoomAll(canvas_->View(), Layout());
  RedrawAll();
  tabs_->update();
  SetCursorShape(before);
  return imported;
}

void TCADChild::SetActiveLayer(int index) {
  Layout().SetActiveLayer(index);
  if (tabs_->currentIndex() != index) {
    syncingTabs_ = true;
    tabs_->setCurrentIndex(index);
    syncingTabs_ = false;
  }
  if (TCadGroup* layer = Layout().CurrentLayer()) currentColor_ = layer->ColorIndex();
  LayerVisibleChecked();
  UpdateCommands();
}

void TCADChild::RedrawAll() {
  canvas_->View().RebuildView();
  canvas_->View().Refresh();
  tabs_->update();
}

void TCADChild::OpenCommandLine(const std::string& argument, const std::string& workingDir) {
  lastPath_ = argument;
  const std::string dir = workingDir.empty() ? QDir::currentPath().toStdString() : workingDir;
  AfterLoad(files_->OpenCommandLine(argument, dir));
  UpdateCaption();
  UpdateCommands();
}

// ---- file commands ------------------------------------------------------------------------------

void TCADChild::NewCommand() {
  const TFileOutcome out = files_->NewDrawing();
  if (out == TFileResult::Done) {
    canvas_->View().DropPicture();
    canvas_->View().SetPictureShown(false);
    activeLayerOnly_ = false;
    LayerVisibleChecked();
  }
  RedrawAll();
  UpdateCaption();
}

void TCADChild::OpenCommand() {
  lastPath_.clear();
  AfterLoad(files_->OpenDrawing());
}

void TCADChild::OpenRecentCommand(int k) {
  lastPath_ = recent_->Name(k);
  AfterLoad(files_->OpenRecent(k));
}

void TCADChild::AfterLoad(const TFileOutcome& out) {
  if (out == TFileResult::Done) {
    if (out.kind != TFileKind::Snapshot) {
      Layout().UpdateExtents();
      view::ZoomAll(canvas_->View(), Layout());
    }
    if (out.kind != TFileKind::Picture) activeLayerOnly_ = false;
    RedrawAll();
  }
  RefreshRecentItems();
  UpdateCaption();
}

void TCADChild::SaveCommand() {
  lastPath_ = files_->CurrentFileName();
  files_->Save();
  RefreshRecentItems();
  UpdateCaption();
}

void TCADChild::SaveAsCommand() {
  lastPath_.clear();
  files_->SaveAs();
  RefreshRecentItems();
  UpdateCaption();
}

// ---- edit and view ------------------------------------------------------------------------------

void TCADChild::UndoCommand() {
  const int previous = Layout().ActiveLayer();
  actions_->Undo();
  Layout().UpdateExtents();
  SelectTab(LayerAfterUndo(previous, tabs_->count()));
  RedrawAll();
}

void TCADChild::RedoCommand() {
  actions_->Redo();
  Layout().UpdateExtents();
  RedrawAll();
}

void TCADChild::UnmarkAllCommand() {
  Layout().Unmark();
  document_->MarkGroup().ClearMarked();
  MarkingFrameOff();
  RedrawAll();
}

void TCADChild::ZoomCommand(TCommandId id) {
  view::TOpenCanvas& v = canvas_->View();
  if (actions_->RedrawPending()) v.RebuildView();
  switch (id) {
    case TCommandId::ZoomAll: view::ZoomAll(v, Layout()); break;
    case TCommandId::ZoomDouble: v.ZoomIn(); break;
    case TCommandId::ZoomHalf: v.ZoomOut(); break;
    case TCommandId::ZoomPrevious: v.ZoomPrevious(); break;
    case TCommandId::ZoomSelected: view::ZoomSelected(v, Layout()); break;
    case TCommandId::ZoomWindow:
      // The next rectangle dragged in the view is zoomed to.
      v.StartZoomWindow();
      SetCursorShape(kCursorFinger);
      return;
    default: return;
  }
  v.Redisplay();
}

// ---- layers -------------------------------------------------------------------------------------

void TCADChild::AddLayerCommand() {
  ResetActivity(true);
  const TNewLayerColor c = ChooseNewLayerColor(currentColor_, config_.Record().ScreenColorIndex,
                                               config_.Colors().Count(), Layout().LayerCount() > 0);
  currentColor_ = static_cast<std::int16_t>(c.currentColor);
  // One step, after the layer exists (a change still pending is recorded
  // first, under its own name).
  actions_->AddLayer([&] {
    if (Layout().AddLayer("", static_cast<std::int16_t>(c.layerColor))) LayerVisibleChecked();
  });
  RedrawAll();
}

void TCADChild::EmptyLayerCommand() {
  const int index = Layout().ActiveLayer();
  if (index < 0) return;
  if (prompts_->Ask(CaptionText(18, "Quillmar"), Message(104, "Delete everything on the active layer?"), false) !=
      TAnswer::Yes)
    return;
  Layout().EmptyLayer(index);
  MarkingFrameOff();
  RecordAction(ActionName(Command(TCommandId::EmptyLayer)));
  RedrawAll();
}

void TCADChild::RemoveLayerCommand() {
  const int index = Layout().ActiveLayer();
  TCadGroup* layer = Layout().CurrentLayer();
  if (index < 0 || !layer || Layout().LayerCount() <= 1) return;
  // Text on the layer counts as much as its members; the text of a layer
  // cannot be asked for yet, so only members are known here.
  if (RemoveLayerAsks(layer->MemberCount() > 0, false) &&
      prompts_->Ask(CaptionText(18, "Quillmar"), Message(104, "Delete everything on the active layer?"), false) !=
          TAnswer::Yes)
    return;
  Layout().EmptyLayer(index);
  RecordAction(ActionName(Command(TCommandId::LayerRemove)));
  RedrawAll();
}

void TCADChild::ShowLayers(TCommandId id) {
  activeLayerOnly_ = id == TCommandId::ShowActiveLayer;
  Layout().ShowAll(id == TCommandId::ShowAllLayers);
  if (activeLayerOnly_)
    if (TCadGroup* layer = Layout().CurrentLayer()) layer->Show();
  Layout().UpdateExtents();
  LayerVisibleChecked();
  RedrawAll();
}

void TCADChild::LayerVisibleCommand() {
  TCadGroup* layer = Layout().CurrentLayer();
  if (!layer) return;
  if (layer->IsVisible()) layer->Hide();
  else layer->Show();
  Layout().UpdateExtents();
  RecordAction(ActionName(Command(TCommandId::LayerVisible)));
  LayerVisibleChecked();
  RedrawAll();
}

void TCADChild::LayerColorCommand() {
  TCadGroup* layer = Layout().CurrentLayer();
  if (!layer) return;
  const std::optional<int> chosen = prompts_->ChooseColorIndex(layer->ColorIndex(), config_.Colors(), QCursor::pos());
  if (!chosen) return;
  layer->SetColorIndex(static_cast<std::int16_t>(*chosen));
  currentColor_ = static_cast<std::int16_t>(*chosen);
  RedrawAll();
  RecordAction(ActionName(Command(TCommandId::LayerSetColor)));
}

void TCADChild::LayerNameCommand() { tabs_->StartNameEditor(Layout().ActiveLayer()); }

void TCADChild::LayerNameEntered(int index, const QString& name) {
  TCadGroup* layer = Layout().LayerAt(index);
  if (!layer) return;
  layer->SetName(name.toStdString());
  tabs_->setTabText(index, Q(layer->Name()));
  actions_->SetModified(true);
  RecordAction(ActionName(Command(TCommandId::LayerSetName)));
  tabs_->update();
}

void TCADChild::TabChanged(int index) {
  if (syncingTabs_ || index < 0) return;
  if (!activeLayerOnly_) {
    ResetActivity(false);
    SetActiveLayer(index);
    return;
  }
  ResetActivity(true);
  if (document_->MarkingShown()) UnmarkAllCommand();
  Layout().ShowAll(false);
  SetActiveLayer(index);
  if (TCadGroup* layer = Layout().CurrentLayer()) layer->Show();
  Layout().UpdateExtents();
  RedrawAll();
}

void TCADChild::SelectTab(int index) {
  if (index < 0 || index >= Layout().LayerCount()) return;
  SetActiveLayer(index);
}

void TCADChild::RebuildTabs() {
  syncingTabs_ = true;
  while (tabs_->count() > 0) tabs_->removeTab(tabs_->count() - 1);
  for (int i = 0; i < Layout().LayerCount(); ++i) tabs_->addTab(Q(Layout().LayerAt(i)->Name()));
  tabs_->setCurrentIndex(Layout().ActiveLayer());
  syncingTabs_ = false;
  tabs_->update();
}

void TCADChild::DrawingReplaced() {
  RebuildTabs();
  if (TCadGroup* layer = Layout().CurrentLayer()) currentColor_ = layer->ColorIndex();
  LayerVisibleChecked();
}

// ---- TLayoutHost --------------------------------------------------------------------------------

void TCADChild::SetModified() {
  if (actions_) actions_->SetModified(true);
}

void TCADChild::LayerTabAdded(int index, TCadGroup& layer) {
  syncingTabs_ = true;
  tabs_->insertTab(index, Q(layer.Name()));
  tabs_->setCurrentIndex(index);
  syncingTabs_ = false;
  if (TCadGroup* l = Layout().LayerAt(index); l == &layer) currentColor_ = layer.ColorIndex();
  tabs_->update();
}

void TCADChild::LayerTabRemoved(int index) {
  syncingTabs_ = true;
  tabs_->removeTab(index);
  syncingTabs_ = false;
}

void TCADChild::LayerTabsCleared() {
  syncingTabs_ = true;
  while (tabs_->count() > 0) tabs_->removeTab(tabs_->count() - 1);
  syncingTabs_ = false;
}

void TCADChild::LayerTabSelected(int index) { SelectTab(index); }

void TCADChild::LayerVisibleChecked() {
  TCadGroup* layer = document_ ? Layout().CurrentLayer() : nullptr;
  QAction* a = Action(TCommandId::LayerVisible);
  if (a) a->setChecked(layer && layer->IsVisible());
}

void TCADChild::MarkingFrameOff() { markingFrameTimer_.stop(); }

void TCADChild::FrameAround(const TBox&) {
  if (document_->MarkingShown()) markingFrameTimer_.start();
}

// ---- pictures and tool bars ---------------------------------------------------------------------

bool TCADChild::AdoptPicture(TDecodedPicture&& picture) {
  if (picture.width <= 0 || picture.height <= 0) return false;
  view::TRaster raster = view::TRaster::FromPixels(picture.width, picture.height, picture.pixels.data(),
                                                   static_cast<std::size_t>(picture.width) * 4);
  // Dots per inch as pixels per drawing unit (millimetres or inches).
  const double dpi = picture.dpiX > 0 ? picture.dpiX : 300.0;
  const double perUnit = dpi / 25.4 * config_.Record().UnitFactor;
  if (!canvas_->View().SetPicture(std::move(raster), perUnit)) return false;
  canvas_->View().SetPictureShown(true);
  return true;
}

void TCADChild::ApplyToolbarLayout(const TToolbarLayout& layout, bool write) {
  toolbars_->Apply(layout, TToolbars::ScreenRects());
  toolbarsApplied_ = true;
  toolbarsFinal_ = false;
  if (write) {
    if (int err = WriteToolbarLayout(config_.Record().ToolbarLayoutPath, toolbars_->Applied()))
      std::fprintf(stderr, "quillmar: cannot write the toolbar layout %s: %s\n",
                   config_.Record().ToolbarLayoutPath.c_str(), std::strerror(err));
  }
}

void TCADChild::WriteToolbars() {
  // Nothing to keep from a window that never arranged its tool bars.
  if (!toolbarsApplied_) return;
  const TToolbarLayout layout = toolbarsFinal_ ? finalToolbars_ : toolbars_->Current();
  if (int err = WriteToolbarLayout(config_.Record().ToolbarLayoutPath, layout))
    std::fprintf(stderr, "quillmar: cannot write the toolbar layout %s: %s\n", config_.Record().ToolbarLayoutPath.c_str(),
                 std::strerror(err));
}

void TCADChild::CustomizeToolbarsCommand() {
  TCustomizeToolbarsDlg dlg(
      toolbars_->Current(),
      [this](std::int32_t tag) {
        QAction* a = ButtonAction(tag);
        return a ? a->toolTip() : QString::number(tag);
      },
      this);
  const int result = dlg.exec();
  if (result == TCustomizeToolbarsDlg::kAccepted) ApplyToolbarLayout(dlg.Result(), true);
  else if (result == TCustomizeToolbarsDlg::kDefault) ApplyToolbarLayout(DefaultToolbarLayout(), true);
}

// ---- system and help ----------------------------------------------------------------------------

void TCADChild::CompanionCommand(TCommandId id) {
  std::string_view exe;
  platform::FamilyWindow* window = nullptr;
  config_.FindFamilyWindows();
  FamilyHandles& family = config_.Family();
  switch (id) {
    case TCommandId::SystemSorvel: exe = "Sorvel.exe", window = &family.sorvel; break;
    case TCommandId::SystemImgel: exe = "Imgel.exe", window = &family.imgel; break;
    default: exe = "Tornak.exe", window = &family.tornak; break;
  }
  if (window->valid()) {
    platform::RaiseFamilyWindow(*window);
    return;
  }
  const int before = cursorShape_;
  SetCursorShape(kCursorBusy);
  const int err = config_.LaunchCompanion("\\" + std::string(exe));
  SetCursorShape(before);
  if (err) prompts_->Tell(CaptionText(18, exe), Message(107, exe), TNoteIcon::Information);
}

void TCADChild::OptionsCommand() {
  std::int32_t r = exchange::Engines().Call(exchange::kSysSetup, 1, exchange::NoArgs{});
  if (r == exchange::kEngineNotAvailable) {
    prompts_->Tell("Quillmar", tr("The settings dialog is not available."), TNoteIcon::Information);
    return;
  }
  if (!exchange::EngineSucceeded(exchange::kSysSetup, r)) return;
  config_.ApplyLanguage(language_.get());
  config_.FindFamilyWindows();
  for (const auto* w : {&config_.Family().sorvel, &config_.Family().imgel, &config_.Family().tornak})
    if (w->valid()) platform::SendFamilyMessage(*w, kMsgSettingsChanged, 0, 0);
  ReloadConfiguration();
}

void TCADChild::ShowHelpTopic(std::string_view keyword) {
  std::string_view page = HelpPageFor(keyword);
  if (page.empty()) page = kHelpContentsPage;
  if (!OpenHelpUrl(HelpUrl(HelpDirectory(), page)))
    prompts_->Tell("Quillmar", tr("The help could not be opened:\n%1").arg(Q(HelpDirectory())), TNoteIcon::Exclamation);
}

void TCADChild::HelpCommand(TCommandId id) {
  std::string_view page = kHelpContentsPage;
  if (id == TCommandId::HelpHowToUse) page = kHelpOnHelpPage;
  if (id == TCommandId::HelpSearch) {
    QStringList keywords;
    for (const THelpTopic& t : HelpTopics()) keywords << Q(t.keyword);
    const std::optional<QString> k = prompts_->ChooseHelpKeyword(keywords);
    if (!k) return;
    page = HelpPageFor(k->toStdString());
    if (page.empty()) page = kHelpKeywordsPage;
  }
  if (!OpenHelpUrl(HelpUrl(HelpDirectory(), page)))
    prompts_->Tell("Quillmar", tr("The help could not be opened:\n%1").arg(Q(HelpDirectory())), TNoteIcon::Exclamation);
}

void TCADChild::AboutCommand() {
  prompts_->Tell(tr("About Quillmar"),
                 tr("Quillmar %1\n\nTwo-dimensional drafting for engraving and sign making.\n\n"
                    "Licensed under the GNU General Public License, version 3 or later.")
                     .arg(QApplication::applicationVersion().isEmpty() ? QString("0.1.0")
                                                                       : QApplication::applicationVersion()),
                 TNoteIcon::Information);
}

void TCADChild::BringToFront() {
  showMaximized();
  raise();
  activateWindow();
  if (QWindow* wh = windowHandle()) wh->requestActivate();
  update();
}

// ---- messages -----------------------------------------------------------------------------------

void TCADChild::WindowMessage(std::uint32_t message, std::int64_t wParam, std::int64_t) {
  switch (message) {
    case kMsgFontEditorShown: FontEditorShown(wParam != 0); break;
    case kMsgFontEditorLetter: FontEditorLetterReady(); break;
    case kMsgFontEditorChar: FontEditorCharacter(wParam); break;
    case kMsgFontEditorWantsMarked: FontEditorWantsMarked(); break;
    case kMsgSketchReady: SketchReady(); break;
    case kMsgSettingsChanged: ReloadConfiguration(); break;
    default: break;
  }
}

void TCADChild::FontEditorShown(bool shown) {
  fontEditorShown_ = shown;
  UpdateCommands();
}

void TCADChild::FontEditorLetterReady() {
  ImportToActiveLayer(platform::JoinPath(config_.Record().MailDir, "mail.let"), true);
}

void TCADChild::FontEditorCharacter(std::int64_t wParam) {
  const auto code = static_cast<std::uint16_t>(wParam & 0xFFFF);
  if (code == 0) return;
  // The character goes to the text cursor once the text exists; the
  // drawing is redrawn shortly, as after a typed key.
  charDrawTimer_.start();
  tabs_->update();
  activateWindow();
  canvas_->setFocus();
}

void TCADChild::FontEditorWantsMarked() {
  // The marked entities go to the font editor as chains: nothing is marked
  // without the marking frame.
  if (!document_->MarkingShown()) return;
}

void TCADChild::SketchReady() {
  TCadGroup* layer = Layout().CurrentLayer();
  const std::string name = layer ? layer->Name() : std::string();
  const std::string& path = config_.Record().SketchFilePath;
  ImportToActiveLayer(path, false);
  if (TCadGroup* now = Layout().CurrentLayer(); now && now == layer) {
    now->SetName(name);
    tabs_->setTabText(Layout().ActiveLayer(), Q(name));
  }
  tabs_->update();
  std::remove(path.c_str());
}

void TCADChild::ReloadConfiguration() {
  app::ReloadConfiguration(config_);
  ApplyLoadedSettings();
  panels_[0]->setText(config_.Record().UnitFactor != 1.0 ? "Inch" : "mm");
  RefreshHints();
  ApplyBackground();
  for (int i = 0; i < 4; ++i) SetScaleVisible(i, config_.Record().ScaleVisible[static_cast<std::size_t>(i)]);
  Layout().Unmark();
  document_->MarkGroup().ClearMarked();
  MarkingFrameOff();
  Layout().InvalidateIndex();
  Layout().UpdateExtents();
  RedrawAll();
  update();
}

}  // namespace qm::app
