#pragma once
// The mouse state machine of the drawing view: how every press, move,
// release and double click is routed by the drafting tool box's state and
// the window's, how drafting clicks are collected and committed, how
// marking and deleting work, and how Reset Activity steps the state back
// and records the tool's work as one undo step.
//
// Feed it the view's mouse events in view pixels; it does the view's own
// part (the rubber band, the pan) first, as the view's handlers run before
// the window's. Everything the window shows or asks comes in through
// TDraftingWindow (drafting_host.h), so it runs headless.
//
// The window:
//   - forwards left press / move / release / double click and the right
//     button here instead of to the view;
//   - calls Escape for the Escape key and "&Reset Activity";
//   - calls EndDrafting before Undo, Redo and Open (and New), and
//     DrawingReplaced after the drawing was replaced;
//   - calls ActiveLayerChanged after a tab change;
//   - returns PickToolState() from its TLayoutHost::PickToolState;
//   - calls AttachToView once, so the candidates and markers are drawn.
#include <cstdint>
#include <memory>
#include <string>

#include "drafting/draft_toolbox.h"
#include "drafting/drafting_host.h"
#include "drafting/snapping.h"
#include "model/group.h"
#include "model/layout.h"
#include "model/refs.h"

namespace qm {

namespace view {
class TOpenCanvas;
}

struct TMouseMods {
  bool ctrl = false;
  bool shift = false;
};

class TDraftingController : public TDraftToolBoxHost, public TSnapHost {
 public:
  // All references must outlive the controller. The controller wires itself
  // into the tool box (as its host, with `window` as its UI).
  TDraftingController(TCadLayout& layout, TMarkGroup& markGroup, TEditGroup& editGroup, view::TOpenCanvas& view,
                      TDraftToolBox& toolBox, TDraftingWindow& window);
  ~TDraftingController() override;
  TDraftingController(const TDraftingController&) = delete;
  TDraftingController& operator=(const TDraftingController&) = delete;

  // The marking frame (none: a frame that is never shown) and the grid.
  void SetFrame(TMarkingFrameControl* frame);
  void SetGrid(const TGridSnap* grid);
  // Installs the view's overlays for the candidates, the point markers and
  // the option markers; DetachFromView removes them.
  void AttachToView();
  void DetachFromView();

  // ---- events --------------------------------------------------------------------
  void LeftPress(int x, int y, TMouseMods mods = {});
  void MouseMove(int x, int y, TMouseMods mods = {});
  void LeftRelease(int x, int y, TMouseMods mods = {});
  void DoubleClick(int x, int y, TMouseMods mods = {});
  void RightPress(int x, int y);
  void RightRelease(int x, int y);
  void Escape() { ResetActivity(true); }
  // "Zoom &Window": the next proper band zooms.
  void StartZoomWindow();

  // ---- the window's operations ---------------------------------------------------
  // One drafting click at the pixel: collect, commit, or choose a candidate.
  void ClickInView(int x, int y);
  void ResetActivity(bool redraw) override;
  void ClearDrafting(bool redraw) override;
  void BuildPrototype(int layer, int code) override;
  bool DeleteMarkedCommand() override;
  // "&Delete": the delete tool is selected; one step when marked entities
  // were deleted, none otherwise.
  bool DeleteItem() { return toolBox_.SelectDeleteTool(); }
  void UnmarkAll() override;
  // Before Undo, Redo, Open and New: every drafting state that refers to the
  // drawing's entities goes, nothing is recorded (the collector's clicks,
  // markers, the intersection choice, candidates, trim clones, the blend and
  // chamfer memory, the edit group and its dialogs, a frame drag).
  void EndDrafting();
  // After the drawing was replaced: the tool's prototype is rebuilt on the
  // active layer.
  void DrawingReplaced();
  // After a tab change: the prototype is rebuilt on the new layer.
  void ActiveLayerChanged();
  // What the layout's text pick looks at: the trim tool skips text on both
  // its clicks, the other editing tools, editing and state 33 always.
  TPickToolState PickToolState() const;

  // ---- state -----------------------------------------------------------------------
  int ToolState() const override { return toolState_; }
  void SetToolState(int state) override { toolState_ = state; }
  bool EditMode() const { return editMode_; }
  bool ZoomWindowMode() const { return zoomWindowMode_; }
  bool DoubleClicked() const { return doubleClicked_; }
  bool DeleteBand() const { return deleteBand_; }
  bool FrameDragSnap() const { return frameDragSnap_; }
  int HandleCode() const { return handleCode_; }
  int CandidateIndex() const { return candidateIndex_; }
  TCursor Cursor() const { return cursor_; }
  TCursor PreviousCursor() const { return previousCursor_; }
  TPointD FrameCorner1() const { return frameCorner1_; }
  TPointD FrameCorner2() const { return frameCorner2_; }

  TSnapper& Snapper() { return snapper_; }
  const TIdentifier& Identifier() const { return snapper_.Identifier; }
  const TMarkerList& Markers() const { return snapper_.Markers; }
  const TMOptions& OptionMarkers() const { return snapper_.OptionMarkers; }
  const TEOptions& Candidates() const { return candidates_; }
  TDraftToolBox& ToolBox() const { return toolBox_; }
  // What Construct reads from the boxes.
  TConstructInput ConstructInput() const;

  // ---- for the trim, blend and chamfer tools -------------------------------------------
  // Copies of the entities a trim took out of their layers while its choice
  // is pending: put back by Reset Activity, freed when a piece is chosen.
  void HoldTrimClones(std::unique_ptr<TCadObj> first, std::unique_ptr<TCadObj> second);
  // The pair of the last blend or chamfer, for the automatic trimming.
  void SetLastPair(TCadObj* first, TCadObj* second);

  // ---- TDraftToolBoxHost ----------------------------------------------------------------
  int ActiveTab() const override;
  void SetEditModeFlag(bool on) override { editMode_ = on; }
  bool ChangePending() const override;
  bool RecordAction(std::string_view name) override;
  void SetCursor(TCursor cursor) override;
  void ResetCollector() override { snapper_.Identifier.Reset(false); }

  // ---- TSnapHost --------------------------------------------------------------------------
  int CurrentSnap() const override { return toolBox_.SnapMode(); }
  bool MidDistanceOn() const override { return toolBox_.MidDistMode(); }
  void EndMidDistance() override { toolBox_.SetMidDistMode(false); }
  int ActiveToolCode() const override { return toolBox_.ToolCode(); }
  bool EditDialogOpen() const override;
  TPickToolState PickState() const override { return PickToolState(); }
  void PickMissed() override;
  void RefusePick(const char* text) override { Refuse(text); }

 private:
  // A refused construction or pick: the message (when there is one) in an
  // "Error" box, then the clicks go and the tool stays.
  void Refuse(const char* text);
  void DropClicksKeepTool();
  void Commit(std::unique_ptr<TCadObj> entity, bool drawNow);
  void ChooseCandidate(int index);
  void PickingStatePress(int x, int y);
  void EditModePress(int x, int y, TMouseMods mods);
  void DeletePress(int x, int y, bool& arm);
  bool FrameHandlePress(int x, int y, TMouseMods mods);
  void FrameDropRelease(int x, int y);
  void MarkingRelease(int x, int y, TMouseMods mods);
  void DeleteBandRelease(int x, int y, TMouseMods mods);
  void AnchorRelease(int x, int y);
  // The band is marked as the mark tool marks it; true when anything is
  // marked afterwards.
  bool MarkBand(int x, int y, TMouseMods mods);
  void FrameToMarked();
  // Records the pending change under the tool's name, when there is one.
  void RecordPendingFirst();
  void SetTemporaryCursor(TCursor cursor);
  void RestoreCursor();
  void ArmBand(int x, int y, bool arm);
  TPointD World(int x, int y) const;
  void Redraw();
  void Refresh();
  void DrawOverlays();
  bool MarkButtonDown() const { return toolBox_.IsDown(TDraftButton::btnMark); }

  TCadLayout& layout_;
  TMarkGroup& markGroup_;
  TEditGroup& editGroup_;
  view::TOpenCanvas& view_;
  TDraftToolBox& toolBox_;
  TDraftingWindow& window_;
  TMarkingFrameControl* frame_;
  TSnapper snapper_;
  TEOptions candidates_;

  int toolState_ = kToolStateNormal;
  bool editMode_ = false;
  bool zoomWindowMode_ = false;
  bool doubleClicked_ = false;
  bool deleteBand_ = false;
  bool frameDragSnap_ = false;
  int handleCode_ = 0;
  int lastHandleCode_ = 0;
  int candidateIndex_ = -1;
  TCursor cursor_ = TCursor::Arrow;
  TCursor previousCursor_ = TCursor::Arrow;
  TCursor zoomCursor_ = TCursor::Arrow;
  TPointD frameCorner1_{}, frameCorner2_{};
  std::unique_ptr<TCadObj> trimClone1_, trimClone2_;
  TEntityRef<TCadObj> lastFirst_, lastSecond_;
  bool attached_ = false;
};

}  // namespace qm
