// WebKitGTK behind the pane's BrowserEngine: its navigation decisions, commits, frame arrivals,
// failures and title changes become the pane's notifications (through EngineReports), and its
// new-window requests open separate windows of the engine's own.
#pragma once

#include <webkit2/webkit2.h>

#include <memory>

#include "browser/browser_pane.h"
#include "browser/engine_reports.h"
#include "shell/gtk/gobject_ptr.h"

namespace orvane::gtk {

class WebKitEngine final : public BrowserEngine {
 public:
  // Creates the view with its data and cache under the user's XDG folders (".../orvane").
  WebKitEngine();
  ~WebKitEngine() override;
  WebKitEngine(const WebKitEngine&) = delete;
  WebKitEngine& operator=(const WebKitEngine&) = delete;

  GtkWidget* widget() const { return GTK_WIDGET(view_.get()); }

  // Starts passing the engine's notifications to `pane`; Detach stops it for good.
  void Attach(BrowserPane& pane);
  void Detach();

  void Navigate(TextRef url) override;
  void SetOffline(bool offline) override { offline_ = offline; }  // WebKit has no offline switch
  bool Offline() override { return offline_; }
  void SetSilent(bool silent) override { silent_ = silent; }
  bool Silent() override { return silent_; }
  void SetTextSize(int step) override;
  Text LocationName() override;
  Text LocationUrl() override;

 private:
  static gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision*, WebKitPolicyDecisionType,
                                 gpointer self);
  static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent, gpointer self);
  static gboolean OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError*, gpointer self);
  static void OnLoadingChanged(GObject*, GParamSpec*, gpointer self);
  static void OnTitleChanged(GObject*, GParamSpec*, gpointer self);
  static void OnFrameReached(WebKitUserContentManager*, WebKitJavascriptResult*, gpointer self);
  static GtkWidget* OnCreate(WebKitWebView*, WebKitNavigationAction*, gpointer self);
  static gboolean OnScriptDialog(WebKitWebView*, WebKitScriptDialog*, gpointer self);
  static gboolean CheckStopped(gpointer self);

  GObjectPtr<WebKitUserContentManager> content_;
  GObjectPtr<WebKitWebView> view_;
  std::unique_ptr<EngineReports> reports_;
  BrowserPane* pane_ = nullptr;
  bool offline_ = false;
  bool silent_ = false;
  guint stop_check_ = 0;
};

}  // namespace orvane::gtk
