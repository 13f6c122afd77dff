#include "update/worker_thread.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "update/addresses.h"
#include "update/http_fetch.h"
#include "update/win32/worker_ports.h"

namespace orvane {
namespace {

HANDLE g_worker_handle = nullptr;
StatusPanes* g_panes = nullptr;

DWORD WINAPI UpdateWorkerMain(LPVOID) {
  Win32WorkerPorts ports(*g_panes, g_worker_handle);
  UpdateWorker(ports, VersionFileUrl(), UpdatePageUrl()).Run();
  return 0;
}

}  // namespace

HANDLE WorkerHandle() { return g_worker_handle; }

void Win32WorkerPorts::Pause(std::uint32_t milliseconds) {
  WaitForSingleObject(pause_handle_, milliseconds);
}

Text Win32WorkerPorts::GetPaneText(int pane) { return panes_.GetPaneText(pane); }

void Win32WorkerPorts::SetPaneText(int pane, TextRef text) { panes_.SetPaneText(pane, text); }

Bytes Win32WorkerPorts::Fetch(TextRef url) { return HttpFetch(url); }

void Win32WorkerPorts::ShowNotice(TextRef text, TextRef title) {
  MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_TASKMODAL);
}

void Win32WorkerPorts::OpenUrl(TextRef url) {
  HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
  ShellExecuteA(owner, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// The thread starts suspended and runs only once its handle is the worker handle, so that the
// first pause already waits on it. It is never joined.
bool StartUpdateWorker(StatusPanes& panes) {
  g_panes = &panes;
  HANDLE thread = CreateThread(nullptr, 0, UpdateWorkerMain, nullptr, CREATE_SUSPENDED, nullptr);
  if (!thread) return false;
  g_worker_handle = thread;
  ResumeThread(thread);
  return true;
}

}  // namespace orvane
