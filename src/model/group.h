#pragma once
// TCadGroup: a named, coloured entity holding other entities; every layer
// is one. TEditGroup and TMarkGroup list entities without owning them.
//
// A plain group owns its members (TExList). The edit and mark groups keep
// a TRefList instead, so an entity freed anywhere drops out of them by
// itself. The group operations (drawing, extents, marking, transforms) walk
// whichever list the group has.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/object.h"
#include "model/refs.h"

namespace qm {

// Member counts per class.
struct TClassCounts {
  int lines = 0;
  int arcs = 0;
  int circles = 0;
  bool operator==(const TClassCounts&) const = default;
};

// What ScaleXYMarked did.
struct TScaleXYReport {
  int scaled = 0;       // scaled in place
  int replaced = 0;     // replaced by approximating entities (and deleted)
  int notScaled = 0;    // could not be scaled (ScaleXY answered a negative count)
  bool operator==(const TScaleXYReport&) const = default;
};

class TCadGroup : public TCadObj {
 public:
  // A visible group with the empty extent and no members.
  TCadGroup(TCadObj* owner, std::int16_t colorIndex, std::string_view name);
  ~TCadGroup() override;

  std::int16_t ColorIndex() const { return colorIndex_; }
  void SetColorIndex(std::int16_t index) { colorIndex_ = index; }
  // At most 255 bytes, as stored in drawings.
  const std::string& Name() const { return name_; }
  void SetName(std::string_view name);

  // The owned members, in drawing order (empty for the edit and mark groups).
  const TExList<TCadObj>& Members() const { return members_; }
  // True for the edit and mark groups, which only refer to their entities.
  bool Refers() const { return referred_ != nullptr; }
  // The number of members (owned or referred).
  int MemberCount() const;
  TClassCounts CountByClass() const;
  // Calls f(member) for every member in order.
  template <class F>
  void ForEachMember(F&& f) const;
  // The members in order (owned or referred).
  std::vector<TCadObj*> MemberList() const;

  // Inserts after `after` (appends when null or not a member), widens the
  // extents, makes this group the owner, and clears the prototype state the
  // entity may carry (Kind, ofPreview, chain marks). A marked entity is also
  // added to `markGroup`. A character is not taken: characters live in the
  // layout's text; it stays in `entity` and the answer is null. On a group
  // that only refers, nothing is inserted.
  TCadObj* InsertMember(std::unique_ptr<TCadObj>&& entity, const TCadObj* after = nullptr,
                        TMarkGroup* markGroup = nullptr);
  // Frees the member (a referring group only drops it); recomputes the
  // extents when `recalc`. Every list that refers to it lets go, whether or
  // not `markGroup` is given. False when it is not a member.
  bool DeleteMember(TCadObj* entity, TMarkGroup* markGroup = nullptr, bool recalc = true);
  // Takes the member out without freeing it (its Owner becomes null).
  std::unique_ptr<TCadObj> ExtractMember(TCadObj* entity);
  // Frees every marked member in one pass, then recomputes the extents.
  // Answers the number freed.
  int DeleteMarked();
  // Extents over all (or the marked) members of a visible group. False when
  // the group is hidden or nothing counted; a visible group with nothing to
  // count stores the empty extent, so its extents never go stale.
  bool RecalcExtents(bool onlyMarked, TBox* box = nullptr);
  void TransformMarked(double dx, double dy, double factor);
  TScaleXYReport ScaleXYMarked(TMarkGroup* markGroup, double dx, double dy, double sx, double sy);

  // ---- slots -----------------------------------------------------------------
  void DrawDirection(TCanvas& canvas, std::int16_t mode) override;
  void Draw(TCanvas& canvas, std::int16_t mode, std::int16_t fill) override;
  std::int32_t DrawAnimated(TCanvas& canvas, std::int32_t phase) override;
  void Reverse() override {}
  double WindingAngle(double x, double y) const override;
  TBox GetExtents() const override { return {P1(), P2()}; }
  void Mark() override;
  void Unmark() override;
  void ClearVisited() override;
  bool MatchEnd(TPointD, std::int16_t, TPointD&, std::int16_t&) const override { return false; }
  double DistanceTo(TPointD p) const override;
  // A deep copy for an owning group (members cloned); null for a group
  // that only refers.
  std::unique_ptr<TCadObj> Clone() const override;
  bool InFrame(const TCanvas& frame, bool entirely) const override;
  void Transform(double dx, double dy, double factor) override;
  std::int32_t ScaleXY(TCadGroup* group, TMarkGroup* markGroup, double dx, double dy, double sx,
                       double sy) override;
  void Move(double dx, double dy) override;
  void Rotate(double cx, double cy, double angle) override;
  void Scale(double cx, double cy, double factor) override;
  void Mirror(double x1, double y1, double x2, double y2) override;
  void LayerRemoved() override;
  double Length() const override { return 0; }
  bool ClassAccepts(const TCadObj& other) const override;

 protected:
  // For the edit and mark groups: the members are the entities of `list`.
  void ReferTo(TRefList* list) { referred_ = list; }
  TRefList* Referred() const { return referred_; }
  // Stores new extents; tells the owner when they changed.
  void StoreExtents(const TBox& box);

 private:
  TScaleXYReport ScaleXYMembers(bool onlyMarked, TMarkGroup* markGroup, double dx, double dy, double sx, double sy);

  std::int16_t colorIndex_ = 0;
  std::string name_;
  TExList<TCadObj> members_;
  TRefList* referred_ = nullptr;
};

// The entities an edit dialog works on, drawn with a moving dashed outline.
class TEditGroup : public TCadGroup {
 public:
  explicit TEditGroup(TCadObj* owner = nullptr);
  ~TEditGroup() override;

  std::int32_t Phase() const { return phase_; }
  // Lists the entity (not owned) and sets its ofPreview.
  void AddEdited(TCadObj* entity);
  // Clears ofPreview on every listed entity, empties the list (nothing is
  // freed) and recomputes the extents (now empty).
  void ClearEdited();
  // True when every listed entity is of the class of `entity` or derived
  // from it (also for an empty list).
  bool AllOfClass(const TCadObj& entity) const;
  // For a live entity (see TRefList::Contains).
  bool Contains(const TCadObj* entity) const { return edited_.Contains(entity); }
  // One animation step.
  void Tick(TCanvas& canvas);

 private:
  TRefList edited_;
  std::int32_t phase_ = 0;
};

// The marked entities of the drawing (not owned).
class TMarkGroup : public TCadGroup {
 public:
  explicit TMarkGroup(TCadObj* owner = nullptr);
  ~TMarkGroup() override;

  // Lists the entity; false when it is listed already.
  bool AddMarked(TCadObj* entity);
  // Drops the entity when listed (never frees).
  bool RemoveMarked(const TCadObj* entity);
  // Empties the list (nothing is freed) and recomputes the extents.
  void ClearMarked();
  // For a live entity (see TRefList::Contains).
  bool Contains(const TCadObj* entity) const { return marked_.Contains(entity); }

 private:
  TRefList marked_;
};

template <class F>
void TCadGroup::ForEachMember(F&& f) const {
  if (referred_) {
    referred_->ForEach(f);
    return;
  }
  for (TCadObj* m : members_) f(*m);
}

}  // namespace qm
