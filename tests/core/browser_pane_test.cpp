// The browser pane's rules, driven through a fake engine: how notifications become events, what
// the properties read during and outside events, the Cancel answers, and MainWindow's handlers.
#include "browser/browser_pane.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "shell/app_state.h"

namespace orvane {
namespace {

class FakeEngine final : public BrowserEngine {
 public:
  void Navigate(TextRef url) override {
    calls.push_back("Navigate(" + std::string(url.view()) + ")");
    if (on_navigate) on_navigate(std::string(url.view()));
  }
  void SetOffline(bool v) override { calls.push_back(v ? "Offline(1)" : "Offline(0)"); }
  bool Offline() override { return false; }
  void SetSilent(bool v) override { calls.push_back(v ? "Silent(1)" : "Silent(0)"); }
  bool Silent() override { return false; }
  void SetTextSize(int step) override { calls.push_back("TextSize(" + std::to_string(step) + ")"); }
  Text LocationName() override { return Text::Copy(location_name); }
  Text LocationUrl() override { return Text::Copy(location_url); }

  std::vector<std::string> calls;
  std::string location_name = "On display";
  std::string location_url = "http://shown/";
  std::function<void(const std::string&)> on_navigate;
};

// A window that records what MainWindow's handlers did to it.
class FakeView final : public MainWindowView {
 public:
  void SetOverlayVisible(bool visible) override {
    overlay_visible = visible;
    log.push_back(visible ? "show" : "hide");
  }
  void SetCaption(TextRef caption) override {
    this->caption = std::string(caption.view());
    log.push_back("caption:" + this->caption);
  }
  bool overlay_visible = false;
  std::string caption = "Orvane";
  std::vector<std::string> log;
};

// A handler that answers as told and records what the pane's properties read during the event.
class ProbeHandler final : public BrowserPaneHandler {
 public:
  std::optional<bool> OnBrowserEvent(BrowserEvent event, const BrowserEventArgs& args) override {
    events.push_back(event);
    last_args = args;
    if (pane) {
      const Text url = pane->GetUrl();
      url_during.push_back(url.missing() ? "<missing>" : std::string(url.view()));
      const Text caption = pane->GetCaption();
      caption_during.push_back(caption.missing() ? "<missing>" : std::string(caption.view()));
    }
    return answer;
  }
  BrowserPane* pane = nullptr;
  std::optional<bool> answer;
  std::vector<BrowserEvent> events;
  std::vector<std::string> url_during;
  std::vector<std::string> caption_during;
  BrowserEventArgs last_args;
};

class BrowserPaneTest : public ::testing::Test {
 protected:
  void SetUp() override { AppState::Get().ResetForTesting(); }
  void TearDown() override { AppState::Get().ResetForTesting(); }
};

std::vector<unsigned char> Block(std::uint32_t version, std::int32_t font, std::int32_t offline,
                                 std::int32_t silent, std::int32_t n, const std::string& url) {
  std::vector<unsigned char> b;
  for (std::uint32_t v :
       {version, static_cast<std::uint32_t>(font), static_cast<std::uint32_t>(offline),
        static_cast<std::uint32_t>(silent), static_cast<std::uint32_t>(n)}) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
  }
  b.insert(b.end(), url.begin(), url.end());
  return b;
}

TEST_F(BrowserPaneTest, SettingsBlocksAreReadOrRefused) {
  struct Case {
    const char* name;
    std::vector<unsigned char> block;
    bool accepted;
    std::int32_t font;
    bool offline;
    bool silent;
    std::string url;
  } cases[] = {
      {"empty block: defaults", {}, true, 2, false, false, ""},
      {"version 0", Block(0, 3, 0, 0, 0, ""), true, 3, false, false, ""},
      {"version 1 with address", Block(1, 1, 5, -1, 6, "http:/"), true, 1, true, true, "http:/"},
      {"negative length: empty address", Block(1, 2, 0, 0, -4, "abc"), true, 2, false, false, ""},
      {"NUL ends the address", Block(1, 2, 0, 0, 5, std::string("ab\0cd", 5)), true, 2, false,
       false, "ab"},
      {"version 2 refused", Block(2, 2, 0, 0, 0, ""), false, 0, false, false, ""},
      {"huge version refused", Block(0x80000000u, 2, 0, 0, 0, ""), false, 0, false, false, ""},
      {"too short for the fixed fields", std::vector<unsigned char>(19, 0), false, 0, false, false,
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto settings = ParseSettingsBlock(c.block);
    ASSERT_EQ(settings.has_value(), c.accepted);
    if (!settings) continue;
    EXPECT_EQ(settings->font_size, c.font);
    EXPECT_EQ(settings->offline, c.offline);
    EXPECT_EQ(settings->silent, c.silent);
    EXPECT_EQ(std::string(settings->url.view()), c.url);
  }
}

TEST_F(BrowserPaneTest, CreationAppliesOfflineSilentThenClampedSizeAndNavigatesOnlyWithAnAddress) {
  struct Case {
    std::int32_t stored;
    const char* applied;
  } cases[] = {{7, "TextSize(4)"}, {-3, "TextSize(0)"}, {2, "TextSize(2)"}, {4, "TextSize(4)"}};
  for (const Case& c : cases) {
    FakeEngine engine;
    BrowserPane pane(engine, nullptr);
    auto settings = ParseSettingsBlock(Block(1, c.stored, 1, 0, 0, ""));
    ASSERT_TRUE(settings);
    pane.ApplySettings(std::move(*settings));
    EXPECT_EQ(engine.calls, (std::vector<std::string>{"Offline(1)", "Silent(0)", c.applied}));
    // FontSize read back is the value as it was stored, not the clamped one.
    EXPECT_EQ(pane.GetFontSize(), c.stored);
  }
  FakeEngine engine;
  BrowserPane pane(engine, nullptr);
  pane.ApplySettings(std::move(*ParseSettingsBlock(Block(1, 2, 0, 0, 4, "http"))));
  EXPECT_EQ(engine.calls.back(), "Navigate(http)");
}

TEST_F(BrowserPaneTest, WrittenFontSizeIsHeldClamped) {
  FakeEngine engine;
  BrowserPane pane(engine, nullptr);
  pane.SetFontSize(9);
  EXPECT_EQ(pane.GetFontSize(), 4);
  pane.SetFontSize(-1);
  EXPECT_EQ(pane.GetFontSize(), 0);
  EXPECT_EQ(engine.calls, (std::vector<std::string>{"TextSize(4)", "TextSize(0)"}));
}

TEST_F(BrowserPaneTest, EveryUrlWriteNavigatesEvenEmptyOrUnchanged) {
  FakeEngine engine;
  BrowserPane pane(engine, nullptr);
  pane.SetUrl("http://a/");
  pane.SetUrl("http://a/");
  pane.SetUrl("");
  pane.SetUrl(TextRef());
  EXPECT_EQ(engine.calls, (std::vector<std::string>{"Navigate(http://a/)", "Navigate(http://a/)",
                                                    "Navigate()", "Navigate()"}));
}

TEST_F(BrowserPaneTest, OnlyAnExplicitFalseCancelsNavigationOrNewWindow) {
  struct Case {
    std::optional<bool> answer;
    bool bound;
    bool suppressed;
    bool cancel;
  } cases[] =
      {
          {std::nullopt, true, false, false}, {true, true, false, false},
          {false, true, false, true},         {false, false, false, false},
          {false, true, true, false},  // suppressed events reach nobody: no answer
      };
  for (const Case& c : cases) {
    AppState::Get().ResetForTesting();
    if (c.suppressed) AppState::Get().RaiseSuppression();
    FakeEngine engine;
    ProbeHandler handler;
    handler.answer = c.answer;
    BrowserPane pane(engine, c.bound ? &handler : nullptr);
    EXPECT_EQ(pane.OnBeforeNavigate("http://x/"), c.cancel);
    EXPECT_EQ(pane.OnNewWindow(), c.cancel);
  }
}

// A pane whose handler reads the pane's properties during every event.
class ProbedPaneTest : public BrowserPaneTest {
 protected:
  void SetUp() override {
    BrowserPaneTest::SetUp();
    handler.pane = &pane;
  }
  FakeEngine engine;
  ProbeHandler handler;
  BrowserPane pane{engine, &handler};
};

TEST_F(ProbedPaneTest, UrlDuringAnAddressEventIsTheEventsAddressAndOutsideTheEnginesLocation) {
  pane.OnBeforeNavigate("http://next/");
  pane.OnNavigateComplete("http://frame/");
  pane.OnDocumentComplete("");
  EXPECT_EQ(handler.url_during,
            (std::vector<std::string>{"http://next/", "http://frame/", "<missing>"}));
  const Text after = pane.GetUrl();
  EXPECT_EQ(std::string(after.view()), "http://shown/");
}

TEST_F(ProbedPaneTest, CaptionInsideTitleChangedIsTheReportedTitleOutsideTheLocationName) {
  pane.OnTitleChange("Reported");
  pane.OnTitleChange("");
  ASSERT_EQ(handler.caption_during.size(), 2u);
  EXPECT_EQ(handler.caption_during[0], "Reported");
  EXPECT_EQ(handler.caption_during[1], "<missing>");
  EXPECT_EQ(std::string(pane.GetCaption().view()), "On display");
  engine.location_name = "";
  EXPECT_TRUE(pane.GetCaption().missing());
}

TEST_F(ProbedPaneTest, EventArgumentsAndFilteredCommands) {
  struct Case {
    std::int32_t progress, max;
    int percent;
  } progress[] = {{5, 0, 100}, {1, 3, 33}, {2, 3, 67}, {50, 100, 50}, {-1, 0, 100}, {1, 2, 50}};
  for (const Case& c : progress) {
    pane.OnProgressChange(c.progress, c.max);
    EXPECT_EQ(handler.events.back(), BrowserEvent::kLoadProgress);
    EXPECT_EQ(handler.last_args.progress_percent, c.percent) << c.progress << "/" << c.max;
  }
  handler.events.clear();
  pane.OnCommandStateChange(1, true);
  EXPECT_EQ(handler.last_args.command, 0);
  EXPECT_TRUE(handler.last_args.command_enabled);
  pane.OnCommandStateChange(2, false);
  EXPECT_EQ(handler.last_args.command, 1);
  pane.OnCommandStateChange(-1, true);  // CSC_UPDATECOMMANDS raises nothing
  pane.OnCommandStateChange(3, true);
  EXPECT_EQ(handler.events.size(), 2u);
  pane.OnStatusTextChange("Done");
  EXPECT_EQ(std::string(pane.GetStatusText().view()), "Done");
  EXPECT_EQ(handler.events.back(), BrowserEvent::kStatusTextChanged);
}

// MainWindow's handlers over a real pane and a fake window.
class MainWindowHandlersTest : public BrowserPaneTest {
 protected:
  FakeEngine engine;
  FakeView view;
  MainWindowHandlers handlers{view};
  BrowserPane pane{engine, &handlers};
  void SetUp() override {
    BrowserPaneTest::SetUp();
    handlers.set_pane(&pane);
  }
};

TEST_F(MainWindowHandlersTest, TwoFramesShowTheOverlayThreeTimesAndEndHidden) {
  pane.OnBeforeNavigate("http://site/gs.html");
  pane.OnBeforeNavigate("http://site/a.html");
  pane.OnNavigateComplete("http://site/a.html");
  pane.OnBeforeNavigate("http://site/b.html");
  pane.OnNavigateComplete("http://site/gs.html");  // the page completes before its last frame
  EXPECT_FALSE(view.overlay_visible);
  pane.OnNavigateComplete("http://site/b.html");
  EXPECT_EQ(view.log, (std::vector<std::string>{"show", "show", "hide", "show", "hide", "hide"}));
  EXPECT_FALSE(view.overlay_visible);
}

TEST_F(MainWindowHandlersTest, ADownloadThatNeverCompletesKeepsTheOverlayUntilTheNextCompletion) {
  pane.OnBeforeNavigate("http://site/file.zip");
  pane.OnDownloadBegin();
  pane.OnDownloadComplete();
  pane.OnDocumentComplete("http://site/gs.html");  // DocumentReady is not bound
  EXPECT_TRUE(view.overlay_visible);
  pane.OnBeforeNavigate("http://site/next.html");
  pane.OnNavigateComplete("http://site/next.html");
  EXPECT_FALSE(view.overlay_visible);
}

TEST_F(MainWindowHandlersTest, TitleReportsReplaceTheCaptionEvenWithEmptyText) {
  pane.OnTitleChange("First");
  pane.OnTitleChange("Second");
  EXPECT_EQ(view.caption, "Second");
  pane.OnTitleChange("");
  EXPECT_EQ(view.caption, "");
  EXPECT_EQ(view.log.size(), 3u);
}

TEST_F(MainWindowHandlersTest, HandlersNeverAnswerSoNavigationAndNewWindowsGoAhead) {
  EXPECT_FALSE(pane.OnBeforeNavigate("http://site/"));
  EXPECT_FALSE(pane.OnNewWindow());
  EXPECT_EQ(view.caption, "Orvane");  // a new window leaves the caption and overlay alone
  EXPECT_EQ(view.log, (std::vector<std::string>{"show"}));
}

TEST_F(MainWindowHandlersTest, EventsUnderSuppressionAreDroppedNotDelayed) {
  AppState::Get().RaiseSuppression();
  pane.OnBeforeNavigate("http://site/");
  pane.OnTitleChange("During creation");
  AppState::Get().LowerSuppression();
  EXPECT_TRUE(view.log.empty());
  pane.OnNavigateComplete("http://site/");
  EXPECT_EQ(view.log, (std::vector<std::string>{"hide"}));
}

TEST_F(MainWindowHandlersTest, AnEventNestedInsideTheNavigationRequestIsRaisedAtOnce) {
  engine.on_navigate = [this](const std::string& url) {
    EXPECT_FALSE(pane.OnBeforeNavigate(TextRef(url.c_str())));
  };
  pane.SetUrl("http://site/gs.html");
  EXPECT_TRUE(view.overlay_visible);
}

}  // namespace
}  // namespace orvane
