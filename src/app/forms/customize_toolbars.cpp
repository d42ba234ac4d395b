#include "app/forms/customize_toolbars.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/commands.h"
#include "app/forms/artwork.h"

namespace qm::app {

namespace {

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

std::int32_t TagOf(const QMimeData* data) {
  if (!data || !data->hasFormat(TButtonList::kMime)) return 0;
  bool ok = false;
  const int tag = QString::fromLatin1(data->data(TButtonList::kMime)).toInt(&ok);
  return ok ? tag : 0;
}

}  // namespace

TButtonList::TButtonList(int bar, TCustomizeToolbarsDlg& dialog) : bar_(bar), dialog_(dialog) {
  setDragEnabled(true);
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::CopyAction);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setIconSize(QSize(20, 20));
}

QStringList TButtonList::mimeTypes() const { return {kMime}; }

QMimeData* TButtonList::mimeData(const QList<QListWidgetItem*>& items) const {
  if (items.isEmpty()) return nullptr;
  auto* data = new QMimeData;
  data->setData(kMime, QByteArray::number(items.first()->data(Qt::UserRole).toInt()));
  return data;
}

void TButtonList::dragEnterEvent(QDragEnterEvent* e) {
  if (TagOf(e->mimeData()) == 0) return e->ignore();
  e->setDropAction(Qt::CopyAction);
  e->accept();
}

void TButtonList::dragMoveEvent(QDragMoveEvent* e) {
  if (TagOf(e->mimeData()) == 0) return e->ignore();
  e->setDropAction(Qt::CopyAction);
  e->accept();
}

void TButtonList::dropEvent(QDropEvent* e) {
  const std::int32_t tag = TagOf(e->mimeData());
  if (tag == 0) return e->ignore();
  // The lists are rebuilt from the dialog's arrangement, so the source must
  // not remove anything itself: the drop is answered as a copy.
  e->setDropAction(Qt::CopyAction);
  e->accept();
  if (bar_ < 0) {
    dialog_.RemoveButton(tag);
    return;
  }
  const QModelIndex at = indexAt(e->position().toPoint());
  int row = at.isValid() ? at.row() : -1;
  if (at.isValid() && e->position().toPoint().y() > visualRect(at).center().y()) ++row;
  dialog_.PlaceButton(tag, bar_, row);
}

TCustomizeToolbarsDlg::TCustomizeToolbarsDlg(const TToolbarLayout& current, std::function<QString(std::int32_t)> label,
                                             QWidget* parent)
    : QDialog(parent), customizer_(current), label_(std::move(label)) {
  setObjectName("CustomizeToolbarsDlg");
  setWindowTitle(tr("Customize Toolbars"));
  auto* outer = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  outer->addLayout(body);

  auto* grid = new QGridLayout;
  body->addLayout(grid, 3);
  for (int i = 0; i < kToolbarCount; ++i) {
    const TToolbarInfo& info = ToolbarInfo()[static_cast<std::size_t>(i)];
    auto* box = new QGroupBox(Text(info.panel), this);
    auto* v = new QVBoxLayout(box);
    auto* check = new QCheckBox(Text(info.checkBox), box);
    check->setChecked(customizer_.Visible(i));
    connect(check, &QCheckBox::toggled, this, [this, i](bool on) { customizer_.SetVisible(i, on); });
    auto* list = new TButtonList(i, *this);
    list->setObjectName(Text(info.component) + "Panel");
    v->addWidget(check);
    v->addWidget(list);
    grid->addWidget(box, i / 3, i % 3);
    panels_[static_cast<std::size_t>(i)] = list;
    checks_[static_cast<std::size_t>(i)] = check;
  }

  auto* side = new QVBoxLayout;
  body->addLayout(side, 1);
  side->addWidget(new QLabel(tr("All buttons (drag them onto a panel):"), this));
  all_ = new TButtonList(-1, *this);
  all_->setObjectName("AllButtons");
  side->addWidget(all_);
  auto* addRow = new QHBoxLayout;
  target_ = new QComboBox(this);
  for (const auto& info : ToolbarInfo()) target_->addItem(Text(info.panel));
  auto* add = new QPushButton(tr("&Add"), this);
  auto* remove = new QPushButton(tr("&Remove"), this);
  addRow->addWidget(target_);
  addRow->addWidget(add);
  addRow->addWidget(remove);
  side->addLayout(addRow);
  connect(add, &QPushButton::clicked, this, &TCustomizeToolbarsDlg::AddSelected);
  connect(remove, &QPushButton::clicked, this, &TCustomizeToolbarsDlg::RemoveSelected);
  connect(all_, &QListWidget::itemDoubleClicked, this, &TCustomizeToolbarsDlg::AddSelected);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* def = buttons->addButton(tr("&Default"), QDialogButtonBox::ResetRole);
  def->setObjectName("DefaultButton");
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(kAccepted); });
  connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(kCancelled); });
  connect(def, &QPushButton::clicked, this, [this] { done(kDefault); });
  outer->addWidget(buttons);
  Refresh();
  resize(900, 560);
}

bool TCustomizeToolbarsDlg::PlaceButton(std::int32_t tag, int bar, int index) {
  const bool ok = customizer_.PlaceButton(tag, bar, index);
  if (ok) Refresh();
  return ok;
}

bool TCustomizeToolbarsDlg::RemoveButton(std::int32_t tag) {
  const bool ok = customizer_.RemoveButton(tag);
  if (ok) Refresh();
  return ok;
}

void TCustomizeToolbarsDlg::SetBarVisible(int bar, bool visible) {
  if (bar < 0 || bar >= kToolbarCount) return;
  checks_[static_cast<std::size_t>(bar)]->setChecked(visible);
}

void TCustomizeToolbarsDlg::Refresh() {
  auto item = [this](std::int32_t tag) {
    auto* it = new QListWidgetItem(ButtonIcon(tag), label_ ? label_(tag) : QString::number(tag));
    it->setData(Qt::UserRole, tag);
    return it;
  };
  for (int i = 0; i < kToolbarCount; ++i) {
    TButtonList* list = panels_[static_cast<std::size_t>(i)];
    list->clear();
    for (std::int32_t tag : customizer_.Panel(i)) list->addItem(item(tag));
  }
  const std::vector<std::int32_t> stock = customizer_.StockButtons();
  const int selected = all_->currentItem() ? all_->currentItem()->data(Qt::UserRole).toInt() : 0;
  all_->clear();
  for (std::int32_t tag : ButtonTags()) {
    QListWidgetItem* it = item(tag);
    // Buttons already on a panel are shown dimmed; dragging one moves it.
    if (std::find(stock.begin(), stock.end(), tag) == stock.end()) it->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    all_->addItem(it);
    if (tag == selected) all_->setCurrentItem(it);
  }
}

void TCustomizeToolbarsDlg::AddSelected() {
  if (QListWidgetItem* it = all_->currentItem()) PlaceButton(it->data(Qt::UserRole).toInt(), target_->currentIndex());
}

void TCustomizeToolbarsDlg::RemoveSelected() {
  for (TButtonList* list : panels_) {
    if (QListWidgetItem* it = list->currentItem(); it && it->isSelected()) {
      RemoveButton(it->data(Qt::UserRole).toInt());
      return;
    }
  }
}

}  // namespace qm::app
