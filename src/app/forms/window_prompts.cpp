#include "app/forms/window_prompts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <QWidgetAction>

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

std::optional<int> TQtPrompts::ChooseColorIndex(int current, const platform::ColorTable& colors, QPoint at) {
  // A grid of the palette's colours in a pop-up.
  QMenu menu(parent_);
  auto* action = new QWidgetAction(&menu);
  auto* grid = new QWidget(&menu);
  auto* layout = new QGridLayout(grid);
  layout->setSpacing(2);
  layout->setContentsMargins(4, 4, 4, 4);
  std::optional<int> chosen;
  const int n = colors.Count();
  const int columns = 5;
  for (int i = 0; i < n; ++i) {
    const platform::Rgb c = colors.At(i);
    QPixmap swatch(20, 20);
    swatch.fill(QColor(c.r, c.g, c.b));
    {
      QPainter p(&swatch);
      p.setPen(i == current ? QPen(Qt::red, 3) : QPen(Qt::gray, 1));
      p.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    }
    auto* b = new QToolButton(grid);
    b->setIcon(QIcon(swatch));
    b->setIconSize(QSize(20, 20));
    b->setAutoRaise(true);
    b->setToolTip(QString::number(i));
    QObject::connect(b, &QToolButton::clicked, &menu, [&chosen, &menu, i] {
      chosen = i;
      menu.close();
    });
    layout->addWidget(b, i / columns, i % columns);
  }
  action->setDefaultWidget(grid);
  menu.addAction(action);
  // Kept on the screen the position lies on.
  const QSize size = menu.sizeHint();
  if (QScreen* s = QGuiApplication::screenAt(at); s) {
    const QRect r = s->availableGeometry();
    at.setX(std::clamp(at.x(), r.left(), std::max(r.left(), r.right() - size.width())));
    at.setY(std::clamp(at.y(), r.top(), std::max(r.top(), r.bottom() - size.height())));
  }
  menu.exec(at);
  return chosen;
}

std::optional<QString> TQtPrompts::ChooseHelpKeyword(const QStringList& keywords) {
  bool ok = false;
  const QString k = QInputDialog::getItem(parent_, "Search for Help On", "Keyword:", keywords, 0, true, &ok);
  if (!ok || k.trimmed().isEmpty()) return std::nullopt;
  return k.trimmed();
}

}  // namespace qm::app
