// Any decoded picture, however inconsistent (frames outside the screen, short index data, indices
// past the palette), composes and animates without touching memory it does not own.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "shell/overlay.h"

using namespace orvane;

namespace {

struct Reader {
  const std::uint8_t* p;
  std::size_t n;
  int Byte() {
    if (n == 0) return 0;
    --n;
    return *p++;
  }
  int Signed() { return static_cast<std::int8_t>(Byte()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in{data, size};
  Picture picture;
  picture.width = in.Byte();
  picture.height = in.Byte();
  picture.palette.resize(static_cast<std::size_t>(in.Byte()), 0x123456);
  const int frames = in.Byte() % 9;
  for (int f = 0; f < frames; ++f) {
    PictureFrame frame;
    frame.left = in.Signed();
    frame.top = in.Signed();
    frame.width = in.Byte();
    frame.height = in.Byte();
    frame.transparent_index = in.Byte() - 1;
    frame.delay_ms = in.Byte() * 10;
    frame.indices.resize(static_cast<std::size_t>(in.Byte()) * 16, static_cast<std::uint8_t>(in.Byte()));
    picture.frames.push_back(std::move(frame));
  }

  const layout::Rect place =
      PlacePicture({in.Byte() * 4 - 100, in.Byte() * 4 - 100}, {picture.width, picture.height});
  (void)place;

  OverlayAnimation animation(picture);
  std::uint32_t now = 0xFFFFFF00u;  // let the clock wrap around
  animation.Start(now);
  for (int step = 0; step < 20; ++step) {
    now += static_cast<std::uint32_t>(in.Byte());
    animation.Advance(now);
    if (picture.animated() && animation.current_frame() >= picture.frames.size()) std::abort();
  }
  if (animation.pixels().size() !=
      static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
    std::abort();
  }
  return 0;
}
