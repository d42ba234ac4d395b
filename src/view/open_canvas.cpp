#include "view/open_canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qm::view {

namespace {

constexpr double kMaxZoomOutWidth = 327670;
constexpr double kMinWindowWidth = 0.001;
constexpr double kMinContentRange = 0.001;
constexpr platform::Rgb kWhite{255, 255, 255};

RasterPen ToRasterPen(const Pen& pen) {
  return RasterPen{PackRgb(pen.color), pen.width, pen.style == PenStyle::Dotted,
                   pen.mode == PenMode::Xor ? RasterOp::Xor : RasterOp::Copy};
}

// Fill points are packed so that sorting the integers sorts by row, then
// column, over the whole Int32 range.
std::uint64_t FillKey(std::int32_t x, std::int32_t y) {
  return (std::uint64_t{static_cast<std::uint32_t>(y) ^ 0x80000000u} << 32) |
         std::uint64_t{static_cast<std::uint32_t>(x) ^ 0x80000000u};
}
std::int32_t FillRow(std::uint64_t key) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(key >> 32) ^ 0x80000000u);
}
std::int32_t FillColumn(std::uint64_t key) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(key) ^ 0x80000000u);
}

// Sorts fill keys: an LSD radix sort on 16-bit digits that skips the digits
// all keys share (the high halves of row and column, usually), so a fill
// of millions of points takes two or three linear passes.
void SortFillKeys(std::vector<std::uint64_t>& keys, std::vector<std::uint64_t>& scratch) {
  const std::size_t n = keys.size();
  if (n < 512) {
    std::sort(keys.begin(), keys.end());
    return;
  }
  constexpr int kDigits = 4;
  std::vector<std::uint32_t> counts(kDigits * 65536, 0);
  for (std::uint64_t k : keys)
    for (int d = 0; d < kDigits; ++d) ++counts[static_cast<std::size_t>(d) * 65536 + ((k >> (16 * d)) & 0xFFFF)];
  scratch.resize(n);
  std::uint64_t* from = keys.data();
  std::uint64_t* to = scratch.data();
  for (int d = 0; d < kDigits; ++d) {
    std::uint32_t* c = counts.data() + static_cast<std::size_t>(d) * 65536;
    if (c[(from[0] >> (16 * d)) & 0xFFFF] == n) continue;  // every key has this digit
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < 65536; ++i) {
      const std::uint32_t v = c[i];
      c[i] = sum;
      sum += v;
    }
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint64_t k = from[i];
      to[c[(k >> (16 * d)) & 0xFFFF]++] = k;
    }
    std::swap(from, to);
  }
  if (from != keys.data()) std::copy(from, from + n, keys.data());
}

// Liang–Barsky against the window. An end moved onto an edge takes that
// edge's coordinate exactly, so a long axis-parallel segment keeps its
// position however far its ends lie.
bool ClipToWindow(const TWindowRect& w, TPointD& a, TPointD& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - w.x1, w.x2 - a.x, a.y - w.y1, w.y2 - a.y};
  double u0 = 0, u1 = 1;
  int e0 = -1, e1 = -1;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double u = q[i] / p[i];
    if (p[i] < 0 && u > u0) {
      u0 = u;
      e0 = i;
    } else if (p[i] > 0 && u < u1) {
      u1 = u;
      e1 = i;
    }
    if (u0 > u1) return false;
  }
  const double edge[4] = {w.x1, w.x2, w.y1, w.y2};
  auto at = [&](double u, int e) {
    TPointD r{std::clamp(a.x + u * dx, w.x1, w.x2), std::clamp(a.y + u * dy, w.y1, w.y2)};
    (e < 2 ? r.x : r.y) = edge[e];
    return r;
  };
  const TPointD na = e0 >= 0 ? at(u0, e0) : a;
  const TPointD nb = e1 >= 0 ? at(u1, e1) : b;
  // Into the window whatever happened above (NaN becomes the lower edge).
  auto inside = [](double v, double lo, double hi) { return std::min(hi, std::max(lo, v)); };
  a = {inside(na.x, w.x1, w.x2), inside(na.y, w.y1, w.y2)};
  b = {inside(nb.x, w.x1, w.x2), inside(nb.y, w.y1, w.y2)};
  return true;
}

// A pixel value known to lie in [0, limit] up to rounding: rounded (halves
// to even) without the range checks of the general conversion; anything
// else (a degenerate window's NaN) becomes 0.
inline std::int32_t PixelOf(double v, int limit) {
  if (!(v >= -1 && v <= limit + 1.0)) return 0;
  constexpr double kMagic = 6755399441055744.0;  // 1.5 · 2^52
  return static_cast<std::int32_t>((v + kMagic) - kMagic);
}

// Keeps a far-away picture's pixel rectangle within what the stretch can
// compute with; no real picture comes near it.
std::int64_t ClampPixel(double v) {
  constexpr double kLimit = 1152921504606846976.0;  // 2^60
  if (!(v > -kLimit)) return -static_cast<std::int64_t>(kLimit);
  if (!(v < kLimit)) return static_cast<std::int64_t>(kLimit);
  return static_cast<std::int64_t>(v);
}

}  // namespace

TOpenCanvas::TOpenCanvas() {
  buffer_.Resize(width_, height_, PackRgb(background_));
  screen_.Resize(width_, height_, PackRgb(background_));
  window_ = FitRect(contentExtents_, 1.0);
  previous_ = window_;
  WindowChanged();
}

TOpenCanvas::~TOpenCanvas() = default;

// ---------------------------------------------------------------------------
// Size and transform
// ---------------------------------------------------------------------------

void TOpenCanvas::SetViewBounds(int left, int top, int height, int width) {
  left_ = left;
  top_ = top;
  width_ = std::max(width, 1);
  height_ = std::max(height, 1);
  buffer_.Resize(width_, height_, PackRgb(background_));
  screen_.Resize(width_, height_, PackRgb(background_));
  const TWindowRect shown = window_;
  FitToExtents(1.0);
  // FitToExtents made the old window the previous one; in the new shape it
  // would come back distorted, so fit it to the new shape about its centre.
  previous_ = FitRect(TBox{{shown.x1, shown.y1}, {shown.x2, shown.y2}}, 1.0);
  Redisplay();
  NotifyWindowChanged();
}

bool TOpenCanvas::SetWindow(const TWindowRect& w) {
  const TWindowRect r{std::min(w.x1, w.x2), std::min(w.y1, w.y2), std::max(w.x1, w.x2), std::max(w.y1, w.y2)};
  if (!(r.Width() > 0 && r.Height() > 0) || !std::isfinite(r.Width()) || !std::isfinite(r.Height())) return false;
  window_ = r;
  WindowChanged();
  return true;
}

void TOpenCanvas::WindowChanged() {
  scaleX_ = width_ / window_.Width();
  scaleY_ = height_ / window_.Height();
  pixelSize_ = static_cast<float>(std::min(window_.Height() / height_, window_.Width() / width_));
}

TPointD TOpenCanvas::PixelToWorld(double px, double py) const {
  return {window_.x1 + window_.Width() * px / width_, window_.y1 + window_.Height() * (height_ - py) / height_};
}

TPixelPoint TOpenCanvas::WorldToPixel(double x, double y) const {
  return {SaturateInt32(RoundHalfEven((x - window_.x1) * scaleX_)),
          SaturateInt32(height_ - RoundHalfEven((y - window_.y1) * scaleY_))};
}

// ---------------------------------------------------------------------------
// Zooms
// ---------------------------------------------------------------------------

void TOpenCanvas::SetContentExtents(const TPointD& a, const TPointD& b) {
  contentExtents_ = {{std::min(a.x, b.x), std::min(a.y, b.y)}, {std::max(a.x, b.x), std::max(a.y, b.y)}};
}

TWindowRect TOpenCanvas::FitRect(const TBox& e, double factor) const {
  const double ex = std::max(std::fabs(e.Max.x - e.Min.x), kMinContentRange);
  const double ey = std::max(std::fabs(e.Max.y - e.Min.y), kMinContentRange);
  const double cx = (e.Min.x + e.Max.x) / 2, cy = (e.Min.y + e.Max.y) / 2;
  const double w = width_, h = height_;
  // The content relatively taller than the view fits by its height.
  const double s = ey / ex >= h / w ? factor * ey / h : factor * ex / w;
  return {cx - w / 2 * s, cy - h / 2 * s, cx + w / 2 * s, cy + h / 2 * s};
}

void TOpenCanvas::FitToExtents(double factor) {
  const TWindowRect w = FitRect(contentExtents_, factor > 0 ? factor : 1.0);
  if (!(w.Width() > 0 && w.Height() > 0) || !std::isfinite(w.Width()) || !std::isfinite(w.Height())) return;
  previous_ = window_;
  window_ = w;
  WindowChanged();
}

bool TOpenCanvas::ZoomOut() {
  if (window_.Width() > kMaxZoomOutWidth) return false;
  previous_ = window_;
  const double hw = window_.Width() / 2, hh = window_.Height() / 2;
  window_ = {window_.x1 - hw, window_.y1 - hh, window_.x2 + hw, window_.y2 + hh};
  WindowChanged();
  return true;
}

bool TOpenCanvas::ZoomIn() {
  if (window_.Width() < kMinWindowWidth) return false;
  previous_ = window_;
  const double qw = window_.Width() / 4, qh = window_.Height() / 4;
  window_ = {window_.x1 + qw, window_.y1 + qh, window_.x2 - qw, window_.y2 - qh};
  WindowChanged();
  return true;
}

void TOpenCanvas::ZoomPrevious() {
  std::swap(window_, previous_);
  WindowChanged();
}

bool TOpenCanvas::ZoomToBand() {
  // The band is sorted; a click or a band without area leaves Zoom Window on.
  const double bw = static_cast<double>(band_.x2) - band_.x1, bh = static_cast<double>(band_.y2) - band_.y1;
  if (bw <= 0 || bh <= 0) return false;
  zoomPending_ = 0;
  const double ww = window_.Width(), wh = window_.Height();
  if (ww < kMinWindowWidth) return false;
  double f = std::min(height_ / bh, width_ / bw);
  if (ww / f < kMinWindowWidth) f = ww / kMinWindowWidth;
  const TPointD c = PixelToWorld((static_cast<double>(band_.x1) + band_.x2) / 2,
                                 (static_cast<double>(band_.y1) + band_.y2) / 2);
  previous_ = window_;
  const double hw = ww / (2 * f), hh = wh / (2 * f);
  window_ = {c.x - hw, c.y - hh, c.x + hw, c.y + hh};
  WindowChanged();
  return true;
}

// ---------------------------------------------------------------------------
// Rubber band and mouse
// ---------------------------------------------------------------------------

bool TOpenCanvas::BandIsClick() const {
  return std::llabs(std::int64_t{band_.x1} - band_.x2) <= 3 && std::llabs(std::int64_t{band_.y1} - band_.y2) < 4;
}

void TOpenCanvas::DrawBand() {
  const RasterPen pen{PackRgb(kWhite), 1, false, RasterOp::Xor};
  const TPixelRect& b = band_;
  screen_.DrawLine(b.x1, b.y1, b.x2, b.y1, pen);
  screen_.DrawLine(b.x2, b.y1, b.x2, b.y2, pen);
  screen_.DrawLine(b.x2, b.y2, b.x1, b.y2, pen);
  screen_.DrawLine(b.x1, b.y2, b.x1, b.y1, pen);
  Notify();
}

void TOpenCanvas::SetBandArmed(bool armed) {
  if (armed == bandArmed_) return;
  bandArmed_ = armed;
  DrawBand();
}

void TOpenCanvas::SortBandCorners() {
  if (band_.x1 > band_.x2) std::swap(band_.x1, band_.x2);
  if (band_.y1 > band_.y2) std::swap(band_.y1, band_.y2);
}

void TOpenCanvas::LeftPress(int x, int y) {
  if (!bandArmed_) {
    band_ = {x, y, x, y};
    bandArmed_ = true;  // a band of one point draws nothing yet
  }
  if (cubeHandle_ != 0) SetBandArmed(false);
}

void TOpenCanvas::MouseMove(int x, int y) {
  lastMouse_ = {x, y};
  if (!bandArmed_) return;
  DrawBand();
  band_.x2 = x;
  band_.y2 = y;
  DrawBand();
}

bool TOpenCanvas::LeftRelease(int x, int y) {
  bool click = BandIsClick();
  if (bandArmed_) {
    DrawBand();  // off the window: only an armed band is shown
    bandArmed_ = false;
    band_.x2 = x;
    band_.y2 = y;
    click = BandIsClick();
    if (click) band_ = {x - 3, y - 3, x + 3, y + 3};
    SortBandCorners();
  }
  if (zoomPending_ <= 0 || click) return false;
  if (!ZoomToBand()) return false;
  Redisplay();
  NotifyWindowChanged();
  return true;
}

void TOpenCanvas::RightPress(int x, int y) {
  rightDown_ = true;
  rightPress_ = {x, y};
}

bool TOpenCanvas::RightRelease(int x, int y) {
  if (!rightDown_) return false;
  rightDown_ = false;
  const std::int64_t dx = std::int64_t{x} - rightPress_.x, dy = std::int64_t{y} - rightPress_.y;
  if (dx == 0 && dy == 0) return false;
  previous_ = window_;
  // The drawing follows the mouse; the shift is a single-precision value.
  const float sx = static_cast<float>(static_cast<double>(dx) / width_ * window_.Width());
  const float sy = static_cast<float>(static_cast<double>(-dy) / height_ * window_.Height());
  window_.x1 -= sx;
  window_.x2 -= sx;
  window_.y1 -= sy;
  window_.y2 -= sy;
  WindowChanged();
  if (bandArmed_) {
    DrawBand();
    band_.x1 = SaturateInt32(static_cast<double>(band_.x1) + static_cast<double>(dx));
    band_.y1 = SaturateInt32(static_cast<double>(band_.y1) + static_cast<double>(dy));
    DrawBand();
  }
  Redisplay();
  NotifyWindowChanged();
  return true;
}

// ---------------------------------------------------------------------------
// Background picture
// ---------------------------------------------------------------------------

bool TOpenCanvas::SetPicture(TRaster image, double pixelsPerUnit) {
  if (image.Empty() || !(pixelsPerUnit > 0) || !std::isfinite(pixelsPerUnit)) return false;
  picture_ = std::move(image);
  picturePixelsPerUnit_ = pixelsPerUnit;
  return true;
}

void TOpenCanvas::DropPicture() {
  picture_ = TRaster();
  pictureShown_ = false;
}

bool TOpenCanvas::PictureWorldRect(TBox& box) const {
  if (!HasPicture()) return false;
  box = {{0, 0}, {picture_.Width() / picturePixelsPerUnit_, picture_.Height() / picturePixelsPerUnit_}};
  return true;
}

void TOpenCanvas::DrawPicture() {
  TBox r;
  if (!PictureWorldRect(r)) return;
  const double left = RoundHalfEven(WorldToPixelX(r.Min.x)), right = RoundHalfEven(WorldToPixelX(r.Max.x));
  const double bottom = height_ - RoundHalfEven((r.Min.y - window_.y1) * scaleY_);
  const double top = height_ - RoundHalfEven((r.Max.y - window_.y1) * scaleY_);
  // Less than a pixel wide or high on screen: nothing to show (and no scale
  // to divide by).
  if (!(right > left) || !(bottom > top)) return;
  if (right <= 0 || left >= width_ || bottom <= 0 || top >= height_) return;
  buffer_.StretchFrom(picture_, ClampPixel(left), ClampPixel(top), ClampPixel(right), ClampPixel(bottom));
}

// ---------------------------------------------------------------------------
// Buffer, window and refresh
// ---------------------------------------------------------------------------

void TOpenCanvas::ClearBuffer() {
  buffer_.Fill(PackRgb(background_));
  if (pictureShown_) DrawPicture();
}

void TOpenCanvas::RebuildView() {
  ClearBuffer();
  ClearFillEdges();
  if (content_) content_->DrawInto(*this);
  for (const BufferHook& hook : bufferPasses_)
    if (hook) hook(*this);
}

void TOpenCanvas::Refresh() {
  if (refreshing_) return;  // an overlay asking for a refresh gets this one
  refreshing_ = true;
  screen_.CopyFrom(buffer_);
  for (std::size_t i = 0; i < overlays_.size(); ++i) {
    if (static_cast<Overlay>(i) == Overlay::Band) {
      if (bandArmed_) DrawBand();
    } else if (overlays_[i]) {
      overlays_[i](*this);
    }
  }
  refreshing_ = false;
  Notify();
}

void TOpenCanvas::Redisplay() {
  RebuildView();
  Refresh();
}

void TOpenCanvas::Invalidate() { Notify(); }

void TOpenCanvas::SetBufferPass(BufferPass pass, BufferHook hook) {
  if (pass == BufferPass::Count) return;
  bufferPasses_[static_cast<std::size_t>(pass)] = std::move(hook);
}

void TOpenCanvas::SetOverlay(Overlay overlay, OverlayHook hook) {
  if (overlay == Overlay::Band || overlay == Overlay::Count) return;
  overlays_[static_cast<std::size_t>(overlay)] = std::move(hook);
}

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

void TOpenCanvas::SetPen(platform::Rgb color) {
  for (Pen* p : {&bufferPen_, &screenPen_}) {
    p->color = color;
    p->style = PenStyle::Solid;
    p->mode = PenMode::Copy;
  }
}

void TOpenCanvas::SetPenWidth(int width) {
  for (Pen* p : {&bufferPen_, &screenPen_}) {
    p->width = width;
    p->style = PenStyle::Solid;
    p->mode = PenMode::Copy;
  }
}

bool TOpenCanvas::ClipAndConvert(const TPointD& p1, const TPointD& p2, TPixelRect& out) const {
  const TWindowRect& w = window_;
  // Outcodes, computed without branches: both ends beyond the same edge is
  // the common case when zoomed in, both inside the common case otherwise.
  // A NaN coordinate counts as outside every edge.
  const unsigned c1 = unsigned{!(p1.x >= w.x1)} | unsigned{!(p1.x <= w.x2)} << 1 |
                      unsigned{!(p1.y >= w.y1)} << 2 | unsigned{!(p1.y <= w.y2)} << 3;
  const unsigned c2 = unsigned{!(p2.x >= w.x1)} | unsigned{!(p2.x <= w.x2)} << 1 |
                      unsigned{!(p2.y >= w.y1)} << 2 | unsigned{!(p2.y <= w.y2)} << 3;
  if (c1 & c2) return false;
  TPointD a = p1, b = p2;
  if ((c1 | c2) != 0 && !ClipToWindow(w, a, b)) return false;
  // Both ends lie in the window now, so the pixel values are small.
  out.x1 = PixelOf((a.x - w.x1) * scaleX_, width_);
  out.y1 = height_ - PixelOf((a.y - w.y1) * scaleY_, height_);
  out.x2 = PixelOf((b.x - w.x1) * scaleX_, width_);
  out.y2 = height_ - PixelOf((b.y - w.y1) * scaleY_, height_);
  return out.x1 != out.x2 || out.y1 != out.y2;
}

void TOpenCanvas::DrawOn(Surface s, const TPixelRect& l, const Pen& pen) {
  (s == Surface::Buffer ? buffer_ : screen_).DrawLine(l.x1, l.y1, l.x2, l.y2, ToRasterPen(pen));
}

void TOpenCanvas::DrawPixelLine(Surface s, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  DrawOn(s, TPixelRect{x1, y1, x2, y2}, PenOf(s));
  if (s == Surface::Screen) Notify();
}

void TOpenCanvas::DrawLine(bool toScreen, bool highlighted, const TPointD& p1, const TPointD& p2) {
  TPixelRect l;
  if (!ClipAndConvert(p1, p2, l)) return;
  if (highlighted) {
    Pen h = bufferPen_;
    h.color = highlight_;
    h.style = PenStyle::Solid;
    DrawOn(Surface::Buffer, l, h);
  } else {
    DrawOn(Surface::Buffer, l, bufferPen_);
  }
  if (toScreen) {
    DrawOn(Surface::Screen, l, screenPen_);
    Notify();
  }
}

void TOpenCanvas::DrawPolyline(bool toScreen, bool highlighted, const TPointD* points, std::size_t n) {
  if (n < 2) return;
  Pen bp = bufferPen_;
  if (highlighted) {
    bp.color = highlight_;
    bp.style = PenStyle::Solid;
  }
  const RasterPen rb = ToRasterPen(bp), rs = ToRasterPen(screenPen_);
  const TWindowRect& w = window_;
  auto inside = [&w](const TPointD& p) { return p.x >= w.x1 && p.x <= w.x2 && p.y >= w.y1 && p.y <= w.y2; };
  auto convert = [&](const TPointD& p) {
    return TPixelPoint{PixelOf((p.x - w.x1) * scaleX_, width_), height_ - PixelOf((p.y - w.y1) * scaleY_, height_)};
  };
  bool prevInside = inside(points[0]);
  TPixelPoint prev = prevInside ? convert(points[0]) : TPixelPoint{};
  for (std::size_t i = 1; i < n; ++i) {
    const bool in = inside(points[i]);
    const TPixelPoint cur = in ? convert(points[i]) : TPixelPoint{};
    TPixelRect l{prev.x, prev.y, cur.x, cur.y};
    // Exactly what DrawLine does with the pair; only the conversion of the
    // shared point is not repeated.
    const bool draw = prevInside && in ? prev != cur : ClipAndConvert(points[i - 1], points[i], l);
    if (draw) {
      buffer_.DrawLine(l.x1, l.y1, l.x2, l.y2, rb);
      if (toScreen) screen_.DrawLine(l.x1, l.y1, l.x2, l.y2, rs);
    }
    prevInside = in;
    prev = cur;
  }
  if (toScreen) Notify();
}

void TOpenCanvas::DrawLineOnScreen(const TPointD& p1, const TPointD& p2) {
  TPixelRect l;
  if (!ClipAndConvert(p1, p2, l)) return;
  Pen h = screenPen_;
  h.color = highlight_;
  h.style = PenStyle::Solid;
  DrawOn(Surface::Screen, l, h);
  Notify();
}

void TOpenCanvas::DrawAnimatedLine(bool toScreen, int phase, const TPointD& p1, const TPointD& p2) {
  TPixelRect l;
  if (!ClipAndConvert(p1, p2, l)) return;
  const double dx = static_cast<double>(l.x2) - l.x1, dy = static_cast<double>(l.y2) - l.y1;
  const double len = std::hypot(dx, dy);
  if (len < phase) return;
  if (phase > 0) {
    l.x1 = SaturateInt32(l.x1 + RoundHalfEven(dx * phase / len));
    l.y1 = SaturateInt32(l.y1 + RoundHalfEven(dy * phase / len));
  }
  // Erase in the background colour, then the dashes in the pen's colour.
  auto strokes = [&](Surface s) {
    Pen p = PenOf(s);
    p.style = PenStyle::Solid;
    p.color = background_;
    DrawOn(s, l, p);
    p.style = PenStyle::Dotted;
    p.color = PenOf(s).color;
    DrawOn(s, l, p);
  };
  strokes(Surface::Buffer);
  if (toScreen) {
    strokes(Surface::Screen);
    Notify();
  }
}

void TOpenCanvas::AddFillEdge(const TPointD& p1, const TPointD& p2) {
  const TWindowRect& w = window_;
  // Clipped to the window's rows only: edges to the left or right still
  // count for the even-odd pairing of every row they cross.
  if ((p1.y < w.y1 && p2.y < w.y1) || (p1.y > w.y2 && p2.y > w.y2) || p1.y == p2.y) return;
  TPointD a = p1, b = p2;
  auto cut = [](TPointD& p, const TPointD& from, const TPointD& to, double y) {
    const double t = (y - from.y) / (to.y - from.y);
    p = {from.x + t * (to.x - from.x), y};
  };
  if (a.y < w.y1) cut(a, p1, p2, w.y1);
  if (a.y > w.y2) cut(a, p1, p2, w.y2);
  if (b.y < w.y1) cut(b, p1, p2, w.y1);
  if (b.y > w.y2) cut(b, p1, p2, w.y2);
  // Columns stay in double until each row's x is known.
  const double x1 = RoundHalfEven((a.x - w.x1) * scaleX_), x2 = RoundHalfEven((b.x - w.x1) * scaleX_);
  const std::int32_t y1 = SaturateInt32(height_ - RoundHalfEven((a.y - w.y1) * scaleY_));
  const std::int32_t y2 = SaturateInt32(height_ - RoundHalfEven((b.y - w.y1) * scaleY_));
  if (y1 == y2) return;
  const double slope = (x2 - x1) / (static_cast<double>(y2) - y1);
  const std::int32_t lo = std::min(y1, y2), hi = std::max(y1, y2);
  for (std::int64_t y = std::int64_t{lo} + 1; y <= hi; ++y) {
    if (fill_.size() >= kMaxFillPoints) return;
    const double x = x1 + RoundHalfEven(slope * static_cast<double>(y - y1));
    fill_.push_back(FillKey(SaturateInt32(x), static_cast<std::int32_t>(y)));
  }
  fillSorted_ = false;
}

void TOpenCanvas::FillSpans(bool toScreen) {
  if (!fillSorted_) {
    SortFillKeys(fill_, fillScratch_);
    fillSorted_ = true;
  }
  const Surface s = toScreen ? Surface::Screen : Surface::Buffer;
  TRaster& target = toScreen ? screen_ : buffer_;
  const Pen& pen = PenOf(s);
  const std::uint32_t color = PackRgb(pen.color);
  const RasterOp op = pen.mode == PenMode::Xor ? RasterOp::Xor : RasterOp::Copy;
  const std::size_t n = fill_.size();
  std::size_t i = 0;
  while (i + 1 < n) {
    const std::int32_t y = FillRow(fill_[i]);
    if (y == FillRow(fill_[i + 1])) {
      target.DrawSpan(y, FillColumn(fill_[i]), FillColumn(fill_[i + 1]), color, op);
      i += 2;
    } else {
      i += 1;
    }
  }
  if (toScreen) Notify();
}

void TOpenCanvas::ClearFillEdges() {
  fill_.clear();
  fillSorted_ = true;
}

// ---------------------------------------------------------------------------
// Band tests
// ---------------------------------------------------------------------------

bool TOpenCanvas::PointInBand(const TPointD& p) const {
  return PixelInBand(RoundHalfEven(WorldToPixelX(p.x)), height_ - RoundHalfEven((p.y - window_.y1) * scaleY_));
}

bool TOpenCanvas::BandBox(TBox& box) const {
  const double bx1 = std::min(band_.x1, band_.x2), bx2 = std::max(band_.x1, band_.x2);
  const double by1 = std::min(band_.y1, band_.y2), by2 = std::max(band_.y1, band_.y2);
  box = {PixelToWorld(bx1, by2), PixelToWorld(bx2, by1)};
  return true;
}

bool TOpenCanvas::PixelInBand(double px, double py) const {
  const double bx1 = std::min(band_.x1, band_.x2), bx2 = std::max(band_.x1, band_.x2);
  const double by1 = std::min(band_.y1, band_.y2), by2 = std::max(band_.y1, band_.y2);
  return px >= bx1 && px <= bx2 && py >= by1 && py <= by2;
}

bool TOpenCanvas::SegmentInBand(bool entirely, const TPointD& p1, const TPointD& p2) const {
  // The ends become whole pixels but stay doubles: far-away ends neither
  // overflow nor get clamped (which would bend the segment).
  const double x1 = RoundHalfEven(WorldToPixelX(p1.x)), y1 = height_ - RoundHalfEven((p1.y - window_.y1) * scaleY_);
  const double x2 = RoundHalfEven(WorldToPixelX(p2.x)), y2 = height_ - RoundHalfEven((p2.y - window_.y1) * scaleY_);
  if (x1 == x2 && y1 == y2) return PixelInBand(x1, y1);
  if (entirely) return PixelInBand(x1, y1) && PixelInBand(x2, y2);
  const double bx1 = std::min(band_.x1, band_.x2), bx2 = std::max(band_.x1, band_.x2);
  const double by1 = std::min(band_.y1, band_.y2), by2 = std::max(band_.y1, band_.y2);
  const ClipResult c = ClipSegment(TBox{{bx1, by1}, {bx2, by2}}, TSegment{{x1, y1}, {x2, y2}});
  return c.visible && Distance(c.segment.P1, c.segment.P2) > 0.001;
}

}  // namespace qm::view
