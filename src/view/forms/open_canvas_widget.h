#pragma once
// The drawing area: shows the view's window raster and forwards the mouse
// and its size to the view logic, which runs first; the signals then carry
// the same events on to the main window's handlers.
#include <QWidget>

#include "view/open_canvas.h"

namespace qm::view {

class TOpenCanvasWidget : public QWidget {
  Q_OBJECT
 public:
  explicit TOpenCanvasWidget(QWidget* parent = nullptr);
  ~TOpenCanvasWidget() override;

  TOpenCanvas& View() { return view_; }
  const TOpenCanvas& View() const { return view_; }

 signals:
  // Positions in view pixels, after the view has handled the event.
  void leftPressed(int x, int y, Qt::KeyboardModifiers modifiers);
  void leftReleased(int x, int y, Qt::KeyboardModifiers modifiers);
  void rightPressed(int x, int y, Qt::KeyboardModifiers modifiers);
  void rightReleased(int x, int y, Qt::KeyboardModifiers modifiers);
  void mouseMoved(int x, int y, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
  // After the press signal that the double click's second press also sends.
  void doubleClicked(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  // The view was resized (and refitted, rebuilt and refreshed).
  void viewResized(int width, int height);
  // The view changed its window by itself: pan, band zoom, resize.
  void windowChanged();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  TOpenCanvas view_;
};

}  // namespace qm::view
