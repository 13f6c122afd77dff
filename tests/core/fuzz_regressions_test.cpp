// Inputs the fuzzers found, kept as ordinary tests.
#include <gtest/gtest.h>

#include "shell/overlay.h"

namespace orvane {
namespace {

// A picture wider than the overlay but without height used to be scaled by 0/0.
TEST(FuzzRegressions, PictureWithoutAreaIsPlacedWithoutScaling) {
  struct Case {
    Size picture;
    layout::Rect place;
  } cases[] = {
      {{1000, 0}, {(592 - 1000) / 2, 208, 1000, 0}},
      {{0, 1000}, {296, (416 - 1000) / 2, 0, 1000}},
      {{0, 0}, {296, 208, 0, 0}},
  };
  for (const Case& c : cases) {
    const layout::Rect r = PlacePicture(kOverlayClient, c.picture);
    EXPECT_EQ(r.left, c.place.left);
    EXPECT_EQ(r.top, c.place.top);
    EXPECT_EQ(r.width, c.place.width);
    EXPECT_EQ(r.height, c.place.height);
  }
}

}  // namespace
}  // namespace orvane
