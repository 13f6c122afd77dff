// Any bytes through the version-file rules: no crash, no overread, and the results keep their
// promises (trimming only shortens, never starts with a blank, folding never lengthens).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "update/text_rules.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Text text = BytesToText({data, size});
  if (text.size() > size || std::memchr(text.c_str(), 0, text.size()) != nullptr) std::abort();

  const Text trimmed = TrimBothEnds(text);
  if (trimmed.size() > text.size()) std::abort();
  if (!trimmed.missing() && (trimmed.empty() || trimmed.c_str()[0] == ' ')) std::abort();
  if (!trimmed.missing() && std::strstr(text.c_str(), trimmed.c_str()) == nullptr) std::abort();
  // Trimming is not idempotent: a dangling last byte is cut and the blanks before it stay, so a
  // second pass may remove them. It only ever shortens further.
  if (TextLength(TrimBothEnds(trimmed)) > trimmed.size()) std::abort();

  const Text folded = FoldFullWidth(text);
  if (folded.size() > text.size()) std::abort();
  (void)TextToInt(text);

  // Split the input in two and compare and join the halves.
  const std::size_t half = size / 2;
  const Text a = BytesToText({data, half});
  const Text b = BytesToText({data + half, size - half});
  const int ab = CompareText(a, b);
  if (ab != -CompareText(b, a)) std::abort();
  const Text joined = JoinTexts({a, b});
  if (joined.size() != TextLength(a) + TextLength(b)) std::abort();
  return 0;
}
