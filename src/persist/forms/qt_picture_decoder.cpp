#include "persist/forms/qt_picture_decoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

namespace qm {

int TQtPictureDecoder::Decode(const std::string& path, std::string_view bytes, TDecodedPicture& out) {
  (void)path;
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setDecideFormatFromContent(true);
  if (!reader.canRead()) return kPictureUnknownFormat;
  QSize size = reader.size();
  if (size.isValid() && (size.width() > 32768 || size.height() > 32768 ||
                         static_cast<long long>(size.width()) * size.height() > (1LL << 28)))
    return kPictureTooLarge;
  QImage image;
  if (!reader.read(&image) || image.isNull()) {
    return reader.error() == QImageReader::UnsupportedFormatError ? kPictureUnknownFormat : kPictureDamaged;
  }
  image = image.convertToFormat(QImage::Format_RGB32);
  if (image.isNull()) return kPictureNoMemory;
  out.width = image.width();
  out.height = image.height();
  out.pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  for (int y = 0; y < out.height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
    std::copy(row, row + out.width, out.pixels.begin() + static_cast<std::ptrdiff_t>(y) * out.width);
  }
  out.dpiX = image.dotsPerMeterX() * 0.0254;
  out.dpiY = image.dotsPerMeterY() * 0.0254;
  return kPictureOk;
}

}  // namespace qm
