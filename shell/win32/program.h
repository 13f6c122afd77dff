// The life of the Windows program on its user-interface thread: start-up, loading the start
// window, the message loop, and the ways it ends (the close box through WM_QUIT; "退出(&E)" and
// the fatal error through orderly release and ExitProcess).
#pragma once

#include <windows.h>
// (windows.h before the other system headers)

#include <cstdint>
#include <memory>

#include "shell/program_life.h"
#include "shell/win32/main_window.h"

namespace orvane::win {

// The program entry: start-up, the start window, the loop; returns the exit code of WM_QUIT.
int RunProgram();

// Start-up before the start window, on the thread that becomes the user-interface thread: error
// mode, OLE, current directory, message window, the thread's record, FPU reset, the at-exit
// routine, and the fatal-error box of Windows.
void StartUp();

// Builds MainWindow under event suppression and shows it (its first activation happens here).
// Failing to build it is the fatal error "载入启动窗口失败". Needs StartUp first.
std::unique_ptr<MainWindow> LoadStartWindow(MainWindowOptions options);

// Runs the message loop until WM_QUIT, offering each message to `window`'s keyboard handling
// first; returns at once when the window no longer exists. Returns WM_QUIT's exit code.
int RunMessageLoop(MainWindow* window, ProgramLife& life);

// Dispatches the messages already waiting, without waiting for more and leaving WM_QUIT queued.
void DispatchWaitingMessages();

// Makes `path`'s directory the current one, cutting at the last backslash in a walk over the
// characters of the ANSI code page. False when the path holds no backslash.
bool EnterProgramDirectory(const char* path);

// Ends the program with the exit code: orderly release and ExitProcess on the user-interface
// thread; from any other thread the request is handed over through the message window.
[[noreturn]] void EndProgram(std::int32_t exit_code);

}  // namespace orvane::win
