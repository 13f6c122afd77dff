// build/linux/orvane as a whole, driven from outside with xdotool on the test display: the ways it
// ends and their exit codes, and the fatal-error box.
#include <glib.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/gtk/gtk_test_support.h"

namespace orvane::gtk {
namespace {

// Runs a command to its end; gives its standard output, or nothing when it failed.
std::optional<std::string> RunCommand(const std::vector<std::string>& args) {
  std::vector<gchar*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<gchar*>(a.c_str()));
  argv.push_back(nullptr);
  gchar* out = nullptr;
  gint status = 0;
  const gboolean ran = g_spawn_sync(nullptr, argv.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr,
                                    nullptr, &out, nullptr, &status, nullptr);
  std::string text = out ? out : "";
  g_free(out);
  if (!ran || !g_spawn_check_wait_status(status, nullptr)) return std::nullopt;
  return text;
}

// The first visible window whose search matches, within `seconds`.
std::string FindWindow(const std::vector<std::string>& search, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  std::vector<std::string> args = {"xdotool", "search", "--onlyvisible"};
  args.insert(args.end(), search.begin(), search.end());
  while (std::chrono::steady_clock::now() < deadline) {
    if (const std::optional<std::string> ids = RunCommand(args); ids && !ids->empty()) {
      return ids->substr(0, ids->find('\n'));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return {};
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(g_getenv("DISPLAY"), nullptr) << "no display";
    testing::UsePrivateHome();
  }

  // Starts Orvane and gives the id of its main window, focused.
  std::string StartOrvane() {
    program.emplace(std::vector<std::string>{ORVANE_PROGRAM});
    if (!program->started()) return {};
    const std::string window = FindWindow({"--pid", std::to_string(program->pid())}, 20);
    if (window.empty()) return {};
    Focus(window);
    return window;
  }

  static void Focus(const std::string& window) {
    RunCommand({"xdotool", "windowfocus", "--sync", window});
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }

  // Types `keys` (one xdotool key call each, half a second apart) into the focused window until
  // the program ends, at most three times: on a busy display the focus may not have settled yet.
  // Gives the exit code, or nothing when the program never ended.
  std::optional<int> TypeUntilExit(const std::string& window,
                                   const std::vector<std::string>& keys) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (attempt > 0) Focus(window);
      for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(500));
        RunCommand({"xdotool", "key", keys[i]});
      }
      if (const std::optional<int> code = program->WaitForExit(10)) return code;
    }
    return std::nullopt;
  }

  std::optional<testing::Process> program;
};

TEST_F(ProgramTest, EscapeClosesTheWindowWithExitCodeZero) {
  const std::string window = StartOrvane();
  ASSERT_FALSE(window.empty());
  RunCommand({"xdotool", "key", "shift+Escape"});  // with a modifier Esc is no close
  const std::optional<int> early = program->WaitForExit(1.0);
  EXPECT_FALSE(early) << "ended with " << early.value_or(-1);
  EXPECT_EQ(TypeUntilExit(window, {"Escape"}), 0);
}

TEST_F(ProgramTest, TheExitCommandEndsTheProgramWithExitCodeZero) {
  const std::string window = StartOrvane();
  ASSERT_FALSE(window.empty());
  EXPECT_EQ(TypeUntilExit(window, {"alt+f", "e"}), 0);
}

TEST_F(ProgramTest, TheCheckForUpdatesCommandDoesNothing) {
  ASSERT_FALSE(StartOrvane().empty());
  RunCommand({"xdotool", "key", "alt+h"});
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  RunCommand({"xdotool", "key", "u"});
  EXPECT_FALSE(program->WaitForExit(1.5));
  EXPECT_FALSE(FindWindow({"--pid", std::to_string(program->pid())}, 5).empty());
}

TEST_F(ProgramTest, AFatalErrorOnAnotherThreadShowsTheBoxThenEndsWith255) {
  program.emplace(std::vector<std::string>{ORVANE_FATAL_HELPER});
  ASSERT_TRUE(program->started());
  const std::string box = FindWindow({"--name", "^错误$"}, 20);
  ASSERT_FALSE(box.empty());
  EXPECT_FALSE(program->WaitForExit(0.5));  // the box waits for the user
  Focus(box);
  EXPECT_EQ(TypeUntilExit(box, {"Return"}), 255);
}

// A start window that cannot be loaded: one box, then exit code -1 (255), and no second box.
TEST_F(ProgramTest, ABadDefinitionShowsOneBoxThenEndsWith255) {
  for (const char* fault : {"settings-v2", "no-engine"}) {
    program.emplace(std::vector<std::string>{ORVANE_BAD_DEFINITION, fault});
    ASSERT_TRUE(program->started());
    const std::string box = FindWindow({"--name", "^错误$"}, 20);
    ASSERT_FALSE(box.empty()) << fault;
    EXPECT_FALSE(program->WaitForExit(0.5)) << fault;  // the box waits for the user
    const std::optional<std::string> boxes =
        RunCommand({"xdotool", "search", "--onlyvisible", "--name", "^错误$"});
    EXPECT_EQ(boxes, box + "\n") << fault;
    EXPECT_TRUE(FindWindow({"--name", "^Orvane$"}, 0.2).empty()) << fault << ": a window showed";
    Focus(box);
    EXPECT_EQ(TypeUntilExit(box, {"Return"}), 255) << fault;
  }
}

}  // namespace
}  // namespace orvane::gtk
