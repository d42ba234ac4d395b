#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <thread>

#include "app/forms/help.h"
#include "app/forms/layer_tabs.h"
#include "platform/family.h"
#include "view/forms/open_canvas_widget.h"
#include "window_fixture.h"

namespace qm::test {
namespace {

using app::TAnswer;
using app::TCommandId;
using C = app::TCommandId;

std::string Text(const QString& s) { return s.toStdString(); }

std::vector<std::string> TabNames(app::TCADChild& w) {
  std::vector<std::string> names;
  for (int i = 0; i < w.LayerTabs().count(); ++i) names.push_back(Text(w.LayerTabs().tabText(i)));
  return names;
}

TEST_F(WindowTest, StartsWithANewDrawingTheMenusAndTheRecentKeys) {
  app::TCADChild& w = Start();
  EXPECT_EQ(Text(w.windowTitle()), "Quillmar-[?.qmd]");
  EXPECT_EQ(TabNames(w), (std::vector<std::string>{"Layer 1"}));
  EXPECT_FALSE(w.Actions().Modified());
  EXPECT_FALSE(w.Action(C::Undo)->isEnabled());
  EXPECT_EQ(Text(w.StatusPanelText(0)), "mm");
  EXPECT_EQ(Text(w.StatusPanelText(3)), "");
  // Every row of the command table is an action with its caption and key;
  // a tool button is the action of its menu item.
  for (const app::TCommand& c : app::CommandTable()) {
    QAction* a = w.Action(c.id);
    ASSERT_NE(a, nullptr) << c.item;
    EXPECT_EQ(Text(a->objectName()), c.item);
    if (!c.caption.empty() && c.id != C::Undo && c.id != C::Redo) EXPECT_EQ(Text(a->text()), c.caption) << c.item;
    if (c.buttonTag) EXPECT_EQ(w.ButtonAction(c.buttonTag), a) << c.item;
  }
  EXPECT_EQ(Text(w.Action(C::FileNew)->shortcut().toString(QKeySequence::PortableText)), "Ctrl+N");
  EXPECT_EQ(Text(w.Action(C::Redo)->shortcut().toString(QKeySequence::PortableText)), "Shift+Alt+Backspace");
  EXPECT_EQ(Text(w.Action(C::ZoomAll)->toolTip()), "Zoom All");
  EXPECT_EQ(Text(w.Action(C::ResetActivity)->toolTip()), "Reset Activity");
  // "Delete" selects the delete tool; it does not empty the layer.
  EXPECT_EQ(w.ButtonAction(34), w.Action(C::Delete));
  EXPECT_EQ(w.ButtonAction(45), w.Action(C::EmptyLayer));
  // Commands of parts not built yet are there, and disabled; so is Save As
  // of an empty drawing and everything that needs marks.
  for (C id : {C::FilePrint, C::Cut, C::Copy, C::Paste, C::Delete, C::Translate, C::ViewDraftToolBox, C::ViewGrid,
               C::Measure, C::ViewTextToolBox, C::Parallel, C::FileSaveAs, C::UnmarkAll})
    EXPECT_FALSE(w.Action(id)->isEnabled()) << Text(w.Action(id)->objectName());
  for (C id : {C::FileNew, C::FileOpen, C::FileSave, C::ZoomAll, C::AddLayer, C::EmptyLayer, C::ShowAllLayers,
               C::HelpContents, C::CustomizeToolbars})
    EXPECT_TRUE(w.Action(id)->isEnabled()) << Text(w.Action(id)->objectName());
  EXPECT_EQ(w.menuBar()->actions().size(), 7);

  const std::string ini = Ini();
  for (int k = 1; k <= 5; ++k) {
    EXPECT_NE(ini.find("LastFile" + std::to_string(k) + "=\n"), std::string::npos) << ini;
    EXPECT_FALSE(w.Action(static_cast<C>(static_cast<int>(C::RecentFile1) + k - 1))->isVisible());
  }
}

TEST_F(WindowTest, AddLayerUndoAndRedoWithTheirCaptions) {
  app::TCADChild& w = Start();
  w.RunCommand(C::AddLayer);
  EXPECT_EQ(TabNames(w), (std::vector<std::string>{"Layer 1", "Layer 2"}));
  EXPECT_EQ(w.LayerTabs().currentIndex(), 1);
  EXPECT_EQ(w.Layout().ActiveLayer(), 1);
  // One step, after the layer exists.
  ASSERT_NE(w.UndoList(), nullptr);
  EXPECT_EQ(w.UndoList()->Count(), 2);
  EXPECT_EQ(Text(w.Action(C::Undo)->text()), "&Undo (Add Layer)");
  EXPECT_EQ(Text(w.Action(C::Undo)->toolTip()), "Undo (Add Layer)");
  EXPECT_TRUE(w.Action(C::Undo)->isEnabled());

  w.RunCommand(C::Undo);
  EXPECT_EQ(TabNames(w), (std::vector<std::string>{"Layer 1"}));
  EXPECT_EQ(w.LayerTabs().currentIndex(), 0);
  EXPECT_EQ(Text(w.Action(C::Undo)->text()), "&Undo");
  EXPECT_FALSE(w.Action(C::Undo)->isEnabled());
  EXPECT_EQ(Text(w.Action(C::Redo)->text()), "&Redo (Add Layer)");
  EXPECT_TRUE(w.Action(C::Redo)->isEnabled());
  EXPECT_TRUE(w.Actions().Modified());
  // Escape after Undo records nothing, so the redo step stays.
  w.RunCommand(C::ResetActivity);
  EXPECT_TRUE(w.Action(C::Redo)->isEnabled());

  w.RunCommand(C::Redo);
  EXPECT_EQ(TabNames(w), (std::vector<std::string>{"Layer 1", "Layer 2"}));
  EXPECT_FALSE(w.Action(C::Redo)->isEnabled());

  // A change still pending is recorded under its own name before the layer.
  w.NoteChange("Diagonal Straight Line");
  w.RunCommand(C::AddLayer);
  ASSERT_EQ(w.UndoList()->Count(), 4);
  EXPECT_EQ(w.UndoList()->Item(2).Name, "Diagonal Straight Line");
  EXPECT_EQ(w.UndoList()->Item(3).Name, "Add Layer");
}

TEST_F(WindowTest, SaveAsThenOpenKeepsThePathAsWritten) {
  app::TCADChild& w = Start();
  DrawLine({0, 0}, {10, 5});
  EXPECT_EQ(Text(w.StatusPanelText(3)), "W: 10.0000 H: 5.0000");
  EXPECT_TRUE(w.Action(C::FileSaveAs)->isEnabled());
  // A dotted directory and a mixed-case name without an extension.
  ::mkdir((tmp / "Plans.v1").c_str(), 0755);
  const std::string chosen = tmp / "Plans.v1/Sign";
  const std::string saved = chosen + ".qmd";
  prompts.saveFiles.push_back(chosen);
  w.RunCommand(C::FileSaveAs);
  EXPECT_TRUE(platform::FileExists(saved));
  EXPECT_EQ(prompts.saveDrawingTypeOnly, std::vector<bool>{true});  // nothing marked: drawings only
  EXPECT_EQ(w.CurrentFileName(), saved);
  EXPECT_EQ(Text(w.windowTitle()), "Quillmar-[" + saved + "]");
  EXPECT_FALSE(w.Actions().Modified());
  EXPECT_NE(Ini().find("LastFile1=" + saved + "\n"), std::string::npos);
  EXPECT_EQ(Text(w.Action(C::RecentFile1)->text()), saved);
  EXPECT_TRUE(w.Action(C::RecentFile1)->isVisible());

  w.RunCommand(C::FileNew);  // unmodified: no question
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_EQ(w.Layout().EntityCount(), 0);
  EXPECT_EQ(Text(w.StatusPanelText(3)), "");

  prompts.openFiles.push_back(saved);
  w.RunCommand(C::FileOpen);
  EXPECT_EQ(w.Layout().EntityCount(), 1);
  EXPECT_EQ(w.CurrentFileName(), saved);
  EXPECT_FALSE(w.Actions().Modified());
  EXPECT_EQ(Text(w.StatusPanelText(3)), "W: 10.0000 H: 5.0000");
  // The drawing starts its history with Open: nothing to undo into, so no
  // older drawing can be saved over this file.
  EXPECT_EQ(w.UndoList()->Count(), 1);
  EXPECT_EQ(w.UndoList()->Item(0).Name, "Open");
  EXPECT_FALSE(w.Action(C::Undo)->isEnabled());
}

TEST_F(WindowTest, RecentFilesKeepTheirOrderAndOpenByItem) {
  app::TCADChild& w = Start();
  std::vector<std::string> files;
  for (char c = 'a'; c <= 'f'; ++c) {
    files.push_back(tmp / (std::string("Drawing-") + static_cast<char>(c - 'a' + 'A') + c + ".qmd"));
    MakeDrawing(files.back(), {{{0, 0}, {double(c - 'a' + 1), 1}}});
  }
  for (const auto& f : files) {
    prompts.openFiles.push_back(f);
    w.RunCommand(C::FileOpen);
    ASSERT_EQ(w.CurrentFileName(), f);
  }
  auto expectList = [&] {
    const std::string ini = Ini();
    for (int k = 1; k <= 5; ++k) {
      const std::string& name = files[static_cast<std::size_t>(6 - k)];  // f, e, d, c, b
      EXPECT_NE(ini.find("LastFile" + std::to_string(k) + "=" + name + "\n"), std::string::npos) << k << "\n" << ini;
      QAction* a = w.Action(static_cast<C>(static_cast<int>(C::RecentFile1) + k - 1));
      EXPECT_TRUE(a->isVisible());
      EXPECT_EQ(Text(a->text()), name);
      EXPECT_EQ(Text(a->shortcut().toString(QKeySequence::PortableText)), "Ctrl+" + std::to_string(k));
    }
  };
  expectList();
  // The third item shows d: opening it changes nothing in the list.
  w.RunCommand(C::RecentFile3);
  EXPECT_EQ(w.CurrentFileName(), files[3]);
  EXPECT_EQ(w.Layout().EntityCount(), 1);
  EXPECT_TRUE(prompts.asked.empty());
  expectList();
}

struct CloseCase {
  TAnswer answer;
  bool closes;
  bool saved;
};

class CloseQueryTest : public WindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQueryTest, AsksAboutAChangedDrawing) {
  const CloseCase c = GetParam();
  app::TCADChild& w = Start();
  DrawLine({0, 0}, {3, 4});
  prompts.answers.push_back(c.answer);
  const std::string target = tmp / "Kept.qmd";
  if (c.answer == TAnswer::Yes) prompts.saveFiles.push_back(target);
  EXPECT_EQ(w.close(), c.closes);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_TRUE(prompts.askedWithCancel[0]);
  EXPECT_EQ(platform::FileExists(target), c.saved);
  EXPECT_EQ(w.isVisible(), !c.closes);
  if (c.answer == TAnswer::Yes) {
    // Saved: the user closes again, and now nothing is asked.
    EXPECT_FALSE(w.Actions().Modified());
    EXPECT_TRUE(w.close());
    EXPECT_EQ(prompts.asked.size(), 1u);
  }
  if (c.answer == TAnswer::Cancel) EXPECT_TRUE(w.Actions().Modified());
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseQueryTest,
                         ::testing::Values(CloseCase{TAnswer::Yes, false, true}, CloseCase{TAnswer::No, true, false},
                                           CloseCase{TAnswer::Cancel, false, false}));

TEST_F(WindowTest, NewAsksOnlyForAChangedDrawingThatHoldsSomething) {
  app::TCADChild& w = Start();
  w.RunCommand(C::AddLayer);  // modified, but empty: nothing to lose
  w.RunCommand(C::FileNew);
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_EQ(w.Layout().LayerCount(), 1);

  DrawLine({0, 0}, {1, 1});
  prompts.answers.push_back(TAnswer::Yes);
  prompts.saveFiles.push_back(tmp / "first.qmd");
  w.RunCommand(C::FileNew);  // Yes saves and leaves the drawing as it is
  EXPECT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(w.Layout().EntityCount(), 1);
  EXPECT_EQ(w.CurrentFileName(), tmp / "first.qmd");
  w.RunCommand(C::FileNew);  // saved now: no question
  EXPECT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(w.Layout().EntityCount(), 0);
  EXPECT_EQ(w.CurrentFileName(), "?.qmd");
  // An unnamed drawing always asks for a name.
  DrawLine({0, 0}, {1, 1});
  prompts.saveFiles.push_back(std::nullopt);
  w.RunCommand(C::FileSave);
  EXPECT_TRUE(prompts.saveFiles.empty());
  EXPECT_EQ(w.CurrentFileName(), "?.qmd");
}

TEST_F(WindowTest, OpensTheFileNamedOnTheCommandLine) {
  ::mkdir((tmp / "Work Dir").c_str(), 0755);
  const std::string path = tmp / "Work Dir/Plate.qmd";
  MakeDrawing(path, {{{0, 0}, {10, 5}}});
  app::TCADChild& w = Start();
  // Wildcards and missing files are not opened, and say nothing.
  w.OpenCommandLine("*.qmd", tmp / "Work Dir");
  w.OpenCommandLine("Missing.qmd", tmp / "Work Dir");
  EXPECT_EQ(w.CurrentFileName(), "?.qmd");
  EXPECT_TRUE(prompts.told.empty());
  w.OpenCommandLine("Plate", tmp / "Work Dir");  // ".qmd" is added
  EXPECT_EQ(w.CurrentFileName(), path);
  EXPECT_EQ(w.Layout().EntityCount(), 1);
  EXPECT_FALSE(w.Actions().Modified());
  EXPECT_EQ(Text(w.StatusPanelText(3)), "W: 10.0000 H: 5.0000");
  EXPECT_EQ(w.RecentFiles().Name(1), path);
}

TEST_F(WindowTest, LoadsThatDoNotReadADrawingKeepTheDrawingAndItsName) {
  app::TCADChild& w = Start();
  DrawLine({0, 0}, {2, 2});
  prompts.saveFiles.push_back(tmp / "Base.qmd");
  w.RunCommand(C::FileSaveAs);
  w.RunCommand(C::AddLayer);
  ASSERT_TRUE(w.Actions().Modified());
  const std::string name = w.CurrentFileName();
  auto expectKept = [&](const char* what) {
    EXPECT_EQ(w.CurrentFileName(), name) << what;
    EXPECT_TRUE(w.Actions().Modified()) << what;
    EXPECT_EQ(w.Layout().LayerCount(), 2) << what;
    EXPECT_EQ(w.Layout().EntityCount(), 1) << what;
    EXPECT_EQ(w.RecentFiles().Name(1), name) << what;
  };

  // A background picture is not the drawing.
  QImage img(40, 20, QImage::Format_RGB32);
  img.fill(Qt::red);
  const std::string png = tmp / "Photo.PNG";
  ASSERT_TRUE(img.save(QString::fromStdString(png), "PNG"));
  prompts.answers.push_back(TAnswer::No);  // the close query before Open
  prompts.openFiles.push_back(png);
  w.RunCommand(C::FileOpen);
  expectKept("picture");
  EXPECT_TRUE(w.Action(C::ShowPicture)->isEnabled());
  EXPECT_TRUE(w.Action(C::ShowPicture)->isChecked());
  EXPECT_TRUE(prompts.told.empty());

  // A converter format whose converter is missing, and a file that is no
  // drawing.
  const std::string dxf = tmp / "Part.dxf";
  WriteFile(dxf, "0\nSECTION\n");
  const std::string junk = tmp / "junk.qmd";
  WriteFile(junk, std::string(300, 'x'));
  for (const std::string& f : {dxf, junk}) {
    prompts.answers.push_back(TAnswer::No);
    prompts.openFiles.push_back(f);
    w.RunCommand(C::FileOpen);
    expectKept(f.c_str());
  }
  EXPECT_EQ(prompts.told.size(), 1u);  // the converter says why; a non-drawing says nothing
  EXPECT_EQ(w.Layout().EntityCount(), 1);
}

TEST_F(WindowTest, MissingRecentFileIsReportedAndStaysInTheList) {
  app::TCADChild& w = Start();
  const std::string path = tmp / "Gone.qmd";
  MakeDrawing(path, {{{0, 0}, {1, 1}}});
  prompts.openFiles.push_back(path);
  w.RunCommand(C::FileOpen);
  ASSERT_EQ(w.RecentFiles().Name(1), path);
  w.RunCommand(C::FileNew);
  std::remove(path.c_str());
  w.RunCommand(C::RecentFile1);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_NE(prompts.told[0].find(path), std::string::npos) << prompts.told[0];
  EXPECT_EQ(w.RecentFiles().Name(1), path);
  EXPECT_EQ(w.CurrentFileName(), "?.qmd");
}

TEST_F(WindowTest, EmptyLayerAndRemoveAskAsTheyShould) {
  app::TCADChild& w = Start();
  DrawLine({0, 0}, {1, 1});
  prompts.answers.push_back(TAnswer::No);
  w.RunCommand(C::EmptyLayer);
  EXPECT_EQ(w.Layout().EntityCount(), 1);
  EXPECT_FALSE(prompts.askedWithCancel.back());
  prompts.answers.push_back(TAnswer::Yes);
  w.RunCommand(C::EmptyLayer);  // the only layer stays, empty
  EXPECT_EQ(w.Layout().EntityCount(), 0);
  EXPECT_EQ(w.Layout().LayerCount(), 1);
  EXPECT_EQ(w.UndoList()->Item(w.UndoList()->Index()).Name, "Empty Layer");

  // "Remove!" is for more than one layer; an empty layer goes without a question.
  EXPECT_FALSE(w.Action(C::LayerRemove)->isEnabled());
  w.RunCommand(C::AddLayer);
  EXPECT_TRUE(w.Action(C::LayerRemove)->isEnabled());
  const std::size_t asked = prompts.asked.size();
  w.RunCommand(C::LayerRemove);
  EXPECT_EQ(prompts.asked.size(), asked);
  EXPECT_EQ(TabNames(w), (std::vector<std::string>{"Layer 1"}));
  EXPECT_EQ(w.UndoList()->Item(w.UndoList()->Index()).Name, "Remove!");
  // A layer holding something is removed only after Yes.
  w.RunCommand(C::AddLayer);
  DrawLine({0, 0}, {1, 1});
  prompts.answers.push_back(TAnswer::No);
  w.RunCommand(C::LayerRemove);
  EXPECT_EQ(w.Layout().LayerCount(), 2);
  prompts.answers.push_back(TAnswer::Yes);
  w.RunCommand(C::LayerRemove);
  EXPECT_EQ(w.Layout().LayerCount(), 1);
}

TEST_F(WindowTest, LayerTabsShowContentAndVisibility) {
  app::TCADChild& w = Start();
  app::TLayerTabBar& tabs = w.LayerTabs();
  EXPECT_FALSE(tabs.TabFont(0).bold());
  EXPECT_FALSE(tabs.TabFont(0).italic());
  DrawLine({0, 0}, {1, 1});
  EXPECT_TRUE(tabs.TabFont(0).bold());
  const int visibleWidth = tabs.tabRect(0).width();

  EXPECT_TRUE(w.Action(C::LayerVisible)->isChecked());
  w.RunCommand(C::LayerVisible);
  EXPECT_FALSE(w.Layout().CurrentLayer()->IsVisible());
  EXPECT_FALSE(w.Action(C::LayerVisible)->isChecked());
  EXPECT_TRUE(tabs.TabFont(0).italic());
  EXPECT_GT(tabs.tabRect(0).width(), visibleWidth);  // 1.3 × instead of 1.2 ×
  EXPECT_EQ(w.UndoList()->Item(w.UndoList()->Index()).Name, "Visible");
  EXPECT_EQ(Text(w.StatusPanelText(3)), "");  // hidden layers have no extents

  w.RunCommand(C::ShowAllLayers);
  EXPECT_TRUE(w.Layout().CurrentLayer()->IsVisible());
  w.RunCommand(C::AddLayer);
  w.RunCommand(C::ShowActiveLayer);
  EXPECT_TRUE(w.ActiveLayerOnly());
  EXPECT_FALSE(w.Layout().LayerAt(0)->IsVisible());
  EXPECT_TRUE(w.Layout().LayerAt(1)->IsVisible());
  // Choosing a tab then shows that layer only.
  tabs.setCurrentIndex(0);
  EXPECT_EQ(w.Layout().ActiveLayer(), 0);
  EXPECT_TRUE(w.Layout().LayerAt(0)->IsVisible());
  EXPECT_FALSE(w.Layout().LayerAt(1)->IsVisible());

  // Colour and name from the layer menu.
  prompts.color = 14;
  w.RunCommand(C::LayerSetColor);
  EXPECT_EQ(w.Layout().LayerAt(0)->ColorIndex(), 14);
  EXPECT_EQ(w.CurrentColor(), 14);
  const platform::Rgb green = config->Colors().At(14);
  EXPECT_EQ(tabs.Look(0).color, QColor(green.r, green.g, green.b));
  w.RunCommand(C::LayerSetName);
  ASSERT_NE(tabs.NameEditor(), nullptr);
  emit tabs.nameEntered(0, "Border");
  EXPECT_EQ(w.Layout().LayerAt(0)->Name(), "Border");
  EXPECT_EQ(Text(tabs.tabText(0)), "Border");
  EXPECT_EQ(w.UndoList()->Item(w.UndoList()->Index()).Name, "Set Name");
}

TEST_F(WindowTest, ZoomCommandsDriveTheView) {
  app::TCADChild& w = Start();
  DrawLine({0, 0}, {100, 50});
  view::TOpenCanvas& v = w.Canvas().View();
  w.RunCommand(C::ZoomAll);
  const view::TWindowRect all = v.Window();
  EXPECT_LE(all.x1, 0);
  EXPECT_GE(all.x2, 100);
  w.RunCommand(C::ZoomDouble);
  EXPECT_NEAR(v.Window().Width(), all.Width() / 2, 1e-9);
  w.RunCommand(C::ZoomHalf);
  EXPECT_NEAR(v.Window().Width(), all.Width(), 1e-9);
  w.RunCommand(C::ZoomPrevious);
  EXPECT_NEAR(v.Window().Width(), all.Width() / 2, 1e-9);
  w.RunCommand(C::ZoomWindow);
  EXPECT_EQ(v.ZoomPending(), 3);
  w.RunCommand(C::ResetActivity);  // Escape cancels it
  EXPECT_EQ(v.ZoomPending(), 0);
}

TEST_F(WindowTest, MessagesFromTheFontEditorAndTheFamily) {
  app::TCADChild& w = Start();
  const int steps = w.UndoList()->Count();
  w.WindowMessage(app::kMsgFontEditorChar, 0, 0);  // code 0 changes nothing
  EXPECT_FALSE(w.Actions().Modified());
  EXPECT_EQ(w.UndoList()->Count(), steps);
  w.WindowMessage(app::kMsgFontEditorShown, 1, 0);
  EXPECT_TRUE(w.Action(C::ViewFontEditor)->isChecked());
  w.WindowMessage(app::kMsgFontEditorShown, 0, 0);
  EXPECT_FALSE(w.Action(C::ViewFontEditor)->isChecked());

  // The settings notice arrives through the family endpoint.
  config->Profile().WriteString("System", "Units", "Inch");
  platform::FamilyWindow self;
  self.endpoint = w.Family().Endpoint().Path();
  int sent = -1;
  std::thread sender([&] { sent = platform::SendFamilyMessage(self, app::kMsgSettingsChanged, 0, 0); });
  EXPECT_TRUE(WaitFor([&] { return w.StatusPanelText(0) == "Inch"; }));
  sender.join();
  EXPECT_EQ(sent, 0);
}

TEST_F(WindowTest, RecoversTheDrawingOfARunThatDidNotEnd) {
  const std::string mail = configDir + "/mail-box";
  ::mkdir(mail.c_str(), 0755);
  // A snapshot of an instance that is gone (no process has this id).
  MakeDrawing(mail + "/$C999999999.3", {{{0, 0}, {4, 2}}, {{1, 1}, {2, 2}}});
  app::TCADChild& w = Start();
  EXPECT_EQ(w.Layout().EntityCount(), 2);
  EXPECT_EQ(w.CurrentFileName(), "?.qmd");
  EXPECT_EQ(Text(w.windowTitle()), "Quillmar-[?.qmd]");
  EXPECT_TRUE(w.Actions().Modified());
  EXPECT_FALSE(w.Action(C::Undo)->isEnabled());
  Stop();
  // The window's end tidies the mail box.
  EXPECT_FALSE(platform::FileExists(mail + "/$C999999999.3"));
}

TEST_F(WindowTest, HelpCommandsOpenTheirPages) {
  std::vector<std::string> opened;
  app::SetHelpOpener([&](const QUrl& url) {
    opened.push_back(url.toString().toStdString());
    return true;
  });
  app::TCADChild& w = Start();
  const std::string dir = QUrl::fromLocalFile(QString::fromStdString(app::HelpDirectory())).toString().toStdString();
  w.RunCommand(C::HelpContents);
  prompts.keyword = "zoom w";
  w.RunCommand(C::HelpSearch);
  prompts.keyword = "no such thing";
  w.RunCommand(C::HelpSearch);
  w.RunCommand(C::HelpHowToUse);
  w.ShowHelpTopic("recent files");
  app::SetHelpOpener({});
  EXPECT_EQ(opened, (std::vector<std::string>{dir + "/index.html", dir + "/commands.html#zoom", dir + "/keywords.html",
                                              dir + "/using-help.html", dir + "/commands.html#recent"}));
  EXPECT_EQ(config->Record().HelpFilePath, app::HelpDirectory() + "/index.html");
}

}  // namespace
}  // namespace qm::test
