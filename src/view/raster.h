#pragma once
// A plain 32-bit raster (0xFFRRGGBB, the layout of Qt's RGB32 images, so a
// widget can wrap the memory without copying) and the drawing routines the
// view needs: integer lines with copy, exclusive-or and dotted modes,
// horizontal spans, rectangle fills and a nearest-neighbour stretched copy.
//
// Lines follow one rule everywhere: the first pixel is drawn, the last one in
// drawing order is not, and a zero-length line draws nothing. Two edges that
// meet therefore never both draw the shared pixel, so an exclusive-or outline
// shows every corner exactly once, and drawing any exclusive-or figure a
// second time restores the image exactly.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/palette.h"

namespace qm::view {

// 0xFFRRGGBB.
inline constexpr std::uint32_t PackRgb(platform::Rgb c) {
  return 0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.b};
}
inline constexpr platform::Rgb UnpackRgb(std::uint32_t p) {
  return {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8), static_cast<std::uint8_t>(p)};
}

enum class RasterOp : std::uint8_t { Copy, Xor };

// How a line is drawn: colour (0xFFRRGGBB), width in pixels (3 for chained
// entities; a width of n draws n parallel one-pixel lines side by side),
// dotted (3 pixels on, 3 off, counted from the line's first pixel), and
// copy or exclusive-or. Exclusive-or flips the colour's RGB bits and keeps
// the alpha byte, so the raster stays a valid RGB32 image.
struct RasterPen {
  std::uint32_t color = 0xFF000000u;
  int width = 1;
  bool dotted = false;
  RasterOp op = RasterOp::Copy;
};

// Length of the dotted pattern: on for the first half, off for the second.
inline constexpr int kDotPeriod = 6;

class TRaster {
 public:
  TRaster() = default;
  // A raster of that size (negative sizes count as 0) filled with `fill`.
  TRaster(int width, int height, std::uint32_t fill = 0xFF000000u);
  // A copy of an external RGB32 image; `strideBytes` is the distance between
  // rows in bytes (at least width · 4). An image that does not fit its
  // description gives an empty raster.
  static TRaster FromPixels(int width, int height, const std::uint32_t* pixels, std::size_t strideBytes);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // Rows are packed: the stride is the width.
  int StridePixels() const { return width_; }
  std::size_t StrideBytes() const { return static_cast<std::size_t>(width_) * 4; }
  std::uint32_t* Data() { return pixels_.data(); }
  const std::uint32_t* Data() const { return pixels_.data(); }
  std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
  const std::uint32_t* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }

  bool Contains(std::int64_t x, std::int64_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // Out-of-range reads answer 0, out-of-range writes are ignored.
  std::uint32_t Pixel(int x, int y) const { return Contains(x, y) ? Row(y)[x] : 0u; }
  void SetPixel(int x, int y, std::uint32_t c) {
    if (Contains(x, y)) Row(y)[x] = c;
  }

  // Changes the size; the contents become `fill`.
  void Resize(int width, int height, std::uint32_t fill = 0xFF000000u);
  void Fill(std::uint32_t color);
  // Copies a raster of the same size (or resizes to it first).
  void CopyFrom(const TRaster& other);

  // The line from (x1, y1) towards (x2, y2), any Int32 coordinates; the part
  // outside the raster is skipped without walking it, and the pixels inside
  // are exactly those the unclipped line would set.
  void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, const RasterPen& pen) {
    if (pen.width <= 1 && !pen.dotted && pen.op == RasterOp::Copy && Contains(x1, y1) && Contains(x2, y2))
      DrawSolidInside(x1, y1, x2, y2, pen.color);
    else
      DrawClippedLine(x1, y1, x2, y2, pen);
  }

  // The pixels x1 <= x < x2 of row y (the horizontal line from x1 to x2 by
  // the line rule), solid, in the pen's colour and operation.
  void DrawSpan(std::int32_t y, std::int32_t x1, std::int32_t x2, std::uint32_t color, RasterOp op);

  // The pixels x1 <= x < x2, y1 <= y < y2.
  void FillRect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::uint32_t color,
                RasterOp op = RasterOp::Copy);

  // Stretches `src` (nearest neighbour) so that its full extent covers the
  // destination rectangle [dx1, dx2) × [dy1, dy2) (which may reach beyond
  // this raster and be any size); only the visible part is computed.
  void StretchFrom(const TRaster& src, std::int64_t dx1, std::int64_t dy1, std::int64_t dx2, std::int64_t dy2);

 private:
  // The common case inline: a thin solid line with both ends in the raster.
  // The same pixels as the general routine.
  void DrawSolidInside(int x1, int y1, int x2, int y2, std::uint32_t color) {
    const int dx = x2 - x1, dy = y2 - y1;
    const int adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const std::ptrdiff_t w = width_;
    const std::ptrdiff_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -w : w;
    const bool xMajor = adx >= ady;
    const int major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
    const std::ptrdiff_t majorStep = xMajor ? sx : sy, minorStep = xMajor ? sy : sx;
    std::uint32_t* p = pixels_.data() + static_cast<std::ptrdiff_t>(y1) * w + x1;
    int rem = major;
    for (int k = 0; k < major; ++k) {
      *p = color;
      p += majorStep;
      rem += 2 * minor;
      if (rem >= 2 * major) {
        rem -= 2 * major;
        p += minorStep;
      }
    }
  }
  void DrawClippedLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, const RasterPen& pen);
  void DrawThinLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, std::uint32_t color,
                    bool dotted, RasterOp op);

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace qm::view
