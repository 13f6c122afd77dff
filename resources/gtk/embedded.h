// Pictures built into the program file, so that it needs no files at run time.
#pragma once

#include "shell/text.h"

namespace orvane::resources {

ByteView LoadingAnimation();  // loading.gif: the overlay's animation
ByteView ApplicationIcon();   // orvane.ico

}  // namespace orvane::resources
