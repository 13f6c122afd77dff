// Runs UpdateWorker once with the platform's own notice and URL opening, a version body of "2.0"
// and no pauses, and reports on standard output what happens when:
//   notice-shown, notice-dismissed ui-ticks=<timer ticks of the user-interface thread meanwhile>,
//   url-opened, done.
// notice_test.py starts it, dismisses the notice from outside and watches the URL handler.
#include <atomic>
#include <cstdio>
#include <string>

#include "shell/status_panes.h"
#include "update/update_worker.h"
#ifdef _WIN32
#include "update/win32/worker_ports.h"
#else
#include <gtk/gtk.h>

#include <thread>

#include "update/gtk/worker_ports.h"
#endif

namespace orvane {
namespace {

std::atomic<int> g_ui_ticks{0};

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// The platform's ports for the notice and the URL; everything else is scripted.
class ProbePorts : public UpdateWorkerPorts {
 public:
  explicit ProbePorts(UpdateWorkerPorts& platform) : platform_(platform) {}
  void Pause(std::uint32_t) override {}
  Text GetPaneText(int pane) override { return panes_.GetPaneText(pane); }
  void SetPaneText(int pane, TextRef text) override { panes_.SetPaneText(pane, text); }
  Bytes Fetch(TextRef) override {
    return Bytes::Copy({reinterpret_cast<const unsigned char*>("2.0"), 3});
  }
  void ShowNotice(TextRef text, TextRef title) override {
    Say("notice-shown");
    const int ticks_before = g_ui_ticks.load();
    platform_.ShowNotice(text, title);
    Say("notice-dismissed ui-ticks=" + std::to_string(g_ui_ticks.load() - ticks_before));
  }
  void OpenUrl(TextRef url) override {
    platform_.OpenUrl(url);
    Say("url-opened");
  }

 private:
  UpdateWorkerPorts& platform_;
  StatusPanes panes_;
};

std::string g_page_url;

void RunWorker(UpdateWorkerPorts& platform) {
  ProbePorts ports(platform);
  UpdateWorker(ports, "http://version.invalid/vs/1.txt", g_page_url).Run();
  Say("done");
}

}  // namespace
}  // namespace orvane

#ifdef _WIN32
namespace {
DWORD WINAPI WorkerMain(LPVOID) {
  orvane::StatusPanes unused;
  orvane::Win32WorkerPorts platform(unused, GetCurrentThread());
  orvane::RunWorker(platform);
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  orvane::g_page_url = argv[1];
  HANDLE worker = CreateThread(nullptr, 0, WorkerMain, nullptr, 0, nullptr);
  if (!worker) return 3;
  SetTimer(nullptr, 0, 50, nullptr);
  // The user-interface thread keeps running its loop while the worker's notice is up.
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) break;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_TIMER) orvane::g_ui_ticks.fetch_add(1);
      DispatchMessageA(&msg);
    }
  }
  return 0;
}
#else
int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  if (argc < 2) return 2;
  orvane::g_page_url = argv[1];
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "notice probe");
  gtk_widget_show_all(window);
  g_timeout_add(
      50,
      [](gpointer) -> gboolean {
        orvane::g_ui_ticks.fetch_add(1);
        return G_SOURCE_CONTINUE;
      },
      nullptr);
  std::thread([] {
    orvane::StatusPanes unused;
    orvane::GtkWorkerPorts platform(unused);
    orvane::RunWorker(platform);
    g_idle_add(
        [](gpointer) -> gboolean {
          gtk_main_quit();
          return G_SOURCE_REMOVE;
        },
        nullptr);
  }).detach();
  gtk_main();
  return 0;
}
#endif
