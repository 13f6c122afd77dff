#include "browser/gtk/webkit_engine.h"

#include <string>

#include "shell/gtk/gtk_text.h"

namespace orvane::gtk {
namespace {

constexpr char kFrameChannel[] = "orvaneFrameReached";

// Frames report no load events to the view: each frame document announces itself instead, as it
// starts, the way a commit does for the page.
constexpr char kFrameScript[] =
    "(function () {"
    "  if (window === window.top) return;"
    "  try { window.webkit.messageHandlers.orvaneFrameReached.postMessage(String(location.href)); }"
    "  catch (e) {}"
    "})();";

struct UserScriptUnref {
  void operator()(WebKitUserScript* script) const noexcept { webkit_user_script_unref(script); }
};

// FontSize 0..4 as text-only zoom levels.
constexpr double kTextZoom[] = {0.8, 0.9, 1.0, 1.2, 1.4};

std::string FolderFor(const gchar* base) {
  const GCharPtr path(g_build_filename(base, "orvane", nullptr));
  return path.get();
}

Text GbkOrMissing(const gchar* utf8) {
  if (!utf8 || !*utf8) return {};
  return FromGtk(utf8);
}

// A window of the engine's own for a page that asked for a new one. Nothing of it reaches the pane.
GtkWidget* OpenEngineWindow(WebKitWebView* related);

void OnEngineWindowReady(WebKitWebView* view, gpointer window) {
  gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(view));
  gtk_widget_show_all(GTK_WIDGET(window));
}

void OnEngineWindowClose(WebKitWebView*, gpointer window) {
  gtk_widget_destroy(GTK_WIDGET(window));
}

void OnEngineWindowTitle(GObject* view, GParamSpec*, gpointer window) {
  const gchar* title = webkit_web_view_get_title(WEBKIT_WEB_VIEW(view));
  gtk_window_set_title(GTK_WINDOW(window), title ? title : "");
}

GtkWidget* OnEngineWindowCreate(WebKitWebView* view, WebKitNavigationAction*, gpointer) {
  return OpenEngineWindow(view);
}

GtkWidget* OpenEngineWindow(WebKitWebView* related) {
  GtkWidget* view = webkit_web_view_new_with_related_view(related);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
  g_signal_connect(view, "ready-to-show", G_CALLBACK(OnEngineWindowReady), window);
  g_signal_connect(view, "close", G_CALLBACK(OnEngineWindowClose), window);
  g_signal_connect(view, "notify::title", G_CALLBACK(OnEngineWindowTitle), window);
  g_signal_connect(view, "create", G_CALLBACK(OnEngineWindowCreate), nullptr);
  return view;  // floating: the engine takes it and asks for it to be shown
}

}  // namespace

WebKitEngine::WebKitEngine() {
  const std::string data = FolderFor(g_get_user_data_dir());
  const std::string cache = FolderFor(g_get_user_cache_dir());
  const GObjectPtr<WebKitWebsiteDataManager> manager = AdoptRef(webkit_website_data_manager_new(
      "base-data-directory", data.c_str(), "base-cache-directory", cache.c_str(), nullptr));
  const GObjectPtr<WebKitWebContext> context =
      AdoptRef(webkit_web_context_new_with_website_data_manager(manager.get()));

  content_ = AdoptRef(webkit_user_content_manager_new());
  const std::unique_ptr<WebKitUserScript, UserScriptUnref> frame_script(
      webkit_user_script_new(kFrameScript, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                             WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr));
  webkit_user_content_manager_add_script(content_.get(), frame_script.get());
  webkit_user_content_manager_register_script_message_handler(content_.get(), kFrameChannel);

  const GObjectPtr<WebKitSettings> settings = AdoptRef(webkit_settings_new());
  webkit_settings_set_zoom_text_only(settings.get(), TRUE);

  view_ = SinkRef(WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context.get(),
                                               "user-content-manager", content_.get(), "settings",
                                               settings.get(), nullptr)));
}

WebKitEngine::~WebKitEngine() { Detach(); }

void WebKitEngine::Attach(BrowserPane& pane) {
  pane_ = &pane;
  reports_ = std::make_unique<EngineReports>(pane);
  WebKitWebView* v = view_.get();
  g_signal_connect(v, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
  g_signal_connect(v, "load-changed", G_CALLBACK(OnLoadChanged), this);
  g_signal_connect(v, "load-failed", G_CALLBACK(OnLoadFailed), this);
  g_signal_connect(v, "notify::is-loading", G_CALLBACK(OnLoadingChanged), this);
  g_signal_connect(v, "notify::title", G_CALLBACK(OnTitleChanged), this);
  g_signal_connect(v, "create", G_CALLBACK(OnCreate), this);
  g_signal_connect(v, "script-dialog", G_CALLBACK(OnScriptDialog), this);
  g_signal_connect(content_.get(), "script-message-received::orvaneFrameReached",
                   G_CALLBACK(OnFrameReached), this);
}

void WebKitEngine::Detach() {
  if (stop_check_ != 0) g_source_remove(stop_check_);
  stop_check_ = 0;
  if (view_) g_signal_handlers_disconnect_by_data(view_.get(), this);
  if (content_) g_signal_handlers_disconnect_by_data(content_.get(), this);
  pane_ = nullptr;
  reports_.reset();
}

void WebKitEngine::Navigate(TextRef url) {
  const std::string utf8 = ToGtk(url);
  webkit_web_view_load_uri(view_.get(), utf8.empty() ? "about:blank" : utf8.c_str());
}

void WebKitEngine::SetTextSize(int step) {
  webkit_web_view_set_zoom_level(view_.get(), kTextZoom[ClampFontSize(step)]);
}

Text WebKitEngine::LocationName() { return GbkOrMissing(webkit_web_view_get_title(view_.get())); }

Text WebKitEngine::LocationUrl() { return GbkOrMissing(webkit_web_view_get_uri(view_.get())); }

gboolean WebKitEngine::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                      WebKitPolicyDecisionType type, gpointer self) {
  auto* engine = static_cast<WebKitEngine*>(self);
  if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;  // engine's default
  WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
      WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const gchar* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  const bool cancel = engine->reports_->BeforeNavigate(FromGtk(uri ? uri : ""));
  if (!cancel) {
    webkit_policy_decision_use(decision);
    return TRUE;
  }
  webkit_policy_decision_ignore(decision);
  // The engine says nothing more about a dropped navigation; if it is not loading anything else
  // either, nothing would ever end what the pane announced.
  if (engine->stop_check_ == 0) engine->stop_check_ = g_idle_add(CheckStopped, engine);
  return TRUE;
}

gboolean WebKitEngine::CheckStopped(gpointer self) {
  auto* engine = static_cast<WebKitEngine*>(self);
  engine->stop_check_ = 0;
  if (engine->reports_ && !webkit_web_view_is_loading(engine->view_.get())) {
    engine->reports_->Stopped(GbkOrMissing(webkit_web_view_get_uri(engine->view_.get())));
  }
  return G_SOURCE_REMOVE;
}

void WebKitEngine::OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
  if (event != WEBKIT_LOAD_COMMITTED) return;
  static_cast<WebKitEngine*>(self)->reports_->Reached(GbkOrMissing(webkit_web_view_get_uri(view)));
}

gboolean WebKitEngine::OnLoadFailed(WebKitWebView*, WebKitLoadEvent event, gchar*, GError* error,
                                    gpointer self) {
  // Replaced by a newer navigation, or turned into a download: not the end of anything.
  const bool superseded =
      g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED);
  const bool download = g_error_matches(
      error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE);
  if (event != WEBKIT_LOAD_COMMITTED && event != WEBKIT_LOAD_FINISHED && !superseded && !download) {
    static_cast<WebKitEngine*>(self)->reports_->FailedBeforeReaching();
  }
  return FALSE;  // the engine shows its own error page
}

void WebKitEngine::OnLoadingChanged(GObject* view, GParamSpec*, gpointer self) {
  WebKitWebView* v = WEBKIT_WEB_VIEW(view);
  if (webkit_web_view_is_loading(v)) return;
  static_cast<WebKitEngine*>(self)->reports_->Stopped(GbkOrMissing(webkit_web_view_get_uri(v)));
}

void WebKitEngine::OnTitleChanged(GObject* view, GParamSpec*, gpointer self) {
  const Text title = GbkOrMissing(webkit_web_view_get_title(WEBKIT_WEB_VIEW(view)));
  static_cast<WebKitEngine*>(self)->pane_->OnTitleChange(title);
}

void WebKitEngine::OnFrameReached(WebKitUserContentManager*, WebKitJavascriptResult* result,
                                  gpointer self) {
  JSCValue* value = webkit_javascript_result_get_js_value(result);
  const GCharPtr url(jsc_value_to_string(value));
  static_cast<WebKitEngine*>(self)->reports_->Reached(GbkOrMissing(url.get()));
}

GtkWidget* WebKitEngine::OnCreate(WebKitWebView* view, WebKitNavigationAction*, gpointer self) {
  if (static_cast<WebKitEngine*>(self)->pane_->OnNewWindow()) return nullptr;  // refused
  return OpenEngineWindow(view);
}

gboolean WebKitEngine::OnScriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer self) {
  if (!static_cast<WebKitEngine*>(self)->silent_) return FALSE;  // the engine's own dialog
  if (webkit_script_dialog_get_dialog_type(dialog) == WEBKIT_SCRIPT_DIALOG_CONFIRM ||
      webkit_script_dialog_get_dialog_type(dialog) == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM) {
    webkit_script_dialog_confirm_set_confirmed(dialog, FALSE);
  }
  return TRUE;  // handled: nothing is shown
}

}  // namespace orvane::gtk
