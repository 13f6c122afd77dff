// The rules that turn a fetched version file into a version, as tables of bytes in and bytes out.
#include "update/text_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace orvane {
namespace {

// Absent expected value means "missing text".
using Expect = std::optional<std::string>;
constexpr std::nullopt_t kMissing = std::nullopt;

void ExpectText(const Text& got, const Expect& want, const std::string& input) {
  if (!want) {
    EXPECT_TRUE(got.missing()) << "input [" << input << "] gave [" << got.view() << "]";
  } else {
    EXPECT_FALSE(got.missing()) << "input [" << input << "]";
    EXPECT_EQ(std::string(got.view()), *want) << "input [" << input << "]";
  }
}

TEST(BytesToText, StopsAtFirstNulAndTakesBytesAsTheyAre) {
  struct Case {
    std::vector<unsigned char> bytes;
    Expect text;
  } cases[] = {
      {{'1', '.', '0'}, "1.0"},
      {{'1', '.', '0', '\r', '\n'}, "1.0\r\n"},
      {{'2', 0, '9'}, "2"},
      {{0, '1'}, kMissing},
      {{}, kMissing},
      {{0xEF, 0xBB, 0xBF, '1'}, "\xEF\xBB\xBF" "1"},  // no byte-order mark removal
      {{0xB0}, "\xB0"},                                // no character check here
  };
  for (const Case& c : cases) {
    ExpectText(BytesToText(c.bytes), c.text, std::string(c.bytes.begin(), c.bytes.end()));
  }
}

TEST(TrimBothEnds, RemovesOnlySpacesAndFullWidthSpacesAtTheEnds) {
  struct Case {
    const char* in;
    Expect out;
  } cases[] = {
      {"1.0", "1.0"},
      {"  1.0  ", "1.0"},
      {"\xA1\xA1" "1.0" "\xA1\xA1", "1.0"},
      {" \xA1\xA1 1.0 \xA1\xA1 ", "1.0"},
      {"1.0\r\n", "1.0\r\n"},    // line ends stay
      {"\t1.0", "\t1.0"},        // so do tabs
      {"1.0 \r\n ", "1.0 \r\n"},  // only the blanks after the line end go
      {"a  b", "a  b"},          // blanks inside stay
      {"   ", kMissing},
      {"\xA1\xA1\xA1\xA1", kMissing},
      {"", kMissing},
      {"x \xD6\xD0", "x \xD6\xD0"},  // a non-blank pair ends the run of blanks
      {"\xA1\xB0 x", "\xA1\xB0 x"},  // a lone A1 stops the leading skip
  };
  for (const Case& c : cases) ExpectText(TrimBothEnds(c.in), c.out, c.in);
  ExpectText(TrimBothEnds(TextRef()), kMissing, "(missing)");
}

TEST(TrimBothEnds, WalksByCharactersSoSecondBytesAreNeverBlanks) {
  struct Case {
    const char* in;
    Expect out;
  } cases[] = {
      // B0 pairs with the space after it, so that space is not trailing.
      {"1.0\xB0 ", "1.0\xB0 "},
      // B0 A1 is one character; the final A1 then dangles and is cut, nothing else.
      {"\xB0\xA1\xA1", "\xB0\xA1"},
      // A dangling last byte goes, and the blank before it stays.
      {"abc \xB0", "abc "},
      {"1 \xA1", "1 "},
      {"\xB0", kMissing},
      {"  \xB0", kMissing},
      // The second A1 starts a character of its own and takes the space as its second byte.
      {"x\xB0\xA1\xA1 ", "x\xB0\xA1\xA1 "},
  };
  for (const Case& c : cases) ExpectText(TrimBothEnds(c.in), c.out, c.in);
}

TEST(TrimBothEnds, LeavesItsArgumentAlone) {
  Text original = Text::Copy("  2.0  ");
  Text trimmed = TrimBothEnds(original);
  EXPECT_EQ(original.view(), "  2.0  ");
  EXPECT_EQ(trimmed.view(), "2.0");
}

TEST(FoldFullWidth, MapsTheTableAndCopiesEverythingElse) {
  struct Case {
    const char* in;
    std::string out;
  } cases[] = {
      {"\xA3\xB1.\xA3\xB0", "1.0"},
      {"\xA1\xA1", " "},
      {"\xA1\xAB", "~"},
      {"\xA1\xEE\xA1\xEF", "**"},
      {"\xA3\xA1\xA3\xA4\xA3\xAB\xA3\xAD\xA3\xAE\xA3\xFE", "!$+-.~"},
      {"\xA3\xA0", "\xA3\xA0"},  // just below the range
      {"\xA3\xFF", "\xA3\xFF"},  // just above it
      {"\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4"},
      {"\xA3" "1", "\xA3" "1"},  // A3 with an ASCII second byte is an unlisted pair
      {"ab\xA3", "ab"},          // a dangling byte is dropped
      {"", ""},
  };
  for (const Case& c : cases) {
    Text folded = FoldFullWidth(c.in);
    EXPECT_EQ(std::string(folded.view()), c.out) << c.in;
  }
}

TEST(TextToInt, ReadsTheLeadingIntegerOfTheFoldedText) {
  struct Case {
    const char* in;
    std::int32_t value;
  } cases[] = {
      {"1.0", 1},
      {"1.99", 1},
      {"1abc", 1},
      {"1.0\r\n", 1},
      {"\t1.0", 1},
      {" \n\v\f\r12", 12},
      {"0.9", 0},
      {"-3", -3},
      {"+7", 7},
      {"abc", 0},
      {"", 0},
      {"- 5", 0},  // white space is skipped only before the sign
      {"+-5", 0},  // one sign at most
      {"\xA3\xB1.\xA3\xB0", 1},
      {"\xA1\xA1\xA3\xB2\xA3\xB5", 25},  // the full-width space folds to a space, then is skipped
      {"\xA3\xAD\xA3\xB5", -5},
      {"\xEF\xBB\xBF" "2.0", 0},  // a byte-order mark is no white space, sign or digit
      {"\xA0" "5", 0},           // bytes of 0x80 and above are never white space
      {"4294967297", 1},         // 2^32 + 1 wraps around
      {"4294967296", 0},
      {"2147483648", INT32_MIN},
      {"-2147483648", INT32_MIN},
      {"2147483647", INT32_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(TextToInt(c.in), c.value) << c.in;
  EXPECT_EQ(TextToInt(TextRef()), 0);
}

TEST(CompareText, IsByteWiseUnsignedWithMissingEqualToEmpty) {
  struct Case {
    TextRef a, b;
    int result;
  } cases[] = {
      {TextRef(), "", 0},
      {TextRef(), TextRef(), 0},
      {"", TextRef(), 0},
      {TextRef(), "/", -1},
      {"/", TextRef(), 1},
      {"/", "\\", -1},
      {"1.0", "1.0", 0},
      {"1.0\r\n", "1.0", 1},
      {"1.0", "1.00", -1},
      {"\xB0", "a", 1},  // 0xB0 is larger than any ASCII byte
      {"A", "a", -1},    // no case folding
      {"\xA3\xB1.\xA3\xB0", "1.0", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareText(c.a, c.b), c.result) << c.a.view() << " vs " << c.b.view();
  }
}

TEST(TextLength, CountsBytesBeforeTheNul) {
  EXPECT_EQ(TextLength(TextRef()), 0u);
  EXPECT_EQ(TextLength(""), 0u);
  EXPECT_EQ(TextLength("\xD6\xD0" "1"), 3u);
}

TEST(JoinTexts, JoinsInOrderAndNeverGivesMissing) {
  Text none;
  EXPECT_EQ(JoinTexts({"V", none}).view(), "V");
  EXPECT_EQ(JoinTexts({"V", "2.0\r\n"}).view(), "V2.0\r\n");
  EXPECT_EQ(JoinTexts({"a", "", "b", TextRef(), "c"}).view(), "abc");
  Text empty = JoinTexts({none, ""});
  EXPECT_FALSE(empty.missing());
  EXPECT_TRUE(empty.empty());
}

// The worker's order: trim the text of the bytes, take its integer, compare the whole text.
TEST(VersionRules, DecideWhatCountsAsAVersionAndWhatIsAnUpdate) {
  struct Case {
    std::string body;
    bool is_version;
    bool is_update;
  } cases[] = {
      {"1.0", true, false},
      {"  1.0 \xA1\xA1", true, false},
      {"1.0\r\n", true, true},
      {"2.0", true, true},
      {"1.00", true, true},
      {"\xA3\xB1.\xA3\xB0", true, true},
      {"0.9", false, false},
      {"-2", false, false},
      {"", false, false},
      {std::string("1.0\0garbage", 11), true, false},
      {"\xEF\xBB\xBF" "2.0", false, false},
  };
  for (const Case& c : cases) {
    Text version = TrimBothEnds(BytesToText(
        ByteView(reinterpret_cast<const unsigned char*>(c.body.data()), c.body.size())));
    const bool is_version = TextToInt(version) >= 1;
    EXPECT_EQ(is_version, c.is_version) << c.body;
    if (is_version) {
      EXPECT_EQ(CompareText(version, "1.0") != 0, c.is_update) << c.body;
    }
  }
}

}  // namespace
}  // namespace orvane
