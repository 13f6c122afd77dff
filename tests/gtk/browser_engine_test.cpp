// WebKitGTK behind the pane, with a local server: what the pane's events are for a page, its
// frames, a cancelled or failed navigation, title changes, script dialogs and new windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "browser/browser_pane.h"
#include "browser/gtk/webkit_engine.h"
#include "shell/app_state.h"
#include "shell/gtk/gtk_text.h"
#include "tests/gtk/gtk_test_support.h"

namespace orvane::gtk {
namespace {

using testing::PumpFor;

std::string Title(GtkWidget* window) {
  const gchar* title = gtk_window_get_title(GTK_WINDOW(window));
  return title ? title : "";
}
using testing::PumpUntil;

// Records the pane's events ("begin <url>", "end <url>", "title <caption>", "new window"), and
// cancels every navigation to a url containing "cancelled".
class Recorder final : public BrowserPaneHandler {
 public:
  std::optional<bool> OnBrowserEvent(BrowserEvent event, const BrowserEventArgs&) override {
    switch (event) {
      case BrowserEvent::kAboutToNavigate: {
        const std::string url(pane->GetUrl().view());
        log.push_back("begin " + url);
        if (url.find("cancelled") != std::string::npos) return false;
        return std::nullopt;
      }
      case BrowserEvent::kNavigationComplete:
        log.push_back("end " + std::string(pane->GetUrl().view()));
        return std::nullopt;
      case BrowserEvent::kTitleChanged:
        log.push_back("title " + ToGtk(pane->GetCaption()));
        return std::nullopt;
      case BrowserEvent::kNewWindowRequested:
        log.push_back("new window");
        return allow_new_windows;
      default:
        return std::nullopt;
    }
  }
  bool Has(const std::string& entry) const {
    return std::find(log.begin(), log.end(), entry) != log.end();
  }
  int Count(const std::string& prefix) const {
    return static_cast<int>(std::count_if(
        log.begin(), log.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
  }
  // The last "begin" or "end" entry.
  std::string LastNavigationEvent() const {
    for (auto it = log.rbegin(); it != log.rend(); ++it) {
      if (it->rfind("begin ", 0) == 0 || it->rfind("end ", 0) == 0) return *it;
    }
    return {};
  }

  BrowserPane* pane = nullptr;
  std::vector<std::string> log;
  std::optional<bool> allow_new_windows;
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing::InitGtkOnce()) << "no display";
    ASSERT_TRUE(server.running());
    AppState::Get().ResetForTesting();
    window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 600, 400);
    engine = std::make_unique<WebKitEngine>();
    gtk_container_add(GTK_CONTAINER(window), engine->widget());
    gtk_widget_show_all(window);
    pane = std::make_unique<BrowserPane>(*engine, &recorder);
    recorder.pane = pane.get();
    engine->Attach(*pane);
  }
  void TearDown() override {
    if (engine) engine->Detach();
    if (window) gtk_widget_destroy(window);
    for (GtkWidget* w : OtherWindows()) gtk_widget_destroy(w);
  }

  void Open(const std::string& path) { pane->SetUrl(server.Url(path).c_str()); }
  bool WaitFor(const std::string& entry, double seconds = 15) {
    return PumpUntil([&] { return recorder.Has(entry); }, seconds);
  }
  void RunScript(const char* script) {
    webkit_web_view_evaluate_javascript(WEBKIT_WEB_VIEW(engine->widget()), script, -1, nullptr,
                                        nullptr, nullptr, nullptr, nullptr);
  }
  std::vector<GtkWidget*> OtherWindows() const {
    std::vector<GtkWidget*> others;
    GList* all = gtk_window_list_toplevels();
    for (GList* l = all; l; l = l->next) {
      if (l->data != window && gtk_widget_get_visible(GTK_WIDGET(l->data))) {
        others.push_back(GTK_WIDGET(l->data));
      }
    }
    g_list_free(all);
    return others;
  }

  testing::SiteServer server;
  Recorder recorder;
  GtkWidget* window = nullptr;
  std::unique_ptr<WebKitEngine> engine;
  std::unique_ptr<BrowserPane> pane;
};

TEST_F(EngineTest, APageWithTwoFramesBeginsAndCompletesThreeTimesAndEndsCompleted) {
  Open("/frames.html");
  ASSERT_TRUE(WaitFor("end " + server.Url("/frame-left.html")));
  ASSERT_TRUE(WaitFor("end " + server.Url("/frame-right.html")));
  ASSERT_TRUE(PumpUntil(
      [&] { return !webkit_web_view_is_loading(WEBKIT_WEB_VIEW(engine->widget())); }, 10));
  PumpFor(0.3);
  EXPECT_EQ(recorder.Count("begin "), 3) << ::testing::PrintToString(recorder.log);
  EXPECT_TRUE(recorder.Has("begin " + server.Url("/frames.html")));
  EXPECT_TRUE(recorder.Has("end " + server.Url("/frames.html")));
  EXPECT_EQ(recorder.LastNavigationEvent().rfind("end ", 0), 0u)
      << ::testing::PrintToString(recorder.log);
}

TEST_F(EngineTest, ACancelledNavigationIsNeverRequestedAndStillEnds) {
  // Asked for directly, while nothing else loads.
  Open("/cancelled.html");
  ASSERT_TRUE(PumpUntil([&] { return recorder.Count("end ") == 1; }, 10))
      << ::testing::PrintToString(recorder.log);

  // Followed from a loaded page.
  Open("/gs.html");
  ASSERT_TRUE(WaitFor("end " + server.Url("/gs.html")));
  ASSERT_TRUE(PumpUntil(
      [&] { return !webkit_web_view_is_loading(WEBKIT_WEB_VIEW(engine->widget())); }, 10));
  RunScript("location.href = 'cancelled.html?from=page';");
  ASSERT_TRUE(WaitFor("begin " + server.Url("/cancelled.html?from=page")));
  ASSERT_TRUE(PumpUntil([&] { return recorder.LastNavigationEvent().rfind("end ", 0) == 0; }, 10))
      << ::testing::PrintToString(recorder.log);

  // The server has seen everything asked of it before this request.
  Open("/frame-left.html");
  ASSERT_TRUE(WaitFor("end " + server.Url("/frame-left.html")));
  EXPECT_EQ(server.CountRequests("/cancelled.html"), 0);
  EXPECT_EQ(server.CountRequests("/gs.html"), 1);
}

TEST_F(EngineTest, ARefusedConnectionEndsCompleted) {
  const std::string url = "http://127.0.0.1:" + std::to_string(testing::RefusedPort()) + "/gs.html";
  pane->SetUrl(url.c_str());
  ASSERT_TRUE(WaitFor("begin " + url));
  ASSERT_TRUE(PumpUntil([&] { return recorder.LastNavigationEvent().rfind("end ", 0) == 0; }, 10))
      << ::testing::PrintToString(recorder.log);
}

TEST_F(EngineTest, EveryTitleIsReportedAndTheLastOneStays) {
  Open("/titles.html");
  ASSERT_TRUE(WaitFor("title 第二个标题 second")) << ::testing::PrintToString(recorder.log);
  PumpFor(0.3);
  ASSERT_FALSE(recorder.log.empty());
  EXPECT_EQ(recorder.log.back(), "title 第二个标题 second");
  EXPECT_EQ(ToGtk(engine->LocationName()), "第二个标题 second");
}

TEST_F(EngineTest, SilentKeepsScriptDialogsFromShowing) {
  pane->SetSilent(true);
  EXPECT_TRUE(pane->GetSilent());
  Open("/dialog.html");
  // The alert would hold the script until someone closed it; silently it goes straight on.
  EXPECT_TRUE(WaitFor("title after", 10)) << ::testing::PrintToString(recorder.log);
}

TEST_F(EngineTest, KeepsItsDataInTheUsersXdgFolders) {
  Open("/gs.html");
  ASSERT_TRUE(WaitFor("end " + server.Url("/gs.html")));
  WebKitWebsiteDataManager* data = webkit_web_context_get_website_data_manager(
      webkit_web_view_get_context(WEBKIT_WEB_VIEW(engine->widget())));
  const std::string cache = std::string(g_get_user_cache_dir()) + "/orvane";
  const std::string store = std::string(g_get_user_data_dir()) + "/orvane";
  EXPECT_EQ(std::string(webkit_website_data_manager_get_base_cache_directory(data)), cache);
  EXPECT_EQ(std::string(webkit_website_data_manager_get_base_data_directory(data)), store);
  EXPECT_TRUE(PumpUntil([&] { return g_file_test(cache.c_str(), G_FILE_TEST_IS_DIR); }, 5));
  EXPECT_EQ(std::string(g_get_user_cache_dir()).rfind(g_getenv("HOME"), 0), 0u);
}

TEST_F(EngineTest, TextSizeStepsZoomTheTextOnly) {
  WebKitWebView* view = WEBKIT_WEB_VIEW(engine->widget());
  EXPECT_TRUE(webkit_settings_get_zoom_text_only(webkit_web_view_get_settings(view)));
  const std::pair<int, double> steps[] = {{-3, 0.8}, {0, 0.8}, {1, 0.9}, {2, 1.0},
                                          {3, 1.2},  {4, 1.4}, {7, 1.4}};
  for (const auto& [size, zoom] : steps) {
    pane->SetFontSize(size);
    EXPECT_DOUBLE_EQ(webkit_web_view_get_zoom_level(view), zoom) << size;
  }
}

TEST_F(EngineTest, ANewWindowOpensApartAndReportsNothingToThePane) {
  webkit_settings_set_javascript_can_open_windows_automatically(
      webkit_web_view_get_settings(WEBKIT_WEB_VIEW(engine->widget())), TRUE);
  Open("/popup.html");
  ASSERT_TRUE(WaitFor("title the opener"));
  ASSERT_TRUE(PumpUntil(
      [&] { return !webkit_web_view_is_loading(WEBKIT_WEB_VIEW(engine->widget())); }, 10));
  const std::size_t before = recorder.log.size();

  RunScript("document.getElementById('away').click();");
  ASSERT_TRUE(PumpUntil(
      [&] {
        const std::vector<GtkWidget*> others = OtherWindows();
        return others.size() == 1 && Title(others[0]).find("Left frame") != std::string::npos;
      },
      15));
  PumpFor(0.3);
  const std::vector<std::string> after(recorder.log.begin() + static_cast<long>(before),
                                       recorder.log.end());
  EXPECT_EQ(after, std::vector<std::string>{"new window"});
}

TEST_F(EngineTest, ARefusedNewWindowIsNotOpened) {
  webkit_settings_set_javascript_can_open_windows_automatically(
      webkit_web_view_get_settings(WEBKIT_WEB_VIEW(engine->widget())), TRUE);
  recorder.allow_new_windows = false;
  Open("/popup.html");
  ASSERT_TRUE(WaitFor("title the opener"));
  RunScript("document.getElementById('away').click();");
  ASSERT_TRUE(WaitFor("new window"));
  PumpFor(1.0);
  EXPECT_TRUE(OtherWindows().empty());
  EXPECT_EQ(server.CountRequests("/frame-left.html"), 0);
}

}  // namespace
}  // namespace orvane::gtk
