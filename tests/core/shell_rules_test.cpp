// Start-up, window frame and ending rules of the application shell.
#include <gtest/gtest.h>

#include <string>

#include "shell/app_state.h"
#include "shell/frame_style.h"
#include "shell/program_life.h"
#include "shell/window_definition.h"

namespace orvane {
namespace {

TEST(CenteredOrigin, TruncatesTowardZeroOnEveryScreen) {
  struct Case {
    int w, h, x, y;
  } cases[] = {{1024, 768, 214, 144}, {800, 600, 102, 60}, {590, 479, -2, 0}, {594, 478, 0, 0}};
  for (const Case& c : cases) {
    const layout::Point p = layout::CenteredOrigin(c.w, c.h);
    EXPECT_EQ(p.x, c.x) << c.w << "x" << c.h;
    EXPECT_EQ(p.y, c.y) << c.w << "x" << c.h;
  }
}

TEST(StatusPaneLayout, RightEdgesAreRunningSumsEndingAt300) {
  const int edges[] = {70, 120, 150, 220, 300};
  for (int i = 0; i < layout::kPaneCount; ++i) EXPECT_EQ(layout::PaneRightEdge(i), edges[i]);
}

bool NoLeadBytes(unsigned char) { return false; }

TEST(ProgramDirectory, CutsAtTheRealLastBackslash) {
  struct Case {
    const char* name;
    std::string path;
    LeadBytePredicate lead;
    const char* dir;  // null: no backslash, directory unchanged
  } cases[] = {
      {"plain", "C:\\Apps\\Orvane\\orvane.exe", IsGbkLeadByte, "C:\\Apps\\Orvane"},
      // 表 is 0xB1 0xED; 录 is 0xC2 0xBC; the last character 0x81 0x5C ends in a backslash byte.
      {"double-byte name ending in 0x5C", "C:\\\xb1\xed\x81\x5c\\orvane.exe", IsGbkLeadByte,
       "C:\\\xb1\xed\x81\x5c"},
      {"trail 0x5C in the file name", "C:\\d\\\x81\x5cx.exe", IsGbkLeadByte, "C:\\d"},
      {"a byte walk would cut inside the character", "C:\\d\\\x81\x5cx.exe", NoLeadBytes,
       "C:\\d\\\x81"},
      {"no backslash", "orvane.exe", IsGbkLeadByte, nullptr},
      {"only a trail backslash", "\x81\x5corvane.exe", IsGbkLeadByte, nullptr},
      {"root", "C:\\orvane.exe", IsGbkLeadByte, "C:"},
      {"lead byte at the end", "C:\\x\\\x81", IsGbkLeadByte, "C:\\x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto dir = ProgramDirectory(c.path, c.lead);
    if (!c.dir) {
      EXPECT_FALSE(dir.has_value());
    } else {
      ASSERT_TRUE(dir.has_value());
      EXPECT_EQ(std::string(*dir), c.dir);
    }
  }
}

TEST(FrameStyleFor, MainWindowKeepsItsTitleBarAndMenuWhateverTheTitle) {
  using namespace frame_bits;
  const std::uint32_t kClipChildren = 0x02000000, kVisible = 0x10000000;
  const std::uint32_t main = kClipChildren | kVisible | kCaption | kSysMenu | kMinimizeBox;
  EXPECT_EQ(FrameStyleFor(main, true, kMainWindowFrame), main);
  EXPECT_EQ(FrameStyleFor(main, false, kMainWindowFrame), main);
  struct Case {
    bool title_empty;
    FrameSettings settings;
    std::uint32_t frame;
  } cases[] = {
      {true, {true, false, false, false}, kDlgFrame},
      {false, {true, false, false, false}, kCaption},
      {true, {true, true, false, true}, kCaption | kSysMenu | kMaximizeBox},
      {false, {false, false, false, false}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FrameStyleFor(kVisible | kSysMenu | kCaption, c.title_empty, c.settings),
              kVisible | c.frame);
  }
}

class FirstActivationTest : public ::testing::Test {
 protected:
  void SetUp() override { AppState::Get().ResetForTesting(); }
  void TearDown() override { AppState::Get().ResetForTesting(); }
};

TEST_F(FirstActivationTest, RunsOnceAcrossDeactivationAndReactivation) {
  FirstActivation first;
  EXPECT_FALSE(first.OnActivate(false));
  EXPECT_TRUE(first.OnActivate(true));
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(first.OnActivate(false));
    EXPECT_FALSE(first.OnActivate(true));
  }
}

TEST_F(FirstActivationTest, IsLostWhenItComesUnderSuppression) {
  FirstActivation first;
  {
    SuppressionScope scope;
    EXPECT_FALSE(first.OnActivate(true));
  }
  EXPECT_TRUE(first.done());
  EXPECT_FALSE(first.OnActivate(true));
}

int g_at_exit_runs = 0;
void CountAtExit() { ++g_at_exit_runs; }

TEST(ProgramLife, QuitOnlyAfterTheLoopBeganAndReleaseOnlyOnce) {
  ProgramLife life;
  EXPECT_FALSE(life.QuitWhenLastWindowGone());  // a window destroyed while loading
  life.EnterLoop();
  EXPECT_TRUE(life.QuitWhenLastWindowGone());
  EXPECT_TRUE(life.BeginEnding());
  EXPECT_FALSE(life.BeginEnding());
  EXPECT_FALSE(life.QuitWhenLastWindowGone());

  g_at_exit_runs = 0;
  life.RegisterAtExit(CountAtExit);
  life.RunAtExitOnce();
  life.RunAtExitOnce();
  EXPECT_EQ(g_at_exit_runs, 1);
  life.RegisterAtExit(CountAtExit);
  life.ForgetAtExit();  // a fatal error forgets it
  life.RunAtExitOnce();
  EXPECT_EQ(g_at_exit_runs, 1);
}

}  // namespace
}  // namespace orvane
