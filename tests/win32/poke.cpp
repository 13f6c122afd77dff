// Drives a running Orvane from outside, as a user would: "esc" presses Esc in the window that has
// the keyboard focus, "exit" chooses "退出(&E)". Waits up to 20 s for the main window; exit code
// 0 once the message is posted, 1 when there is no window.
#include <windows.h>
// (windows.h before the other system headers)

#include <cstring>

#include "shell/window_definition.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  HWND main_window = nullptr;
  for (int i = 0; i < 400 && !main_window; ++i) {
    main_window = FindWindowA("OrvaneMainWindow", nullptr);
    if (!main_window) Sleep(50);
  }
  if (!main_window) return 1;
  if (std::strcmp(argv[1], "esc") == 0) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(main_window, nullptr), &info);
    const HWND target = info.hwndFocus ? info.hwndFocus : main_window;
    return PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 1) ? 0 : 1;
  }
  if (std::strcmp(argv[1], "exit") == 0) {
    const auto exit = static_cast<WPARAM>(orvane::layout::MenuCommand::kExit);
    return PostMessageA(main_window, WM_COMMAND, exit, 0) ? 0 : 1;
  }
  return 2;
}
