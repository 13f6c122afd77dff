#include "shell/gtk/gif_picture.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace orvane::gtk {
namespace {

struct Reader {
  ByteView bytes;
  std::size_t at = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int wanted) {
  auto* reader = static_cast<Reader*>(gif->UserData);
  const std::size_t n =
      std::min(static_cast<std::size_t>(std::max(wanted, 0)), reader->bytes.size() - reader->at);
  std::memcpy(out, reader->bytes.data() + reader->at, n);
  reader->at += n;
  return static_cast<int>(n);
}

struct GifClose {
  void operator()(GifFileType* gif) const noexcept {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

std::vector<std::uint32_t> Colours(const ColorMapObject* map) {
  std::vector<std::uint32_t> colours;
  if (!map || !map->Colors) return colours;
  colours.reserve(static_cast<std::size_t>(map->ColorCount));
  for (int i = 0; i < map->ColorCount; ++i) {
    const GifColorType& c = map->Colors[i];
    colours.push_back((std::uint32_t{c.Red} << 16) | (std::uint32_t{c.Green} << 8) | c.Blue);
  }
  return colours;
}

}  // namespace

std::optional<Picture> DecodeGif(ByteView bytes) {
  Reader reader{bytes};
  int error = 0;
  const std::unique_ptr<GifFileType, GifClose> gif(DGifOpen(&reader, ReadFromMemory, &error));
  if (!gif || DGifSlurp(gif.get()) != GIF_OK) return std::nullopt;
  if (gif->SWidth <= 0 || gif->SHeight <= 0 || gif->ImageCount <= 0) return std::nullopt;
  if (gif->SWidth > kMaxPictureSide || gif->SHeight > kMaxPictureSide) return std::nullopt;

  Picture picture;
  picture.width = gif->SWidth;
  picture.height = gif->SHeight;
  picture.palette = Colours(gif->SColorMap);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    const GifImageDesc& desc = image.ImageDesc;
    if (desc.Width <= 0 || desc.Height <= 0 || !image.RasterBits) return std::nullopt;
    if (desc.Width > kMaxPictureSide || desc.Height > kMaxPictureSide) return std::nullopt;
    PictureFrame frame;
    frame.left = desc.Left;
    frame.top = desc.Top;
    frame.width = desc.Width;
    frame.height = desc.Height;
    const std::size_t count = static_cast<std::size_t>(desc.Width) * desc.Height;
    frame.indices.assign(image.RasterBits, image.RasterBits + count);
    frame.palette = Colours(desc.ColorMap);
    GraphicsControlBlock gcb{};
    if (DGifSavedExtensionToGCB(gif.get(), i, &gcb) == GIF_OK) {
      frame.transparent_index = gcb.TransparentColor;  // NO_TRANSPARENT_COLOR is -1
      frame.delay_ms = gcb.DelayTime * 10;
      frame.disposal = gcb.DisposalMode;
    }
    picture.frames.push_back(std::move(frame));
  }
  return picture;
}

}  // namespace orvane::gtk
