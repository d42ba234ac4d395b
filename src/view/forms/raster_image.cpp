#include "view/forms/raster_image.h"

#include <QBuffer>
#include <QByteArray>
#include <QPainter>
#include <cerrno>

#include "platform/atomic_file.h"

namespace qm::view {

QImage WrapRaster(TRaster& raster) {
  if (raster.Empty()) return QImage();
  return QImage(reinterpret_cast<uchar*>(raster.Data()), raster.Width(), raster.Height(),
                static_cast<qsizetype>(raster.StrideBytes()), QImage::Format_RGB32);
}

QImage WrapRaster(const TRaster& raster) {
  if (raster.Empty()) return QImage();
  return QImage(reinterpret_cast<const uchar*>(raster.Data()), raster.Width(), raster.Height(),
                static_cast<qsizetype>(raster.StrideBytes()), QImage::Format_RGB32);
}

void DrawRasterText(TRaster& raster, int x, int y, const QString& text, const QFont& font, platform::Rgb color,
                    double angleDegrees) {
  QImage image = WrapRaster(raster);
  if (image.isNull()) return;
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  QFont f = font;
  f.setStyleStrategy(QFont::NoAntialias);
  p.setFont(f);
  p.setPen(QColor(color.r, color.g, color.b));
  p.translate(x, y);
  if (angleDegrees != 0) p.rotate(-angleDegrees);
  p.drawText(0, 0, text);
}

int SaveRasterPng(const TRaster& raster, const std::string& path) {
  const QImage image = WrapRaster(raster);
  if (image.isNull()) return EINVAL;
  QByteArray bytes;
  QBuffer out(&bytes);
  if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG")) return EIO;
  return platform::WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace qm::view
