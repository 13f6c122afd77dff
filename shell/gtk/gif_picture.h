// GIF89a pictures (the loading animation) decoded into the overlay's portable Picture.
#pragma once

#include <optional>

#include "shell/overlay.h"
#include "shell/text.h"

namespace orvane::gtk {

// The largest width or height a picture may have: a larger one would need an off-screen buffer of
// gigabytes to compose.
inline constexpr int kMaxPictureSide = 4096;

// Every frame with its offset, size, palette indices, own palette (if any), transparent index,
// delay and disposal. Nothing when the bytes are not a readable GIF with at least one frame, or
// when the picture or a frame is wider or taller than kMaxPictureSide.
std::optional<Picture> DecodeGif(ByteView bytes);

}  // namespace orvane::gtk
