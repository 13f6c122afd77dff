// GIF89a pictures decoded with giflib into the overlay's Picture: frame geometry, palettes,
// transparency and timing as the file holds them, and unreadable bytes refused.
#include "shell/gtk/gif_picture.h"

#include <gtest/gtest.h>

#include "shell/overlay.h"
#include "tests/gtk/gif_writer.h"

namespace orvane::gtk {
namespace {

ByteView View(const std::vector<unsigned char>& bytes) { return {bytes.data(), bytes.size()}; }

TEST(DecodeGif, GivesEveryFrameAsTheFileHoldsIt) {
  // The loading animation's kind of file: a global palette, a full first frame, partial updates.
  const gifwriter::Picture written = gifwriter::LoadingStandIn();
  const std::vector<unsigned char> bytes = gifwriter::Encode(written);
  ASSERT_FALSE(bytes.empty());

  const std::optional<Picture> picture = DecodeGif(View(bytes));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, written.width);
  EXPECT_EQ(picture->height, written.height);
  EXPECT_EQ(picture->palette, written.palette);
  ASSERT_EQ(picture->frames.size(), written.frames.size());
  for (std::size_t i = 0; i < written.frames.size(); ++i) {
    const PictureFrame& frame = picture->frames[i];
    const gifwriter::Frame& source = written.frames[i];
    EXPECT_EQ(frame.left, source.left) << i;
    EXPECT_EQ(frame.top, source.top) << i;
    EXPECT_EQ(frame.width, source.width) << i;
    EXPECT_EQ(frame.height, source.height) << i;
    EXPECT_EQ(frame.indices, source.indices) << i;
    EXPECT_EQ(frame.transparent_index, source.transparent) << i;
    EXPECT_EQ(frame.delay_ms, source.delay_cs * 10) << i;
    EXPECT_EQ(frame.disposal, source.disposal) << i;
    EXPECT_TRUE(frame.palette.empty()) << i;
  }
}

TEST(DecodeGif, KeepsAFramesOwnPaletteAndComposesWithIt) {
  gifwriter::Picture written;
  written.width = 2;
  written.height = 1;
  written.palette = {0x000000, 0xFFFFFF};
  gifwriter::Frame first;
  first.width = 2;
  first.height = 1;
  first.indices = {0, 1};
  gifwriter::Frame second = first;
  second.width = 1;
  second.indices = {1};
  second.palette = {0x112233, 0xAABBCC};
  second.delay_cs = 25;
  second.disposal = 2;
  written.frames = {first, second};

  const std::optional<Picture> picture = DecodeGif(View(gifwriter::Encode(written)));
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->frames.size(), 2u);
  EXPECT_EQ(picture->frames[0].transparent_index, -1);
  EXPECT_EQ(picture->frames[1].delay_ms, 250);
  EXPECT_EQ(picture->frames[1].disposal, 2);

  FrameComposer composer(*picture);
  composer.Compose(picture->frames[0]);
  composer.Compose(picture->frames[1]);
  EXPECT_EQ(composer.pixels(), (std::vector<std::uint32_t>{0xAABBCC, 0xFFFFFF}));
}

TEST(DecodeGif, RefusesWhatIsNoPicture) {
  const std::vector<unsigned char> good = gifwriter::Encode(gifwriter::LoadingStandIn());
  const std::vector<unsigned char> header_only(good.begin(), good.begin() + 13);
  const std::vector<unsigned char> cut(good.begin(), good.begin() + good.size() / 2);
  const std::vector<unsigned char> text = {'2', '.', '0'};
  EXPECT_FALSE(DecodeGif({}));
  EXPECT_FALSE(DecodeGif(View(text)));
  EXPECT_FALSE(DecodeGif(View(header_only)));
  EXPECT_FALSE(DecodeGif(View(cut)));
}

// Found by fuzzing: one-pixel files whose logical screen claims 65280 x 65535 and 16640 x 24833
// pixels, which the composer would have had to allocate (17 GB) or fill. A side of
// kMaxPictureSide still decodes.
TEST(DecodeGif, RefusesAScreenTooLargeToCompose) {
  const auto one_pixel = [](int width, int height) {
    std::vector<unsigned char> gif = {'G', 'I',  'F',  '8',  '9', 'a', 0, 0,   0, 0, 0x80, 0,
                                      0,   0xff, 0xff, 0xff, 0,   0,   0, ',', 0, 0, 0,    0,
                                      1,   0,    1,    0,    0,   2,   2, 'D', 1, 0, ';'};
    gif[6] = static_cast<unsigned char>(width & 0xff);
    gif[7] = static_cast<unsigned char>(width >> 8);
    gif[8] = static_cast<unsigned char>(height & 0xff);
    gif[9] = static_cast<unsigned char>(height >> 8);
    return gif;
  };
  EXPECT_FALSE(DecodeGif(View(one_pixel(65280, 65535))));
  EXPECT_FALSE(DecodeGif(View(one_pixel(16640, 24833))));
  EXPECT_FALSE(DecodeGif(View(one_pixel(kMaxPictureSide + 1, 1))));
  const std::optional<Picture> largest = DecodeGif(View(one_pixel(kMaxPictureSide, 1)));
  ASSERT_TRUE(largest);
  EXPECT_EQ(largest->width, kMaxPictureSide);
}

}  // namespace
}  // namespace orvane::gtk
