#pragma once
// The layer tab strip: one tab per layer, in layer order, drawn by the
// program: the text in the layer's colour on a transparent background, bold
// when the layer holds something, italic when it is hidden. A right press
// makes the layer active before its pop-up menu opens; a one-line editor over
// the active tab renames the layer.
#include <QColor>
#include <QString>
#include <QTabBar>
#include <functional>

class QLineEdit;

namespace qm::app {

struct TTabLook {
  QString name;
  QColor color;
  bool hasContent = false;  // bold
  bool hidden = false;      // italic
};

class TLayerTabBar : public QTabBar {
  Q_OBJECT
 public:
  explicit TLayerTabBar(QWidget* parent = nullptr);
  ~TLayerTabBar() override;

  // What each tab shows, asked for on every paint.
  void SetLookProvider(std::function<TTabLook(int index)> provider) { look_ = std::move(provider); }
  TTabLook Look(int index) const;
  // The font a tab is drawn with.
  QFont TabFont(int index) const;

  // Opens the name editor over the tab, 1.2 × the name's width wide (at
  // least the tab's width); Enter stores, Escape or leaving it cancels.
  void StartNameEditor(int index);
  QLineEdit* NameEditor() const { return editor_; }

 signals:
  // After the tab was made current.
  void rightPressed(int index, const QPoint& globalPos);
  void nameEntered(int index, const QString& name);

 protected:
  void paintEvent(QPaintEvent* e) override;
  QSize tabSizeHint(int index) const override;
  QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
  void mousePressEvent(QMouseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void CloseEditor(bool store);

  std::function<TTabLook(int)> look_;
  QLineEdit* editor_ = nullptr;
  int editIndex_ = -1;
};

}  // namespace qm::app
