// The loading overlay `lable`: where its picture stands, how frames of the animation are composed,
// and when the next frame is due. Platforms decode the GIF into a Picture and paint the composed
// buffer; everything else is here.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/window_definition.h"

namespace orvane {

struct Size {
  int width;
  int height;
};

// The overlay's client area: its rectangle less the one-pixel border on each side.
inline constexpr Size kOverlayClient{layout::kOverlayRect.width - 2,
                                     layout::kOverlayRect.height - 2};

// Centred at natural size when the picture fits; otherwise shrunk with its aspect ratio kept
// (the smaller of the two scales, sizes truncated) and centred.
layout::Rect PlacePicture(Size client, Size picture);

// One frame of a GIF: palette indices of its own rectangle within the picture.
struct PictureFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> indices;  // width * height, row by row
  int transparent_index = -1;         // -1: none
  int delay_ms = 0;                   // the delay field times 10
  int disposal = 0;
  std::vector<std::uint32_t> palette = {};  // the frame's own colours; empty: the picture's
};

// A decoded picture. Colours are 0x00RRGGBB.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> palette;
  std::vector<PictureFrame> frames;
  bool animated() const { return frames.size() > 1; }
};

// Composes frames into an off-screen buffer of the picture's size that starts white. Transparent
// pixels keep what the buffer held; the buffer is never cleared between frames (disposal 1).
class FrameComposer {
 public:
  explicit FrameComposer(const Picture& picture);
  void Compose(const PictureFrame& frame);
  const std::vector<std::uint32_t>& pixels() const { return pixels_; }  // 0x00RRGGBB, row by row

 private:
  const Picture& picture_;
  std::vector<std::uint32_t> pixels_;
};

// The animation's timing: started by the first painting, each frame held for its delay measured
// from the moment its drawing began, then the next, looping for ever. Times are milliseconds from
// any clock (GetTickCount, g_get_monotonic_time) and may wrap around.
class OverlayAnimation {
 public:
  explicit OverlayAnimation(const Picture& picture) : picture_(picture), composer_(picture) {}

  bool running() const { return running_; }
  // Starts the animation with the first frame composed; false when the picture is not animated.
  bool Start(std::uint32_t now_ms);
  // Composes the next frame when the current one's delay has passed; true when it did.
  bool Advance(std::uint32_t now_ms);
  // How long until the next frame is due (0 when due now).
  std::uint32_t MillisecondsUntilNextFrame(std::uint32_t now_ms) const;

  std::size_t current_frame() const { return current_; }
  const std::vector<std::uint32_t>& pixels() const { return composer_.pixels(); }

 private:
  void ShowFrame(std::size_t index, std::uint32_t now_ms);

  const Picture& picture_;
  FrameComposer composer_;
  bool running_ = false;
  std::size_t current_ = 0;
  std::uint32_t frame_started_ = 0;
};

}  // namespace orvane
