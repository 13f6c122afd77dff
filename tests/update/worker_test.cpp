// UpdateWorker against fake ports: what each published version body leads to, and the order of
// everything the worker does in an attempt.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "resources/texts.h"
#include "shell/status_panes.h"
#include "update/update_worker.h"

namespace orvane {
namespace {

constexpr char kVersionUrl[] = "http://update.test/vs/1.txt";
constexpr char kPageUrl[] = "http://update.test/vs/1.html";

// Pane texts go to a real pane record; every call is written to one log, in order.
class FakePorts : public UpdateWorkerPorts {
 public:
  explicit FakePorts(std::deque<std::string> bodies) : bodies_(std::move(bodies)) {}

  void Pause(std::uint32_t ms) override { log.push_back("pause " + std::to_string(ms)); }
  Text GetPaneText(int pane) override {
    log.push_back("get " + std::to_string(pane));
    return panes.GetPaneText(pane);
  }
  void SetPaneText(int pane, TextRef text) override {
    log.push_back("set " + std::to_string(pane) + " " + std::string(text.view()));
    panes.SetPaneText(pane, text);
  }
  Bytes Fetch(TextRef url) override {
    log.push_back("fetch " + std::string(url.view()));
    std::string body;
    if (!bodies_.empty()) {
      body = bodies_.front();
      bodies_.pop_front();
    }
    return Bytes::Copy({reinterpret_cast<const unsigned char*>(body.data()), body.size()});
  }
  void ShowNotice(TextRef text, TextRef title) override {
    log.push_back("notice " + std::string(text.view()) + " / " + std::string(title.view()));
  }
  void OpenUrl(TextRef url) override { log.push_back("open " + std::string(url.view())); }

  StatusPanes panes;
  std::vector<std::string> log;

 private:
  std::deque<std::string> bodies_;
};

const std::string kNotice =
    std::string("notice ") + texts::kNoticeText + " / " + texts::kNoticeTitle;
const std::string kOpen = std::string("open ") + kPageUrl;

std::vector<std::string> FirstAttempt(std::vector<std::string> tail) {
  std::vector<std::string> log = {"pause 6000", "get 2", "set 2 \\",
                                  std::string("fetch ") + kVersionUrl};
  log.insert(log.end(), tail.begin(), tail.end());
  return log;
}

TEST(UpdateWorker, OneAttemptPerVersionBody) {
  struct Case {
    std::string body;
    std::optional<std::string> pane4;  // none: pane 4 is not written
    bool announced;                    // notice shown, then the page opened
  } cases[] = {
      {"1.0", "V1.0", false},
      {"2.0", "V2.0", true},
      {"  1.0  ", "V1.0", false},
      {"\xa1\xa1"
       "1.0"
       "\xa1\xa1",
       "V1.0", false},                // full-width spaces
      {"1.0\r\n", "V1.0\r\n", true},  // line ends stay, so it differs
      {"\t1.0", "V\t1.0", true},
      {"1.00", "V1.00", true},
      {"1.0.1", "V1.0.1", true},
      {"1.0" + std::string("\0"
                           "9.9",
                           4),
       "V1.0", false},                                    // only the bytes before the NUL count
      {"\xa3\xb1.\xa3\xb0", "V\xa3\xb1.\xa3\xb0", true},  // full-width digits: 1, yet not "1.0"
      {"404 Not Found", "V404 Not Found", true},          // an error page beginning with a number
      {"0.9", std::nullopt, false},
      {"-2", std::nullopt, false},
      {"abc", std::nullopt, false},
      {"", std::nullopt, false},
      {"\xef\xbb\xbf"
       "2.0",
       std::nullopt, false},  // a byte-order mark hides the number
      {std::string("\0"
                   "2.0",
                   4),
       std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("body [" + c.body + "]");
    FakePorts ports({c.body});
    UpdateWorker worker(ports, kVersionUrl, kPageUrl);
    const bool more = worker.RunAttempt();
    std::vector<std::string> tail;
    if (c.pane4) tail.push_back("set 4 " + *c.pane4);
    if (c.announced) {
      tail.push_back(kNotice);
      tail.push_back(kOpen);
    }
    EXPECT_EQ(ports.log, FirstAttempt(tail));
    EXPECT_EQ(more, !c.pane4.has_value()) << "attempts continue only while no version is shown";
    EXPECT_EQ(std::string(ports.panes.GetPaneText(4).view()),
              c.pane4 ? *c.pane4 : std::string(texts::kPaneFetching));
  }
}

TEST(UpdateWorker, TriesUntilAVersionAndFlipsTheMarkEveryAttempt) {
  FakePorts ports({"", "0.9", "abc", "-1", "3.1"});
  UpdateWorker worker(ports, kVersionUrl, kPageUrl);
  worker.Run();
  std::vector<std::string> expected;
  const char* marks[] = {"\\", "/", "\\", "/", "\\"};
  for (const char* mark : marks) {
    expected.push_back("pause 6000");
    expected.push_back("get 2");
    expected.push_back(std::string("set 2 ") + mark);
    expected.push_back(std::string("fetch ") + kVersionUrl);
  }
  expected.push_back("set 4 V3.1");
  expected.push_back(kNotice);
  expected.push_back(kOpen);
  EXPECT_EQ(ports.log, expected);
}

TEST(UpdateWorker, AnyPane2TextOtherThanSlashGivesSlash) {
  for (const char* before : {"\\", "", "x", "//"}) {
    FakePorts ports({""});
    ports.panes.SetPaneText(2, before);
    ports.log.clear();
    UpdateWorker worker(ports, kVersionUrl, kPageUrl);
    EXPECT_TRUE(worker.RunAttempt());
    EXPECT_EQ(ports.log[2], "set 2 /") << "pane 2 held [" << before << "]";
  }
}

TEST(UpdateWorker, RunStopsAfterTheInstalledVersionWithoutNotice) {
  FakePorts ports({"0", "1.0", "2.0"});
  UpdateWorker worker(ports, kVersionUrl, kPageUrl);
  worker.Run();
  EXPECT_EQ(ports.log.back(), "set 4 V1.0");
  EXPECT_EQ(std::count(ports.log.begin(), ports.log.end(), "pause 6000"), 2);
}

}  // namespace
}  // namespace orvane
