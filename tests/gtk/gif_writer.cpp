#include "tests/gtk/gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace orvane::gifwriter {
namespace {

int Write(GifFileType* gif, const GifByteType* bytes, int n) {
  auto* out = static_cast<std::vector<unsigned char>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + n);
  return n;
}

struct MapFree {
  void operator()(ColorMapObject* map) const noexcept { GifFreeMapObject(map); }
};
using ColourMap = std::unique_ptr<ColorMapObject, MapFree>;

ColourMap MakeMap(const std::vector<std::uint32_t>& colours) {
  if (colours.empty()) return nullptr;
  std::vector<GifColorType> entries;
  for (std::uint32_t c : colours) {
    entries.push_back({static_cast<GifByteType>(c >> 16), static_cast<GifByteType>(c >> 8),
                       static_cast<GifByteType>(c)});
  }
  return ColourMap(GifMakeMapObject(static_cast<int>(entries.size()), entries.data()));
}

}  // namespace

std::vector<unsigned char> Encode(const Picture& picture) {
  std::vector<unsigned char> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, Write, &error);
  if (!gif) return {};
  EGifSetGifVersion(gif, true);
  const ColourMap global = MakeMap(picture.palette);
  bool ok = EGifPutScreenDesc(gif, picture.width, picture.height, 8, picture.background,
                              global.get()) == GIF_OK;
  // NETSCAPE2.0 with loop count 0: endless.
  const GifByteType app[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  const GifByteType loop[] = {1, 0, 0};
  ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
       EGifPutExtensionBlock(gif, sizeof app, app) == GIF_OK &&
       EGifPutExtensionBlock(gif, sizeof loop, loop) == GIF_OK &&
       EGifPutExtensionTrailer(gif) == GIF_OK;
  for (const Frame& frame : picture.frames) {
    if (!ok) break;
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = frame.disposal;
    gcb.DelayTime = frame.delay_cs;
    gcb.TransparentColor = frame.transparent;
    GifByteType control[4];
    EGifGCBToExtension(&gcb, control);
    const ColourMap local = MakeMap(frame.palette);
    ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof control, control) == GIF_OK &&
         EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, false,
                          local.get()) == GIF_OK;
    for (int y = 0; ok && y < frame.height; ++y) {
      auto* row = const_cast<GifPixelType*>(frame.indices.data() + y * frame.width);
      ok = EGifPutLine(gif, row, frame.width) == GIF_OK;
    }
  }
  if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
  return ok ? out : std::vector<unsigned char>{};
}

Picture LoadingStandIn() {
  constexpr int kWidth = 85, kHeight = 81, kDots = 8;
  constexpr double kPi = 3.14159265358979;
  Picture p;
  p.width = kWidth;
  p.height = kHeight;
  p.palette.assign(256, 0xFFFFFF);
  p.background = 255;
  // Shades 0..7 from the dot in front (dark blue) to the faintest trailing dot.
  for (int i = 0; i < kDots; ++i) {
    const int fade = 40 + i * 26;
    p.palette[static_cast<std::size_t>(i)] =
        (static_cast<std::uint32_t>(std::min(fade, 225)) << 16) |
        (static_cast<std::uint32_t>(std::min(fade + 40, 230)) << 8) | 0xE6u;
  }
  for (int f = 0; f < kDots; ++f) {
    Frame frame;
    const bool first = f == 0;
    frame.left = first ? 0 : 4;
    frame.top = first ? 0 : 5;
    frame.width = first ? kWidth : 77;
    frame.height = first ? kHeight : 70;
    frame.transparent = 255;
    frame.indices.assign(static_cast<std::size_t>(frame.width * frame.height), 255);
    for (int d = 0; d < kDots; ++d) {
      const double angle = 2 * kPi * d / kDots - kPi / 2;
      const double cx = 42 + 26 * std::cos(angle), cy = 40 + 26 * std::sin(angle);
      const auto shade = static_cast<std::uint8_t>((f - d + kDots) % kDots);
      for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
          const double dx = frame.left + x + 0.5 - cx, dy = frame.top + y + 0.5 - cy;
          if (dx * dx + dy * dy <= 36) {
            frame.indices[static_cast<std::size_t>(y * frame.width + x)] = shade;
          }
        }
      }
    }
    p.frames.push_back(std::move(frame));
  }
  return p;
}

}  // namespace orvane::gifwriter
