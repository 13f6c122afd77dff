#include "update/gtk/gbk_utf8.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace orvane {
namespace {

// Converts with iconv; where a sequence cannot be converted, writes `replacement` and skips
// `skip(input)` bytes.
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement, std::size_t (*skip)(std::string_view)) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input);
  std::string out;
  char buffer[256];
  char* in = const_cast<char*>(input.data());
  std::size_t in_left = input.size();
  while (in_left > 0) {
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    const std::size_t result = iconv(cd, &in, &in_left, &out_ptr, &out_left);
    out.append(buffer, out_ptr - buffer);
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      const std::size_t n = std::min(in_left, skip({in, in_left}));
      in += n;
      in_left -= n;
    }
  }
  iconv_close(cd);
  return out;
}

std::size_t SkipOneByte(std::string_view) { return 1; }

// A bad UTF-8 sequence: its lead byte and any continuation bytes that follow.
std::size_t SkipUtf8Character(std::string_view s) {
  std::size_t n = 1;
  while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) ++n;
  return n;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  return Convert("UTF-8", "GBK", gbk, "\xEF\xBF\xBD", SkipOneByte);
}

std::string Utf8ToGbk(std::string_view utf8) {
  return Convert("GBK", "UTF-8", utf8, "?", SkipUtf8Character);
}

}  // namespace orvane
