// StartUpdateWorker with the platform's ports: the thread runs, its first attempt comes after a
// full pause, and the pane texts reach the status bar's sink.
#include "update/worker_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "shell/window_definition.h"
#ifdef _WIN32
#include "update/win32/worker_ports.h"
#else
#include "update/gtk/gbk_utf8.h"
#endif

namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;

class RecordingSink : public StatusPanes::Sink {
 public:
  void SendPaneText(std::uint32_t index_and_style, TextRef text) override {
    std::lock_guard<std::mutex> lock(mutex_);
    sent_.push_back({index_and_style, std::string(text.view()), Clock::now()});
  }
  struct Sent {
    std::uint32_t index_and_style;
    std::string text;
    Clock::time_point when;
  };
  std::vector<Sent> sent() {
    std::lock_guard<std::mutex> lock(mutex_);
    return sent_;
  }

 private:
  std::mutex mutex_;
  std::vector<Sent> sent_;
};

TEST(StartUpdateWorker, TheFirstAttemptFollowsAFullPauseAndFlipsPane2) {
  // The worker is never joined: what it uses lives to the end of the process.
  auto* panes = new StatusPanes;
  auto* sink = new RecordingSink;
  panes->AttachSink(sink);
  const Clock::time_point start = Clock::now();
  ASSERT_TRUE(StartUpdateWorker(*panes));
#ifdef _WIN32
  ASSERT_NE(WorkerHandle(), nullptr);
  EXPECT_EQ(WaitForSingleObject(WorkerHandle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
#endif
  while (sink->sent().empty() && Clock::now() - start < std::chrono::seconds(15)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const std::vector<RecordingSink::Sent> sent = sink->sent();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent[0].index_and_style, 2u | layout::kPaneNoBorders);
  EXPECT_EQ(sent[0].text, "\\");
  EXPECT_GE(sent[0].when - start, std::chrono::milliseconds(5990));
  EXPECT_LT(sent[0].when - start, std::chrono::milliseconds(9000));
}

#ifdef _WIN32
TEST(Win32WorkerPorts, PauseWaitsItsFullTimeOnTheThreadsOwnHandle) {
  Clock::duration took{};
  std::thread([&took] {
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    StatusPanes panes;
    Win32WorkerPorts ports(panes, self);
    const Clock::time_point start = Clock::now();
    ports.Pause(300);
    took = Clock::now() - start;
    CloseHandle(self);
  }).join();
  EXPECT_GE(took, std::chrono::milliseconds(290));
  EXPECT_LT(took, std::chrono::milliseconds(2000));
}
#else
TEST(GbkUtf8, ConvertsAndReplacesWhatIsNotGbk) {
  EXPECT_EQ(GbkToUtf8("\xb7\xa2\xcf\xd6\xb8\xfc\xd0\xc2"), "发现更新");
  EXPECT_EQ(GbkToUtf8("\xd0\xc5\xcf\xa2\xa3\xba"), "信息：");
  EXPECT_EQ(GbkToUtf8("http://h/vs/1.html"), "http://h/vs/1.html");
  EXPECT_EQ(GbkToUtf8(""), "");
  EXPECT_EQ(GbkToUtf8("a\xff"
                      "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(GbkToUtf8("ab\xb7"), "ab\xEF\xBF\xBD");  // a lead byte at the end
  EXPECT_EQ(Utf8ToGbk("信息："), "\xd0\xc5\xcf\xa2\xa3\xba");
  EXPECT_EQ(Utf8ToGbk("a\xff"
                      "b"),
            "a?b");
  EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x98\x80"
                      "x"),
            "?x");  // no GBK form
}
#endif

}  // namespace
}  // namespace orvane
