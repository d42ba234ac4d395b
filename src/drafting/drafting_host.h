#pragma once
// What the drafting controllers need of the main window, as interfaces.
//
// The drafting tool box (draft_toolbox.h) and the mouse state machine
// (drafting_controller.h) are plain C++. Everything that shows something or
// waits for the user — cursors, message boxes, modal boxes, timers, the
// layer tab strip, the undo bookkeeping and the dialogs of later tools —
// comes in through the interfaces below. The Qt window implements them; the
// tests and the script runner implement them headless. Every hook of a tool
// that is not built yet has an empty default, so a host overrides only what
// it has.
#include <cstdint>
#include <memory>
#include <string_view>

#include "geom/geometry.h"

namespace qm {

class TCadObj;
class TEditHost;

// The cursors of the drafting tools. The numbered ones are the program's
// own cursor resources (their numbers in CursorNumber); the others are the
// system's.
enum class TCursor : std::uint8_t {
  Arrow,    // system arrow
  Cross,    // system cross-hair
  NoEntry,  // system no-entry: a pick found nothing
  Help,     // system help (question mark): a choice is pending
  Finger,   // FINGER
  Finger2,  // FINGER2: one point given
  Finger3,  // FINGER3: two points given
  Hand,     // HAND: panning
  Approve,  // APPROVE: over a candidate or an option marker
  Delete,   // DELETE: the delete tool
};
// The resource number of a program cursor; 0 for the system cursors.
int CursorNumber(TCursor cursor);

// The three entity edit dialogs.
enum class TEditDialogKind : std::uint8_t { Line, Arc, Circle };

// What the drafting tool box asks of the window beyond the drafting state:
// the edit dialogs, the text tool box, the sketcher, the dialogs its buttons
// open, the marking frame's anchor and the grid.
class TDraftToolBoxUi {
 public:
  virtual ~TDraftToolBoxUi() = default;

  // The grid is shown (the grid snap button is enabled only then).
  virtual bool GridShown() const { return false; }

  // Entity edit dialogs.
  virtual bool EditDialogVisible(TEditDialogKind /*kind*/) const { return false; }
  virtual void HideEditDialog(TEditDialogKind /*kind*/) {}
  // The view shows the drawing again (without rebuilding it).
  virtual void RefreshView() {}

  // The text tool box: shown?, closed, toggled (answers whether it is shown
  // afterwards).
  virtual bool TextToolBoxVisible() const { return false; }
  virtual void CloseTextToolBox() {}
  virtual bool ToggleTextToolBox() { return false; }
  // The sketcher window: toggled (answers whether it is shown afterwards).
  virtual bool ToggleSketcher() { return false; }
  virtual bool SketcherShown() const { return false; }

  // "Polygon Definition": any dialog left from an earlier pick is freed, a
  // new one is run; the answer is its result (1 OK, 27 and 28 picking
  // requests, 2 Cancel). ApplyPolygon applies the dialog kept alive.
  virtual int RunPolygonDialog() { return 2; }
  virtual void ApplyPolygon() {}
  virtual void FreePolygonDialog() {}
  // "Hole Library": result 1 OK, 34 a pick request, else cancelled.
  virtual int RunHoleDialog() { return 2; }
  virtual void ApplyHole() {}
  virtual void FreeHoleDialog() {}
  // The find dialog, modal; OK runs the search.
  virtual void RunFindDialog() {}

  // The marking frame's anchor: the anchor button went down or up (erase it,
  // refresh, draw it when down); an anchor position item was chosen (its tag).
  virtual void AnchorButtonChanged(bool /*down*/) {}
  virtual void SetAnchorPosition(int /*tag*/) {}
  // The main window's SBDelete button takes the delete button's state.
  virtual void DeleteButtonChanged(bool /*down*/) {}
};

// What the mouse state machine asks of the window.
class TDraftingWindow : public TDraftToolBoxUi {
 public:
  // ---- undo bookkeeping (actions.h) ---------------------------------------
  virtual bool ChangePending() const = 0;
  // A change happened that is recorded later (under the tool's hint).
  virtual void NoteChange() = 0;
  virtual bool RedrawPending() const = 0;
  virtual void SetRedrawPending(bool pending) = 0;
  // One undo step under `name` (an empty name records nothing); true when
  // a step was recorded.
  virtual bool RecordAction(std::string_view name) = 0;

  // ---- feedback ------------------------------------------------------------
  virtual void CursorChanged(TCursor /*cursor*/) {}
  // A message box with the caption "Error" and an OK button.
  virtual void ShowError(std::string_view /*text*/) {}
  // Status panel 1: the mouse's world position, "(%3.4f,%3.4f)".
  virtual void ShowPosition(std::string_view /*text*/) {}
  virtual void RefreshLayerTabs() {}
  // The layer tab under a view pixel, −1 when there is none.
  virtual int TabAt(int /*x*/, int /*y*/) const { return -1; }
  // A tab change: the layer becomes the selected tab and the active layer.
  virtual void SelectLayerTab(int /*index*/) {}
  // CurrentColor: the colour of new entities (the active layer's).
  virtual std::int16_t CurrentColor() const { return 0; }
  // The marking frame's animation timer (80 ms).
  virtual void StopFrameTimer() {}
  virtual void StartFrameTimer() {}
  // The view changed its window by itself (pan): the scales follow.
  virtual void ViewWindowChanged() {}
  // The view's zoom window completed: the scales and the drawing follow.
  virtual void ZoomWindowDone() {}

  // ---- modal boxes -------------------------------------------------------------
  // The numeric box laid over the marking frame's width (label 9) or height
  // (label 10) label, showing `current`; false when cancelled.
  virtual bool AskFrameDimension(int /*label*/, double /*current*/, double& /*value*/) { return false; }

  // ---- the tools of later parts -------------------------------------------------
  // The edit dialogs are offered a picked point in the order line, arc,
  // circle; true when one took it.
  virtual bool OfferEditPoint(TPointD /*p*/) { return false; }
  // Where an entity's Edit opens its dialog; none: nothing opens.
  virtual TEditHost* EditHost() { return nullptr; }
  // A dialog waiting in a picking state (22–35) takes the picked point:
  // 22–24 translate, rotate, scale; 25, 26 the mirror points; 27 the polygon
  // position; 28, 29 its corners; 30 the ellipse centre; 34 the hole; 35
  // the curve start. The dialog applies itself where the state completes it.
  virtual void PointPicked(int /*toolState*/, TPointD /*p*/) {}
  // State 32: the marked text is fitted into the frame with these corners.
  virtual void FitTextInFrame(TPointD /*corner1*/, TPointD /*corner2*/) {}
  // State 33: everything between the two entities that cross the run
  // through the entity at the point is trimmed away.
  virtual void TrimBreak(TCadObj& /*entity*/, TPointD /*p*/) {}
  // The prototypes of the trim, blend and chamfer tools (151–154), with the
  // radius or distance of their box; none while those tools are not built.
  virtual std::unique_ptr<TCadObj> MakeEditingPrototype(int /*code*/, std::int16_t /*layer*/) { return nullptr; }
  // The layer of a text character at the point, −1 when none lies there.
  virtual int CharacterLayerAt(TPointD /*p*/) const { return -1; }
  // A new text line at the point, on the layer, in the colour, with the
  // text tool box's word spacing, direction and line spacing.
  virtual void StartTextLine(TPointD /*p*/, int /*layer*/, std::int16_t /*color*/) {}
  // Reset Activity hides the sketcher and ends a running stretch tool.
  virtual void EndSketchAndStretch() {}
  // Reset Activity empties the find command's overlap and gap lists.
  virtual void ClearFindLists() {}
};

// The marking frame as the mouse handlers use it. Until the frame exists
// the default is a frame that is never shown.
class TMarkingFrameControl {
 public:
  virtual ~TMarkingFrameControl() = default;
  virtual bool Shown() const { return false; }
  // Put around the extents and shown, or hidden.
  virtual void ShowAround(const TBox& /*extents*/) {}
  virtual void Hide() {}
  // The frame's world rectangle.
  virtual TBox Rect() const { return EmptyBox; }
  // The handle at a view pixel (1–8 corners and edges, 9 and 10 the width
  // and height labels, 11 and 12 the drag handles), 0 none; the anchor
  // counts when `withAnchor`.
  virtual int HitTest(int /*x*/, int /*y*/, bool /*withAnchor*/) const { return 0; }
  // The hover cursor over handles and labels.
  virtual void Hover(int /*x*/, int /*y*/) {}
  virtual void BeginDrag(int /*handle*/, TPointD /*p*/) {}
  virtual void DragHandle(int /*handle*/, TPointD /*p*/, bool /*shift*/) {}
  // Moves the handle to the point (from where it was taken up).
  virtual void MoveHandle(int /*handle*/, TPointD /*from*/, TPointD /*to*/) {}
  // Resizes with the bottom-left corner fixed.
  virtual void SetSize(double /*width*/, double /*height*/) {}
  // The marked entities follow the frame: proportionally, or stretched.
  virtual void ScaleMarkedToFrame() {}
  virtual void StretchMarkedToFrame() {}
  virtual void SetAnchorManually(TPointD /*p*/) {}
};

}  // namespace qm
