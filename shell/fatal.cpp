#include "shell/fatal.h"

#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "resources/texts.h"
#include "shell/app_state.h"
#include "update/text_rules.h"

namespace orvane {
namespace {

class StderrFatalPort final : public FatalErrorPort {
 public:
  void ShowErrorBox(TextRef box_text) override { std::fputs(box_text.c_str(), stderr); }
  [[noreturn]] void EndProgram(std::int32_t exit_code) override { std::_Exit(exit_code); }
};

StderrFatalPort g_default_port;
std::atomic<FatalErrorPort*> g_port{&g_default_port};

[[noreturn]] void ShowAndEnd(TextRef box_text) {
  FatalErrorPort* port = g_port.load();
  port->ShowErrorBox(box_text);
  port->EndProgram(-1);
  std::_Exit(-1);  // a port that returns anyway still ends the program
}

}  // namespace

FatalErrorPort* SetFatalErrorPort(FatalErrorPort* port) noexcept {
  return g_port.exchange(port ? port : &g_default_port);
}

Text ComposeFatalText(std::string_view message, std::int32_t code) {
  char number[16] = {};
  std::to_chars(number, number + sizeof number - 1, code);
  Text message_text = Text::Copy(message);
  const bool with_code = code != 0;
  const bool with_message = !message_text.empty();
  return JoinTexts({texts::kFatalHeading, "\r\n\r\n",  //
                    with_code ? texts::kFatalCodeLabel : "", with_code ? number : "",
                    with_code ? "\r\n\r\n" : "",  //
                    with_message ? texts::kFatalMessageLabel : "", message_text,
                    with_message ? "\r\n" : ""});
}

Text OutOfMemoryMessage(std::size_t n) {
  char number[24] = {};
  std::to_chars(number, number + sizeof number - 1, n);
  return JoinTexts({texts::kOutOfMemoryBefore, number, texts::kOutOfMemoryAfter});
}

void ReportFatalError(std::string_view message, std::int32_t code) {
  AppState::Get().SuppressEventsForGood();
  Text box = ComposeFatalText(message, code);
  ShowAndEnd(box);
}

void ReportOutOfMemory(std::size_t n) {
  AppState::Get().SuppressEventsForGood();
  // Memory has just run out: compose the box in place instead of asking for more.
  char number[24] = {};
  std::to_chars(number, number + sizeof number - 1, n);
  char box[160] = {};
  std::size_t at = 0;
  for (const char* part :
       {texts::kFatalHeading, "\r\n\r\n", texts::kFatalMessageLabel, texts::kOutOfMemoryBefore,
        static_cast<const char*>(number), texts::kOutOfMemoryAfter, "\r\n"}) {
    for (; *part && at + 1 < sizeof box; ++part) box[at++] = *part;
  }
  ShowAndEnd(box);
}

}  // namespace orvane
