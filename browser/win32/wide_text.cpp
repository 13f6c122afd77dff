#include "browser/win32/wide_text.h"

#include <cwchar>

#include "shell/fatal.h"

namespace orvane::win {

Text WideToAnsi(const wchar_t* wide) {
  if (!wide || !*wide) return Text::Copy("");
  const int length = static_cast<int>(std::wcslen(wide));
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return Text::Copy("");
  HeapBlock block = AllocateOrDie(static_cast<std::size_t>(bytes) + 1);
  WideCharToMultiByte(CP_ACP, 0, wide, length, reinterpret_cast<char*>(block.get()), bytes, nullptr,
                      nullptr);
  block[static_cast<std::size_t>(bytes)] = 0;
  // The engine's text could hold a NUL; the program's texts end at the first one.
  return Text::Copy({reinterpret_cast<const char*>(block.get()), static_cast<std::size_t>(bytes)});
}

BSTR AnsiToBstr(TextRef text) {
  const std::string_view bytes = text.view();
  if (bytes.empty()) return SysAllocString(L"");
  const int n =
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(n > 0 ? n : 0));
  if (!out) ReportOutOfMemory(static_cast<std::size_t>(n) * sizeof(wchar_t));
  if (n > 0) {
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out, n);
  }
  return out;
}

}  // namespace orvane::win
