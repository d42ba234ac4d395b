#pragma once
// Spatial lookups over entity extents.
//
// TBoxTree is a static R-tree packed by sort-tile-recursive over a set of
// boxes: built once in O(n log n), it answers "which boxes meet this box" in
// O(log n + k).
//
// TLayerIndex keeps one layer's members findable by their extents while the
// layer changes. It holds every member's current box (so drawing can cull
// without asking the entity), the members' order (picks break ties by it),
// the exact union of the boxes (the layer's extents), and a TBoxTree over
// the boxes as they were when it was last built. Entities whose box grew out
// of their tree box since, and entities added since, sit in a short list
// that every query scans; when that list, or the number of removed
// entities, grows past a fraction of the layer the tree is rebuilt on the
// next query. A change therefore costs O(1), a query O(log n + changes), and
// the rebuilds O(log n) per change amortised.
//
// The index is told about changes by the layout (MemberChanged): Inserted,
// Geometry and Removing. Queries only narrow the candidates; callers still
// apply their exact test to every candidate, so a box that is larger than it
// need be costs time, never a different answer. Boxes that are not finite or
// not proper (minimum above maximum) can bound nothing: such members are
// always candidates.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/geometry.h"

namespace qm {

class TCadObj;
class TCadGroup;

// a and b share at least a point (edges included).
inline bool BoxesMeet(const TBox& a, const TBox& b) {
  return a.Min.x <= b.Max.x && b.Min.x <= a.Max.x && a.Min.y <= b.Max.y && b.Min.y <= a.Max.y;
}

// A box that can stand for its entity in a lookup: finite and proper.
bool IsProperBox(const TBox& b);

// The box grown by m on every side.
inline TBox Widened(const TBox& b, double m) { return {{b.Min.x - m, b.Min.y - m}, {b.Max.x + m, b.Max.y + m}}; }

// Merges as a group merges its members' extents (minimum of minima,
// maximum of maxima).
inline TBox MergeBoxes(TBox a, const TBox& b) {
  a.Min.x = b.Min.x < a.Min.x ? b.Min.x : a.Min.x;
  a.Min.y = b.Min.y < a.Min.y ? b.Min.y : a.Min.y;
  a.Max.x = a.Max.x < b.Max.x ? b.Max.x : a.Max.x;
  a.Max.y = a.Max.y < b.Max.y ? b.Max.y : a.Max.y;
  return a;
}

class TBoxTree {
 public:
  struct Item {
    TBox box;
    std::uint32_t id;
  };

  // Builds over the items (their boxes must be proper).
  void Build(std::vector<Item> items);
  void Clear();
  std::size_t Size() const { return items_.size(); }

  // Calls f(id) for every item whose box meets q.
  template <class F>
  void Query(const TBox& q, F&& f) const;

 private:
  static constexpr std::uint32_t kFan = 16;
  struct Node {
    TBox box;
    std::uint32_t first = 0, count = 0;  // children in the level below (items for level 0)
  };
  std::vector<Item> items_;
  std::vector<std::vector<Node>> levels_;  // levels_[0] over the items; the last is the root level
  mutable std::vector<std::uint64_t> stack_;
};

template <class F>
void TBoxTree::Query(const TBox& q, F&& f) const {
  if (levels_.empty()) return;
  // Entries: level in the high 32 bits, node index in the low ones.
  stack_.clear();
  const std::uint64_t top = levels_.size() - 1;
  for (std::uint32_t i = 0; i < levels_.back().size(); ++i) stack_.push_back(top << 32 | i);
  while (!stack_.empty()) {
    const std::uint64_t e = stack_.back();
    stack_.pop_back();
    const std::size_t level = static_cast<std::size_t>(e >> 32);
    const Node& n = levels_[level][static_cast<std::uint32_t>(e)];
    if (!BoxesMeet(n.box, q)) continue;
    if (level == 0) {
      for (std::uint32_t i = n.first; i < n.first + n.count; ++i)
        if (BoxesMeet(items_[i].box, q)) f(items_[i].id);
    } else {
      for (std::uint32_t i = n.first; i < n.first + n.count; ++i)
        stack_.push_back(static_cast<std::uint64_t>(level - 1) << 32 | i);
    }
  }
}

// Entity pointer → slot number, open addressing (the index looks members up
// on every change, so this must be cheap and compact).
class TSlotMap {
 public:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
  std::uint32_t Find(const TCadObj* key) const;
  void Set(const TCadObj* key, std::uint32_t slot);
  void Erase(const TCadObj* key);
  void Clear();
  void Reserve(std::size_t n);
  std::size_t Size() const { return size_; }

 private:
  struct Entry {
    const TCadObj* key = nullptr;
    std::uint32_t slot = 0;
  };
  std::size_t Home(const TCadObj* key) const;
  void Grow(std::size_t capacity);
  std::vector<Entry> table_;
  std::size_t size_ = 0;
};

class TLayerIndex {
 public:
  // A candidate of a query: the member and its position key (increasing in
  // member order).
  struct Hit {
    std::uint32_t order;
    TCadObj* entity;
  };

  explicit TLayerIndex(const TCadGroup& layer) : layer_(&layer) {}
  TLayerIndex(const TLayerIndex&) = delete;
  TLayerIndex& operator=(const TLayerIndex&) = delete;

  // ---- what happened to the layer's members ----------------------------
  void Inserted(TCadObj& entity);
  void Changed(TCadObj& entity);
  void Removing(TCadObj& entity);
  // Forgets everything; the next use builds from the members again.
  void Reset();

  // ---- lookups (each brings the index up to date first) ------------------
  // Appends every member whose box meets q (and every member without a
  // proper box), in no particular order.
  void Query(const TBox& q, std::vector<Hit>& out);
  // The union of the members' boxes, as the layer's RecalcExtents would
  // compute it; the empty extent when there are none.
  TBox Extents();
  // Calls f(member, box) for every member in member order.
  template <class F>
  void ForEachInOrder(F&& f);
  std::size_t Count() const { return live_; }

  // Whether the index still matches the layer (it always does unless a
  // change went unreported); a mismatch makes the next use rebuild.
  bool InSync() const;

 private:
  struct Slot {
    TBox box;
    TCadObj* entity = nullptr;      // null once removed
    std::uint32_t order = 0;
    std::int32_t pending = -1;      // position in pending_, −1 when not there
    bool inTree = false;
  };

  // Slots, boxes and order up to date (the tree is brought up to date by
  // Query only).
  void Ensure();
  void Build();
  bool Reorder();
  void RebuildTree();
  void AddPending(std::uint32_t s);
  void DropPending(std::uint32_t s);
  void CheckBudget();
  void Shrinking(const TBox& old);

  const TCadGroup* layer_;
  bool built_ = false;
  bool orderStale_ = false;
  bool treeStale_ = false;
  std::vector<Slot> slots_;
  TSlotMap where_;
  std::vector<std::uint32_t> byOrder_;  // slots in member order (removed ones stay until a rebuild)
  std::vector<std::uint32_t> pending_;  // slots a query must test directly
  TBoxTree tree_;
  std::size_t live_ = 0, dead_ = 0;
  TBox union_ = EmptyBox;
  bool unionExact_ = true;
};

template <class F>
void TLayerIndex::ForEachInOrder(F&& f) {
  Ensure();
  for (std::uint32_t s : byOrder_) {
    Slot& slot = slots_[s];
    if (slot.entity) f(*slot.entity, slot.box);
  }
}

}  // namespace qm
