#pragma once
// The view: maps a rectangle of world coordinates onto its pixels, keeps the
// off-screen buffer the drawing is painted into and the window raster the
// widget shows, and offers the drawing primitives entities use (clipped
// lines, animated lines, scan-line filling), the rubber band, panning with
// the right button and the zooms.
//
// Two rasters of the view's size: the buffer holds the drawing; the window
// is what the widget paints, and its paint event only copies it. Refresh
// rebuilds the window from the buffer and then runs the overlay hooks in
// their fixed order; interactive feedback (the band, hover highlights,
// animated outlines) is drawn straight into the window, with exclusive-or
// where it must be removable by drawing it again.
//
// World y grows upwards, pixel y downwards.
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "geom/geometry.h"
#include "model/canvas.h"
#include "platform/palette.h"
#include "view/raster.h"

namespace qm::view {

// A world rectangle: x1 at the left edge, y1 at the bottom edge.
struct TWindowRect {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double Width() const { return x2 - x1; }
  double Height() const { return y2 - y1; }
  friend bool operator==(const TWindowRect&, const TWindowRect&) = default;
};

struct TPixelPoint {
  std::int32_t x = 0, y = 0;
  friend bool operator==(const TPixelPoint&, const TPixelPoint&) = default;
};

struct TPixelRect {
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  friend bool operator==(const TPixelRect&, const TPixelRect&) = default;
};

// Rounds halves to even, like the pixel conversions; values too large to
// have a fraction come back unchanged.
inline double RoundHalfEven(double v) {
  constexpr double kLimit = 2251799813685248.0;  // 2^51
  constexpr double kMagic = 6755399441055744.0;  // 1.5 · 2^52
  return (v < kLimit && v > -kLimit) ? (v + kMagic) - kMagic : v;
}

// Clamps to the Int32 range; NaN gives 0.
inline std::int32_t SaturateInt32(double v) {
  if (v >= -2147483648.0 && v <= 2147483647.0) return static_cast<std::int32_t>(v);
  if (v > 0) return INT32_MAX;
  if (v < 0) return INT32_MIN;
  return 0;
}

// What the view paints into its buffer: the drawing (layers in order, the
// direction arrows, the text), with the drawing's own fill mode. The layout
// (or an adapter over it) implements it; the view refers to it without
// owning it.
class TViewContent {
 public:
  virtual ~TViewContent() = default;
  virtual void DrawInto(TCanvas& canvas) = 0;
};

class TOpenCanvas;

// Passes that follow the drawing into the buffer on every rebuild.
enum class BufferPass : int {
  Arrows,      // the direction arrows (mode 3)
  Candidates,  // the construction candidates
  Count
};

// What is drawn over the buffer into the window on every refresh, in this
// order. `Band` is the view's own (the rubber band when armed); the others
// are hooks the main window fills. Hooks that draw nothing (the caption,
// the status panel, the command states) still run at their place.
enum class Overlay : int {
  TextCursor,
  CaptionAndLayout,
  Candidates,
  StatusPanel,
  MarkingFrame,
  PointMarkers,
  OpenEndMarkers,
  Grid,
  OptionMarkers,
  Band,
  MeasureCube,
  StretchTool,
  Sketch,
  CommandStates,
  Count
};

class TOpenCanvas : public TCanvas {
 public:
  using BufferHook = std::function<void(TCanvas&)>;
  using OverlayHook = std::function<void(TOpenCanvas&)>;

  // A 40 × 40-pixel view showing the content extents (−10, −10)–(10, 10).
  TOpenCanvas();
  ~TOpenCanvas() override;
  TOpenCanvas(const TOpenCanvas&) = delete;
  TOpenCanvas& operator=(const TOpenCanvas&) = delete;

  // ---- Size and placement ------------------------------------------------
  // Places the view (width and height at least 1), resizes both rasters
  // (their contents become the background) and fits the content extents
  // with factor 1. The window shown before becomes the previous window,
  // refitted to the new shape so that Zoom Previous brings back what was
  // shown, undistorted.
  void SetViewBounds(int left, int top, int height, int width);
  int Left() const { return left_; }
  int Top() const { return top_; }
  int ViewWidth() const { return width_; }
  int ViewHeight() const { return height_; }

  // ---- The transform -----------------------------------------------------
  const TWindowRect& Window() const { return window_; }
  const TWindowRect& PreviousWindow() const { return previous_; }
  // Sets the window directly (for restoring a stored view); the previous
  // window is left alone. The corners may come in any order; a window
  // without area (or not finite) is refused.
  bool SetWindow(const TWindowRect& w);

  TPointD PixelToWorld(double px, double py) const;
  // Rounded to whole pixels (halves to even) and clamped to the Int32 range.
  TPixelPoint WorldToPixel(double x, double y) const;
  TPixelPoint WorldToPixel(const TPointD& p) const { return WorldToPixel(p.x, p.y); }
  TPixelPoint WorldToPixelSingle(float x, float y) const {
    return WorldToPixel(static_cast<double>(x), static_cast<double>(y));
  }
  // The same in unrounded double pixel coordinates.
  double WorldToPixelX(double x) const { return (x - window_.x1) * scaleX_; }
  double WorldToPixelY(double y) const { return height_ - (y - window_.y1) * scaleY_; }

  // ---- Zooms ---------------------------------------------------------------
  // ContentExtents := the min and max of the corners' coordinates.
  void SetContentExtents(const TPointD& a, const TPointD& b);
  const TBox& ContentExtents() const { return contentExtents_; }
  // Fits the content extents with a margin factor (1.2 for Zoom All).
  void FitToExtents(double factor);
  // The window doubles about its centre; false (nothing changes) when it is
  // wider than 327670 units already.
  bool ZoomOut();
  // The window halves about its centre; false when it is narrower than 0.001.
  bool ZoomIn();
  // Exchanges the window and the previous window.
  void ZoomPrevious();
  // The next proper band released zooms to it.
  void StartZoomWindow() { zoomPending_ = 3; }
  void CancelZoomWindow() { zoomPending_ = 0; }
  int ZoomPending() const { return zoomPending_; }

  // ---- Rubber band and mouse -------------------------------------------
  // These run before the main window's handlers of the same events.
  void LeftPress(int x, int y);
  void MouseMove(int x, int y);
  // Completes the band; a click becomes the 7 × 7 square around the release
  // point. With Zoom Window pending, zooms to a band that was no click and
  // has area, and answers true (the view is then rebuilt and refreshed).
  bool LeftRelease(int x, int y);
  void RightPress(int x, int y);
  // Pans the window by the drag and answers true (rebuilt and refreshed);
  // a release without movement changes nothing.
  bool RightRelease(int x, int y);
  bool RightDown() const { return rightDown_; }
  TPixelPoint LastMouse() const { return lastMouse_; }

  bool BandArmed() const { return bandArmed_; }
  // Arms or disarms the band, drawing or erasing it so the window stays
  // consistent.
  void SetBandArmed(bool armed);
  const TPixelRect& Band() const { return band_; }
  void SetBand(TPixelPoint p1, TPixelPoint p2) { band_ = {p1.x, p1.y, p2.x, p2.y}; }
  // |x1 − x2| <= 3 and |y1 − y2| < 4.
  bool BandIsClick() const;
  // The band's four edges in white with an exclusive-or pen on the window;
  // drawing it twice removes it.
  void DrawBand();

  // The measuring-cube handle being dragged (0 none): a left press then
  // does not arm the band.
  void SetCubeHandle(int handle) { cubeHandle_ = handle; }
  int CubeHandle() const { return cubeHandle_; }

  // ---- Colours and settings ----------------------------------------------
  void SetBackground(platform::Rgb c) { background_ = c; }
  void SetHighlightColour(platform::Rgb c) { highlight_ = c; }
  platform::Rgb HighlightColour() const { return highlight_; }
  void SetColors(platform::ColorTable colors) { colors_ = std::move(colors); }
  void SetBackgroundIndex(int index) { backgroundIndex_ = index; }
  void SetShowArrows(bool on) { showArrows_ = on; }

  // ---- Background picture --------------------------------------------------
  // Takes an already decoded picture; its world rectangle is (0, 0)–(w, h)
  // divided by pixelsPerUnit. False (nothing kept) for an empty image or a
  // resolution that is not a positive finite number.
  bool SetPicture(TRaster image, double pixelsPerUnit);
  void DropPicture();
  bool HasPicture() const { return !picture_.Empty(); }
  void SetPictureShown(bool shown) { pictureShown_ = shown; }
  bool PictureShown() const { return pictureShown_; }
  // The picture's world rectangle; false without a picture.
  bool PictureWorldRect(TBox& box) const;

  // ---- Buffer, window and refresh ----------------------------------------
  // The background colour, then the picture when shown.
  void ClearBuffer();
  // ClearBuffer, the content, then the buffer passes in order.
  void RebuildView();
  // The window := the buffer, then the overlays in order; the widget is
  // asked to repaint.
  void Refresh();
  // RebuildView and Refresh.
  void Redisplay();
  // Only asks the widget to repaint the window as it is.
  void Invalidate();

  // The content is not owned: its owner sets nullptr before it goes away.
  void SetContent(TViewContent* content) { content_ = content; }
  TViewContent* Content() const { return content_; }
  void SetBufferPass(BufferPass pass, BufferHook hook);
  void SetOverlay(Overlay overlay, OverlayHook hook);
  // Called when the window raster changed and should be shown.
  void SetInvalidateHandler(std::function<void()> fn) { onInvalidate_ = std::move(fn); }
  // Called after the view changed the window by itself (pan, band zoom,
  // resize), after it rebuilt and refreshed: the scales follow.
  void SetWindowChangedHandler(std::function<void()> fn) { onWindowChanged_ = std::move(fn); }

  TRaster& BufferImage() { return buffer_; }
  const TRaster& BufferImage() const { return buffer_; }
  TRaster& WindowImage() { return screen_; }
  const TRaster& WindowImage() const { return screen_; }

  // A pixel-space line on one surface with that surface's pen (markers,
  // the grid and other overlays).
  void DrawPixelLine(Surface s, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

  // DrawLine on every pair of neighbouring points, with the same pixels;
  // each point is converted once, so curves drawn as chords cost less.
  void DrawPolyline(bool toScreen, bool highlighted, const TPointD* points, std::size_t n);

  // ---- TCanvas -------------------------------------------------------------
  Pen& PenOf(Surface s) override { return s == Surface::Buffer ? bufferPen_ : screenPen_; }
  void SetPen(platform::Rgb color) override;
  void SetPenWidth(int width) override;
  void DrawLine(bool toScreen, bool highlighted, const TPointD& p1, const TPointD& p2) override;
  void DrawLineOnScreen(const TPointD& p1, const TPointD& p2) override;
  void DrawAnimatedLine(bool toScreen, int phase, const TPointD& p1, const TPointD& p2) override;
  // Adds one point per pixel row the edge crosses (lower end exclusive).
  void AddFillEdge(const TPointD& p1, const TPointD& p2) override;
  // Joins the points row by row in pairs (even-odd) with that surface's pen
  // colour. The points stay until ClearFillEdges, so a caller can fill the
  // buffer and the window from one collection.
  void FillSpans(bool toScreen) override;
  void ClearFillEdges() override;
  double PixelSize() const override { return pixelSize_; }
  void WorldWindow(double& x1, double& y1, double& x2, double& y2) const override {
    x1 = window_.x1;
    y1 = window_.y1;
    x2 = window_.x2;
    y2 = window_.y2;
  }
  bool SegmentInBand(bool entirely, const TPointD& p1, const TPointD& p2) const override;
  bool PointInBand(const TPointD& p) const override;
  // The band's pixel rectangle in world coordinates.
  bool BandBox(TBox& box) const override;
  // The same as Refresh: the window shows the buffer and the overlays again.
  void RefreshFromBuffer() override { Refresh(); }
  const platform::ColorTable& Colors() const override { return colors_; }
  int BackgroundIndex() const override { return backgroundIndex_; }
  platform::Rgb BackgroundColor() const override { return background_; }
  bool ShowArrows() const override { return showArrows_; }

  // The fill buffer's capacity; further points are dropped.
  static constexpr std::size_t kMaxFillPoints = 134217727;
  std::size_t FillPointCount() const { return fill_.size(); }

 private:
  void WindowChanged();  // recomputes the scales and the pixel size
  TWindowRect FitRect(const TBox& extents, double factor) const;
  // Clips to the window and converts; false when nothing remains to draw.
  bool ClipAndConvert(const TPointD& p1, const TPointD& p2, TPixelRect& out) const;
  void DrawOn(Surface s, const TPixelRect& line, const Pen& pen);
  bool ZoomToBand();
  bool PixelInBand(double px, double py) const;
  void SortBandCorners();
  void DrawPicture();
  void Notify() const {
    if (onInvalidate_) onInvalidate_();
  }
  void NotifyWindowChanged() const {
    if (onWindowChanged_) onWindowChanged_();
  }

  int left_ = 0, top_ = 0, width_ = 40, height_ = 40;
  TWindowRect window_{}, previous_{};
  double scaleX_ = 1, scaleY_ = 1;  // pixels per world unit
  float pixelSize_ = 1;
  TBox contentExtents_{{-10, -10}, {10, 10}};

  bool bandArmed_ = false;
  TPixelRect band_{};
  int zoomPending_ = 0;
  int cubeHandle_ = 0;
  TPixelPoint lastMouse_{};
  bool rightDown_ = false;
  TPixelPoint rightPress_{};

  platform::Rgb background_{255, 255, 255};
  platform::Rgb highlight_{255, 127, 0};
  platform::ColorTable colors_ = platform::ColorTable::FromDefaultPalette();
  int backgroundIndex_ = 19;
  bool showArrows_ = false;
  Pen bufferPen_{}, screenPen_{};

  TRaster buffer_, screen_;
  TRaster picture_;
  double picturePixelsPerUnit_ = 300.0 / 25.4;
  bool pictureShown_ = false;

  // Fill points as (row, column) keys that sort like the pair.
  std::vector<std::uint64_t> fill_, fillScratch_;
  bool fillSorted_ = true;

  TViewContent* content_ = nullptr;
  bool refreshing_ = false;
  std::array<BufferHook, static_cast<std::size_t>(BufferPass::Count)> bufferPasses_{};
  std::array<OverlayHook, static_cast<std::size_t>(Overlay::Count)> overlays_{};
  std::function<void()> onInvalidate_, onWindowChanged_;
};

}  // namespace qm::view
