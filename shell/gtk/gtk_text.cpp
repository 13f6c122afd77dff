#include "shell/gtk/gtk_text.h"

namespace orvane::gtk {

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
