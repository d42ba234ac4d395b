#include "app/commands.h"

#include <algorithm>
#include <cstdio>

#include "app/actions.h"

namespace qm::app {

namespace {

using C = TCommandId;
using M = TMenu;
using F = TFeature;

constexpr std::array<TCommand, kCommandCount> kTable{{
    {C::FileNew, M::File, "FileNewItem", "&New", "Ctrl+N", "SBFileNew", 9, "", F::Shell, true},
    {C::FileOpen, M::File, "FileOpenItem", "&Open", "Ctrl+O", "SBFileOpen", 10, "", F::Shell, true},
    {C::FileSave, M::File, "FileSaveItem", "&Save", "Ctrl+S", "SBFileSave", 11, "", F::Shell, false},
    {C::FileSaveAs, M::File, "FileSaveAsItem", "Save &As...", "", "SBFileSaveAs", 12, "", F::Shell, false},
    {C::FilePrint, M::File, "FilePrintItem", "&Print ...", "", "SBPrint", 13, "", F::Printing, false},
    {C::FilePrinterSetup, M::File, "FilePrinterSetupItem", "Print Setup...", "", "SBPrinterSetup", 14, "",
     F::Printing, false},
    {C::FileExit, M::File, "FileExitItem", "E&xit", "Alt+F4", "SBExit", 15, "", F::Shell, false},
    {C::RecentFile1, M::File, "N1File1", "", "Ctrl+1", "", 0, "", F::Shell, true},
    {C::RecentFile2, M::File, "N1File2", "", "Ctrl+2", "", 0, "", F::Shell, true},
    {C::RecentFile3, M::File, "N1File3", "", "Ctrl+3", "", 0, "", F::Shell, true},
    {C::RecentFile4, M::File, "N1File4", "", "Ctrl+4", "", 0, "", F::Shell, true},
    {C::RecentFile5, M::File, "N1File5", "", "Ctrl+5", "", 0, "", F::Shell, true},

    {C::Undo, M::Edit, "UndoItem", "&Undo", "Alt+Backspace", "SBUndo", 16, "", F::Shell, false},
    {C::Redo, M::Edit, "RedoItem", "&Redo", "Shift+Alt+Backspace", "SBRedo", 17, "", F::Shell, false},
    {C::Cut, M::Edit, "CutItem", "Cu&t", "Ctrl+X", "SBCut", 31, "", F::Exchange, true},
    {C::Copy, M::Edit, "CopyItem", "&Copy", "Ctrl+C", "SBCopy", 32, "", F::Exchange, false},
    {C::Paste, M::Edit, "PasteItem", "&Paste", "Ctrl+V", "SBPaste", 33, "", F::Exchange, true},
    // The "Delete" button selects the delete tool, as the menu item does.
    {C::Delete, M::Edit, "DeleteItem", "&Delete", "Del", "SBDelete", 34, "Delete", F::DraftTools, true},
    {C::UnmarkAll, M::Edit, "UnmarkAllItem", "&Unmark All", "Ctrl+U", "SBUnmarkAll", 44, "", F::Marking, false},
    {C::ResetActivity, M::Edit, "EscapeItem", "&Reset Activity", "Esc", "SBResetActivity", 56, "Reset Activity",
     F::Shell, false},
    {C::ChainMarked, M::Edit, "ChainMarked1", "&Chain Marked", "F7", "", 0, "", F::Exchange, false},
    {C::Measure, M::Edit, "MeasureItem", "&Measure", "", "SBMeasure", 41, "", F::Measure, false},

    {C::ZoomAll, M::View, "ZoomAllItem", "Zoom &All", "Ctrl+A", "SBZoomAll", 20, "", F::Shell, false},
    {C::ZoomDouble, M::View, "ZoomDoubleItem", "Zoom &Double", "Ctrl+D", "SBZoomDouble", 18, "", F::Shell, false},
    {C::ZoomHalf, M::View, "ZoomHalfItem", "Zoom &Half", "Ctrl+H", "SBZoomHalf", 19, "", F::Shell, false},
    {C::ZoomWindow, M::View, "ZoomWindowItem", "Zoom &Window", "Ctrl+W", "SBZoomWindow", 22, "", F::Shell, false},
    {C::ZoomPrevious, M::View, "ZoomPreviousItem", "Zoom &Previous", "Ctrl+P", "SBZoomPrev", 21, "", F::Shell,
     false},
    {C::ZoomSelected, M::View, "ZoomSelectedItem", "Zoom S&elected", "Ctrl+E", "SBZoomSelected", 23, "", F::Shell,
     false},
    {C::ViewFilled, M::View, "ViewFilledItem", "&Filled", "", "", 0, "", F::Shell, false},
    {C::ViewGrid, M::View, "ViewGridItem", "&Grid ...", "", "SBGrid", 42, "", F::Grid, false},
    {C::ViewDraftToolBox, M::View, "ViewDraftToolBoxItem", "Draft ToolBox ...", "F9", "SBViewToolbox", 35, "",
     F::DraftTools, false},
    {C::ViewTextToolBox, M::View, "ViewTextToolBoxItem", "&Text Parameters ...", "F6", "SBTextToolBox", 40, "",
     F::Text, false},
    {C::ViewFontEditor, M::View, "ViewFontEditorItem", "&Font Editor ...", "", "SBFontEditor", 43, "",
     F::FontEditor, false},
    {C::Arrows, M::View, "Arrows1", "&Arrows", "", "SBArrowsOnOff", 57, "Show Arrows", F::Shell, false},
    {C::ShowPicture, M::View, "Background1", "&Show Picture On/Off", "Ctrl+B", "SBShowPict", 58, "Show Picture",
     F::Picture, false},

    {C::AddLayer, M::Layers, "AddLayerItem", "&Add Layer", "", "SBAddLayer", 49, "", F::Shell, true},
    {C::EmptyLayer, M::Layers, "DeleteEntitiesItem", "&Empty Layer ...", "Ctrl+Del", "SBClearLayer", 45, "",
     F::Shell, true},
    {C::ShowAllLayers, M::Layers, "ShowAllLayersItem", "&Show All Layers", "", "SBshowAllLayers", 48, "", F::Shell,
     false},
    {C::HideAllLayers, M::Layers, "HideAllLayersItem", "&Hide All Layers", "", "SBHideAllLayers", 46, "", F::Shell,
     false},
    {C::ShowActiveLayer, M::Layers, "ShowActiveLayerItem", "Show &Active Layer Only", "", "SBShowActiveLayer", 47,
     "", F::Shell, false},

    {C::Combine, M::Transform, "CombineItem", "&Combine ...", "", "SBCombine", 55, "", F::Processing, true},
    {C::Translate, M::Transform, "TranslateItem", "&Translate ...", "", "SBTranslate", 36, "", F::Transforms, true},
    {C::Rotate, M::Transform, "RotateItem", "&Rotate ...", "", "SBRotate", 37, "", F::Transforms, true},
    {C::Scale, M::Transform, "ScaleItem", "&Scale ...", "", "SBScale", 38, "", F::Transforms, true},
    {C::Mirror, M::Transform, "MirrorItem", "&Mirror ...", "", "SBMirror", 39, "", F::Transforms, true},
    {C::Stretch, M::Transform, "StretchItem", "Stret&ch ...", "", "SBStretch", 50, "", F::Stretch, true},
    {C::Parallel, M::Transform, "ParallelItem", "&Parallel ...", "", "SBParallel", 52, "", F::Processing, true},
    {C::Ridge, M::Transform, "RidgeItem", "R&idge", "", "SBRidge", 53, "", F::Processing, true},
    {C::Shadow, M::Transform, "ShadowItem", "S&hadow...", "", "SBshadow", 51, "", F::Processing, true},

    {C::SystemSorvel, M::System, "SystemSorvelItem", "&Sorvel", "", "SBSorvel", 1, "", F::Shell, false},
    {C::SystemImgel, M::System, "SystemImgelItem", "&Imgel", "", "SBImgel", 4, "", F::Shell, false},
    {C::SystemTornak, M::System, "SystemTornakItem", "&Tornak", "", "SBTornak", 3, "", F::Shell, false},
    {C::CustomizeToolbars, M::System, "CustomizeToolbars", "&Customize Toolbars ...", "", "", 0, "", F::Shell,
     false},
    {C::SystemOptions, M::System, "SystemOptionsItem", "&Options ...", "", "SBoptions", 54, "", F::Shell, false},

    {C::HelpContents, M::Help, "HelpContentsItem", "&Contents ...", "", "SBHelp", 26, "", F::Shell, false},
    {C::HelpSearch, M::Help, "HelpSearchforItem", "&Search for Help On ...", "", "SBHelpSearch", 27, "", F::Shell,
     false},
    {C::HelpHowToUse, M::Help, "HelpHowToUseHelpItem", "&How to Use Help ...", "", "SBHelpOnHelp", 28, "",
     F::Shell, false},
    {C::HelpAbout, M::Help, "HelpAboutItem", "&About ...", "", "SBAbout", 25, "", F::Shell, false},

    {C::LayerVisible, M::LayerPopup, "LayerVisibleItem", "&Visible", "", "", 0, "", F::Shell, true},
    {C::LayerSetColor, M::LayerPopup, "LayerColorItem", "Set &Color", "", "", 0, "", F::Shell, true},
    {C::LayerSetName, M::LayerPopup, "LayerNameItem", "Set Name ...", "", "", 0, "", F::Shell, true},
    {C::LayerAdd, M::LayerPopup, "LayerAddItem", "Add Layer", "", "", 0, "", F::Shell, true},
    {C::LayerRemove, M::LayerPopup, "LayerRemoveItem", "Remove!", "", "", 0, "", F::Shell, true},
}};

constexpr bool TableInOrder() {
  for (std::size_t i = 0; i < kTable.size(); ++i)
    if (static_cast<std::size_t>(kTable[i].id) != i) return false;
  return true;
}
static_assert(TableInOrder(), "the command table follows TCommandId");

constexpr std::array<std::int32_t, 50> CollectTags() {
  std::array<std::int32_t, 50> tags{};
  std::size_t n = 0;
  for (std::int32_t t = 1; t < 100; ++t)
    for (const auto& c : kTable)
      if (c.buttonTag == t) tags[n++] = t;
  return tags;
}
constexpr std::array<std::int32_t, 50> kButtonTags = CollectTags();

bool IsRecentFile(TCommandId id) { return id >= C::RecentFile1 && id <= C::RecentFile5; }

}  // namespace

const std::array<TCommand, kCommandCount>& CommandTable() { return kTable; }

const TCommand& Command(TCommandId id) { return kTable[static_cast<std::size_t>(id)]; }

const TCommand* FindCommandByItem(std::string_view item) {
  for (const auto& c : kTable)
    if (c.item == item) return &c;
  return nullptr;
}

const TCommand* FindCommandByButton(std::string_view button) {
  if (button.empty()) return nullptr;
  for (const auto& c : kTable)
    if (c.button == button) return &c;
  return nullptr;
}

const TCommand* FindCommandByButtonTag(std::int32_t tag) {
  if (tag <= 0) return nullptr;
  for (const auto& c : kTable)
    if (c.buttonTag == tag) return &c;
  return nullptr;
}

const std::array<std::int32_t, 50>& ButtonTags() { return kButtonTags; }

std::string ButtonHint(const TCommand& command, std::string_view caption) {
  if (!command.fixedHint.empty()) return std::string(command.fixedHint);
  return ReduceCaption(caption.empty() ? command.caption : caption);
}

std::string ActionName(const TCommand& command) {
  if (IsRecentFile(command.id)) return "Open";
  return ReduceCaption(command.caption);
}

TCommandStates ComputeCommandStates(const TCommandFacts& f) {
  TCommandStates s;
  for (const auto& c : kTable) {
    TCommandState& st = s.commands[static_cast<std::size_t>(c.id)];
    st.enabled = !f.closing && (f.features & FeatureBit(c.feature)) != 0;
  }
  auto at = [&](TCommandId id) -> TCommandState& { return s.commands[static_cast<std::size_t>(id)]; };
  auto require = [&](TCommandId id, bool condition) { at(id).enabled = at(id).enabled && condition; };

  // A drawing holding only text is not empty: it can be saved under a name.
  require(C::FileSaveAs, !f.drawingEmpty);
  require(C::Undo, f.canUndo);
  require(C::Redo, f.canRedo);
  for (auto id : {C::Cut, C::Copy, C::UnmarkAll, C::Translate, C::Rotate, C::Scale, C::Mirror})
    require(id, f.marked);
  for (auto id : {C::Stretch, C::Parallel, C::Ridge, C::Shadow}) require(id, f.marked && !f.textOpen);
  require(C::Combine, f.marked && !f.textOpen && f.layerCount >= 1);
  require(C::EmptyLayer, f.layerCount >= 1);
  require(C::ViewTextToolBox, !f.sketcherShown);
  require(C::ViewFontEditor, !f.textOpen);
  at(C::ViewFontEditor).checked = f.fontEditorShown;
  at(C::ViewFilled).checked = f.filled;
  at(C::Arrows).checked = f.showArrows;
  require(C::ShowPicture, f.pictureExists);
  at(C::ShowPicture).checked = f.pictureExists && f.pictureShown;
  for (int k = 0; k < 5; ++k) {
    auto id = static_cast<TCommandId>(static_cast<int>(C::RecentFile1) + k);
    at(id).visible = f.recentFileShown[static_cast<std::size_t>(k)];
    require(id, at(id).visible);
  }
  at(C::ChainMarked).visible = false;  // reached through its shortcut only
  for (auto id : {C::LayerVisible, C::LayerSetColor, C::LayerSetName}) require(id, f.layerCount >= 1);
  at(C::LayerVisible).checked = f.layerCount >= 1 && f.activeLayerVisible;
  require(C::LayerRemove, f.layerCount > 1);

  s.anchorButtonEnabled = !f.closing && f.marked && (f.features & FeatureBit(F::DraftTools)) != 0;
  s.draftTextButtonEnabled = !f.closing && !f.fontEditorShown && (f.features & FeatureBit(F::Text)) != 0;
  return s;
}

std::string SizePanelText(bool extentsEmpty, double width, double height) {
  if (extentsEmpty) return {};
  char buf[96];
  std::snprintf(buf, sizeof buf, "W: %3.4f H: %3.4f", width, height);
  return buf;
}

}  // namespace qm::app
