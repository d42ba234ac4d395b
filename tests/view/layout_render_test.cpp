// The layout drawn through the view: culling members outside the window
// changes no pixel, in outline and in fill mode, and every member still
// takes its layer's number.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "model/arc.h"
#include "model/circle.h"
#include "model/layout.h"
#include "model/line.h"
#include "view/layout_content.h"
#include "view/open_canvas.h"

namespace qm::view {
namespace {

// Every layer drawn in full, as a group draws itself.
struct Unculled : TViewContent {
  TCadLayout* layout;
  explicit Unculled(TCadLayout* l) : layout(l) {}
  void DrawInto(TCanvas& c) override {
    for (int i = 0; i < layout->LayerCount(); ++i) {
      layout->LayerAt(i)->SetLayer(static_cast<std::int16_t>(i));
      layout->LayerAt(i)->Draw(c, 0, layout->FillMode());
    }
    layout->DrawDirection(c, 3);
  }
};

std::unique_ptr<TCadObj> RandomEntity(std::mt19937& rng) {
  std::uniform_real_distribution<double> c(-500, 500), d(-30, 30), r(0.5, 40), a(0, 6.283);
  const TPointD p{c(rng), c(rng)};
  switch (rng() % 7) {
    case 0: return std::make_unique<TCadCirc>(p, 900);  // crosses every window
    case 1:
    case 2: return std::make_unique<TCadCirc>(p, r(rng));
    case 3: {
      TArcRec rec;
      rec.Center = p;
      rec.Radius = (rng() % 2 ? 1 : -1) * r(rng);
      rec.StartAngle = a(rng);
      rec.EndAngle = a(rng);
      return std::make_unique<TCadArc>(0, nullptr, ofVisible, rec);
    }
    case 4: return std::make_unique<TCadLine>(TPointD{-2000, p.y}, TPointD{2000, p.y + d(rng)});
    default: return std::make_unique<TCadLine>(p, TPointD{p.x + d(rng), p.y + d(rng)});
  }
}

TEST(LayoutRender, CullingLeavesThePixelsAsTheFullDrawWould) {
  std::mt19937 rng(7);
  TCadLayout layout;
  for (int i = 0; i < 3; ++i) {
    TCadGroup* layer = layout.AddLayer("", static_cast<std::int16_t>(13 + i));
    for (int k = 0; k < 700; ++k) {
      TCadObj* e = layer->InsertMember(RandomEntity(rng));
      e->SetLayer(99);
      // Marked (highlighted and dotted), chained (3 pixels wide), previewed
      // (drawn with the pen left by the member before).
      if (k % 11 == 0) e->Mark();
      if (k % 13 == 0) e->SetFlag(ofChainFwd, true);
      if (k % 17 == 0) e->SetFlag(ofPreview, true);
    }
  }
  TLayoutContent culled(layout);
  Unculled full(&layout);
  TOpenCanvas a, b;
  for (TOpenCanvas* v : {&a, &b}) {
    v->SetViewBounds(0, 0, 240, 320);
    v->SetShowArrows(true);
  }
  a.SetContent(&culled);
  b.SetContent(&full);
  const TWindowRect windows[] = {
      {-600, -450, 600, 450},    // everything
      {-20, -15, 20, 15},        // zoomed in
      {300, 200, 301, 200.75},   // far in
      {5000, 5000, 5400, 5300},  // beside the drawing
  };
  for (int fill : {0, 1})
    for (const TWindowRect& w : windows) {
      layout.SetFillMode(static_cast<std::int16_t>(fill));
      ASSERT_TRUE(a.SetWindow(w));
      ASSERT_TRUE(b.SetWindow(w));
      a.RebuildView();
      b.RebuildView();
      const TRaster& ra = a.BufferImage();
      const TRaster& rb = b.BufferImage();
      int differ = 0;
      for (int y = 0; y < ra.Height(); ++y)
        for (int x = 0; x < ra.Width(); ++x) differ += ra.Pixel(x, y) != rb.Pixel(x, y);
      EXPECT_EQ(differ, 0) << "fill " << fill << " window " << w.x1 << "," << w.y1;
    }
  for (int i = 0; i < 3; ++i) layout.LayerAt(i)->ForEachMember([i](TCadObj& m) { EXPECT_EQ(m.Layer(), i); });
  // Zoom All fits the drawing with the margin.
  ASSERT_TRUE(ZoomAll(a, layout));
  TBox box = layout.GetExtents();
  EXPECT_NEAR(a.Window().Width(), 1.2 * std::max(box.Max.x - box.Min.x, (box.Max.y - box.Min.y) * 320 / 240), 1e-6);
  TCadLayout empty;
  EXPECT_FALSE(ZoomAll(a, empty));
  EXPECT_FALSE(ZoomSelected(a, empty));
  a.SetContent(nullptr);
  b.SetContent(nullptr);
}

}  // namespace
}  // namespace qm::view
