// The rules by which fetched bytes become a version text, and by which texts are compared, measured
// and joined. All are pure functions over GBK byte strings.
//
// Walking by characters: a byte below 0x80 is a character of its own; a byte of 0x80 or above starts
// a two-byte character with whatever byte follows it, except when the terminating NUL follows: then
// it stands alone as a "dangling" byte. No check is made that a pair is valid GBK.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "shell/text.h"

namespace orvane {

// The bytes up to the first NUL as a new text; missing when that is empty. No conversion.
Text BytesToText(ByteView bytes);

// Removes spaces (0x20) and full-width spaces (A1 A1) at both ends, nothing else. A dangling last
// byte is cut off, and then nothing more is removed at the end. Missing when nothing remains.
Text TrimBothEnds(TextRef text);

// Replaces full-width forms by their ASCII twins: A1 A1 space, A1 AB "~", A1 EE / A1 EF "*", and
// A3 A1..FE the ASCII byte second-0x80. Other pairs are copied; a dangling byte is dropped.
Text FoldFullWidth(TextRef text);

// The leading integer of the folded text: white space (0x09-0x0D, 0x20) skipped, at most one sign,
// decimal digits accumulated modulo 2^32, the result read as signed 32-bit. 0 without digits.
std::int32_t TextToInt(TextRef text);

// Byte-wise unsigned comparison: -1, 0 or +1. Missing equals empty.
int CompareText(TextRef a, TextRef b);

// Bytes before the NUL; 0 for a missing text.
std::size_t TextLength(TextRef text);

// The texts one after another in a new text; never missing.
Text JoinTexts(std::initializer_list<TextRef> texts);

}  // namespace orvane
