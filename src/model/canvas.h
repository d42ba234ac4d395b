#pragma once
// The drawing surface entities draw through. The view implements it over its
// off-screen buffer and its window; printing implements it over a page; the
// recording canvas below lets tests see what was drawn.
//
// There are two surfaces with a pen each: the back buffer, which every paint
// copies to the window, and the window itself, for feedback that must not
// touch the buffer (hover highlights, animated outlines, exclusive-or drags).
#include <cstdint>
#include <string>
#include <vector>

#include "geom/geometry.h"
#include "platform/palette.h"

namespace qm {

enum class PenStyle : std::uint8_t { Solid, Dotted };
enum class PenMode : std::uint8_t { Copy, Xor };

struct Pen {
  platform::Rgb color{};
  int width = 1;
  PenStyle style = PenStyle::Solid;
  PenMode mode = PenMode::Copy;
  bool operator==(const Pen&) const = default;
};

enum class Surface : std::uint8_t { Buffer, Screen };

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  // The pen of one surface; changing it changes how later lines look there.
  virtual Pen& PenOf(Surface s) = 0;
  // A solid copy-mode pen with that colour (or width) on both surfaces.
  virtual void SetPen(platform::Rgb color) = 0;
  virtual void SetPenWidth(int width) = 0;

  // A world segment, clipped to the view; nothing when it falls on one pixel.
  // Into the buffer with the buffer's pen, or with a solid pen of the
  // highlight colour when `highlighted`; with `toScreen` also onto the window
  // with the window's pen.
  virtual void DrawLine(bool toScreen, bool highlighted, const TPointD& p1, const TPointD& p2) = 0;
  // Only onto the window, solid, in the highlight colour.
  virtual void DrawLineOnScreen(const TPointD& p1, const TPointD& p2) = 0;
  // One step (phase 0..5) of a moving dashed outline.
  virtual void DrawAnimatedLine(bool toScreen, int phase, const TPointD& p1, const TPointD& p2) = 0;

  // Even-odd scan-line filling: edges are collected, then spans are drawn
  // with the buffer pen's colour, and the collection is emptied.
  virtual void AddFillEdge(const TPointD& p1, const TPointD& p2) = 0;
  virtual void FillSpans(bool toScreen) = 0;
  virtual void ClearFillEdges() = 0;

  // World units per device pixel (screen or printer): curves are split into
  // chords fine enough for it.
  virtual double PixelSize() const = 0;
  // The visible world rectangle (entities outside it need not be drawn).
  virtual void WorldWindow(double& x1, double& y1, double& x2, double& y2) const = 0;

  // Hit tests against the rubber band (or the marking frame's rectangle).
  virtual bool SegmentInBand(bool entirely, const TPointD& p1, const TPointD& p2) const = 0;
  virtual bool PointInBand(const TPointD& p) const = 0;
  // The band as a world rectangle, when the canvas can tell it: frame tests
  // of curves then cut only the part near the band into chords.
  virtual bool BandBox(TBox& box) const {
    (void)box;
    return false;
  }

  // Copies the buffer to the window, wiping window-only strokes.
  virtual void RefreshFromBuffer() = 0;

  // Colours: the colour table, the background's index into it, and the
  // background colour itself.
  virtual const platform::ColorTable& Colors() const = 0;
  virtual int BackgroundIndex() const = 0;
  virtual platform::Rgb BackgroundColor() const = 0;

  // Whether layers draw direction arrows on their own members.
  virtual bool ShowArrows() const { return false; }
};

// The colour a group with `colorIndex` draws in: entry colorIndex mod N; the
// background's entry is skipped in favour of the next one (wrapping).
platform::Rgb GroupColor(const TCanvas& canvas, int colorIndex);

// A canvas that draws nothing and records every call, for tests.
class RecordingCanvas : public TCanvas {
 public:
  enum class Op : std::uint8_t { Line, ScreenLine, AnimatedLine, FillEdge, FillSpans, Refresh };
  struct Record {
    Op op;
    TPointD p1{}, p2{};
    bool toScreen = false, highlighted = false;
    int phase = 0;
    Pen bufferPen{}, screenPen{};
  };

  RecordingCanvas();

  Pen& PenOf(Surface s) override { return s == Surface::Buffer ? buffer_ : screen_; }
  void SetPen(platform::Rgb color) override;
  void SetPenWidth(int width) override;
  void DrawLine(bool toScreen, bool highlighted, const TPointD& p1, const TPointD& p2) override;
  void DrawLineOnScreen(const TPointD& p1, const TPointD& p2) override;
  void DrawAnimatedLine(bool toScreen, int phase, const TPointD& p1, const TPointD& p2) override;
  void AddFillEdge(const TPointD& p1, const TPointD& p2) override;
  void FillSpans(bool toScreen) override;
  void ClearFillEdges() override { fillEdges = 0; }
  double PixelSize() const override { return pixelSize; }
  void WorldWindow(double& x1, double& y1, double& x2, double& y2) const override;
  bool SegmentInBand(bool entirely, const TPointD& p1, const TPointD& p2) const override;
  bool PointInBand(const TPointD& p) const override;
  bool BandBox(TBox& box) const override;
  void RefreshFromBuffer() override;
  const platform::ColorTable& Colors() const override { return colors; }
  int BackgroundIndex() const override { return backgroundIndex; }
  platform::Rgb BackgroundColor() const override { return colors.At(backgroundIndex); }
  bool ShowArrows() const override { return showArrows; }

  // Settings tests may change.
  double pixelSize = 0.01;
  double window[4] = {-1e6, -1e6, 1e6, 1e6};
  // The band as a world rectangle (x1, y1, x2, y2).
  double band[4] = {0, 0, 0, 0};
  platform::ColorTable colors = platform::ColorTable::FromDefaultPalette();
  int backgroundIndex = 0;
  bool showArrows = false;

  std::vector<Record> records;
  int fillEdges = 0;
  int LineCount() const;

 private:
  Pen buffer_, screen_;
};

}  // namespace qm
