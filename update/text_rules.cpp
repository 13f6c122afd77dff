#include "update/text_rules.h"

#include <cstring>

namespace orvane {
namespace {

constexpr unsigned char kLeadFullWidth1 = 0xA1;
constexpr unsigned char kLeadFullWidth3 = 0xA3;

bool IsFullWidthSpace(const unsigned char* p) { return p[0] == 0xA1 && p[1] == 0xA1; }

// A text over a byte range that is not NUL-terminated in place.
Text TextOfRange(const unsigned char* begin, std::size_t n) {
  if (n == 0) return {};
  return Text::Copy({reinterpret_cast<const char*>(begin), n});
}

}  // namespace

Text BytesToText(ByteView bytes) {
  std::size_t n = 0;
  while (n < bytes.size() && bytes[n] != 0) ++n;
  return TextOfRange(bytes.data(), n);
}

Text TrimBothEnds(TextRef text) {
  const unsigned char* s = text.bytes();
  std::size_t begin = 0;
  for (;;) {
    if (s[begin] == 0x20) {
      begin += 1;
    } else if (IsFullWidthSpace(s + begin)) {
      begin += 2;
    } else {
      break;
    }
  }
  // Walk the rest by characters, remembering where the latest run of blanks began.
  std::size_t pos = begin;
  std::size_t end = 0;
  bool run_open = false;
  std::size_t run_start = 0;
  for (;;) {
    const unsigned char c = s[pos];
    if (c == 0) {
      end = run_open ? run_start : pos;
      break;
    }
    bool blank;
    std::size_t width;
    if (c < 0x80) {
      blank = c == 0x20;
      width = 1;
    } else if (s[pos + 1] == 0) {
      end = pos;  // a dangling byte goes, and nothing before it
      break;
    } else {
      blank = IsFullWidthSpace(s + pos);
      width = 2;
    }
    if (blank && !run_open) {
      run_open = true;
      run_start = pos;
    } else if (!blank) {
      run_open = false;
    }
    pos += width;
  }
  return TextOfRange(s + begin, end - begin);
}

Text FoldFullWidth(TextRef text) {
  const unsigned char* s = text.bytes();
  const std::size_t n = std::strlen(text.c_str());
  // Folding never lengthens the text.
  HeapBlock out = AllocateOrDie(n + 1);
  std::size_t o = 0;
  for (std::size_t i = 0; s[i] != 0;) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      out[o++] = c;
      i += 1;
      continue;
    }
    const unsigned char d = s[i + 1];
    if (d == 0) break;  // a dangling byte is dropped
    if (c == kLeadFullWidth1 && d == 0xA1) {
      out[o++] = ' ';
    } else if (c == kLeadFullWidth1 && d == 0xAB) {
      out[o++] = '~';
    } else if (c == kLeadFullWidth1 && (d == 0xEE || d == 0xEF)) {
      out[o++] = '*';
    } else if (c == kLeadFullWidth3 && d >= 0xA1 && d <= 0xFE) {
      out[o++] = static_cast<unsigned char>(d - 0x80);
    } else {
      out[o++] = c;
      out[o++] = d;
    }
    i += 2;
  }
  return Text::Adopt(std::move(out), o);
}

std::int32_t TextToInt(TextRef text) {
  const Text folded = FoldFullWidth(text);
  const char* p = folded.c_str();
  while (*p == ' ' || (*p >= 0x09 && *p <= 0x0D)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  std::uint32_t value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<std::uint32_t>(*p - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

int CompareText(TextRef a, TextRef b) {
  const unsigned char* x = a.bytes();
  const unsigned char* y = b.bytes();
  for (;; ++x, ++y) {
    if (*x != *y) return *x < *y ? -1 : 1;
    if (*x == 0) return 0;
  }
}

std::size_t TextLength(TextRef text) { return std::strlen(text.c_str()); }

Text JoinTexts(std::initializer_list<TextRef> texts) {
  std::size_t total = 0;
  for (TextRef t : texts) total += TextLength(t);
  HeapBlock block = AllocateOrDie(total + 1);
  std::size_t at = 0;
  for (TextRef t : texts) {
    const std::size_t n = TextLength(t);
    std::memcpy(block.get() + at, t.c_str(), n);
    at += n;
  }
  return Text::Adopt(std::move(block), at);
}

}  // namespace orvane
