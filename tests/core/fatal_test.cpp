// The fatal-error box text, and what reporting a fatal error does to the rest of the program.
#include "shell/fatal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "resources/texts.h"
#include "shell/app_state.h"
#include "update/text_rules.h"

namespace orvane {
namespace {

const std::string kHeading = texts::kFatalHeading;
const std::string kCode = texts::kFatalCodeLabel;
const std::string kMessage = texts::kFatalMessageLabel;

TEST(ComposeFatalText, HasTheHeadingThenTheCodeAndMessageOnlyWhenGiven) {
  struct Case {
    std::string message;
    std::int32_t code;
    std::string box;
  } cases[] = {
      {texts::kStartWindowFailed, 0,
       kHeading + "\r\n\r\n" + kMessage + texts::kStartWindowFailed + "\r\n"},
      {"", 0, kHeading + "\r\n\r\n"},
      {"", 5, kHeading + "\r\n\r\n" + kCode + "5\r\n\r\n"},
      {"x", -2147483647 - 1,
       kHeading + "\r\n\r\n" + kCode + "-2147483648\r\n\r\n" + kMessage + "x\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::string(ComposeFatalText(c.message, c.code).view()), c.box) << c.message;
  }
}

TEST(OutOfMemoryMessage, NamesTheBytesAskedFor) {
  EXPECT_EQ(std::string(OutOfMemoryMessage(102400).view()),
            std::string(texts::kOutOfMemoryBefore) + "102400" + texts::kOutOfMemoryAfter);
}

class SuppressionReportingPort final : public FatalErrorPort {
 public:
  void ShowErrorBox(TextRef box_text) override {
    std::fprintf(stderr, "suppressed=%d len=%u\n", AppState::Get().EventsSuppressed() ? 1 : 0,
                 static_cast<unsigned>(TextLength(box_text)));
  }
  [[noreturn]] void EndProgram(std::int32_t exit_code) override {
    std::fflush(stderr);
    std::_Exit(exit_code == -1 ? 77 : 1);
  }
};

TEST(ReportFatalError, SuppressesEventsBeforeTheBoxAndEndsWithMinusOne) {
  static SuppressionReportingPort port;
  const std::size_t len = ComposeFatalText(texts::kStartWindowFailed, 0).size();
  EXPECT_EXIT(
      {
        AppState::Get().ResetForTesting();
        SetFatalErrorPort(&port);
        ReportFatalError(texts::kStartWindowFailed);
      },
      ::testing::ExitedWithCode(77), "suppressed=1 len=" + std::to_string(len));
}

}  // namespace
}  // namespace orvane
