// `状态条1`: five flat panes of fixed width along the bottom edge, drawn from what the pane record
// sends them. The record's writer (the update worker) may be on another thread: each text is
// handed to the user-interface thread and the writer waits until it is shown. Once the window is
// gone, a text sent changes nothing and the writer does not wait.
#pragma once

#include <gtk/gtk.h>

#include <array>
#include <mutex>
#include <string>

#include "shell/status_panes.h"

namespace orvane::gtk {

class StatusBar final : public StatusPanes::Sink {
 public:
  // The panes start with the record's texts.
  explicit StatusBar(const StatusPanes& panes);
  ~StatusBar() override;
  StatusBar(const StatusBar&) = delete;
  StatusBar& operator=(const StatusBar&) = delete;

  GtkWidget* widget() const { return bar_; }

  void SendPaneText(std::uint32_t index_and_style, TextRef text) override;

  // The window is going: no later text reaches the labels. User-interface thread only.
  void WindowGone();

  // The text on display in a pane (UTF-8), for tests. User-interface thread only.
  std::string ShownText(int index) const;

 private:
  static void OnDestroy(GtkWidget* widget, gpointer self);
  void Show(int index, TextRef text);

  GtkWidget* bar_ = nullptr;
  std::array<GtkWidget*, layout::kPaneCount> labels_{};
  std::mutex mutex_;
  bool alive_ = true;  // guarded by mutex_; written on the user-interface thread only
};

}  // namespace orvane::gtk
