#include "app/layer_colors.h"

#include <gtest/gtest.h>

namespace qm::app {
namespace {

TEST(LayerColors, TheNewLayerColourSkipsTheBackground) {
  struct Case {
    int current, screen, n;
    bool hasLayers;
    TNewLayerColor want;
  } cases[] = {
      // The first layer takes the current colour, moved off the background.
      {0, 0, 20, false, {1, 1}},
      {19, 19, 20, false, {0, 0}},
      {5, 0, 20, false, {5, 5}},
      // Later layers take the next colour.
      {5, 0, 20, true, {5, 6}},
      {0, 0, 20, true, {1, 2}},
      {4, 5, 20, true, {4, 6}},   // the background is stepped over
      {19, 0, 20, true, {19, 20}},  // N itself is kept (drawn as entry 0)
      {20, 0, 20, true, {20, 1}},   // past N: 0, which is the background: 1
      {20, 3, 20, true, {20, 0}},
      {19, 20, 20, true, {19, 0}},  // background N: stepped over, then past N
      // No palette: nothing to choose from.
      {3, 3, 0, true, {3, 3}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChooseNewLayerColor(c.current, c.screen, c.n, c.hasLayers), c.want)
        << c.current << " " << c.screen << " " << c.n << " " << c.hasLayers;
}

}  // namespace
}  // namespace qm::app
