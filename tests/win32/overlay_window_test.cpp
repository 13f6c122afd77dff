// The loading overlay on Windows: the embedded GIF as WIC decodes it, the window's field and
// placement, and the animation started by the first painting.
#include <windows.h>
// (windows.h before the other system headers)

#include <gtest/gtest.h>

#include "shell/win32/gif_picture.h"
#include "shell/win32/overlay_window.h"
#include "win32_test_support.h"

namespace orvane::win {
namespace {

using testing::PumpFor;
using testing::PumpUntil;

class OverlayWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OleInitialize(nullptr);
    parent_ = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                              nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(parent_);
    OleUninitialize();
  }
  HWND parent_ = nullptr;
};

TEST_F(OverlayWindowTest, TheEmbeddedAnimationDecodesWithItsFramesTimingAndPalette) {
  const std::optional<Picture> p = DecodeGif(ResourceBytes("LOADING_GIF"));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 85);
  EXPECT_EQ(p->height, 81);
  ASSERT_EQ(p->palette.size(), 256u);
  EXPECT_EQ(p->palette[255], 0xFFFFFFu);
  ASSERT_EQ(p->frames.size(), 8u);
  EXPECT_EQ(p->frames[0].left, 0);
  EXPECT_EQ(p->frames[0].width, 85);
  EXPECT_EQ(p->frames[0].height, 81);
  for (std::size_t i = 0; i < p->frames.size(); ++i) {
    const PictureFrame& f = p->frames[i];
    EXPECT_EQ(f.delay_ms, 60) << i;
    EXPECT_EQ(f.disposal, 1) << i;
    EXPECT_EQ(f.transparent_index, 255) << i;
    EXPECT_EQ(f.indices.size(), static_cast<std::size_t>(f.width) * f.height) << i;
    if (i > 0) {
      EXPECT_EQ(f.top, 5) << i;
      EXPECT_TRUE(f.left == 3 || f.left == 4) << i;
    }
  }
}

TEST_F(OverlayWindowTest, BytesThatAreNoPictureLeaveOnlyTheWhiteField) {
  const unsigned char junk[] = "GIF89a but not really";
  EXPECT_FALSE(DecodeGif(ByteView(junk, sizeof junk)));
  auto overlay =
      OverlayWindow::Create(parent_, layout::kOverlayRect, 1, ByteView(junk, sizeof junk));
  ASSERT_TRUE(overlay);
  ShowWindow(overlay->hwnd(), SW_SHOW);
  UpdateWindow(overlay->hwnd());
  EXPECT_EQ(overlay->animation(), nullptr);
  HDC dc = GetDC(overlay->hwnd());
  EXPECT_EQ(GetPixel(dc, 296, 208), RGB(255, 255, 255));
  ReleaseDC(overlay->hwnd(), dc);
}

TEST_F(OverlayWindowTest, FirstPaintingStartsTheAnimationCentredAndFramesFollowWhileVisible) {
  auto overlay =
      OverlayWindow::Create(parent_, layout::kOverlayRect, 1, ResourceBytes("LOADING_GIF"));
  ASSERT_TRUE(overlay);
  RECT client{};
  GetClientRect(overlay->hwnd(), &client);
  EXPECT_EQ(client.right, 592);
  EXPECT_EQ(client.bottom, 416);
  EXPECT_EQ(overlay->placement().left, 253);
  EXPECT_EQ(overlay->placement().top, 167);
  ASSERT_NE(overlay->animation(), nullptr);

  // Hidden: nothing animates, however long it waits.
  PumpFor(200);
  EXPECT_FALSE(overlay->animation()->running());

  ShowWindow(overlay->hwnd(), SW_SHOW);
  UpdateWindow(overlay->hwnd());
  ASSERT_TRUE(overlay->animation()->running());
  EXPECT_EQ(overlay->animation()->current_frame(), 0u);

  // What the screen shows at the placement is the composed frame, on a white field.
  HDC dc = GetDC(overlay->hwnd());
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(255, 255, 255));
  const auto& pixels = overlay->animation()->pixels();
  int matches = 0, checked = 0;
  for (int y = 0; y < 81; y += 7) {
    for (int x = 0; x < 85; x += 7) {
      const std::uint32_t rgb = pixels[static_cast<std::size_t>(y) * 85 + x];
      const COLORREF expected = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
      matches += GetPixel(dc, 253 + x, 167 + y) == expected;
      ++checked;
    }
  }
  ReleaseDC(overlay->hwnd(), dc);
  EXPECT_EQ(matches, checked);

  // Frames follow one another (the timing itself is tested with a test clock).
  EXPECT_TRUE(PumpUntil([&] { return overlay->animation()->current_frame() >= 3; }, 5000));

  // Hiding pauses the sequence where it is; showing again goes on from there.
  ShowWindow(overlay->hwnd(), SW_HIDE);
  PumpFor(30);
  const std::size_t paused = overlay->animation()->current_frame();
  PumpFor(300);
  EXPECT_EQ(overlay->animation()->current_frame(), paused);
  ShowWindow(overlay->hwnd(), SW_SHOW);
  EXPECT_TRUE(PumpUntil([&] { return overlay->animation()->current_frame() != paused; }, 5000));
}

}  // namespace
}  // namespace orvane::win
