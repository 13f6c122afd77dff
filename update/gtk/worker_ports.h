// UpdateWorker's ports on Linux: a plain sleep, the pane record, libcurl, a message dialog that the
// user-interface thread shows on the worker's behalf, and the desktop's default handler for URLs.
#pragma once

#include "shell/status_panes.h"
#include "update/update_worker.h"

namespace orvane {

class GtkWorkerPorts : public UpdateWorkerPorts {
 public:
  explicit GtkWorkerPorts(StatusPanes& panes) : panes_(panes) {}

  void Pause(std::uint32_t milliseconds) override;
  Text GetPaneText(int pane) override;
  void SetPaneText(int pane, TextRef text) override;
  Bytes Fetch(TextRef url) override;
  // A GtkMessageDialog without parent, shown by the user-interface thread; the worker waits until
  // the user has dismissed it, and the main window stays usable meanwhile.
  void ShowNotice(TextRef text, TextRef title) override;
  // The desktop's default handler for the URL, started from the user-interface thread.
  void OpenUrl(TextRef url) override;

 private:
  StatusPanes& panes_;
};

}  // namespace orvane
