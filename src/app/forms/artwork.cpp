#include "app/forms/artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <cmath>

namespace qm::app {

namespace {

const QColor kInk(38, 48, 68);
const QColor kPaper(250, 248, 240);
const QColor kGold(206, 152, 38);
const QColor kBlue(40, 110, 200);
const QColor kRed(200, 48, 40);
const QColor kGreen(40, 150, 70);
const QColor kGrey(150, 150, 150);

QPen InkPen(double width = 1.4, const QColor& c = kInk) {
  QPen pen(c, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

// All pictures are drawn on a 24 × 24 grid.
void Page(QPainter& p, QRectF r, const QColor& fill = kPaper) {
  QPainterPath path;
  const double fold = 5;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - fold, r.top());
  path.lineTo(r.right(), r.top() + fold);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(InkPen());
  p.setBrush(fill);
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
  p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void Letters(QPainter& p, const QString& text, const QColor& color = kInk, double size = 11, QRectF r = {0, 0, 24, 24},
             bool bold = true) {
  QFont f("Sans");
  f.setPixelSize(static_cast<int>(size));
  f.setBold(bold);
  p.setFont(f);
  p.setPen(color);
  p.drawText(r, Qt::AlignCenter, text);
}

// A magnifier whose lens holds `symbol`: '+', '-', 'A' (all), 'W' (window),
// 'P' (previous), 'E' (selected).
void Magnifier(QPainter& p, char symbol) {
  p.setPen(InkPen(2.6));
  p.drawLine(QPointF(15.5, 15.5), QPointF(21.5, 21.5));
  p.setPen(InkPen(1.6));
  p.setBrush(QColor(225, 238, 252));
  p.drawEllipse(QPointF(10, 10), 7, 7);
  p.setPen(InkPen(1.6, kBlue));
  p.setBrush(Qt::NoBrush);
  switch (symbol) {
    case '+':
      p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
      p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
      break;
    case '-': p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10)); break;
    case 'A': p.drawRect(QRectF(6.5, 7.5, 7, 5)); break;
    case 'W': {
      QPen dash = InkPen(1.2, kBlue);
      dash.setStyle(Qt::DashLine);
      p.setPen(dash);
      p.drawRect(QRectF(6, 6.5, 8, 7));
      break;
    }
    case 'P': {
      QPainterPath a;
      a.moveTo(13, 12);
      a.cubicTo(13, 7, 9, 6.5, 7, 8.5);
      p.drawPath(a);
      p.drawLine(QPointF(7, 8.5), QPointF(7, 5.8));
      p.drawLine(QPointF(7, 8.5), QPointF(9.8, 8.8));
      break;
    }
    case 'E':
      p.setBrush(kGold);
      p.drawRect(QRectF(7.5, 7.5, 5, 5));
      break;
    default: break;
  }
}

// Stacked layer sheets; `top` colours the uppermost one.
void Sheets(QPainter& p, int count, const QColor& top, const QColor& others = kPaper) {
  for (int i = count - 1; i >= 0; --i) {
    double y = 8 + i * 4.5;
    QPolygonF sheet({QPointF(3, y + 3), QPointF(12, y - 1.5), QPointF(21, y + 3), QPointF(12, y + 7.5)});
    p.setPen(InkPen(1.2));
    p.setBrush(i == 0 ? top : others);
    p.drawPolygon(sheet);
  }
}

void Cross(QPainter& p, QPointF c, double r, const QColor& color = kRed, double width = 2.2) {
  p.setPen(InkPen(width, color));
  p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
  p.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
}

void Plus(QPainter& p, QPointF c, double r, const QColor& color = kGreen) {
  p.setPen(InkPen(2.2, color));
  p.drawLine(c + QPointF(-r, 0), c + QPointF(r, 0));
  p.drawLine(c + QPointF(0, -r), c + QPointF(0, r));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color = kInk, double head = 3.5) {
  p.setPen(InkPen(1.8, color));
  p.drawLine(from, to);
  const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
  p.drawLine(to, to - QPointF(head * std::cos(a - 0.5), head * std::sin(a - 0.5)));
  p.drawLine(to, to - QPointF(head * std::cos(a + 0.5), head * std::sin(a + 0.5)));
}

// A curved arrow for undo (back) and redo (forward).
void TurnArrow(QPainter& p, bool back) {
  p.save();
  if (!back) {
    p.translate(24, 0);
    p.scale(-1, 1);
  }
  QPainterPath path;
  path.moveTo(19, 18);
  path.cubicTo(20, 9, 12, 6, 6, 10);
  p.setPen(InkPen(2.2, kBlue));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.drawLine(QPointF(6, 10), QPointF(7.5, 4.5));
  p.drawLine(QPointF(6, 10), QPointF(11.5, 11.5));
  p.restore();
}

void Floppy(QPainter& p) {
  p.setPen(InkPen());
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 1.5, 1.5);
  p.setBrush(kPaper);
  p.drawRect(QRectF(7, 3.5, 10, 6));
  p.setBrush(QColor(220, 220, 220));
  p.drawRect(QRectF(6.5, 13, 11, 7.5));
}

void Printer(QPainter& p) {
  p.setPen(InkPen());
  p.setBrush(kPaper);
  p.drawRect(QRectF(7, 3.5, 10, 6));
  p.setBrush(QColor(200, 205, 215));
  p.drawRoundedRect(QRectF(3, 9.5, 18, 8), 1.5, 1.5);
  p.setBrush(kPaper);
  p.drawRect(QRectF(7, 14.5, 10, 6));
}

void Gear(QPainter& p, QPointF c, double r) {
  p.setPen(InkPen(1.2));
  p.setBrush(QColor(190, 195, 205));
  QPainterPath g;
  for (int i = 0; i < 16; ++i) {
    const double a = i * M_PI / 8;
    const double rr = (i % 2 == 0) ? r : r * 0.72;
    QPointF q = c + QPointF(rr * std::cos(a), rr * std::sin(a));
    if (i == 0) g.moveTo(q);
    else g.lineTo(q);
  }
  g.closeSubpath();
  p.drawPath(g);
  p.setBrush(kPaper);
  p.drawEllipse(c, r * 0.3, r * 0.3);
}

void Badge(QPainter& p, const QString& text, const QColor& fill) {
  p.setPen(InkPen(1.2));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(2.5, 2.5, 19, 19), 4, 4);
  Letters(p, text, Qt::white, 12);
}

void Circled(QPainter& p, const QString& text, const QColor& fill) {
  p.setPen(InkPen(1.2));
  p.setBrush(fill);
  p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
  Letters(p, text, Qt::white, 13);
}

void DrawButton(QPainter& p, std::int32_t tag) {
  p.setBrush(Qt::NoBrush);
  switch (tag) {
    case 1: Badge(p, "S", QColor(110, 70, 160)); break;  // Sorvel: tracing
    case 3: Badge(p, "T", QColor(160, 90, 40)); break;   // Tornak: milling
    case 4: Badge(p, "I", QColor(40, 130, 130)); break;  // Imgel: picture to part
    case 9: Page(p, QRectF(5, 2.5, 14, 19)); break;
    case 10:
      p.setPen(InkPen());
      p.setBrush(kGold);
      p.drawPolygon(QPolygonF({QPointF(2.5, 6), QPointF(9, 6), QPointF(11, 8), QPointF(20, 8), QPointF(20, 19.5),
                               QPointF(2.5, 19.5)}));
      p.setBrush(QColor(240, 200, 100));
      p.drawPolygon(QPolygonF({QPointF(5, 11), QPointF(22.5, 11), QPointF(20, 19.5), QPointF(2.5, 19.5)}));
      break;
    case 11: Floppy(p); break;
    case 12:
      Floppy(p);
      p.setPen(InkPen(2.4, kGold));
      p.drawLine(QPointF(13, 21), QPointF(22, 12));
      break;
    case 13: Printer(p); break;
    case 14:
      Printer(p);
      Gear(p, QPointF(18, 18), 5);
      break;
    case 15:
      p.setPen(InkPen());
      p.setBrush(QColor(170, 120, 80));
      p.drawRect(QRectF(4, 3, 10, 18));
      Arrow(p, QPointF(11, 12), QPointF(21.5, 12), kRed);
      break;
    case 16: TurnArrow(p, true); break;
    case 17: TurnArrow(p, false); break;
    case 18: Magnifier(p, '+'); break;
    case 19: Magnifier(p, '-'); break;
    case 20: Magnifier(p, 'A'); break;
    case 21: Magnifier(p, 'P'); break;
    case 22: Magnifier(p, 'W'); break;
    case 23: Magnifier(p, 'E'); break;
    case 25: Circled(p, "i", kBlue); break;
    case 26: Circled(p, "?", kGreen); break;
    case 27:
      Circled(p, "?", kGreen);
      p.setPen(InkPen(2.2));
      p.drawLine(QPointF(17, 17), QPointF(22, 22));
      break;
    case 28: Circled(p, "??", QColor(90, 120, 90)); break;
    case 31:  // scissors
      p.setPen(InkPen(1.5));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(7, 18), 3, 3);
      p.drawEllipse(QPointF(17, 18), 3, 3);
      p.drawLine(QPointF(9, 16), QPointF(17, 3));
      p.drawLine(QPointF(15, 16), QPointF(7, 3));
      break;
    case 32:
      Page(p, QRectF(3, 2.5, 11, 14));
      Page(p, QRectF(10, 7.5, 11, 14));
      break;
    case 33:
      p.setPen(InkPen());
      p.setBrush(QColor(180, 130, 80));
      p.drawRoundedRect(QRectF(4, 4, 16, 18), 2, 2);
      p.setBrush(QColor(200, 200, 210));
      p.drawRect(QRectF(8.5, 2.5, 7, 4));
      Page(p, QRectF(7, 9, 10, 11));
      break;
    case 34: Cross(p, QPointF(12, 12), 7); break;
    case 35:  // the drafting tool box
      p.setPen(InkPen(1.2));
      for (int i = 0; i < 4; ++i) {
        p.setBrush(i == 0 ? kGold : kPaper);
        p.drawRect(QRectF(4 + (i % 2) * 8.5, 4 + (i / 2) * 8.5, 7.5, 7.5));
      }
      break;
    case 36:
      Arrow(p, QPointF(12, 12), QPointF(12, 2.5));
      Arrow(p, QPointF(12, 12), QPointF(12, 21.5));
      Arrow(p, QPointF(12, 12), QPointF(2.5, 12));
      Arrow(p, QPointF(12, 12), QPointF(21.5, 12));
      break;
    case 37: {
      p.setPen(InkPen(2, kBlue));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(4, 4, 16, 16), 30 * 16, 290 * 16);
      Arrow(p, QPointF(18.5, 6.5), QPointF(19.3, 8.2), kBlue, 4.5);
      break;
    }
    case 38:
      p.setPen(InkPen(1.2));
      p.setBrush(kPaper);
      p.drawRect(QRectF(3, 9, 12, 12));
      p.setBrush(kGold);
      p.drawRect(QRectF(3, 15, 6, 6));
      Arrow(p, QPointF(12, 12), QPointF(21, 3), kBlue);
      break;
    case 39: {
      QPen dash = InkPen(1.2);
      dash.setStyle(Qt::DashLine);
      p.setPen(dash);
      p.drawLine(QPointF(12, 2), QPointF(12, 22));
      p.setPen(InkPen(1.2));
      p.setBrush(kBlue);
      p.drawPolygon(QPolygonF({QPointF(10, 5), QPointF(10, 19), QPointF(3, 19)}));
      p.setBrush(kPaper);
      p.drawPolygon(QPolygonF({QPointF(14, 5), QPointF(14, 19), QPointF(21, 19)}));
      break;
    }
    case 40: Letters(p, "A", kInk, 18, {0, 0, 24, 24}, false); break;
    case 41:  // a ruler
      p.setPen(InkPen(1.2));
      p.setBrush(QColor(240, 215, 130));
      p.drawRect(QRectF(2.5, 8, 19, 8));
      for (int i = 0; i < 7; ++i) p.drawLine(QPointF(4.5 + i * 2.5, 8), QPointF(4.5 + i * 2.5, i % 2 ? 11 : 13));
      break;
    case 42:
      p.setPen(Qt::NoPen);
      p.setBrush(kInk);
      for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) p.drawEllipse(QPointF(4.5 + i * 5, 4.5 + j * 5), 1.2, 1.2);
      break;
    case 43:
      Letters(p, "Ab", kInk, 12, {0, 2, 20, 18});
      p.setPen(InkPen(2.2, kGold));
      p.drawLine(QPointF(13, 21), QPointF(21, 13));
      break;
    case 44: {
      QPen dash = InkPen(1.2, kBlue);
      dash.setStyle(Qt::DashLine);
      p.setPen(dash);
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(3, 3, 14, 14));
      Cross(p, QPointF(17, 17), 4);
      break;
    }
    case 45:
      Sheets(p, 1, kPaper);
      Cross(p, QPointF(17, 17), 4);
      break;
    case 46: Sheets(p, 3, QColor(210, 210, 210), QColor(210, 210, 210)); break;
    case 47: Sheets(p, 3, kGold, QColor(210, 210, 210)); break;
    case 48: Sheets(p, 3, kGold, QColor(250, 220, 140)); break;
    case 49:
      Sheets(p, 2, kPaper);
      Plus(p, QPointF(18, 5.5), 4);
      break;
    case 50: {  // an envelope stretched
      QPainterPath e;
      e.moveTo(3, 6);
      e.cubicTo(9, 2, 15, 10, 21, 6);
      e.lineTo(21, 18);
      e.cubicTo(15, 22, 9, 14, 3, 18);
      e.closeSubpath();
      p.setPen(InkPen(1.4, kBlue));
      p.setBrush(QColor(225, 238, 252));
      p.drawPath(e);
      break;
    }
    case 51:
      p.setPen(Qt::NoPen);
      p.setBrush(kGrey);
      p.drawRect(QRectF(7, 7, 13, 13));
      p.setPen(InkPen(1.2));
      p.setBrush(kGold);
      p.drawRect(QRectF(3, 3, 13, 13));
      break;
    case 52: {
      p.setBrush(Qt::NoBrush);
      for (int i = 0; i < 2; ++i) {
        QPainterPath c;
        c.moveTo(3, 16 - i * 6);
        c.cubicTo(8, 8 - i * 6, 14, 22 - i * 6, 21, 12 - i * 6);
        p.setPen(InkPen(1.8, i ? kBlue : kInk));
        p.drawPath(c);
      }
      break;
    }
    case 53:
      p.setPen(InkPen(1.6));
      p.drawPolyline(QPolygonF({QPointF(2, 18), QPointF(12, 6), QPointF(22, 18)}));
      p.setPen(InkPen(1.2, kBlue));
      p.drawPolyline(QPolygonF({QPointF(6, 18), QPointF(12, 11), QPointF(18, 18)}));
      p.drawLine(QPointF(12, 6), QPointF(12, 11));
      break;
    case 54: Gear(p, QPointF(12, 12), 9); break;
    case 55:
      p.setPen(InkPen(1.4));
      p.setBrush(QColor(40, 110, 200, 140));
      p.drawEllipse(QPointF(9, 12), 6.5, 6.5);
      p.setBrush(QColor(206, 152, 38, 160));
      p.drawEllipse(QPointF(15, 12), 6.5, 6.5);
      break;
    case 56: {
      QPolygonF oct;
      for (int i = 0; i < 8; ++i) {
        const double a = M_PI / 8 + i * M_PI / 4;
        oct << QPointF(12 + 9.5 * std::cos(a), 12 + 9.5 * std::sin(a));
      }
      p.setPen(InkPen(1.2));
      p.setBrush(kRed);
      p.drawPolygon(oct);
      Letters(p, "Esc", Qt::white, 7.5);
      break;
    }
    case 57:
      p.setPen(InkPen(1.4));
      p.drawLine(QPointF(3, 18), QPointF(14, 7));
      Arrow(p, QPointF(10, 11), QPointF(14, 7), kRed, 5);
      p.drawLine(QPointF(14, 7), QPointF(21, 7));
      break;
    case 58:
      p.setPen(InkPen(1.2));
      p.setBrush(QColor(200, 230, 250));
      p.drawRect(QRectF(3, 4, 18, 16));
      p.setBrush(kGreen);
      p.drawPolygon(QPolygonF({QPointF(3, 20), QPointF(10, 10), QPointF(15, 16), QPointF(17, 13), QPointF(21, 20)}));
      p.setBrush(kGold);
      p.drawEllipse(QPointF(16, 8), 2, 2);
      break;
    default: Letters(p, QString::number(tag), kInk, 9); break;
  }
}

QPixmap Render(int size, const std::function<void(QPainter&)>& draw) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(size / 24.0, size / 24.0);
  draw(p);
  return pm;
}

void DrawProgram(QPainter& p) {
  // An engraving plate with a quill's cut: the same drawing as the SVG icon.
  QLinearGradient plate(0, 2, 0, 22);
  plate.setColorAt(0, QColor(44, 66, 104));
  plate.setColorAt(1, QColor(20, 30, 52));
  p.setPen(QPen(QColor(12, 18, 32), 0.6));
  p.setBrush(plate);
  p.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 4, 4);
  p.setPen(QPen(QColor(232, 196, 110), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(11, 11), 5.5, 5.5);
  p.drawLine(QPointF(14, 14), QPointF(19, 19));
  p.setPen(QPen(QColor(150, 170, 200), 0.8, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 5; ++i) p.drawLine(QPointF(4 + i * 2, 20.5), QPointF(4 + i * 2, i % 2 ? 19.5 : 18.8));
}

QCursor PixmapCursor(const std::function<void(QPainter&)>& draw, int hotX, int hotY) {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  p.end();
  return QCursor(pm, hotX, hotY);
}

// A cross hair with a small square: the drafting cursors (the number of
// squares tells FINGER, FINGER2 and FINGER3 apart).
QCursor Finger(int marks) {
  return PixmapCursor(
      [marks](QPainter& p) {
        p.setPen(QPen(Qt::white, 3));
        p.drawLine(16, 2, 16, 30);
        p.drawLine(2, 16, 30, 16);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(16, 2, 16, 30);
        p.drawLine(2, 16, 30, 16);
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < marks; ++i) p.drawRect(20 + i * 3, 20 + i * 3, 4, 4);
      },
      16, 16);
}

}  // namespace

QIcon ButtonIcon(std::int32_t tag) {
  QIcon icon;
  for (int size : {24, 48}) icon.addPixmap(Render(size, [tag](QPainter& p) { DrawButton(p, tag); }));
  return icon;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(Render(size, DrawProgram));
  return icon;
}

QCursor WindowCursor(int number) {
  switch (number) {
    case kCursorFinger: return Finger(0);
    case kCursorFinger2: return Finger(1);
    case kCursorFinger3: return Finger(2);
    case kCursorHand: return QCursor(Qt::OpenHandCursor);
    case kCursorBusy: return QCursor(Qt::WaitCursor);
    case kCursorApprove:
      return PixmapCursor(
          [](QPainter& p) {
            p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
            p.drawPolyline(QPolygonF({QPointF(4, 16), QPointF(12, 24), QPointF(28, 6)}));
            p.setPen(QPen(QColor(30, 140, 60), 3, Qt::SolidLine, Qt::RoundCap));
            p.drawPolyline(QPolygonF({QPointF(4, 16), QPointF(12, 24), QPointF(28, 6)}));
          },
          12, 24);
    case kCursorMove: return QCursor(Qt::SizeAllCursor);
    case kCursorDelete:
      return PixmapCursor(
          [](QPainter& p) {
            p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(6, 6, 26, 26);
            p.drawLine(6, 26, 26, 6);
            p.setPen(QPen(QColor(200, 40, 30), 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(6, 6, 26, 26);
            p.drawLine(6, 26, 26, 6);
          },
          16, 16);
    case kCursorAnchor:
      return PixmapCursor(
          [](QPainter& p) {
            p.setPen(QPen(Qt::black, 2));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(16, 7), 3, 3);
            p.drawLine(16, 10, 16, 27);
            p.drawLine(10, 14, 22, 14);
            p.drawArc(QRectF(7, 13, 18, 16), 200 * 16, 140 * 16);
          },
          16, 27);
    default: return QCursor(Qt::ArrowCursor);
  }
}

}  // namespace qm::app
