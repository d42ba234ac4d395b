#include "app/forms/window_prompts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace qm::app {

QStringList OpenDialogFilters() {
  return {"Drawing files (*.qmd)",
          "Cad V4.0 (*.cad)",
          "Text V4.0 (*.txt)",
          "DXF (*.dxf)",
          "HPGL (*.plt)",
          "Postscript (*.eps)",
          "RLF (*.rlf)",
          "Pictures (*.bmp *.jpg *.jpeg *.png *.gif *.tif *.tiff *.pcx)",
          "All files (*)"};
}

QStringList SaveDialogFilters() { return {"Drawing files (*.qmd)", "DXF (*.dxf)", "HPGL (*.plt)"}; }

TAnswer TQtPrompts::Ask(const QString& caption, const QString& text, bool withCancel) {
  QMessageBox box(QMessageBox::Question, caption, text,
                  withCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                             : QMessageBox::Yes | QMessageBox::No,
                  parent_);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
  switch (box.exec()) {
    case QMessageBox::Yes: return TAnswer::Yes;
    case QMessageBox::No: return TAnswer::No;
    default: return withCancel ? TAnswer::Cancel : TAnswer::No;
  }
}

void TQtPrompts::Tell(const QString& caption, const QString& text, TNoteIcon icon) {
  QMessageBox::Icon i = icon == TNoteIcon::Information   ? QMessageBox::Information
                        : icon == TNoteIcon::Exclamation ? QMessageBox::Warning
                                                         : QMessageBox::Critical;
  QMessageBox box(i, caption, text, QMessageBox::Ok, parent_);
  box.exec();
}

std::optional<std::string> TQtPrompts::ChooseOpenFile() {
  QString name = QFileDialog::getOpenFileName(parent_, "Open", lastDir_, OpenDialogFilters().join(";;"));
  if (name.isEmpty()) return std::nullopt;
  lastDir_ = QFileInfo(name).absolutePath();
  return name.toStdString();
}

std::optional<std::string> TQtPrompts::ChooseSaveFile(bool drawingTypeOnly) {
  QStringList filters = SaveDialogFilters();
  if (drawingTypeOnly) filters = filters.mid(0, 1);
  // The dialog asks before an existing file is replaced.
  QString name = QFileDialog::getSaveFileName(parent_, "Save As", lastDir_, filters.join(";;"));
  if (name.isEmpty()) return std::nullopt;
  lastDir_ = QFileInfo(name).absolutePath();
  return name.toStdString();
}

}  // namespace qm::app
