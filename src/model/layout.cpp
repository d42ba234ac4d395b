#include "model/layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "model/canvas.h"
#include "model/circle.h"

namespace qm {

namespace {

TLayoutHost& NullHost() {
  static TLayoutHost host;
  return host;
}

bool SortedWindow(const TCanvas& canvas, TBox& w) {
  double x1, y1, x2, y2;
  canvas.WorldWindow(x1, y1, x2, y2);
  w = {{std::min(x1, x2), std::min(y1, y2)}, {std::max(x1, x2), std::max(y1, y2)}};
  return IsProperBox(w);
}

// The largest coordinate magnitude of a box, for tolerances that must grow
// with the numbers' rounding.
double Magnitude(const TBox& b) {
  return std::max(std::max(std::fabs(b.Min.x), std::fabs(b.Min.y)), std::max(std::fabs(b.Max.x), std::fabs(b.Max.y)));
}

// Slack added to lookup boxes: the exact tests decide, the boxes only have
// to hold every possible answer despite rounding.
constexpr double kRelativeSlack = 1e-9;

void SortHits(std::vector<TLayerIndex::Hit>& hits) {
  std::sort(hits.begin(), hits.end(),
            [](const TLayerIndex::Hit& a, const TLayerIndex::Hit& b) { return a.order < b.order; });
}

// Entities beyond these cannot be numbered in the Int16 layer field.
constexpr int kMaxLayers = std::numeric_limits<std::int16_t>::max();

}  // namespace

bool TextPickAllowed(const TPickToolState& s) {
  if (s.toolCode == kToolTrim && s.trimHoldsEntity) return false;
  if (s.editButtonDown || s.toolState == kToolStateNoText) return false;
  return s.toolCode != kToolTrim2 && s.toolCode != kToolBlend && s.toolCode != kToolChamfer;
}

// ---------------------------------------------------------------------------
// TOverlapList
// ---------------------------------------------------------------------------

struct TOverlapList::Item final : TRefNode {
  std::unique_ptr<TCadObj> part;
  void Watch(TCadObj* covered) { Link(covered); }
  // The covered entity is being freed: the part no longer has an owner.
  void TargetDied(TCadObj*) override {
    if (part) part->SetOwner(nullptr);
  }
};

TOverlapList::TOverlapList() = default;
TOverlapList::~TOverlapList() = default;

TCadObj* TOverlapList::Part(int i) const {
  if (i < 0 || i >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(i)]->part.get();
}

TCadObj* TOverlapList::Covered(int i) const {
  if (i < 0 || i >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(i)]->Target();
}

void TOverlapList::Add(std::unique_ptr<TCadObj> part, TCadObj* covered) {
  if (!part) return;
  auto item = std::make_unique<Item>();
  part->SetOwner(covered);
  item->part = std::move(part);
  item->Watch(covered);
  items_.push_back(std::move(item));
}

void TOverlapList::Clear() { items_.clear(); }

// ---------------------------------------------------------------------------
// Construction, host, layers
// ---------------------------------------------------------------------------

TCadLayout::TCadLayout(TLayoutHost* host)
    : TCadObj(0, nullptr, ofVisible, EmptyBox.Min.x, EmptyBox.Min.y, EmptyBox.Max.x, EmptyBox.Max.y),
      host_(host ? host : &NullHost()),
      text_(std::make_unique<TLayoutText>()) {}

TCadLayout::~TCadLayout() {
  // The indexes first: freeing the layers tells nobody.
  indexes_.clear();
  currentLayer_ = nullptr;
  layers_.Clear();
  text_.reset();
}

void TCadLayout::SetHost(TLayoutHost* host) { host_ = host ? host : &NullHost(); }

void TCadLayout::SetText(std::unique_ptr<TLayoutText> text) {
  text_ = text ? std::move(text) : std::make_unique<TLayoutText>();
}

int TCadLayout::IndexOfLayer(const TCadObj* layer) const {
  if (!layer) return -1;
  for (int i = 0; i < layers_.Count(); ++i)
    if (layers_.At(i) == layer) return i;
  return -1;
}

TLayerIndex* TCadLayout::IndexOf(const TCadObj* layer) {
  const auto it = indexes_.find(layer);
  return it == indexes_.end() ? nullptr : it->second.get();
}

TLayerIndex& TCadLayout::IndexAt(int index) {
  TCadGroup* layer = layers_.At(index);
  std::unique_ptr<TLayerIndex>& slot = indexes_[layer];
  if (!slot) slot = std::make_unique<TLayerIndex>(*layer);
  return *slot;
}

void TCadLayout::SetActiveLayer(int index) {
  if (TCadGroup* layer = layers_.At(index)) {
    activeLayer_ = static_cast<std::int16_t>(index);
    currentLayer_ = layer;
  } else {
    activeLayer_ = -1;
    currentLayer_ = nullptr;
  }
}

TCadGroup* TCadLayout::AddLayer(std::string_view name, std::int16_t colorIndex) {
  const int n = layers_.Count();
  if (n >= kMaxLayers) return nullptr;
  const std::string text = name.empty() ? "Layer " + std::to_string(n + 1) : std::string(name);
  auto group = std::make_unique<TCadGroup>(this, colorIndex, text);
  group->SetLayer(static_cast<std::int16_t>(n));
  TCadGroup* layer = layers_.Add(std::move(group));
  IndexAt(n);
  currentLayer_ = layer;
  host_->LayerTabAdded(n, *layer);
  SetActiveLayer(n);  // what the tab's selection does
  layer->Show();
  Modified();
  return layer;
}

TCadGroup* TCadLayout::NewLayerCommand(std::int16_t colorIndex) {
  host_->ResetActivity(true);
  if (layers_.Count() > 0) host_->RecordAction("Add Layer");
  TCadGroup* layer = AddLayer("", colorIndex);
  if (layer) host_->LayerVisibleChecked();
  return layer;
}

bool TCadLayout::EmptyLayer(int index) {
  TCadGroup* layer = layers_.At(index);
  if (!layer) return false;
  const auto number = static_cast<std::int16_t>(index);
  text_->DeleteOnLayer(number);
  // The members are freed below: the index starts again from nothing. Lists
  // that refer to them (marks, edits, chains) let go as each one is freed.
  IndexAt(index).Reset();
  if (layers_.Count() > 1) {
    host_->LayerTabRemoved(index);
    indexes_.erase(layer);
    if (currentLayer_ == layer) currentLayer_ = nullptr;
    layers_.Delete(index);
    for (int j = index; j < layers_.Count(); ++j) {
      // LayerRemoved counts the layer and its members down by one; the
      // numbers are then made to agree with the positions in any case, so
      // an entity never reports a layer it is not on.
      TCadGroup& behind = *layers_.At(j);
      behind.LayerRemoved();
      const auto k = static_cast<std::int16_t>(j);
      behind.SetLayer(k);
      behind.ForEachMember([k](TCadObj& m) { m.SetLayer(k); });
    }
    text_->LayerRemoved(number);
  } else {
    // The only layer stays, empty, with its name, colour and number.
    layer->ForEachMember([](TCadObj& m) { m.SetFlag(ofMarked, true); });
    layer->DeleteMarked();
    layer->SetPoints(EmptyBox.Min, EmptyBox.Max);
  }
  const int current = index > 0 ? index - 1 : layers_.Count() - 1;
  SetActiveLayer(current);
  currentLayer_->Show();
  host_->LayerTabSelected(current);
  UpdateExtents();
  Modified();
  return true;
}

void TCadLayout::Clear() {
  host_->LayerTabsCleared();
  indexes_.clear();
  currentLayer_ = nullptr;
  activeLayer_ = -1;
  layers_.Clear();
  text_->Clear();
  StorePoints(EmptyBox.Min, EmptyBox.Max);
}

TCadGroup* TCadLayout::AdoptLayer(std::unique_ptr<TCadGroup> layer) {
  if (!layer || layers_.Count() >= kMaxLayers) return nullptr;
  const int n = layers_.Count();
  layer->SetOwner(this);
  layer->SetLayer(static_cast<std::int16_t>(n));
  layer->ForEachMember([n](TCadObj& m) { m.SetLayer(static_cast<std::int16_t>(n)); });
  TCadGroup* g = layers_.Add(std::move(layer));
  IndexAt(n);
  host_->LayerTabAdded(n, *g);
  return g;
}

void TCadLayout::InvalidateIndex() {
  for (auto& entry : indexes_) entry.second->Reset();
}

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

void TCadLayout::Draw(TCanvas& canvas, std::int16_t mode, std::int16_t /*fill*/) {
  for (int i = 0; i < layers_.Count(); ++i) DrawLayer(i, canvas, mode, fillMode_);
  DrawDirection(canvas, 3);
  text_->Draw(canvas, 1, fillMode_);
}

// The layer's own Draw, with the members outside the window left out: they
// would be clipped away entirely (in fill mode their edges still count for
// the rows they cross, so only members above or below the window go).
// The pen is left exactly as the group leaves it after each member.
void TCadLayout::DrawLayer(int index, TCanvas& canvas, std::int16_t mode, std::int16_t fill) {
  TCadGroup& layer = *layers_.At(index);
  layer.SetLayer(static_cast<std::int16_t>(index));
  if (!layer.IsVisible()) return;
  TLayerIndex& li = IndexAt(index);
  TBox window;
  const double px = canvas.PixelSize();
  if (mode < 0 || !li.InSync() || !SortedWindow(canvas, window) || !(px >= 0) || !std::isfinite(px)) {
    layer.Draw(canvas, mode, fill);
    return;
  }
  // A pixel of margin: nothing within it can reach a pixel of the window.
  window = Widened(window, px + kRelativeSlack * Magnitude(window));
  const platform::Rgb color = GroupColor(canvas, layer.ColorIndex());
  Pen& buffer = canvas.PenOf(Surface::Buffer);
  buffer.style = PenStyle::Solid;
  buffer.color = color;
  const std::int16_t number = layer.Layer();
  const bool rowsOnly = fill > 0;
  li.ForEachInOrder([&](TCadObj& m, const TBox& box) {
    m.SetLayer(number);
    const bool outside = IsProperBox(box) && (rowsOnly ? (box.Max.y < window.Min.y || box.Min.y > window.Max.y)
                                                        : !BoxesMeet(box, window));
    if (!outside) m.Draw(canvas, mode, fill);
    Pen& b = canvas.PenOf(Surface::Buffer);
    b.style = PenStyle::Solid;
    b.width = 1;
  });
  if (fill > 0) {
    canvas.PenOf(Surface::Buffer).color = color;
    canvas.FillSpans(false);
    canvas.ClearFillEdges();
  }
}

void TCadLayout::DrawDirection(TCanvas& canvas, std::int16_t mode) {
  for (TCadGroup* layer : layers_) layer->DrawDirection(canvas, mode);
}

// ---------------------------------------------------------------------------
// Extents
// ---------------------------------------------------------------------------

TBox TCadLayout::LayerExtents(int index) {
  if (!layers_.At(index)) return EmptyBox;
  return IndexAt(index).Extents();
}

bool TCadLayout::RecalcExtents(bool onlyMarked, TBox& box) {
  TBox b = EmptyBox, t;
  if (text_->Extents(onlyMarked, t)) b = MergeBoxes(b, t);
  for (int i = 0; i < layers_.Count(); ++i) {
    TCadGroup& layer = *layers_.At(i);
    if (!layer.IsVisible()) continue;
    TLayerIndex& li = IndexAt(i);
    if (onlyMarked) {
      TBox m = EmptyBox;
      bool any = false;
      li.ForEachInOrder([&](TCadObj& e, const TBox&) {
        if (!e.IsMarked()) return;
        m = MergeBoxes(m, e.GetExtents());
        any = true;
      });
      if (any) b = MergeBoxes(b, m);
      continue;
    }
    // What the layer's RecalcExtents stores, from the index's boxes.
    const TBox e = li.Extents();
    if (!(e.Min == layer.P1() && e.Max == layer.P2())) layer.SetPoints(e.Min, e.Max);
    if (li.Count() > 0) b = MergeBoxes(b, e);
  }
  box = b;
  return b.Min.x < 2147483647.0;
}

bool TCadLayout::UpdateExtents() {
  TBox b;
  const bool any = RecalcExtents(false, b);
  StorePoints(b.Min, b.Max);
  return any;
}

bool TCadLayout::RecalcExtentsWithText(bool onlyMarked, TBox& box) {
  RecalcExtents(onlyMarked, box);
  TBox t;
  if (text_->Extents(true, t)) box = MergeBoxes(box, t);
  return box.Min.x < 2147483647.0;
}

bool TCadLayout::MarkedExtents(TBox& box) const { return const_cast<TCadLayout*>(this)->RecalcExtents(true, box); }

// ---------------------------------------------------------------------------
// Marking, visibility, transformations
// ---------------------------------------------------------------------------

void TCadLayout::Mark() {
  TCadObj::Mark();
  for (TCadGroup* layer : layers_) layer->Mark();
}

void TCadLayout::Unmark() {
  TCadObj::Unmark();
  for (TCadGroup* layer : layers_) layer->Unmark();
  text_->Unmark();
}

void TCadLayout::ClearVisited() {
  TCadObj::ClearVisited();
  for (TCadGroup* layer : layers_) layer->ClearVisited();
  text_->ClearVisited();
}

void TCadLayout::ShowAll(bool visible) {
  for (TCadGroup* layer : layers_) {
    if (visible)
      layer->Show();
    else
      layer->Hide();
  }
  text_->Show(visible);
}

void TCadLayout::Transform(double dx, double dy, double factor) {
  for (TCadGroup* layer : layers_) layer->TransformMarked(dx, dy, factor);
  text_->TransformMarked(dx, dy, factor);
  UpdateExtents();
  Modified();
}

TScaleXYReport TCadLayout::ScaleXYAll(double dx, double dy, double sx, double sy, TMarkGroup* markGroup) {
  TScaleXYReport total;
  for (TCadGroup* layer : layers_) {
    const TScaleXYReport r = layer->ScaleXYMarked(markGroup, dx, dy, sx, sy);
    total.scaled += r.scaled;
    total.replaced += r.replaced;
    total.notScaled += r.notScaled;
  }
  text_->ScaleXYMarked(dx, dy, sx, sy);
  UpdateExtents();
  Modified();
  return total;
}

int TCadLayout::DeleteMarked(TMarkGroup& markGroup) {
  markGroup.ClearMarked();
  int n = 0;
  for (TCadGroup* layer : layers_) n += layer->DeleteMarked();
  n += text_->DeleteMarked();
  UpdateExtents();
  Modified();
  return n;
}

std::int32_t TCadLayout::EntityCount() const {
  std::int32_t n = 0;
  for (const TCadGroup* layer : layers_) n += layer->MemberCount();
  return n;
}

// ---------------------------------------------------------------------------
// The pick, removing and inserting
// ---------------------------------------------------------------------------

TCadObj* TCadLayout::FindNearest(const TCanvas* canvas, double tolerance, TPointD p) {
  constexpr double kStop = 1e-11;
  const double radius = tolerance + 1e-5;
  // Everything that can become the candidate or end the search lies within
  // `reach` of the point; the lookup box holds all of it.
  const double reach = radius > kStop ? radius : kStop;
  const double e = reach * (1 + kRelativeSlack) + kRelativeSlack * (std::fabs(p.x) + std::fabs(p.y));
  const TBox q{{p.x - e, p.y - e}, {p.x + e, p.y + e}};
  TBox window{};
  if (canvas) SortedWindow(*canvas, window);
  double best = FarValue;
  TCadObj* candidate = nullptr;
  bool stop = false;
  for (int i = 0; i < layers_.Count() && !stop; ++i) {
    TCadGroup& layer = *layers_.At(i);
    if (!layer.IsVisible()) continue;
    TLayerIndex& li = IndexAt(i);
    hits_.clear();
    li.Query(q, hits_);
    if (hits_.empty()) continue;
    if (canvas) {
      const TBox ext = li.Extents();
      const bool outside = ext.Max.x < window.Min.x || ext.Min.x > window.Max.x || ext.Max.y < window.Min.y ||
                           ext.Min.y > window.Max.y;
      if (ext.Min.x < FarValue && outside) continue;
    }
    SortHits(hits_);
    for (const TLayerIndex::Hit& h : hits_) {
      TCadObj& m = *h.entity;
      if (m.IsVisited()) continue;
      const double d = m.DistanceTo(p);
      if (d < best && d < radius) {
        best = d;
        candidate = &m;
      }
      if (d < kStop) {
        stop = true;
        break;
      }
    }
  }
  if (!candidate && TextPickAllowed(host_->PickToolState())) candidate = text_->FindNearest(canvas, tolerance, p);
  return candidate;
}

std::unique_ptr<TCadObj> TCadLayout::RemoveEntity(TCadObj* entity) {
  if (!entity) return nullptr;
  TCadObj* owner = entity->Owner();
  if (owner && owner->IsCharacter()) {
    text_->RemoveCharacterOf(*entity);
    UpdateExtents();
    Modified();
    return nullptr;
  }
  const int i = IndexOfLayer(owner);
  if (i < 0) return nullptr;
  std::unique_ptr<TCadObj> out = layers_.At(i)->ExtractMember(entity);
  if (!out) return nullptr;
  UpdateExtents();
  Modified();
  return out;
}

TCadObj* TCadLayout::InsertIntoLayer(std::unique_ptr<TCadObj> entity, TMarkGroup* markGroup) {
  if (!entity) return nullptr;
  if (entity->IsCharacter()) {
    TCadObj* c = text_->InsertCharacter(std::move(entity));
    if (c) {
      UpdateExtents();
      Modified();
    }
    return c;
  }
  TCadGroup* layer = layers_.At(entity->Layer());
  if (!layer) layer = currentLayer_;
  if (!layer) layer = AddLayer("", host_->CurrentColor());
  if (!layer) return nullptr;
  const int index = IndexOfLayer(layer);
  TCadObj* e = layer->InsertMember(std::move(entity), nullptr, markGroup);
  if (!e) return nullptr;
  e->SetLayer(static_cast<std::int16_t>(index));
  const TBox widened = MergeBoxes(GetExtents(), LayerExtents(index));
  StorePoints(widened.Min, widened.Max);
  Modified();
  return e;
}

// ---------------------------------------------------------------------------
// The band
// ---------------------------------------------------------------------------

bool TCadLayout::MarkInWindow(TCanvas& canvas, bool shift, TPointD point, int layerChoice, int markMode,
                              TMarkGroup& markGroup) {
  ClearVisited();
  std::unique_ptr<TChainMarking> chains;
  if (markMode == kMarkChained && chainMarking_) chains = chainMarking_(*this);

  // The band in world units, widened as the curves' own band test widens it
  // (a point within half a pixel of the band rounds into it).
  TBox band;
  bool lookup = canvas.BandBox(band);
  if (lookup) {
    band = {{std::min(band.Min.x, band.Max.x), std::min(band.Min.y, band.Max.y)},
            {std::max(band.Min.x, band.Max.x), std::max(band.Min.y, band.Max.y)}};
    const double px = canvas.PixelSize();
    lookup = IsProperBox(band) && px >= 0 && std::isfinite(px);
    if (lookup) band = Widened(band, 2 * px + kRelativeSlack * Magnitude(band));
  }

  const int n = layers_.Count();
  std::vector<char> scanned(static_cast<std::size_t>(n), 0);
  const bool entirely = markMode == kMarkAllIn;
  std::vector<TLayerIndex::Hit> hits;
  for (int i = 0; i < n; ++i) {
    TCadGroup& layer = *layers_.At(i);
    if (layerChoice != kLayerAll && &layer != currentLayer_) continue;
    if (!layer.IsVisible()) continue;
    scanned[static_cast<std::size_t>(i)] = 1;
    hits.clear();
    if (lookup) {
      IndexAt(i).Query(band, hits);
      SortHits(hits);
    } else {
      std::uint32_t k = 0;
      layer.ForEachMember([&](TCadObj& m) { hits.push_back({k++, &m}); });
    }
    for (const TLayerIndex::Hit& h : hits) {
      TCadObj& m = *h.entity;
      if (m.IsVisited() || !m.InFrame(canvas, entirely)) continue;
      if (markMode == kMarkChained) {
        if (chains) chains->Treat(m, canvas, point);
      } else if (m.IsMarked()) {
        m.Unmark();
      } else {
        m.Mark();
      }
    }
  }

  int count = 0;
  if (markMode == kMarkChained) {
    if (chains) count = chains->UpdateMarkGroup(markGroup);
  } else {
    // Marks on layers that were not scanned (hidden, or not the current one)
    // stay in the mark group; only the scanned ones count for the answer.
    markGroup.ClearMarked();
    for (int i = 0; i < n; ++i) {
      const bool counts = scanned[static_cast<std::size_t>(i)] != 0;
      layers_.At(i)->ForEachMember([&](TCadObj& m) {
        if (!m.IsMarked()) return;
        markGroup.AddMarked(&m);
        if (counts) ++count;
      });
    }
  }
  const bool textChanged = text_->MarkInWindow(canvas, shift, layerChoice, markMode);
  chains.reset();
  ClearVisited();
  return textChanged || count > 0;
}

int TCadLayout::MoveMarkedToLayer(int target, bool copy, TMarkGroup* markGroup) {
  TCadGroup* to = layers_.At(target);
  if (!to) return -1;
  const auto number = static_cast<std::int16_t>(target);
  int moved = 0;
  for (int i = 0; i < layers_.Count(); ++i) {
    TCadGroup* from = layers_.At(i);
    if (from == to) continue;
    for (TCadObj* m : from->MemberList()) {
      if (!m->IsMarked() || m->Owner() != from) continue;
      if (copy) {
        std::unique_ptr<TCadObj> c = m->Clone();
        if (!c) continue;
        c->SetFlags(ofVisible);
        c->SetLayer(number);
        if (TCadObj* e = to->InsertMember(std::move(c))) e->SetLayer(number);
      } else {
        std::unique_ptr<TCadObj> e = from->ExtractMember(m);
        if (!e) continue;
        e->SetFlags(e->Flags() & ofVisible);
        if (markGroup) markGroup->RemoveMarked(e.get());
        if (TCadObj* in = to->InsertMember(std::move(e))) in->SetLayer(number);
      }
      ++moved;
    }
  }
  text_->MoveMarkedToLayer(number, copy);
  UpdateExtents();
  if (moved > 0) Modified();
  return moved;
}

// ---------------------------------------------------------------------------
// Overlaps and open ends
// ---------------------------------------------------------------------------

void TCadLayout::FindOverlaps(TOverlapList& result, TMarkGroup& markGroup) {
  result.Clear();
  Unmark();
  markGroup.ClearMarked();
  host_->MarkingFrameOff();
  bool frameOn = false;

  // The members of the visible layers in scan order.
  std::vector<TCadObj*> all;
  std::vector<TBox> boxes;
  for (int i = 0; i < layers_.Count(); ++i) {
    if (!layers_.At(i)->IsVisible()) continue;
    IndexAt(i).ForEachInOrder([&](TCadObj& m, const TBox& b) {
      all.push_back(&m);
      boxes.push_back(b);
    });
  }
  // Two entities that share a part have points within the overlap tests'
  // tolerances of each other: each box grows by half the largest distance
  // they accept (a point within 0.01 of a line's carrier counts as on it).
  const double reach = std::max(Tol2, Eps2);
  std::vector<TBoxTree::Item> items;
  std::vector<std::uint32_t> odd;  // boxes that bound nothing: paired with everything
  for (std::uint32_t k = 0; k < all.size(); ++k) {
    if (!IsProperBox(boxes[k])) {
      odd.push_back(k);
      continue;
    }
    boxes[k] = Widened(boxes[k], reach + kRelativeSlack * Magnitude(boxes[k]));
    items.push_back({TFloatBox::Outward(boxes[k]), k});
  }
  TBoxTree tree;
  tree.Build(std::move(items));

  std::vector<std::uint32_t> later;
  for (std::uint32_t a = 0; a < all.size(); ++a) {
    later.clear();
    if (!IsProperBox(boxes[a])) {
      for (std::uint32_t b = a + 1; b < all.size(); ++b) later.push_back(b);
    } else {
      tree.Query(boxes[a], [&](std::uint32_t b) {
        if (b > a) later.push_back(b);
      });
      for (std::uint32_t b : odd)
        if (b > a) later.push_back(b);
      std::sort(later.begin(), later.end());
    }
    TCadObj& A = *all[a];
    for (std::uint32_t b : later) {
      std::unique_ptr<TCadObj> c = all[b]->Overlap(A);
      if (!c) continue;
      const bool covers = (SamePoint(c->P1(), A.P1(), Tol4) && SamePoint(c->P2(), A.P2(), Tol4)) ||
                          (SamePoint(c->P1(), A.P2(), Tol4) && SamePoint(c->P2(), A.P1(), Tol4));
      if (covers) {
        A.Mark();
        frameOn = true;
        markGroup.AddMarked(&A);
      }
      result.Add(std::move(c), covers ? &A : nullptr);
    }
  }
  TBox marked;
  MarkedExtents(marked);
  if (frameOn) host_->FrameAround(marked);
  host_->Redraw();
}

namespace {

// Cells of side `tol` for the open-end search. Keys are clamped far beyond
// any drawing, which keeps them ordered: points within tol of each other
// lie in neighbouring (or the same) cells.
std::int64_t CellOf(double v, double tol, bool low) {
  constexpr double kLimit = 4611686018427387904.0;  // 2^62
  const double c = std::floor(v / tol);
  if (std::isnan(c)) return low ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
  if (c <= -kLimit) return -static_cast<std::int64_t>(kLimit);
  if (c >= kLimit) return static_cast<std::int64_t>(kLimit);
  return static_cast<std::int64_t>(c);
}

struct EndPoint {
  std::int64_t cx, cy;
  TPointD p;
  std::uint32_t owner;  // position of the member in scan order
  std::uint32_t which;  // 2 · owner for its start point, + 1 for its end point
};

}  // namespace

void TCadLayout::FindOpenEnds(TMarkerList& result) {
  result.Clear();
  const double tol = CurrentModelSettings().chainTolerance;
  std::vector<TCadObj*> all;
  for (TCadGroup* layer : layers_) {
    if (!layer->IsVisible()) continue;
    layer->ForEachMember([&](TCadObj& m) { all.push_back(&m); });
  }
  // With no positive tolerance nothing meets: every end is open. A point
  // that is not finite is never within the tolerance of another.
  const bool searchable = tol > 0;
  std::vector<EndPoint> points;
  if (searchable) {
    points.reserve(2 * all.size());
    for (std::uint32_t k = 0; k < all.size(); ++k) {
      const TPointD ends[2] = {all[k]->GetStartPoint(), all[k]->GetEndPoint()};
      for (std::uint32_t w = 0; w < 2; ++w) {
        const TPointD p = ends[w];
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
        points.push_back({CellOf(p.x, tol, true), CellOf(p.y, tol, true), p, k, 2 * k + w});
      }
    }
    std::sort(points.begin(), points.end(),
              [](const EndPoint& a, const EndPoint& b) { return a.cx != b.cx ? a.cx < b.cx : a.cy < b.cy; });
  }
  // Each point's column (the run of points with its cx), found once.
  const std::size_t n = points.size();
  std::vector<std::uint32_t> columnBegin(n), columnEnd(n);
  for (std::size_t b = 0; b < n;) {
    std::size_t e = b + 1;
    while (e < n && points[e].cx == points[b].cx) ++e;
    for (std::size_t j = b; j < e; ++j) {
      columnBegin[j] = static_cast<std::uint32_t>(b);
      columnEnd[j] = static_cast<std::uint32_t>(e);
    }
    b = e;
  }
  // Whether each point meets another member's point. In its own column the
  // candidates lie right next to it; other columns in reach are searched by
  // their rows.
  std::vector<char> met(2 * all.size(), 0);
  for (std::size_t i = 0; i < n; ++i) {
    const EndPoint& q = points[i];
    const std::int64_t x0 = CellOf(q.p.x - tol, tol, true), x1 = CellOf(q.p.x + tol, tol, false);
    const std::int64_t y0 = CellOf(q.p.y - tol, tol, true), y1 = CellOf(q.p.y + tol, tol, false);
    auto meets = [&](std::size_t j) { return points[j].owner != q.owner && SamePoint(q.p, points[j].p, tol); };
    bool found = false;
    for (std::size_t j = i; !found && j-- > columnBegin[i] && points[j].cy >= y0;) found = meets(j);
    for (std::size_t j = i + 1; !found && j < columnEnd[i] && points[j].cy <= y1; ++j) found = meets(j);
    auto searchColumn = [&](std::size_t b, std::size_t e) {
      const auto first = points.begin() + static_cast<std::ptrdiff_t>(b);
      const auto last = points.begin() + static_cast<std::ptrdiff_t>(e);
      const auto row = std::lower_bound(first, last, y0, [](const EndPoint& pt, std::int64_t y) { return pt.cy < y; });
      std::size_t j = static_cast<std::size_t>(row - points.begin());
      for (; !found && j < e && points[j].cy <= y1; ++j) found = meets(j);
    };
    for (std::size_t e = columnBegin[i]; !found && e > 0 && points[e - 1].cx >= x0; e = columnBegin[e - 1])
      searchColumn(columnBegin[e - 1], e);
    for (std::size_t b = columnEnd[i]; !found && b < n && points[b].cx <= x1; b = columnEnd[b])
      searchColumn(b, columnEnd[b]);
    met[q.which] = found;
  }
  for (std::uint32_t k = 0; k < all.size(); ++k) {
    const TCadObj& m = *all[k];
    if (dynamic_cast<const TCadCirc*>(&m)) continue;
    if (!met[2 * k]) result.Add(std::make_unique<TMarker>(m.GetStartPoint()));
    if (!met[2 * k + 1]) result.Add(std::make_unique<TMarker>(m.GetEndPoint()));
  }
}

// ---------------------------------------------------------------------------
// Slots
// ---------------------------------------------------------------------------

double TCadLayout::DistanceTo(TPointD p) const {
  double best = FarValue;
  for (const TCadGroup* layer : layers_)
    if (layer->IsVisible()) best = std::min(best, layer->DistanceTo(p));
  return best;
}

bool TCadLayout::ClassAccepts(const TCadObj& other) const { return dynamic_cast<const TCadLayout*>(&other) != nullptr; }

void TCadLayout::MemberChanged(TCadObj& member, TChange change) {
  // A layer's own extents or number: nothing to follow.
  if (member.Owner() == this) return;
  TLayerIndex* li = IndexOf(member.Owner());
  if (!li) return;  // not a layer's member (an outline of a character, a found part)
  switch (change) {
    case TChange::Inserted: li->Inserted(member); break;
    case TChange::Geometry: li->Changed(member); break;
    case TChange::Removing: li->Removing(member); break;
    case TChange::Layer: break;
  }
}

}  // namespace qm
