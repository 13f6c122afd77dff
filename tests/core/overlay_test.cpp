// The loading overlay's portable rules: where the picture stands, how frames are composed and
// when the next one is due.
#include "shell/overlay.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(PlacePicture, CentresAFittingPictureAndShrinksALargerOneKeepingItsShape) {
  struct Case {
    Size client, picture;
    layout::Rect placed;
  } cases[] = {
      {kOverlayClient, {85, 81}, {253, 167, 85, 81}},  // the loading animation in lable
      {{592, 416}, {1184, 416}, {0, 104, 592, 208}},   // twice as wide, as high: half size
      {{592, 416}, {592, 416}, {0, 0, 592, 416}},      // exactly the client area
      {{100, 100}, {50, 300}, {42, 0, 16, 100}},       // too high: scaled by height
      {{10, 10}, {3, 3}, {3, 3, 3, 3}},                // odd remainders are dropped
  };
  for (const Case& c : cases) {
    const layout::Rect r = PlacePicture(c.client, c.picture);
    EXPECT_EQ(r.left, c.placed.left) << c.picture.width << "x" << c.picture.height;
    EXPECT_EQ(r.top, c.placed.top);
    EXPECT_EQ(r.width, c.placed.width);
    EXPECT_EQ(r.height, c.placed.height);
  }
  EXPECT_EQ(kOverlayClient.width, 592);
  EXPECT_EQ(kOverlayClient.height, 416);
}

// A 4x2 picture: frame 0 paints everything, frame 1 a 2x1 patch with one transparent pixel.
Picture SmallPicture() {
  Picture p;
  p.width = 4;
  p.height = 2;
  p.palette = {0x000000, 0xFF0000, 0x00FF00, 0xFFFFFF};
  PictureFrame full{0, 0, 4, 2, {1, 1, 1, 1, 1, 1, 1, 1}, 3, 60, 1};
  PictureFrame patch{1, 1, 2, 1, {2, 3}, 3, 60, 1};
  PictureFrame third{0, 0, 1, 1, {0}, 3, 100, 1};
  p.frames = {full, patch, third};
  return p;
}

TEST(FrameComposer, StartsWhiteAndTransparentPixelsKeepEarlierFrames) {
  const Picture p = SmallPicture();
  FrameComposer composer(p);
  EXPECT_EQ(composer.pixels(), std::vector<std::uint32_t>(8, 0xFFFFFF));
  composer.Compose(p.frames[0]);
  composer.Compose(p.frames[1]);
  EXPECT_EQ(composer.pixels(),
            (std::vector<std::uint32_t>{0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0x00FF00,
                                        0xFF0000, 0xFF0000}));
}

TEST(FrameComposer, FramesReachingOutsideThePictureAreClipped) {
  Picture p = SmallPicture();
  PictureFrame outside{3, 1, 2, 2, {0, 0, 0, 0}, -1, 60, 1};
  FrameComposer composer(p);
  composer.Compose(outside);
  EXPECT_EQ(composer.pixels()[7], 0x000000u);
  EXPECT_EQ(composer.pixels()[6], 0xFFFFFFu);
}

TEST(OverlayAnimation, EachFrameIsHeldForItsDelayAndTheLoopNeverEnds) {
  const Picture p = SmallPicture();
  OverlayAnimation a(p);
  EXPECT_FALSE(a.running());
  EXPECT_FALSE(a.Advance(0));            // not started: nothing animates
  const std::uint32_t t0 = 0xFFFFFFF0u;  // the clock wraps during the test
  ASSERT_TRUE(a.Start(t0));
  EXPECT_FALSE(a.Start(t0 + 1));  // started at most once
  EXPECT_EQ(a.current_frame(), 0u);
  EXPECT_EQ(a.MillisecondsUntilNextFrame(t0 + 10), 50u);
  EXPECT_FALSE(a.Advance(t0 + 59));
  EXPECT_TRUE(a.Advance(t0 + 60));
  EXPECT_EQ(a.current_frame(), 1u);
  // Measured from when the frame's drawing began, not from when it was due.
  EXPECT_FALSE(a.Advance(t0 + 119));
  EXPECT_TRUE(a.Advance(t0 + 125));
  EXPECT_EQ(a.current_frame(), 2u);
  EXPECT_FALSE(a.Advance(t0 + 224));
  EXPECT_TRUE(a.Advance(t0 + 225));
  EXPECT_EQ(a.current_frame(), 0u);  // after the last frame the first follows again
  // Composition carries over the loop: frame 0 repaints the pixel frame 2 made black.
  EXPECT_EQ(a.pixels()[0], 0xFF0000u);
}

TEST(OverlayAnimation, ASingleFramePictureDoesNotAnimate) {
  Picture p = SmallPicture();
  p.frames.resize(1);
  OverlayAnimation a(p);
  EXPECT_FALSE(a.Start(0));
  EXPECT_FALSE(a.Advance(1000));
  EXPECT_EQ(a.pixels()[0], 0xFF0000u);
}

}  // namespace
}  // namespace orvane
