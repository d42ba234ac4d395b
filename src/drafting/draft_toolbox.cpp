#include "drafting/draft_toolbox.h"

#include <algorithm>
#include <cmath>

#include "model/arc.h"
#include "model/circle.h"
#include "platform/registry.h"

namespace qm {

namespace {

using B = TDraftButton;

constexpr std::array<TDraftButtonInfo, kDraftButtonCount> kButtons{{
    {B::SBFree, "SBFree", "Point freely", 0, 1},
    {B::SBEnd, "SBEnd", "Edge of entity", 0, 2},
    {B::SBMid, "SBMid", "Middle of entity", 0, 3},
    {B::SBInter, "SBInter", "Intersection point", 0, 4},
    {B::SBCtr, "SBCtr", "Center of entity", 0, 5},
    {B::SBTangent, "SBTangent", "Tangent to...", 0, 6},
    {B::SBNormal, "SBNormal", "Normal to...", 0, 7},
    {B::SBXY, "SBXY", "Enter XY coordinates", 0, 8},
    {B::SBGrid, "SBGrid", "Pick grid point", 0, 9},
    {B::SBdeltaXY, "SBdeltaXY", "Add delta XY", 0, 0},
    {B::SBpolar, "SBpolar", "Add delta polar", 0, 0},
    {B::SBMidDist, "SBMidDist", "Pick opposite corners", 0, 0},
    {B::LineDiag, "LineDiag", "Diagonal Straight Line", 101, 0},
    {B::LineHorz, "LineHorz", "Horizontal Line", 102, 0},
    {B::LineVert, "LineVert", "Vertical Line", 103, 0},
    {B::LineAngL, "LineAngL", "Line with Defined Length / Angle", 104, 0},
    {B::Arc3Pnts, "Arc3Pnts", "Arc Defined by 3 points", 121, 0},
    {B::Arc2PntR, "Arc2PntR", "Arc Defined by 2 Points and Radius", 122, 0},
    {B::ArcC2Pnt, "ArcC2Pnt", "Arc by Center, 1st point/rad and second", 123, 0},
    {B::ArcC2PtR, "ArcC2PtR", "Arc by Center, Radius and edges", 124, 0},
    {B::Circ3Pnts, "Circ3Pnts", "Circle by 3 Points", 141, 0},
    {B::Circ2PntR, "Circ2PntR", "Circle by 2 Points and Radius", 142, 0},
    {B::CircCtrRad, "CircCtrRad", "Circle by Center and Radius", 143, 0},
    {B::CircCtrEdge, "CircCtrEdge", "Circle by Center and Point on Edge", 144, 0},
    {B::Trim1, "Trim1", "Trim first entity with second entity", 151, 0},
    {B::Trim2, "Trim2", "Trim two entities", 152, 0},
    {B::Blend, "Blend", "Blend specified radius", 153, 0},
    {B::Chamfer, "Chamfer", "Chamfer specified length", 154, 0},
    {B::TrimBreak, "TrimBreak", "Trim all entities between two entities", 0, 0},
    {B::btnTrash, "btnTrash", "Delete Entities. Use Right Mouse to Set.", kToolDelete, 0},
    {B::btnMark, "btnMark", "Mark (Ctrl to add). Use right mouse to select marking mode.", 0, 0},
    {B::btnEdit, "btnEdit", "Edit Entity", 0, 0},
    {B::Polygons, "Polygons", "Frames and Polygons ...", -1, 0},
    {B::btnAnchor, "btnAnchor", "Show Anchor. Use Right Mouse to Set.", 0, 0},
    {B::btnText, "btnText", "Write text", 0, 0},
    {B::Holes, "Holes", "Obround and D-holes", 0, 0},
    {B::SmartSearch, "SmartSearch", "Searcher", 0, 0},
    {B::SBSketcher, "SBSketcher", "Sketcher", 0, 0},
    {B::BitBtn1, "BitBtn1", "", 0, 0},
}};

constexpr std::array<TMenuItemInfo, 5> kMarkItems{{
    {"MarkAllIn", "&All-In Window", 0},
    {"MarkPartIn", "&Part-In Window", 1},
    {"MarkChain", "&Chained Entities", 2},
    {"ActiveLayer", "Active &Layer", 1},
    {"AllLayers", "All La&yers", 2},
}};

constexpr std::array<TMenuItemInfo, 10> kAnchorItems{{
    {"TopLeftItem", "Top-L&eft", 7},
    {"LeftItem", "&Left", 8},
    {"BottomLeftItem", "B&ottom-Left", 1},
    {"TopItem", "&Top", 6},
    {"CenterItem", "&Center", 9},
    {"BottomItem", "&Bottom", 2},
    {"TopRightItem", "To&p-Right", 5},
    {"RightItem", "&Right", 4},
    {"BottomRightItem", "Bottom-R&ight", 3},
    {"SetManuallyItem", "Set &Manually", 0},
}};

// Stand-ins while the tool box is not wired: nothing outside it happens.
class NullHost final : public TDraftToolBoxHost {
 public:
  void ResetActivity(bool) override {}
  void ClearDrafting(bool) override {}
  void BuildPrototype(int, int) override {}
  int ActiveTab() const override { return 0; }
  bool DeleteMarkedCommand() override { return false; }
  void UnmarkAll() override {}
  int ToolState() const override { return state_; }
  void SetToolState(int s) override { state_ = s; }
  void SetEditModeFlag(bool) override {}
  bool ChangePending() const override { return false; }
  bool RecordAction(std::string_view) override { return false; }
  void SetCursor(TCursor) override {}
  void ResetCollector() override {}

 private:
  int state_ = kToolStateNormal;
};

bool IsDrawingTool(std::int16_t code) { return code >= 101 && code <= 144; }

}  // namespace

const std::array<TDraftButtonInfo, kDraftButtonCount>& DraftButtons() { return kButtons; }

const TDraftButtonInfo& DraftButton(TDraftButton b) { return kButtons[static_cast<std::size_t>(b)]; }

const TDraftButtonInfo* FindDraftButton(std::string_view hintOrName) {
  if (hintOrName.empty()) return nullptr;
  for (const TDraftButtonInfo& b : kButtons)
    if (b.hint == hintOrName) return &b;
  for (const TDraftButtonInfo& b : kButtons)
    if (b.name == hintOrName) return &b;
  return nullptr;
}

const TMenuItemInfo& MarkMenuItem(TMarkMenuItem item) { return kMarkItems[static_cast<std::size_t>(item)]; }
const TMenuItemInfo& AnchorMenuItem(TAnchorItem item) { return kAnchorItems[static_cast<std::size_t>(item)]; }

// ---------------------------------------------------------------------------
// Construction and plumbing
// ---------------------------------------------------------------------------

TDraftToolBox::TDraftToolBox(InputBoxes& boxes) : boxes_(boxes) {
  enabled_.fill(true);
  down_[Index(B::SBFree)] = true;
  down_[Index(B::btnMark)] = true;
  enabled_[Index(B::btnAnchor)] = false;  // only while the marking frame is shown
  // Until the form measures its boxes.
  for (TInputBox* box : boxes_.All()) boxSizes_[box] = {0, 0, kClientWidth, 60};
}

TDraftToolBoxHost& TDraftToolBox::Host() const {
  static NullHost null;
  return host_ ? *host_ : null;
}

TDraftToolBoxUi& TDraftToolBox::Ui() const {
  static TDraftToolBoxUi null;
  return ui_ ? *ui_ : null;
}

void TDraftToolBox::SetDown(TDraftButton b, bool down) {
  if (down && (IsSnapButton(b) || IsToolButton(b))) {
    const bool snap = IsSnapButton(b);
    for (std::size_t i = 0; i < kDraftButtonCount; ++i) {
      const auto other = static_cast<TDraftButton>(i);
      if (snap ? IsSnapButton(other) : IsToolButton(other)) down_[i] = false;
    }
  }
  down_[Index(b)] = down;
}

bool TDraftToolBox::EditingToolDown() const {
  return IsDown(B::Trim1) || IsDown(B::Trim2) || IsDown(B::TrimBreak) || IsDown(B::Blend) || IsDown(B::Chamfer);
}

std::string_view TDraftToolBox::MarkGlyph() const {
  static constexpr std::string_view kAll[] = {"MARKALLALL", "MARKPARTALL", "MARKCHAINALL"};
  static constexpr std::string_view kActive[] = {"MARKALLACTIVE", "MARKPARTACTIVE", "MARKCHAINACTIVE"};
  const auto mode = static_cast<std::size_t>(std::clamp(markMode_, 0, 2));
  return markLayers_ == kMarkActiveLayer ? kActive[mode] : kAll[mode];
}

bool TDraftToolBox::MarkItemChecked(TMarkMenuItem item) const {
  switch (item) {
    case TMarkMenuItem::MarkAllIn: return markMode_ == kMarkAllIn;
    case TMarkMenuItem::MarkPartIn: return markMode_ == kMarkPartIn;
    case TMarkMenuItem::MarkChain: return markMode_ == kMarkChained;
    case TMarkMenuItem::ActiveLayer: return markLayers_ == kMarkActiveLayer;
    case TMarkMenuItem::AllLayers: return markLayers_ == kMarkAllLayers;
  }
  return false;
}

void TDraftToolBox::RecordPending() {
  if (Host().ChangePending()) Host().RecordAction(statusName_);
}

// ---------------------------------------------------------------------------
// The rules
// ---------------------------------------------------------------------------

void TDraftToolBox::UpdateSnapButtons() {
  const bool editing = EditingToolDown();
  for (B b : {B::SBFree, B::SBCtr, B::SBInter, B::SBXY, B::SBdeltaXY, B::SBpolar, B::SBMidDist})
    enabled_[Index(b)] = !editing;
  // Tangent and normal stay off while the opposite-corners modifier is on.
  enabled_[Index(B::SBTangent)] = enabled_[Index(B::SBNormal)] = !editing && !midDistMode_;
  enabled_[Index(B::SBEnd)] = enabled_[Index(B::SBMid)] = true;
  enabled_[Index(B::SBGrid)] = !editing && Ui().GridShown();
  Notify();
}

void TDraftToolBox::ShowToolBoxes() {
  boxes_.LALineDlg.SetVisible(IsDown(B::LineAngL));
  boxes_.RadDlg.SetVisible(IsDown(B::Arc2PntR) || IsDown(B::ArcC2PtR) || IsDown(B::Circ2PntR) ||
                           IsDown(B::CircCtrRad));
  boxes_.BlenDlg.SetVisible(IsDown(B::Blend));
  boxes_.ChamfDlg.SetVisible(IsDown(B::Chamfer));
  Notify();
}

void TDraftToolBox::ShowToolBoxesByCode() {
  const int c = toolCode_;
  boxes_.ChamfDlg.SetVisible(c == 154);
  boxes_.BlenDlg.SetVisible(c == 153);
  boxes_.RadDlg.SetVisible(c == 122 || c == 124 || c == 142 || c == 143);
  boxes_.LALineDlg.SetVisible(c == 104);
  if (IsDown(B::SBdeltaXY)) boxes_.XYDeltaDlg.Show();
  else if (IsDown(B::SBpolar)) boxes_.RTDeltaDlg.Show();
  else {
    boxes_.XYDeltaDlg.Hide();
    boxes_.RTDeltaDlg.Hide();
  }
  boxes_.XYAbsoluteDlg.SetVisible(IsDown(B::SBXY));
  Notify();
}

void TDraftToolBox::CurrentSnapMode() {
  std::int16_t mode = 1;
  if (IsDown(B::btnMark)) {
    mode = 0;
  } else {
    for (B b : {B::SBEnd, B::SBMid, B::SBInter, B::SBCtr, B::SBTangent, B::SBNormal, B::SBGrid})
      if (IsDown(b)) mode = DraftButton(b).snapMode;
  }
  snapMode_ = mode;
  Notify();
}

void TDraftToolBox::SetMidDistMode(bool on) {
  midDistMode_ = on;
  down_[Index(B::SBMidDist)] = on;
  UpdateSnapButtons();
}

void TDraftToolBox::SetEditMode(const TCadObj* entity, bool on) {
  constexpr TEditDialogKind kAll[] = {TEditDialogKind::Line, TEditDialogKind::Arc, TEditDialogKind::Circle};
  if (on) {
    TEditDialogKind keep = TEditDialogKind::Line;
    if (entity) {
      if (dynamic_cast<const TCadArc*>(entity)) keep = TEditDialogKind::Arc;
      else if (dynamic_cast<const TCadCirc*>(entity)) keep = TEditDialogKind::Circle;
    } else if (toolCode_ >= 121 && toolCode_ <= 124) {
      keep = TEditDialogKind::Arc;
    } else if (toolCode_ >= 141 && toolCode_ <= 144) {
      keep = TEditDialogKind::Circle;
    }
    bool anyVisible = false;
    for (TEditDialogKind k : kAll) anyVisible = anyVisible || Ui().EditDialogVisible(k);
    if (anyVisible) Host().ClearDrafting(true);
    for (TEditDialogKind k : kAll)
      if (k != keep) Ui().HideEditDialog(k);
    Ui().RefreshView();
    SetDown(B::btnEdit, true);
    toolCode_ = 0;
  } else {
    for (TEditDialogKind k : kAll) Ui().HideEditDialog(k);
    ShowToolBoxes();
    down_[Index(B::btnEdit)] = false;
    CurrentSnapMode();
  }
  Host().SetEditModeFlag(IsDown(B::btnEdit));
  Notify();
}

// ---------------------------------------------------------------------------
// Placement of the satellite boxes
// ---------------------------------------------------------------------------

void TDraftToolBox::SetBoxSize(const TInputBox& box, int width, int height) {
  boxSizes_[&box] = {0, 0, std::max(0, width), std::max(0, height)};
}

bool TDraftToolBox::BoxPlacement(const TInputBox& box, TFormRect& rect) const {
  auto it = placements_.find(&box);
  if (it == placements_.end()) return false;
  rect = it->second;
  return true;
}

void TDraftToolBox::PlaceAbove(TInputBox& box, bool toolBoxWidth) {
  TFormRect r = boxSizes_[&box];
  if (toolBoxWidth) r.width = bounds_.width;
  r.top = bounds_.top - r.height;
  r.left = std::max(0, bounds_.left + bounds_.width - r.width);
  placements_[&box] = r;
}

void TDraftToolBox::PlaceBelow(TInputBox& box, bool toolBoxWidth) {
  TFormRect r = boxSizes_[&box];
  if (toolBoxWidth) r.width = bounds_.width;
  r.top = bounds_.top + bounds_.height;
  r.left = bounds_.left;
  placements_[&box] = r;
}

void TDraftToolBox::PlaceDeltaBoxesBelow() {
  PlaceBelow(boxes_.XYDeltaDlg, false);
  PlaceBelow(boxes_.RTDeltaDlg, false);
}

void TDraftToolBox::HideDeltaBoxes() {
  boxes_.XYDeltaDlg.Hide();
  boxes_.RTDeltaDlg.Hide();
  // The buttons follow their boxes, so that showing the boxes by the
  // buttons later does not bring them back unasked.
  down_[Index(B::SBdeltaXY)] = down_[Index(B::SBpolar)] = false;
}

void TDraftToolBox::MoveTo(int left, int top) {
  bounds_.left = left;
  bounds_.top = top;
  Notify();
}

void TDraftToolBox::OnShow(platform::FormRegistry& registry) {
  bounds_.left = registry.ReadInt("DraftToolBox.Left", bounds_.left);
  bounds_.top = registry.ReadInt("DraftToolBox.Top", bounds_.top);
  bounds_.height = Ui().TextToolBoxVisible() ? compactHeight_ : fullHeight_;
  visible_ = true;
  ShowToolBoxesByCode();
  UpdateSnapButtons();
}

void TDraftToolBox::OnHide(platform::FormRegistry& registry) {
  registry.WriteInt("DraftToolBox.Left", bounds_.left);
  registry.WriteInt("DraftToolBox.Top", bounds_.top);
  visible_ = false;
  ShowToolBoxes();
}

// ---------------------------------------------------------------------------
// Choosing a drawing tool
// ---------------------------------------------------------------------------

void TDraftToolBox::SelectTool(TDraftButton b) {
  const TDraftButtonInfo& info = DraftButton(b);
  const std::int16_t code = info.code;
  const bool trimBreak = b == B::TrimBreak;

  // 1. The satellite box goes above the tool box, right-aligned with it.
  if (b == B::LineAngL) PlaceAbove(boxes_.LALineDlg, false);
  if (b == B::Arc2PntR || b == B::ArcC2PtR || b == B::Circ2PntR || b == B::CircCtrRad) PlaceAbove(boxes_.RadDlg, true);
  if (b == B::Blend) PlaceAbove(boxes_.BlenDlg, true);
  if (b == B::Chamfer) PlaceAbove(boxes_.ChamfDlg, true);
  // 2, 3
  Host().ResetActivity(true);
  popup_ = TToolBoxMenu::None;
  statusName_ = std::string(info.hint);
  RecordPending();
  // 4
  SetDown(b, true);
  UpdateSnapButtons();
  // 5. Lines, arcs and circles snap as the user last chose; the editing
  // tools snap to ends (and that becomes the last choice, so a drawing tool
  // chosen next keeps it).
  if (IsDrawingTool(code)) {
    SetDown(lastSnapButton_, true);
    if (lastSnapButton_ != B::SBXY) boxes_.XYAbsoluteDlg.Hide();
  } else {
    SetDown(B::SBEnd, true);
    lastSnapButton_ = B::SBEnd;
    boxes_.XYAbsoluteDlg.Hide();
    HideDeltaBoxes();
  }
  // 6
  ShowToolBoxes();
  down_[Index(B::btnMark)] = false;
  Host().ClearDrafting(false);
  if (!trimBreak) Host().SetToolState(kToolStateNormal);
  // 7
  SetEditMode(nullptr, false);
  // 8
  toolCode_ = code;
  Host().BuildPrototype(Host().ActiveTab(), code);
  // 9
  if (Ui().TextToolBoxVisible()) Ui().CloseTextToolBox();
  bounds_.height = fullHeight_;
  PlaceDeltaBoxesBelow();
  if (trimBreak) {
    Host().SetCursor(TCursor::Finger);
    Host().SetToolState(kToolStateTrimBreak);
  }
  Notify();
}

// ---------------------------------------------------------------------------
// Buttons
// ---------------------------------------------------------------------------

bool TDraftToolBox::Click(TDraftButton b) {
  if (b >= TDraftButton::Count || !IsEnabled(b)) return false;
  switch (b) {
    case B::SBFree: case B::SBEnd: case B::SBMid: case B::SBInter: case B::SBCtr:
    case B::SBTangent: case B::SBNormal: case B::SBGrid:
      ClickSnapButton(b);
      break;
    case B::SBXY: ClickXY(); break;
    case B::SBdeltaXY: ClickDelta(false); break;
    case B::SBpolar: ClickDelta(true); break;
    case B::SBMidDist: SetMidDistMode(!midDistMode_); break;
    case B::btnMark: ClickMark(); break;
    case B::btnEdit: ClickEdit(); break;
    case B::btnTrash: ClickTrash(); break;
    case B::btnAnchor: ClickAnchor(); break;
    case B::Polygons: ClickPolygons(); break;
    case B::Holes: ClickHoles(); break;
    case B::SmartSearch: ClickSearch(); break;
    case B::SBSketcher: ClickSketcher(); break;
    case B::btnText: ClickText(); break;
    case B::BitBtn1: visible_ = false; break;
    default: SelectTool(b); break;  // the drawing and editing tools
  }
  Notify();
  return true;
}

void TDraftToolBox::ClickSnapButton(TDraftButton b) {
  SetDown(b, true);
  snapMode_ = DraftButton(b).snapMode;
  lastSnapButton_ = b;
  boxes_.XYAbsoluteDlg.Hide();
  Host().SetCursor(TCursor::Finger);
}

void TDraftToolBox::ClickXY() {
  if (!IsDown(B::SBXY)) {
    SetDown(B::SBXY, true);
    snapMode_ = 8;
    lastSnapButton_ = B::SBXY;
    TFormRect r = boxSizes_[&boxes_.XYAbsoluteDlg];
    r.top = bounds_.top;
    r.left = std::max(0, bounds_.left - r.width);
    placements_[&boxes_.XYAbsoluteDlg] = r;
    boxes_.XYAbsoluteDlg.Show();
    Host().SetCursor(TCursor::Finger);
  } else {
    // Going up leaves no point source: the free snap takes over.
    down_[Index(B::SBXY)] = false;
    boxes_.XYAbsoluteDlg.Hide();
    ClickSnapButton(B::SBFree);
  }
}

void TDraftToolBox::ClickDelta(bool polar) {
  const B self = polar ? B::SBpolar : B::SBdeltaXY;
  const B other = polar ? B::SBdeltaXY : B::SBpolar;
  TInputBox& box = polar ? static_cast<TInputBox&>(boxes_.RTDeltaDlg) : boxes_.XYDeltaDlg;
  TInputBox& otherBox = polar ? static_cast<TInputBox&>(boxes_.XYDeltaDlg) : boxes_.RTDeltaDlg;
  const bool down = !IsDown(self);
  down_[Index(self)] = down;
  otherBox.Hide();
  down_[Index(other)] = false;
  if (down) {
    PlaceBelow(box, true);
    box.Show();
  } else {
    box.Hide();
  }
}

void TDraftToolBox::ClickMark() {
  popup_ = TToolBoxMenu::Mark;
  SetDown(B::btnMark, true);
  snapMode_ = 0;
  UpdateSnapButtons();
  ShowToolBoxes();
  Host().ClearDrafting(false);
  SetEditMode(nullptr, false);
  toolCode_ = 0;
  Host().ResetActivity(false);
}

bool TDraftToolBox::PressMarkButton(int x, int y, bool rightButton) {
  if (rightButton) {
    popup_ = TToolBoxMenu::Mark;
    Notify();
    return false;
  }
  if (!IsDown(B::btnMark) || !(std::hypot(x, y) > kMarkButtonWidth)) return false;
  markMode_ = (markMode_ + 1) % 3;
  Notify();
  return true;
}

void TDraftToolBox::ChooseMarkItem(TMarkMenuItem item) {
  switch (item) {
    case TMarkMenuItem::MarkAllIn: markMode_ = kMarkAllIn; break;
    case TMarkMenuItem::MarkPartIn: markMode_ = kMarkPartIn; break;
    case TMarkMenuItem::MarkChain: markMode_ = kMarkChained; break;
    case TMarkMenuItem::ActiveLayer: markLayers_ = kMarkActiveLayer; break;
    case TMarkMenuItem::AllLayers: markLayers_ = kMarkAllLayers; break;
  }
  Notify();
}

void TDraftToolBox::ClickEdit() {
  const bool on = !IsDown(B::btnEdit);
  down_[Index(B::btnEdit)] = on;
  Host().UnmarkAll();
  SetEditMode(nullptr, on);
  statusName_ = std::string(DraftButton(B::btnEdit).hint);
  if (IsDown(B::btnEdit)) {
    SetDown(B::SBMid, true);
  } else {
    SetDown(B::btnMark, true);
  }
  CurrentSnapMode();
  UpdateSnapButtons();
  Host().SetCursor(TCursor::Finger);
}

void TDraftToolBox::DeleteWentDown() {
  popup_ = TToolBoxMenu::Mark;
  SetDown(B::btnTrash, true);
  // A change made with the tool before is recorded under that tool's name.
  RecordPending();
  statusName_ = std::string(DraftButton(B::btnTrash).hint);
  if (Host().DeleteMarkedCommand()) {
    Host().RecordAction(statusName_);
    down_[Index(B::btnTrash)] = false;
    ClickMark();
  } else {
    SetDown(B::SBMid, true);
    snapMode_ = 3;
    Host().ClearDrafting(false);
    Host().SetToolState(kToolStateNormal);
    Host().SetCursor(TCursor::Delete);
    SetEditMode(nullptr, false);
    toolCode_ = kToolDelete;
  }
}

void TDraftToolBox::ClickTrash() {
  if (!IsDown(B::btnTrash)) {
    DeleteWentDown();
  } else {
    popup_ = TToolBoxMenu::Mark;
    down_[Index(B::btnTrash)] = false;
    statusName_.clear();
    Host().ResetActivity(false);
  }
  UpdateSnapButtons();
  Ui().DeleteButtonChanged(IsDown(B::btnTrash));
}

bool TDraftToolBox::SelectDeleteTool() {
  if (!IsEnabled(B::btnTrash)) return false;
  DeleteWentDown();
  const bool deleted = !IsDown(B::btnTrash);
  UpdateSnapButtons();
  Ui().DeleteButtonChanged(IsDown(B::btnTrash));
  Notify();
  return deleted;
}

void TDraftToolBox::ClickAnchor() {
  popup_ = TToolBoxMenu::Anchor;
  down_[Index(B::btnAnchor)] = !IsDown(B::btnAnchor);
  Ui().AnchorButtonChanged(IsDown(B::btnAnchor));
}

void TDraftToolBox::PressAnchorButton() {
  popup_ = TToolBoxMenu::Anchor;
  Notify();
}

void TDraftToolBox::SetAnchorEnabled(bool enabled) {
  enabled_[Index(B::btnAnchor)] = enabled;
  Notify();
}

void TDraftToolBox::ChooseAnchorItem(TAnchorItem item) {
  anchorItem_ = item;
  if (item == TAnchorItem::SetManuallyItem) {
    toolCode_ = kToolSetAnchor;  // the snap mode stays as it is
    Host().SetCursor(TCursor::Finger);
    Host().ResetCollector();
  } else {
    Ui().SetAnchorPosition(AnchorMenuItem(item).tag);
  }
  Notify();
}

void TDraftToolBox::ClickPolygons() {
  Host().ResetActivity(true);
  popup_ = TToolBoxMenu::None;
  statusName_ = std::string(DraftButton(B::Polygons).hint);
  SetDown(lastSnapButton_, true);
  ShowToolBoxes();
  down_[Index(B::btnMark)] = false;
  Host().ClearDrafting(false);
  Host().SetToolState(kToolStateNormal);
  SetEditMode(nullptr, false);
  toolCode_ = -1;
  if (Ui().TextToolBoxVisible()) Ui().CloseTextToolBox();
  bounds_.height = fullHeight_;
  PlaceDeltaBoxesBelow();
  Ui().FreePolygonDialog();
  const int result = Ui().RunPolygonDialog();
  down_[Index(B::Polygons)] = false;
  if (result == 1) {
    statusName_ = std::string(DraftButton(B::Polygons).hint);
    Ui().ApplyPolygon();
    Host().SetToolState(kToolStateNormal);
  } else if (result == 27 || result == 28) {
    Host().SetCursor(TCursor::Finger);
    Host().SetToolState(result);
  } else {
    Ui().FreePolygonDialog();
    Host().SetToolState(kToolStateNormal);
  }
}

void TDraftToolBox::ClickHoles() {
  Host().ResetActivity(true);
  UpdateSnapButtons();
  const int result = Ui().RunHoleDialog();
  if (result == 1) {
    statusName_ = std::string(DraftButton(B::Holes).hint);
    Ui().ApplyHole();
    Host().SetToolState(kToolStateNormal);
  } else if (result == 34) {
    Host().SetCursor(TCursor::Finger);
    Host().SetToolState(34);
  } else {
    Ui().FreeHoleDialog();
    Host().SetToolState(kToolStateNormal);
  }
}

void TDraftToolBox::ClickSearch() {
  Host().ResetActivity(true);
  UpdateSnapButtons();
  Ui().RunFindDialog();
}

void TDraftToolBox::ClickSketcher() {
  Host().ResetActivity(true);
  popup_ = TToolBoxMenu::None;
  statusName_ = std::string(DraftButton(B::SBSketcher).hint);
  RecordPending();
  ClickSnapButton(B::SBFree);
  down_[Index(B::SBSketcher)] = true;
  UpdateSnapButtons();
  ShowToolBoxes();
  const bool shown = Ui().ToggleSketcher();
  down_[Index(B::SBSketcher)] = shown;
  bounds_.height = shown ? compactHeight_ : fullHeight_;
}

void TDraftToolBox::ClickText() {
  PlaceDeltaBoxesBelow();
  Host().ResetActivity(true);
  UpdateSnapButtons();
  ClickMark();
  bounds_.height = compactHeight_;
  statusName_ = std::string(DraftButton(B::btnText).hint);
  RecordPending();
  down_[Index(B::btnText)] = Ui().ToggleTextToolBox();
}

// ---------------------------------------------------------------------------
// For the drafting controller
// ---------------------------------------------------------------------------

void TDraftToolBox::ReturnToMarking() {
  SetDown(B::btnMark, true);
  SetEditMode(nullptr, false);
  UpdateSnapButtons();
  toolCode_ = 0;
  Notify();
}

void TDraftToolBox::LeavePickingState() {
  down_[Index(B::TrimBreak)] = false;
  UpdateSnapButtons();
  toolCode_ = 0;
  ShowToolBoxesByCode();
}

void TDraftToolBox::ForceFreeSnap() {
  SetDown(B::SBFree, true);
  snapMode_ = 1;
  Notify();
}

}  // namespace qm
