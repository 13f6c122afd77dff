// Times SetPaneText from a worker thread: the pane record, the status bar of a shown window, and
// the wait for the user-interface thread to draw the text. Prints min / median / max in ms.
#include <gtk/gtk.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "shell/gtk/status_bar.h"
#include "shell/gtk/ui_thread.h"
#include "shell/status_panes.h"

int main() {
  using namespace orvane;
  gtk::MarkUiThread();
  if (!gtk_init_check(nullptr, nullptr)) return 2;
  StatusPanes panes;
  gtk::StatusBar bar(panes);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_container_add(GTK_CONTAINER(window), bar.widget());
  gtk_widget_show_all(window);
  panes.AttachSink(&bar);

  constexpr int kWrites = 200;
  std::vector<double> ms;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the window drawn and idle
    for (int i = 0; i < kWrites; ++i) {
      const auto start = std::chrono::steady_clock::now();
      panes.SetPaneText(2, i % 2 ? "/" : "\\");
      ms.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    done = true;
    gtk::PostToUiThread([] { gtk_main_quit(); });
  });
  gtk_main();
  worker.join();
  panes.DetachSink();
  std::sort(ms.begin(), ms.end());
  std::printf("%.3f %.3f %.3f %d\n", ms.front(), ms[ms.size() / 2], ms.back(), kWrites);
  return 0;
}
