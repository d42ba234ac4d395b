#include "app/forms/layer_tabs.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <cmath>

namespace qm::app {

TLayerTabBar::TLayerTabBar(QWidget* parent) : QTabBar(parent) {
  setObjectName("LayerSet");
  setShape(QTabBar::RoundedSouth);
  setDrawBase(true);
  setExpanding(false);
  setUsesScrollButtons(true);
  setElideMode(Qt::ElideNone);
  setFocusPolicy(Qt::NoFocus);
}

TLayerTabBar::~TLayerTabBar() = default;

TTabLook TLayerTabBar::Look(int index) const {
  if (look_) return look_(index);
  TTabLook l;
  l.name = tabText(index);
  l.color = palette().color(QPalette::WindowText);
  return l;
}

QFont TLayerTabBar::TabFont(int index) const {
  const TTabLook l = Look(index);
  QFont f = font();
  f.setBold(l.hasContent);
  f.setItalic(l.hidden);
  return f;
}

QSize TLayerTabBar::tabSizeHint(int index) const {
  QSize base = QTabBar::tabSizeHint(index);
  const TTabLook l = Look(index);
  const double factor = l.hidden ? 1.3 : 1.2;
  const int textWidth = QFontMetrics(TabFont(index)).horizontalAdvance(l.name);
  const int width = std::max(24, static_cast<int>(std::ceil(textWidth * factor)));
  return {width, std::max(base.height(), QFontMetrics(TabFont(index)).height() + 8)};
}

void TLayerTabBar::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  for (int i = 0; i < count(); ++i) {
    QStyleOptionTab opt;
    initStyleOption(&opt, i);
    opt.text.clear();
    p.drawControl(QStyle::CE_TabBarTabShape, opt);
    const TTabLook l = Look(i);
    p.setFont(TabFont(i));
    p.setPen(l.color);
    // The text stands 2 pixels below the tab's top.
    QRect r = opt.rect.adjusted(0, 2, 0, 0);
    p.drawText(r, Qt::AlignHCenter | Qt::AlignTop, l.name);
  }
}

void TLayerTabBar::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    const int index = tabAt(e->position().toPoint());
    if (index >= 0) {
      setCurrentIndex(index);
      emit rightPressed(index, e->globalPosition().toPoint());
    }
    e->accept();
    return;
  }
  QTabBar::mousePressEvent(e);
}

void TLayerTabBar::StartNameEditor(int index) {
  if (index < 0 || index >= count()) return;
  CloseEditor(false);
  editIndex_ = index;
  editor_ = new QLineEdit(this);
  editor_->setObjectName("LayerNameEditor");
  editor_->setMaxLength(255);
  const QString name = Look(index).name;
  editor_->setText(name);
  editor_->selectAll();
  const QRect r = tabRect(index);
  const int width = std::max(r.width(), static_cast<int>(std::ceil(1.2 * editor_->fontMetrics().horizontalAdvance(name))) + 12);
  editor_->setGeometry(r.left(), r.top(), width, r.height());
  editor_->installEventFilter(this);
  editor_->show();
  editor_->setFocus();
}

bool TLayerTabBar::eventFilter(QObject* watched, QEvent* e) {
  if (watched == editor_) {
    if (e->type() == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(e);
      if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
        CloseEditor(true);
        return true;
      }
      if (k->key() == Qt::Key_Escape) {
        CloseEditor(false);
        return true;
      }
    } else if (e->type() == QEvent::FocusOut) {
      CloseEditor(false);
      return false;
    }
  }
  return QTabBar::eventFilter(watched, e);
}

void TLayerTabBar::CloseEditor(bool store) {
  if (!editor_) return;
  QLineEdit* ed = editor_;
  const int index = editIndex_;
  editor_ = nullptr;
  editIndex_ = -1;
  ed->removeEventFilter(this);
  const QString text = ed->text();
  ed->hide();
  ed->deleteLater();
  if (store) emit nameEntered(index, text);
}

}  // namespace qm::app
