#pragma once
// References to entities that cannot dangle.
//
// Every list or field that refers to an entity without owning it (the mark
// group, the edit group, chains, the click collector's entity, the trim
// tool's entities, an overlap's Owner) holds its reference through a
// TRefNode. Each entity keeps the nodes that refer to it in an intrusive
// doubly linked chain (one pointer in the entity); when the entity is freed
// it unlinks every node and tells its holder (TargetDied), in O(1) per
// reference. Deleting n referred entities therefore costs O(n), and nothing
// ever points at a freed entity.
//
// Two ready-made holders:
//   TEntityRef<T>  a single reference field that becomes null;
//   TRefList       an ordered list that drops the entity.
// Other holders derive their own node type from TRefNode.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace qm {

class TCadObj;

class TRefNode {
 public:
  TCadObj* Target() const { return target_; }
  // The object that holds this node (a list, a tool), for lookups by holder.
  const void* Holder() const { return holder_; }
  // The next node referring to the same target.
  const TRefNode* NextOnTarget() const { return next_; }

 protected:
  explicit TRefNode(const void* holder = nullptr) : holder_(holder) {}
  TRefNode(const TRefNode&) = delete;
  TRefNode& operator=(const TRefNode&) = delete;
  virtual ~TRefNode() { Unlink(); }

  // Refer to `target` (null: refer to nothing); replaces the old target.
  void Link(TCadObj* target);
  void Unlink();
  void SetHolder(const void* holder) { holder_ = holder; }

  // The target is being freed. The node is already unlinked (Target() is
  // null); `dying` is given for identification only: it is mid-destruction,
  // so nothing may be called on it.
  virtual void TargetDied(TCadObj* dying) = 0;

 private:
  friend class TCadObj;
  TCadObj* target_ = nullptr;
  TRefNode* prev_ = nullptr;
  TRefNode* next_ = nullptr;
  const void* holder_ = nullptr;
};

// A single non-owning reference that becomes null when the entity is freed.
template <class T>
class TEntityRef final : public TRefNode {
 public:
  TEntityRef() = default;
  explicit TEntityRef(T* target) { Link(target); }
  TEntityRef(const TEntityRef& other) : TRefNode() { Link(other.get()); }
  TEntityRef& operator=(const TEntityRef& other) {
    if (this != &other) Link(other.get());
    return *this;
  }
  TEntityRef& operator=(T* target) {
    Link(target);
    return *this;
  }
  ~TEntityRef() override = default;

  // Static cast is sound: only a T was ever linked.
  T* get() const { return static_cast<T*>(Target()); }
  T* operator->() const { return get(); }
  explicit operator bool() const { return Target() != nullptr; }
  void reset() { Link(nullptr); }

 private:
  void TargetDied(TCadObj*) override {}
};

// An ordered list of entities it does not own. An entity is listed at most
// once; a freed entity leaves the list by itself. Removal (by the entity or
// by its death) is O(1) and leaves a hole that iteration skips; holes are
// squeezed out when entities are added, so add nothing while iterating.
class TRefList {
 public:
  TRefList() = default;
  TRefList(const TRefList&) = delete;
  TRefList& operator=(const TRefList&) = delete;
  ~TRefList() { Clear(); }

  // Appends; false when already listed (or null).
  bool Add(TCadObj* entity);
  // Takes the (live) entity off the list; false when it was not listed.
  bool Remove(const TCadObj* entity);
  // `entity` must be alive: the lookup goes through the entity's own chain
  // of references. To ask about an entity that may have been freed, hold a
  // TEntityRef to it and test that instead.
  bool Contains(const TCadObj* entity) const { return Find(entity) != nullptr; }
  void Clear();

  std::size_t Count() const { return count_; }
  bool Empty() const { return count_ == 0; }

  // Positions 0 .. SlotCount() − 1 in list order; a slot is null where an
  // entity left the list.
  std::size_t SlotCount() const { return slots_.size(); }
  TCadObj* SlotAt(std::size_t i) const { return slots_[i] ? slots_[i]->Target() : nullptr; }

  // The listed entities in order.
  std::vector<TCadObj*> Items() const;

  template <class F>
  void ForEach(F&& f) const {
    for (std::size_t i = 0; i < slots_.size(); ++i)
      if (TCadObj* e = SlotAt(i)) f(*e);
  }

 private:
  struct Node final : TRefNode {
    TRefList* list = nullptr;
    std::size_t index = 0;
    void TargetDied(TCadObj*) override { list->Release(this); }
    using TRefNode::Link;
    using TRefNode::SetHolder;
    using TRefNode::Unlink;
  };

  Node* Find(const TCadObj* entity) const;
  void Release(Node* node);
  void Compact();

  std::vector<Node*> slots_;
  std::deque<Node> store_;  // stable addresses
  std::vector<Node*> free_;
  std::size_t count_ = 0;
  std::size_t holes_ = 0;
};

}  // namespace qm
