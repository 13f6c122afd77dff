// Any bytes handed to the Linux program's GIF decoder (giflib) either give nothing or a picture
// that composes and animates without touching memory it does not own.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "shell/gtk/gif_picture.h"
#include "shell/overlay.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<Picture> picture = gtk::DecodeGif({data, size});
  if (!picture) return 0;
  OverlayAnimation animation(*picture);
  std::uint32_t now = 0;
  animation.Start(now);
  // Every frame at least once, and the loop back to the first.
  for (std::size_t step = 0; step <= picture->frames.size() && step < 64; ++step) {
    now += 100000;
    animation.Advance(now);
    if (picture->animated() && animation.current_frame() >= picture->frames.size()) std::abort();
  }
  if (animation.pixels().size() !=
      static_cast<std::size_t>(picture->width) * static_cast<std::size_t>(picture->height)) {
    std::abort();
  }
  return 0;
}
