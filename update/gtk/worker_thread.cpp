#include "update/worker_thread.h"

#include <gtk/gtk.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "shell/gtk/ui_thread.h"
#include "update/addresses.h"
#include "update/gtk/gbk_utf8.h"
#include "update/gtk/worker_ports.h"
#include "update/http_fetch.h"

namespace orvane {
namespace {

// A flag one thread waits on until another sets it.
class Signal {
 public:
  // Notified under the lock: the waiter owns the signal and may go as soon as it sees it set.
  void Set() {
    std::lock_guard<std::mutex> lock(mutex_);
    set_ = true;
    cv_.notify_all();
  }
  void Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this] { return set_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool set_ = false;
};

}  // namespace

void GtkWorkerPorts::Pause(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

Text GtkWorkerPorts::GetPaneText(int pane) { return panes_.GetPaneText(pane); }

void GtkWorkerPorts::SetPaneText(int pane, TextRef text) { panes_.SetPaneText(pane, text); }

Bytes GtkWorkerPorts::Fetch(TextRef url) { return HttpFetch(url); }

void GtkWorkerPorts::ShowNotice(TextRef text, TextRef title) {
  const std::string text_utf8 = GbkToUtf8(text.view());
  const std::string title_utf8 = GbkToUtf8(title.view());
  Signal dismissed;
  gtk::RunOnUiThreadAndWait([&] {
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GtkDialogFlags{}, GTK_MESSAGE_INFO,
                                               GTK_BUTTONS_OK, "%s", text_utf8.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), title_utf8.c_str());
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    // Every way of dismissing it (the button, Enter, Esc, the close box) gives a response.
    g_signal_connect(dialog, "response", G_CALLBACK(+[](GtkDialog* d, gint, gpointer signal) {
                       gtk_widget_destroy(GTK_WIDGET(d));
                       static_cast<Signal*>(signal)->Set();
                     }),
                     &dismissed);
    gtk_widget_show(dialog);
  });
  dismissed.Wait();
}

void GtkWorkerPorts::OpenUrl(TextRef url) {
  const std::string uri = GbkToUtf8(url.view());
  gtk::RunOnUiThreadAndWait(
      [&] { g_app_info_launch_default_for_uri(uri.c_str(), nullptr, nullptr); });
}

// The worker runs on its own thread, never joined: it ends with the process, wherever it is.
bool StartUpdateWorker(StatusPanes& panes) {
  try {
    std::thread([&panes] {
      GtkWorkerPorts ports(panes);
      UpdateWorker(ports, VersionFileUrl(), UpdatePageUrl()).Run();
    }).detach();
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

}  // namespace orvane
