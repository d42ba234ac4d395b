#include "model/spatial_index.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/group.h"

namespace qm {

bool IsProperBox(const TBox& b) {
  return std::isfinite(b.Min.x) && std::isfinite(b.Min.y) && std::isfinite(b.Max.x) && std::isfinite(b.Max.y) &&
         b.Min.x <= b.Max.x && b.Min.y <= b.Max.y;
}

namespace {

constexpr float kFloatMax = std::numeric_limits<float>::max();
constexpr float kInf = std::numeric_limits<float>::infinity();

float Down(double v) {
  if (std::isnan(v)) return std::numeric_limits<float>::quiet_NaN();
  if (v > kFloatMax) return kFloatMax;
  if (v < -kFloatMax) return -kInf;
  const float f = static_cast<float>(v);
  return static_cast<double>(f) > v ? std::nextafter(f, -kInf) : f;
}

float Up(double v) {
  if (std::isnan(v)) return std::numeric_limits<float>::quiet_NaN();
  if (v > kFloatMax) return kInf;
  if (v < -kFloatMax) return -kFloatMax;
  const float f = static_cast<float>(v);
  return static_cast<double>(f) < v ? std::nextafter(f, kInf) : f;
}

// Whether removing `old` can change the union: it reaches one of its edges
// (or is no proper box, which the union may have taken in any way). The
// rounded box reaches at least as far as the exact one, so the answer errs
// only towards recomputing.
bool Touches(const TFloatBox& old, const TBox& u) {
  return !old.Proper() || old.x1 <= u.Min.x || old.y1 <= u.Min.y || old.x2 >= u.Max.x || old.y2 >= u.Max.y;
}

double CentreX(const TFloatBox& b) { return static_cast<double>(b.x1) * 0.5 + static_cast<double>(b.x2) * 0.5; }
double CentreY(const TFloatBox& b) { return static_cast<double>(b.y1) * 0.5 + static_cast<double>(b.y2) * 0.5; }

TFloatBox MergeFloat(TFloatBox a, const TFloatBox& b) {
  a.x1 = std::min(a.x1, b.x1);
  a.y1 = std::min(a.y1, b.y1);
  a.x2 = std::max(a.x2, b.x2);
  a.y2 = std::max(a.y2, b.y2);
  return a;
}

// Sort-tile-recursive packing of one level: the elements are reordered into
// runs of kFan that are close together; answers the runs' boxes and ranges.
template <class T, class Node, class BoxOf>
std::vector<Node> Pack(std::vector<T>& v, BoxOf boxOf, std::uint32_t fan) {
  const std::size_t n = v.size();
  const std::size_t groups = (n + fan - 1) / fan;
  const std::size_t slices = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(groups))));
  const std::size_t perSlice = slices * fan;
  std::sort(v.begin(), v.end(), [&](const T& a, const T& b) { return CentreX(boxOf(a)) < CentreX(boxOf(b)); });
  for (std::size_t s = 0; s < n; s += perSlice) {
    const auto first = v.begin() + static_cast<std::ptrdiff_t>(s);
    const auto last = v.begin() + static_cast<std::ptrdiff_t>(std::min(n, s + perSlice));
    std::sort(first, last, [&](const T& a, const T& b) { return CentreY(boxOf(a)) < CentreY(boxOf(b)); });
  }
  std::vector<Node> nodes;
  nodes.reserve(groups);
  for (std::size_t i = 0; i < n; i += fan) {
    Node node;
    node.first = static_cast<std::uint32_t>(i);
    node.count = static_cast<std::uint32_t>(std::min<std::size_t>(fan, n - i));
    node.box = boxOf(v[i]);
    for (std::size_t k = i + 1; k < i + node.count; ++k) node.box = MergeFloat(node.box, boxOf(v[k]));
    nodes.push_back(node);
  }
  return nodes;
}

}  // namespace

TFloatBox TFloatBox::Outward(const TBox& b) { return {Down(b.Min.x), Down(b.Min.y), Up(b.Max.x), Up(b.Max.y)}; }

bool TFloatBox::Proper() const {
  return std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2) && x1 <= x2 && y1 <= y2;
}

// ---------------------------------------------------------------------------
// TBoxTree
// ---------------------------------------------------------------------------

void TBoxTree::Build(std::vector<Item> items) {
  items_ = std::move(items);
  levels_.clear();
  if (items_.empty()) return;
  levels_.push_back(Pack<Item, Node>(items_, [](const Item& i) -> const TFloatBox& { return i.box; }, kFan));
  while (levels_.back().size() > kFan) {
    std::vector<Node> below = std::move(levels_.back());
    levels_.pop_back();
    std::vector<Node> above =
        Pack<Node, Node>(below, [](const Node& x) -> const TFloatBox& { return x.box; }, kFan);
    levels_.push_back(std::move(below));
    levels_.push_back(std::move(above));
  }
}

void TBoxTree::Clear() {
  items_.clear();
  levels_.clear();
}

// ---------------------------------------------------------------------------
// TSlotMap
// ---------------------------------------------------------------------------

std::size_t TSlotMap::Home(const TCadObj* key) const {
  // Fibonacci hashing of the address (allocations are aligned, so the low
  // bits carry nothing).
  const std::uint64_t h = (reinterpret_cast<std::uintptr_t>(key) >> 4) * 0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>(h >> 20) & (table_.size() - 1);
}

std::uint32_t TSlotMap::Find(const TCadObj* key) const {
  if (table_.empty() || !key) return kNone;
  const std::size_t mask = table_.size() - 1;
  for (std::size_t i = Home(key);; i = (i + 1) & mask) {
    const Entry& e = table_[i];
    if (e.key == key) return e.slot;
    if (!e.key) return kNone;
  }
}

void TSlotMap::Grow(std::size_t capacity) {
  std::vector<Entry> old = std::move(table_);
  table_.assign(capacity, Entry{});
  size_ = 0;
  for (const Entry& e : old)
    if (e.key) Set(e.key, e.slot);
}

void TSlotMap::Reserve(std::size_t n) {
  std::size_t capacity = 16;
  while (capacity * 7 < n * 10) capacity *= 2;
  if (capacity > table_.size()) Grow(capacity);
}

void TSlotMap::Set(const TCadObj* key, std::uint32_t slot) {
  if (!key) return;
  if (10 * (size_ + 1) > 7 * table_.size()) Grow(table_.empty() ? 16 : table_.size() * 2);
  const std::size_t mask = table_.size() - 1;
  for (std::size_t i = Home(key);; i = (i + 1) & mask) {
    Entry& e = table_[i];
    if (e.key == key) {
      e.slot = slot;
      return;
    }
    if (!e.key) {
      e = {key, slot};
      ++size_;
      return;
    }
  }
}

void TSlotMap::Erase(const TCadObj* key) {
  if (table_.empty() || !key) return;
  const std::size_t mask = table_.size() - 1;
  std::size_t i = Home(key);
  while (table_[i].key != key) {
    if (!table_[i].key) return;
    i = (i + 1) & mask;
  }
  // Backward-shift deletion: later entries of the same run move up so that
  // no lookup stops early at the hole.
  std::size_t hole = i;
  for (std::size_t j = (i + 1) & mask; table_[j].key; j = (j + 1) & mask) {
    const std::size_t home = Home(table_[j].key);
    // Movable when its home is not in the cyclic range (hole, j].
    const bool inRange = hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
    if (!inRange) {
      table_[hole] = table_[j];
      hole = j;
    }
  }
  table_[hole] = Entry{};
  --size_;
}

void TSlotMap::Clear() {
  table_.clear();
  size_ = 0;
}

// ---------------------------------------------------------------------------
// TLayerIndex
// ---------------------------------------------------------------------------

void TLayerIndex::Reset() {
  built_ = false;
  orderStale_ = treeStale_ = false;
  slots_.clear();
  where_.Clear();
  byOrder_.clear();
  pending_.clear();
  tree_.Clear();
  live_ = dead_ = 0;
  union_ = EmptyBox;
  unionExact_ = true;
}

bool TLayerIndex::InSync() const {
  return !built_ || static_cast<int>(live_) == layer_->MemberCount();
}

void TLayerIndex::Build() {
  Reset();
  const int n = layer_->MemberCount();
  slots_.reserve(static_cast<std::size_t>(n));
  byOrder_.reserve(static_cast<std::size_t>(n));
  where_.Reserve(static_cast<std::size_t>(n));
  std::uint32_t i = 0;
  layer_->ForEachMember([&](TCadObj& m) {
    const TBox box = m.GetExtents();
    Slot s;
    s.box = TFloatBox::Outward(box);
    s.entity = &m;
    s.order = i;
    slots_.push_back(s);
    where_.Set(&m, i);
    byOrder_.push_back(i);
    union_ = MergeBoxes(union_, box);
    ++i;
  });
  live_ = slots_.size();
  built_ = true;
  treeStale_ = true;
}

void TLayerIndex::Ensure() {
  if (!built_ || !InSync()) Build();
  if (orderStale_ && !Reorder()) Build();
}

bool TLayerIndex::Reorder() {
  byOrder_.clear();
  std::uint32_t i = 0;
  bool ok = true;
  layer_->ForEachMember([&](TCadObj& m) {
    const std::uint32_t s = where_.Find(&m);
    if (s == TSlotMap::kNone) {
      ok = false;
      return;
    }
    slots_[s].order = i++;
    byOrder_.push_back(s);
  });
  orderStale_ = false;
  return ok && i == live_;
}

void TLayerIndex::RebuildTree() {
  // Compact the slots into member order, then pack the tree over them.
  std::vector<Slot> slots;
  slots.reserve(live_);
  for (std::uint32_t s : byOrder_)
    if (slots_[s].entity) slots.push_back(slots_[s]);
  slots_ = std::move(slots);
  where_.Clear();
  where_.Reserve(slots_.size());
  byOrder_.resize(slots_.size());
  pending_.clear();
  dead_ = 0;
  std::vector<TBoxTree::Item> items;
  items.reserve(slots_.size());
  for (std::uint32_t i = 0; i < slots_.size(); ++i) {
    Slot& s = slots_[i];
    s.order = i;
    s.pending = -1;
    byOrder_[i] = i;
    where_.Set(s.entity, i);
    if (s.box.Proper())
      items.push_back({s.box, i});
    else
      AddPending(i);
  }
  tree_.Build(std::move(items));
  treeStale_ = false;
}

void TLayerIndex::AddPending(std::uint32_t s) {
  Slot& slot = slots_[s];
  if (slot.pending >= 0) return;
  slot.pending = static_cast<std::int32_t>(pending_.size());
  pending_.push_back(s);
}

void TLayerIndex::DropPending(std::uint32_t s) {
  Slot& slot = slots_[s];
  if (slot.pending < 0) return;
  const std::uint32_t last = pending_.back();
  pending_[static_cast<std::size_t>(slot.pending)] = last;
  slots_[last].pending = slot.pending;
  pending_.pop_back();
  slot.pending = -1;
}

void TLayerIndex::CheckBudget() {
  if (treeStale_) return;
  if (pending_.size() > 64 + live_ / 16 || dead_ > 64 + live_ / 4) {
    // Too much to scan on every query: rebuild on the next one. Until then
    // the slots' boxes are all that is kept current.
    for (std::uint32_t s : pending_) slots_[s].pending = -1;
    pending_.clear();
    treeStale_ = true;
  }
}

void TLayerIndex::Shrinking(const TFloatBox& old) {
  if (unionExact_ && Touches(old, union_)) unionExact_ = false;
}

void TLayerIndex::Inserted(TCadObj& entity) {
  if (!built_) return;
  if (where_.Find(&entity) != TSlotMap::kNone) {
    Changed(entity);
    return;
  }
  const std::uint32_t s = static_cast<std::uint32_t>(slots_.size());
  const TBox box = entity.GetExtents();
  Slot slot;
  slot.box = TFloatBox::Outward(box);
  slot.entity = &entity;
  slots_.push_back(slot);
  where_.Set(&entity, s);
  ++live_;
  if (unionExact_) union_ = MergeBoxes(union_, box);
  // Appended (the usual case) keeps the order; anything else is sorted out
  // from the member list when the order is next needed.
  if (!orderStale_ && layer_->Members().Last() == &entity) {
    slots_[s].order = static_cast<std::uint32_t>(byOrder_.size());
    byOrder_.push_back(s);
  } else {
    orderStale_ = true;
  }
  if (!treeStale_) AddPending(s);
  CheckBudget();
}

void TLayerIndex::Changed(TCadObj& entity) {
  if (!built_) return;
  const std::uint32_t s = where_.Find(&entity);
  if (s == TSlotMap::kNone) return;
  Slot& slot = slots_[s];
  const TFloatBox old = slot.box;
  const TBox box = entity.GetExtents();
  slot.box = TFloatBox::Outward(box);
  Shrinking(old);
  if (unionExact_) union_ = MergeBoxes(union_, box);
  // Within its old box it is still within its tree box: the tree finds it.
  if (!treeStale_ && slot.pending < 0 && !(slot.box.Proper() && slot.box.Within(old))) {
    AddPending(s);
    CheckBudget();
  }
}

void TLayerIndex::Removing(TCadObj& entity) {
  if (!built_) return;
  const std::uint32_t s = where_.Find(&entity);
  if (s == TSlotMap::kNone) return;
  Slot& slot = slots_[s];
  Shrinking(slot.box);
  DropPending(s);
  slot.entity = nullptr;
  where_.Erase(&entity);
  --live_;
  ++dead_;
  if (live_ == 0) {
    union_ = EmptyBox;
    unionExact_ = true;
  }
  CheckBudget();
}

void TLayerIndex::Query(const TBox& q, std::vector<Hit>& out) {
  Ensure();
  if (treeStale_) RebuildTree();
  tree_.Query(q, [&](std::uint32_t s) {
    const Slot& slot = slots_[s];
    // Pending slots are tested below, with their current box.
    if (slot.entity && slot.pending < 0 && slot.box.Meets(q)) out.push_back({slot.order, slot.entity});
  });
  for (std::uint32_t s : pending_) {
    const Slot& slot = slots_[s];
    if (slot.entity && (!slot.box.Proper() || slot.box.Meets(q))) out.push_back({slot.order, slot.entity});
  }
}

TBox TLayerIndex::Extents() {
  Ensure();
  if (!unionExact_) {
    // The slots' boxes are rounded: the exact union comes from the members.
    union_ = EmptyBox;
    for (std::uint32_t s : byOrder_)
      if (slots_[s].entity) union_ = MergeBoxes(union_, slots_[s].entity->GetExtents());
    unionExact_ = true;
  }
  return union_;
}

}  // namespace qm
