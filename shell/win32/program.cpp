#include "shell/win32/program.h"

#include <float.h>
#include <ole2.h>

#include <memory>
#include <string>

#include "resources/texts.h"
#include "shell/app_state.h"
#include "shell/fatal.h"
#include "shell/win32/gif_picture.h"
#include "shell/win32/window_class.h"
#include "update/addresses.h"
#include "update/worker_thread.h"

namespace orvane::win {
namespace {

constexpr char kMessageWindowClass[] = "OrvaneMessageWindow";
// Carries an exit code (wParam) from another thread to the user-interface thread.
constexpr UINT kEndProgramMessage = WM_APP + 1;

// The in-memory definition of WebBrowser's stored settings: empty, so the pane has its defaults.
constexpr ByteView kBrowserSettingsBlock{};

// Process-wide state of the user-interface thread.
struct ProcessState {
  DWORD ui_thread = 0;
  bool ole_initialised = false;
  ProgramLife life;
  ScopedWindow message_window;
};

// Namespace-scope rather than function-local: no thread-safe initialisation guard is needed (and
// none is linked in).
ProcessState g_state;
ProcessState& State() { return g_state; }

void NoAtExitWork() {}

// Orderly release, once: the definitions (built in, nothing to free), the at-exit routine, the
// message window, and OLE last. Open windows are not closed one by one.
void OrderlyRelease() {
  ProcessState& s = State();
  if (!s.life.BeginEnding()) return;
  s.life.RunAtExitOnce();
  s.message_window.reset();
  if (s.ole_initialised) {
    s.ole_initialised = false;
    OleUninitialize();
  }
}

[[noreturn]] void EndOnThisThread(std::int32_t exit_code) {
  OrderlyRelease();
  ExitProcess(static_cast<UINT>(exit_code));
}

LRESULT CALLBACK MessageWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kEndProgramMessage) EndOnThisThread(static_cast<std::int32_t>(wp));
  return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND CreateMessageWindow() {
  EnsureWindowClass(kMessageWindowClass, 0, MessageWindowProc,
                    static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  return CreateWindowExA(WS_EX_TOOLWINDOW, kMessageWindowClass, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// The fatal error box on Windows: no owner, so it blocks only the reporting thread.
class WindowsFatalPort final : public FatalErrorPort {
 public:
  void ShowErrorBox(TextRef box_text) override {
    MessageBoxA(nullptr, box_text.c_str(), texts::kFatalTitle, MB_OK | MB_ICONERROR);
  }
  [[noreturn]] void EndProgram(std::int32_t exit_code) override {
    State().life.ForgetAtExit();
    win::EndProgram(exit_code);
  }
};

bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

// The process's pane record and its drawing sink live until the process ends: the update worker
// may still write to them while the process is going away, so the record is never freed.
StatusBarSink g_sink;
StatusPanes* g_panes = nullptr;
WindowsFatalPort g_fatal_port;

}  // namespace

bool EnterProgramDirectory(const char* path) {
  const std::optional<std::string_view> dir = ProgramDirectory(path, IsAnsiLeadByte);
  if (!dir) return false;
  const Text directory = Text::Copy(*dir);
  return SetCurrentDirectoryA(directory.c_str()) != FALSE;
}

void DispatchWaitingMessages() {
  MSG msg;
  for (;;) {
    if (!PeekMessageA(&msg, nullptr, 0, WM_QUIT - 1, PM_REMOVE) &&
        !PeekMessageA(&msg, nullptr, WM_QUIT + 1, 0xFFFFFFFFu, PM_REMOVE)) {
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int RunMessageLoop(MainWindow* window, ProgramLife& life) {
  life.EnterLoop();
  if (!window || !window->hwnd()) return 0;
  MSG msg{};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    const bool keyboard = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
    if (keyboard && msg.hwnd && !IsWindowEnabled(msg.hwnd)) continue;
    if (window->hwnd() && window->TranslateKey(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

void EndProgram(std::int32_t exit_code) {
  AppState::Get().SuppressEventsForGood();
  ProcessState& s = State();
  if (s.ui_thread != 0 && GetCurrentThreadId() != s.ui_thread) {
    if (HWND messages = s.message_window.get()) {
      // The user-interface thread ends the process; this thread never resumes.
      SendMessageA(messages, kEndProgramMessage, static_cast<WPARAM>(exit_code), 0);
    }
    ExitProcess(static_cast<UINT>(exit_code));
  }
  EndOnThisThread(exit_code);
}

void StartUp() {
  SetFatalErrorPort(&g_fatal_port);
  ProcessState& s = State();
  if (!g_panes) g_panes = new StatusPanes();

  SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  OleInitialize(nullptr);
  s.ole_initialised = true;

  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  EnterProgramDirectory(path);

  s.message_window.reset(CreateMessageWindow());
  s.ui_thread = GetCurrentThreadId();

  // The window definition is compiled in (layout::, kBrowserSettingsBlock): nothing to read.

  _fpreset();
  _controlfp(_MCW_EM, _MCW_EM);  // every floating-point exception masked

  // The program's initialisation routine is empty.
  s.life.RegisterAtExit(NoAtExitWork);
}

std::unique_ptr<MainWindow> LoadStartWindow(MainWindowOptions options) {
  // Events are kept from handlers while the window is built; the ones raised meanwhile are lost.
  DispatchWaitingMessages();
  AppState::Get().RaiseSuppression();
  std::unique_ptr<MainWindow> window = MainWindow::Create(std::move(options), *g_panes, g_sink);
  if (!window) ReportFatalError(texts::kStartWindowFailed);
  DispatchWaitingMessages();
  AppState::Get().LowerSuppression();
  if (window->hwnd()) {
    // Showing activates the window: its first activation runs the first-activation step here.
    ShowWindow(window->hwnd(), SW_SHOW);
  }
  return window;
}

int RunProgram() {
  StartUp();
  ProcessState& s = State();

  // MainWindow's event bindings: the first-activation step and the Exit command.
  MainWindowOptions options;
  options.browser_settings = kBrowserSettingsBlock;
  options.loading_gif = ResourceBytes("LOADING_GIF");
  options.life = &s.life;
  options.first_activation = [](MainWindow& shown) {
    shown.pane().SetUrl(LandingPageUrl().c_str());
    StartUpdateWorker(*g_panes);
  };
  options.exit_command = [] { EndProgram(0); };

  std::unique_ptr<MainWindow> window = LoadStartWindow(std::move(options));

  const int exit_code = RunMessageLoop(window->hwnd() ? window.get() : nullptr, s.life);
  window.reset();  // its windows are gone already; the browser let go of the engine with them
  OrderlyRelease();
  return exit_code;
}

}  // namespace orvane::win
