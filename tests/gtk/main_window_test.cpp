// MainWindow with the real engine and a local server: the first activation, the overlay over a
// loading page, the caption, the status bar's cross-thread texts, and how `lable` is painted and
// animated.
#include "shell/gtk/main_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "resources/texts.h"
#include "shell/gtk/gif_picture.h"
#include "shell/gtk/gtk_text.h"
#include "tests/gtk/gif_writer.h"
#include "tests/gtk/gtk_test_support.h"

namespace orvane::gtk {
namespace {

using testing::PumpFor;
using testing::PumpUntil;

Picture StandIn() {
  const std::vector<unsigned char> bytes = gifwriter::Encode(gifwriter::LoadingStandIn());
  return *DecodeGif({bytes.data(), bytes.size()});
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing::InitGtkOnce()) << "no display";
    ASSERT_TRUE(server.running());
    AppState::Get().ResetForTesting();
  }
  void TearDown() override {
    window.reset();
    PumpFor(0.05);
  }

  // Builds the window as start-up does (events suppressed meanwhile), then shows it.
  void Start(const std::string& landing_path) {
    Build(landing_path);
    window->Show();
  }
  void Build(const std::string& landing_path) {
    MainWindowSetup setup;
    setup.landing_url = server.Url(landing_path);
    setup.start_worker = [this] { ++workers_started; };
    setup.loading = StandIn();
    {
      const SuppressionScope building;
      window = std::make_unique<MainWindow>(panes, std::move(setup));
    }
  }
  std::string Caption() const { return gtk_window_get_title(window->window()); }
  // Waits until the landing page has loaded and the engine is idle.
  void WaitForLandingPage() {
    ASSERT_TRUE(PumpUntil([&] { return Caption() == "Orvane 演示首页 · Demo landing page"; }, 15));
    ASSERT_TRUE(PumpUntil(
        [&] { return !webkit_web_view_is_loading(WEBKIT_WEB_VIEW(window->engine().widget())); },
        10));
  }
  // Shows the overlay and waits until it has been drawn at least once.
  void ShowOverlayDrawn() {
    window->SetOverlayVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return window->overlay().animating(); }, 5));
  }

  testing::SiteServer server;
  StatusPanes panes;
  std::unique_ptr<MainWindow> window;
  int workers_started = 0;
};

TEST_F(MainWindowTest, StartsWithTheDefinitionsLook) {
  Start("/gs.html");
  EXPECT_EQ(Caption(), "Orvane");
  EXPECT_FALSE(gtk_window_get_resizable(window->window()));
  const char* expected[] = {"当前版本：", "V1.0", "/", "最新版本：", "正在获取..."};
  for (int i = 0; i < layout::kPaneCount; ++i) {
    EXPECT_EQ(window->status_bar().ShownText(i), expected[i]) << i;
  }
  PumpFor(0.3);
  // The panes keep their widths, whatever their texts.
  int x = 0;
  GtkWidget* bar = window->status_bar().widget();
  GList* labels = gtk_container_get_children(GTK_CONTAINER(bar));
  int i = 0;
  for (GList* l = labels; l; l = l->next, ++i) {
    GtkAllocation a;
    gtk_widget_get_allocation(GTK_WIDGET(l->data), &a);
    x += layout::kPanes[i].width;
    EXPECT_EQ(a.x + a.width, x) << i;
  }
  g_list_free(labels);
  EXPECT_TRUE(gtk_widget_has_focus(window->engine().widget()));

  // Centred on the screen by the definition's rule.
  GdkRectangle screen;
  gdk_monitor_get_geometry(gdk_display_get_monitor(gdk_display_get_default(), 0), &screen);
  const layout::Point expected_origin = layout::CenteredOrigin(screen.width, screen.height);
  int left = 0;
  int top = 0;
  gtk_window_get_position(window->window(), &left, &top);
  EXPECT_EQ(left, expected_origin.x);
  EXPECT_EQ(top, expected_origin.y);
}

TEST_F(MainWindowTest, FirstActivationRequestsTheLandingPageOnceShowingTheOverlayWhileItLoads) {
  Start("/gs.html?delay=1.5");
  EXPECT_TRUE(window->first_activation_done());
  EXPECT_EQ(workers_started, 1);
  ASSERT_TRUE(PumpUntil([&] { return window->overlay().visible(); }, 5));
  EXPECT_EQ(Caption(), "Orvane");
  ASSERT_TRUE(PumpUntil([&] { return !window->overlay().visible(); }, 15));
  ASSERT_TRUE(PumpUntil([&] { return Caption() == "Orvane 演示首页 · Demo landing page"; }, 10))
      << Caption();
  EXPECT_FALSE(window->overlay().animating());  // hidden: no timer runs

  // Mapping the window again (as after minimising) never runs the first activation again.
  gtk_widget_hide(GTK_WIDGET(window->window()));
  PumpFor(0.2);
  window->Show();
  PumpFor(0.5);
  EXPECT_EQ(workers_started, 1);
  EXPECT_EQ(server.CountRequests("/gs.html"), 1);
}

TEST_F(MainWindowTest, TheCaptionFollowsTheTitleAndAFramesPageEndsWithTheOverlayHidden) {
  Start("/frames.html");
  int shown = 0;
  g_signal_connect(window->overlay().widget(), "show",
                   G_CALLBACK(+[](GtkWidget*, gpointer n) { ++*static_cast<int*>(n); }), &shown);
  ASSERT_TRUE(PumpUntil([&] { return server.CountRequests("/frame-right.html") == 1; }, 15));
  ASSERT_TRUE(PumpUntil(
      [&] { return !webkit_web_view_is_loading(WEBKIT_WEB_VIEW(window->engine().widget())); }, 10));
  PumpFor(0.5);
  // The page's arrival hides the overlay before its frames begin, which show it again. (Each
  // frame's own beginning and completion is checked against the engine's reports.)
  EXPECT_GE(shown, 2);
  EXPECT_FALSE(window->overlay().visible());
  EXPECT_EQ(Caption(), "框架页 · Two frames");
}

TEST_F(MainWindowTest, PaneTextsFromAnotherThreadShowWithBadBytesReplaced) {
  Start("/gs.html");
  struct Case {
    int pane;
    std::string gbk;
    std::string shown;
  } cases[] = {
      {4, "V2.0", "V2.0"},
      {2, "\\", "\\"},
      {4,
       "V\x81 \xff"
       "3",
       "V\xEF\xBF\xBD \xEF\xBF\xBD"
       "3"},
      {4, std::string(texts::kVersionPrefix) + texts::kPaneFetching, "V正在获取..."},
      {4, "V" + std::string(200, '9'), "V" + std::string(200, '9')},
  };
  for (const Case& c : cases) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
      panes.SetPaneText(c.pane, c.gbk.c_str());
      done = true;
    });
    // The writer waits until the user-interface thread has shown its text.
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 5));
    worker.join();
    EXPECT_EQ(window->status_bar().ShownText(c.pane), c.shown);
  }
  // However long a text, the panes and the window keep their sizes.
  PumpFor(0.3);
  int width = 0;
  int height = 0;
  gtk_window_get_size(window->window(), &width, &height);
  EXPECT_EQ(width, layout::kWindowWidth - 6);
}

TEST_F(MainWindowTest, TwoTitlesInARowLeaveTheSecondInTheCaption) {
  Start("/titles.html");
  ASSERT_TRUE(PumpUntil([&] { return Caption() == "第二个标题 second"; }, 15)) << Caption();
  PumpFor(0.5);
  EXPECT_EQ(Caption(), "第二个标题 second");
}

TEST_F(MainWindowTest, PaneTextsAfterTheWindowIsGoneChangeNothingAndDoNotWait) {
  Start("/gs.html");
  gtk_widget_destroy(GTK_WIDGET(window->window()));
  EXPECT_FALSE(window->alive());
  std::atomic<bool> done{false};
  std::thread worker([&] {
    panes.SetPaneText(4, "V2.0");
    done = true;
  });
  worker.join();  // no main loop runs here: a writer that waited would hang the test
  EXPECT_TRUE(done);
  EXPECT_EQ(std::string(panes.GetPaneText(4).view()), "V2.0");
}

TEST_F(MainWindowTest, TheOverlayIsAWhiteFieldWithABorderAndThePictureCentred) {
  Start("/gs.html");
  WaitForLandingPage();
  ShowOverlayDrawn();
  PumpFor(0.3);  // settled: nothing waits to be laid out
  GtkWidget* area = window->overlay().widget();
  GtkAllocation a;
  gtk_widget_get_allocation(area, &a);
  ASSERT_EQ(a.width, layout::kWindowWidth - 6);
  ASSERT_EQ(a.height, 416);

  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, a.width, a.height);
  cairo_t* cr = cairo_create(surface);
  const std::size_t frame = window->overlay().current_frame();
  gtk_widget_draw(area, cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  const auto* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  auto pixel = [&](int x, int y) {
    return *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4) & 0xFFFFFF;
  };

  // `lable` starts at (-2, -2): its border is seen only along the bottom, at y = 415.
  EXPECT_EQ(pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(pixel(a.width - 1, 100), 0xFFFFFFu);
  EXPECT_EQ(pixel(100, 415), 0x000000u);
  EXPECT_EQ(pixel(100, 414), 0xFFFFFFu);
  // The 85 x 81 picture stands at (253, 167) of the client area, which starts at (-1, -1). Every
  // frame of the stand-in redraws all its dots, so the buffer is the first frame under this one.
  const Picture picture = StandIn();
  FrameComposer composed(picture);
  composed.Compose(picture.frames[0]);
  composed.Compose(picture.frames[frame]);
  int dots = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t expected =
          composed.pixels()[static_cast<std::size_t>(y * picture.width + x)];
      EXPECT_EQ(pixel(252 + x, 166 + y), expected) << x << "," << y;
      if (expected != 0xFFFFFF) ++dots;
    }
  }
  EXPECT_GT(dots, 100);
  EXPECT_EQ(pixel(251, 166 + 40), 0xFFFFFFu);
  cairo_surface_destroy(surface);
}

TEST_F(MainWindowTest, TheAnimationRunsOnlyWhileTheOverlayIsShown) {
  Build("/gs.html");
  PumpFor(0.2);
  EXPECT_FALSE(window->overlay().animating());
  EXPECT_EQ(window->overlay().current_frame(), 0u);
  window->Show();
  WaitForLandingPage();
  EXPECT_FALSE(window->overlay().animating());

  ShowOverlayDrawn();
  ASSERT_TRUE(PumpUntil([&] { return window->overlay().current_frame() >= 3; }, 5));
  window->SetOverlayVisible(false);
  PumpFor(0.05);
  EXPECT_FALSE(window->overlay().animating());
  const std::size_t frame = window->overlay().current_frame();
  PumpFor(0.3);
  EXPECT_EQ(window->overlay().current_frame(), frame);

  // Shown again, it goes on from where it was.
  window->SetOverlayVisible(true);
  ASSERT_TRUE(PumpUntil([&] { return window->overlay().current_frame() != frame; }, 5));
}

}  // namespace
}  // namespace orvane::gtk
