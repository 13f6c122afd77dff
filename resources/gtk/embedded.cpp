#include "resources/gtk/embedded.h"

namespace orvane::resources {

extern const unsigned char kLoadingGif[];
extern const std::size_t kLoadingGifSize;
extern const unsigned char kAppIcon[];
extern const std::size_t kAppIconSize;

ByteView LoadingAnimation() { return {kLoadingGif, kLoadingGifSize}; }
ByteView ApplicationIcon() { return {kAppIcon, kAppIconSize}; }

}  // namespace orvane::resources
