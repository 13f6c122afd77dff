// Ownership and limits of texts and byte buffers, and what a failed allocation does.
#include "shell/text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "shell/fatal.h"
#include "update/text_rules.h"

namespace orvane {
namespace {

TEST(Text, CopyCutsAtTheFirstNulAndIsNeverMissing) {
  Text t = Text::Copy(std::string_view("ab\0cd", 5));
  EXPECT_EQ(t.view(), "ab");
  EXPECT_EQ(t.size(), 2u);
  Text empty = Text::Copy("");
  EXPECT_FALSE(empty.missing());
  EXPECT_STREQ(Text().c_str(), "");
  EXPECT_TRUE(TextRef(Text()).missing());
}

TEST(Bytes, AppendKeepsEveryByteInOrderAndAppendUpToStopsAtTheLimit) {
  Bytes b;
  std::string expected;
  for (int i = 0; i < 300; ++i) {
    const unsigned char chunk[3] = {static_cast<unsigned char>(i), 0, static_cast<unsigned char>(~i)};
    b.Append(chunk);
    expected.append(reinterpret_cast<const char*>(chunk), 3);
  }
  EXPECT_EQ(b.chars(), expected);

  const unsigned char more[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EQ(b.AppendUpTo(more, 904), 4u);
  EXPECT_EQ(b.size(), 904u);
  EXPECT_EQ(b.AppendUpTo(more, 904), 0u);
  EXPECT_EQ(b.data()[903], 4);
}

// In the child of a death test: prints what the box would show, as hex, and exits as the program
// would.
class RecordingFatalPort final : public FatalErrorPort {
 public:
  void ShowErrorBox(TextRef box_text) override {
    std::fputs("BOX:", stderr);
    for (const unsigned char* p = box_text.bytes(); *p; ++p) std::fprintf(stderr, "%02x", *p);
    std::fputs(":END\n", stderr);
  }
  [[noreturn]] void EndProgram(std::int32_t exit_code) override {
    std::fflush(stderr);
    std::_Exit(exit_code);
  }
};

bool ExitedWithMinusOne(int status) {
#ifdef _WIN32
  return status == -1;
#else
  return ::testing::ExitedWithCode(255)(status);
#endif
}

std::string Hex(std::string_view bytes) {
  std::string out;
  char b[3];
  for (unsigned char c : bytes) {
    std::snprintf(b, sizeof b, "%02x", c);
    out += b;
  }
  return out;
}

TEST(AllocationFailure, IsTheFatalErrorWithTheByteCountAndExitCodeMinusOne) {
  static RecordingFatalPort port;
  const std::string box =
      "\xd4\xcb\xd0\xd0\xca\xb1\xb3\xf6\xb4\xed!\r\n\r\n\xb4\xed\xce\xf3\xd0\xc5\xcf\xa2\xa3\xba"
      "\xb7\xd6\xc5\xe4 7 \xd7\xd6\xbd\xda\xc4\xda\xb4\xe6\xca\xa7\xb0\xdc!\r\n";
  EXPECT_EXIT(
      {
        SetFatalErrorPort(&port);
        SetAllocationFailureHookForTesting([](std::size_t n) { return n == 7; });
        Text joined = JoinTexts({"V", "2.0\r\n"});  // 6 bytes and a NUL
        std::fprintf(stderr, "survived with %s\n", joined.c_str());
      },
      ExitedWithMinusOne, "BOX:" + Hex(box) + ":END");
}

TEST(AllocationFailure, TryAllocateHandsBackNothingInstead) {
  SetAllocationFailureHookForTesting([](std::size_t) { return true; });
  EXPECT_FALSE(TryAllocate(10));
  SetAllocationFailureHookForTesting(nullptr);
  EXPECT_TRUE(TryAllocate(10));
}

}  // namespace
}  // namespace orvane
