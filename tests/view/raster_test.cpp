#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "view/raster.h"

namespace qm::view {
namespace {

constexpr std::uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu, kRed = 0xFFFF0000u;

int Count(const TRaster& r, std::uint32_t c) {
  int n = 0;
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) n += r.Pixel(x, y) == c;
  return n;
}

std::vector<std::uint32_t> Pixels(const TRaster& r) { return {r.Data(), r.Data() + r.Width() * r.Height()}; }

RasterPen Solid(std::uint32_t c, RasterOp op = RasterOp::Copy, int width = 1) { return {c, width, false, op}; }

TEST(Raster, FirstPixelDrawnLastNotAndZeroLengthNothing) {
  struct Case {
    int x1, y1, x2, y2;
    int pixels;  // the major length
  } cases[] = {
      {2, 2, 2, 2, 0},   {1, 5, 9, 5, 8},  {9, 5, 1, 5, 8},  {5, 1, 5, 9, 8},  {5, 9, 5, 1, 8},
      {1, 1, 9, 4, 8},   {9, 4, 1, 1, 8},  {1, 1, 4, 9, 8},  {4, 9, 1, 1, 8},  {1, 9, 9, 1, 8},
      {9, 9, 1, 1, 8},   {2, 3, 3, 3, 1},
  };
  for (const Case& c : cases) {
    TRaster r(12, 12, kBlack);
    r.DrawLine(c.x1, c.y1, c.x2, c.y2, Solid(kWhite));
    EXPECT_EQ(Count(r, kWhite), c.pixels) << c.x1 << "," << c.y1 << " → " << c.x2 << "," << c.y2;
    if (c.pixels > 0) {
      EXPECT_EQ(r.Pixel(c.x1, c.y1), kWhite);
    }
    EXPECT_EQ(r.Pixel(c.x2, c.y2), kBlack);
  }
}

// Clipping must not change which pixels a line sets: every line drawn into
// a small raster matches the same line drawn into a large one around it.
TEST(Raster, ClippedLinesSetExactlyTheUnclippedPixels) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coord(-40, 70);
  constexpr int kOff = 50;
  for (int k = 0; k < 2000; ++k) {
    const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
    TRaster small(31, 23, kBlack), big(31 + 2 * kOff, 23 + 2 * kOff, kBlack);
    small.DrawLine(x1, y1, x2, y2, Solid(kWhite));
    big.DrawLine(x1 + kOff, y1 + kOff, x2 + kOff, y2 + kOff, Solid(kWhite));
    for (int y = 0; y < small.Height(); ++y)
      for (int x = 0; x < small.Width(); ++x)
        ASSERT_EQ(small.Pixel(x, y), big.Pixel(x + kOff, y + kOff))
            << x1 << "," << y1 << " → " << x2 << "," << y2 << " at " << x << "," << y;
  }
}

TEST(Raster, FarAwayEndsAreClippedWithoutOverflow) {
  TRaster r(40, 30, kBlack);
  r.DrawLine(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, Solid(kWhite));  // the diagonal x == y
  EXPECT_EQ(Count(r, kWhite), 30);
  for (int i = 0; i < 30; ++i) EXPECT_EQ(r.Pixel(i, i), kWhite) << i;

  TRaster h(40, 30, kBlack);
  h.DrawLine(INT32_MAX, 5, INT32_MIN, 5, Solid(kWhite));
  h.DrawLine(7, INT32_MIN, 7, INT32_MAX, Solid(kRed));
  h.DrawLine(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX - 10, Solid(kRed));  // passes far below
  EXPECT_EQ(Count(h, kWhite), 39);
  EXPECT_EQ(Count(h, kRed), 30);

  // A flat line 2^32 pixels long with three steps: by the exact rule its
  // second step falls between x = −1 and x = 0, so the raster shows row 2.
  TRaster s(64, 8, kBlack);
  s.DrawLine(INT32_MIN, 0, INT32_MAX, 3, Solid(kWhite));
  EXPECT_EQ(Count(s, kWhite), 64);
  for (int x = 0; x < 64; ++x) EXPECT_EQ(s.Pixel(x, 2), kWhite) << x;
}

TEST(Raster, ExclusiveOrDrawnTwiceRestoresTheImage) {
  std::mt19937 rng(3);
  TRaster r(50, 40);
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) r.SetPixel(x, y, 0xFF000000u | (rng() & 0xFFFFFFu));
  const auto before = Pixels(r);
  std::uniform_int_distribution<int> coord(-20, 70);
  std::vector<std::array<int, 4>> lines;
  for (int k = 0; k < 200; ++k) lines.push_back({coord(rng), coord(rng), coord(rng), coord(rng)});
  const RasterPen pens[] = {{0xFFFFFFFFu, 1, false, RasterOp::Xor},
                            {0xFF12AB34u, 3, false, RasterOp::Xor},
                            {0xFF808080u, 1, true, RasterOp::Xor},
                            {0xFF00FF00u, 3, true, RasterOp::Xor}};
  for (const RasterPen& pen : pens) {
    for (int pass = 0; pass < 2; ++pass)
      for (const auto& l : lines) r.DrawLine(l[0], l[1], l[2], l[3], pen);
    r.DrawSpan(7, -5, 30, pen.color, RasterOp::Xor);
    r.DrawSpan(7, -5, 30, pen.color, RasterOp::Xor);
    EXPECT_EQ(Pixels(r), before);
  }
  // The alpha byte stays opaque.
  r.DrawLine(0, 0, 49, 39, pens[0]);
  EXPECT_EQ(r.Pixel(0, 0) >> 24, 0xFFu);
}

TEST(Raster, ExclusiveOrRectangleShowsEachCornerOnceEitherWayRound) {
  const int x1 = 3, y1 = 4, x2 = 17, y2 = 11;
  const int corners[4][2] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
  for (int dir : {1, -1}) {
    TRaster r(20, 15, kBlack);
    for (int i = 0; i < 4; ++i) {
      const auto& a = corners[(4 + i * dir) % 4];
      const auto& b = corners[(4 + (i + 1) * dir) % 4];
      r.DrawLine(a[0], a[1], b[0], b[1], Solid(kWhite, RasterOp::Xor));
    }
    EXPECT_EQ(Count(r, kWhite), 2 * (x2 - x1) + 2 * (y2 - y1)) << dir;
    for (const auto& c : corners) EXPECT_EQ(r.Pixel(c[0], c[1]), kWhite) << dir;
  }
}

TEST(Raster, DottedLinesAndWidePens) {
  TRaster r(20, 10, kBlack);
  r.DrawLine(0, 1, 13, 1, {kWhite, 1, true, RasterOp::Copy});
  std::string row;
  for (int x = 0; x < 14; ++x) row += r.Pixel(x, 1) == kWhite ? '#' : '.';
  EXPECT_EQ(row, "###...###...#.");

  // Width 3: three rows across a flat line, three columns across a steep one.
  TRaster w(20, 20, kBlack);
  w.DrawLine(2, 5, 8, 5, Solid(kWhite, RasterOp::Copy, 3));
  EXPECT_EQ(Count(w, kWhite), 18);
  for (int y : {4, 5, 6}) EXPECT_EQ(w.Pixel(2, y), kWhite);
  w.Fill(kBlack);
  w.DrawLine(10, 2, 11, 12, Solid(kWhite, RasterOp::Copy, 3));
  EXPECT_EQ(Count(w, kWhite), 30);
  for (int x : {9, 10, 11}) EXPECT_EQ(w.Pixel(x, 2), kWhite);
}

TEST(Raster, SpansRectanglesAndStretchedCopies) {
  TRaster r(10, 6, kBlack);
  r.DrawSpan(2, -100, 4, kWhite, RasterOp::Copy);  // x < 4
  r.DrawSpan(3, 8, 1000, kWhite, RasterOp::Copy);  // x >= 8
  r.DrawSpan(9, 0, 10, kWhite, RasterOp::Copy);    // outside
  r.DrawSpan(4, 5, 5, kWhite, RasterOp::Copy);     // empty
  EXPECT_EQ(Count(r, kWhite), 6);
  r.FillRect(-3, -3, 2, 2, kRed);
  EXPECT_EQ(Count(r, kRed), 4);

  const std::uint32_t src[4] = {0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u};
  const TRaster pic = TRaster::FromPixels(2, 2, src, 8);
  TRaster d(8, 8, kBlack);
  d.StretchFrom(pic, 2, 2, 6, 6);  // each source pixel becomes 2 × 2
  EXPECT_EQ(d.Pixel(2, 2), src[0]);
  EXPECT_EQ(d.Pixel(5, 2), src[1]);
  EXPECT_EQ(d.Pixel(2, 5), src[2]);
  EXPECT_EQ(d.Pixel(5, 5), src[3]);
  EXPECT_EQ(Count(d, kBlack), 64 - 16);
  d.StretchFrom(pic, -1000000000000, -1000000000000, 1000000000000, 1000000000000);  // far zoomed in
  EXPECT_EQ(d.Pixel(0, 0), src[3]);  // the picture's centre is at the raster's corner
  EXPECT_TRUE(TRaster::FromPixels(2, 2, src, 4).Empty());  // stride shorter than a row
}

}  // namespace
}  // namespace qm::view
