#pragma once
// The "Customize Toolbars" dialog: one panel per tool bar with its buttons in
// order and a check box for its visibility, and the list of all buttons,
// which are dragged onto the panels (or placed with "Add"); dragging a button
// back onto the list, or "Remove", takes it off its panel. OK gives 1,
// "Default" 5, Cancel 0.
#include <QDialog>
#include <QIcon>
#include <QListWidget>
#include <array>
#include <functional>

#include "app/toolbar_layout.h"

class QCheckBox;
class QComboBox;

namespace qm::app {

class TCustomizeToolbarsDlg;

// A list of buttons that takes drops: a panel (bar 0..5) or the list of all
// buttons (bar -1).
class TButtonList : public QListWidget {
  Q_OBJECT
 public:
  TButtonList(int bar, TCustomizeToolbarsDlg& dialog);
  int BarIndex() const { return bar_; }
  static constexpr const char* kMime = "application/x-quillmar-button";

 protected:
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  int bar_;
  TCustomizeToolbarsDlg& dialog_;
};

class TCustomizeToolbarsDlg : public QDialog {
  Q_OBJECT
 public:
  enum : int { kCancelled = 0, kAccepted = 1, kDefault = 5 };

  TCustomizeToolbarsDlg(const TToolbarLayout& current, std::function<QString(std::int32_t)> label, QWidget* parent);

  bool PlaceButton(std::int32_t tag, int bar, int index = -1);
  bool RemoveButton(std::int32_t tag);
  void SetBarVisible(int bar, bool visible);
  // The bars as the panels show them (OK).
  TToolbarLayout Result() const { return customizer_.Result(); }
  const TToolbarCustomizer& Customizer() const { return customizer_; }
  TButtonList* Panel(int bar) const { return panels_[static_cast<std::size_t>(bar)]; }
  TButtonList* AllButtons() const { return all_; }

 private:
  void Refresh();
  void AddSelected();
  void RemoveSelected();

  TToolbarCustomizer customizer_;
  std::function<QString(std::int32_t)> label_;
  std::array<TButtonList*, kToolbarCount> panels_{};
  std::array<QCheckBox*, kToolbarCount> checks_{};
  TButtonList* all_ = nullptr;
  QComboBox* target_ = nullptr;
};

}  // namespace qm::app
