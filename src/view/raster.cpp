#include "view/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qm::view {

namespace {

// Clipping a long line needs products of two 33-bit numbers.
__extension__ typedef __int128 Wide;

constexpr std::uint32_t kRgbMask = 0x00FFFFFFu;

std::int64_t CeilDiv(Wide num, Wide den) {  // den > 0
  Wide q = num / den;
  if (num % den != 0 && num > 0) ++q;
  return static_cast<std::int64_t>(q);
}

// The stepping loop of one thin line. The line has `major` steps along its
// major axis and `minor` along the other (0 <= minor <= major); pixel i sits
// at major offset i and minor offset floor((2·i·minor + major) / (2·major)),
// which is Bresenham's choice with halves rounded away from the start. The
// loop starts at pixel `first` with the remainder `rem` of that division and
// draws `count` pixels.
template <bool Xor, bool Dotted>
void Walk(std::uint32_t* p, std::ptrdiff_t majorStep, std::ptrdiff_t minorStep, std::int64_t major,
          std::int64_t minor, std::int64_t rem, std::int64_t first, std::int64_t count, std::uint32_t color) {
  const std::int64_t twoMajor = 2 * major, twoMinor = 2 * minor;
  int phase = Dotted ? static_cast<int>(first % kDotPeriod) : 0;
  for (std::int64_t k = 0; k < count; ++k) {
    if (!Dotted || phase < kDotPeriod / 2) {
      if (Xor)
        *p ^= color;
      else
        *p = color;
    }
    if (Dotted && ++phase == kDotPeriod) phase = 0;
    p += majorStep;
    rem += twoMinor;
    if (rem >= twoMajor) {
      rem -= twoMajor;
      p += minorStep;
    }
  }
}

}  // namespace

TRaster::TRaster(int width, int height, std::uint32_t fill) { Resize(width, height, fill); }

TRaster TRaster::FromPixels(int width, int height, const std::uint32_t* pixels, std::size_t strideBytes) {
  TRaster r;
  if (width <= 0 || height <= 0 || pixels == nullptr || strideBytes % 4 != 0 ||
      strideBytes < static_cast<std::size_t>(width) * 4)
    return r;
  r.Resize(width, height);
  const std::size_t stride = strideBytes / 4;
  for (int y = 0; y < height; ++y)
    std::memcpy(r.Row(y), pixels + static_cast<std::size_t>(y) * stride, static_cast<std::size_t>(width) * 4);
  return r;
}

void TRaster::Resize(int width, int height, std::uint32_t fill) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  if (width_ == 0 || height_ == 0) width_ = height_ = 0;
  pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill);
}

void TRaster::Fill(std::uint32_t color) {
  if (Empty()) return;
  // One row by hand, the others copied from it (memcpy is the fastest
  // store loop the library has).
  std::uint32_t* first = Row(0);
  std::fill(first, first + width_, color);
  for (int y = 1; y < height_; ++y) std::memcpy(Row(y), first, StrideBytes());
}

void TRaster::CopyFrom(const TRaster& other) {
  if (other.width_ != width_ || other.height_ != height_) {
    width_ = other.width_;
    height_ = other.height_;
    pixels_.resize(other.pixels_.size());
  }
  std::copy(other.pixels_.begin(), other.pixels_.end(), pixels_.begin());
}

void TRaster::DrawClippedLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                              const RasterPen& pen) {
  if (x1 == x2 && y1 == y2) return;
  const std::uint32_t color = pen.op == RasterOp::Xor ? (pen.color & kRgbMask) : pen.color;
  const int width = std::clamp(pen.width, 1, 64);
  if (width == 1) {
    DrawThinLine(x1, y1, x2, y2, color, pen.dotted, pen.op);
    return;
  }
  // A wide line is `width` copies of the thin one, side by side across its
  // major axis; they never share a pixel, so exclusive-or stays exact.
  const bool xMajor = std::llabs(std::int64_t{x2} - x1) >= std::llabs(std::int64_t{y2} - y1);
  for (int o = -(width - 1) / 2; o <= width / 2; ++o) {
    if (xMajor)
      DrawThinLine(x1, std::int64_t{y1} + o, x2, std::int64_t{y2} + o, color, pen.dotted, pen.op);
    else
      DrawThinLine(std::int64_t{x1} + o, y1, std::int64_t{x2} + o, y2, color, pen.dotted, pen.op);
  }
}

void TRaster::DrawThinLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, std::uint32_t color,
                           bool dotted, RasterOp op) {
  if (Empty()) return;
  const std::int64_t dx = x2 - x1, dy = y2 - y1;
  const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const std::int64_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  if (major == 0) return;
  const std::int64_t ma0 = xMajor ? x1 : y1, mi0 = xMajor ? y1 : x1;
  const int sMa = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int sMi = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const std::int64_t maLimit = xMajor ? width_ : height_, miLimit = xMajor ? height_ : width_;

  // Pixels i = 0 .. major − 1 (the end pixel is not drawn). Cut the range to
  // the raster along the major axis, then along the minor one.
  std::int64_t iLo = 0, iHi = major - 1;
  if (sMa > 0) {
    iLo = std::max(iLo, -ma0);
    iHi = std::min(iHi, maLimit - 1 - ma0);
  } else {
    iLo = std::max(iLo, ma0 - (maLimit - 1));
    iHi = std::min(iHi, ma0);
  }
  if (iLo > iHi) return;
  // Minor offsets q that stay inside: qa <= q <= qb.
  const std::int64_t qa = sMi > 0 ? -mi0 : mi0 - (miLimit - 1);
  const std::int64_t qb = sMi > 0 ? miLimit - 1 - mi0 : mi0;
  if (qb < 0 || qa > minor) return;
  if (minor == 0) {
    if (qa > 0) return;
  } else {
    // q_i >= qa  ⇔  2·i·minor + major >= 2·major·qa
    if (qa > 0) iLo = std::max(iLo, CeilDiv(Wide{2} * major * qa - major, Wide{2} * minor));
    // q_i <= qb  ⇔  2·i·minor + major < 2·major·(qb + 1)
    if (qb < minor) iHi = std::min(iHi, CeilDiv(Wide{2} * major * (qb + 1) - major, Wide{2} * minor) - 1);
    if (iLo > iHi) return;
  }

  std::int64_t q = 0, rem = major;
  if (iLo > 0) {
    const Wide num = Wide{2} * iLo * minor + major;
    q = static_cast<std::int64_t>(num / (Wide{2} * major));
    rem = static_cast<std::int64_t>(num % (Wide{2} * major));
  }
  const std::int64_t ma = ma0 + sMa * iLo, mi = mi0 + sMi * q;
  const std::int64_t px = xMajor ? ma : mi, py = xMajor ? mi : ma;
  std::uint32_t* p = pixels_.data() + py * width_ + px;
  const std::ptrdiff_t w = width_;
  const std::ptrdiff_t majorStep = xMajor ? sMa : sMa * w;
  const std::ptrdiff_t minorStep = xMajor ? sMi * w : sMi;
  const std::int64_t count = iHi - iLo + 1;
  if (op == RasterOp::Xor) {
    if (dotted)
      Walk<true, true>(p, majorStep, minorStep, major, minor, rem, iLo, count, color);
    else
      Walk<true, false>(p, majorStep, minorStep, major, minor, rem, iLo, count, color);
  } else {
    if (dotted)
      Walk<false, true>(p, majorStep, minorStep, major, minor, rem, iLo, count, color);
    else
      Walk<false, false>(p, majorStep, minorStep, major, minor, rem, iLo, count, color);
  }
}

void TRaster::DrawSpan(std::int32_t y, std::int32_t x1, std::int32_t x2, std::uint32_t color, RasterOp op) {
  if (y < 0 || y >= height_) return;
  const std::int32_t a = std::max<std::int32_t>(x1, 0), b = std::min<std::int32_t>(x2, width_);
  if (a >= b) return;
  std::uint32_t* row = Row(y);
  if (op == RasterOp::Xor) {
    const std::uint32_t c = color & kRgbMask;
    for (std::int32_t x = a; x < b; ++x) row[x] ^= c;
  } else {
    std::fill(row + a, row + b, color);
  }
}

void TRaster::FillRect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::uint32_t color,
                       RasterOp op) {
  const std::int32_t top = std::max<std::int32_t>(y1, 0), bottom = std::min<std::int32_t>(y2, height_);
  for (std::int32_t y = top; y < bottom; ++y) DrawSpan(y, x1, x2, color, op);
}

void TRaster::StretchFrom(const TRaster& src, std::int64_t dx1, std::int64_t dy1, std::int64_t dx2,
                          std::int64_t dy2) {
  if (src.Empty() || Empty() || dx2 <= dx1 || dy2 <= dy1) return;
  const std::int64_t left = std::max<std::int64_t>(dx1, 0), right = std::min<std::int64_t>(dx2, width_);
  const std::int64_t top = std::max<std::int64_t>(dy1, 0), bottom = std::min<std::int64_t>(dy2, height_);
  if (left >= right || top >= bottom) return;
  // Each destination pixel takes the source pixel under its centre.
  const double gx = static_cast<double>(src.width_) / static_cast<double>(dx2 - dx1);
  const double gy = static_cast<double>(src.height_) / static_cast<double>(dy2 - dy1);
  auto sample = [](std::int64_t d, std::int64_t origin, double g, int size) {
    const double s = std::floor((static_cast<double>(d - origin) + 0.5) * g);
    return static_cast<int>(std::clamp(s, 0.0, static_cast<double>(size - 1)));
  };
  std::vector<int> columns(static_cast<std::size_t>(right - left));
  for (std::int64_t x = left; x < right; ++x)
    columns[static_cast<std::size_t>(x - left)] = sample(x, dx1, gx, src.width_);
  for (std::int64_t y = top; y < bottom; ++y) {
    const std::uint32_t* s = src.Row(sample(y, dy1, gy, src.height_));
    std::uint32_t* d = Row(static_cast<int>(y)) + left;
    for (std::size_t i = 0; i < columns.size(); ++i) d[i] = s[columns[i]];
  }
}

}  // namespace qm::view
