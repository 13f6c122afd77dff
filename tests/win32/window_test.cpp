// MainWindow as built on Windows: frame, menu, controls, status bar, stacking, visibility, focus,
// first activation, keyboard, caption and the ways the loop ends.
#include <windows.h>
// (windows.h before the other system headers)

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "resources/texts.h"
#include "shell/program_life.h"
#include "shell/win32/program.h"
#include "shell/window_definition.h"
#include "win32_test_support.h"

namespace orvane::win {
namespace {

using testing::MainWindowFixture;
using testing::PumpFor;
using testing::PumpUntil;

RECT ClientRectOf(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string MenuText(HMENU menu, UINT position) {
  char buffer[64] = {};
  GetMenuStringA(menu, position, buffer, sizeof buffer, MF_BYPOSITION);
  return buffer;
}

std::string PaneText(HWND bar, int pane, int* type) {
  std::vector<char> buffer(256, '\0');  // SB_GETTEXTLENGTHA counts characters, not bytes
  const LRESULT r = SendMessageA(bar, SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(buffer.data()));
  if (type) *type = HIWORD(r);
  return buffer.data();
}

TEST(MainWindow, FrameSizePositionCaptionIconAndClass) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  const HWND w = f.window->hwnd();
  RECT outer{};
  GetWindowRect(w, &outer);
  const layout::Point at =
      layout::CenteredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(outer.left, at.x);
  EXPECT_EQ(outer.top, at.y);
  EXPECT_EQ(outer.right - outer.left, 595);
  EXPECT_EQ(outer.bottom - outer.top, 479);

  const auto style = static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE));
  EXPECT_EQ(style & (WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
            static_cast<DWORD>(WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD | WS_POPUP), 0u);
  EXPECT_EQ(GetWindowLongPtrA(w, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
  EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);
  EXPECT_EQ(GetClassLongPtrA(w, GCL_STYLE), CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS);
  EXPECT_EQ(GetClassLongPtrA(w, GCLP_HBRBACKGROUND), 0);

  char caption[32] = {};
  GetWindowTextA(w, caption, sizeof caption);
  EXPECT_STREQ(caption, "Orvane");
  EXPECT_NE(SendMessageA(w, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageA(w, WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(f.window->status_bar(), WM_GETFONT, 0, 0)),
            static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

TEST(MainWindow, CannotBeResizedOrMaximised) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  const HWND w = f.window->hwnd();
  RECT before{};
  GetWindowRect(w, &before);
  // The frame's edges are plain borders, not sizing edges.
  const LRESULT left_edge = SendMessageA(
      w, WM_NCHITTEST, 0, MAKELPARAM(before.left + 1, (before.top + before.bottom) / 2));
  EXPECT_NE(left_edge, HTLEFT);
  const LRESULT corner =
      SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(before.right - 1, before.bottom - 1));
  EXPECT_NE(corner, HTBOTTOMRIGHT);
  // A double click on the title bar does not maximise.
  SendMessageA(w, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(before.left + 50, before.top + 5));
  PumpFor(50);
  EXPECT_FALSE(IsZoomed(w));
  RECT after{};
  GetWindowRect(w, &after);
  EXPECT_EQ(after.right - after.left, 595);
  EXPECT_EQ(after.bottom - after.top, 479);
}

TEST(MainWindow, MenuBarHasTheFourGbkItemsEnabledAndUnchecked) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  const HMENU bar = GetMenu(f.window->hwnd());
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  struct Case {
    const char* title;
    const char* item;
    layout::MenuCommand command;
  } cases[] = {
      {"\xce\xc4\xbc\xfe(&F)", "\xcd\xcb\xb3\xf6(&E)", layout::MenuCommand::kExit},
      {"\xb0\xef\xd6\xfa(&H)", "\xbc\xec\xb2\xe9\xb8\xfc\xd0\xc2(&U)",
       layout::MenuCommand::kCheckUpdate},
  };
  for (UINT i = 0; i < 2; ++i) {
    EXPECT_EQ(MenuText(bar, i), cases[i].title);
    const HMENU drop_down = GetSubMenu(bar, static_cast<int>(i));
    ASSERT_NE(drop_down, nullptr);
    ASSERT_EQ(GetMenuItemCount(drop_down), 1);
    EXPECT_EQ(MenuText(drop_down, 0), cases[i].item);
    EXPECT_EQ(GetMenuItemID(drop_down, 0), static_cast<UINT>(cases[i].command));
    EXPECT_EQ(GetMenuState(drop_down, 0, MF_BYPOSITION) &
                  (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_OWNERDRAW | MF_POPUP),
              0u);
  }
}

TEST(MainWindow, ControlsKeepTheirRectanglesStackingAndStartVisibility) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  const HWND w = f.window->hwnd();
  const RECT overlay = ClientRectOf(f.window->overlay());
  const RECT browser = ClientRectOf(f.window->browser());
  EXPECT_EQ(overlay.left, -2);
  EXPECT_EQ(overlay.top, -2);
  EXPECT_EQ(overlay.right - overlay.left, 594);
  EXPECT_EQ(overlay.bottom - overlay.top, 418);
  EXPECT_EQ(browser.left, -2);
  EXPECT_EQ(browser.top, -2);
  EXPECT_EQ(browser.right - browser.left, 610);
  EXPECT_EQ(browser.bottom - browser.top, 418);

  // From the top down: 状态条1, lable, WebBrowser.
  const HWND top = GetWindow(w, GW_CHILD);
  EXPECT_EQ(top, f.window->status_bar());
  EXPECT_EQ(GetWindow(top, GW_HWNDNEXT), f.window->overlay());
  EXPECT_EQ(GetWindow(f.window->overlay(), GW_HWNDNEXT), f.window->browser());
  EXPECT_EQ(GetWindow(f.window->browser(), GW_HWNDNEXT), nullptr);

  EXPECT_TRUE(IsWindowVisible(f.window->status_bar()));
  EXPECT_TRUE(IsWindowVisible(f.window->browser()));
  EXPECT_FALSE(IsWindowVisible(f.window->overlay()));

  const auto overlay_style = GetWindowLongPtrA(f.window->overlay(), GWL_STYLE);
  EXPECT_TRUE(overlay_style & WS_BORDER);
  EXPECT_TRUE(overlay_style & WS_CLIPSIBLINGS);
  EXPECT_FALSE(overlay_style & WS_TABSTOP);
  EXPECT_EQ(GetWindowLongPtrA(f.window->overlay(), GWL_EXSTYLE) &
                (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE),
            0);
  RECT overlay_client{};
  GetClientRect(f.window->overlay(), &overlay_client);
  EXPECT_EQ(overlay_client.right, 592);
  EXPECT_EQ(overlay_client.bottom, 416);
  const auto browser_style = GetWindowLongPtrA(f.window->browser(), GWL_STYLE);
  EXPECT_EQ(browser_style & (WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP),
            WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP);
}

TEST(MainWindow, StatusBarShowsFiveFlatPanesWithTheirStartTexts) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  const HWND bar = f.window->status_bar();
  const auto style = GetWindowLongPtrA(bar, GWL_STYLE);
  EXPECT_TRUE(style & CCS_BOTTOM);
  EXPECT_TRUE(style & SBT_TOOLTIPS);
  EXPECT_FALSE(style & SBARS_SIZEGRIP);
  EXPECT_FALSE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));

  int edges[8] = {};
  ASSERT_EQ(SendMessageA(bar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 5);
  const int expected_edges[5] = {70, 120, 150, 220, 300};
  const char* expected_texts[5] = {"\xb5\xb1\xc7\xb0\xb0\xe6\xb1\xbe\xa3\xba", "V1.0", "/",
                                   "\xd7\xee\xd0\xc2\xb0\xe6\xb1\xbe\xa3\xba",
                                   "\xd5\xfd\xd4\xda\xbb\xf1\xc8\xa1..."};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(edges[i], expected_edges[i]);
    int type = 0;
    EXPECT_EQ(PaneText(bar, i, &type), expected_texts[i]) << "pane " << i;
    EXPECT_EQ(type, SBT_NOBORDERS) << "pane " << i;
  }

  // Docked: full client width at the bottom edge, also after minimising and restoring.
  for (int round = 0; round < 2; ++round) {
    RECT client{};
    GetClientRect(f.window->hwnd(), &client);
    const RECT r = ClientRectOf(bar);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, client.right);
    EXPECT_EQ(r.bottom, client.bottom);
    EXPECT_GT(r.bottom - r.top, 10);
    ShowWindow(f.window->hwnd(), SW_MINIMIZE);
    PumpFor(50);
    ShowWindow(f.window->hwnd(), SW_RESTORE);
    PumpFor(50);
  }
}

TEST(MainWindow, PaneWritesFromAnotherThreadReachTheBarAndAreHarmlessOnceItIsGone) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  bool written = false;
  std::thread worker([&] {
    f.panes.SetPaneText(layout::kActivityPane, "\\");
    f.panes.SetPaneText(layout::kLatestVersionPane, "V2.0");
    written = true;
  });
  // The worker's sends wait for this thread to dispatch them.
  EXPECT_TRUE(PumpUntil([&] { return written; }));
  worker.join();
  int type = 0;
  EXPECT_EQ(PaneText(f.window->status_bar(), 2, &type), "\\");
  EXPECT_EQ(PaneText(f.window->status_bar(), 4, &type), "V2.0");
  EXPECT_EQ(type, SBT_NOBORDERS);

  DestroyWindow(f.window->hwnd());
  std::thread late([&] { f.panes.SetPaneText(4, "V3.0"); });
  late.join();  // returns without this thread pumping: nothing is sent any more
  EXPECT_EQ(std::string(f.panes.GetPaneText(4).view()), "V3.0");
}

TEST(MainWindow, FirstActivationRunsOnceAcrossDeactivationAndReactivation) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  EXPECT_EQ(f.first_activations, 1);
  const HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100,
                                     100, nullptr, nullptr, nullptr, nullptr);
  for (int i = 0; i < 3; ++i) {
    SetActiveWindow(other);
    PumpFor(20);
    SetActiveWindow(f.window->hwnd());
    PumpFor(20);
  }
  EXPECT_EQ(GetActiveWindow(), f.window->hwnd());
  EXPECT_EQ(f.first_activations, 1);
  // The focus came back to the browser each time.
  const HWND focus = GetFocus();
  EXPECT_TRUE(focus == f.window->browser() || IsChild(f.window->browser(), focus));
  DestroyWindow(other);
}

TEST(MainWindow, FirstActivationUnderSuppressionIsLostForGood) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load(false));
  {
    SuppressionScope suppress;
    ShowWindow(f.window->hwnd(), SW_SHOW);
    PumpFor(20);
  }
  const HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100,
                                     100, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  PumpFor(20);
  SetActiveWindow(f.window->hwnd());
  PumpFor(20);
  EXPECT_EQ(f.first_activations, 0);
  DestroyWindow(other);
}

TEST(MainWindow, KeyboardFocusStartsInTheBrowser) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  const HWND focus = GetFocus();
  ASSERT_NE(focus, nullptr);
  EXPECT_TRUE(focus == f.window->browser() || IsChild(f.window->browser(), focus));
  EXPECT_NE(f.window->browser_host().engine_window(), nullptr);
}

MSG KeyDown(HWND target, WPARAM key) {
  MSG msg{};
  msg.hwnd = target;
  msg.message = WM_KEYDOWN;
  msg.wParam = key;
  msg.lParam = 1;
  return msg;
}

void SetKeyDown(int vk, bool down) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[vk] = down ? 0x80 : 0;
  SetKeyboardState(state);
}

TEST(MainWindow, EscWithAModifierAndOtherKeysGoOnToTheControl) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  const HWND focus = GetFocus();
  for (int modifier : {VK_CONTROL, VK_SHIFT, VK_MENU}) {
    SetKeyDown(modifier, true);
    EXPECT_FALSE(f.window->TranslateKey(KeyDown(focus, VK_ESCAPE))) << modifier;
    SetKeyDown(modifier, false);
  }
  EXPECT_FALSE(f.window->TranslateKey(KeyDown(focus, VK_RETURN)));
  EXPECT_FALSE(f.window->TranslateKey(KeyDown(focus, VK_F1)));
  EXPECT_FALSE(f.window->TranslateKey(KeyDown(focus, 'A')));
  // Tab is taken by the window and leaves the focus in the browser, the only tab stop.
  EXPECT_TRUE(f.window->TranslateKey(KeyDown(focus, VK_TAB)));
  const HWND after = GetFocus();
  EXPECT_TRUE(after == f.window->browser() || IsChild(f.window->browser(), after));
  EXPECT_TRUE(IsWindow(f.window->hwnd()));
}

TEST(MainWindow, EscInTheBrowserClosesTheWindowAndEndsTheLoopWithZero) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(RunMessageLoop(f.window.get(), f.life), 0);
  EXPECT_EQ(f.window->hwnd(), nullptr);
  EXPECT_EQ(f.exit_commands, 0);
}

TEST(MainWindow, ExitRunsTheExitCommandAndCheckForUpdatesDoesNothing) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  SendMessageA(f.window->hwnd(), WM_COMMAND, static_cast<WPARAM>(layout::MenuCommand::kCheckUpdate),
               0);
  EXPECT_EQ(f.exit_commands, 0);
  EXPECT_TRUE(IsWindowVisible(f.window->hwnd()));
  SendMessageA(f.window->hwnd(), WM_COMMAND, static_cast<WPARAM>(layout::MenuCommand::kExit), 0);
  EXPECT_EQ(f.exit_commands, 1);
}

TEST(MainWindow, ADestroyedWindowBeforeTheLoopPostsNoQuit) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  DestroyWindow(f.window->hwnd());  // the loop has not begun
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  EXPECT_EQ(RunMessageLoop(f.window.get(), f.life), 0);  // skipped: no window
}

TEST(MainWindow, CaptionFollowsTheTitleAndAnEmptyOneKeepsTheTitleBar) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  const HWND w = f.window->hwnd();
  const auto before = GetWindowLongPtrA(w, GWL_STYLE);
  const char* titles[] = {"\xd6\xd0\xce\xc4 Page", ""};  // 中文 Page
  for (const char* title : titles) {
    f.window->SetCaption(title);
    char text[64] = {"x"};
    GetWindowTextA(w, text, sizeof text);
    EXPECT_STREQ(text, title);
    EXPECT_EQ(GetWindowLongPtrA(w, GWL_STYLE), before);
  }
}

TEST(MainWindow, ARefusedSettingsBlockFailsTheLoad) {
  const unsigned char version2[20] = {2};
  MainWindowFixture f(version2);
  EXPECT_FALSE(f.Load());
}

// The program directory: a path whose double-byte directory name ends in byte 0x5C.
TEST(ProgramDirectoryOnWindows, CutsAtTheRealLastBackslash) {
  ASSERT_EQ(GetACP(), 936u) << "the tests run with code page 936";
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string dir = std::string(temp) + "orvane\xb1\xed\x81\x5c";  // ends in 0x81 0x5C
  CreateDirectoryA(dir.c_str(), nullptr);
  char saved[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, saved);

  EXPECT_TRUE(EnterProgramDirectory((dir + "\\orvane.exe").c_str()));
  char now[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, now);
  EXPECT_EQ(std::string(now), dir);

  SetCurrentDirectoryA(saved);
  EXPECT_FALSE(EnterProgramDirectory("orvane.exe"));
  GetCurrentDirectoryA(MAX_PATH, now);
  EXPECT_STREQ(now, saved);
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
}  // namespace orvane::win
