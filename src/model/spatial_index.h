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
// the exact union of the members' extents (the layer's extents), and a
// TBoxTree over the boxes as they were when it was last built. The boxes
// are kept in single precision, rounded outwards: a quarter of the memory,
// and still boxes that hold their entities. Entities whose box grew out
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

// A box in single precision, rounded outwards, so that it holds the box it
// was made from. Coordinates beyond the single range become infinite (such a
// box is not proper: its entity is always a candidate).
struct TFloatBox {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  static TFloatBox Outward(const TBox& b);
  bool Proper() const;
  bool Meets(const TBox& q) const { return x1 <= q.Max.x && q.Min.x <= x2 && y1 <= q.Max.y && q.Min.y <= y2; }
  bool Meets(const TFloatBox& q) const { return x1 <= q.x2 && q.x1 <= x2 && y1 <= q.y2 && q.y1 <= y2; }
  bool Within(const TFloatBox& o) const { return x1 >= o.x1 && y1 >= o.y1 && x2 <= o.x2 && y2 <= o.y2; }
  TBox ToBox() const { return {{x1, y1}, {x2, y2}}; }
};

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
    TFloatBox box;
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
    TFloatBox box;
    std::uint32_t first = 0, count = 0;  // children in the level below (items for level 0)
  };
  std::vector<Item> items_;
  std::vector<std::vector<Node>> levels_;  // levels_[0] over the items; the last is the root level
};

template <class F>
void TBoxTree::Query(const TBox& q, F&& f) const {
  if (levels_.empty()) return;
  // Depth-first; a node is pushed only when its box meets q. The stack never
  // holds more than kFan entries per level.
  struct Entry {
    std::uint32_t level, node;
  };
  Entry stack[kFan * 12];
  std::size_t top = 0;
  const std::uint32_t rootLevel = static_cast<std::uint32_t>(levels_.size() - 1);
  const std::vector<Node>& roots = levels_.back();
  for (std::uint32_t i = 0; i < roots.size(); ++i)
    if (roots[i].box.Meets(q)) stack[top++] = {rootLevel, i};
  while (top > 0) {
    const Entry e = stack[--top];
    const Node& n = levels_[e.level][e.node];
    if (e.level == 0) {
      for (std::uint32_t i = n.first; i < n.first + n.count; ++i)
        if (items_[i].box.Meets(q)) f(items_[i].id);
      continue;
    }
    const std::vector<Node>& below = levels_[e.level - 1];
    for (std::uint32_t i = n.first; i < n.first + n.count; ++i)
      if (below[i].box.Meets(q)) stack[top++] = {e.level - 1, i};
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
  // Calls f(member, box) for every member in member order; the box holds the
  // member's extents (rounded outwards to single precision).
  template <class F>
  void ForEachInOrder(F&& f);
  std::size_t Count() const { return live_; }

  // Whether the index still matches the layer (it always does unless a
  // change went unreported); a mismatch makes the next use rebuild.
  bool InSync() const;

 private:
  // A member's box; while the tree is current, a slot is either in the tree
  // with a box within its tree box, or pending.
  struct Slot {
    TFloatBox box;
    TCadObj* entity = nullptr;  // null once removed
    std::uint32_t order = 0;
    std::int32_t pending = -1;  // position in pending_, −1 when not there
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
  void Shrinking(const TFloatBox& old);

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
    if (slot.entity) f(*slot.entity, slot.box.ToBox());
  }
}

}  // namespace qm
