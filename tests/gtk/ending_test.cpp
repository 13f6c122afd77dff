// The Linux program ended again and again while its update worker is in each of its states
// (tests/gtk/ending_probe.cpp), half the time by closing the window and half by the Exit command.
// Every run must end by itself with exit code 0; GTK's critical warnings are made fatal, so a pane
// written after its label is gone ends the run with a signal instead.
#include <glib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <optional>
#include <string>

#include "tests/gtk/gtk_test_support.h"

namespace orvane::gtk {
namespace {

constexpr int kRuns = 50;
constexpr double kSecondsPerRun = 15;
constexpr double kTotalSeconds = 360;  // below the case's time-out
constexpr int kNoDisplay = 3;          // the probe's exit code when it could not open the display

class EndingTest : public ::testing::TestWithParam<const char*> {};

TEST_P(EndingTest, AlwaysEndsWithExitCodeZero) {
  ASSERT_NE(g_getenv("DISPLAY"), nullptr) << "no display";
  testing::UsePrivateHome();
  g_setenv("G_DEBUG", "fatal-criticals", TRUE);
  const std::string state = GetParam();
  const auto start = std::chrono::steady_clock::now();
  int failures = 0;
  const auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  int run = 0;
  for (; run < kRuns && failures < 3 && elapsed() < kTotalSeconds; ++run) {
    const std::string way = run % 2 ? "exit" : "close";
    std::optional<int> code;
    for (int attempt = 0; attempt < 3 && (attempt == 0 || code == kNoDisplay); ++attempt) {
      testing::Process probe({ORVANE_ENDING_PROBE, state, way});
      ASSERT_TRUE(probe.started());
      code = probe.WaitForExit(kSecondsPerRun);
      if (code == kNoDisplay) std::cout << "run " << run << ": the display refused the probe\n";
    }
    if (code != 0) ++failures;
    EXPECT_EQ(code, 0) << "run " << run << " (" << way
                       << "): " << (code ? "ended with " + std::to_string(*code) : "did not end");
  }
  std::cout << run << " runs in " << elapsed() << " s\n";
  EXPECT_EQ(run, kRuns) << "the runs took longer than " << kTotalSeconds << " s";
}

INSTANTIATE_TEST_SUITE_P(WorkerStates, EndingTest,
                         ::testing::Values("pausing", "fetching", "notice", "writing"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

}  // namespace
}  // namespace orvane::gtk
