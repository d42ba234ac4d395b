#include <gtest/gtest.h>
#include <unistd.h>

#include "app/document.h"
#include "model/circle.h"
#include "model/line.h"
#include "test_support.h"

using namespace qm;
using namespace qm::app;
using qm::test::ReadFile;
using qm::test::TempDir;
using qm::test::WriteFile;

namespace {

std::vector<std::uint32_t> gPixels(32 * 24, 0xFF000000u);

struct Fixture {
  TDrawingDocument doc;
  int replaced = 0;
  Fixture() {
    doc.SetPreviewSource([] { return TPreviewSource{32, 24, 32, gPixels.data()}; });
    doc.SetReplacedHandler([this] { ++replaced; });
    doc.New();
  }
  TCadObj* AddLine(double x2, double y2) {
    return doc.Layout().InsertIntoLayer(std::make_unique<TCadLine>(TPointD{0, 0}, TPointD{x2, y2}));
  }
};

}  // namespace

TEST(Document, NewSaveLoadRoundTrip) {
  TempDir dir;
  Fixture f;
  EXPECT_TRUE(f.doc.IsEmpty());
  ASSERT_EQ(f.doc.Layout().LayerCount(), 1);
  EXPECT_EQ(f.doc.Layout().LayerAt(0)->Name(), "Layer 1");
  f.AddLine(10, 5);
  f.doc.Layout().AddLayer("Cuts", 4);
  f.doc.Layout().InsertIntoLayer(std::make_unique<TCadCirc>(1, nullptr, ofVisible, TPointD{3, 3}, 1.0));
  EXPECT_FALSE(f.doc.IsEmpty());
  ASSERT_EQ(f.doc.Save(dir / "a.qmd", TFileKind::Native), kSaveOk);

  Fixture g;
  ASSERT_EQ(g.doc.Load(dir / "a.qmd", TFileKind::Native), kLoadOk);
  ASSERT_EQ(g.doc.Layout().LayerCount(), 2);
  EXPECT_EQ(g.doc.Layout().LayerAt(1)->Name(), "Cuts");
  EXPECT_EQ(g.doc.Layout().EntityCount(), 2);
  EXPECT_EQ(g.doc.Layout().ActiveLayer(), 1);
  EXPECT_EQ(g.doc.Layout().LayerAt(0)->Members().At(0)->Owner(), g.doc.Layout().LayerAt(0));
  EXPECT_EQ(g.doc.Layout().LayerAt(1)->Members().At(0)->Layer(), 1);
  TBox box;
  ASSERT_TRUE(g.doc.Layout().RecalcExtents(false, box));
  EXPECT_EQ(box.Max.x, 10);
  // Saving what was loaded gives the same bytes.
  ASSERT_EQ(g.doc.Save(dir / "b.qmd", TFileKind::Native), kSaveOk);
  EXPECT_TRUE(ReadFile(dir / "a.qmd") == ReadFile(dir / "b.qmd"));
}

TEST(Document, AFailedLoadLeavesTheDrawingAndItsReferencesAlone) {
  TempDir dir;
  Fixture f;
  TCadObj* line = f.AddLine(4, 4);
  line->Mark();
  f.doc.MarkGroup().AddMarked(line);
  f.doc.EditGroup().AddEdited(line);
  ASSERT_EQ(f.doc.Save(dir / "good.qmd", TFileKind::Native), kSaveOk);
  std::string good = ReadFile(dir / "good.qmd");
  int before = f.replaced;
  // Every truncation of a valid file but the one before the stack block fails.
  for (std::size_t n : {std::size_t(0), std::size_t(10), kHeaderSize + 1, good.size() - 15, good.size() - 1}) {
    WriteFile(dir / "cut.qmd", good.substr(0, n));
    EXPECT_NE(f.doc.Load(dir / "cut.qmd", TFileKind::Native), kLoadOk) << n;
  }
  EXPECT_EQ(f.replaced, before);
  EXPECT_EQ(f.doc.Layout().EntityCount(), 1);
  EXPECT_EQ(f.doc.MarkGroup().MemberCount(), 1);
  // A successful load frees the old entities; the groups that referred to
  // them are empty afterwards, not dangling (ASan checks the rest).
  ASSERT_EQ(f.doc.Load(dir / "good.qmd", TFileKind::Native), kLoadOk);
  EXPECT_EQ(f.doc.MarkGroup().MemberCount(), 0);
  EXPECT_EQ(f.doc.EditGroup().MemberCount(), 0);
  EXPECT_FALSE(f.doc.Layout().LayerAt(0)->Members().At(0)->IsMarked());
  EXPECT_EQ(f.doc.Load(dir / "x.dxf", TFileKind::Converter), kLoadNotAvailable);
}

TEST(Document, UndoStepsThroughSnapshots) {
  TempDir dir;
  Fixture f;
  TUndoList undo(dir.path(), std::to_string(::getpid()), f.doc, nullptr);
  ASSERT_TRUE(undo.Record("New"));
  f.AddLine(1, 1);
  ASSERT_TRUE(undo.Record("Diagonal Straight Line"));
  f.AddLine(2, 2);
  ASSERT_TRUE(undo.Record("Diagonal Straight Line"));
  ASSERT_TRUE(undo.Undo());
  EXPECT_EQ(f.doc.Layout().EntityCount(), 1);
  ASSERT_TRUE(undo.Undo());
  EXPECT_EQ(f.doc.Layout().EntityCount(), 0);
  ASSERT_TRUE(undo.Redo());
  EXPECT_EQ(f.doc.Layout().EntityCount(), 1);

  // A planted snapshot of another (dead) process is recovered at start-up.
  TempDir box;
  WriteFile(box / "$C999999.5", ReadFile(undo.Item(2).FileName));
  Fixture g;
  TUndoList recover(box.path(), "1", g.doc, nullptr);
  ASSERT_TRUE(recover.RecoverLatest());
  EXPECT_EQ(g.doc.Layout().EntityCount(), 2);
}
