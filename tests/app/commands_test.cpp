#include <gtest/gtest.h>

#include <set>

#include "app/commands.h"

using namespace qm::app;
using C = TCommandId;

TEST(CommandTable, ButtonTagsAreThoseOfTheLayoutFile) {
  // The tags by which the toolbar layout file names the buttons.
  const std::pair<int, const char*> tags[] = {
      {1, "SBSorvel"},        {3, "SBTornak"},          {4, "SBImgel"},          {9, "SBFileNew"},
      {10, "SBFileOpen"},     {11, "SBFileSave"},       {12, "SBFileSaveAs"},    {13, "SBPrint"},
      {14, "SBPrinterSetup"}, {15, "SBExit"},           {16, "SBUndo"},          {17, "SBRedo"},
      {18, "SBZoomDouble"},   {19, "SBZoomHalf"},       {20, "SBZoomAll"},       {21, "SBZoomPrev"},
      {22, "SBZoomWindow"},   {23, "SBZoomSelected"},   {25, "SBAbout"},         {26, "SBHelp"},
      {27, "SBHelpSearch"},   {28, "SBHelpOnHelp"},     {31, "SBCut"},           {32, "SBCopy"},
      {33, "SBPaste"},        {34, "SBDelete"},         {35, "SBViewToolbox"},   {36, "SBTranslate"},
      {37, "SBRotate"},       {38, "SBScale"},          {39, "SBMirror"},        {40, "SBTextToolBox"},
      {41, "SBMeasure"},      {42, "SBGrid"},           {43, "SBFontEditor"},    {44, "SBUnmarkAll"},
      {45, "SBClearLayer"},   {46, "SBHideAllLayers"},  {47, "SBShowActiveLayer"}, {48, "SBshowAllLayers"},
      {49, "SBAddLayer"},     {50, "SBStretch"},        {51, "SBshadow"},        {52, "SBParallel"},
      {53, "SBRidge"},        {54, "SBoptions"},        {55, "SBCombine"},       {56, "SBResetActivity"},
      {57, "SBArrowsOnOff"},  {58, "SBShowPict"},
  };
  ASSERT_EQ(ButtonTags().size(), std::size(tags));
  for (std::size_t i = 0; i < std::size(tags); ++i) {
    EXPECT_EQ(ButtonTags()[i], tags[i].first);
    const TCommand* c = FindCommandByButtonTag(tags[i].first);
    ASSERT_NE(c, nullptr) << tags[i].first;
    EXPECT_EQ(c->button, tags[i].second);
    EXPECT_EQ(FindCommandByButton(tags[i].second), c);
  }
  EXPECT_EQ(FindCommandByButtonTag(24), nullptr);
  EXPECT_EQ(FindCommandByButtonTag(0), nullptr);
}

TEST(CommandTable, NamesAndShortcutsAreUnique) {
  std::set<std::string_view> items, shortcuts;
  for (const auto& c : CommandTable()) {
    EXPECT_FALSE(c.item.empty());
    EXPECT_TRUE(items.insert(c.item).second) << c.item;
    if (!c.shortcut.empty()) {
      EXPECT_TRUE(shortcuts.insert(c.shortcut).second) << c.shortcut;
    }
    EXPECT_EQ(FindCommandByItem(c.item), &c);
  }
}

TEST(CommandTable, RowsAsTheMenuShowsThem) {
  struct Row {
    C id;
    const char *item, *caption, *shortcut, *button;
  } rows[] = {
      {C::FileSaveAs, "FileSaveAsItem", "Save &As...", "", "SBFileSaveAs"},
      {C::FileExit, "FileExitItem", "E&xit", "Alt+F4", "SBExit"},
      {C::RecentFile3, "N1File3", "", "Ctrl+3", ""},
      {C::Redo, "RedoItem", "&Redo", "Shift+Alt+Backspace", "SBRedo"},
      // The "Delete" button selects the delete tool; Empty Layer has its own button.
      {C::Delete, "DeleteItem", "&Delete", "Del", "SBDelete"},
      {C::EmptyLayer, "DeleteEntitiesItem", "&Empty Layer ...", "Ctrl+Del", "SBClearLayer"},
      {C::ResetActivity, "EscapeItem", "&Reset Activity", "Esc", "SBResetActivity"},
      {C::ZoomSelected, "ZoomSelectedItem", "Zoom S&elected", "Ctrl+E", "SBZoomSelected"},
      {C::ShowPicture, "Background1", "&Show Picture On/Off", "Ctrl+B", "SBShowPict"},
      {C::Shadow, "ShadowItem", "S&hadow...", "", "SBshadow"},
      {C::HelpSearch, "HelpSearchforItem", "&Search for Help On ...", "", "SBHelpSearch"},
      {C::CustomizeToolbars, "CustomizeToolbars", "&Customize Toolbars ...", "", ""},
  };
  for (const auto& r : rows) {
    const TCommand& c = Command(r.id);
    EXPECT_EQ(c.item, r.item);
    EXPECT_EQ(c.caption, r.caption) << r.item;
    EXPECT_EQ(c.shortcut, r.shortcut) << r.item;
    EXPECT_EQ(c.button, r.button) << r.item;
  }
}

TEST(CommandTable, HintsAndUndoStepNames) {
  EXPECT_EQ(ButtonHint(Command(C::ZoomAll)), "Zoom All");
  EXPECT_EQ(ButtonHint(Command(C::FilePrint)), "Print");
  EXPECT_EQ(ButtonHint(Command(C::ZoomAll), "Zoom &Tout ..."), "Zoom Tout");  // a translated caption
  EXPECT_EQ(ButtonHint(Command(C::Arrows)), "Show Arrows");
  EXPECT_EQ(ButtonHint(Command(C::ShowPicture), "x"), "Show Picture");
  EXPECT_EQ(ButtonHint(Command(C::EmptyLayer)), "Empty Layer");
  EXPECT_EQ(ActionName(Command(C::EmptyLayer)), "Empty Layer");
  EXPECT_EQ(ActionName(Command(C::LayerSetName)), "Set Name");
  EXPECT_EQ(ActionName(Command(C::RecentFile2)), "Open");
}

namespace {
// A drawing in which every command could run.
TCommandFacts Favourable() {
  TCommandFacts f;
  f.features = kAllFeatures;
  f.marked = true;
  f.drawingEmpty = false;
  f.layerCount = 2;
  f.canUndo = f.canRedo = true;
  f.pictureExists = true;
  f.recentFileShown.fill(true);
  return f;
}
std::set<C> Enabled(const TCommandStates& s) {
  std::set<C> e;
  for (const auto& c : CommandTable())
    if (s[c.id].enabled) e.insert(c.id);
  return e;
}
}  // namespace

TEST(CommandStates, CommandsOfPartsNotBuiltAreDisabled) {
  TCommandFacts f = Favourable();
  EXPECT_EQ(Enabled(ComputeCommandStates(f)).size(), kCommandCount);
  f.features = kShellFeatures;
  const std::set<C> shell = {
      C::FileNew, C::FileOpen, C::FileSave, C::FileSaveAs, C::FileExit, C::RecentFile1, C::RecentFile2,
      C::RecentFile3, C::RecentFile4, C::RecentFile5, C::Undo, C::Redo, C::ResetActivity, C::ZoomAll,
      C::ZoomDouble, C::ZoomHalf, C::ZoomWindow, C::ZoomPrevious, C::ZoomSelected, C::ViewFilled, C::Arrows,
      C::ShowPicture,
      C::AddLayer, C::EmptyLayer, C::ShowAllLayers, C::HideAllLayers, C::ShowActiveLayer, C::SystemSorvel,
      C::SystemImgel, C::SystemTornak, C::CustomizeToolbars, C::SystemOptions, C::HelpContents, C::HelpSearch,
      C::HelpHowToUse, C::HelpAbout, C::LayerVisible, C::LayerSetColor, C::LayerSetName, C::LayerAdd,
      C::LayerRemove};
  TCommandStates s = ComputeCommandStates(f);
  EXPECT_EQ(Enabled(s), shell);
  EXPECT_FALSE(s.anchorButtonEnabled);
  EXPECT_FALSE(s.draftTextButtonEnabled);
  f.features |= FeatureBit(TFeature::Printing);
  EXPECT_TRUE(ComputeCommandStates(f)[C::FilePrint].enabled);
}

TEST(CommandStates, RulesOfTheDrawingAndTheWindow) {
  struct Case {
    const char* what;
    void (*change)(TCommandFacts&);
    std::set<C> disabled;
  } cases[] = {
      {"nothing marked", [](TCommandFacts& f) { f.marked = false; },
       {C::Cut, C::Copy, C::UnmarkAll, C::Translate, C::Rotate, C::Scale, C::Mirror, C::Stretch, C::Parallel,
        C::Ridge, C::Shadow, C::Combine}},
      {"text open", [](TCommandFacts& f) { f.textOpen = true; },
       {C::Stretch, C::Parallel, C::Ridge, C::Shadow, C::Combine, C::ViewFontEditor}},
      {"empty drawing", [](TCommandFacts& f) { f.drawingEmpty = true; }, {C::FileSaveAs}},
      {"one layer", [](TCommandFacts& f) { f.layerCount = 1; }, {C::LayerRemove}},
      {"no layer", [](TCommandFacts& f) { f.layerCount = 0; },
       {C::Combine, C::EmptyLayer, C::LayerVisible, C::LayerSetColor, C::LayerSetName, C::LayerRemove}},
      {"sketcher shown", [](TCommandFacts& f) { f.sketcherShown = true; }, {C::ViewTextToolBox}},
      {"no picture", [](TCommandFacts& f) { f.pictureExists = false; }, {C::ShowPicture}},
      {"undo list at its ends", [](TCommandFacts& f) { f.canUndo = f.canRedo = false; }, {C::Undo, C::Redo}},
      {"no recent files 2 and 5",
       [](TCommandFacts& f) { f.recentFileShown[1] = f.recentFileShown[4] = false; },
       {C::RecentFile2, C::RecentFile5}},
  };
  for (const auto& c : cases) {
    TCommandFacts f = Favourable();
    c.change(f);
    std::set<C> disabled;
    for (const auto& cmd : CommandTable())
      if (!ComputeCommandStates(f)[cmd.id].enabled) disabled.insert(cmd.id);
    EXPECT_EQ(disabled, c.disabled) << c.what;
  }
  TCommandFacts closing = Favourable();
  closing.closing = true;
  EXPECT_TRUE(Enabled(ComputeCommandStates(closing)).empty());
}

TEST(CommandStates, ChecksAndVisibility) {
  TCommandFacts f = Favourable();
  f.recentFileShown = {true, true, false, false, false};
  f.showArrows = true;
  f.pictureShown = true;
  f.activeLayerVisible = false;
  f.fontEditorShown = true;
  TCommandStates s = ComputeCommandStates(f);
  EXPECT_TRUE(s[C::RecentFile2].visible);
  EXPECT_FALSE(s[C::RecentFile3].visible);
  EXPECT_FALSE(s[C::ChainMarked].visible);
  EXPECT_TRUE(s[C::Arrows].checked);
  EXPECT_FALSE(s[C::ViewFilled].checked);
  EXPECT_TRUE(s[C::ShowPicture].checked);
  EXPECT_FALSE(s[C::LayerVisible].checked);
  EXPECT_TRUE(s[C::ViewFontEditor].checked);
  EXPECT_TRUE(s.anchorButtonEnabled);
  EXPECT_FALSE(s.draftTextButtonEnabled);  // the font editor is shown
  f.pictureExists = false;
  EXPECT_FALSE(ComputeCommandStates(f)[C::ShowPicture].checked);
}

TEST(StatusLine, SizePanel) {
  EXPECT_EQ(SizePanelText(false, 10, 5), "W: 10.0000 H: 5.0000");
  EXPECT_EQ(SizePanelText(false, 0.5, 123.45678), "W: 0.5000 H: 123.4568");
  EXPECT_EQ(SizePanelText(true, 10, 5), "");
}
