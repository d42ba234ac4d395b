// Groups, layers, the mark and edit groups, and references that must never
// outlive their entities (run under AddressSanitizer).
#include "model/refs.h"
#include "model_fixture.h"

namespace qm::test {
namespace {

using Group = ModelTest;

TEST_F(Group, InsertWidensExtentsAndStripsPrototypeState) {
  TCadGroup layer(nullptr, 3, "Layer 1");
  EXPECT_TRUE(layer.IsVisible());
  EXPECT_EQ(layer.GetExtents(), EmptyBox);

  auto proto = std::make_unique<TCadLine>(0, nullptr, ofVisible | ofPreview | ofChainFwd | ofMarked, TPointD{0, 0},
                                          TPointD{2, 1});
  proto->SetKind(3);
  TMarkGroup marks;
  TCadObj* a = layer.InsertMember(std::move(proto), nullptr, &marks);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Kind(), 0);
  EXPECT_EQ(a->Flags(), ofVisible | ofMarked);
  EXPECT_EQ(a->Owner(), &layer);
  EXPECT_TRUE(marks.Contains(a));
  EXPECT_EQ(layer.GetExtents(), (TBox{{0, 0}, {2, 1}}));

  TCadObj* b = layer.InsertMember(Circle(5, 5, 1));
  TCadObj* c = layer.InsertMember(Line(-1, -1, 0, 0), a);  // right after a
  EXPECT_EQ(layer.MemberList(), (std::vector<TCadObj*>{a, c, b}));
  EXPECT_EQ(layer.GetExtents(), (TBox{{-1, -1}, {6, 6}}));
  EXPECT_EQ(layer.CountByClass(), (TClassCounts{2, 0, 1}));
  EXPECT_FALSE(marks.Contains(b));
}

TEST_F(Group, RecalcExtentsOfEmptyHiddenAndMarkedGroups) {
  TCadGroup layer(nullptr, 1, "L");
  TBox box{{1, 1}, {2, 2}};
  EXPECT_FALSE(layer.RecalcExtents(false, &box));
  EXPECT_EQ(box, EmptyBox);
  EXPECT_EQ(layer.GetExtents(), EmptyBox);

  TCadObj* a = layer.InsertMember(Line(0, 0, 1, 1));
  layer.InsertMember(Line(5, 5, 6, 8));
  a->Mark();
  EXPECT_TRUE(layer.RecalcExtents(true, &box));
  EXPECT_EQ(box, (TBox{{0, 0}, {1, 1}}));
  EXPECT_TRUE(layer.RecalcExtents(false, &box));
  EXPECT_EQ(box, (TBox{{0, 0}, {6, 8}}));

  layer.Hide();
  EXPECT_FALSE(layer.RecalcExtents(false, &box));
  EXPECT_EQ(box, EmptyBox);
  layer.Show();
  // Deleting everything leaves the extent empty, not stale.
  for (TCadObj* m : layer.MemberList()) m->Mark();
  EXPECT_EQ(layer.DeleteMarked(), 2);
  EXPECT_EQ(layer.GetExtents(), EmptyBox);
}

TEST_F(Group, MarkUnmarkAndLayerRemovedReachEveryMember) {
  TCadGroup layer(nullptr, 1, "L");
  layer.SetLayer(2);
  TCadObj* a = layer.InsertMember(Line(0, 0, 1, 1));
  TCadObj* b = layer.InsertMember(Circle(0, 0, 1));
  a->SetLayer(2);
  b->SetLayer(2);
  layer.Mark();
  EXPECT_TRUE(layer.IsMarked() && a->IsMarked() && b->IsMarked());
  layer.Unmark();
  EXPECT_FALSE(a->IsMarked() || b->IsMarked());
  a->SetVisited();
  layer.ClearVisited();
  EXPECT_FALSE(a->IsVisited());
  layer.LayerRemoved();
  EXPECT_EQ(layer.Layer(), 1);
  EXPECT_EQ(a->Layer(), 1);
  EXPECT_EQ(b->Layer(), 1);
}

TEST_F(Group, DeletingMarkedAndEditedEntitiesLeavesNoReference) {
  auto layer = std::make_unique<TCadGroup>(nullptr, 1, "L");
  TMarkGroup marks;
  TEditGroup edited;
  TEntityRef<TCadObj> picked;
  std::vector<TCadObj*> all;
  const int n = 20000;
  for (int i = 0; i < n; ++i) all.push_back(layer->InsertMember(Line(i, 0, i, 1)));
  for (int i = 0; i < n; i += 2) {
    all[i]->Mark();
    marks.AddMarked(all[i]);
  }
  for (int i = 0; i < n; i += 3) edited.AddEdited(all[i]);
  picked = all[4];

  // Deleting n/2 marked entities stays linear: one pass over the layer, one
  // O(1) detach per reference.
  EXPECT_EQ(layer->DeleteMarked(), n / 2);
  EXPECT_EQ(marks.MemberCount(), 0);
  EXPECT_EQ(layer->MemberCount(), n / 2);
  EXPECT_EQ(picked.get(), nullptr);
  // Every third entity was edited; the odd ones among them survive.
  int survivors = 0;
  edited.ForEachMember([&](TCadObj& e) {
    EXPECT_TRUE(e.HasFlag(ofPreview));
    EXPECT_EQ(e.Owner(), layer.get());
    ++survivors;
  });
  EXPECT_EQ(survivors, n / 6);

  // Single deletions and freeing the whole layer detach as well. A freed
  // entity is only ever asked about through a reference that outlives it.
  TEntityRef<TCadObj> odd(all[3]);
  EXPECT_TRUE(edited.Contains(odd.get()));
  EXPECT_TRUE(layer->DeleteMember(odd.get()));
  EXPECT_FALSE(odd);
  EXPECT_EQ(edited.MemberCount(), n / 6 - 1);
  marks.AddMarked(all[1]);
  layer.reset();
  EXPECT_EQ(marks.MemberCount(), 0);
  EXPECT_EQ(edited.MemberCount(), 0);
  edited.ClearEdited();  // touches no freed entity
  marks.ClearMarked();
}

// Stands in for a layout that follows its layer: whenever it hears of a
// removal it walks the layer, as an index update may.
class Follower : public TCadGroup {
 public:
  Follower() : TCadGroup(nullptr, 0, "layout") {}
  void MemberChanged(TCadObj& member, TChange change) override {
    if (change != TChange::Removing) return;
    EXPECT_TRUE(member.IsMarked());
    for (const TCadObj* m : layer->Members()) walked += m->Length();
  }
  const TCadGroup* layer = nullptr;
  double walked = 0;
};

// Follows one entity and walks the layer when it dies.
class Watch final : public TRefNode {
 public:
  Watch(TCadObj* entity, const TCadGroup& layer) : layer_(layer) { Link(entity); }
  int members = -1;

 private:
  void TargetDied(TCadObj*) override {
    members = 0;
    for (const TCadObj* m : layer_.Members()) members += m->Length() > 0 ? 1 : 0;
  }
  const TCadGroup& layer_;
};

TEST_F(Group, DeleteMarkedShowsAWholeListToWhoeverIsTold) {
  Follower layout;
  TCadGroup layer(&layout, 1, "L");
  layout.layer = &layer;
  std::vector<TCadObj*> e;
  for (int i = 0; i < 6; ++i) e.push_back(layer.InsertMember(Line(0, i, 1 + i, i)));
  for (int i : {1, 2, 4}) e[i]->Mark();
  Watch watch(e[2], layer);
  EXPECT_EQ(layer.DeleteMarked(), 3);
  EXPECT_GT(layout.walked, 0);
  EXPECT_EQ(watch.members, 3);  // it died when only the survivors were listed
  EXPECT_EQ(layer.MemberList(), (std::vector<TCadObj*>{e[0], e[3], e[5]}));
}

TEST_F(Group, ListsDestroyedBeforeTheirEntitiesLetGo) {
  TCadGroup layer(nullptr, 1, "L");
  TCadObj* a = layer.InsertMember(Line(0, 0, 1, 0));
  {
    TMarkGroup marks;
    TEditGroup edited;
    marks.AddMarked(a);
    edited.AddEdited(a);
    EXPECT_TRUE(a->HasFlag(ofPreview));
  }
  EXPECT_EQ(a->FirstReference(), nullptr);
  EXPECT_FALSE(a->HasFlag(ofPreview));  // the edit group cleared it on its way out
  EXPECT_TRUE(layer.DeleteMember(a));
}

TEST_F(Group, RefListKeepsOrderThroughRemovalsAndReuse) {
  TCadGroup layer(nullptr, 1, "L");
  std::vector<TCadObj*> e;
  for (int i = 0; i < 100; ++i) e.push_back(layer.InsertMember(Line(i, 0, i, 1)));
  TRefList list;
  for (TCadObj* x : e) EXPECT_TRUE(list.Add(x));
  EXPECT_FALSE(list.Add(e[0]));  // listed once
  for (int i = 0; i < 100; i += 3) EXPECT_TRUE(list.Remove(e[i]));
  EXPECT_FALSE(list.Remove(e[0]));
  for (int i = 0; i < 100; i += 3) list.Add(e[i]);  // squeezes the holes out, then appends
  std::vector<TCadObj*> expected;
  for (int i = 0; i < 100; ++i)
    if (i % 3) expected.push_back(e[i]);
  for (int i = 0; i < 100; i += 3) expected.push_back(e[i]);
  EXPECT_EQ(list.Items(), expected);
  EXPECT_EQ(list.Count(), 100u);

  TEntityRef<TCadObj> r1(e[5]), r2 = r1;
  EXPECT_EQ(r2.get(), e[5]);
  layer.DeleteMember(e[5]);
  EXPECT_FALSE(r1);
  EXPECT_FALSE(r2);
  EXPECT_FALSE(list.Contains(e[6]) == false);
  EXPECT_EQ(list.Count(), 99u);
}

TEST_F(Group, EditGroupMarksPreviewAndAnimates) {
  TCadGroup layer(nullptr, 1, "L");
  TCadObj* a = layer.InsertMember(Line(0, 0, 10, 0));
  TCadObj* c = layer.InsertMember(Circle(20, 0, 2));
  a->Mark();
  {
    TEditGroup edited;
    EXPECT_EQ(edited.Name(), "Animated");
    EXPECT_EQ(edited.ColorIndex(), 15);
    EXPECT_TRUE(edited.AllOfClass(*a));  // empty list
    edited.AddEdited(a);
    EXPECT_TRUE(edited.AllOfClass(TCadLine({0, 0}, {1, 1})));
    edited.AddEdited(c);
    EXPECT_FALSE(edited.AllOfClass(*a));
    EXPECT_EQ(edited.GetExtents(), (TBox{{0, -2}, {22, 2}}));

    RecordingCanvas canvas;
    canvas.backgroundIndex = 0;
    canvas.PenOf(Surface::Screen).color = {1, 2, 3};
    edited.Tick(canvas);
    EXPECT_EQ(edited.Phase(), 1);
    ASSERT_GE(canvas.records.size(), 3u);
    EXPECT_EQ(canvas.records[0].op, RecordingCanvas::Op::Refresh);
    const auto& stroke = canvas.records[1];
    EXPECT_EQ(stroke.op, RecordingCanvas::Op::AnimatedLine);
    EXPECT_EQ(stroke.phase, 1);
    EXPECT_EQ(stroke.screenPen.mode, PenMode::Xor);
    EXPECT_EQ(stroke.screenPen.style, PenStyle::Dotted);
    const platform::Rgb g = GroupColor(canvas, 15), bg = canvas.BackgroundColor();
    EXPECT_EQ(stroke.screenPen.color, (platform::Rgb{static_cast<std::uint8_t>(g.r ^ bg.r),
                                                     static_cast<std::uint8_t>(g.g ^ bg.g),
                                                     static_cast<std::uint8_t>(g.b ^ bg.b)}));
    EXPECT_EQ(canvas.PenOf(Surface::Screen).mode, PenMode::Copy);
    EXPECT_EQ(canvas.PenOf(Surface::Screen).color, (platform::Rgb{1, 2, 3}));
    for (int i = 0; i < 5; ++i) edited.Tick(canvas);
    EXPECT_EQ(edited.Phase(), 0);

    edited.ClearEdited();
    EXPECT_EQ(edited.MemberCount(), 0);
    EXPECT_EQ(edited.GetExtents(), EmptyBox);
    EXPECT_FALSE(a->HasFlag(ofPreview));
    edited.AddEdited(c);
  }
  // Members stay in their layer with their marks; the preview state is gone.
  EXPECT_EQ(layer.MemberCount(), 2);
  EXPECT_TRUE(a->IsMarked());
  EXPECT_FALSE(c->HasFlag(ofPreview));
}

TEST_F(Group, DrawUsesTheGroupColourAndResetsThePen) {
  RecordingCanvas canvas;
  canvas.backgroundIndex = 4;
  TCadGroup layer(nullptr, 4 + canvas.colors.Count(), "L");  // maps onto the background entry
  layer.SetLayer(3);
  TCadObj* a = layer.InsertMember(Line(0, 0, 1, 0));
  a->SetFlag(ofChainFwd, true);
  layer.InsertMember(Line(0, 1, 1, 1));
  layer.Draw(canvas, -1, 1);
  ASSERT_EQ(canvas.LineCount(), 2);
  EXPECT_EQ(canvas.records[0].bufferPen.color, canvas.colors.At(5));  // the next entry
  EXPECT_EQ(canvas.records[0].bufferPen.width, 3);
  EXPECT_EQ(canvas.records[2].bufferPen.width, 1);  // reset after the chained member
  EXPECT_EQ(a->Layer(), 3);
  EXPECT_EQ(canvas.records.back().op, RecordingCanvas::Op::FillSpans);
  EXPECT_TRUE(canvas.records.back().toScreen);
  EXPECT_EQ(canvas.fillEdges, 0);

  canvas.records.clear();
  layer.Hide();
  layer.Draw(canvas, 0, 0);
  EXPECT_TRUE(canvas.records.empty());

  // The mark group lists entities of any layer and renumbers none of them.
  TMarkGroup marks;
  marks.AddMarked(a);
  marks.Draw(canvas, 0, 0);
  EXPECT_EQ(canvas.LineCount(), 1);
  EXPECT_EQ(a->Layer(), 3);
}

TEST_F(Group, ArrowsOnLayerMembersOnlyAndFlagsRestored) {
  RecordingCanvas canvas;
  canvas.showArrows = true;
  TCadGroup layer(nullptr, 1, "L");
  TCadObj* a = layer.InsertMember(Line(0, 0, 10, 0));
  const std::uint16_t before = a->Flags();
  layer.DrawDirection(canvas, -3);
  EXPECT_EQ(canvas.LineCount(), 2);
  EXPECT_FALSE(canvas.records[0].toScreen);  // |mode|
  EXPECT_EQ(a->Flags(), before);

  // The mark group lists entities owned by layers: they get arrows; an
  // entity owned by something else (a character's outline) does not.
  canvas.records.clear();
  TCadLine outline(0, &layer, ofVisible, {0, 0}, {1, 0});  // owner: a group
  TCadCirc charOwner({0, 0}, 1);
  TCadLine inChar(0, &charOwner, ofVisible, {0, 0}, {1, 0});
  TMarkGroup marks;
  marks.AddMarked(&outline);
  marks.AddMarked(&inChar);
  marks.DrawDirection(canvas, 3);
  EXPECT_EQ(canvas.LineCount(), 2);
  EXPECT_FALSE(inChar.HasFlag(ofShowDir));
}

// An entity that cannot stay of its class under ScaleXY: it inserts two
// marked lines after itself, in order. The walk must not scale them again.
class Splitter : public TCadLine {
 public:
  using TCadLine::TCadLine;
  std::int32_t ScaleXY(TCadGroup* group, TMarkGroup* marks, double, double, double, double) override {
    auto piece = [](double x1, double y1, double x2, double y2) {
      return std::make_unique<TCadLine>(0, nullptr, ofVisible | ofMarked, TPointD{x1, y1}, TPointD{x2, y2});
    };
    TCadObj* first = group->InsertMember(piece(0, 0, 1, 1), this, marks);
    group->InsertMember(piece(1, 1, 2, 2), first, marks);
    return 2;
  }
};

TEST_F(Group, ScaleXYMarkedReplacesAndReports) {
  TCadGroup layer(nullptr, 1, "L");
  TMarkGroup marks;
  auto mark = [&](TCadObj* e) {
    e->Mark();
    marks.AddMarked(e);
    return e;
  };
  TCadObj* l = mark(layer.InsertMember(Line(1, 1, 2, 1)));
  TCadObj* s = mark(layer.InsertMember(std::make_unique<Splitter>(TPointD{0, 0}, TPointD{1, 0})));
  TCadObj* c = mark(layer.InsertMember(Circle(0, 0, 1)));
  TCadObj* untouched = layer.InsertMember(Line(9, 9, 10, 9));
  TEntityRef<TCadObj> replaced(s);
  const TScaleXYReport r = layer.ScaleXYMarked(&marks, 1, 0, 2, 3);
  EXPECT_EQ(r, (TScaleXYReport{1, 1, 1}));  // the line scaled, the splitter replaced, the circle refused
  EXPECT_TRUE(Ends(*l, {3, 3}, {5, 3}));
  EXPECT_FALSE(replaced);  // deleted, and so gone from the mark group
  EXPECT_EQ(marks.MemberCount(), 4);  // l, c and the two marked replacements
  EXPECT_EQ(layer.MemberCount(), 5);
  // The replacements stand where the splitter stood and were not scaled.
  EXPECT_TRUE(Ends(*layer.Members().At(1), {0, 0}, {1, 1}));
  EXPECT_TRUE(Ends(*layer.Members().At(2), {1, 1}, {2, 2}));
  EXPECT_EQ(layer.Members().At(3), c);
  EXPECT_EQ(RecordOf(*c).Radius, 1);  // left as it was
  EXPECT_EQ(untouched->P1(), (TPointD{9, 9}));
}

TEST_F(Group, TransformMarkedAndGroupTransforms) {
  TCadGroup layer(nullptr, 1, "L");
  TCadObj* a = layer.InsertMember(Line(0, 0, 1, 0));
  TCadObj* b = layer.InsertMember(Line(0, 1, 1, 1));
  a->Mark();
  layer.TransformMarked(1, 1, 2);
  EXPECT_TRUE(Ends(*a, {1, 1}, {3, 1}));
  EXPECT_TRUE(Ends(*b, {0, 1}, {1, 1}));
  EXPECT_EQ(layer.GetExtents(), (TBox{{0, 1}, {3, 1}}));
  layer.Move(0, -1);
  EXPECT_EQ(layer.GetExtents(), (TBox{{0, 0}, {3, 0}}));

  auto copy = layer.Clone();
  auto* g = dynamic_cast<TCadGroup*>(copy.get());
  ASSERT_TRUE(g);
  EXPECT_EQ(g->MemberCount(), 2);
  EXPECT_NE(g->Members().At(0), a);
  EXPECT_EQ(g->Members().At(0)->Owner(), g);
  EXPECT_EQ(TMarkGroup().Clone(), nullptr);
}

}  // namespace
}  // namespace qm::test
