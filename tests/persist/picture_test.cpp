#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "persist/forms/qt_picture_decoder.h"
#include "persist/picture.h"
#include "test_support.h"

using namespace qm;
using qm::test::TempDir;
using qm::test::WriteFile;

TEST(Picture, LoadsThroughTheDecoderAndReportsCodes) {
  TempDir dir;
  QImage img(3, 2, QImage::Format_RGB32);
  img.fill(QColor(10, 20, 30));
  img.setPixel(2, 1, qRgb(255, 0, 0));
  ASSERT_TRUE(img.save(QString::fromStdString(dir / "p.png")));
  TQtPictureDecoder qt;
  TDecodedPicture pic;
  ASSERT_EQ(LoadPicture(dir / "p.png", &qt, pic), kPictureOk);
  EXPECT_EQ(pic.width, 3);
  EXPECT_EQ(pic.pixels[5], 0xFFFF0000u);
  EXPECT_EQ(pic.pixels[0], 0xFF0A141Eu);

  WriteFile(dir / "bad.png", "\x89PNG\r\n\x1a\nnot really");
  WriteFile(dir / "text.bmp", "hello");
  WriteFile(dir / "empty.gif", "");
  struct Case {
    std::string path;
    int result, message;
  } cases[] = {
      {dir / "missing.png", kPictureCannotOpen, 109},
      {dir / "text.bmp", kPictureUnknownFormat, 114},
      {dir / "bad.png", kPictureDamaged, 115},
      {dir / "empty.gif", kPictureEmpty, 115},
  };
  for (const auto& c : cases) {
    int r = LoadPicture(c.path, &qt, pic);
    EXPECT_EQ(r, c.result) << c.path;
    EXPECT_EQ(PictureMessageNumber(r), c.message) << c.path;
  }
  EXPECT_EQ(LoadPicture(dir / "p.png", nullptr, pic), kPictureUnknownFormat);
}
