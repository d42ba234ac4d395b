#include "model/layout.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/canvas.h"
#include "model_fixture.h"

namespace qm {
namespace {

using test::Circle;
using test::Line;

// Records what the layout tells the main window.
struct Host : TLayoutHost {
  std::vector<std::string> log;
  int modified = 0;
  std::int16_t color = 4;
  TPickToolState tool;
  void SetModified() override { ++modified; }
  void LayerTabAdded(int i, TCadGroup& l) override { log.push_back("add " + std::to_string(i) + " " + l.Name()); }
  void LayerTabRemoved(int i) override { log.push_back("remove " + std::to_string(i)); }
  void LayerTabSelected(int i) override { log.push_back("select " + std::to_string(i)); }
  void LayerVisibleChecked() override { log.push_back("visible"); }
  void ResetActivity(bool redraw) override { log.push_back(redraw ? "reset redraw" : "reset"); }
  void RecordAction(std::string_view name) override { log.push_back("record " + std::string(name)); }
  std::int16_t CurrentColor() const override { return color; }
  TPickToolState PickToolState() const override { return tool; }
  void MarkingFrameOff() override { log.push_back("frame off"); }
  void FrameAround(const TBox& b) override {
    log.push_back("frame " + std::to_string(b.Min.x) + "," + std::to_string(b.Max.x));
  }
  void Redraw() override { log.push_back("redraw"); }
};

class LayoutTest : public test::ModelTest {
 protected:
  // Appends an entity to layer i and answers it.
  TCadObj* Put(int i, std::unique_ptr<TCadObj> e) { return layout.LayerAt(i)->InsertMember(std::move(e)); }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (int i = 0; i < layout.LayerCount(); ++i) out.push_back(layout.LayerAt(i)->Name());
    return out;
  }

  Host host;
  TCadLayout layout{&host};
};

// ---------------------------------------------------------------------------
// Layers
// ---------------------------------------------------------------------------

TEST_F(LayoutTest, LayersAreNamedAfterTheirCount) {
  layout.NewLayerCommand(1);
  layout.NewLayerCommand(2);
  layout.NewLayerCommand(3);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Layer 1", "Layer 2", "Layer 3"}));
  EXPECT_EQ(host.log, (std::vector<std::string>{"reset redraw", "add 0 Layer 1", "visible", "reset redraw",
                                                "record Add Layer", "add 1 Layer 2", "visible", "reset redraw",
                                                "record Add Layer", "add 2 Layer 3", "visible"}));
  EXPECT_EQ(layout.ActiveLayer(), 2);
  EXPECT_EQ(layout.CurrentLayer(), layout.LayerAt(2));
  EXPECT_EQ(layout.LayerAt(2)->ColorIndex(), 3);

  ASSERT_TRUE(layout.EmptyLayer(1));
  layout.AddLayer("", 0);  // two layers: named after the count again
  layout.AddLayer("Frame", 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Layer 1", "Layer 3", "Layer 3", "Frame"}));
  for (int i = 0; i < layout.LayerCount(); ++i) EXPECT_EQ(layout.LayerAt(i)->Layer(), i);
  EXPECT_FALSE(layout.EmptyLayer(4));
  EXPECT_FALSE(layout.EmptyLayer(-1));
}

TEST_F(LayoutTest, EmptyingTheOnlyLayerKeepsIt) {
  TCadGroup* layer = layout.AddLayer("Cuts", 5);
  TCadObj* a = Put(0, Line(0, 0, 10, 0));
  TCadObj* b = Put(0, Circle(5, 5, 2));
  // Still referred to by the mark and edit groups when freed.
  TMarkGroup marks;
  TEditGroup edits;
  a->Mark();
  marks.AddMarked(a);
  edits.AddEdited(b);
  host.log.clear();

  ASSERT_TRUE(layout.EmptyLayer(0));
  ASSERT_EQ(layout.LayerCount(), 1);
  EXPECT_EQ(layout.LayerAt(0), layer);
  EXPECT_EQ(layer->Name(), "Cuts");
  EXPECT_EQ(layer->ColorIndex(), 5);
  EXPECT_EQ(layer->Layer(), 0);
  EXPECT_EQ(layer->MemberCount(), 0);
  EXPECT_EQ(layer->GetExtents(), EmptyBox);
  EXPECT_EQ(marks.MemberCount(), 0);
  EXPECT_EQ(edits.MemberCount(), 0);
  EXPECT_EQ(layout.EntityCount(), 0);
  EXPECT_EQ(layout.CurrentLayer(), layer);
  EXPECT_EQ(host.log, (std::vector<std::string>{"select 0"}));
  EXPECT_EQ(layout.FindNearest(nullptr, 1, {5, 0}), nullptr);
}

TEST_F(LayoutTest, RemovingALayerRenumbersTheLayersBehindIt) {
  for (int i = 0; i < 3; ++i) {
    layout.AddLayer("", static_cast<std::int16_t>(i));
    Put(i, Line(0, i, 10, i));
    Put(i, Line(0, i + 0.5, 10, i + 0.5));
  }
  TMarkGroup marks;
  for (int i = 0; i < 3; ++i)
    layout.LayerAt(i)->ForEachMember([&](TCadObj& m) {
      m.Mark();
      marks.AddMarked(&m);
    });
  TCadGroup* third = layout.LayerAt(2);
  host.log.clear();

  ASSERT_TRUE(layout.EmptyLayer(1));
  ASSERT_EQ(layout.LayerCount(), 2);
  EXPECT_EQ(layout.LayerAt(1), third);
  EXPECT_EQ(third->Layer(), 1);
  third->ForEachMember([](TCadObj& m) { EXPECT_EQ(m.Layer(), 1); });
  EXPECT_EQ(marks.MemberCount(), 4);  // the freed ones left by themselves
  EXPECT_EQ(layout.CurrentLayer(), layout.LayerAt(0));
  EXPECT_EQ(host.log, (std::vector<std::string>{"remove 1", "select 0"}));
  // The pick still finds the renumbered layer's entities, and not the freed.
  TCadObj* hit = layout.FindNearest(nullptr, 0.1, {5, 2});
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->Owner(), third);
  EXPECT_EQ(layout.FindNearest(nullptr, 0.1, {5, 1}), nullptr);

  // Removing the first layer makes the last one current.
  ASSERT_TRUE(layout.EmptyLayer(0));
  EXPECT_EQ(layout.CurrentLayer(), third);
  EXPECT_EQ(third->Layer(), 0);
  third->ForEachMember([](TCadObj& m) { EXPECT_EQ(m.Layer(), 0); });
}

TEST_F(LayoutTest, EntityCountAndExtentsOverTheLayers) {
  EXPECT_EQ(layout.EntityCount(), 0);
  TBox box;
  EXPECT_FALSE(layout.RecalcExtents(false, box));
  layout.AddLayer("", 1);
  layout.AddLayer("", 2);
  EXPECT_EQ(layout.EntityCount(), 0);  // layers only
  Put(0, Line(0, 0, 10, 5));
  Put(1, Circle(20, 0, 3));
  Put(1, Line(-5, 1, 0, 1));
  EXPECT_EQ(layout.EntityCount(), 3);
  ASSERT_TRUE(layout.UpdateExtents());
  EXPECT_EQ(layout.GetExtents(), (TBox{{-5, -3}, {23, 5}}));
  layout.LayerAt(1)->Hide();  // hidden layers do not count
  ASSERT_TRUE(layout.RecalcExtents(false, box));
  EXPECT_EQ(box, (TBox{{0, 0}, {10, 5}}));
}

// ---------------------------------------------------------------------------
// The pick
// ---------------------------------------------------------------------------

TEST_F(LayoutTest, FindNearestKeepsToTheScanRules) {
  struct Case {
    const char* what;
    TPointD p;
    double tolerance;
    const char* want;  // label, or "" for none
  };
  // Layer 0: a, b (b a copy of a), c. Layer 1: d (another copy of a), e, g.
  // Layer 2 (hidden): f, right on the pick point of the hidden case.
  layout.AddLayer("", 1);
  layout.AddLayer("", 2);
  layout.AddLayer("", 3);
  std::map<TCadObj*, std::string> label;
  label[Put(0, Line(0, 0, 10, 0))] = "a";
  label[Put(0, Line(0, 0, 10, 0))] = "b";
  label[Put(0, Line(0, 2, 10, 2))] = "c";
  label[Put(1, Line(0, 0, 10, 0))] = "d";
  label[Put(1, Line(0, 1.5, 10, 1.5))] = "e";
  // g lies nearer to the last point than c, in a later layer.
  label[Put(1, Line(0, 2 - 1e-12, 10, 2 - 1e-12))] = "g";
  label[Put(2, Line(0, 1.2, 10, 1.2))] = "f";
  layout.LayerAt(2)->Hide();

  const Case cases[] = {
      // a, b and d at the same distance: the earlier layer, the earlier member.
      {"tie", {5, 0.3}, 0.5, "a"},
      // The aperture is tolerance + 1e-5, strictly.
      {"inside aperture", {5, 0.3}, 0.3 - 1e-5 + 1e-9, "a"},
      {"edge of aperture", {5, 0.25}, 0.25 - 1e-5, ""},
      // A later layer's member replaces only when strictly nearer.
      {"later layer nearer", {5, 1.4}, 1, "e"},
      // The hidden layer's f lies on the point.
      {"hidden skipped", {5, 1.2}, 0.5, "e"},
      {"nothing near", {50, 50}, 1, ""},
      // c at 1e-12, e nearer still in a later layer: the scan stops at c.
      {"stop below 1e-11", {5, 2 - 1e-12}, 1, "c"},
  };
  ASSERT_EQ(0.25 - 1e-5 + 1e-5, 0.25);  // the edge case lies exactly on the aperture
  for (const Case& c : cases) {
    TCadObj* got = layout.FindNearest(nullptr, c.tolerance, c.p);
    EXPECT_EQ(got ? label[got] : "", c.want) << c.what;
  }

  // Visited members are passed over (the trim-between walk relies on it).
  for (TCadObj* m : layout.LayerAt(0)->MemberList())
    if (label[m] == "a") m->SetVisited();
  TCadObj* got = layout.FindNearest(nullptr, 0.5, {5, 0.3});
  EXPECT_EQ(got ? label[got] : "", "b");
}

TEST_F(LayoutTest, FindNearestSkipsLayersOutsideTheWindowByCurrentExtents) {
  layout.AddLayer("", 1);
  layout.AddLayer("", 2);
  TCadObj* far = Put(0, Line(100, 100, 110, 100));
  TCadObj* near = Put(1, Line(0, 0.3, 10, 0.3));
  RecordingCanvas canvas;
  canvas.window[0] = -10, canvas.window[1] = -10, canvas.window[2] = 10, canvas.window[3] = 10;
  // The far layer lies outside the window: without a canvas it would win.
  EXPECT_EQ(layout.FindNearest(nullptr, 1, {105, 100.1}), far);
  EXPECT_EQ(layout.FindNearest(&canvas, 1, {105, 100.1}), nullptr);
  // Moved into the window by the layout's Transform and by an edit of the
  // entity itself: each time the layer's extents follow.
  far->Mark();
  layout.Transform(-100, -100, 1);
  EXPECT_EQ(layout.FindNearest(&canvas, 1, {5, 0.1}), far);
  far->SetPoints({100, 100}, {110, 100});
  EXPECT_EQ(layout.FindNearest(&canvas, 1, {5, 0.1}), near);
  far->SetPoints({0, 0}, {10, 0});
  EXPECT_EQ(layout.FindNearest(&canvas, 1, {5, 0.1}), far);
  EXPECT_EQ(layout.LayerExtents(0), (TBox{{0, 0}, {10, 0}}));
}

TEST(LayoutTextPick, TheToolStateDecidesWhetherTextIsSearched) {
  struct Case {
    TPickToolState s;
    bool allowed;
  } cases[] = {
      {{}, true},
      {{kToolTrim, false, false, 0}, true},
      {{kToolTrim, true, false, 0}, false},
      {{0, false, true, 0}, false},
      {{0, false, false, kToolStateNoText}, false},
      {{kToolTrim2, false, false, 0}, false},
      {{kToolBlend, false, false, 0}, false},
      {{kToolChamfer, false, false, 0}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(TextPickAllowed(c.s), c.allowed) << c.s.toolCode << " " << c.s.toolState;
}

// ---------------------------------------------------------------------------
// Inserting, removing, moving
// ---------------------------------------------------------------------------

TEST_F(LayoutTest, InsertIntoLayerSetsOwnerAndLayer) {
  // No layer yet: one is made, with the host's current colour.
  auto first = Line(0, 0, 1, 1);
  first->SetLayer(3);
  TCadObj* e = layout.InsertIntoLayer(std::move(first));
  ASSERT_EQ(layout.LayerCount(), 1);
  EXPECT_EQ(layout.LayerAt(0)->Name(), "Layer 1");
  EXPECT_EQ(layout.LayerAt(0)->ColorIndex(), 4);
  EXPECT_EQ(e->Owner(), layout.LayerAt(0));
  EXPECT_EQ(e->Layer(), 0);

  layout.AddLayer("", 1);
  layout.AddLayer("", 2);
  layout.SetActiveLayer(2);
  struct Case {
    std::int16_t layer;
    int into;
  } cases[] = {{1, 1}, {0, 0}, {7, 2}, {-1, 2}};
  for (const Case& c : cases) {
    auto line = Line(20, 20, 30, 25);
    line->SetLayer(c.layer);
    TCadObj* in = layout.InsertIntoLayer(std::move(line));
    EXPECT_EQ(in->Owner(), layout.LayerAt(c.into)) << c.layer;
    EXPECT_EQ(in->Layer(), c.into) << c.layer;
  }
  EXPECT_EQ(layout.GetExtents(), (TBox{{0, 0}, {30, 25}}));

  // A marked entity joins the mark group; RemoveEntity hands it back.
  TMarkGroup marks;
  auto marked = Line(5, 5, 6, 6);
  marked->Mark();
  TCadObj* m = layout.InsertIntoLayer(std::move(marked), &marks);
  EXPECT_TRUE(marks.Contains(m));
  std::unique_ptr<TCadObj> out = layout.RemoveEntity(m);
  ASSERT_EQ(out.get(), m);
  EXPECT_EQ(out->Owner(), nullptr);
  EXPECT_EQ(layout.RemoveEntity(out.get()), nullptr);  // not in the drawing any more
  EXPECT_EQ(layout.FindNearest(nullptr, 0.1, {5.5, 5.5}), nullptr);
}

TEST_F(LayoutTest, MoveMarkedToLayerKeepsVisibilityAndUpdatesMarksAndExtents) {
  layout.AddLayer("", 1);
  layout.AddLayer("", 2);
  TCadObj* shown = Put(0, Line(0, 0, 10, 0));
  TCadObj* hidden = Put(0, Line(0, 5, 10, 5));
  TCadObj* stays = Put(0, Line(-20, 0, -10, 0));
  Put(1, Line(50, 50, 60, 60));
  hidden->SetFlag(ofVisible, false);
  TMarkGroup marks;
  for (TCadObj* m : {shown, hidden}) {
    m->Mark();
    m->SetVisited();
    marks.AddMarked(m);
  }
  ASSERT_TRUE(layout.UpdateExtents());

  // A copy first: visible and unmarked clones; the sources stay as they are.
  EXPECT_EQ(layout.MoveMarkedToLayer(1, true, &marks), 2);
  ASSERT_EQ(layout.LayerAt(1)->MemberCount(), 3);
  for (int k = 1; k < 3; ++k) {
    const TCadObj* c = layout.LayerAt(1)->Members().At(k);
    EXPECT_EQ(c->Flags(), ofVisible);
    EXPECT_EQ(c->Owner(), layout.LayerAt(1));
    EXPECT_EQ(c->Layer(), 1);
  }
  EXPECT_EQ(marks.MemberCount(), 2);
  EXPECT_TRUE(shown->IsMarked());

  // Then a move to layer 1.
  EXPECT_EQ(layout.MoveMarkedToLayer(1, false, &marks), 2);
  EXPECT_EQ(shown->Flags(), ofVisible);
  EXPECT_EQ(hidden->Flags(), 0);
  for (TCadObj* m : {shown, hidden}) {
    EXPECT_EQ(m->Owner(), layout.LayerAt(1));
    EXPECT_EQ(m->Layer(), 1);
  }
  EXPECT_EQ(marks.MemberCount(), 0);
  EXPECT_EQ(layout.LayerAt(0)->MemberCount(), 1);
  EXPECT_EQ(layout.LayerAt(0)->GetExtents(), stays->GetExtents());
  EXPECT_EQ(layout.LayerAt(1)->GetExtents(), (TBox{{0, 0}, {60, 60}}));
  EXPECT_EQ(layout.GetExtents(), (TBox{{-20, 0}, {60, 60}}));
  EXPECT_EQ(layout.FindNearest(nullptr, 0.1, {5, 0})->Owner(), layout.LayerAt(1));
  EXPECT_EQ(layout.MoveMarkedToLayer(5, false, &marks), -1);
}

// ---------------------------------------------------------------------------
// The band
// ---------------------------------------------------------------------------

TEST_F(LayoutTest, MarkInWindowRebuildsTheMarkGroupFromAllLayers) {
  layout.AddLayer("", 1);
  layout.AddLayer("", 2);
  layout.AddLayer("", 3);
  TCadObj* kept = Put(0, Line(100, 0, 110, 0));      // marked before, outside the band
  TCadObj* inside = Put(1, Line(1, 1, 2, 2));       // entirely in the band
  TCadObj* across = Put(1, Line(1, 1, 20, 1));      // partly in it
  TCadObj* onHidden = Put(2, Line(1, 1, 2, 1));     // hidden layer, marked before
  layout.LayerAt(2)->Hide();
  for (TCadObj* m : {kept, onHidden}) m->Mark();
  layout.SetActiveLayer(1);
  RecordingCanvas canvas;
  canvas.band[0] = 0, canvas.band[1] = 0, canvas.band[2] = 5, canvas.band[3] = 5;
  TMarkGroup marks;

  struct Step {
    int layerChoice, mode;
    bool result;
    std::vector<TCadObj*> marked;  // the mark group afterwards, in order
  } steps[] = {
      // Entirely in: only `inside` toggles on; the marks elsewhere stay listed.
      {TCadLayout::kLayerCurrent, TCadLayout::kMarkAllIn, true, {kept, inside, onHidden}},
      // Partly in: both toggle (inside off, across on).
      {TCadLayout::kLayerCurrent, TCadLayout::kMarkPartIn, true, {kept, across, onHidden}},
      {TCadLayout::kLayerAll, TCadLayout::kMarkPartIn, true, {kept, inside, onHidden}},
      // Nothing of the scanned layers marked afterwards: false, although
      // other layers hold marks.
      {TCadLayout::kLayerCurrent, TCadLayout::kMarkAllIn, false, {kept, onHidden}},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(layout.MarkInWindow(canvas, false, {3, 3}, s.layerChoice, s.mode, marks), s.result);
    EXPECT_EQ(marks.MemberList(), s.marked);
  }
  layout.LayerAt(1)->ForEachMember([](TCadObj& m) { EXPECT_FALSE(m.IsVisited()); });
}

TEST_F(LayoutTest, ChainedMarkingGoesThroughItsHook) {
  struct Chains : TChainMarking {
    std::vector<TCadObj*>* seen;
    explicit Chains(std::vector<TCadObj*>* s) : seen(s) {}
    void Treat(TCadObj& m, TCanvas&, TPointD) override {
      seen->push_back(&m);
      m.SetVisited();  // a chain takes its members: they are not treated again
    }
    int UpdateMarkGroup(TMarkGroup& g) override {
      for (TCadObj* m : *seen) g.AddMarked(m);
      return static_cast<int>(seen->size());
    }
  };
  layout.AddLayer("", 1);
  TCadObj* a = Put(0, Line(1, 1, 2, 2));
  TCadObj* b = Put(0, Line(2, 2, 3, 1));
  Put(0, Line(50, 50, 60, 60));
  RecordingCanvas canvas;
  canvas.band[0] = 0, canvas.band[1] = 0, canvas.band[2] = 5, canvas.band[3] = 5;
  TMarkGroup marks;
  EXPECT_FALSE(layout.MarkInWindow(canvas, false, {1, 1}, TCadLayout::kLayerAll, TCadLayout::kMarkChained, marks));
  std::vector<TCadObj*> seen;
  layout.SetChainMarking([&](TCadLayout&) { return std::make_unique<Chains>(&seen); });
  EXPECT_TRUE(layout.MarkInWindow(canvas, false, {1, 1}, TCadLayout::kLayerAll, TCadLayout::kMarkChained, marks));
  EXPECT_EQ(seen, (std::vector<TCadObj*>{a, b}));
  EXPECT_EQ(marks.MemberList(), seen);
  EXPECT_FALSE(a->IsVisited());
}

// ---------------------------------------------------------------------------
// The find commands
// ---------------------------------------------------------------------------

TEST_F(LayoutTest, FindOverlapsLeavesNothingDanglingWhenTheCoveredEntityGoes) {
  layout.AddLayer("", 1);
  layout.AddLayer("", 2);
  TCadObj* a = Put(0, Line(0, 0, 10, 0));
  TCadObj* partly = Put(0, Line(5, 0, 20, 0));
  TCadObj* copy = Put(1, Line(10, 0, 0, 0));  // a again, drawn the other way
  Put(1, Line(0, 5, 10, 5));
  TMarkGroup marks;
  TOverlapList found;
  host.log.clear();
  layout.FindOverlaps(found, marks);
  // Pairs in scan order: (a, partly) shares 5–10, (a, copy) covers a, then
  // (partly, copy) shares 5–10 again.
  ASSERT_EQ(found.Count(), 3);
  EXPECT_EQ(found.Covered(0), nullptr);
  EXPECT_EQ(found.Covered(1), a);
  EXPECT_EQ(found.Part(1)->Owner(), a);
  EXPECT_EQ(found.Covered(2), nullptr);
  EXPECT_TRUE(test::Ends(*found.Part(0), {5, 0}, {10, 0}) || test::Ends(*found.Part(0), {10, 0}, {5, 0}));
  EXPECT_TRUE(a->IsMarked());
  EXPECT_FALSE(partly->IsMarked());
  EXPECT_FALSE(copy->IsMarked());
  EXPECT_EQ(marks.MemberList(), (std::vector<TCadObj*>{a}));
  EXPECT_EQ(host.log, (std::vector<std::string>{"frame off", "frame 0.000000,10.000000", "redraw"}));

  // The user deletes the covered entity: the part lets go of it.
  layout.DeleteMarked(marks);
  EXPECT_EQ(found.Covered(1), nullptr);
  EXPECT_EQ(found.Part(1)->Owner(), nullptr);
  found.Clear();
  EXPECT_TRUE(found.Empty());
}

TEST_F(LayoutTest, FindOpenEndsMarksEndsThatMeetNoOtherMember) {
  CurrentModelSettings().chainTolerance = 0.25;  // exact in binary: the strict test is seen as is
  layout.AddLayer("", 1);
  layout.AddLayer("", 2);
  layout.AddLayer("", 3);
  Put(0, Line(0, 0, 10, 0));
  Put(0, Line(10, 10, 0, 10));
  Put(0, Line(0, 10.25, -5, 20));  // misses the end before by exactly the tolerance
  Put(0, Circle(0, 0, 3));         // not tested itself
  Put(0, Line(20, 20, 20, 20));    // a point: its two ends are its own
  Put(1, Line(10.125, 0.125, 10, 10));  // joins the first two, from another layer
  Put(2, Line(0, 10.125, 5, 5));        // hidden: joins nothing
  layout.LayerAt(2)->Hide();
  TMarkerList ends;
  layout.FindOpenEnds(ends);
  std::vector<TPointD> got;
  for (const TMarker* m : ends) got.push_back(m->point);
  EXPECT_EQ(got, (std::vector<TPointD>{{0, 0}, {0, 10}, {0, 10.25}, {-5, 20}, {20, 20}, {20, 20}}));
}

}  // namespace
}  // namespace qm
