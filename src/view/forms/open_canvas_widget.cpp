#include "view/forms/open_canvas_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include "view/forms/raster_image.h"

namespace qm::view {

TOpenCanvasWidget::TOpenCanvasWidget(QWidget* parent) : QWidget(parent) {
  // Every pixel comes from the window raster: no background erase.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  view_.SetInvalidateHandler([this] { update(); });
  view_.SetWindowChangedHandler([this] { emit windowChanged(); });
}

TOpenCanvasWidget::~TOpenCanvasWidget() {
  view_.SetInvalidateHandler({});
  view_.SetWindowChangedHandler({});
}

void TOpenCanvasWidget::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  const QImage image = WrapRaster(std::as_const(view_).WindowImage());
  if (!image.isNull()) p.drawImage(e->rect(), image, e->rect());
}

void TOpenCanvasWidget::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  view_.SetViewBounds(x(), y(), height(), width());
  emit viewResized(view_.ViewWidth(), view_.ViewHeight());
}

void TOpenCanvasWidget::mousePressEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  if (e->button() == Qt::LeftButton) {
    view_.LeftPress(pos.x(), pos.y());
    emit leftPressed(pos.x(), pos.y(), e->modifiers());
  } else if (e->button() == Qt::RightButton) {
    view_.RightPress(pos.x(), pos.y());  // the widget keeps the mouse while pressed
    emit rightPressed(pos.x(), pos.y(), e->modifiers());
  }
}

void TOpenCanvasWidget::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  view_.MouseMove(pos.x(), pos.y());
  emit mouseMoved(pos.x(), pos.y(), e->buttons(), e->modifiers());
}

void TOpenCanvasWidget::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  if (e->button() == Qt::LeftButton) {
    view_.LeftRelease(pos.x(), pos.y());
    emit leftReleased(pos.x(), pos.y(), e->modifiers());
  } else if (e->button() == Qt::RightButton) {
    view_.RightRelease(pos.x(), pos.y());
    emit rightReleased(pos.x(), pos.y(), e->modifiers());
  }
}

void TOpenCanvasWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  // The second press of a double click is still a press (its release
  // follows), then the double click itself.
  mousePressEvent(e);
  const QPoint pos = e->position().toPoint();
  emit doubleClicked(pos.x(), pos.y(), e->button(), e->modifiers());
}

}  // namespace qm::view
