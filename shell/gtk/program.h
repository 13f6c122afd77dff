// The life of the process on the user-interface thread: start-up, MainWindow, the main loop, and
// the end.
#pragma once

#include <functional>
#include <string>

#include "shell/text.h"

namespace orvane {
class StatusPanes;
}

namespace orvane::gtk {

struct ProgramSetup {
  std::string landing_url;
  // Starts the update worker with the status bar's pane record (the first activation's second
  // action).
  bool start_update_worker = true;
  // WebBrowser's stored settings block (empty: the defaults). A block that cannot be read (a
  // later version, too short) is a start window that cannot be loaded: the fatal error.
  ByteView browser_settings;
  // Test programs only: the browser engine is taken to be missing, as the fatal error follows
  // where it cannot be had (the program links it in, so it is otherwise always there).
  bool engine_missing = false;
  // Starts the worker in place of the program's own UpdateWorker thread (test programs only).
  std::function<void(StatusPanes&)> start_worker_with;
};

// Runs the program and gives its exit code: 0 once MainWindow has been closed. The Exit command
// and a fatal error end the process from inside and never come back here.
int RunProgram(const ProgramSetup& setup);

}  // namespace orvane::gtk
