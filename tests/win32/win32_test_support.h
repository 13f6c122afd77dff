// Helpers of the Windows tests: OLE on the test thread, message pumping with generous deadlines,
// and MainWindow built as the program builds it.
#pragma once

#include <windows.h>
// (windows.h before the other system headers)

#include <functional>
#include <memory>

#include "shell/app_state.h"
#include "shell/program_life.h"
#include "shell/status_panes.h"
#include "shell/win32/gif_picture.h"
#include "shell/win32/main_window.h"

namespace orvane::win::testing {

// Dispatches messages until `done` holds or `deadline_ms` passes; true when it held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD deadline_ms = 5000) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    if (GetTickCount() - start > deadline_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

// A MainWindow as the program loads it, with recording handlers.
class MainWindowFixture {
 public:
  explicit MainWindowFixture(ByteView settings = {}) {
    OleInitialize(nullptr);
    AppState::Get().ResetForTesting();
    options.browser_settings = settings;
    options.loading_gif = ResourceBytes("LOADING_GIF");
    options.life = &life;
    options.first_activation = [this](MainWindow&) { ++first_activations; };
    options.exit_command = [this] { ++exit_commands; };
  }
  ~MainWindowFixture() {
    window.reset();
    PumpFor(0);
    OleUninitialize();
  }
  MainWindowFixture(const MainWindowFixture&) = delete;
  MainWindowFixture& operator=(const MainWindowFixture&) = delete;

  // Builds the window under event suppression, then shows it (which activates it).
  bool Load(bool show = true) {
    {
      SuppressionScope suppress;
      window = MainWindow::Create(options, panes, sink);
    }
    if (!window) return false;
    if (show) {
      ShowWindow(window->hwnd(), SW_SHOW);
      PumpFor(50);
    }
    return true;
  }

  MainWindowOptions options;
  ProgramLife life;
  StatusPanes panes;
  StatusBarSink sink;
  std::unique_ptr<MainWindow> window;
  int first_activations = 0;
  int exit_commands = 0;
};

}  // namespace orvane::win::testing
