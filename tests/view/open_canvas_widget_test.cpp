#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <string>
#include <vector>

#include "test_support.h"
#include "view/forms/open_canvas_widget.h"
#include "view/forms/raster_image.h"
#include "view/layout_content.h"
#include "model/arc.h"
#include "model/circle.h"
#include "model/line.h"

namespace qm::view {
namespace {

// One application object for the whole test program.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "qm_view_forms_tests";
    static char* argv[] = {name, nullptr};
    app_ = new QApplication(argc, argv);
  }
  void TearDown() override { delete app_; }

 private:
  QApplication* app_ = nullptr;
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

void Send(QWidget& w, QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers mods = Qt::NoModifier) {
  const QPointF local(x, y);
  QMouseEvent e(type, local, w.mapToGlobal(local), button, buttons, mods);
  QApplication::sendEvent(&w, &e);
}

TEST(OpenCanvasWidget, ForwardsResizeAndMouseToTheViewFirst) {
  TOpenCanvasWidget w;
  TOpenCanvas& v = w.View();
  v.SetBackground({0, 0, 0});
  std::vector<std::string> log;
  QObject::connect(&w, &TOpenCanvasWidget::viewResized, [&](int width, int height) {
    log.push_back("resized " + std::to_string(width) + "x" + std::to_string(height));
  });
  QObject::connect(&w, &TOpenCanvasWidget::windowChanged, [&] { log.push_back("window"); });
  QObject::connect(&w, &TOpenCanvasWidget::leftPressed, [&](int x, int y, Qt::KeyboardModifiers m) {
    log.push_back("press " + std::to_string(x) + "," + std::to_string(y) + (m & Qt::ControlModifier ? " ctrl" : "") +
                  (v.BandArmed() ? " armed" : ""));
  });
  QObject::connect(&w, &TOpenCanvasWidget::leftReleased, [&](int, int, Qt::KeyboardModifiers m) {
    log.push_back(std::string("release") + (m & Qt::ShiftModifier ? " shift" : "") +
                  (v.ZoomPending() == 0 ? " zoomed" : ""));
  });
  QObject::connect(&w, &TOpenCanvasWidget::doubleClicked,
                   [&](int, int, Qt::MouseButton, Qt::KeyboardModifiers) { log.push_back("double"); });
  w.resize(600, 300);
  w.show();
  QApplication::processEvents();
  ASSERT_EQ(v.ViewWidth(), 600);
  ASSERT_EQ(v.ViewHeight(), 300);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "window");
  EXPECT_EQ(log.back(), "resized 600x300");

  // Zoom Window through the widget: (0, 0)–(60, 30) and the band of the
  // zoom example.
  v.SetWindow({0, 0, 60, 30});
  v.StartZoomWindow();
  log.clear();
  Send(w, QEvent::MouseButtonPress, 100, 50, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
  Send(w, QEvent::MouseMove, 250, 125, Qt::NoButton, Qt::LeftButton);
  Send(w, QEvent::MouseButtonRelease, 250, 125, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
  EXPECT_EQ(log, (std::vector<std::string>{"press 100,50 ctrl armed", "window", "release shift zoomed"}));
  EXPECT_NEAR(v.Window().x1, 10, 1e-9);
  EXPECT_NEAR(v.Window().y2, 25, 1e-9);

  // A right drag pans.
  log.clear();
  Send(w, QEvent::MouseButtonPress, 300, 100, Qt::RightButton, Qt::RightButton);
  Send(w, QEvent::MouseButtonRelease, 360, 100, Qt::RightButton, Qt::NoButton);
  EXPECT_EQ(log, (std::vector<std::string>{"window"}));
  EXPECT_NEAR(v.Window().x1, 10 - 60.0 / 600 * 15, 1e-6);

  // The second press of a double click is a press too.
  log.clear();
  Send(w, QEvent::MouseButtonDblClick, 20, 20, Qt::LeftButton, Qt::LeftButton);
  Send(w, QEvent::MouseButtonRelease, 20, 20, Qt::LeftButton, Qt::NoButton);
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[1], "double");
}

TEST(OpenCanvasWidget, PaintsTheWindowRasterAsItIs) {
  TOpenCanvasWidget w;
  TOpenCanvas& v = w.View();
  v.SetBackground({0, 0, 255});
  w.resize(64, 48);
  w.show();
  QApplication::processEvents();
  v.SetPen({255, 255, 0});
  v.PenOf(Surface::Screen).color = {255, 255, 0};
  v.DrawPixelLine(Surface::Screen, 5, 7, 40, 7);  // on the window only
  const QImage shown = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), QSize(64, 48));
  EXPECT_EQ(shown.pixel(10, 7), qRgb(255, 255, 0));
  EXPECT_EQ(shown.pixel(40, 7), qRgb(0, 0, 255));  // the last pixel is not drawn
  EXPECT_EQ(shown.pixel(10, 20), qRgb(0, 0, 255));

  // The wrapper shares the raster's memory; text and PNG go through it.
  QImage wrapped = WrapRaster(v.BufferImage());
  EXPECT_EQ(wrapped.constBits(), reinterpret_cast<const uchar*>(v.BufferImage().Data()));
  DrawRasterText(v.BufferImage(), 2, 40, QStringLiteral("Ab"), QFont(), {255, 255, 255});
  int white = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      const std::uint32_t p = v.BufferImage().Pixel(x, y);
      white += p == 0xFFFFFFFFu;
      ASSERT_TRUE(p == 0xFFFFFFFFu || p == 0xFF0000FFu) << "antialiased pixel at " << x << "," << y;
    }
  EXPECT_GT(white, 0);
  test::TempDir dir;
  ASSERT_EQ(SaveRasterPng(v.BufferImage(), dir / "view.png"), 0);
  QImage back(QString::fromStdString(dir / "view.png"));
  ASSERT_EQ(back.size(), QSize(64, 48));
  EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32).pixel(30, 5), qRgb(0, 0, 255));
}


// A layout of lines, an arc and a circle on three layers, as the widget
// shows it: 1 unit per pixel, world y up.
TEST(OpenCanvasWidget, ShowsALayoutAsAUserExpects) {
  TCadLayout layout;
  TCadGroup* red = layout.AddLayer("", 13);
  TCadGroup* blue = layout.AddLayer("", 16);
  TCadGroup* green = layout.AddLayer("", 14);
  red->InsertMember(std::make_unique<TCadLine>(TPointD{10, 80.2}, TPointD{190, 80.2}));  // row 20
  red->InsertMember(std::make_unique<TCadCirc>(TPointD{50, 50}, 20));
  TCadObj* marked = red->InsertMember(std::make_unique<TCadLine>(TPointD{10, 10.2}, TPointD{60, 10.2}));
  marked->Mark();
  TArcRec quarter;
  quarter.Center = {150, 50};
  quarter.Radius = 20;
  quarter.StartAngle = 0;
  quarter.EndAngle = HalfPi;
  blue->InsertMember(std::make_unique<TCadArc>(0, nullptr, ofVisible, quarter));
  blue->InsertMember(std::make_unique<TCadLine>(TPointD{100.2, 90}, TPointD{100.2, 10}));  // column 100
  green->InsertMember(std::make_unique<TCadLine>(TPointD{10, 5.2}, TPointD{190, 5.2}));
  green->Hide();

  TOpenCanvasWidget w;
  TOpenCanvas& v = w.View();
  TLayoutContent content(layout);
  v.SetContent(&content);
  w.resize(200, 100);
  w.show();
  QApplication::processEvents();
  ASSERT_TRUE(v.SetWindow({0, 0, 200, 100}));
  v.Redisplay();
  QImage shown = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), QSize(200, 100));
  const QRgb kRed = qRgb(255, 0, 0), kBlue = qRgb(0, 0, 255), kWhite = qRgb(255, 255, 255);
  auto near = [&](int x, int y, QRgb c) {  // within a pixel (chords of curves)
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (shown.pixel(x + dx, y + dy) == c) return true;
    return false;
  };
  EXPECT_EQ(shown.pixel(10, 20), kRed);   // the line's first pixel
  EXPECT_EQ(shown.pixel(189, 20), kRed);
  EXPECT_EQ(shown.pixel(190, 20), kWhite);  // its last is not drawn
  EXPECT_EQ(shown.pixel(100, 20), kBlue);   // the later layer paints over
  EXPECT_EQ(shown.pixel(100, 89), kBlue);
  EXPECT_TRUE(near(70, 50, kRed));          // the circle: right, top, left, bottom
  EXPECT_TRUE(near(50, 30, kRed));
  EXPECT_TRUE(near(30, 50, kRed));
  EXPECT_TRUE(near(50, 70, kRed));
  EXPECT_EQ(shown.pixel(50, 50), kWhite);   // not filled
  EXPECT_TRUE(near(164, 36, kBlue));        // the arc's middle
  EXPECT_FALSE(near(136, 64, kBlue));       // the rest of its circle
  EXPECT_EQ(shown.pixel(30, 90), qRgb(255, 127, 0));  // marked: the highlight colour
  EXPECT_EQ(shown.pixel(100, 95), kWhite);  // the hidden layer
  int hiddenPixels = 0;
  for (int x = 0; x < 200; ++x) hiddenPixels += shown.pixel(x, 95) != kWhite;
  EXPECT_EQ(hiddenPixels, 0);

  // Filled: the circle's inside takes the layer's colour.
  layout.SetFillMode(1);
  v.Redisplay();
  shown = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown.pixel(50, 50), kRed);
  EXPECT_EQ(shown.pixel(50, 75), kWhite);
  v.SetContent(nullptr);
}

}  // namespace
}  // namespace qm::view
