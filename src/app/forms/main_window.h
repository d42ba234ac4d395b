#pragma once
// The program's main window. It owns the configuration handling of start-up:
// it publishes itself to the program family, answers the settings-changed
// message by re-reading the configuration and runs the settings dialog.
#include <QLabel>
#include <QMainWindow>
#include <array>
#include <memory>

#include "app/config.h"
#include "app/language.h"
#include "platform/qt/family_listener.h"

namespace qm::app {

class TCADChild : public QMainWindow, public ScaleVisibilitySink {
  Q_OBJECT
 public:
  explicit TCADChild(Configuration& config, QWidget* parent = nullptr);
  ~TCADChild() override;

  void SetScaleVisible(int which, bool visible) override;
  bool ScaleVisible(int which) const { return scaleVisible_[static_cast<std::size_t>(which)]; }

  // Settings-changed notification (0x85B) from a companion or the dialog.
  void ReloadConfiguration();
  // The "Options" command: the family's settings dialog.
  void OptionsCommand();
  // Comes forward when a second instance starts.
  void BringToFront();

  TMultiLang& Language() { return *language_; }
  platform::FamilyListener& Family() { return family_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  void ApplyBackground();

  Configuration& config_;
  std::shared_ptr<LanguageFile> languageFile_;
  std::unique_ptr<TMultiLang> language_;
  bool languageAttached_ = false;
  platform::FamilyListener family_;
  QLabel* unitsLabel_ = nullptr;
  QWidget* canvas_ = nullptr;
  std::array<bool, 4> scaleVisible_{true, true, true, true};
};

}  // namespace qm::app
