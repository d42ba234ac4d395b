#pragma once
// TCadLayout: the drawing. An ordered list of layers (each a TCadGroup that
// owns its entities) plus the drawing's text; it knows the active layer,
// draws everything in a fixed order, keeps the drawing's extents, finds the
// entity nearest to a point, marks by the rubber band, applies marking,
// visibility and transformations to all layers at once, and finds
// overlapping entities and open ends.
//
// Every layer has a spatial index over its members' extents (spatial_index.h)
// that follows each change the members report (MemberChanged). Picking,
// band marking and culled drawing go through it; their results are the
// same as those of scanning every member in layer and member order.
//
// The main window is reached through TLayoutHost (the layer tab strip, the
// Modified flag, undo steps, the tool state a pick consults); without a host
// the layout works on its own, which is how the tests use it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "geom/geometry.h"
#include "model/group.h"
#include "model/layout_text.h"
#include "model/markers.h"
#include "model/object.h"
#include "model/refs.h"
#include "model/spatial_index.h"

namespace qm {

class TCanvas;

// The drafting tool state a pick looks at before it falls back to the text.
struct TPickToolState {
  int toolCode = 0;               // the selected drafting tool
  bool trimHoldsEntity = false;   // the trim tool already holds a picked entity
  bool editButtonDown = false;    // the edit button of the drafting tool box
  int toolState = 0;
};

// Tool codes the pick rule names.
inline constexpr int kToolTrim = 151, kToolTrim2 = 152, kToolBlend = 153, kToolChamfer = 154;
inline constexpr int kToolStateNoText = 33;

// Whether a pick that found no entity may look at the text's characters:
// not while the trim tool holds an entity, the edit button is down, the tool
// state is 33, or the second trim, blend or chamfer tool is selected.
bool TextPickAllowed(const TPickToolState& s);

// What the layout needs of the main window. Every call has an empty default,
// so a host overrides only what it shows.
class TLayoutHost {
 public:
  virtual ~TLayoutHost() = default;
  // The drawing changed.
  virtual void SetModified() {}
  // The layer tab strip: a tab for the new layer at `index` is appended
  // (carrying the group, showing its name), given the background's colour as
  // its selected colour, selected, and the strip refreshed.
  virtual void LayerTabAdded(int /*index*/, TCadGroup& /*layer*/) {}
  // The tab of the layer at `index` goes (before the layer is freed).
  virtual void LayerTabRemoved(int /*index*/) {}
  // All tabs go (before the layers are freed).
  virtual void LayerTabsCleared() {}
  virtual void LayerTabSelected(int /*index*/) {}
  // The pop-up item "&Visible" is checked.
  virtual void LayerVisibleChecked() {}
  // Reset Activity, and the undo step of a command.
  virtual void ResetActivity(bool /*redraw*/) {}
  virtual void RecordAction(std::string_view /*name*/) {}
  // The colour a layer made for an inserted entity gets.
  virtual std::int16_t CurrentColor() const { return 0; }
  virtual TPickToolState PickToolState() const { return {}; }
  // The marking frame: hidden, or put around the given extents.
  virtual void MarkingFrameOff() {}
  virtual void FrameAround(const TBox& /*extents*/) {}
  // The drawing must be drawn again.
  virtual void Redraw() {}
};

// The common parts found by FindOverlaps. Each part is owned by the list;
// a part that covers an entity entirely has that entity as its Owner, and
// when that entity is freed (the find dialog invites the user to delete it)
// the part's Owner becomes none, so nothing ever points at a freed entity.
class TOverlapList {
 public:
  TOverlapList();
  TOverlapList(const TOverlapList&) = delete;
  TOverlapList& operator=(const TOverlapList&) = delete;
  ~TOverlapList();

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  // None outside the list.
  TCadObj* Part(int i) const;
  // The entity the part covers entirely, or none.
  TCadObj* Covered(int i) const;
  // Takes the part; `covered` becomes its Owner (when given).
  void Add(std::unique_ptr<TCadObj> part, TCadObj* covered);
  void Clear();

 private:
  struct Item;
  std::vector<std::unique_ptr<Item>> items_;
};

// Chained marking (mark mode 2) builds chains through the entities in the
// band; it comes with the chains. The layout creates one of these per
// MarkInWindow call through the factory it was given, hands it every member
// in the band in scan order, lets it bring the mark group up to date, and
// frees it (which clears its temporary chains). Without a factory, mode 2
// marks nothing.
class TChainMarking {
 public:
  virtual ~TChainMarking() = default;
  // A member in the band that is not visited; `point` is the release point.
  virtual void Treat(TCadObj& member, TCanvas& canvas, TPointD point) = 0;
  // Adds every entity of the chains built to the mark group when marked and
  // removes it otherwise; answers the number of entities handled.
  virtual int UpdateMarkGroup(TMarkGroup& markGroup) = 0;
};
class TCadLayout;
using TChainMarkingFactory = std::function<std::unique_ptr<TChainMarking>(TCadLayout&)>;

class TCadLayout : public TCadObj {
 public:
  // Empty extents, fill mode 0, no layers, empty text; unmarked and shown.
  // The host may be null (then nothing outside the layout is told); it must
  // outlive the layout or be replaced first.
  explicit TCadLayout(TLayoutHost* host = nullptr);
  ~TCadLayout() override;

  void SetHost(TLayoutHost* host);
  TLayoutHost& Host() const { return *host_; }

  // ---- layers ----------------------------------------------------------------
  int LayerCount() const { return layers_.Count(); }
  // None outside the list.
  TCadGroup* LayerAt(int index) const { return layers_.At(index); }
  // Its position, −1 when it is not a layer of this layout.
  int IndexOfLayer(const TCadObj* layer) const;
  std::int16_t ActiveLayer() const { return activeLayer_; }
  TCadGroup* CurrentLayer() const { return currentLayer_; }
  // The tab strip selected a layer: it becomes active and current (an index
  // outside the list: none).
  void SetActiveLayer(int index);

  TLayoutText& Text() const { return *text_; }
  // Replaces the text (the text module installs its own).
  void SetText(std::unique_ptr<TLayoutText> text);

  std::int16_t FillMode() const { return fillMode_; }
  void SetFillMode(std::int16_t mode) { fillMode_ = mode; }

  // Appends a layer; an empty name becomes "Layer n" with n = the number of
  // layers plus one. The new layer is visible, becomes current and active,
  // gets its tab; the drawing is modified.
  TCadGroup* AddLayer(std::string_view name, std::int16_t colorIndex);
  // The "&Add Layer" command with the colour the application chose for the
  // new layer: Reset Activity, the undo step when layers exist already, the
  // layer, the "&Visible" item.
  TCadGroup* NewLayerCommand(std::int16_t colorIndex);
  // Frees the layer's members and its text; removes the layer when it is
  // not the only one and renumbers the layers behind it. The layer before
  // (the last one when it was the first) becomes current, visible and
  // selected. False for an index outside the list.
  bool EmptyLayer(int index);

  // New and loading: frees all layers and the text; no active layer.
  void Clear();
  // Loading: appends a layer read from a drawing (with its members); its
  // number and owner are set and it gets its tab. Current and active layer
  // are left to SetActiveLayer.
  TCadGroup* AdoptLayer(std::unique_ptr<TCadGroup> layer);

  // ---- drawing ------------------------------------------------------------------
  // Each layer in order (taking its number), drawn with the layout's fill
  // mode, then the direction arrows (mode 3), then the text (mode 1). Later
  // layers paint over earlier ones, text over all geometry. Clearing the
  // surface first is the canvas owner's part (the view clears its buffer).
  // Members whose extents lie outside the canvas' window are not drawn (in
  // fill mode only those above or below it); they still take their layer's
  // number.
  void Draw(TCanvas& canvas, std::int16_t mode, std::int16_t fill) override;
  void DrawDirection(TCanvas& canvas, std::int16_t mode) override;

  // ---- extents --------------------------------------------------------------------
  // Extents of the text and of the visible layers (or of their marked
  // members); false when empty. With onlyMarked false the layers' own
  // extents are brought up to date too; the marked extents are never stored.
  bool RecalcExtents(bool onlyMarked, TBox& box);
  // RecalcExtents(false) into the layout's own P1/P2.
  bool UpdateExtents();
  // As RecalcExtents, merged with the marked text's extents.
  bool RecalcExtentsWithText(bool onlyMarked, TBox& box);
  // The union of the layer's members' extents, always current (the empty
  // extent for an empty layer or an index outside the list).
  TBox LayerExtents(int index);

  // ---- marking, visibility, transformations ---------------------------------
  void Mark() override;
  void Unmark() override;
  void ClearVisited() override;
  void ShowAll(bool visible);
  // Only marked members (and marked text) move; extents follow.
  void Transform(double dx, double dy, double factor) override;
  TScaleXYReport ScaleXYAll(double dx, double dy, double sx, double sy, TMarkGroup* markGroup = nullptr);
  // Empties the mark group and frees every marked member and the marked
  // text; answers the number of entities freed.
  int DeleteMarked(TMarkGroup& markGroup);
  // Members of all layers (characters are not counted).
  std::int32_t EntityCount() const;

  // ---- the pick and the drawing's changes ---------------------------------------
  // The member nearest to the point closer than tolerance + 1e-5, searched
  // layer by layer (hidden layers and, with a canvas, layers lying outside
  // its window are skipped; visited members are ignored); an equally near
  // member of a later layer or later in the same layer does not replace the
  // earlier one, and a member closer than 1e-11 ends the search. Without an
  // entity the text is asked, as the host's tool state allows.
  TCadObj* FindNearest(const TCanvas* canvas, double tolerance, TPointD p);
  // Takes the entity out of its layer without freeing it (the caller owns
  // it then); a character's outline entity takes its character out of the
  // text instead (answer null). Null when it is not in this drawing.
  std::unique_ptr<TCadObj> RemoveEntity(TCadObj* entity);
  // Puts a new or restored entity into the layer its Layer names, else into
  // the current layer, else into a new layer; its Owner and Layer are set,
  // the extents widened. A marked entity also joins `markGroup` when given.
  TCadObj* InsertIntoLayer(std::unique_ptr<TCadObj> entity, TMarkGroup* markGroup = nullptr);

  // ---- the band and the find commands ---------------------------------------------
  // Layer choice: 1 the current layer, 2 all layers. Mark mode: 0 entirely
  // in the band, 1 partly in it, 2 chained.
  enum : int { kLayerCurrent = 1, kLayerAll = 2 };
  enum : int { kMarkAllIn = 0, kMarkPartIn = 1, kMarkChained = 2 };
  // Toggles the marking of the members in the canvas' band (modes 0, 1) or
  // marks chains (mode 2); the mark group is rebuilt from all layers in layer
  // and member order. True when the text changed or any member of the
  // scanned layers is marked afterwards (mode 2: any entity of the chains).
  bool MarkInWindow(TCanvas& canvas, bool shift, TPointD point, int layerChoice, int markMode,
                    TMarkGroup& markGroup);
  void SetChainMarking(TChainMarkingFactory factory) { chainMarking_ = std::move(factory); }

  // Moves (or copies) the marked members of the other layers, and the marked
  // text, to the target layer. A moved member keeps its visibility and loses
  // its mark and working flags (and leaves the mark group); a copy is visible
  // and unmarked. Source, target and drawing extents follow. Answers the
  // number of entities moved or copied; −1 for a target outside the list.
  int MoveMarkedToLayer(int target, bool copy, TMarkGroup* markGroup);

  // The common parts of coincident members of the visible layers, in the
  // order of a scan over every pair; parts that cover an entity entirely
  // mark it, put it into the mark group and frame the marks.
  void FindOverlaps(TOverlapList& result, TMarkGroup& markGroup);
  // A marker at every start and end point of a member of the visible layers
  // (circles excepted) that no other member's start or end point meets
  // within the chain tolerance in x and y; start before end.
  void FindOpenEnds(TMarkerList& result);

  // Forgets every layer's index (they are rebuilt when next needed), for
  // changes that alter extents without a member reporting it (settings).
  void InvalidateIndex();

  // ---- slots ----------------------------------------------------------------------
  TBox GetExtents() const override { return {P1(), P2()}; }
  double DistanceTo(TPointD p) const override;
  // A drawing is not cloned.
  std::unique_ptr<TCadObj> Clone() const override { return nullptr; }
  bool ClassAccepts(const TCadObj& other) const override;
  void MemberChanged(TCadObj& member, TChange change) override;

 private:
  TLayerIndex* IndexOf(const TCadObj* layer);
  TLayerIndex& IndexAt(int index);
  void DrawLayer(int index, TCanvas& canvas, std::int16_t mode, std::int16_t fill);
  bool MarkedExtents(TBox& box) const;
  void Modified() { host_->SetModified(); }

  TLayoutHost* host_;
  TExList<TCadGroup> layers_;
  std::unordered_map<const TCadObj*, std::unique_ptr<TLayerIndex>> indexes_;
  std::int16_t activeLayer_ = -1;
  TCadGroup* currentLayer_ = nullptr;  // one of layers_, or none
  std::unique_ptr<TLayoutText> text_;
  std::int16_t fillMode_ = 0;
  TChainMarkingFactory chainMarking_;
  std::vector<TLayerIndex::Hit> hits_;  // scratch of the lookups
};

}  // namespace qm
