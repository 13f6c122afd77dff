#include "shell/gtk/program.h"

#include <gtk/gtk.h>

#include <optional>
#include <utility>

#include "browser/browser_pane.h"
#include "resources/gtk/embedded.h"
#include "resources/texts.h"
#include "shell/app_state.h"
#include "shell/fatal.h"
#include "shell/gtk/fatal_port.h"
#include "shell/gtk/gif_picture.h"
#include "shell/gtk/main_window.h"
#include "shell/gtk/ui_thread.h"
#include "update/worker_thread.h"

namespace orvane::gtk {
namespace {

// Dispatches what is already waiting, without waiting for more.
void DispatchPending() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

}  // namespace

int RunProgram(const ProgramSetup& setup) {
  MarkUiThread();
  // Without a display there is nowhere to show even the error box: the default port writes it to
  // standard error.
  if (!gtk_init_check(nullptr, nullptr)) ReportFatalError(texts::kStartWindowFailed);
  InstallFatalErrorPort();
  Life().RegisterAtExit([] {});  // this program's at-exit routine does nothing

  // The pane record and the window live until the process ends: the update worker is never
  // stopped, and may still be writing to the status bar while the process ends.
  auto& panes = *new StatusPanes();
  MainWindowSetup window_setup;
  window_setup.landing_url = setup.landing_url;
  if (setup.start_worker_with) {
    window_setup.start_worker = [&panes, start = setup.start_worker_with] { start(panes); };
  } else if (setup.start_update_worker) {
    window_setup.start_worker = [&panes] { StartUpdateWorker(panes); };
  }
  window_setup.loading = DecodeGif(resources::LoadingAnimation());
  std::optional<BrowserSettings> settings = ParseSettingsBlock(setup.browser_settings);
  if (!settings || setup.engine_missing) ReportFatalError(texts::kStartWindowFailed);
  window_setup.browser_settings = std::move(*settings);

  DispatchPending();
  MainWindow* window = nullptr;
  {
    const SuppressionScope building;  // events raised while the window is built are dropped
    window = new MainWindow(panes, std::move(window_setup));
    DispatchPending();
  }
  window->Show();  // mapping it runs the first activation

  Life().EnterLoop();
  if (window->alive()) gtk_main();
  return 0;
}

}  // namespace orvane::gtk
