// The layout's indexed lookups against plain scans over every member in
// layer and member order, on random drawings that are edited in every way
// the index must follow (appends, insertions in the middle, deletions, moves,
// transformations, layers hidden, emptied and removed, members moved between
// layers, visited flags).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <typeinfo>
#include <vector>

#include "model/canvas.h"
#include "model/layout.h"
#include "model_fixture.h"

namespace qm {
namespace {

// ---------------------------------------------------------------------------
// The plain scans
// ---------------------------------------------------------------------------

double Magnitude(const TBox& b) {
  return std::max(std::max(std::fabs(b.Min.x), std::fabs(b.Min.y)), std::max(std::fabs(b.Max.x), std::fabs(b.Max.y)));
}

TBox UnionOf(const TCadGroup& g) {
  TBox b = EmptyBox;
  g.ForEachMember([&](const TCadObj& m) { b = MergeBoxes(b, m.GetExtents()); });
  return b;
}

TCadObj* ScanNearest(TCadLayout& l, const TCanvas* canvas, double tolerance, TPointD p) {
  const double radius = tolerance + 1e-5;
  double best = FarValue;
  TCadObj* candidate = nullptr;
  for (int i = 0; i < l.LayerCount(); ++i) {
    const TCadGroup& g = *l.LayerAt(i);
    if (!g.IsVisible()) continue;
    if (canvas) {
      double x1, y1, x2, y2;
      canvas->WorldWindow(x1, y1, x2, y2);
      const TBox e = UnionOf(g);
      if (e.Min.x < FarValue && (e.Max.x < x1 || e.Min.x > x2 || e.Max.y < y1 || e.Min.y > y2)) continue;
    }
    for (TCadObj* m : g.MemberList()) {
      if (m->IsVisited()) continue;
      const double d = m->DistanceTo(p);
      if (d < best && d < radius) {
        best = d;
        candidate = m;
      }
      if (d < 1e-11) return candidate;
    }
  }
  return candidate;
}

bool ScanMarkInWindow(TCadLayout& l, TCanvas& canvas, int layerChoice, int mode, TMarkGroup& marks) {
  l.ClearVisited();
  std::vector<bool> scanned(static_cast<std::size_t>(l.LayerCount()));
  for (int i = 0; i < l.LayerCount(); ++i) {
    TCadGroup& g = *l.LayerAt(i);
    if ((layerChoice != TCadLayout::kLayerAll && &g != l.CurrentLayer()) || !g.IsVisible()) continue;
    scanned[static_cast<std::size_t>(i)] = true;
    for (TCadObj* m : g.MemberList()) {
      if (m->IsVisited() || !m->InFrame(canvas, mode == 0)) continue;
      if (m->IsMarked())
        m->Unmark();
      else
        m->Mark();
    }
  }
  marks.ClearMarked();
  int count = 0;
  for (int i = 0; i < l.LayerCount(); ++i)
    for (TCadObj* m : l.LayerAt(i)->MemberList())
      if (m->IsMarked()) {
        marks.AddMarked(m);
        if (scanned[static_cast<std::size_t>(i)]) ++count;
      }
  l.ClearVisited();
  return count > 0;
}

struct Part {
  std::string cls;
  TPointD p1, p2;
  int covered;  // scan position of the covered entity, −1 none
  bool operator==(const Part&) const = default;
};

std::vector<TCadObj*> Visible(TCadLayout& l) {
  std::vector<TCadObj*> all;
  for (int i = 0; i < l.LayerCount(); ++i)
    if (l.LayerAt(i)->IsVisible())
      for (TCadObj* m : l.LayerAt(i)->MemberList()) all.push_back(m);
  return all;
}

int PositionIn(const std::vector<TCadObj*>& all, const TCadObj* e) {
  for (std::size_t i = 0; i < all.size(); ++i)
    if (all[i] == e) return static_cast<int>(i);
  return -1;
}

std::vector<Part> ScanOverlaps(TCadLayout& l, TMarkGroup& marks) {
  l.Unmark();
  marks.ClearMarked();
  const std::vector<TCadObj*> all = Visible(l);
  std::vector<Part> parts;
  for (std::size_t a = 0; a < all.size(); ++a)
    for (std::size_t b = a + 1; b < all.size(); ++b) {
      std::unique_ptr<TCadObj> c = all[b]->Overlap(*all[a]);
      if (!c) continue;
      const TCadObj& A = *all[a];
      const bool covers = (SamePoint(c->P1(), A.P1(), 1e-4) && SamePoint(c->P2(), A.P2(), 1e-4)) ||
                          (SamePoint(c->P1(), A.P2(), 1e-4) && SamePoint(c->P2(), A.P1(), 1e-4));
      if (covers) {
        all[a]->Mark();
        marks.AddMarked(all[a]);
      }
      parts.push_back({typeid(*c).name(), c->P1(), c->P2(), covers ? static_cast<int>(a) : -1});
    }
  return parts;
}

std::vector<TPointD> ScanOpenEnds(TCadLayout& l) {
  const double tol = CurrentModelSettings().chainTolerance;
  const std::vector<TCadObj*> all = Visible(l);
  std::vector<TPointD> out;
  for (const TCadObj* m : all) {
    if (dynamic_cast<const TCadCirc*>(m)) continue;
    for (const TPointD p : {m->GetStartPoint(), m->GetEndPoint()}) {
      bool met = false;
      for (const TCadObj* o : all)
        if (o != m && (SamePoint(p, o->GetStartPoint(), tol) || SamePoint(p, o->GetEndPoint(), tol))) met = true;
      if (!met) out.push_back(p);
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// Two identical drawings: one answers through its index, the other is
// scanned; every edit is made to both.
// ---------------------------------------------------------------------------

class LayoutScanTest : public test::ModelTest {
 protected:
  std::mt19937 rng{20240611};

  static double Coord(std::mt19937& g) { return std::uniform_int_distribution<int>(0, 20)(g); }
  static int Pick(std::mt19937& g, int n) { return std::uniform_int_distribution<int>(0, n - 1)(g); }
  double Coord() { return Coord(rng); }
  int Pick(int n) { return Pick(rng, n); }

  // A random entity on a coarse grid, so that ends meet, lines overlap and
  // copies coincide; the same seed gives the same entity.
  static std::unique_ptr<TCadObj> Random(std::uint32_t seed) {
    std::mt19937 g(seed);
    const double x = Coord(g), y = Coord(g);
    switch (Pick(g, 5)) {
      case 0: return test::Line(x, y, x + Pick(g, 9) - 4, y);
      case 1: return Pick(g, 2) ? test::Line(x, y, x, y + Pick(g, 9) - 4) : test::Line(x, y, x + 2, y + 2);
      case 2: return test::Circle(x, y, 1 + Pick(g, 3));
      default: {
        const double r = 1 + Pick(g, 3);
        const double start = Pick(g, 4) * HalfPi;
        return test::ArcOf({x, y}, Pick(g, 2) ? r : -r, start, start + HalfPi + Pick(g, 2) * Pi);
      }
    }
  }

  template <class F>
  void Both(F&& f) {
    f(a);
    f(b);
  }

  // The member at (layer, position) of l.
  static TCadObj* At(TCadLayout& l, int layer, int k) { return l.LayerAt(layer)->Members().At(k); }

  // One round of random edits, the same on both drawings.
  void Edit(int edits) {
    for (int e = 0; e < edits; ++e) {
      const int layer = Pick(a.LayerCount());
      const int n = a.LayerAt(layer)->MemberCount();
      const int what = Pick(10);
      const std::uint32_t seed = static_cast<std::uint32_t>(rng());
      if (what <= 2 || n < 4) {  // append
        Both([&](TCadLayout& l) {
          auto en = Random(seed);
          en->SetLayer(static_cast<std::int16_t>(layer));
          l.InsertIntoLayer(std::move(en));
        });
      } else if (what == 3) {  // insertion in the middle
        const int after = Pick(n);
        Both([&](TCadLayout& l) { l.LayerAt(layer)->InsertMember(Random(seed), At(l, layer, after)); });
      } else if (what == 4) {  // deletion
        const int k = Pick(n);
        Both([&](TCadLayout& l) { l.LayerAt(layer)->DeleteMember(At(l, layer, k), nullptr, false); });
      } else if (what <= 6) {  // a move or an edit of the entity alone
        const int k = Pick(n);
        const double dx = (Pick(41) - 20) * 0.5, dy = (Pick(41) - 20) * 0.5;
        Both([&](TCadLayout& l) { At(l, layer, k)->Move(dx, dy); });
      } else if (what == 7) {  // the layout's transformation of marked members
        const int k = Pick(n);
        const double f = Pick(2) ? 1.0 : 0.5;
        Both([&](TCadLayout& l) {
          l.Unmark();
          At(l, layer, k)->Mark();
          l.Transform(3, -2, f);
          l.Unmark();
        });
      } else if (what == 8) {  // visited flags
        const int k = Pick(n);
        Both([&](TCadLayout& l) { At(l, layer, k)->SetVisited(); });
      } else {  // moved to another layer
        const int k = Pick(n), to = Pick(a.LayerCount());
        Both([&](TCadLayout& l) {
          l.Unmark();
          At(l, layer, k)->Mark();
          l.MoveMarkedToLayer(to, false, nullptr);
        });
      }
    }
  }

  void Build(int layers, int perLayer) {
    for (int i = 0; i < layers; ++i) {
      Both([&](TCadLayout& l) { l.AddLayer("", static_cast<std::int16_t>(i + 1)); });
      for (int k = 0; k < perLayer; ++k) {
        const std::uint32_t seed = static_cast<std::uint32_t>(rng());
        Both([&](TCadLayout& l) { l.LayerAt(i)->InsertMember(Random(seed)); });
      }
    }
  }

  // Where an entity of `l` stands: layer and position, or (−1, −1).
  static std::pair<int, int> Where(TCadLayout& l, const TCadObj* e) {
    if (!e) return {-1, -1};
    const int i = l.IndexOfLayer(e->Owner());
    return {i, i < 0 ? -1 : l.LayerAt(i)->Members().IndexOf(e)};
  }

  void ComparePicks(int tries) {
    RecordingCanvas canvas;
    for (int t = 0; t < tries; ++t) {
      const TPointD p{Coord() + Pick(100) * 0.013, Coord() - Pick(100) * 0.007};
      const double tol = Pick(4) == 0 ? 0 : Pick(30) * 0.1;
      const double wx = Coord(), wy = Coord();
      canvas.window[0] = wx - 5, canvas.window[1] = wy - 5, canvas.window[2] = wx + 5, canvas.window[3] = wy + 5;
      const TCanvas* c = Pick(2) ? &canvas : nullptr;
      ASSERT_EQ(Where(a, a.FindNearest(c, tol, p)), Where(b, ScanNearest(b, c, tol, p)))
          << "pick at " << p.x << "," << p.y << " tol " << tol << (c ? " with canvas" : "");
    }
    for (int i = 0; i < a.LayerCount(); ++i) ASSERT_EQ(a.LayerExtents(i), UnionOf(*b.LayerAt(i)));
  }

  void CompareBands(int tries) {
    RecordingCanvas ca, cb;
    TMarkGroup ma, mb;
    for (int t = 0; t < tries; ++t) {
      const double x = Coord(), y = Coord(), w = Pick(20) * 0.5, h = Pick(20) * 0.5;
      for (RecordingCanvas* c : {&ca, &cb}) {
        c->band[0] = x, c->band[1] = y, c->band[2] = x + w, c->band[3] = y + h;
        c->pixelSize = 0.05;
      }
      const int choice = Pick(2) ? TCadLayout::kLayerAll : TCadLayout::kLayerCurrent, mode = Pick(2);
      const int current = Pick(a.LayerCount());
      a.SetActiveLayer(current);
      b.SetActiveLayer(current);
      const bool ra = a.MarkInWindow(ca, false, {x, y}, choice, mode, ma);
      const bool rb = ScanMarkInWindow(b, cb, choice, mode, mb);
      ASSERT_EQ(ra, rb);
      const std::vector<TCadObj*> la = ma.MemberList(), lb = mb.MemberList();
      ASSERT_EQ(la.size(), lb.size());
      for (std::size_t k = 0; k < la.size(); ++k) ASSERT_EQ(Where(a, la[k]), Where(b, lb[k]));
    }
    a.Unmark();
    b.Unmark();
  }

  TCadLayout a, b;
};

TEST(LayoutIndexBoxes, SinglePrecisionBoxesHoldTheirBoxes) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_int_distribution<int> exponent(-60, 140);
  for (int i = 0; i < 20000; ++i) {
    double v[4];
    for (double& x : v) x = std::ldexp(mantissa(rng), exponent(rng));
    const TBox b{{std::min(v[0], v[2]), std::min(v[1], v[3])}, {std::max(v[0], v[2]), std::max(v[1], v[3])}};
    const TFloatBox f = TFloatBox::Outward(b);
    ASSERT_TRUE(f.x1 <= b.Min.x && f.y1 <= b.Min.y && f.x2 >= b.Max.x && f.y2 >= b.Max.y) << b.Min.x << " " << b.Max.x;
    // Out of the single range the box cannot bound anything: always a candidate.
    EXPECT_EQ(f.Proper(), Magnitude(b) <= std::numeric_limits<float>::max());
  }
}

TEST_F(LayoutScanTest, PicksAndBandsMatchTheScansThroughEveryKindOfEdit) {
  Build(3, 300);
  for (int round = 0; round < 12; ++round) {
    ComparePicks(60);
    CompareBands(8);
    // Rounds of a few edits stay below the index's rebuild budget, larger
    // ones go beyond it.
    Edit(round % 3 == 2 ? 150 : 7);
    if (round == 5) Both([](TCadLayout& l) { l.LayerAt(1)->Hide(); });
    if (round == 8) Both([](TCadLayout& l) { l.LayerAt(1)->Show(); });
    if (round == 9) {
      Both([](TCadLayout& l) { l.EmptyLayer(0); });
      Both([](TCadLayout& l) { l.AddLayer("", 7); });
    }
  }
  ComparePicks(100);
  CompareBands(10);
}

TEST_F(LayoutScanTest, OverlapsAndOpenEndsMatchTheQuadraticScans) {
  CurrentModelSettings().chainTolerance = 0.3;
  Build(3, 250);
  Edit(40);
  Both([](TCadLayout& l) { l.ClearVisited(); });
  b.LayerAt(2)->Hide();
  a.LayerAt(2)->Hide();

  TOverlapList found;
  TMarkGroup ma, mb;
  a.FindOverlaps(found, ma);
  const std::vector<Part> want = ScanOverlaps(b, mb);
  const std::vector<TCadObj*> allA = Visible(a);
  std::vector<Part> got;
  for (int i = 0; i < found.Count(); ++i) {
    const TCadObj& c = *found.Part(i);
    got.push_back({typeid(c).name(), c.P1(), c.P2(), PositionIn(allA, found.Covered(i))});
  }
  EXPECT_GT(want.size(), 20u);
  EXPECT_EQ(got, want);
  ASSERT_EQ(ma.MemberCount(), mb.MemberCount());

  TMarkerList ends;
  a.FindOpenEnds(ends);
  std::vector<TPointD> open;
  for (const TMarker* m : ends) open.push_back(m->point);
  const std::vector<TPointD> wantOpen = ScanOpenEnds(b);
  EXPECT_GT(wantOpen.size(), 20u);
  EXPECT_LT(wantOpen.size(), 2 * allA.size());
  EXPECT_EQ(open, wantOpen);
}

}  // namespace
}  // namespace qm
