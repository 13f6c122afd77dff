// The update check end to end inside the program: MainWindow with the real worker of update/gtk,
// the demo site on the update host's port, and a stand-in browser that records what it is asked
// to open.
//
//  until update/gtk's worker replaces the placeholder that starts nothing; then these
// run as they are.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>

#include "orvane/build_config.h"
#include "shell/gtk/gobject_ptr.h"
#include "shell/gtk/gtk_text.h"
#include "shell/gtk/main_window.h"
#include "tests/gtk/gtk_test_support.h"
#include "update/addresses.h"
#include "update/worker_thread.h"

namespace orvane::gtk {
namespace {

using testing::PumpFor;
using testing::PumpUntil;

int UpdateHostPort() {
  const std::string host = build::kUpdateHost;
  const auto colon = host.rfind(':');
  return colon == std::string::npos ? 80 : std::stoi(host.substr(colon + 1));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& text, bool executable = false) {
  const GCharPtr folder(g_path_get_dirname(path.c_str()));
  g_mkdir_with_parents(folder.get(), 0755);
  std::ofstream(path, std::ios::binary) << text;
  if (executable) chmod(path.c_str(), 0755);
}

GtkWidget* VisibleWindowTitled(const std::string& title) {
  GtkWidget* found = nullptr;
  GList* all = gtk_window_list_toplevels();
  for (GList* l = all; l; l = l->next) {
    const gchar* t = gtk_window_get_title(GTK_WINDOW(l->data));
    if (t && title == t && gtk_widget_get_visible(GTK_WIDGET(l->data))) found = GTK_WIDGET(l->data);
  }
  g_list_free(all);
  return found;
}

class UpdateFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing::InitGtkOnce()) << "no display";
    // Whatever way the worker opens a page (xdg-open, or GIO's handler for http), it reaches the
    // stand-in browser, which writes the address down.
    const std::string home = g_getenv("HOME");
    opened_ = home + "/opened.txt";
    const std::string browser = home + "/bin/xdg-open";
    WriteFile(browser, "#!/bin/sh\necho \"$1\" >> '" + opened_ + "'\n", true);
    WriteFile(home + "/.local/share/applications/orvane-test-browser.desktop",
              "[Desktop Entry]\nType=Application\nName=Test browser\nExec=" + browser +
                  " %u\nMimeType=x-scheme-handler/http;\n");
    WriteFile(home + "/.config/mimeapps.list",
              "[Default Applications]\nx-scheme-handler/http=orvane-test-browser.desktop\n");
    g_setenv("PATH", (home + "/bin:" + g_getenv("PATH")).c_str(), TRUE);
  }

  // Serves the demo site on the update host's port, `first` before it, and starts the program's
  // window with the real worker. False when the port is taken by something else.
  bool Start(const std::string& first = {}) {
    server = std::make_unique<testing::SiteServer>(UpdateHostPort(), first);
    if (!server->running()) return false;
    MainWindowSetup setup;
    setup.landing_url = LandingPageUrl();
    setup.start_worker = [this] { StartUpdateWorker(panes); };
    {
      const SuppressionScope building;
      window = std::make_unique<MainWindow>(panes, std::move(setup));
    }
    started = std::chrono::steady_clock::now();
    window->Show();
    return true;
  }
  double SecondsSinceStart() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  }

  std::string opened_;
  StatusPanes panes;
  std::unique_ptr<testing::SiteServer> server;
  std::unique_ptr<MainWindow> window;
  std::chrono::steady_clock::time_point started;
};

TEST_F(UpdateFlowTest, ANewVersionIsShownAnnouncedAndItsPageOpenedAfterTheNotice) {
  if (!Start()) GTEST_SKIP() << "the update host's port is in use";
  ASSERT_TRUE(PumpUntil([&] { return server->CountRequests("/vs/1.txt") > 0; }, 20));
  EXPECT_GE(SecondsSinceStart(), 5.9);  // every attempt begins with the full pause
  EXPECT_LE(SecondsSinceStart(), 9.0);
  ASSERT_TRUE(PumpUntil([&] { return window->status_bar().ShownText(4) == "V2.0"; }, 10));
  EXPECT_EQ(window->status_bar().ShownText(2), "\\");

  GtkWidget* notice = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (notice = VisibleWindowTitled("信息：")) != nullptr; }, 10));
  PumpFor(1.0);
  EXPECT_EQ(ReadFile(opened_), "");  // not before the notice is dismissed
  ASSERT_TRUE(GTK_IS_DIALOG(notice));
  gtk_dialog_response(GTK_DIALOG(notice), GTK_RESPONSE_OK);
  ASSERT_TRUE(PumpUntil([&] { return !ReadFile(opened_).empty(); }, 10));
  EXPECT_EQ(ReadFile(opened_), UpdatePageUrl() + "\n");
}

TEST_F(UpdateFlowTest, InvalidGbkInTheVersionFileShowsReplacementCharacters) {
  const std::string site = std::string(g_getenv("HOME")) + "/bad-site";
  WriteFile(site + "/vs/1.txt", "2\xff.0");
  if (!Start(site)) GTEST_SKIP() << "the update host's port is in use";
  ASSERT_TRUE(
      PumpUntil([&] { return window->status_bar().ShownText(4) == "V2\xEF\xBF\xBD.0"; }, 20))
      << window->status_bar().ShownText(4);
}

}  // namespace
}  // namespace orvane::gtk
