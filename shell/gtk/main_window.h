// MainWindow under GTK: a fixed-size, centred window with the menu bar, the browser area with the
// overlay `lable` stacked above the browser, and the status bar `状态条1` along the bottom.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <optional>
#include <string>

#include "browser/browser_pane.h"
#include "browser/gtk/webkit_engine.h"
#include "shell/app_state.h"
#include "shell/gtk/overlay_widget.h"
#include "shell/gtk/status_bar.h"
#include "shell/overlay.h"
#include "shell/status_panes.h"

namespace orvane::gtk {

struct MainWindowSetup {
  std::string landing_url;             // written to the pane's url at the first activation
  std::function<void()> start_worker;  // the first activation's second action
  std::optional<Picture> loading;      // the overlay's picture; empty: white field only
  BrowserSettings browser_settings;    // from the definition's settings block
};

class MainWindow final : public MainWindowView {
 public:
  // Builds the window and its controls, not yet shown. The caller keeps events suppressed while
  // this runs. `panes` must outlive the window's status bar (the whole process).
  MainWindow(StatusPanes& panes, MainWindowSetup setup);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Shows the window; mapping it is its first activation.
  void Show();
  // False once the window has been destroyed (closed).
  bool alive() const { return window_ != nullptr; }

  void SetOverlayVisible(bool visible) override;
  void SetCaption(TextRef caption) override;

  // What the window is made of, for tests and measurements.
  GtkWindow* window() const { return GTK_WINDOW(window_); }
  OverlayWidget& overlay() { return overlay_; }
  StatusBar& status_bar() { return status_bar_; }
  BrowserPane& pane() { return pane_; }
  WebKitEngine& engine() { return engine_; }
  bool first_activation_done() const { return first_activation_.done(); }

 private:
  static void OnActivated(GtkWidget*, gpointer self);
  static void OnActiveChanged(GObject*, GParamSpec*, gpointer self);
  static gboolean OnFocusIn(GtkWidget*, GdkEvent*, gpointer self);
  static gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
  static void OnExitChosen(GtkMenuItem*, gpointer self);
  static void OnDestroy(GtkWidget*, gpointer self);

  GtkWidget* BuildMenuBar();
  void Activate();

  StatusPanes& panes_;
  MainWindowSetup setup_;
  FirstActivation first_activation_;
  GtkWidget* window_ = nullptr;
  OverlayWidget overlay_;
  StatusBar status_bar_;
  WebKitEngine engine_;
  MainWindowHandlers handlers_;
  BrowserPane pane_;
};

}  // namespace orvane::gtk
