#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "view/open_canvas.h"

namespace qm::view {
namespace {

constexpr std::uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu, kRed = 0xFFFF0000u;
constexpr platform::Rgb kWhiteRgb{255, 255, 255}, kRedRgb{255, 0, 0};

// A view of w × h pixels showing `window` on a black background.
std::unique_ptr<TOpenCanvas> MakeView(int w, int h, TWindowRect window) {
  auto v = std::make_unique<TOpenCanvas>();
  v->SetBackground({0, 0, 0});
  v->SetViewBounds(0, 0, h, w);
  v->SetWindow(window);
  v->ClearBuffer();
  v->Refresh();
  return v;
}

int Count(const TRaster& r, std::uint32_t c) {
  int n = 0;
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) n += r.Pixel(x, y) == c;
  return n;
}

std::vector<std::uint32_t> Pixels(const TRaster& r) {
  return {r.Data(), r.Data() + static_cast<std::size_t>(r.Width()) * r.Height()};
}

void ExpectWindow(const TWindowRect& got, const TWindowRect& want, const std::string& what) {
  EXPECT_NEAR(got.x1, want.x1, 1e-9) << what;
  EXPECT_NEAR(got.y1, want.y1, 1e-9) << what;
  EXPECT_NEAR(got.x2, want.x2, 1e-9) << what;
  EXPECT_NEAR(got.y2, want.y2, 1e-9) << what;
}

// ---------------------------------------------------------------------------
// Transform and zooms
// ---------------------------------------------------------------------------

TEST(OpenCanvas, MapsWorldToPixelsAndBack) {
  auto v = MakeView(600, 300, {-10, -5, 50, 25});
  EXPECT_FLOAT_EQ(static_cast<float>(v->PixelSize()), 0.1f);
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double x, y;
    TPixelPoint px;
  } cases[] = {
      {0, 0, {100, 250}},
      {-10, -5, {0, 300}},
      {50, 25, {600, 0}},
      {20, 10, {300, 150}},
      // Far beyond the Int32 range the conversions saturate.
      {1e300, -1e300, {INT32_MAX, INT32_MAX}},
      {-1e300, 1e300, {INT32_MIN, INT32_MIN}},
      {3e8, -3e8, {INT32_MAX, INT32_MAX}},
      {kNaN, 0, {0, 250}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(v->WorldToPixel(c.x, c.y), c.px) << c.x << "," << c.y;
    if (std::fabs(c.x) < 1e3) {
      const TPointD w = v->PixelToWorld(c.px.x, c.px.y);
      EXPECT_NEAR(w.x, c.x, 1e-12);
      EXPECT_NEAR(w.y, c.y, 1e-12);
    }
  }
  EXPECT_EQ(v->WorldToPixelSingle(0.0f, 0.0f), (TPixelPoint{100, 250}));
}

TEST(OpenCanvas, FitsExtentsWithAMarginFactor) {
  struct Case {
    TPointD a, b;
    double factor;
    TWindowRect want;
  } cases[] = {
      // Relatively wider than the 2:1 view: fitted by width, s = 1.2 · 100 / 600.
      {{0, 0}, {100, 20}, 1.2, {-10, -20, 110, 40}},
      {{100, 20}, {0, 0}, 1.2, {-10, -20, 110, 40}},
      // Relatively taller: fitted by height, s = 1.2 · 100 / 300.
      {{0, 0}, {20, 100}, 1.2, {-110, -10, 130, 110}},
      // The Zoom All example: 100 × 50 gives a 120 × 60 window.
      {{0, 0}, {100, 50}, 1.2, {-10, -5, 110, 55}},
      // A single point is widened to 0.001 in both directions first.
      {{5, 5}, {5, 5}, 1.0, {4.999, 4.9995, 5.001, 5.0005}},
  };
  for (const Case& c : cases) {
    auto v = MakeView(600, 300, {0, 0, 60, 30});
    v->SetContentExtents(c.a, c.b);
    v->FitToExtents(c.factor);
    ExpectWindow(v->Window(), c.want, "fit");
    ExpectWindow(v->PreviousWindow(), {0, 0, 60, 30}, "previous");
  }
}

TEST(OpenCanvas, ZoomInOutAndPrevious) {
  auto v = MakeView(600, 300, {0, 0, 100, 50});
  ASSERT_TRUE(v->ZoomIn());
  ExpectWindow(v->Window(), {25, 12.5, 75, 37.5}, "in");
  ExpectWindow(v->PreviousWindow(), {0, 0, 100, 50}, "in previous");
  v->ZoomPrevious();
  ExpectWindow(v->Window(), {0, 0, 100, 50}, "previous");
  v->ZoomPrevious();  // twice: back to the window before the first one
  ExpectWindow(v->Window(), {25, 12.5, 75, 37.5}, "previous twice");
  EXPECT_FLOAT_EQ(static_cast<float>(v->PixelSize()), 50.0f / 600);

  v->SetWindow({0, 0, 100, 50});
  ASSERT_TRUE(v->ZoomOut());
  ExpectWindow(v->Window(), {-50, -25, 150, 75}, "out");

  // The limits: nothing changes, not even the previous window.
  v->SetWindow({0, 0, 400000, 200000});
  EXPECT_FALSE(v->ZoomOut());
  ExpectWindow(v->PreviousWindow(), {0, 0, 100, 50}, "out limit");
  v->SetWindow({0, 0, 0.0005, 0.00025});
  EXPECT_FALSE(v->ZoomIn());
  ExpectWindow(v->Window(), {0, 0, 0.0005, 0.00025}, "in limit");
}

TEST(OpenCanvas, ZoomWindowZoomsToAProperBandOnly) {
  struct Case {
    const char* what;
    TWindowRect window;
    int x1, y1, x2, y2;  // press and release
    bool zooms;
    int pendingAfter;
    TWindowRect want;
  } cases[] = {
      {"band", {0, 0, 60, 30}, 100, 50, 250, 125, true, 0, {10, 17.5, 25, 25}},
      {"band dragged backwards", {0, 0, 60, 30}, 250, 125, 100, 50, true, 0, {10, 17.5, 25, 25}},
      // A click never zooms into its 7 × 7 square; Zoom Window stays on.
      {"click", {0, 0, 60, 30}, 100, 50, 102, 53, false, 3, {0, 0, 60, 30}},
      // No width: a division by zero otherwise.
      {"no width", {0, 0, 60, 30}, 100, 50, 100, 125, false, 3, {0, 0, 60, 30}},
      {"no height", {0, 0, 60, 30}, 100, 50, 250, 50, false, 3, {0, 0, 60, 30}},
      // Deep zooms stop at a window 0.001 wide (f reduced from 50 to 2).
      {"floor", {0, 0, 0.002, 0.001}, 295, 147, 305, 153, true, 0, {0.0005, 0.00025, 0.0015, 0.00075}},
      // Already narrower than the floor: the band is taken, nothing zooms.
      {"below floor", {0, 0, 0.0005, 0.00025}, 100, 50, 250, 125, false, 0, {0, 0, 0.0005, 0.00025}},
  };
  for (const Case& c : cases) {
    auto v = MakeView(600, 300, c.window);
    v->StartZoomWindow();
    v->LeftPress(c.x1, c.y1);
    v->MouseMove(c.x2, c.y2);
    EXPECT_EQ(v->LeftRelease(c.x2, c.y2), c.zooms) << c.what;
    EXPECT_EQ(v->ZoomPending(), c.pendingAfter) << c.what;
    ExpectWindow(v->Window(), c.want, c.what);
    if (c.zooms) ExpectWindow(v->PreviousWindow(), c.window, c.what);
  }
}

TEST(OpenCanvas, ARightDragPansTheWindowWithTheMouse) {
  struct Case {
    int dx, dy;
    TWindowRect want;
  } cases[] = {
      {100, 0, {-10, 0, 40, 25}},  // 100 px of 500 in a 50-unit window: 10 units
      {-50, 0, {5, 0, 55, 25}},
      {0, 50, {0, 5, 50, 30}},  // dragged down: the drawing moves down
  };
  for (const Case& c : cases) {
    auto v = MakeView(500, 250, {0, 0, 50, 25});
    v->RightPress(200, 100);
    EXPECT_TRUE(v->RightDown());
    EXPECT_TRUE(v->RightRelease(200 + c.dx, 100 + c.dy));
    ExpectWindow(v->Window(), c.want, "pan");
    ExpectWindow(v->PreviousWindow(), {0, 0, 50, 25}, "pan previous");
  }
  // A right click without a drag keeps both windows (Zoom Previous still
  // brings back what it did).
  auto v = MakeView(500, 250, {0, 0, 50, 25});
  v->ZoomIn();
  v->RightPress(10, 10);
  EXPECT_FALSE(v->RightRelease(10, 10));
  ExpectWindow(v->PreviousWindow(), {0, 0, 50, 25}, "click previous");

  // An armed band keeps its first corner on the drawing.
  v->SetWindow({0, 0, 50, 25});
  v->LeftPress(100, 100);
  v->MouseMove(150, 120);
  v->RightPress(150, 120);
  v->RightRelease(170, 110);
  EXPECT_EQ(v->Band(), (TPixelRect{120, 90, 150, 120}));
}

TEST(OpenCanvas, AResizeRefitsThePreviousWindowToTheNewShape) {
  auto v = MakeView(600, 300, {0, 0, 60, 30});
  v->SetContentExtents({0, 0}, {10, 10});
  v->SetViewBounds(0, 0, 300, 300);
  ExpectWindow(v->Window(), {0, 0, 10, 10}, "refit");
  // The 60 × 30 window, centred at (30, 15), in a square view.
  ExpectWindow(v->PreviousWindow(), {0, -15, 60, 45}, "previous");
  v->ZoomPrevious();
  EXPECT_NEAR(v->Window().Width() / v->Window().Height(), 1.0, 1e-12);
  // Sizes below one pixel count as one.
  v->SetViewBounds(0, 0, 0, -5);
  EXPECT_EQ(v->ViewWidth(), 1);
  EXPECT_EQ(v->ViewHeight(), 1);
}

// ---------------------------------------------------------------------------
// Band
// ---------------------------------------------------------------------------

TEST(OpenCanvas, AClickBecomesTheSevenPixelSquare) {
  auto v = MakeView(600, 300, {0, 0, 60, 30});
  v->LeftPress(300, 150);
  EXPECT_TRUE(v->BandArmed());
  v->MouseMove(301, 151);
  v->LeftRelease(301, 151);
  EXPECT_FALSE(v->BandArmed());
  EXPECT_EQ(v->Band(), (TPixelRect{298, 148, 304, 154}));
  // The click is at world (30.1, 14.9): a line 3 px away is partly inside,
  // one 4 px away is not.
  EXPECT_TRUE(v->SegmentInBand(false, {0, 14.9 + 0.3}, {60, 14.9 + 0.3}));
  EXPECT_FALSE(v->SegmentInBand(false, {0, 14.9 + 0.4}, {60, 14.9 + 0.4}));
  EXPECT_FALSE(v->SegmentInBand(true, {0, 14.9}, {60, 14.9}));
  EXPECT_TRUE(v->SegmentInBand(true, {30, 14.9}, {30.2, 15}));
  TBox box;
  ASSERT_TRUE(v->BandBox(box));
  EXPECT_NEAR(box.Min.x, 29.8, 1e-12);
  EXPECT_NEAR(box.Min.y, 14.6, 1e-12);
  EXPECT_NEAR(box.Max.x, 30.4, 1e-12);
  EXPECT_NEAR(box.Max.y, 15.2, 1e-12);
  EXPECT_TRUE(v->PointInBand({30.4, 14.6}));
  EXPECT_FALSE(v->PointInBand({30.5, 14.6}));
}

TEST(OpenCanvas, BandIsClickThresholds) {
  struct Case {
    TPixelRect band;
    bool click;
  } cases[] = {
      {{10, 10, 13, 13}, true}, {{10, 10, 7, 7}, true},   {{10, 10, 14, 10}, false},
      {{10, 10, 10, 14}, false}, {{INT32_MIN, 0, INT32_MAX, 0}, false},
  };
  TOpenCanvas v;
  for (const Case& c : cases) {
    v.SetBand({c.band.x1, c.band.y1}, {c.band.x2, c.band.y2});
    EXPECT_EQ(v.BandIsClick(), c.click) << c.band.x1 << "," << c.band.x2 << "," << c.band.y2;
  }
}

TEST(OpenCanvas, BandTestsStayExactForFarAwayEnds) {
  // 10 px per unit: ends 10^9 units away are 10^10 px away.
  auto v = MakeView(600, 300, {0, 0, 60, 30});
  v->SetBand({290, 140}, {310, 160});
  const double far = 1e9;
  // A diagonal through the band's centre (world (30, 15)) and a parallel
  // one 30 px to the right that misses it; clamping the ends to Int32 would
  // tilt the first one off the band.
  EXPECT_TRUE(v->SegmentInBand(false, {30 - far, 15 - far}, {30 + far, 15 + far}));
  EXPECT_FALSE(v->SegmentInBand(false, {33 - far, 15 - far}, {33 + far, 15 + far}));
  EXPECT_FALSE(v->SegmentInBand(true, {30 - far, 15 - far}, {30 + far, 15 + far}));
  EXPECT_FALSE(v->PointInBand({1e300, -1e300}));
  EXPECT_TRUE(v->SegmentInBand(false, {-1e12, 15}, {1e12, 15}));
}

TEST(OpenCanvas, TheBandIsDrawnWithExclusiveOrAndRemovedOnRelease) {
  auto v = MakeView(60, 40, {0, 0, 60, 40});
  const auto clean = Pixels(v->WindowImage());
  v->LeftPress(10, 10);
  v->MouseMove(20, 20);
  v->MouseMove(30, 25);
  EXPECT_EQ(Count(v->WindowImage(), kWhite), 2 * 20 + 2 * 15);
  EXPECT_EQ(v->WindowImage().Pixel(10, 10), kWhite);
  EXPECT_EQ(v->WindowImage().Pixel(30, 25), kWhite);
  v->Refresh();  // an armed band is one of the overlays: still there once
  EXPECT_EQ(Count(v->WindowImage(), kWhite), 2 * 20 + 2 * 15);
  v->LeftRelease(30, 25);
  EXPECT_EQ(Pixels(v->WindowImage()), clean);
  EXPECT_EQ(v->Band(), (TPixelRect{10, 10, 30, 25}));
}

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

TEST(OpenCanvas, DrawLineClipsConvertsAndKeepsThePens) {
  auto v = MakeView(40, 40, {0, 0, 40, 40});
  v->SetPen(kWhiteRgb);
  v->DrawLine(false, false, {10, 10}, {10.04, 10.04});  // one pixel: nothing
  EXPECT_EQ(Count(v->BufferImage(), kWhite), 0);
  v->DrawLine(false, false, {-1e300, 20.2}, {1e300, 20.2});  // the whole row 20
  EXPECT_EQ(Count(v->BufferImage(), kWhite), 40);
  EXPECT_EQ(v->BufferImage().Pixel(0, 20), kWhite);
  EXPECT_EQ(Count(v->WindowImage(), kWhite), 0);  // not to screen

  // Highlighted: solid in the highlight colour; the buffer pen is unchanged.
  v->SetHighlightColour(kRedRgb);
  v->PenOf(Surface::Buffer).style = PenStyle::Dotted;
  const Pen before = v->PenOf(Surface::Buffer);
  v->DrawLine(true, true, {5.2, 35}, {5.2, 5});
  EXPECT_EQ(Count(v->BufferImage(), kRed), 30);
  EXPECT_EQ(v->PenOf(Surface::Buffer), before);
  EXPECT_EQ(Count(v->WindowImage(), kWhite), 30);  // the window gets the window's pen

  // Zoomed in far: the conversion would overflow without the world clip.
  auto z = MakeView(40, 40, {0, 0, 0.001, 0.001});
  z->SetPen(kWhiteRgb);
  z->DrawLine(false, false, {-1e6, -1e6}, {1e6, 1e6});
  z->DrawLine(false, false, {-1e300, 0.0005}, {1e300, 0.0005});  // row 20
  z->DrawLine(false, false, {-1e6, -1e6}, {-1e6, 1e6});  // outside: rejected
  EXPECT_EQ(z->BufferImage().Pixel(20, 20), kWhite);
  EXPECT_EQ(z->BufferImage().Pixel(19, 20), kWhite);
}

TEST(OpenCanvas, AnExclusiveOrFigureDrawnTwiceRestoresTheBuffer) {
  auto v = MakeView(80, 60, {0, 0, 8, 6});
  v->SetPen({12, 200, 99});
  v->DrawLine(false, false, {0, 0}, {8, 6});
  v->DrawLine(false, false, {0, 3}, {8, 3});
  const auto before = Pixels(v->BufferImage());
  v->PenOf(Surface::Buffer).mode = PenMode::Xor;
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> c(-2, 10);
  std::vector<TPointD> poly;
  for (int i = 0; i < 30; ++i) poly.push_back({c(rng), c(rng)});
  for (int width : {1, 3})
    for (int pass = 0; pass < 2; ++pass) {
      v->PenOf(Surface::Buffer).width = width;
      for (std::size_t i = 0; i + 1 < poly.size(); ++i) v->DrawLine(false, false, poly[i], poly[i + 1]);
    }
  EXPECT_EQ(Pixels(v->BufferImage()), before);
}

TEST(OpenCanvas, APolylineSetsThePixelsOfItsSegments) {
  std::mt19937 rng(17);
  std::uniform_real_distribution<double> c(-3, 11);
  std::vector<TPointD> pts;
  for (int i = 0; i < 300; ++i) pts.push_back({c(rng), c(rng)});
  pts.push_back({std::nan(""), 3});
  pts.push_back({4, 4});
  auto one = MakeView(80, 60, {0, 0, 8, 6});
  auto all = MakeView(80, 60, {0, 0, 8, 6});
  for (TOpenCanvas* v : {one.get(), all.get()}) {
    v->SetPen(kWhiteRgb);
    v->PenOf(Surface::Buffer).mode = PenMode::Xor;  // every pixel drawn counts
  }
  for (std::size_t i = 0; i + 1 < pts.size(); ++i) one->DrawLine(true, false, pts[i], pts[i + 1]);
  all->DrawPolyline(true, false, pts.data(), pts.size());
  EXPECT_EQ(Pixels(all->BufferImage()), Pixels(one->BufferImage()));
  EXPECT_EQ(Pixels(all->WindowImage()), Pixels(one->WindowImage()));
}

TEST(OpenCanvas, AnimatedLinesStartPhasePixelsInAndEraseFirst) {
  auto v = MakeView(40, 40, {0, 0, 40, 40});
  v->BufferImage().DrawSpan(20, 0, 40, kRed, RasterOp::Copy);
  v->SetPen(kWhiteRgb);
  v->DrawAnimatedLine(false, 2, {5, 20}, {15, 20});
  std::string row;
  for (int x = 4; x < 17; ++x) {
    const std::uint32_t p = v->BufferImage().Pixel(x, 20);
    row += p == kWhite ? '#' : p == kBlack ? '.' : 'r';
  }
  EXPECT_EQ(row, "rrr###...##rr");
  const auto before = Pixels(v->BufferImage());
  v->DrawAnimatedLine(false, 5, {5, 20}, {9, 20});  // shorter than the phase
  EXPECT_EQ(Pixels(v->BufferImage()), before);
  EXPECT_EQ(v->PenOf(Surface::Buffer).style, PenStyle::Solid);
}

// ---------------------------------------------------------------------------
// Filling
// ---------------------------------------------------------------------------

void AddPolygon(TOpenCanvas& v, const std::vector<TPointD>& p) {
  for (std::size_t i = 0; i < p.size(); ++i) v.AddFillEdge(p[i], p[(i + 1) % p.size()]);
}

TEST(OpenCanvas, FillsByTheEvenOddRule) {
  auto v = MakeView(40, 40, {0, 0, 40, 40});
  v->SetPen(kWhiteRgb);
  // A square with a square hole: rows 6–35, columns 5–34, less the hole.
  AddPolygon(*v, {{5, 5}, {35, 5}, {35, 35}, {5, 35}});
  AddPolygon(*v, {{15, 15}, {15, 25}, {25, 25}, {25, 15}});
  v->FillSpans(false);
  EXPECT_EQ(Count(v->BufferImage(), kWhite), 30 * 30 - 10 * 10);
  EXPECT_EQ(v->BufferImage().Pixel(10, 20), kWhite);
  EXPECT_EQ(v->BufferImage().Pixel(20, 20), kBlack);
  EXPECT_EQ(Count(v->WindowImage(), kWhite), 0);
  v->FillSpans(true);  // the same points once more, onto the window
  EXPECT_EQ(Count(v->WindowImage(), kWhite), 800);
  v->ClearFillEdges();
  EXPECT_EQ(v->FillPointCount(), 0u);

  // A triangle, and one reaching 10^12 units off to the left.
  v->ClearBuffer();
  AddPolygon(*v, {{5, 5}, {35, 5}, {20, 35}});
  v->FillSpans(false);
  v->ClearFillEdges();
  EXPECT_EQ(v->BufferImage().Pixel(20, 25), kWhite);
  EXPECT_EQ(v->BufferImage().Pixel(20, 6), kWhite);
  EXPECT_EQ(v->BufferImage().Pixel(6, 10), kBlack);
  EXPECT_EQ(v->BufferImage().Pixel(20, 4), kBlack);
  v->ClearBuffer();
  AddPolygon(*v, {{-1e12, 20}, {30, 5}, {30, 35}});
  v->FillSpans(false);
  EXPECT_EQ(v->BufferImage().Pixel(0, 20), kWhite);
  EXPECT_EQ(v->BufferImage().Pixel(29, 20), kWhite);
  EXPECT_EQ(v->BufferImage().Pixel(31, 20), kBlack);
}

TEST(OpenCanvas, FillsLargeOutlinesByTheEvenOddRule) {
  // A ring of 600 + 600 edges, its centre near the left edge so that many
  // crossings lie at negative columns: enough points for the fast sort.
  auto v = MakeView(400, 400, {0, 0, 400, 400});
  v->SetPen(kWhiteRgb);
  const TPointD c{40, 200};
  for (double r : {150.0, 60.0}) {
    std::vector<TPointD> ring;
    for (int k = 0; k < 600; ++k) ring.push_back({c.x + r * std::cos(k * 6.283185307179586 / 600), c.y + r * std::sin(k * 6.283185307179586 / 600)});
    AddPolygon(*v, ring);
  }
  ASSERT_GT(v->FillPointCount(), 512u);
  v->FillSpans(false);
  int wrong = 0;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 400; ++x) {
      const double d = std::hypot(x + 0.5 - c.x, 400 - y - 0.5 - c.y);
      const bool filled = v->BufferImage().Pixel(x, y) == kWhite;
      if ((d < 148 && d > 62 && !filled) || ((d > 152 || d < 58) && filled)) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
}

TEST(OpenCanvas, FillsRowsWiderThanTenThousandPixels) {
  // A key of y · 10000 + x would mix the rows of this 16,000-pixel view.
  auto v = MakeView(16000, 4, {0, 0, 16000, 4});
  v->SetPen(kWhiteRgb);
  AddPolygon(*v, {{-50, 0}, {15000, 0}, {15000, 4}, {-50, 4}});
  v->FillSpans(false);
  EXPECT_EQ(Count(v->BufferImage(), kWhite), 3 * 15000);
  EXPECT_EQ(v->BufferImage().Pixel(12000, 2), kWhite);
  EXPECT_EQ(v->BufferImage().Pixel(15500, 2), kBlack);
}

// ---------------------------------------------------------------------------
// Background picture, rebuild and refresh
// ---------------------------------------------------------------------------

TEST(OpenCanvas, DrawsTheBackgroundPictureStretched) {
  const std::uint32_t src[4] = {0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u};
  auto v = MakeView(40, 40, {0, 0, 4, 4});
  EXPECT_FALSE(v->SetPicture(TRaster(), 1));
  EXPECT_FALSE(v->SetPicture(TRaster::FromPixels(2, 2, src, 8), 0));
  EXPECT_FALSE(v->SetPicture(TRaster::FromPixels(2, 2, src, 8), std::nan("")));
  ASSERT_TRUE(v->SetPicture(TRaster::FromPixels(2, 2, src, 8), 1));  // (0, 0)–(2, 2)
  TBox box;
  ASSERT_TRUE(v->PictureWorldRect(box));
  EXPECT_EQ(box, (TBox{{0, 0}, {2, 2}}));

  v->ClearBuffer();  // not shown yet
  EXPECT_EQ(Count(v->BufferImage(), kBlack), 1600);
  v->SetPictureShown(true);
  v->ClearBuffer();
  EXPECT_EQ(v->BufferImage().Pixel(5, 25), src[0]);  // the picture's top row is drawn higher
  EXPECT_EQ(v->BufferImage().Pixel(15, 25), src[1]);
  EXPECT_EQ(v->BufferImage().Pixel(5, 35), src[2]);
  EXPECT_EQ(v->BufferImage().Pixel(15, 35), src[3]);
  EXPECT_EQ(Count(v->BufferImage(), kBlack), 1600 - 400);

  // Zoomed out until the picture is narrower than a pixel: nothing, no
  // division by a zero width.
  v->SetWindow({0, 0, 1e6, 1e6});
  v->ClearBuffer();
  EXPECT_EQ(Count(v->BufferImage(), kBlack), 1600);
  v->DropPicture();
  EXPECT_FALSE(v->HasPicture());
  EXPECT_FALSE(v->PictureShown());
}

struct Recorder : TViewContent {
  std::vector<std::string>* log;
  explicit Recorder(std::vector<std::string>* l) : log(l) {}
  void DrawInto(TCanvas& c) override {
    log->push_back("content");
    c.SetPen({255, 255, 255});
    c.DrawLine(false, false, {0, 5}, {10, 5});
  }
};

TEST(OpenCanvas, RebuildsAndPaintsInTheFixedOrder) {
  auto v = MakeView(20, 20, {0, 0, 20, 20});
  std::vector<std::string> log;
  Recorder content(&log);
  v->SetContent(&content);
  v->SetBufferPass(BufferPass::Candidates, [&](TCanvas&) { log.push_back("candidates"); });
  v->SetBufferPass(BufferPass::Arrows, [&](TCanvas&) { log.push_back("arrows"); });
  v->SetOverlay(Overlay::Grid, [&](TOpenCanvas&) { log.push_back("grid"); });
  v->SetOverlay(Overlay::TextCursor, [&](TOpenCanvas& c) {
    log.push_back("cursor");
    c.Refresh();  // ignored while refreshing
  });
  v->SetOverlay(Overlay::MeasureCube, [&](TOpenCanvas& c) {
    // After the band: sees it on the window.
    log.push_back(c.WindowImage().Pixel(2, 2) == kWhite ? "cube sees band" : "cube");
  });
  int repaints = 0;
  v->SetInvalidateHandler([&] { ++repaints; });
  v->LeftPress(2, 2);
  v->MouseMove(8, 8);
  log.clear();
  repaints = 0;
  v->Redisplay();
  EXPECT_EQ(log, (std::vector<std::string>{"content", "arrows", "candidates", "cursor", "grid", "cube sees band"}));
  EXPECT_GE(repaints, 1);
  EXPECT_EQ(v->BufferImage().Pixel(3, 15), kWhite);  // the content's line, row 20 − 5
  EXPECT_EQ(v->WindowImage().Pixel(3, 15), kWhite);
  EXPECT_EQ(v->BufferImage().Pixel(2, 2), kBlack);  // the band is on the window only
  v->SetContent(nullptr);
}

}  // namespace
}  // namespace qm::view
