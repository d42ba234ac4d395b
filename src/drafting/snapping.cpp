#include "drafting/snapping.h"

#include <cmath>
#include <vector>

#include "model/line.h"
#include "view/open_canvas.h"

namespace qm {

// ---------------------------------------------------------------------------
// TIdentifier
// ---------------------------------------------------------------------------

void TIdentifier::Reset(bool freePrototype) {
  last_ = nullptr;
  fixed_.Clear();
  tangent_.Clear();
  normal_.Clear();
  counter_ = 0;
  if (freePrototype) prototype_.reset();
}

void TIdentifier::SetPrototype(const TCadObj& entity) {
  prototype_ = entity.Clone();
  if (prototype_) prototype_->SetOwner(nullptr);
}

bool TIdentifier::AddClick(int type, const TCadObj* entity, double x, double y) {
  auto rec = std::make_unique<TClickRecord>();
  rec->X = x;
  rec->Y = y;
  TExList<TClickRecord>* list = nullptr;
  switch (type) {
    case 1: case 2: case 3: case 4: case 5: case 8: case 9:
      // The entity is only referred to: the reference lets go when the
      // entity is freed.
      rec->snapped = const_cast<TCadObj*>(entity);
      list = &fixed_;
      break;
    case 6: case 7:
      if (!entity) return false;
      rec->clone = entity->Clone();
      if (!rec->clone) return false;
      rec->clone->SetOwner(nullptr);
      list = type == 6 ? &tangent_ : &normal_;
      break;
    default:
      return false;
  }
  rec->Seq = ++counter_;
  last_ = list->Add(std::move(rec));
  return true;
}

TConstructResult TIdentifier::Build(TExList<TCadObj>& result, TPointD cursor, const TConstructInput& input) const {
  if (!prototype_) return {};
  auto clicks = [](const TExList<TClickRecord>& list) {
    std::vector<TClick> out;
    out.reserve(static_cast<std::size_t>(list.Count()));
    for (const TClickRecord* r : list) out.push_back({r->Point(), r->Entity(), r->Seq});
    return out;
  };
  const std::vector<TClick> f = clicks(fixed_), t = clicks(tangent_), n = clicks(normal_);
  return prototype_->Construct(f, t, result, cursor, n, input);
}

// ---------------------------------------------------------------------------
// TEOptions
// ---------------------------------------------------------------------------

namespace {

constexpr platform::Rgb kRed{255, 0, 0};

// A circle of `pixels` around the point, as chords.
void DrawPixelCircle(TCanvas& canvas, bool toScreen, TPointD c, double pixels) {
  constexpr int kSteps = 16;
  const double r = pixels * canvas.PixelSize();
  TPointD prev{c.x + r, c.y};
  for (int i = 1; i <= kSteps; ++i) {
    const double a = TwoPi * i / kSteps;
    const TPointD next{c.x + r * std::cos(a), c.y + r * std::sin(a)};
    canvas.DrawLine(toScreen, false, prev, next);
    prev = next;
  }
}

}  // namespace

void TEOptions::DrawAlternatives(TCanvas& canvas, std::int16_t mode, int highlight) {
  Pen& buffer = canvas.PenOf(Surface::Buffer);
  Pen& screen = canvas.PenOf(Surface::Screen);
  const Pen savedBuffer = buffer, savedScreen = screen;
  const bool toScreen = mode < 0;
  for (int i = 0; i < Items.Count(); ++i) {
    TCadObj& a = *Items.At(i);
    a.SetFlag(ofPreview, true);
    const int width = i == highlight ? 3 : 1;
    buffer = Pen{kRed, width, PenStyle::Solid, PenMode::Copy};
    screen = Pen{kRed, width, toScreen ? PenStyle::Dotted : PenStyle::Solid, PenMode::Copy};
    a.Draw(canvas, mode, 0);
    TPointD mid = a.GetStartPoint();
    a.SnapMid(mid);
    buffer.width = screen.width = 1;
    DrawPixelCircle(canvas, toScreen, mid, 5);
  }
  buffer = savedBuffer;
  screen = savedScreen;
}

void TEOptions::ClearPreview() {
  for (TCadObj* a : Items) a->SetFlag(ofPreview, false);
}

void TEOptions::Clear() {
  ClearPreview();
  Items.Clear();
  FirstCount = 0;
}

int TEOptions::PickAlternative(const view::TOpenCanvas& view, int px, int py, double aperturePixels) const {
  const TPointD w = view.PixelToWorld(px, py);
  const double aperture = aperturePixels * view.PixelSize();
  double best = FarValue;
  int index = -1;
  for (int i = 0; i < Items.Count(); ++i) {
    const TCadObj& a = *Items.At(i);
    if (!(a.DistanceTo(w) < aperture)) continue;
    TPointD mid = w;
    a.SnapMid(mid);
    const double d = Distance(mid, w);
    if (d < best) {
      best = d;
      index = i;
    }
  }
  return index;
}

// ---------------------------------------------------------------------------
// TSnapper
// ---------------------------------------------------------------------------

TSnapper::TSnapper(TCadLayout& layout, const view::TOpenCanvas& view, const InputBoxes& boxes, TSnapHost& host)
    : layout_(layout), view_(view), boxes_(boxes), host_(host) {}

TCadObj* TSnapper::FindNearest(TPointD p, double aperturePixels) {
  const double aperture = aperturePixels * view_.PixelSize();
  // The layout's search reaches slightly beyond the tolerance; what it finds
  // is the nearest entity (the first of equally near ones), so keeping it
  // only when it is strictly inside the aperture gives exactly the entities
  // closer than the aperture.
  TCadObj* e = layout_.FindNearest(&view_, aperture, p);
  if (e && !(e->DistanceTo(p) < aperture)) {
    e = nullptr;
    if (TextPickAllowed(host_.PickState())) {
      e = layout_.Text().FindNearest(&view_, aperture, p);
      if (e && !(e->DistanceTo(p) < aperture)) e = nullptr;
    }
  }
  return e;
}

int TSnapper::OptionMarkerAt(int px, int py) const {
  for (int i = 0; i < OptionMarkers.Count(); ++i) {
    const TOptionMarker& m = *OptionMarkers.At(i);
    const view::TPixelPoint q = view_.WorldToPixelSingle(m.x, m.y);
    const double d = std::hypot(static_cast<double>(px) - q.x, static_cast<double>(py) - q.y);
    if (m.size > d) return i;
  }
  return -1;
}

void TSnapper::AddMarker(TPointD p, bool show) {
  if (!show || host_.EditDialogOpen()) return;
  auto m = std::make_unique<TMarker>(p, kMarkerPixels);
  const view::TPixelPoint q = view_.WorldToPixel(p);
  m->px = q.x;
  m->py = q.y;
  Markers.Add(std::move(m));
}

bool TSnapper::SnapPoint(int mode, TPointD world, TPointD& p, const TCadObj*& entity) {
  entity = nullptr;
  p = world;
  switch (mode) {
    case snap::Free:
      return true;
    case snap::End:
    case snap::Mid:
    case snap::Center:
    case snap::Tangent:
    case snap::Normal: {
      TCadObj* e = FindNearest(world);
      if (!e) {
        host_.PickMissed();
        return false;
      }
      if (mode == snap::End) e->SnapEnd(p);
      if (mode == snap::Mid) e->SnapMid(p);
      if (mode == snap::Center) p = e->SnapCenter();
      if (mode == snap::Tangent) {
        const int code = host_.ActiveToolCode();
        if (code >= 101 && code <= 104 && dynamic_cast<const TCadLine*>(e)) {
          host_.RefusePick(kCannotTangentToThis);
          return false;
        }
      }
      entity = e;
      return true;
    }
    case snap::Inter: {
      TCadObj* e = FindNearest(world);
      if (!e) {
        host_.PickMissed();
        return false;
      }
      // The first click picks A; a second click on A starts over with A.
      if (!first_ || first_.get() == e) {
        first_ = e;
        return false;
      }
      TPointD firstPoint;
      const bool any = first_->Intersect(*e, OptionMarkers, firstPoint);
      first_.reset();
      if (!any || OptionMarkers.Empty()) {
        OptionMarkers.Clear();
        return false;
      }
      if (OptionMarkers.Count() < 2) {
        p = firstPoint;  // full precision
        OptionMarkers.Clear();
        return true;
      }
      for (TOptionMarker* m : OptionMarkers) {
        m->size = kOptionMarkerPixels;
        const view::TPixelPoint q = view_.WorldToPixelSingle(m->x, m->y);
        m->px = q.x;
        m->py = q.y;
      }
      return false;  // the view's overlay shows them; the next click chooses
    }
    case snap::XY:
      p = {0, 0};
      return true;
    case snap::Grid:
      if (grid_) p = grid_->GridPoint(world);
      return true;
    default:
      return false;  // marking (0) yields no point
  }
}

bool TSnapper::PickPoint(int px, int py, bool show, TPointD& point) {
  if (OptionMarkers.Count() >= 2) {
    const int i = OptionMarkerAt(px, py);
    if (i < 0) return false;
    point = OptionMarkers.At(i)->point;
    OptionMarkers.Clear();
    first_.reset();
    Identifier.AddClick(snap::Inter, nullptr, point.x, point.y);
    AddMarker(point, show);
    return true;
  }

  const TPointD world = view_.PixelToWorld(px, py);
  const int mode = host_.CurrentSnap();
  TPointD p;
  const TCadObj* entity = nullptr;
  if (!SnapPoint(mode, world, p, entity)) return false;
  if (mode != snap::Tangent && mode != snap::Normal) boxes_.ApplyEntryBoxes(p.x, p.y);

  if (!host_.MidDistanceOn()) {
    if (!Identifier.AddClick(mode, entity, p.x, p.y)) return false;
    AddMarker(p, show);
    point = p;
    return true;
  }

  // Mid-distance: every picked point is a marker until the collector's
  // counter + 2 markers exist; then the midpoint of the last two is the
  // click.
  Markers.Add(std::make_unique<TMarker>(p, kMarkerPixels));
  if (Markers.Count() < Identifier.Counter() + 2) return false;
  const TPointD a = Markers.At(Markers.Count() - 2)->point;
  const TPointD b = Markers.At(Markers.Count() - 1)->point;
  Markers.Delete(Markers.Count() - 1);
  Markers.Delete(Markers.Count() - 1);
  const TPointD mid = MidPoint(a, b);
  Identifier.AddClick(snap::Free, nullptr, mid.x, mid.y);
  host_.EndMidDistance();
  AddMarker(mid, show);
  point = mid;
  return true;
}

}  // namespace qm
