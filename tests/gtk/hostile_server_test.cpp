// The Linux program's update worker against broken and hostile update servers (the scripted
// server of tests/update): the real status bar on this thread, the worker's own ports on its own
// thread with short pauses, and libcurl with short time-outs. Whatever the server does, the
// user-interface thread keeps answering, memory stays bounded and the worker goes on trying.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

#include "shell/gtk/status_bar.h"
#include "shell/gtk/ui_thread.h"
#include "tests/gtk/gtk_test_support.h"
#include "update/gtk/curl_fetch.h"
#include "update/gtk/worker_ports.h"

namespace orvane::gtk {
namespace {

using Clock = std::chrono::steady_clock;

std::string ServerPort() {
  const char* dir = std::getenv("ORVANE_SCRIPTED_SERVER_DIR");
  if (!dir) return {};
  std::ifstream in(std::string(dir) + "/port");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

long ResidentKib() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

// The program's worker ports, with a short pause and a count of the fetches that came back.
class QuickPorts : public GtkWorkerPorts {
 public:
  using GtkWorkerPorts::GtkWorkerPorts;
  void Pause(std::uint32_t) override { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }
  Bytes Fetch(TextRef url) override {
    const auto start = Clock::now();
    Bytes body = GtkWorkerPorts::Fetch(url);
    const double took = std::chrono::duration<double>(Clock::now() - start).count();
    longest_fetch_seconds.store(std::max(longest_fetch_seconds.load(), took));
    fetches_done.fetch_add(1);
    return body;
  }
  std::atomic<int> fetches_done{0};
  std::atomic<double> longest_fetch_seconds{0};
};

// Times round trips to the user-interface thread, and the process's memory, while it runs.
class Probe {
 public:
  Probe()
      : thread_([this] {
          while (!stop_) {
            const auto start = Clock::now();
            RunOnUiThreadAndWait([] {});
            const double ms =
                std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            longest_ms_ = std::max(longest_ms_.load(), ms);
            peak_kib_ = std::max(peak_kib_.load(), ResidentKib());
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
          }
        }) {}
  // The user-interface thread keeps pumping until the probe's last round trip is over.
  void Stop() {
    stop_ = true;
    std::atomic<bool> joined{false};
    std::thread joiner([&] {
      thread_.join();
      joined = true;
    });
    testing::PumpUntil([&] { return joined.load(); }, 10);
    joiner.join();
  }
  double longest_ms() const { return longest_ms_; }
  long peak_kib() const { return peak_kib_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<double> longest_ms_{0};
  std::atomic<long> peak_kib_{0};
  std::thread thread_;
};

struct HostileServer {
  const char* name;
  const char* scenario;  // a path of tests/update/scripted_server.py
  int attempts;          // fetches that must come back within the time
  double seconds;
  long low_speed_seconds = 1;  // a transfer slower than a byte a second for this long ends
};

void PrintTo(const HostileServer& s, std::ostream* out) { *out << s.name; }

class HostileServerTest : public ::testing::TestWithParam<HostileServer> {};

TEST_P(HostileServerTest, NoHangNoGrowthAndTheWorkerGoesOnTrying) {
  const HostileServer& server = GetParam();
  ASSERT_TRUE(testing::InitGtkOnce()) << "no display";
  const std::string port = ServerPort();
  ASSERT_FALSE(port.empty()) << "the scripted server is not running";
  SetFetchTimeoutsForTesting({.connect_seconds = 1, .low_speed_seconds = server.low_speed_seconds});

  StatusPanes panes;
  StatusBar bar(panes);
  g_object_ref_sink(bar.widget());
  panes.AttachSink(&bar);
  const long start_kib = ResidentKib();

  QuickPorts ports(panes);
  const std::string url =
      "http://127.0.0.1:" + port + "/hostile-" + server.name + "/" + server.scenario;
  std::atomic<bool> stop{false};
  std::atomic<bool> worker_done{false};
  std::atomic<bool> version_shown{false};
  std::thread worker([&] {
    UpdateWorker check(ports, url, "http://127.0.0.1:" + port + "/never-opened");
    while (!stop && check.RunAttempt()) {
    }
    version_shown = !stop;
    worker_done = true;
  });

  Probe probe;
  const bool tried_enough = testing::PumpUntil(
      [&] { return ports.fetches_done >= server.attempts || worker_done; }, server.seconds);
  stop = true;
  // The fetch under way ends by itself: a time-out, the end of the body, or the size cap.
  const bool ended = testing::PumpUntil([&] { return worker_done.load(); }, 30);
  probe.Stop();
  if (ended) {
    worker.join();
  } else {
    worker.detach();  // reported below; it cannot be stopped
  }
  panes.DetachSink();
  SetFetchTimeoutsForTesting({});

  std::cout << server.name << ": " << ports.fetches_done << " fetches, longest "
            << ports.longest_fetch_seconds << " s; longest user-interface round trip "
            << probe.longest_ms() << " ms; memory " << start_kib << " -> peak " << probe.peak_kib()
            << " KiB\n";
  EXPECT_TRUE(ended) << "the worker never came back from its fetch";
  EXPECT_TRUE(tried_enough) << ports.fetches_done << " fetches";
  EXPECT_FALSE(version_shown) << "a broken answer counted as a version: " << bar.ShownText(4);
  EXPECT_EQ(bar.ShownText(4), "正在获取...");
  EXPECT_LT(probe.longest_ms(), 500) << "the user-interface thread stopped answering";
  // At most one capped body (16 MiB) lives at a time; allow for its copy and libcurl's buffers.
  EXPECT_LT(probe.peak_kib() - start_kib, 64 * 1024);
  g_object_unref(bar.widget());
}

INSTANTIATE_TEST_SUITE_P(
    Servers, HostileServerTest,
    ::testing::Values(HostileServer{"NeverAnswers", "hang", 2, 10},
                      HostileServer{"DripsOneByteASecond", "drip/2", 2, 15, 3},
                      HostileServer{"ResetsMidBody", "reset/30000", 3, 10},
                      HostileServer{"StreamsWithoutEnd", "endless", 3, 30},
                      HostileServer{"GarbageStatusLine", "garbage", 3, 10},
                      HostileServer{"RedirectLoop", "redirectloop", 3, 10},
                      HostileServer{"AnnouncesMoreThanItSends", "len/100/5", 3, 10},
                      HostileServer{"AnnouncesLessThanItSends", "len/2/50", 3, 10}),
    [](const ::testing::TestParamInfo<HostileServer>& info) { return info.param.name; });

}  // namespace
}  // namespace orvane::gtk
