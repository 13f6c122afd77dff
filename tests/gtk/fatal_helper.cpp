// A program that reports a fatal error from a second thread once its main loop runs, for the
// process-level test of the error box and the exit code.
#include <gtk/gtk.h>

#include <thread>

#include "shell/fatal.h"
#include "shell/gtk/fatal_port.h"
#include "shell/gtk/ui_thread.h"

int main() {
  orvane::gtk::MarkUiThread();
  if (!gtk_init_check(nullptr, nullptr)) return 2;
  orvane::gtk::InstallFatalErrorPort();
  std::thread([] { orvane::ReportFatalError("test failure"); }).detach();
  gtk_main();
  return 0;
}
