// The pictures built into the program: the loading animation in the format the overlay plays, and
// an icon the window can load.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include "resources/gtk/embedded.h"
#include "shell/gtk/gif_picture.h"
#include "shell/gtk/gobject_ptr.h"

namespace orvane::gtk {
namespace {

TEST(BuiltInPictures, TheLoadingAnimationDecodesInItsFormat) {
  const std::optional<Picture> picture = DecodeGif(resources::LoadingAnimation());
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 85);
  EXPECT_EQ(picture->height, 81);
  ASSERT_EQ(picture->palette.size(), 256u);
  EXPECT_EQ(picture->palette[255], 0xFFFFFFu);
  ASSERT_EQ(picture->frames.size(), 8u);
  EXPECT_EQ(picture->frames[0].width, 85);
  EXPECT_EQ(picture->frames[0].height, 81);
  for (const PictureFrame& frame : picture->frames) {
    EXPECT_EQ(frame.delay_ms, 60);
    EXPECT_EQ(frame.disposal, 1);
    EXPECT_EQ(frame.transparent_index, 255);
  }
}

TEST(BuiltInPictures, TheIconLoads) {
  const ByteView icon = resources::ApplicationIcon();
  const GObjectPtr<GdkPixbufLoader> loader = AdoptRef(gdk_pixbuf_loader_new());
  ASSERT_TRUE(gdk_pixbuf_loader_write(loader.get(), icon.data(), icon.size(), nullptr));
  ASSERT_TRUE(gdk_pixbuf_loader_close(loader.get(), nullptr));
  GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());
  ASSERT_NE(pixbuf, nullptr);
  EXPECT_GE(gdk_pixbuf_get_width(pixbuf), 16);
}

}  // namespace
}  // namespace orvane::gtk
