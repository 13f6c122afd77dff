#include "shell/gtk/status_bar.h"

#include "shell/gtk/gtk_text.h"
#include "shell/gtk/ui_thread.h"

namespace orvane::gtk {
namespace {

constexpr int kBarHeight = 20;
constexpr int kTextInset = 3;  // left margin of a pane's text

}  // namespace

StatusBar::StatusBar(const StatusPanes& panes) {
  bar_ = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
  gtk_widget_set_size_request(bar_, -1, kBarHeight);
  gtk_widget_set_name(bar_, "status-bar");
  for (int i = 0; i < layout::kPaneCount; ++i) {
    GtkWidget* label = gtk_label_new(nullptr);
    // A label wants the width of its text; capped like this it keeps the pane's width instead.
    gtk_label_set_max_width_chars(GTK_LABEL(label), 1);
    gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_label_set_single_line_mode(GTK_LABEL(label), TRUE);
    gtk_widget_set_margin_start(label, kTextInset);
    gtk_widget_set_size_request(label, panes.width(i) - kTextInset, -1);
    gtk_widget_set_hexpand(label, FALSE);
    gtk_box_pack_start(GTK_BOX(bar_), label, FALSE, FALSE, 0);
    labels_[static_cast<std::size_t>(i)] = label;
    Show(i, panes.GetPaneText(i));
  }
  g_signal_connect(bar_, "destroy", G_CALLBACK(OnDestroy), this);
}

StatusBar::~StatusBar() {
  if (bar_) g_signal_handlers_disconnect_by_data(bar_, this);
  WindowGone();
}

void StatusBar::OnDestroy(GtkWidget*, gpointer self) {
  auto* bar = static_cast<StatusBar*>(self);
  bar->WindowGone();
  bar->bar_ = nullptr;
}

void StatusBar::WindowGone() {
  std::lock_guard lock(mutex_);
  alive_ = false;
}

void StatusBar::Show(int index, TextRef text) {
  const std::string utf8 = ToGtk(text);
  gtk_label_set_text(GTK_LABEL(labels_[static_cast<std::size_t>(index)]), utf8.c_str());
}

void StatusBar::SendPaneText(std::uint32_t index_and_style, TextRef text) {
  const int index = static_cast<int>(index_and_style & 0xFF);
  if (index >= layout::kPaneCount) return;
  {
    std::lock_guard lock(mutex_);
    if (!alive_) return;
  }
  RunOnUiThreadAndWait([&] {
    // alive_ changes only on this thread, so it cannot change between the check and the use.
    bool alive;
    {
      std::lock_guard lock(mutex_);
      alive = alive_;
    }
    if (alive) Show(index, text);
  });
}

std::string StatusBar::ShownText(int index) const {
  if (!bar_ || index < 0 || index >= layout::kPaneCount) return {};
  return gtk_label_get_text(GTK_LABEL(labels_[static_cast<std::size_t>(index)]));
}

}  // namespace orvane::gtk
