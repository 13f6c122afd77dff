// Every text the user can see, as GBK (code page 936) bytes. Nothing else in the program spells
// these out; a test converts each one to UTF-8 and compares it with the text as it should read.
#pragma once

#include "orvane/build_config.h"

namespace orvane::texts {

// The product name: the first caption and the version record. It and the two version texts come
// from the project's name and version in CMakeLists.txt.
inline constexpr auto& kProductName = build::kProductName;

// Menu bar.
inline constexpr char kMenuFile[] = "\xce\xc4\xbc\xfe(&F)";                 // 文件(&F)
inline constexpr char kMenuExit[] = "\xcd\xcb\xb3\xf6(&E)";                 // 退出(&E)
inline constexpr char kMenuHelp[] = "\xb0\xef\xd6\xfa(&H)";                 // 帮助(&H)
inline constexpr char kMenuCheckUpdate[] = "\xbc\xec\xb2\xe9\xb8\xfc\xd0\xc2(&U)";  // 检查更新(&U)

// Status bar panes at start.
inline constexpr char kPaneCurrentLabel[] = "\xb5\xb1\xc7\xb0\xb0\xe6\xb1\xbe\xa3\xba";  // 当前版本：
inline constexpr auto& kPaneCurrentVersion = build::kShortVersionPane;  // V1.0
inline constexpr char kPaneActivity[] = "/";
inline constexpr char kPaneLatestLabel[] = "\xd7\xee\xd0\xc2\xb0\xe6\xb1\xbe\xa3\xba";  // 最新版本：
inline constexpr char kPaneFetching[] = "\xd5\xfd\xd4\xda\xbb\xf1\xc8\xa1...";           // 正在获取...

// The update notice.
inline constexpr char kNoticeText[] = "\xb7\xa2\xcf\xd6\xb8\xfc\xd0\xc2";  // 发现更新
inline constexpr char kNoticeTitle[] = "\xd0\xc5\xcf\xa2\xa3\xba";        // 信息：

// The fatal-error box.
inline constexpr char kFatalTitle[] = "\xb4\xed\xce\xf3";                                  // 错误
inline constexpr char kFatalHeading[] = "\xd4\xcb\xd0\xd0\xca\xb1\xb3\xf6\xb4\xed!";       // 运行时出错!
inline constexpr char kFatalCodeLabel[] = "\xb4\xed\xce\xf3\xb4\xfa\xc2\xeb\xa3\xba";      // 错误代码：
inline constexpr char kFatalMessageLabel[] = "\xb4\xed\xce\xf3\xd0\xc5\xcf\xa2\xa3\xba";   // 错误信息：
inline constexpr char kOutOfMemoryBefore[] = "\xb7\xd6\xc5\xe4 ";                          // "分配 "
inline constexpr char kOutOfMemoryAfter[] = " \xd7\xd6\xbd\xda\xc4\xda\xb4\xe6\xca\xa7\xb0\xdc!";  // " 字节内存失败!"
inline constexpr char kDefinitionsUnreadable[] =
    "\xd4\xd8\xc8\xeb\xb4\xb0\xbf\xda\xc4\xa3\xb0\xe5\xca\xfd\xbe\xdd\xb6\xce\xb3\xf6\xb4\xed!";  // 载入窗口模板数据段出错!
inline constexpr char kStartWindowFailed[] =
    "\xd4\xd8\xc8\xeb\xc6\xf4\xb6\xaf\xb4\xb0\xbf\xda\xca\xa7\xb0\xdc";  // 载入启动窗口失败

// Names of the controls, as the window definition gives them.
inline constexpr char kStatusBarName[] = "\xd7\xb4\xcc\xac\xcc\xf5" "1";  // 状态条1
inline constexpr char kOverlayName[] = "lable";
inline constexpr char kBrowserName[] = "WebBrowser";

// Version texts and the update check's fixed strings.
inline constexpr auto& kInstalledVersion = build::kShortVersion;  // 1.0
inline constexpr char kVersionPrefix[] = "V";
inline constexpr char kMarkSlash[] = "/";
inline constexpr char kMarkBackslash[] = "\\";

}  // namespace orvane::texts
