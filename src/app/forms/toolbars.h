#pragma once
// The six tool bars of the main window, arranged from a toolbar layout. A
// docked bar goes into its dock area, in rows (top, bottom) or columns
// (left, right) by its position across the dock; a floating bar lives in a
// small tool window of its own, since a QToolBar cannot be floated from the
// program. The arrangement the user leaves behind (bars dragged to other
// docks or off them, hidden, tool windows moved) is read back as a layout.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "app/toolbar_layout.h"

class QAction;
class QMainWindow;
class QToolBar;

namespace qm::app {

// The tool window that carries a floating bar. Its context menu docks the
// bar again.
class TFloatingToolWindow : public QWidget {
  Q_OBJECT
 public:
  TFloatingToolWindow(QToolBar* bar, QWidget* parent);
  QToolBar* Bar() const { return bar_; }

 signals:
  void dockRequested(TDock dock);

 protected:
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  QToolBar* bar_;
};

class TToolbars : public QObject {
  Q_OBJECT
 public:
  // `actionOf` gives the action of a button tag (null for none).
  TToolbars(QMainWindow& window, std::function<QAction*(std::int32_t tag)> actionOf);
  ~TToolbars() override;

  // Builds the bars from `layout`; floating bars that lie on none of the
  // screens (primary first) are moved onto the primary one.
  void Apply(const TToolbarLayout& layout, const std::vector<TRect>& screens);
  // The arrangement as it is now.
  TToolbarLayout Current() const;
  // The layout last applied.
  const TToolbarLayout& Applied() const { return applied_; }

  QToolBar* Bar(int index) const { return bars_[static_cast<std::size_t>(index)]; }
  // The tool window of a floating bar, or null.
  TFloatingToolWindow* FloatingWindow(int index) const { return floating_[static_cast<std::size_t>(index)]; }
  void SetIconSize(int pixels);
  // Hides the tool windows (the main window is closing).
  void HideFloating();

  // The screens' geometries, the primary one first.
  static std::vector<TRect> ScreenRects();

 private:
  void TakeBack(int index);
  TRect DockedBounds(int index, TDock dock) const;

  QMainWindow& window_;
  std::function<QAction*(std::int32_t)> actionOf_;
  std::array<QToolBar*, kToolbarCount> bars_{};
  std::array<QPointer<TFloatingToolWindow>, kToolbarCount> floating_{};
  std::array<bool, kToolbarCount> breakBefore_{};
  TToolbarLayout applied_;
};

}  // namespace qm::app
