// The one place where the program's GBK texts meet GTK's UTF-8. Nothing here needs a display.
#pragma once

#include <string>
#include <string_view>

#include "shell/text.h"

namespace orvane::gtk {

// GBK (code page 936) to UTF-8. Bytes that are no GBK character become U+FFFD, one per byte that
// cannot start a character, so that untrusted text never vanishes or stops the conversion.
std::string GbkToUtf8(std::string_view gbk);

// UTF-8 to GBK. A character that GBK cannot show becomes "?", as the ANSI code page's default
// character does; so does every byte of malformed UTF-8.
Text Utf8ToGbk(std::string_view utf8);

// A menu text with its mnemonic marked the Windows way ("退出(&E)", "&&" for a literal "&") in
// GTK's way ("退出(_E)", "__" for a literal "_"). Takes and gives UTF-8.
std::string MnemonicLabel(std::string_view utf8);

// CR LF line ends as GTK shows them: LF alone.
std::string UnixLineEnds(std::string_view utf8);

}  // namespace orvane::gtk
