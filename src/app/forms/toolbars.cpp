#include "app/forms/toolbars.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace qm::app {

namespace {

Qt::ToolBarArea AreaOf(TDock dock) {
  switch (dock) {
    case TDock::Top: return Qt::TopToolBarArea;
    case TDock::Bottom: return Qt::BottomToolBarArea;
    case TDock::Left: return Qt::LeftToolBarArea;
    case TDock::Right: return Qt::RightToolBarArea;
    default: return Qt::NoToolBarArea;
  }
}

TDock DockOf(Qt::ToolBarArea area) {
  switch (area) {
    case Qt::BottomToolBarArea: return TDock::Bottom;
    case Qt::LeftToolBarArea: return TDock::Left;
    case Qt::RightToolBarArea: return TDock::Right;
    default: return TDock::Top;
  }
}

constexpr std::array<TDock, 4> kDocks{TDock::Top, TDock::Bottom, TDock::Left, TDock::Right};

}  // namespace

TFloatingToolWindow::TFloatingToolWindow(QToolBar* bar, QWidget* parent) : QWidget(parent, Qt::Tool), bar_(bar) {
  setObjectName(bar->objectName() + "Window");
  setWindowTitle(bar->windowTitle());
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  bar->setMovable(false);
  bar->setOrientation(Qt::Horizontal);
  box->addWidget(bar);
  bar->show();
}

void TFloatingToolWindow::contextMenuEvent(QContextMenuEvent* e) {
  QMenu menu(this);
  const std::array<std::pair<const char*, TDock>, 4> items{{{"Dock at the &Top", TDock::Top},
                                                            {"Dock at the &Bottom", TDock::Bottom},
                                                            {"Dock at the &Left", TDock::Left},
                                                            {"Dock at the &Right", TDock::Right}}};
  for (const auto& [text, dock] : items) {
    const TDock d = dock;
    menu.addAction(tr(text), this, [this, d] { emit dockRequested(d); });
  }
  menu.exec(e->globalPos());
}

TToolbars::TToolbars(QMainWindow& window, std::function<QAction*(std::int32_t)> actionOf)
    : QObject(&window), window_(window), actionOf_(std::move(actionOf)) {
  for (int i = 0; i < kToolbarCount; ++i) {
    const TToolbarInfo& info = ToolbarInfo()[static_cast<std::size_t>(i)];
    auto* bar = new QToolBar(QString::fromUtf8(info.caption.data(), static_cast<qsizetype>(info.caption.size())),
                             &window_);
    bar->setObjectName(QString::fromUtf8(info.component.data(), static_cast<qsizetype>(info.component.size())));
    bar->setMovable(true);
    bar->setFloatable(true);
    bar->hide();
    bars_[static_cast<std::size_t>(i)] = bar;
  }
}

TToolbars::~TToolbars() = default;

void TToolbars::SetIconSize(int pixels) {
  for (QToolBar* bar : bars_) bar->setIconSize(QSize(pixels, pixels));
}

void TToolbars::HideFloating() {
  for (auto& w : floating_)
    if (w) w->hide();
}

std::vector<TRect> TToolbars::ScreenRects() {
  std::vector<TRect> rects;
  QScreen* primary = QGuiApplication::primaryScreen();
  auto add = [&](QScreen* s) {
    const QRect g = s->geometry();
    rects.push_back({g.x(), g.y(), g.width(), g.height()});
  };
  if (primary) add(primary);
  for (QScreen* s : QGuiApplication::screens())
    if (s != primary) add(s);
  return rects;
}

void TToolbars::TakeBack(int index) {
  const auto i = static_cast<std::size_t>(index);
  QToolBar* bar = bars_[i];
  if (floating_[i]) {
    bar->setParent(&window_);
    bar->setMovable(true);
    floating_[i]->hide();
    floating_[i]->deleteLater();
    floating_[i] = nullptr;
  } else {
    if (breakBefore_[i]) window_.removeToolBarBreak(bar);
    window_.removeToolBar(bar);
  }
  breakBefore_[i] = false;
  bar->hide();
}

void TToolbars::Apply(const TToolbarLayout& layoutIn, const std::vector<TRect>& screens) {
  TToolbarLayout layout = layoutIn;
  KeepFloatingToolbarsOnScreen(layout, screens);
  for (int i = 0; i < kToolbarCount; ++i) {
    TakeBack(i);
    QToolBar* bar = bars_[static_cast<std::size_t>(i)];
    bar->clear();
    for (const auto& b : layout.bars[static_cast<std::size_t>(i)].buttons)
      if (QAction* a = actionOf_(b.tag)) bar->addAction(a);
  }
  for (TDock dock : kDocks) {
    bool first = true;
    std::int32_t across = 0;
    for (int i : ToolbarsInDock(layout, dock)) {
      const TToolbarRecord& rec = layout.bars[static_cast<std::size_t>(i)];
      const std::int32_t a = IsVertical(dock) ? rec.bounds.left : rec.bounds.top;
      QToolBar* bar = bars_[static_cast<std::size_t>(i)];
      if (!first && a != across) {
        window_.addToolBarBreak(AreaOf(dock));
        breakBefore_[static_cast<std::size_t>(i)] = true;
      }
      first = false;
      across = a;
      window_.addToolBar(AreaOf(dock), bar);
      bar->setVisible(rec.visible);
    }
  }
  for (int i = 0; i < kToolbarCount; ++i) {
    const TToolbarRecord& rec = layout.bars[static_cast<std::size_t>(i)];
    if (rec.dock != TDock::Floating) continue;
    QToolBar* bar = bars_[static_cast<std::size_t>(i)];
    auto* w = new TFloatingToolWindow(bar, &window_);
    connect(w, &TFloatingToolWindow::dockRequested, this, [this, i](TDock dock) {
      TToolbarLayout next = Current();
      TToolbarRecord& r = next.bars[static_cast<std::size_t>(i)];
      r.dock = dock;
      // At the end of the dock's first row (or column).
      r.bounds.left = IsVertical(dock) ? 2 : 1 << 20;
      r.bounds.top = IsVertical(dock) ? 1 << 20 : 2;
      FitToolbar(r);
      Apply(next, ScreenRects());
    });
    w->move(rec.bounds.left, rec.bounds.top);
    w->adjustSize();
    w->setVisible(rec.visible);
    floating_[static_cast<std::size_t>(i)] = w;
  }
  applied_ = layout;
}

TRect TToolbars::DockedBounds(int index, TDock dock) const {
  TToolbarRecord r = applied_.bars[static_cast<std::size_t>(index)];
  const QRect g = bars_[static_cast<std::size_t>(index)]->geometry();
  r.dock = dock;
  r.bounds.left = g.x();
  r.bounds.top = g.y();
  FitToolbar(r);
  return r.bounds;
}

TToolbarLayout TToolbars::Current() const {
  TToolbarLayout now = applied_;
  std::array<bool, kToolbarCount> docked{};
  for (int i = 0; i < kToolbarCount; ++i) {
    const auto k = static_cast<std::size_t>(i);
    TToolbarRecord& r = now.bars[k];
    QToolBar* bar = bars_[k];
    if (floating_[k]) {
      r.dock = TDock::Floating;
      r.bounds.left = floating_[k]->x();
      r.bounds.top = floating_[k]->y();
      r.visible = !floating_[k]->isHidden();
    } else if (bar->isFloating()) {
      // Dragged off its dock by the user.
      const QRect g = bar->geometry();
      r.dock = TDock::Floating;
      r.bounds = {g.x(), g.y(), g.width(), g.height()};
      r.visible = !bar->isHidden();
    } else {
      r.dock = DockOf(window_.toolBarArea(bar));
      r.visible = !bar->isHidden();
      docked[k] = true;
    }
  }
  // A dock keeps the positions it was given while it shows the same bars in
  // the same order; otherwise its bars take their places from the window.
  for (TDock dock : kDocks) {
    std::vector<int> before, after;
    for (int i : ToolbarsInDock(applied_, dock))
      if (docked[static_cast<std::size_t>(i)] && now.bars[static_cast<std::size_t>(i)].dock == dock) before.push_back(i);
    for (int i = 0; i < kToolbarCount; ++i)
      if (docked[static_cast<std::size_t>(i)] && now.bars[static_cast<std::size_t>(i)].dock == dock) after.push_back(i);
    const bool vertical = IsVertical(dock);
    std::stable_sort(after.begin(), after.end(), [&](int a, int b) {
      const QRect ga = bars_[static_cast<std::size_t>(a)]->geometry(), gb = bars_[static_cast<std::size_t>(b)]->geometry();
      if (vertical) return ga.x() != gb.x() ? ga.x() < gb.x() : ga.y() < gb.y();
      return ga.y() != gb.y() ? ga.y() < gb.y() : ga.x() < gb.x();
    });
    bool same = before.size() == after.size();
    for (int i : after)
      if (applied_.bars[static_cast<std::size_t>(i)].dock != dock) same = false;
    if (same && before != after && window_.isVisible()) {
      // The same bars in another order: the user moved them, if the window
      // has placed them all.
      const bool allPlaced = std::all_of(after.begin(), after.end(), [&](int i) {
        const QToolBar* bar = bars_[static_cast<std::size_t>(i)];
        return bar->isVisible() && bar->width() > 0;
      });
      if (allPlaced) same = false;
    }
    if (same) continue;
    for (int i : after) now.bars[static_cast<std::size_t>(i)].bounds = DockedBounds(i, dock);
  }
  return now;
}

}  // namespace qm::app
