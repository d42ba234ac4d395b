#pragma once
// The drafting tool box: which tool a left press in the view serves (mark,
// draw lines, arcs and circles, trim, blend, chamfer, delete, edit, place the
// anchor), the snap mode with its modifiers, the marking mode and the anchor
// menu.
//
// This is the controller; the Qt form mirrors it: it builds one button per
// entry of DraftButtons(), forwards clicks and presses, and re-reads the
// button states, the pop-up menu, the mark glyph and the geometry when the
// change handler fires. What the tool box does to the drafting state it does
// through TDraftToolBoxHost (the drafting controller); what it shows, through
// TDraftToolBoxUi (the window).
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "drafting/drafting_host.h"
#include "drafting/input_boxes.h"

namespace qm {

namespace platform {
class FormRegistry;
}

class TCadObj;

enum class TDraftButton : std::uint8_t {
  // The snap modes (one of them down at a time, all may be up).
  SBFree, SBEnd, SBMid, SBInter, SBCtr, SBTangent, SBNormal, SBXY, SBGrid,
  // The modifiers.
  SBdeltaXY, SBpolar, SBMidDist,
  // The tools (one of them down at a time, all may be up).
  LineDiag, LineHorz, LineVert, LineAngL,
  Arc3Pnts, Arc2PntR, ArcC2Pnt, ArcC2PtR,
  Circ3Pnts, Circ2PntR, CircCtrRad, CircCtrEdge,
  Trim1, Trim2, Blend, Chamfer, TrimBreak,
  btnTrash, btnMark, btnEdit,
  // Buttons of their own.
  Polygons, btnAnchor, btnText, Holes, SmartSearch, SBSketcher, BitBtn1,
  Count
};
inline constexpr std::size_t kDraftButtonCount = static_cast<std::size_t>(TDraftButton::Count);

struct TDraftButtonInfo {
  TDraftButton id;
  std::string_view name;  // the component name ("LineDiag")
  std::string_view hint;  // the hint exactly as shown; "" for the close button
  std::int16_t code;      // the tool code it selects (−1 Polygons), 0 for none
  std::int16_t snapMode;  // the snap mode of a snap button, 0 otherwise
};
const std::array<TDraftButtonInfo, kDraftButtonCount>& DraftButtons();
const TDraftButtonInfo& DraftButton(TDraftButton b);
// By hint (exact) or by component name; null when none has it.
const TDraftButtonInfo* FindDraftButton(std::string_view hintOrName);

// Tool codes besides those of the buttons.
inline constexpr std::int16_t kToolDelete = 161, kToolSetAnchor = 162;
inline constexpr int kToolStateNormal = 2, kToolStateTrimBreak = 33;

// Marking modes and layer choices (the layout's numbers).
inline constexpr std::int32_t kMarkAllIn = 0, kMarkPartIn = 1, kMarkChained = 2;
inline constexpr std::int32_t kMarkActiveLayer = 1, kMarkAllLayers = 2;

enum class TToolBoxMenu : std::uint8_t { None, Mark, Anchor };

enum class TMarkMenuItem : std::uint8_t { MarkAllIn, MarkPartIn, MarkChain, ActiveLayer, AllLayers };
struct TMenuItemInfo {
  std::string_view name, caption;
  std::int32_t tag;  // the anchor position handed to the frame; 0 for Set Manually
};
const TMenuItemInfo& MarkMenuItem(TMarkMenuItem item);

enum class TAnchorItem : std::uint8_t {
  TopLeftItem, LeftItem, BottomLeftItem, TopItem, CenterItem, BottomItem, TopRightItem, RightItem,
  BottomRightItem, SetManuallyItem
};
const TMenuItemInfo& AnchorMenuItem(TAnchorItem item);

// The drafting operations the tool box runs (the drafting controller).
class TDraftToolBoxHost {
 public:
  virtual ~TDraftToolBoxHost() = default;
  virtual void ResetActivity(bool redraw) = 0;
  virtual void ClearDrafting(bool redraw) = 0;
  virtual void BuildPrototype(int layer, int code) = 0;
  // The layer of the active tab.
  virtual int ActiveTab() const = 0;
  virtual bool DeleteMarkedCommand() = 0;
  virtual void UnmarkAll() = 0;
  virtual int ToolState() const = 0;
  virtual void SetToolState(int state) = 0;
  // EditMode := on.
  virtual void SetEditModeFlag(bool on) = 0;
  virtual bool ChangePending() const = 0;
  virtual bool RecordAction(std::string_view name) = 0;
  virtual void SetCursor(TCursor cursor) = 0;
  // The click collector is reset, keeping its prototype.
  virtual void ResetCollector() = 0;
};

// A form's place on the screen, in pixels.
struct TFormRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TFormRect&) const = default;
};

class TDraftToolBox {
 public:
  explicit TDraftToolBox(InputBoxes& boxes);
  TDraftToolBox(const TDraftToolBox&) = delete;
  TDraftToolBox& operator=(const TDraftToolBox&) = delete;

  void SetHost(TDraftToolBoxHost* host) { host_ = host; }
  void SetUi(TDraftToolBoxUi* ui) { ui_ = ui; }
  InputBoxes& Boxes() const { return boxes_; }

  // ---- state -------------------------------------------------------------------
  std::int16_t ToolCode() const { return toolCode_; }
  std::int16_t SnapMode() const { return snapMode_; }
  TDraftButton LastSnapButton() const { return lastSnapButton_; }
  std::int32_t MarkMode() const { return markMode_; }
  std::int32_t MarkLayers() const { return markLayers_; }
  bool MidDistMode() const { return midDistMode_; }
  const std::string& StatusName() const { return statusName_; }
  std::int16_t FullHeight() const { return fullHeight_; }
  std::int32_t CompactHeight() const { return compactHeight_; }

  bool IsDown(TDraftButton b) const { return down_[Index(b)]; }
  bool IsEnabled(TDraftButton b) const { return enabled_[Index(b)]; }
  TToolBoxMenu PopupMenu() const { return popup_; }
  // The glyph resource of the mark button for the mode and layer choice.
  std::string_view MarkGlyph() const;
  TAnchorItem CheckedAnchorItem() const { return anchorItem_; }

  // ---- buttons and menus ----------------------------------------------------------
  // A click on the button as the user makes it: false when the button is
  // disabled (nothing happens then).
  bool Click(TDraftButton b);
  // A press on the mark button at (x, y) in its own pixels: the right button
  // makes the marking menu the pop-up menu; the left button on the pressed
  // button beyond its width from its top-left corner steps the marking mode
  // (all-in → part-in → chained → all-in) and answers true.
  bool PressMarkButton(int x, int y, bool rightButton);
  // Any press on the anchor button makes the anchor menu the pop-up menu.
  void PressAnchorButton();
  void ChooseMarkItem(TMarkMenuItem item);
  void ChooseAnchorItem(TAnchorItem item);
  bool MarkItemChecked(TMarkMenuItem item) const;

  // ---- operations -----------------------------------------------------------------
  // The common sequence behind every drawing-tool button (codes 101–154 and
  // the trim-between button).
  void SelectTool(TDraftButton b);
  // The delete tool as the "&Delete" menu item selects it (whatever state
  // the button is in); true when marked entities were deleted.
  bool SelectDeleteTool();
  void UpdateSnapButtons();
  void ShowToolBoxes();
  void ShowToolBoxesByCode();
  // SnapMode := the mode of the snap button that is down, else 1; while
  // marking (the mark button down) it is 0: marking takes no points.
  void CurrentSnapMode();
  // Entity editing on or off; the entity (or without one, the tool code)
  // chooses the dialog kept.
  void SetEditMode(const TCadObj* entity, bool on);
  void SetMidDistMode(bool on);

  // ---- for the drafting controller -------------------------------------------------
  // Reset Activity ends a drawing tool: the mark button down, editing off,
  // the snap buttons updated, ToolCode 0.
  void ReturnToMarking();
  // Reset Activity leaves a picking state: the trim-between button goes up,
  // the snap buttons updated, ToolCode 0, the boxes shown by code.
  void LeavePickingState();
  // A press on the frame's first drag handle forces the free snap.
  void ForceFreeSnap();
  // The anchor button is enabled exactly while the marking frame is shown.
  void SetAnchorEnabled(bool enabled);
  // The anchor was placed, or a double click ended the tool.
  void SetToolCode(std::int16_t code) {
    toolCode_ = code;
    Notify();
  }

  // ---- showing, hiding, geometry ----------------------------------------------------
  bool Visible() const { return visible_; }
  // Shown: the position is read from "DraftToolBox.Left"/"DraftToolBox.Top"
  // (the current one being the default), the height follows the text tool
  // box, the boxes are shown by code and the snap buttons updated.
  void OnShow(platform::FormRegistry& registry);
  // Hidden: the position is written back and the boxes follow the buttons.
  void OnHide(platform::FormRegistry& registry);
  const TFormRect& Bounds() const { return bounds_; }
  void MoveTo(int left, int top);
  // The client height that shows only the snap, modifier and marking rows
  // (the top of the first drawing-tool row), measured by the form.
  void SetCompactHeight(std::int32_t h) { compactHeight_ = h; }
  // The size of a satellite box as the form has it.
  void SetBoxSize(const TInputBox& box, int width, int height);
  // Where a satellite box was put last (its width included when the tool
  // box sets it); false when it was never placed.
  bool BoxPlacement(const TInputBox& box, TFormRect& rect) const;

  void SetOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }

  static constexpr int kClientWidth = 128, kClientHeight = 327;
  static constexpr int kMarkButtonWidth = 32;

 private:
  static std::size_t Index(TDraftButton b) { return static_cast<std::size_t>(b); }
  static bool IsSnapButton(TDraftButton b) { return b <= TDraftButton::SBGrid; }
  static bool IsToolButton(TDraftButton b) { return b >= TDraftButton::LineDiag && b <= TDraftButton::btnEdit; }
  void SetDown(TDraftButton b, bool down);
  void ClickSnapButton(TDraftButton b);
  void ClickXY();
  void ClickDelta(bool polar);
  void ClickMark();
  void ClickEdit();
  void ClickTrash();
  void ClickAnchor();
  void ClickPolygons();
  void ClickHoles();
  void ClickSearch();
  void ClickSketcher();
  void ClickText();
  void DeleteWentDown();
  bool EditingToolDown() const;
  void PlaceAbove(TInputBox& box, bool toolBoxWidth);
  void PlaceBelow(TInputBox& box, bool toolBoxWidth);
  void PlaceDeltaBoxesBelow();
  void HideDeltaBoxes();
  void RecordPending();
  // A tool box that is not wired to a controller or window does nothing
  // outside itself.
  TDraftToolBoxHost& Host() const;
  TDraftToolBoxUi& Ui() const;
  void Notify() {
    if (onChange_) onChange_();
  }

  InputBoxes& boxes_;
  TDraftToolBoxHost* host_ = nullptr;
  TDraftToolBoxUi* ui_ = nullptr;

  std::int16_t toolCode_ = 0;
  std::int16_t snapMode_ = 1;
  TDraftButton lastSnapButton_ = TDraftButton::SBFree;
  std::int32_t markMode_ = kMarkChained;
  std::int32_t markLayers_ = kMarkAllLayers;
  bool midDistMode_ = false;
  std::string statusName_;
  std::int16_t fullHeight_ = kClientHeight;
  std::int32_t compactHeight_ = 150;
  TToolBoxMenu popup_ = TToolBoxMenu::Mark;
  TAnchorItem anchorItem_ = TAnchorItem::BottomLeftItem;

  std::array<bool, kDraftButtonCount> down_{};
  std::array<bool, kDraftButtonCount> enabled_{};
  bool visible_ = false;
  TFormRect bounds_{0, 0, kClientWidth, kClientHeight};
  std::map<const TInputBox*, TFormRect> boxSizes_, placements_;
  std::function<void()> onChange_;
};

}  // namespace qm
