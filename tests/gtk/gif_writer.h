// Writes GIF89a pictures for the tests to decode and show.
#pragma once

#include <cstdint>
#include <vector>

namespace orvane::gifwriter {

struct Frame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> indices;   // width * height
  std::vector<std::uint32_t> palette;  // the frame's own colours (0x00RRGGBB); empty: none
  int transparent = -1;                // -1: none
  int delay_cs = 6;                    // hundredths of a second
  int disposal = 1;
};

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> palette;  // a power of two entries, up to 256
  int background = 0;
  std::vector<Frame> frames;
};

// The file's bytes; empty when giflib refuses the picture.
std::vector<unsigned char> Encode(const Picture& picture);

// An 85 x 81, eight-frame spinner in the loading animation's format, each frame redrawing every
// dot (so any frame over the first gives the whole picture): a global palette of 256
// entries with white at 255, the first frame covering the whole picture, the other seven partial
// updates at (4, 5), each with delay 6, disposal 1 and transparent index 255, looping for ever.
Picture LoadingStandIn();

}  // namespace orvane::gifwriter
