#include "shell/gtk/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <type_traits>

namespace orvane::gtk {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

struct IconvClose {
  void operator()(void* cd) const noexcept { iconv_close(static_cast<iconv_t>(cd)); }
};
using Converter = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvClose>;

Converter Open(const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  return Converter(cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd);
}

// Converts `in` with `cd`; every stretch the converter refuses is handed to `on_bad`, which appends
// its stand-in and says how many input bytes to skip.
template <typename OnBad>
std::string Convert(iconv_t cd, std::string_view in, OnBad on_bad) {
  std::string out;
  out.reserve(in.size() * 3 / 2 + 4);
  char buffer[256];
  std::size_t at = 0;
  while (at < in.size()) {
    char* ip = const_cast<char*>(in.data() + at);
    std::size_t il = in.size() - at;
    char* op = buffer;
    std::size_t ol = sizeof buffer;
    const std::size_t r = iconv(cd, &ip, &il, &op, &ol);
    const int error = errno;
    out.append(buffer, static_cast<std::size_t>(op - buffer));
    at = in.size() - il;
    if (r != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    at += on_bad(in.substr(at), out);
  }
  return out;
}

// Length of the UTF-8 sequence that `lead` starts, as far as a malformed one can be skipped.
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  const Converter cd = Open("UTF-8", "GBK");
  if (!cd) return std::string(gbk.size(), '?');
  return Convert(cd.get(), gbk, [](std::string_view, std::string& out) -> std::size_t {
    out += kReplacement;
    return 1;
  });
}

Text Utf8ToGbk(std::string_view utf8) {
  const Converter cd = Open("GBK", "UTF-8");
  if (!cd) return Text::Copy(std::string(utf8.size(), '?'));
  const std::string gbk =
      Convert(cd.get(), utf8, [](std::string_view rest, std::string& out) -> std::size_t {
        out += '?';
        // One whole character when it is well formed (GBK lacks it), else one byte.
        const std::size_t n = Utf8SequenceLength(static_cast<unsigned char>(rest[0]));
        if (n > rest.size()) return 1;
        for (std::size_t i = 1; i < n; ++i) {
          if (!IsContinuation(static_cast<unsigned char>(rest[i]))) return 1;
        }
        return n;
      });
  return Text::Copy(gbk);
}

std::string MnemonicLabel(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + 2);
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '_') {
      out += "__";
    } else if (c == '&') {
      if (i + 1 < utf8.size() && utf8[i + 1] == '&') {
        out += '&';
        ++i;
      } else {
        out += '_';
      }
    } else {
      out += c;
    }
  }
  return out;
}

std::string UnixLineEnds(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    out += utf8[i];
  }
  return out;
}

}  // namespace orvane::gtk
