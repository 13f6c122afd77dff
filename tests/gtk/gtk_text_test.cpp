// Texts at the GTK boundary: GBK texts to UTF-8 for display and UTF-8 from the engine to GBK, with
// untrusted bytes turned into replacement characters instead of vanishing; GTK's mnemonics and
// line ends.
#include "shell/gtk/gtk_text.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/texts.h"

namespace orvane::gtk {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(ToGtk, ConvertsGbkAndReplacesEveryBadByte) {
  struct Case {
    const char* name;
    std::string gbk;
    std::string utf8;
  } cases[] = {
      {"ascii", "V2.0", "V2.0"},
      {"pane text", texts::kPaneFetching, "正在获取..."},
      {"full-width colon", texts::kPaneLatestLabel, "最新版本："},
      {"empty", "", ""},
      {"lead byte before a space", "V\x81 1", "V" + kFffd + " 1"},
      {"byte that starts nothing",
       "\xff"
       "2.0",
       kFffd + "2.0"},
      {"lead byte at the end", "2.0\xb0", "2.0" + kFffd},
      {"bad bytes between good characters", "\xd5\xfd\xff\xff\xd4\xda",
       "正" + kFffd + kFffd + "在"},
      {"control bytes stay", "1.0\r\n", "1.0\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToGtk(c.gbk.c_str()), c.utf8) << c.name;
}

TEST(ToGtk, KeepsGoingThroughLongUntrustedText) {
  // Many conversion buffers' worth, with a bad byte in every stretch.
  std::string gbk;
  std::string utf8;
  for (int i = 0; i < 400; ++i) {
    gbk += "\xb0\xa1x\xff";
    utf8 += "啊x" + kFffd;
  }
  EXPECT_EQ(ToGtk(gbk.c_str()), utf8);
}

TEST(FromGtk, ConvertsAndMarksWhatGbkCannotShow) {
  struct Case {
    const char* name;
    std::string utf8;
    std::string gbk;
  } cases[] = {
      {"ascii title", "Orvane demo", "Orvane demo"},
      {"chinese title", "文件", "\xce\xc4\xbc\xfe"},
      {"character outside GBK",
       "a\xF0\x9F\x98\x80"
       "b",
       "a?b"},
      {"malformed utf-8", "a\xC3(b", "a?(b"},
      {"truncated at the end", "ab\xE6\x96", "ab?"},
  };
  for (const Case& c : cases) {
    const Text gbk = FromGtk(c.utf8);
    EXPECT_EQ(std::string(gbk.view()), c.gbk) << c.name;
  }
}

TEST(MnemonicLabel, TurnsTheWindowsMarkIntoGtks) {
  struct Case {
    std::string windows;
    std::string gtk;
  } cases[] = {
      {"退出(&E)", "退出(_E)"},      {"&File", "_File"}, {"a && b", "a & b"},
      {"snake_case", "snake__case"}, {"none", "none"},
  };
  for (const Case& c : cases) EXPECT_EQ(MnemonicLabel(c.windows), c.gtk) << c.windows;
}

TEST(UnixLineEnds, DropsTheCarriageReturnOfEachLineEnd) {
  EXPECT_EQ(UnixLineEnds("a\r\n\r\nb\r\n"), "a\n\nb\n");
  EXPECT_EQ(UnixLineEnds("a\rb"), "a\rb");
}

}  // namespace
}  // namespace orvane::gtk
