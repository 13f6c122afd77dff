// The Linux program, ended while its update worker is in a chosen state.
//
//   ending_probe STATE WAY
//
// STATE: pausing, fetching (from a server that accepts and never answers), notice (the notice on
// screen) or writing (a pane write after another, without end). WAY: close (the window is closed,
// as by Esc or the close box) or exit (the Exit command). As soon as the worker reaches the state
// it asks the user-interface thread to end the program, then carries on in that state. The
// process's exit code is the program's own, or 3 when the display could not be opened.
#include <gtk/gtk.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "shell/gtk/fatal_port.h"
#include "shell/gtk/program.h"
#include "shell/gtk/ui_thread.h"
#include "tests/gtk/gtk_test_support.h"
#include "update/gtk/worker_ports.h"

namespace orvane::gtk {
namespace {

constexpr int kNoDisplay = 3;

std::string g_state;
std::string g_way;
std::atomic<bool> g_end_asked{false};

void AskToEnd() {
  if (g_end_asked.exchange(true)) return;
  PostToUiThread([] {
    if (g_way == "exit") EndProgram(0);  // what the Exit command does
    GList* all = gtk_window_list_toplevels();
    for (GList* l = all; l; l = l->next) {
      const gchar* title = gtk_window_get_title(GTK_WINDOW(l->data));
      if (title && std::strcmp(title, "Orvane") == 0) gtk_window_close(GTK_WINDOW(l->data));
    }
    g_list_free(all);
  });
}

class EndingPorts : public GtkWorkerPorts {
 public:
  using GtkWorkerPorts::GtkWorkerPorts;

  void Pause(std::uint32_t milliseconds) override {
    if (g_state != "pausing") return GtkWorkerPorts::Pause(10);
    AskToEnd();
    GtkWorkerPorts::Pause(milliseconds);
  }
  void SetPaneText(int pane, TextRef text) override {
    if (g_state != "writing") return GtkWorkerPorts::SetPaneText(pane, text);
    AskToEnd();
    for (int i = 0;; ++i) GtkWorkerPorts::SetPaneText(i % 5, i % 2 ? "/" : "\\");
  }
  Bytes Fetch(TextRef url) override {
    static constexpr unsigned char kNewer[] = {'2', '.', '0'};
    if (g_state == "notice") return Bytes::Copy(kNewer);
    if (g_state == "fetching") AskToEnd();
    return GtkWorkerPorts::Fetch(url);
  }
  void ShowNotice(TextRef text, TextRef title) override {
    AskToEnd();
    GtkWorkerPorts::ShowNotice(text, title);
  }
};

}  // namespace
}  // namespace orvane::gtk

int main(int argc, char** argv) {
  using namespace orvane::gtk;
  if (argc != 3) return 2;
  // A display that cannot be opened (a busy test display may refuse a client now and then) is
  // told apart from the program's own fatal error, so that the test can start the run again.
  if (!gtk_init_check(nullptr, nullptr)) return kNoDisplay;
  g_state = argv[1];
  g_way = argv[2];
  const std::string url = "http://127.0.0.1:" + std::to_string(testing::SilentPort()) + "/vs/1.txt";
  ProgramSetup setup;
  setup.landing_url = "about:blank";
  setup.start_worker_with = [url](orvane::StatusPanes& panes) {
    std::thread([&panes, url] {
      EndingPorts ports(panes);
      orvane::UpdateWorker(ports, url, "about:blank").Run();
    }).detach();
  };
  return RunProgram(setup);
}
