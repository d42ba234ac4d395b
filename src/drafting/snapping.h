#pragma once
// Point picking and snapping: turning a click in the view into a drafting
// input — a point snapped to an entity's end, middle or centre, to an
// intersection, to the grid or to typed coordinates, or an entity to be
// touched tangentially or met at right angles — and collecting the clicks
// of one construction for the tool's prototype.
//
//   TIdentifier   the click collector: the prototype and the clicks so far
//   TEOptions     the alternatives a construction offers for choice
//   TSnapper      PickPoint with the snap modes, the entry boxes, the
//                 intersection choice and the mid-distance mode
//
// Entities the clicks refer to are held through TEntityRef, so a click
// never points at a freed entity; tangent and normal clicks hold their own
// clone. Option markers keep the full-precision intersection point beside
// their single-precision display copy, and the click uses the full one.
#include <cstdint>
#include <memory>

#include "drafting/input_boxes.h"
#include "geom/geometry.h"
#include "model/construct.h"
#include "model/exlist.h"
#include "model/layout.h"
#include "model/markers.h"
#include "model/object.h"
#include "model/refs.h"

namespace qm {

namespace view {
class TOpenCanvas;
}

// The snap modes; the mode number is also the click type.
namespace snap {
inline constexpr int None = 0;  // marking: no point
inline constexpr int Free = 1;
inline constexpr int End = 2;
inline constexpr int Mid = 3;
inline constexpr int Inter = 4;
inline constexpr int Center = 5;
inline constexpr int Tangent = 6;
inline constexpr int Normal = 7;
inline constexpr int XY = 8;
inline constexpr int Grid = 9;
}  // namespace snap

// Pixel sizes of the picking.
inline constexpr double kPickAperturePixels = 10;       // FindNearest around a click
inline constexpr double kCandidateAperturePixels = 4;   // choosing (and hovering) an alternative
inline constexpr std::int32_t kMarkerPixels = 5;        // a picked point's marker
inline constexpr std::int32_t kOptionMarkerPixels = 10; // an intersection offered for choice

// One collected click. A fixed click refers to the entity its point was
// snapped to (or none); a tangent or normal click owns a clone of the
// clicked entity.
struct TClickRecord {
  double X = 0, Y = 0;
  std::int16_t Seq = 0;
  TEntityRef<TCadObj> snapped;     // fixed clicks
  std::unique_ptr<TCadObj> clone;  // tangent and normal clicks
  const TCadObj* Entity() const { return clone ? clone.get() : snapped.get(); }
  TPointD Point() const { return {X, Y}; }
};

// The click collector.
class TIdentifier {
 public:
  TIdentifier() = default;
  TIdentifier(const TIdentifier&) = delete;
  TIdentifier& operator=(const TIdentifier&) = delete;

  // Frees every click, forgets the last one, counts from 0 again, and frees
  // the prototype when asked.
  void Reset(bool freePrototype);
  // The prototype becomes a clone of the entity. The clone names no owner:
  // its Layer chooses the layer its results go into, so a layer or drawing
  // replaced under an armed tool leaves nothing dangling.
  void SetPrototype(const TCadObj& entity);
  const TCadObj* Prototype() const { return prototype_.get(); }
  bool HasPrototype() const { return prototype_ != nullptr; }

  // Types 1–5, 8 and 9: a fixed click (the entity the point was snapped to,
  // or none); 6: a tangent click, 7: a normal click, each holding a clone of
  // the entity (which must be given). The counter goes up and becomes the
  // click's Seq. False (nothing added) for any other type or a tangent or
  // normal click without an entity.
  bool AddClick(int type, const TCadObj* entity, double x, double y);

  // Construct on the prototype with the clicks so far; the results are
  // appended to `result`. Without a prototype: 0 (more clicks needed).
  TConstructResult Build(TExList<TCadObj>& result, TPointD cursor, const TConstructInput& input) const;

  std::int16_t Counter() const { return counter_; }
  const TExList<TClickRecord>& FixedClicks() const { return fixed_; }
  const TExList<TClickRecord>& TangentClicks() const { return tangent_; }
  const TExList<TClickRecord>& NormalClicks() const { return normal_; }
  const TClickRecord* LastClick() const { return last_; }

 private:
  std::unique_ptr<TCadObj> prototype_;
  const TClickRecord* last_ = nullptr;  // one of the lists' records
  TExList<TClickRecord> fixed_, tangent_, normal_;
  std::int16_t counter_ = 0;
};

// The alternatives of a construction, owned, with the count of how many of
// the first ones belong to the first of two trimmed entities.
class TEOptions {
 public:
  TExList<TCadObj> Items;
  std::int16_t FirstCount = 0;

  int Count() const { return Items.Count(); }
  bool Empty() const { return Items.Empty(); }
  // Every alternative drawn (its Draw, pen red, dotted on the screen when
  // mode < 0) with a circle of 5 pixels around its mid snap point; the one
  // at `highlight` with a pen 3 pixels wide.
  void DrawAlternatives(TCanvas& canvas, std::int16_t mode, int highlight = -1);
  void ClearPreview();
  // ClearPreview, then frees them all.
  void Clear();
  // Among the alternatives closer to the clicked world point than the
  // aperture (in pixels), the one whose mid snap point is nearest the click
  // (strictly nearer replaces); −1 when none.
  int PickAlternative(const view::TOpenCanvas& view, int px, int py, double aperturePixels) const;
};

// The grid the grid snap picks from (drawn by the view's grid).
class TGridSnap {
 public:
  virtual ~TGridSnap() = default;
  virtual bool Shown() const = 0;
  // The grid point nearest the point (the point itself while hidden).
  virtual TPointD GridPoint(TPointD p) const = 0;
};

// What PickPoint consults.
class TSnapHost {
 public:
  virtual ~TSnapHost() = default;
  virtual int CurrentSnap() const = 0;          // the tool box's SnapMode
  virtual bool MidDistanceOn() const = 0;       // the tool box's MidDistMode
  virtual void EndMidDistance() = 0;            // SetMidDistMode (off)
  virtual int ActiveToolCode() const = 0;       // the tool box's ToolCode
  virtual bool EditDialogOpen() const = 0;      // no markers are shown then
  virtual TPickToolState PickState() const = 0; // what the text pick rule looks at
  // A pick found no entity: the no-entry cursor.
  virtual void PickMissed() = 0;
  // A refusal with its message ("Cannot Tangent To This Entity").
  virtual void RefusePick(const char* text) = 0;
};

inline constexpr const char* kCannotTangentToThis = "Cannot Tangent To This Entity";

class TSnapper {
 public:
  TSnapper(TCadLayout& layout, const view::TOpenCanvas& view, const InputBoxes& boxes, TSnapHost& host);
  TSnapper(const TSnapper&) = delete;
  TSnapper& operator=(const TSnapper&) = delete;

  void SetGrid(const TGridSnap* grid) { grid_ = grid; }

  // A click at the view pixel while a drafting tool is active. True when a
  // click was taken (added to the collector); `point` is then its point.
  //  - With two or more option markers pending, the click chooses the first
  //    marker whose pixel size exceeds its pixel distance from the click;
  //    its full-precision point becomes a click of type 4. A click on no
  //    marker is ignored.
  //  - Otherwise the snap mode gives the point (or, for tangent and normal,
  //    the entity); an entity mode that finds nothing sets the miss cursor.
  //    The entry boxes adjust the points of modes 1–5, 8 and 9.
  //  - Outside the mid-distance mode the point is added to the collector;
  //    in it, the point is collected as a marker until the collector's
  //    counter + 2 markers exist, when the midpoint of the last two (their
  //    full-precision points) becomes a click of type 1 and the mode ends.
  //  - With `show`, the taken point gets a marker (unless an edit dialog is
  //    open); pending option markers are shown by the view's overlay.
  bool PickPoint(int px, int py, bool show, TPointD& point);

  // The entity nearest the world point within the aperture (in pixels):
  // found when strictly closer than the aperture, the first found winning a
  // tie (earlier layer, then earlier member). Without an entity the text is
  // searched as the tool state allows.
  TCadObj* FindNearest(TPointD p, double aperturePixels = kPickAperturePixels);

  // The index of the option marker a click at the pixel chooses, −1 none.
  int OptionMarkerAt(int px, int py) const;

  // The intersection snap's first entity.
  const TCadObj* FirstIntersectionEntity() const { return first_.get(); }
  // Forgets the intersection snap's first entity.
  void ClearPickMemory() { first_.reset(); }

  TIdentifier Identifier;
  TMarkerList Markers;       // picked points shown on screen
  TMOptions OptionMarkers;   // intersections offered for choice

 private:
  // The point of the snap mode; false when no click results.
  bool SnapPoint(int mode, TPointD world, TPointD& p, const TCadObj*& entity);
  void AddMarker(TPointD p, bool show);

  TCadLayout& layout_;
  const view::TOpenCanvas& view_;
  const InputBoxes& boxes_;
  TSnapHost& host_;
  const TGridSnap* grid_ = nullptr;
  TEntityRef<TCadObj> first_;
};

}  // namespace qm
