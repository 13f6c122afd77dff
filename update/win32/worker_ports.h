// UpdateWorker's ports on Windows: the pause on the worker's own thread handle, the pane record,
// WinINet, a task-modal MessageBoxA without owner, and ShellExecuteA.
#pragma once

#include <windows.h>

#include "shell/status_panes.h"
#include "update/update_worker.h"

namespace orvane {

// The worker handle: the handle of the worker's thread, stored before the thread runs.
HANDLE WorkerHandle();

class Win32WorkerPorts : public UpdateWorkerPorts {
 public:
  // `pause_handle` is waited on by every pause: the worker's own thread handle, which becomes
  // signalled only when the thread ends, so each pause runs its full time.
  Win32WorkerPorts(StatusPanes& panes, HANDLE pause_handle)
      : panes_(panes), pause_handle_(pause_handle) {}

  void Pause(std::uint32_t milliseconds) override;
  Text GetPaneText(int pane) override;
  void SetPaneText(int pane, TextRef text) override;
  Bytes Fetch(TextRef url) override;
  void ShowNotice(TextRef text, TextRef title) override;
  void OpenUrl(TextRef url) override;

 private:
  StatusPanes& panes_;
  HANDLE pause_handle_;
};

}  // namespace orvane
