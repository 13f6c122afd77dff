#include "shell/gtk/overlay_widget.h"

#include <algorithm>
#include <memory>

namespace orvane::gtk {
namespace {

std::uint32_t NowMs() { return static_cast<std::uint32_t>(g_get_monotonic_time() / 1000); }

struct SurfaceDestroy {
  void operator()(cairo_surface_t* s) const noexcept { cairo_surface_destroy(s); }
};

}  // namespace

OverlayWidget::OverlayWidget(std::optional<Picture> picture) : picture_(std::move(picture)) {
  if (picture_) animation_.emplace(*picture_);
  widget_ = gtk_drawing_area_new();
  gtk_widget_set_no_show_all(widget_, TRUE);
  gtk_widget_set_halign(widget_, GTK_ALIGN_FILL);
  gtk_widget_set_valign(widget_, GTK_ALIGN_FILL);
  g_signal_connect(widget_, "draw", G_CALLBACK(OnDraw), this);
  g_signal_connect(widget_, "map", G_CALLBACK(OnMap), this);
  g_signal_connect(widget_, "unmap", G_CALLBACK(OnUnmap), this);
  g_signal_connect(widget_, "destroy", G_CALLBACK(OnDestroy), this);
}

OverlayWidget::~OverlayWidget() {
  StopTimer();
  if (widget_) g_signal_handlers_disconnect_by_data(widget_, this);
}

void OverlayWidget::SetVisible(bool visible) {
  if (widget_) gtk_widget_set_visible(widget_, visible);
}

bool OverlayWidget::visible() const { return widget_ && gtk_widget_get_visible(widget_); }

gboolean OverlayWidget::OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
  static_cast<OverlayWidget*>(self)->Draw(cr);
  return TRUE;
}

void OverlayWidget::OnMap(GtkWidget*, gpointer self) {
  auto* overlay = static_cast<OverlayWidget*>(self);
  // Back on screen: the animation goes on where it was.
  if (overlay->animation_ && overlay->animation_->running()) overlay->ScheduleNextFrame();
}

void OverlayWidget::OnUnmap(GtkWidget*, gpointer self) {
  static_cast<OverlayWidget*>(self)->StopTimer();
}

void OverlayWidget::OnDestroy(GtkWidget*, gpointer self) {
  auto* overlay = static_cast<OverlayWidget*>(self);
  overlay->StopTimer();
  overlay->widget_ = nullptr;
}

gboolean OverlayWidget::OnTick(gpointer self) {
  auto* overlay = static_cast<OverlayWidget*>(self);
  overlay->timer_ = 0;
  if (overlay->animation_->Advance(NowMs()) && overlay->widget_) {
    // Only the picture changes from frame to frame: redrawing just its rectangle keeps the
    // animation's cost to a small fraction of a full repaint.
    const Picture& picture = *overlay->picture_;
    const layout::Rect place = PlacePicture(kOverlayClient, {picture.width, picture.height});
    const layout::Rect r = layout::kOverlayRect;
    gtk_widget_queue_draw_area(overlay->widget_, r.left + 1 + place.left, r.top + 1 + place.top,
                               place.width, place.height);
  }
  overlay->ScheduleNextFrame();
  return G_SOURCE_REMOVE;
}

void OverlayWidget::ScheduleNextFrame() {
  if (timer_ != 0 || !animation_ || !picture_->animated()) return;
  const std::uint32_t wait = animation_->MillisecondsUntilNextFrame(NowMs());
  timer_ = g_timeout_add(std::max<std::uint32_t>(wait, 1), OnTick, this);
}

void OverlayWidget::StopTimer() {
  if (timer_ != 0) g_source_remove(timer_);
  timer_ = 0;
}

void OverlayWidget::Draw(cairo_t* cr) {
  // The widget covers the visible browser area; `lable`'s own rectangle starts two pixels above
  // and to the left of it, so its border shows only where the rectangle ends inside the area.
  const layout::Rect r = layout::kOverlayRect;
  cairo_save(cr);
  cairo_translate(cr, r.left, r.top);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, 0.5, 0.5, r.width - 1, r.height - 1);
  cairo_stroke(cr);

  if (animation_) {
    if (!animation_->running() && animation_->Start(NowMs())) ScheduleNextFrame();
    const Picture& picture = *picture_;
    const layout::Rect place = PlacePicture(kOverlayClient, {picture.width, picture.height});
    if (place.width <= 0 || place.height <= 0) {
      cairo_restore(cr);
      return;
    }
    auto& pixels = const_cast<std::vector<std::uint32_t>&>(animation_->pixels());
    // The composed buffer is 0x00RRGGBB per pixel, which is cairo's RGB24 layout.
    const std::unique_ptr<cairo_surface_t, SurfaceDestroy> frame(
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels.data()),
                                            CAIRO_FORMAT_RGB24, picture.width, picture.height,
                                            picture.width * 4));
    cairo_translate(cr, 1 + place.left, 1 + place.top);
    cairo_scale(cr, static_cast<double>(place.width) / picture.width,
                static_cast<double>(place.height) / picture.height);
    cairo_set_source_surface(cr, frame.get(), 0, 0);
    cairo_paint(cr);
  }
  cairo_restore(cr);
}

}  // namespace orvane::gtk
