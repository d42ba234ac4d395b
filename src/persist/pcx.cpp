#include "persist/pcx.h"

#include <array>

namespace qm {

namespace {

std::uint16_t U16(std::string_view b, std::size_t off) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[off]) | (static_cast<std::uint8_t>(b[off + 1]) << 8));
}

std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
}

}  // namespace

PcxResult DecodePcx(std::string_view bytes, TDecodedPicture& out) {
  out = {};
  if (bytes.size() < 128 || static_cast<std::uint8_t>(bytes[0]) != 0x0A) return PcxResult::NotPcx;
  const int version = static_cast<std::uint8_t>(bytes[1]);
  const int encoding = static_cast<std::uint8_t>(bytes[2]);
  const int bpp = static_cast<std::uint8_t>(bytes[3]);
  if (version > 5 || encoding > 1) return PcxResult::NotPcx;
  const int xmin = U16(bytes, 4), ymin = U16(bytes, 6), xmax = U16(bytes, 8), ymax = U16(bytes, 10);
  const int planes = static_cast<std::uint8_t>(bytes[65]);
  const int bytesPerLine = U16(bytes, 66);
  if (xmax < xmin || ymax < ymin) return PcxResult::Damaged;
  const long width = long(xmax) - xmin + 1, height = long(ymax) - ymin + 1;
  if (width > 32768 || height > 32768 || width * height > (1L << 28)) return PcxResult::TooLarge;

  enum class Kind { Palette, Planar, Rgb24 } kind;
  if (planes == 1 && (bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8)) kind = Kind::Palette;
  else if (bpp == 1 && (planes == 2 || planes == 3 || planes == 4)) kind = Kind::Planar;
  else if (bpp == 8 && planes == 3) kind = Kind::Rgb24;
  else return PcxResult::Unsupported;
  // Each plane's line must hold the picture's width.
  const int bitsPerPlanePixel = kind == Kind::Palette ? bpp : kind == Kind::Rgb24 ? 8 : 1;
  if (bytesPerLine == 0 || long(bytesPerLine) * 8 < width * bitsPerPlanePixel)
    return PcxResult::Damaged;

  // Palettes: the 16-entry header palette, or 256 entries after a 0x0C byte
  // at the end of 8-bit files.
  std::array<std::uint32_t, 256> palette{};
  for (int i = 0; i < 16; ++i)
    palette[i] = Rgb(static_cast<std::uint8_t>(bytes[16 + 3 * i]), static_cast<std::uint8_t>(bytes[17 + 3 * i]),
                     static_cast<std::uint8_t>(bytes[18 + 3 * i]));
  std::size_t dataEnd = bytes.size();
  if (kind == Kind::Palette && bpp == 8) {
    if (bytes.size() < 128 + 769 || static_cast<std::uint8_t>(bytes[bytes.size() - 769]) != 0x0C)
      return PcxResult::Damaged;
    std::size_t p = bytes.size() - 768;
    for (int i = 0; i < 256; ++i)
      palette[i] = Rgb(static_cast<std::uint8_t>(bytes[p + 3 * i]), static_cast<std::uint8_t>(bytes[p + 3 * i + 1]),
                       static_cast<std::uint8_t>(bytes[p + 3 * i + 2]));
    dataEnd = bytes.size() - 769;
  } else if (kind == Kind::Palette && bpp == 1) {
    // Monochrome files often leave the header palette empty.
    if (palette[0] == palette[1]) {
      palette[0] = Rgb(0, 0, 0);
      palette[1] = Rgb(255, 255, 255);
    }
  }

  const std::size_t lineBytes = std::size_t(bytesPerLine) * planes;
  std::vector<std::uint8_t> line(lineBytes);
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.pixels.assign(static_cast<std::size_t>(width * height), 0xFF000000u);
  out.dpiX = U16(bytes, 12);
  out.dpiY = U16(bytes, 14);

  std::size_t pos = 128;
  std::size_t runLeft = 0;
  std::uint8_t runValue = 0;
  for (long y = 0; y < height; ++y) {
    // Runs may cross line ends in files written by some programs.
    for (std::size_t i = 0; i < lineBytes; ++i) {
      if (runLeft == 0) {
        if (pos >= dataEnd) return PcxResult::Damaged;
        std::uint8_t b = static_cast<std::uint8_t>(bytes[pos++]);
        if (encoding == 1 && (b & 0xC0) == 0xC0) {
          runLeft = b & 0x3F;
          if (pos >= dataEnd) return PcxResult::Damaged;
          runValue = static_cast<std::uint8_t>(bytes[pos++]);
          if (runLeft == 0) {
            --i;
            continue;
          }
        } else {
          runLeft = 1;
          runValue = b;
        }
      }
      line[i] = runValue;
      --runLeft;
    }
    std::uint32_t* row = out.pixels.data() + y * width;
    for (long x = 0; x < width; ++x) {
      switch (kind) {
        case Kind::Palette: {
          long bit = x * bpp;
          int v = (line[static_cast<std::size_t>(bit / 8)] >> (8 - bpp - bit % 8)) & ((1 << bpp) - 1);
          row[x] = palette[static_cast<std::size_t>(v)];
          break;
        }
        case Kind::Planar: {
          int v = 0;
          for (int p = 0; p < planes; ++p)
            v |= ((line[std::size_t(p) * bytesPerLine + static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1) << p;
          row[x] = palette[static_cast<std::size_t>(v)];
          break;
        }
        case Kind::Rgb24:
          row[x] = Rgb(line[static_cast<std::size_t>(x)], line[std::size_t(bytesPerLine) + x],
                       line[2 * std::size_t(bytesPerLine) + x]);
          break;
      }
    }
  }
  return PcxResult::Ok;
}

}  // namespace qm
