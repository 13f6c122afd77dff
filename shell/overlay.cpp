#include "shell/overlay.h"

#include <algorithm>

namespace orvane {

layout::Rect PlacePicture(Size client, Size picture) {
  int w = picture.width;
  int h = picture.height;
  // A picture without area (a broken file) has nothing to scale: it keeps its empty size.
  if (w > 0 && h > 0 && (w > client.width || h > client.height)) {
    const double sx = static_cast<double>(std::min(client.width, w)) / w;
    const double sy = static_cast<double>(std::min(client.height, h)) / h;
    const double scale = std::min(sx, sy);
    w = static_cast<int>(w * scale);
    h = static_cast<int>(h * scale);
  }
  return {(client.width - w) / 2, (client.height - h) / 2, w, h};
}

FrameComposer::FrameComposer(const Picture& picture)
    : picture_(picture),
      pixels_(static_cast<std::size_t>(std::max(0, picture.width)) *
                  static_cast<std::size_t>(std::max(0, picture.height)),
              0x00FFFFFFu) {}

void FrameComposer::Compose(const PictureFrame& frame) {
  for (int y = 0; y < frame.height; ++y) {
    const int py = frame.top + y;
    if (py < 0 || py >= picture_.height) continue;
    for (int x = 0; x < frame.width; ++x) {
      const int px = frame.left + x;
      if (px < 0 || px >= picture_.width) continue;
      const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width) +
                             static_cast<std::size_t>(x);
      if (at >= frame.indices.size()) return;
      const int index = frame.indices[at];
      if (index == frame.transparent_index) continue;
      const std::vector<std::uint32_t>& palette =
          frame.palette.empty() ? picture_.palette : frame.palette;
      const std::uint32_t colour =
          static_cast<std::size_t>(index) < palette.size() ? palette[index] : 0;
      pixels_[static_cast<std::size_t>(py) * static_cast<std::size_t>(picture_.width) +
              static_cast<std::size_t>(px)] = colour;
    }
  }
}

bool OverlayAnimation::Start(std::uint32_t now_ms) {
  if (running_ || picture_.frames.empty()) return false;
  running_ = true;
  ShowFrame(0, now_ms);
  return picture_.animated();
}

void OverlayAnimation::ShowFrame(std::size_t index, std::uint32_t now_ms) {
  current_ = index;
  frame_started_ = now_ms;
  composer_.Compose(picture_.frames[index]);
}

std::uint32_t OverlayAnimation::MillisecondsUntilNextFrame(std::uint32_t now_ms) const {
  const auto delay = static_cast<std::uint32_t>(std::max(0, picture_.frames[current_].delay_ms));
  const std::uint32_t elapsed = now_ms - frame_started_;  // wraps like GetTickCount
  return elapsed >= delay ? 0 : delay - elapsed;
}

bool OverlayAnimation::Advance(std::uint32_t now_ms) {
  if (!running_ || !picture_.animated() || MillisecondsUntilNextFrame(now_ms) > 0) return false;
  ShowFrame((current_ + 1) % picture_.frames.size(), now_ms);
  return true;
}

}  // namespace orvane
