// The fatal error: one box, then the end of the program with exit code -1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "shell/text.h"

namespace orvane {

// The box text: "运行时出错!" CR LF CR LF, then "错误代码：" code CR LF CR LF when the code is not
// 0, then "错误信息：" message CR LF when the message is not empty.
Text ComposeFatalText(std::string_view message, std::int32_t code);

// "分配 n 字节内存失败!"
Text OutOfMemoryMessage(std::size_t n);

// What a platform does for the fatal error. Both calls may come from any thread.
class FatalErrorPort {
 public:
  virtual ~FatalErrorPort() = default;
  // Shows the box and returns once the user has closed it.
  virtual void ShowErrorBox(TextRef box_text) = 0;
  // Ends the program with the exit code; never returns.
  [[noreturn]] virtual void EndProgram(std::int32_t exit_code) = 0;
};

// Installs the platform's port (null restores the default, which writes the box text to standard
// error and exits). Returns the previous port.
FatalErrorPort* SetFatalErrorPort(FatalErrorPort* port) noexcept;

// Raises event suppression for good, shows the box and ends the program with exit code -1.
[[noreturn]] void ReportFatalError(std::string_view message, std::int32_t code = 0);

// The fatal error for a failed allocation of n bytes. Composes its text without allocating.
[[noreturn]] void ReportOutOfMemory(std::size_t n);

}  // namespace orvane
