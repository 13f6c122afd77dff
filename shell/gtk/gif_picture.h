// GIF89a pictures (the loading animation) decoded into the overlay's portable Picture.
#pragma once

#include <optional>

#include "shell/overlay.h"
#include "shell/text.h"

namespace orvane::gtk {

// Every frame with its offset, size, palette indices, own palette (if any), transparent index,
// delay and disposal. Nothing when the bytes are not a readable GIF with at least one frame.
std::optional<Picture> DecodeGif(ByteView bytes);

}  // namespace orvane::gtk
