#include "model/canvas.h"

#include <algorithm>
#include <cmath>

namespace qm {

platform::Rgb GroupColor(const TCanvas& canvas, int colorIndex) {
  const platform::ColorTable& table = canvas.Colors();
  const int n = table.Count();
  if (n == 0) return {};
  auto wrap = [n](int i) {
    i %= n;
    return i < 0 ? i + n : i;
  };
  int i = wrap(colorIndex);
  if (i == wrap(canvas.BackgroundIndex())) i = wrap(i + 1);
  return table.At(i);
}

RecordingCanvas::RecordingCanvas() = default;

void RecordingCanvas::SetPen(platform::Rgb color) {
  for (Pen* p : {&buffer_, &screen_}) {
    p->color = color;
    p->style = PenStyle::Solid;
    p->mode = PenMode::Copy;
  }
}

void RecordingCanvas::SetPenWidth(int width) {
  for (Pen* p : {&buffer_, &screen_}) {
    p->width = width;
    p->style = PenStyle::Solid;
    p->mode = PenMode::Copy;
  }
}

void RecordingCanvas::DrawLine(bool toScreen, bool highlighted, const TPointD& p1, const TPointD& p2) {
  Record r{Op::Line, p1, p2, toScreen, highlighted, 0, buffer_, screen_};
  records.push_back(r);
}

void RecordingCanvas::DrawLineOnScreen(const TPointD& p1, const TPointD& p2) {
  records.push_back({Op::ScreenLine, p1, p2, true, true, 0, buffer_, screen_});
}

void RecordingCanvas::DrawAnimatedLine(bool toScreen, int phase, const TPointD& p1, const TPointD& p2) {
  records.push_back({Op::AnimatedLine, p1, p2, toScreen, false, phase, buffer_, screen_});
}

void RecordingCanvas::AddFillEdge(const TPointD& p1, const TPointD& p2) {
  records.push_back({Op::FillEdge, p1, p2, false, false, 0, buffer_, screen_});
  ++fillEdges;
}

void RecordingCanvas::FillSpans(bool toScreen) {
  records.push_back({Op::FillSpans, {}, {}, toScreen, false, 0, buffer_, screen_});
  fillEdges = 0;
}

void RecordingCanvas::WorldWindow(double& x1, double& y1, double& x2, double& y2) const {
  x1 = window[0];
  y1 = window[1];
  x2 = window[2];
  y2 = window[3];
}

namespace {

TBox Sorted(const double r[4]) {
  return {{std::min(r[0], r[2]), std::min(r[1], r[3])}, {std::max(r[0], r[2]), std::max(r[1], r[3])}};
}

bool Inside(const TBox& b, const TPointD& p) {
  return p.x >= b.Min.x && p.x <= b.Max.x && p.y >= b.Min.y && p.y <= b.Max.y;
}

}  // namespace

bool RecordingCanvas::PointInBand(const TPointD& p) const { return Inside(Sorted(band), p); }

bool RecordingCanvas::BandBox(TBox& box) const {
  box = Sorted(band);
  return true;
}

// The band test in world units: a segment shorter than a pixel counts as
// its point; entirely means both ends inside; partly that the part inside
// is longer than a thousandth of a pixel.
bool RecordingCanvas::SegmentInBand(bool entirely, const TPointD& p1, const TPointD& p2) const {
  const TBox b = Sorted(band);
  if (Distance(p1, p2) < pixelSize) return Inside(b, p1);
  if (entirely) return Inside(b, p1) && Inside(b, p2);
  if (!(b.Max.x > b.Min.x) || !(b.Max.y > b.Min.y)) {
    // A band without area: does the segment pass through it?
    const LineDistance d = PointLineDistance(LineDistanceMode::Segment, b.Min, {p1, p2});
    return d.distance <= 1e-3 * pixelSize;
  }
  const ClipResult c = ClipSegment(b, {p1, p2});
  return c.visible && Distance(c.segment.P1, c.segment.P2) > 1e-3 * pixelSize;
}

void RecordingCanvas::RefreshFromBuffer() { records.push_back({Op::Refresh, {}, {}, false, false, 0, buffer_, screen_}); }

int RecordingCanvas::LineCount() const {
  return static_cast<int>(std::count_if(records.begin(), records.end(), [](const Record& r) { return r.op == Op::Line; }));
}

}  // namespace qm
