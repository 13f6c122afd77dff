// Decoding the loading animation with the Windows Imaging Component into the portable Picture.
#pragma once

#include <optional>

#include "shell/overlay.h"
#include "shell/text.h"

namespace orvane::win {

// Every frame with its offset and size (/imgdesc), delay, disposal and transparent index
// (/grctlext), as palette indices of the global palette. Nullopt when the bytes are no GIF WIC
// can read. COM must be initialised on the calling thread.
std::optional<Picture> DecodeGif(ByteView bytes);

// The bytes of a resource of the program file (RCDATA), or empty.
ByteView ResourceBytes(const char* name);

}  // namespace orvane::win
