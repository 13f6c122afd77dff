// Every user-visible text, converted from GBK with iconv, reads exactly as it should.
#include "resources/texts.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace orvane {
namespace {

std::string GbkToUtf8(const std::string& gbk) {
  iconv_t cd = iconv_open("UTF-8", "GBK");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<no GBK converter>";
  std::string in = gbk;
  std::string out(in.size() * 4 + 4, '\0');
  char* ip = in.data();
  char* op = out.data();
  size_t il = in.size();
  size_t ol = out.size();
  const size_t r = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return "<invalid GBK>";
  out.resize(out.size() - ol);
  return out;
}

TEST(Texts, AreTheGbkSpellingOfEachText) {
  struct Case {
    const char* gbk;
    const char* utf8;
  } cases[] = {
      {texts::kProductName, "Orvane"},
      {texts::kMenuFile, "文件(&F)"},
      {texts::kMenuExit, "退出(&E)"},
      {texts::kMenuHelp, "帮助(&H)"},
      {texts::kMenuCheckUpdate, "检查更新(&U)"},
      {texts::kPaneCurrentLabel, "当前版本："},
      {texts::kPaneCurrentVersion, "V1.0"},
      {texts::kPaneActivity, "/"},
      {texts::kPaneLatestLabel, "最新版本："},
      {texts::kPaneFetching, "正在获取..."},
      {texts::kNoticeText, "发现更新"},
      {texts::kNoticeTitle, "信息："},
      {texts::kFatalTitle, "错误"},
      {texts::kFatalHeading, "运行时出错!"},
      {texts::kFatalCodeLabel, "错误代码："},
      {texts::kFatalMessageLabel, "错误信息："},
      {texts::kOutOfMemoryBefore, "分配 "},
      {texts::kOutOfMemoryAfter, " 字节内存失败!"},
      {texts::kDefinitionsUnreadable, "载入窗口模板数据段出错!"},
      {texts::kStartWindowFailed, "载入启动窗口失败"},
      {texts::kStatusBarName, "状态条1"},
      {texts::kMarkBackslash, "\\"},
      {texts::kInstalledVersion, "1.0"},
  };
  for (const Case& c : cases) EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
}

// The colons of the two label panes and of the notice title are the full-width colon U+FF1A.
TEST(Texts, UseTheFullWidthColon) {
  for (const char* t : {texts::kPaneCurrentLabel, texts::kPaneLatestLabel, texts::kNoticeTitle}) {
    EXPECT_EQ(GbkToUtf8(t).substr(GbkToUtf8(t).size() - 3), "\xEF\xBC\x9A");
  }
}

}  // namespace
}  // namespace orvane
