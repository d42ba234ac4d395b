#include "app/forms/splash.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace qm::app {

QPixmap SplashPicture() {
  QPixmap pm(480, 270);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, 0, 270);
  g.setColorAt(0, QColor(24, 40, 64));
  g.setColorAt(1, QColor(8, 12, 20));
  p.fillRect(pm.rect(), g);
  // A few engraved strokes: a dial's ticks around the name.
  p.setPen(QPen(QColor(200, 170, 90), 2));
  for (int i = 0; i <= 24; ++i) {
    int x = 40 + i * 16;
    p.drawLine(x, 200, x, i % 6 == 0 ? 180 : 190);
  }
  QFont f("Sans", 40, QFont::Bold);
  p.setFont(f);
  p.setPen(QColor(235, 225, 200));
  p.drawText(QRect(0, 60, 480, 80), Qt::AlignCenter, "Quillmar");
  QFont s("Sans", 11);
  p.setFont(s);
  p.setPen(QColor(170, 180, 200));
  p.drawText(QRect(0, 130, 480, 30), Qt::AlignCenter, "Drafting for engraving and sign making");
  p.drawText(QRect(0, 225, 470, 30), Qt::AlignRight | Qt::AlignVCenter, "Version " QM_VERSION);
  return pm;
}

}  // namespace qm::app
