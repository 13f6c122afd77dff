// How an engine's sparse reports become the pane's events: frames complete like pages, and a
// cancelled or failed navigation ends with a completion once the engine stops, so that the
// overlay is never left up for good.
#include "browser/engine_reports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/app_state.h"

namespace orvane {
namespace {

class NullEngine final : public BrowserEngine {
 public:
  void Navigate(TextRef) override {}
  void SetOffline(bool) override {}
  bool Offline() override { return false; }
  void SetSilent(bool) override {}
  bool Silent() override { return false; }
  void SetTextSize(int) override {}
  Text LocationName() override { return {}; }
  Text LocationUrl() override { return {}; }
};

// Records the events with the url the pane gives during each; cancels urls containing "cancel".
class Recorder final : public BrowserPaneHandler {
 public:
  std::optional<bool> OnBrowserEvent(BrowserEvent event, const BrowserEventArgs&) override {
    const std::string url(pane->GetUrl().view());
    if (event == BrowserEvent::kAboutToNavigate) {
      log.push_back("begin " + url);
      if (url.find("cancel") != std::string::npos) return false;
    }
    if (event == BrowserEvent::kNavigationComplete) log.push_back("end " + url);
    return std::nullopt;
  }
  BrowserPane* pane = nullptr;
  std::vector<std::string> log;
};

class EngineReportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AppState::Get().ResetForTesting();
    recorder.pane = &pane;
  }
  NullEngine engine;
  Recorder recorder;
  BrowserPane pane{engine, &recorder};
  EngineReports reports{pane};
};

TEST_F(EngineReportsTest, PageAndFramesEachBeginAndComplete) {
  EXPECT_FALSE(reports.BeforeNavigate("http://h/frames.html"));
  reports.Reached("http://h/frames.html");
  EXPECT_FALSE(reports.BeforeNavigate("http://h/a.html"));
  EXPECT_FALSE(reports.BeforeNavigate("http://h/b.html"));
  reports.Reached("http://h/a.html");
  reports.Reached("http://h/b.html");
  reports.Stopped("http://h/frames.html");  // nothing pending: no extra completion
  EXPECT_EQ(recorder.log,
            (std::vector<std::string>{"begin http://h/frames.html", "end http://h/frames.html",
                                      "begin http://h/a.html", "begin http://h/b.html",
                                      "end http://h/a.html", "end http://h/b.html"}));
}

TEST_F(EngineReportsTest, ACancelledNavigationCompletesWhenTheEngineStops) {
  EXPECT_TRUE(reports.BeforeNavigate("http://h/cancel.html"));
  EXPECT_TRUE(reports.awaiting_stop());
  reports.Stopped("http://h/gs.html");
  reports.Stopped("http://h/gs.html");  // only once
  EXPECT_EQ(recorder.log,
            (std::vector<std::string>{"begin http://h/cancel.html", "end http://h/gs.html"}));
}

TEST_F(EngineReportsTest, AFailureBeforeArrivalCompletesWhenTheEngineStops) {
  EXPECT_FALSE(reports.BeforeNavigate("http://h:1/gs.html"));
  reports.FailedBeforeReaching();
  reports.Stopped("http://h:1/gs.html");
  EXPECT_EQ(recorder.log,
            (std::vector<std::string>{"begin http://h:1/gs.html", "end http://h:1/gs.html"}));
}

TEST_F(EngineReportsTest, StoppingWithoutACancelOrFailureAddsNothing) {
  // A navigation that is still on its way (or turned into a download) keeps what it showed.
  EXPECT_FALSE(reports.BeforeNavigate("http://h/file.zip"));
  reports.Stopped("http://h/gs.html");
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"begin http://h/file.zip"}));
}

TEST_F(EngineReportsTest, ANewerNavigationOrArrivalSettlesAnEarlierCancel) {
  EXPECT_TRUE(reports.BeforeNavigate("http://h/cancel.html"));
  EXPECT_FALSE(reports.BeforeNavigate("http://h/next.html"));
  reports.Reached("http://h/next.html");
  reports.Stopped("http://h/next.html");
  EXPECT_EQ(recorder.log,
            (std::vector<std::string>{"begin http://h/cancel.html", "begin http://h/next.html",
                                      "end http://h/next.html"}));
}

TEST_F(EngineReportsTest, NothingReachesHandlersWhileEventsAreSuppressed) {
  AppState::Get().RaiseSuppression();
  EXPECT_FALSE(reports.BeforeNavigate("http://h/cancel.html"));  // no answer: goes ahead
  reports.Reached("http://h/cancel.html");
  AppState::Get().LowerSuppression();
  EXPECT_TRUE(recorder.log.empty());
}

}  // namespace
}  // namespace orvane
