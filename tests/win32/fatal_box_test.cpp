// The fatal error on Windows: one box with the composed text and the title "错误", then the
// process ends with exit code -1, also when the error is raised on another thread.
#include <windows.h>
// (windows.h before the other system headers)

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

#include "resources/texts.h"
#include "shell/fatal.h"
#include "shell/win32/program.h"

namespace orvane::win {
namespace {

// Waits for the error box, checks its text, counts it and dismisses it; writes what it found to
// standard error for the death test to match.
void DismissErrorBoxes() {
  const std::string expected(ComposeFatalText(texts::kStartWindowFailed, 0).view());
  int boxes = 0;
  for (int i = 0; i < 400; ++i) {
    if (HWND box = FindWindowA("#32770", texts::kFatalTitle)) {
      char text[512] = {};
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
      ++boxes;
      std::fprintf(stderr, "box %d text %s\n", boxes, text == expected ? "matches" : "differs");
      std::fflush(stderr);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      Sleep(300);
    }
    Sleep(25);
  }
}

TEST(FatalErrorBoxDeathTest, OnTheUserInterfaceThreadEndsWithMinusOne) {
  EXPECT_EXIT(
      {
        StartUp();
        std::thread(DismissErrorBoxes).detach();
        ReportFatalError(texts::kStartWindowFailed);
      },
      ::testing::ExitedWithCode(-1), "box 1 text matches");
}

TEST(FatalErrorBoxDeathTest, OnAnotherThreadIsHandedToTheUserInterfaceThread) {
  EXPECT_EXIT(
      {
        StartUp();
        std::thread(DismissErrorBoxes).detach();
        std::thread([] { ReportFatalError(texts::kStartWindowFailed); }).detach();
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        std::fprintf(stderr, "the loop ended\n");
        std::_Exit(3);
      },
      ::testing::ExitedWithCode(-1), "box 1 text matches");
}

TEST(FatalErrorBoxDeathTest, AStartWindowThatCannotBeBuiltShowsOneBoxAndNoLoopRuns) {
  EXPECT_EXIT(
      {
        StartUp();
        std::thread(DismissErrorBoxes).detach();
        const unsigned char version2[20] = {2};
        MainWindowOptions options;
        options.browser_settings = version2;
        ProgramLife life;
        auto window = LoadStartWindow(std::move(options));
        std::fprintf(stderr, "loaded anyway\n");
        RunMessageLoop(window.get(), life);
        std::_Exit(3);
      },
      ::testing::ExitedWithCode(-1), "box 1 text matches");
}

}  // namespace
}  // namespace orvane::win
