#include "shell/gtk/main_window.h"

#include <string>

#include "resources/gtk/embedded.h"
#include "resources/texts.h"
#include "shell/gtk/fatal_port.h"
#include "shell/gtk/gobject_ptr.h"
#include "shell/gtk/gtk_text.h"
#include "shell/window_definition.h"

namespace orvane::gtk {
namespace {

// The client area below the menu bar: the width and height left inside a fixed 595 x 479 frame
// (three-pixel borders, an 18-pixel title bar and a 19-pixel menu bar). The browser area is what
// the status bar leaves of it.
constexpr int kClientWidth = layout::kWindowWidth - 2 * 3;
constexpr int kBrowserAreaHeight = layout::kBrowserRect.top + layout::kBrowserRect.height;

constexpr char kStyle[] =
    "#status-bar { border-top: 1px solid alpha(black, 0.15); }"
    "#status-bar label { font-size: 9pt; }";

void SetIcon(GtkWindow* window) {
  const ByteView icon = resources::ApplicationIcon();
  if (icon.empty()) return;
  const GObjectPtr<GdkPixbufLoader> loader = AdoptRef(gdk_pixbuf_loader_new());
  GError* raw_error = nullptr;
  const bool written = gdk_pixbuf_loader_write(loader.get(), icon.data(), icon.size(), &raw_error);
  GErrorPtr error(raw_error);
  raw_error = nullptr;
  const bool closed = gdk_pixbuf_loader_close(loader.get(), &raw_error);
  GErrorPtr close_error(raw_error);
  if (!written || !closed) return;  // no icon is no reason to stop
  if (GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get())) {
    gtk_window_set_icon(window, pixbuf);
  }
}

layout::Point CentredOnPrimaryScreen(GtkWidget* window) {
  GdkDisplay* display = gtk_widget_get_display(window);
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  GdkRectangle screen{0, 0, layout::kWindowWidth, layout::kWindowHeight};
  if (monitor) gdk_monitor_get_geometry(monitor, &screen);
  const layout::Point origin = layout::CenteredOrigin(screen.width, screen.height);
  return {screen.x + origin.x, screen.y + origin.y};
}

layout::Key KeyOf(guint keyval) {
  switch (keyval) {
    case GDK_KEY_Escape:
      return layout::Key::kEscape;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
    case GDK_KEY_KP_Tab:
      return layout::Key::kTab;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
      return layout::Key::kEnter;
    case GDK_KEY_F1:
      return layout::Key::kF1;
    default:
      return layout::Key::kOther;
  }
}

}  // namespace

MainWindow::MainWindow(StatusPanes& panes, MainWindowSetup setup)
    : panes_(panes),
      setup_(std::move(setup)),
      overlay_(std::move(setup_.loading)),
      status_bar_(panes),
      handlers_(*this),
      pane_(engine_, &handlers_) {
  handlers_.set_pane(&pane_);

  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window_), texts::kProductName);
  gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
  gtk_window_set_type_hint(GTK_WINDOW(window_), GDK_WINDOW_TYPE_HINT_NORMAL);
  SetIcon(GTK_WINDOW(window_));

  const GObjectPtr<GtkCssProvider> css = AdoptRef(gtk_css_provider_new());
  gtk_css_provider_load_from_data(css.get(), kStyle, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(window_),
                                            GTK_STYLE_PROVIDER(css.get()),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);

  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_container_add(GTK_CONTAINER(window_), column);
  gtk_box_pack_start(GTK_BOX(column), BuildMenuBar(), FALSE, FALSE, 0);

  // The browser with `lable` above it; the status bar below both.
  GtkWidget* browser_area = gtk_overlay_new();
  gtk_widget_set_size_request(browser_area, kClientWidth, kBrowserAreaHeight);
  gtk_container_add(GTK_CONTAINER(browser_area), engine_.widget());
  gtk_overlay_add_overlay(GTK_OVERLAY(browser_area), overlay_.widget());
  gtk_box_pack_start(GTK_BOX(column), browser_area, TRUE, TRUE, 0);
  gtk_box_pack_end(GTK_BOX(column), status_bar_.widget(), FALSE, FALSE, 0);

  // The pane's settings as the definition gives them (by default FontSize 2, online, not silent,
  // no address); then its events flow to the handlers.
  engine_.Attach(pane_);
  pane_.ApplySettings(std::move(setup_.browser_settings));
  panes_.AttachSink(&status_bar_);

  g_signal_connect(window_, "map", G_CALLBACK(OnActivated), this);
  g_signal_connect(window_, "notify::is-active", G_CALLBACK(OnActiveChanged), this);
  g_signal_connect(window_, "focus-in-event", G_CALLBACK(OnFocusIn), this);
  g_signal_connect(window_, "key-press-event", G_CALLBACK(OnKeyPress), this);
  g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroy), this);

  gtk_widget_show_all(column);
  gtk_widget_grab_focus(engine_.widget());
  const layout::Point origin = CentredOnPrimaryScreen(window_);
  gtk_window_move(GTK_WINDOW(window_), origin.x, origin.y);
}

MainWindow::~MainWindow() {
  panes_.DetachSink();
  engine_.Detach();
  if (window_) {
    g_signal_handlers_disconnect_by_data(window_, this);
    gtk_widget_destroy(window_);
  }
}

GtkWidget* MainWindow::BuildMenuBar() {
  GtkWidget* bar = gtk_menu_bar_new();
  for (const layout::MenuDefinition& menu : layout::kMenus) {
    GtkWidget* title = gtk_menu_item_new_with_mnemonic(MnemonicLabel(ToGtk(menu.title)).c_str());
    GtkWidget* drop_down = gtk_menu_new();
    GtkWidget* item = gtk_menu_item_new_with_mnemonic(MnemonicLabel(ToGtk(menu.item)).c_str());
    gtk_menu_shell_append(GTK_MENU_SHELL(drop_down), item);
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(title), drop_down);
    gtk_menu_shell_append(GTK_MENU_SHELL(bar), title);
    // "检查更新(&U)" has no handler: choosing it does nothing.
    if (menu.command == layout::MenuCommand::kExit) {
      g_signal_connect(item, "activate", G_CALLBACK(OnExitChosen), this);
    }
  }
  return bar;
}

void MainWindow::Show() {
  if (window_) gtk_widget_show(window_);
}

void MainWindow::Activate() {
  if (!first_activation_.OnActivate(true)) return;
  // The first-activation step: the landing page, then the update worker; waits for neither.
  pane_.SetUrl(setup_.landing_url.c_str());
  if (setup_.start_worker) setup_.start_worker();
}

// Mapping is the first activation here: on a bare X server nothing else may ever activate the
// window. Activation and focus come later, where a window manager gives them.
void MainWindow::OnActivated(GtkWidget*, gpointer self) {
  static_cast<MainWindow*>(self)->Activate();
}

void MainWindow::OnActiveChanged(GObject* window, GParamSpec*, gpointer self) {
  if (gtk_window_is_active(GTK_WINDOW(window))) static_cast<MainWindow*>(self)->Activate();
}

gboolean MainWindow::OnFocusIn(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<MainWindow*>(self)->Activate();
  return FALSE;
}

gboolean MainWindow::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* window = static_cast<MainWindow*>(self);
  const guint mods = event->state & gtk_accelerator_get_default_mod_mask();
  const layout::KeyAction action =
      layout::ClassifyKey(KeyOf(event->keyval), (mods & GDK_CONTROL_MASK) != 0,
                          (mods & GDK_SHIFT_MASK) != 0 || event->keyval == GDK_KEY_ISO_Left_Tab,
                          (mods & GDK_MOD1_MASK) != 0);
  switch (action) {
    case layout::KeyAction::kClose:
      gtk_window_close(window->window());
      return TRUE;
    case layout::KeyAction::kFocusNext:
    case layout::KeyAction::kFocusPrevious:
      // The browser is the only control that takes the focus: it keeps it.
      gtk_widget_grab_focus(window->engine_.widget());
      return TRUE;
    case layout::KeyAction::kNone:
      return FALSE;  // on to the page
  }
  return FALSE;
}

void MainWindow::OnExitChosen(GtkMenuItem*, gpointer) { EndProgram(0); }

void MainWindow::OnDestroy(GtkWidget*, gpointer self) {
  auto* window = static_cast<MainWindow*>(self);
  window->panes_.DetachSink();
  window->status_bar_.WindowGone();
  window->engine_.Detach();
  window->pane_.OnWindowDestroyed();
  window->window_ = nullptr;
  if (Life().QuitWhenLastWindowGone() && gtk_main_level() > 0) gtk_main_quit();
}

void MainWindow::SetOverlayVisible(bool visible) {
  if (window_) overlay_.SetVisible(visible);
}

void MainWindow::SetCaption(TextRef caption) {
  if (window_) gtk_window_set_title(GTK_WINDOW(window_), ToGtk(caption).c_str());
}

}  // namespace orvane::gtk
