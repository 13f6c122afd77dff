// `lable`, the loading overlay: a white field with a one-pixel border over the browser area and
// the loading animation centred in it. The animation starts at the first painting and its timer
// runs only while the overlay is on screen.
#pragma once

#include <gtk/gtk.h>

#include <optional>

#include "shell/overlay.h"

namespace orvane::gtk {

class OverlayWidget {
 public:
  // `picture` may be empty (unreadable): then only the white field and the border show.
  explicit OverlayWidget(std::optional<Picture> picture);
  ~OverlayWidget();
  OverlayWidget(const OverlayWidget&) = delete;
  OverlayWidget& operator=(const OverlayWidget&) = delete;

  // The widget, owned by the container it is added to; hidden at start.
  GtkWidget* widget() const { return widget_; }
  void SetVisible(bool visible);
  bool visible() const;

  // For tests: the frame on display and whether the animation's timer is pending.
  std::size_t current_frame() const { return animation_ ? animation_->current_frame() : 0; }
  bool animating() const { return timer_ != 0; }

 private:
  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
  static void OnMap(GtkWidget* widget, gpointer self);
  static void OnUnmap(GtkWidget* widget, gpointer self);
  static void OnDestroy(GtkWidget* widget, gpointer self);
  static gboolean OnTick(gpointer self);

  void Draw(cairo_t* cr);
  void ScheduleNextFrame();
  void StopTimer();

  std::optional<Picture> picture_;
  std::optional<OverlayAnimation> animation_;
  GtkWidget* widget_ = nullptr;
  guint timer_ = 0;
};

}  // namespace orvane::gtk
