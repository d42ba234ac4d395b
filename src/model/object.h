#pragma once
// TCadObj: the base of every drawing entity (lines, arcs, circles, later
// characters, the trim/blend/chamfer tools and the layout), with its flag
// word, the process-wide id counter and the virtual operations every entity
// class shares, declared in their fixed order.
//
// Geometry is reached through accessors so that every change goes through
// one path: Changed() tells the owner (MemberChanged), which by default
// passes the news up to its own owner. A layout can thus keep an index over
// its entities' extents without the entities knowing about it.
#include <cstdint>
#include <limits>
#include <memory>

#include "geom/geometry.h"
#include "model/construct.h"
#include "model/exlist.h"
#include "model/markers.h"

namespace qm {

class TCanvas;
class TCadGroup;
class TEditGroup;
class TMarkGroup;
class TRefNode;
class TEditHost;
// Defined by the drawing file and common geometry code.
class TDrawingReader;
class TDrawingWriter;
class TCommonGroup;

// Flag bits, low byte of Flags. The high byte is the construction Kind.
inline constexpr std::uint16_t ofVisible = 0x01;
inline constexpr std::uint16_t ofMarked = 0x02;
inline constexpr std::uint16_t ofChainFwd = 0x04;
inline constexpr std::uint16_t ofChainBack = 0x08;
inline constexpr std::uint16_t ofVisited = 0x10;
inline constexpr std::uint16_t ofPreview = 0x20;
inline constexpr std::uint16_t ofShowDir = 0x40;
inline constexpr std::uint16_t ofInChar = 0x80;
inline constexpr std::uint16_t ofKindMask = 0xFF00;
// What an entity may not carry into a group: the prototype's Kind, its
// preview state and chain marks.
inline constexpr std::uint16_t ofNotInserted = ofKindMask | ofPreview | ofChainFwd | ofChainBack;

// Answer of the slots whose implementation belongs to later parts of the
// program (file reading and writing, common geometry export, the curved
// entities' unequal scaling). Negative, so a count result reads as "not done".
inline constexpr std::int32_t NotAvailable = std::numeric_limits<std::int32_t>::min();

// Values from the program's configuration that entities need. One
// process-wide instance; the application copies its configuration into it
// at start-up and after every reload.
struct ModelSettings {
  double chainTolerance = 0.001;  // Chain_Tol: end points within it match (MatchEnd)
  double unitFactor = 1;          // 1 for millimetres, 25.4 for inches (smallest arc radius)
};
ModelSettings& CurrentModelSettings();

// What changed, for MemberChanged.
enum class TChange : std::uint8_t {
  Geometry,  // points, radius, bulge (every mutating operation)
  Layer,     // the Layer field
  Inserted,  // the entity became a member of the group
  Removing,  // the entity is about to leave the group (freed or extracted)
};

// Class tags of the drawing file.
inline constexpr std::int16_t TagLine = 1001;
inline constexpr std::int16_t TagArc = 1002;
inline constexpr std::int16_t TagCircle = 1003;

class TCadObj {
 public:
  TCadObj(std::int16_t layer, TCadObj* owner, std::uint16_t flags, double x1, double y1, double x2, double y2);
  TCadObj& operator=(const TCadObj&) = delete;
  // Frees the entity: every list and field that refers to it lets go first.
  virtual ~TCadObj();

  // ---- the virtual operations, in their fixed order --------------------
  // 0, 1: the drawing file. NotAvailable until the file code exists.
  virtual std::int32_t ReadFrom(TDrawingReader& reader);
  virtual std::int32_t WriteTo(TDrawingWriter& writer) const;
  // 2: with ofShowDir set, an arrowhead at the end of the outline.
  virtual void DrawDirection(TCanvas& canvas, std::int16_t mode);
  // 3: base prepares the pen; classes stroke their outline. mode < 0: onto
  // the screen as well; fill = 1: also feed the canvas' fill buffer.
  virtual void Draw(TCanvas& canvas, std::int16_t mode, std::int16_t fill);
  // 4: Draw(canvas, −666, 0).
  virtual void DrawNow(TCanvas& canvas);
  // 5: stroke with the canvas' moving dashes; answers the chords drawn.
  virtual std::int32_t DrawAnimated(TCanvas& canvas, std::int32_t phase);
  // 6: base swaps P1 and P2 and exchanges ofChainFwd and ofChainBack.
  virtual void Reverse();
  // 7: signed angle subtended at (x, y); ±2π summed over a closed contour
  // around the point, 0 outside.
  virtual double WindingAngle(double x, double y) const;
  // 8: axis-aligned bounding box.
  virtual TBox GetExtents() const = 0;
  // 9–11
  virtual void Mark();
  virtual void Unmark();
  virtual bool IsMarked() const;
  // 12–14
  virtual void Show();
  virtual void Hide();
  virtual bool IsVisible() const;
  // 15–17
  virtual void SetChainFwd();
  virtual void ClearChainFwd();
  virtual bool IsChainFwd() const;
  // 18–20
  virtual void SetChainBack();
  virtual void ClearChainBack();
  virtual bool IsChainBack() const;
  // 21–23
  virtual void SetVisited();
  virtual void ClearVisited();
  virtual bool IsVisited() const;
  // 24: visible and (marked or chained).
  virtual bool IsHighlighted() const;
  // 25: chain step. endCode 4 (matched P1, next = P2) or 8 (matched P2,
  // next = P1); false when chained already, on another layer, or no match.
  virtual bool MatchEnd(TPointD point, std::int16_t layer, TPointD& next, std::int16_t& endCode) const;
  // 26, 27
  virtual TPointD GetStartPoint() const;
  virtual TPointD GetEndPoint() const;
  // 28–30: snap points.
  virtual void SnapEnd(TPointD& p) const;
  virtual void SnapMid(TPointD& p) const;
  virtual TPointD SnapCenter() const;
  // 31: all intersections of the two outlines (carriers): the marker list
  // is emptied, one marker per point appended in the order found; `first`
  // is the first point (full precision). True when there is at least one.
  virtual bool Intersect(const TCadObj& other, TMOptions& markers, TPointD& first) const;
  // 32: shortest distance from the point to the outline.
  virtual double DistanceTo(TPointD p) const = 0;
  // 33: same class, geometry, Layer, Flags and Owner; a new Id.
  virtual std::unique_ptr<TCadObj> Clone() const = 0;
  // 34: build entities from the clicks (construct.h); new entities are
  // appended to `result`.
  virtual TConstructResult Construct(TClicks fixed, TClicks tangent, TExList<TCadObj>& result, TPointD cursor,
                                     TClicks normal, const TConstructInput& input);
  // 35: perpendiculars from the point onto the outline: count 0, 1 or 2.
  virtual std::int32_t NormalFrom(TPointD p, TSegment& s1, TSegment& s2) const;
  // 36, 37
  virtual bool GetArcData(TArcRec& arc) const;
  virtual bool GetLineData(TSegment& seg) const;
  // 38: open the entity's edit dialog through the main window.
  virtual void Edit(TEditHost& host, TEditGroup& container);
  // 39–41: pieces and candidates for the trim, break and chamfer tools:
  // the number appended, or −2 (TrimPieces) / −4 (ChamferLines).
  virtual std::int16_t SplitBy(const TCadObj& other, TExList<TCadObj>& result) const;
  virtual std::int16_t TrimPieces(const TCadObj& other, TPointD cursor, TExList<TCadObj>& result) const;
  virtual std::int16_t ChamferLines(const TCadObj& other, double distance, TExList<TCadObj>& result) const;
  // 42: same class-specific geometry within Eps2 and same Layer.
  virtual bool SameAs(const TCadObj& other) const;
  // 43: copy geometry, Layer and Flags from an entity of the same class.
  virtual void Assign(const TCadObj& source);
  // 44, 45: after a blend or chamfer, join this entity to it.
  virtual void ExtendTo(const TCadObj& blendArc);
  virtual void TrimAt(const TCadObj& chamferLine, const TCadObj& other);
  // 46: lies in the canvas' band (the rubber band or the marking frame).
  virtual bool InFrame(const TCanvas& frame, bool entirely) const;
  // 47: p := p·factor + (dx, dy); lengths scale by |factor|.
  virtual void Transform(double dx, double dy, double factor);
  // 48: x := x·sx + dx, y := y·sy + dy. 0: scaled in place; n > 0: n
  // replacement entities were inserted after this one into `group` (the
  // caller deletes this one); negative (NotAvailable): not scaled.
  virtual std::int32_t ScaleXY(TCadGroup* group, TMarkGroup* markGroup, double dx, double dy, double sx, double sy);
  // 49–52
  virtual void Move(double dx, double dy);
  virtual void Rotate(double cx, double cy, double angle);
  virtual void Scale(double cx, double cy, double factor);
  virtual void Mirror(double x1, double y1, double x2, double y2);
  // 53: append the common-geometry equivalent. NotAvailable for now.
  virtual std::int32_t ExportCommon(TCommonGroup& target) const;
  // 54: base decrements Layer.
  virtual void LayerRemoved();
  // 55
  virtual bool IsOn(TPointD p, double tolerance) const;
  // 56: distance along the entity to the point, measured from the start
  // (which ≥ 0) or from the end (which < 0). Lines, arcs and circles agree.
  virtual double DistanceAlong(std::int32_t which, TPointD p) const;
  // 57: the point at distance d along a line from its start (which ≥ 0) or
  // end (which < 0); answers the distance used. Lines only.
  virtual double PointAtDistance(bool clamp, std::int32_t which, double d, TPointD& p) const;
  // 58: cut in two at the point: this keeps the first part, the answer is
  // the rest (null when nothing was cut).
  virtual std::unique_ptr<TCadObj> BreakAt(TPointD p);
  // 59: the part two coincident entities share, as a new entity, or null.
  virtual std::unique_ptr<TCadObj> Overlap(const TCadObj& other) const;
  // 60: nearest point of the carrier (whole line, whole circle).
  virtual void ProjectPoint(TPointD& p) const;
  // 61: base: distance P1–P2.
  virtual double Length() const;
  // ---- end of the fixed order --------------------------------------------

  // A member of this object changed (or is inserted or removing). Default:
  // pass it on to the owner. A layout overrides it to follow its entities
  // (for example an index over their extents). Entities that only name a
  // group as Owner without being its member (clones, construction
  // candidates) report too, so a follower ignores entities it does not
  // hold. Removing comes while the entity is still whole and listed.
  virtual void MemberChanged(TCadObj& member, TChange change);
  // Characters answer true (their outline entities have them as Owner).
  virtual bool IsCharacter() const { return false; }
  // Called on a character when one of its outline entities is marked or
  // unmarked while the character is not visited: spread the state.
  virtual void SpreadMark(bool /*marked*/) {}
  // True when `other` is of this object's class or derived from it.
  virtual bool ClassAccepts(const TCadObj& other) const = 0;

  // ---- fields --------------------------------------------------------------
  TCadObj* Owner() const { return owner_; }
  void SetOwner(TCadObj* owner) { owner_ = owner; }
  // Owner when it is a group, otherwise the owner's owner when that is one.
  TCadGroup* OwningGroup() const;

  const TPointD& P1() const { return p1_; }
  const TPointD& P2() const { return p2_; }
  void SetP1(TPointD p) { SetPoints(p, p2_); }
  void SetP2(TPointD p) { SetPoints(p1_, p); }
  void SetPoints(TPointD p1, TPointD p2);

  std::int16_t Layer() const { return layer_; }
  void SetLayer(std::int16_t layer);

  std::uint16_t Flags() const { return flags_; }
  void SetFlags(std::uint16_t flags) { flags_ = flags; }
  bool HasFlag(std::uint16_t bit) const { return (flags_ & bit) != 0; }
  void SetFlag(std::uint16_t bit, bool on) { flags_ = on ? (flags_ | bit) : (flags_ & ~bit); }
  std::uint8_t Kind() const { return static_cast<std::uint8_t>(flags_ >> 8); }
  void SetKind(std::uint8_t kind) { flags_ = static_cast<std::uint16_t>((flags_ & 0xFF) | (kind << 8)); }

  std::int32_t Id() const { return id_; }

  // ---- the id counter ------------------------------------------------------
  // Ids are drawn from a process-wide counter: the first entity gets 1.
  static std::int32_t IdCounter() { return idCounter_; }
  // The New command starts numbering again.
  static void ResetIdCounter() { idCounter_ = 0; }
  // An id read from a drawing replaces the new one; the counter is raised
  // to it when it is larger, so later entities get larger ids.
  void AdoptStoredId(std::int32_t id);
  // Flags as a drawing stores them: ofInChar when the owner is a character.
  std::uint16_t FlagsForWriting() const;
  // Flags read from a drawing: ofInChar is cleared, and when it was set the
  // entity is detached from any owner (its character re-attaches it).
  void AdoptStoredFlags(std::uint16_t flags);

  // The first node of the chain of references to this entity (refs.h).
  const TRefNode* FirstReference() const { return refs_; }

 protected:
  // A copy draws a new Id and is referred to by nothing.
  TCadObj(const TCadObj& other);
  // Tells the owner about a change of this entity.
  void Changed(TChange change = TChange::Geometry) {
    if (owner_) owner_->MemberChanged(*this, change);
  }
  // Sets the points without telling anyone (the caller calls Changed()).
  void StorePoints(TPointD p1, TPointD p2) {
    p1_ = p1;
    p2_ = p2;
  }
  // Base pen preparation of Draw.
  void PreparePen(TCanvas& canvas, std::int16_t mode) const;
  // The fields copied into a new entity made from this one (pieces,
  // candidates): same Layer, Owner and Flags.
  void CopyHeaderTo(TCadObj& target) const;

 private:
  friend class TRefNode;
  static std::int32_t NextId();
  inline static std::int32_t idCounter_ = 0;

  TCadObj* owner_ = nullptr;
  TPointD p1_, p2_;
  std::int16_t layer_ = 0;
  std::uint16_t flags_ = 0;
  std::int32_t id_ = 0;
  TRefNode* refs_ = nullptr;  // chain of references to this entity
};

// A short arrowhead: two strokes of `pixels` from `tip`, at the directions
// back ± π/8 (back: the direction pointing back along the outline).
void DrawArrowhead(TCanvas& canvas, std::int16_t mode, bool highlighted, TPointD tip, double back, double pixels = 7);

}  // namespace qm
