// The entity base: ids, flags, chain steps, the change notifications and
// the pen preparation of Draw.
#include <functional>
#include <limits>

#include "model_fixture.h"

namespace qm::test {
namespace {

using Object = ModelTest;

// Stands in for a layout or a character: records what its members report.
class Recorder : public TCadGroup {
 public:
  Recorder() : TCadGroup(nullptr, 0, "recorder") {}
  void MemberChanged(TCadObj& member, TChange change) override { events.push_back({&member, change}); }
  struct Event {
    TCadObj* member;
    TChange change;
  };
  std::vector<Event> events;
};

// A character stand-in: an owner of outline entities.
class FakeChar : public TCadObj {
 public:
  FakeChar() : TCadObj(0, nullptr, ofVisible, 0, 0, 1, 1) {}
  TBox GetExtents() const override { return {P1(), P2()}; }
  double DistanceTo(TPointD) const override { return 0; }
  std::unique_ptr<TCadObj> Clone() const override { return nullptr; }
  bool ClassAccepts(const TCadObj& o) const override { return dynamic_cast<const FakeChar*>(&o); }
  bool IsCharacter() const override { return true; }
  void SpreadMark(bool marked) override {
    spread.push_back(marked);
    SetVisited();
  }
  std::vector<bool> spread;
};

TEST_F(Object, IdsCountFromOneAndFollowStoredIds) {
  TCadObj::ResetIdCounter();
  TCadLine first({0, 0}, {1, 0});
  EXPECT_EQ(first.Id(), 1);
  auto copy = first.Clone();
  EXPECT_EQ(copy->Id(), 2);  // a clone is a new entity

  TCadLine read({0, 0}, {1, 0});
  read.AdoptStoredId(500);
  EXPECT_EQ(read.Id(), 500);
  EXPECT_EQ(TCadLine({0, 0}, {1, 0}).Id(), 501);
  read.AdoptStoredId(7);  // smaller ids do not lower the counter
  EXPECT_EQ(TCadLine({0, 0}, {1, 0}).Id(), 502);

  // A hostile file with the largest id does not make the counter overflow.
  read.AdoptStoredId(std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(TCadLine({0, 0}, {1, 0}).Id(), std::numeric_limits<std::int32_t>::max());
  TCadObj::ResetIdCounter();
  EXPECT_EQ(TCadLine({0, 0}, {1, 0}).Id(), 1);
}

TEST_F(Object, ReverseExchangesEndsAndChainDirection) {
  TCadLine l(0, nullptr, ofVisible | ofChainFwd, {0, 0}, {1, 2});
  l.Reverse();
  EXPECT_TRUE(l.IsChainBack());
  EXPECT_FALSE(l.IsChainFwd());
  EXPECT_TRUE(Ends(l, {1, 2}, {0, 0}));
  l.Reverse();
  EXPECT_TRUE(l.IsChainFwd());
  EXPECT_FALSE(l.IsChainBack());

  // An arc keeps its curve: the bulge changes sign.
  TCadArc a(0, nullptr, ofVisible | ofChainBack, {1, 0}, {0, 1}, 0.4142);
  a.Reverse();
  EXPECT_TRUE(Ends(a, {0, 1}, {1, 0}));
  EXPECT_DOUBLE_EQ(a.Bulge(), -0.4142);
  EXPECT_TRUE(a.IsChainFwd());
  const TArcRec r = RecordOf(a);
  EXPECT_TRUE(Near(r.Center, {0, 0}, 1e-4));
  EXPECT_LT(r.Radius, 0);
}

TEST_F(Object, MatchEndStepsAlongChains) {
  CurrentModelSettings().chainTolerance = 0.001;
  const struct {
    const char* name;
    std::uint16_t flags;
    TPointD p2;
    std::int16_t layer;
    TPointD probe;
    bool match;
    std::int16_t code;
    TPointD next;
  } cases[] = {
      {"at P1", ofVisible, {5, 0}, 0, {0.0009, -0.0009}, true, 4, {5, 0}},
      {"at P2", ofVisible, {5, 0}, 0, {5, 0.0005}, true, 8, {0, 0}},
      {"tolerance is strict", ofVisible, {5, 0}, 0, {0.001, 0}, false, 0, {}},
      {"very short: P1 first", ofVisible, {0.0005, 0}, 0, {0.0003, 0}, true, 4, {0.0005, 0}},
      {"chained forward", ofVisible | ofChainFwd, {5, 0}, 0, {0, 0}, false, 0, {}},
      {"chained backward", ofVisible | ofChainBack, {5, 0}, 0, {0, 0}, false, 0, {}},
      {"other layer", ofVisible, {5, 0}, 1, {0, 0}, false, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TCadLine l(0, nullptr, c.flags, {0, 0}, c.p2);
    TPointD next{-1, -1};
    std::int16_t code = 0;
    EXPECT_EQ(l.MatchEnd(c.probe, c.layer, next, code), c.match);
    if (c.match) {
      EXPECT_EQ(code, c.code);
      EXPECT_TRUE(Near(next, c.next));
    }
  }
  TPointD next;
  std::int16_t code;
  EXPECT_FALSE(TCadCirc({0, 0}, 1).MatchEnd({1, 0}, 0, next, code));  // never taken into a chain
}

TEST_F(Object, EveryGeometryChangeReachesTheOwner) {
  Recorder owner;
  using Op = std::function<void(TCadObj&)>;
  const struct {
    const char* name;
    Op op;
  } ops[] = {
      {"Move", [](TCadObj& e) { e.Move(1, 2); }},
      {"Rotate", [](TCadObj& e) { e.Rotate(0, 0, 0.5); }},
      {"Scale", [](TCadObj& e) { e.Scale(0, 0, 2); }},
      {"Mirror", [](TCadObj& e) { e.Mirror(0, 0, 1, 1); }},
      {"Transform", [](TCadObj& e) { e.Transform(1, 1, 3); }},
      {"ScaleXY", [](TCadObj& e) { e.ScaleXY(nullptr, nullptr, 1, 1, 2, 2); }},
      {"Reverse", [](TCadObj& e) { e.Reverse(); }},
      {"SetPoints", [](TCadObj& e) { e.SetPoints({0, 0}, {3, 0}); }},
      {"Assign", [](TCadObj& e) { e.Assign(*e.Clone()); }},
  };
  std::vector<std::unique_ptr<TCadObj>> entities;
  entities.push_back(Line(0, 0, 4, 0));
  entities.push_back(ArcOf({0, 0}, 2, 0, 1));
  for (auto& e : entities) {
    e->SetOwner(&owner);
    for (const auto& o : ops) {
      SCOPED_TRACE(o.name);
      owner.events.clear();
      o.op(*e);
      ASSERT_FALSE(owner.events.empty());
      EXPECT_EQ(owner.events.back().member, e.get());
      EXPECT_EQ(owner.events.back().change, TChange::Geometry);
    }
  }
  // A circle reverses to itself, so only the others are checked for Reverse.
  TCadCirc c(0, &owner, ofVisible, {0, 0}, 1);
  owner.events.clear();
  c.Move(1, 1);
  c.Scale(0, 0, 2);
  EXPECT_EQ(owner.events.size(), 2u);

  // Layer changes are told apart; BreakAt changes this entity too.
  TCadLine l(0, &owner, ofVisible, {0, 0}, {4, 0});
  owner.events.clear();
  l.SetLayer(3);
  l.SetLayer(3);  // unchanged: no news
  l.LayerRemoved();
  ASSERT_EQ(owner.events.size(), 2u);
  EXPECT_EQ(owner.events[0].change, TChange::Layer);
  EXPECT_EQ(l.Layer(), 2);
  owner.events.clear();
  auto rest = l.BreakAt({1, 0});
  ASSERT_TRUE(rest);
  EXPECT_EQ(owner.events.size(), 1u);
}

TEST_F(Object, GroupsPassMemberNewsToTheirOwner) {
  Recorder layout;
  TCadGroup layer(&layout, 1, "Layer 1");
  TCadObj* l = layer.InsertMember(Line(0, 0, 1, 0));
  ASSERT_TRUE(l);
  bool inserted = false;
  for (const auto& e : layout.events) inserted = inserted || (e.member == l && e.change == TChange::Inserted);
  EXPECT_TRUE(inserted);
  layout.events.clear();
  l->Move(1, 0);
  ASSERT_FALSE(layout.events.empty());
  EXPECT_EQ(layout.events.front().member, l);
  // A copy of the layer is not the layout's member: the layout hears
  // nothing of it.
  layer.SetLayer(2);
  layout.events.clear();
  std::unique_ptr<TCadObj> copy = layer.Clone();
  EXPECT_TRUE(layout.events.empty());
  EXPECT_EQ(copy->Owner(), &layout);
  EXPECT_EQ(copy->Layer(), 2);
  layout.events.clear();
  layer.DeleteMember(l, nullptr, false);
  ASSERT_EQ(layout.events.size(), 1u);
  EXPECT_EQ(layout.events[0].change, TChange::Removing);
}

TEST_F(Object, CharacterOutlinesSpreadMarksAndCarryInCharInFiles) {
  FakeChar ch;
  TCadLine outline(0, &ch, ofVisible, {0, 0}, {1, 0});
  outline.Mark();
  EXPECT_TRUE(outline.IsMarked());
  ASSERT_EQ(ch.spread, std::vector<bool>{true});
  outline.Unmark();  // the character is visited now: no second spread
  EXPECT_EQ(ch.spread.size(), 1u);

  EXPECT_EQ(outline.FlagsForWriting() & ofInChar, ofInChar);
  EXPECT_EQ(TCadLine({0, 0}, {1, 0}).FlagsForWriting() & ofInChar, 0);
  outline.AdoptStoredFlags(ofVisible | ofMarked | ofInChar);
  EXPECT_EQ(outline.Flags(), ofVisible | ofMarked);
  EXPECT_EQ(outline.Owner(), nullptr);
}

TEST_F(Object, DrawPreparesThePenUnlessPreviewed) {
  const struct {
    const char* name;
    std::uint16_t flags;
    std::int16_t mode;
    int width;
    PenStyle style;
    bool screenToo;
  } cases[] = {
      {"plain", ofVisible, 0, 1, PenStyle::Solid, false},
      {"marked", ofVisible | ofMarked, 0, 1, PenStyle::Dotted, false},
      {"chained", ofVisible | ofChainBack, -1, 3, PenStyle::Solid, true},
      {"marked and chained", ofVisible | ofMarked | ofChainFwd, -666, 3, PenStyle::Dotted, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingCanvas canvas;
    canvas.PenOf(Surface::Buffer).width = 7;
    canvas.PenOf(Surface::Screen).width = 7;
    TCadLine l(0, nullptr, c.flags, {0, 0}, {1, 0});
    l.Draw(canvas, c.mode, 0);
    ASSERT_EQ(canvas.LineCount(), 1);
    EXPECT_EQ(canvas.records[0].bufferPen.width, c.width);
    EXPECT_EQ(canvas.records[0].bufferPen.style, c.style);
    EXPECT_EQ(canvas.records[0].toScreen, c.screenToo);
    EXPECT_EQ(canvas.records[0].highlighted, (c.flags & ofMarked) != 0);
    EXPECT_EQ(canvas.records[0].screenPen.width, c.screenToo ? c.width : 7);
  }
  RecordingCanvas canvas;
  canvas.PenOf(Surface::Buffer).width = 5;
  TCadLine preview(0, nullptr, ofVisible | ofPreview | ofChainFwd, {0, 0}, {1, 0});
  preview.Draw(canvas, 0, 0);
  EXPECT_EQ(canvas.records[0].bufferPen.width, 5);  // the caller's pen
}

}  // namespace
}  // namespace qm::test
