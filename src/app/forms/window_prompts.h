#pragma once
// The main window's modal questions, notes and file dialogs behind one small
// interface, so that tests can answer them without a user.
#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "app/file_commands.h"
#include "platform/palette.h"

class QWidget;

namespace qm::app {

enum class TNoteIcon : std::uint8_t { Information, Exclamation, Error };

class TWindowPrompts {
 public:
  virtual ~TWindowPrompts() = default;
  // A question with a question icon: Yes / No, or Yes / No / Cancel.
  virtual TAnswer Ask(const QString& caption, const QString& text, bool withCancel) = 0;
  // A note with an OK button.
  virtual void Tell(const QString& caption, const QString& text, TNoteIcon icon) = 0;
  // The open dialog (filters of the drawing reader); nothing when cancelled.
  virtual std::optional<std::string> ChooseOpenFile() = 0;
  // The save dialog, warning before overwriting; with `drawingTypeOnly`
  // only drawing files are offered.
  virtual std::optional<std::string> ChooseSaveFile(bool drawingTypeOnly) = 0;
  // The colour chooser at a screen position (kept on the screen): an index
  // into the colour table, nothing when cancelled.
  virtual std::optional<int> ChooseColorIndex(int current, const platform::ColorTable& colors, QPoint at) = 0;
  // The keyword search of the help: one of `keywords` or a typed word.
  virtual std::optional<QString> ChooseHelpKeyword(const QStringList& keywords) = 0;
};

// The file types of the open and save dialogs, in the order they are offered.
QStringList OpenDialogFilters();
QStringList SaveDialogFilters();

// The desktop's message boxes and file dialogs. The dialogs start in the
// directory of the last file chosen.
class TQtPrompts : public TWindowPrompts {
 public:
  explicit TQtPrompts(QWidget* parent) : parent_(parent) {}
  TAnswer Ask(const QString& caption, const QString& text, bool withCancel) override;
  void Tell(const QString& caption, const QString& text, TNoteIcon icon) override;
  std::optional<std::string> ChooseOpenFile() override;
  std::optional<std::string> ChooseSaveFile(bool drawingTypeOnly) override;
  std::optional<int> ChooseColorIndex(int current, const platform::ColorTable& colors, QPoint at) override;
  std::optional<QString> ChooseHelpKeyword(const QStringList& keywords) override;

 private:
  QWidget* parent_;
  QString lastDir_;
};

}  // namespace qm::app
