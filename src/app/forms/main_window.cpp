#include "app/forms/main_window.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QShowEvent>
#include <QHideEvent>
#include <QStatusBar>
#include <QWindow>
#include <cstdio>
#include <cstring>

#include "app/startup.h"
#include "exchange/engines.h"
#include "platform/paths.h"

namespace qm::app {

TCADChild::TCADChild(Configuration& config, QWidget* parent)
    : QMainWindow(parent), config_(config), languageFile_(std::make_shared<LanguageFile>()) {
  setObjectName("CADChild");
  setWindowTitle("Quillmar");
  resize(1024, 700);

  // Creation handler: the settings once more, then the help file.
  config_.LoadSystemConfig();
  config_.LoadUserDefaults(nullptr);

  languageFile_->Load(LanguageFilePath());
  language_ = std::make_unique<TMultiLang>("TCADChild");
  language_->SetLanguageFile(languageFile_);

  auto* file = menuBar()->addMenu(QString());
  file->setObjectName("FileItem");
  language_->Register("FileItem", "Caption", "&File", [file](const std::string& t) { file->setTitle(QString::fromStdString(t)); });
  QAction* exit = file->addAction(QString(), this, &QWidget::close);
  exit->setObjectName("ExitItem");
  language_->Register("ExitItem", "Caption", "E&xit", [exit](const std::string& t) { exit->setText(QString::fromStdString(t)); });
  auto* options = menuBar()->addMenu(QString());
  language_->Register("OptionsMenu", "Caption", "&Options", [options](const std::string& t) { options->setTitle(QString::fromStdString(t)); });
  QAction* settings = options->addAction(QString(), this, &TCADChild::OptionsCommand);
  settings->setObjectName("OptionsItem");
  language_->Register("OptionsItem", "Caption", "&Settings...", [settings](const std::string& t) { settings->setText(QString::fromStdString(t)); });
  settings->setEnabled(exchange::Engines().IsAvailable(exchange::kSysSetup, 1));

  canvas_ = new QWidget(this);
  canvas_->setAutoFillBackground(true);
  setCentralWidget(canvas_);
  unitsLabel_ = new QLabel(this);
  statusBar()->addPermanentWidget(unitsLabel_);

  connect(&family_, &platform::FamilyListener::messageReceived, this, [this](quint32 m, qint64, qint64) {
    if (m == kMsgSettingsChanged) ReloadConfiguration();
  });
  connect(&family_, &platform::FamilyListener::raiseRequested, this, &TCADChild::BringToFront);
  if (int err = family_.Open(config_.RuntimeDir(), "Quillmar", "TCADChild"))
    std::fprintf(stderr, "quillmar: cannot publish the window to the program family: %s\n", std::strerror(err));

  ApplyBackground();
  unitsLabel_->setText(config_.Record().UnitFactor != 1.0 ? "Inch" : "mm");
  for (int i = 0; i < 4; ++i) SetScaleVisible(i, config_.Record().ScaleVisible[static_cast<std::size_t>(i)]);
}

TCADChild::~TCADChild() = default;

void TCADChild::SetScaleVisible(int which, bool visible) {
  if (which >= 0 && which < 4) scaleVisible_[static_cast<std::size_t>(which)] = visible;
}

void TCADChild::ApplyBackground() {
  platform::Rgb c = config_.Colors().At(config_.Record().ScreenColorIndex);
  QPalette pal = canvas_->palette();
  pal.setColor(QPalette::Window, QColor(c.r, c.g, c.b));
  canvas_->setPalette(pal);
}

void TCADChild::ReloadConfiguration() {
  app::ReloadConfiguration(config_);
  unitsLabel_->setText(config_.Record().UnitFactor != 1.0 ? "Inch" : "mm");
  ApplyBackground();
  for (int i = 0; i < 4; ++i) SetScaleVisible(i, config_.Record().ScaleVisible[static_cast<std::size_t>(i)]);
  update();
}

void TCADChild::OptionsCommand() {
  std::int32_t r = exchange::Engines().Call(exchange::kSysSetup, 1, exchange::NoArgs{});
  if (r == exchange::kEngineNotAvailable) {
    QMessageBox::information(this, "Quillmar", tr("The settings dialog is not available."));
    return;
  }
  if (!exchange::EngineSucceeded(exchange::kSysSetup, r)) return;
  config_.ApplyLanguage(language_.get());
  config_.FindFamilyWindows();
  for (const auto* w : {&config_.Family().sorvel, &config_.Family().imgel, &config_.Family().tornak})
    if (w->valid()) platform::SendFamilyMessage(*w, kMsgSettingsChanged, 0, 0);
  ReloadConfiguration();
}

void TCADChild::BringToFront() {
  showMaximized();
  raise();
  activateWindow();
  if (QWindow* wh = windowHandle()) wh->requestActivate();
  update();
}

void TCADChild::showEvent(QShowEvent* e) {
  // Attach: the form shows the configured language while it is visible.
  if (!languageAttached_) {
    config_.ApplyLanguage(language_.get());
    languageAttached_ = true;
  }
  QMainWindow::showEvent(e);
}

void TCADChild::hideEvent(QHideEvent* e) {
  // Detach: back to the built-in texts until it is shown again.
  if (languageAttached_ && !e->spontaneous()) {
    language_->SetLanguage("English");
    languageAttached_ = false;
  }
  QMainWindow::hideEvent(e);
}

}  // namespace qm::app
