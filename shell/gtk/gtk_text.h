// How the program's GBK texts reach GTK and come back from it: the conversion itself is the update
// check's (update/gtk/gbk_utf8.h, shared by the whole GTK build); GTK's own spellings of menu
// mnemonics and line ends are here. Nothing here needs a display.
#pragma once

#include <string>
#include <string_view>

#include "shell/text.h"
#include "update/gtk/gbk_utf8.h"

namespace orvane::gtk {

// A GBK text for GTK: bytes that are no GBK character show as U+FFFD.
inline std::string ToGtk(TextRef gbk) { return GbkToUtf8(gbk.view()); }

// A UTF-8 text from GTK or WebKit as GBK: what GBK cannot show becomes "?".
inline Text FromGtk(std::string_view utf8) { return Text::Copy(Utf8ToGbk(utf8)); }

// A menu text with its mnemonic marked the Windows way ("退出(&E)", "&&" for a literal "&") in
// GTK's way ("退出(_E)", "__" for a literal "_"). Takes and gives UTF-8.
std::string MnemonicLabel(std::string_view utf8);

// CR LF line ends as GTK shows them: LF alone.
std::string UnixLineEnds(std::string_view utf8);

}  // namespace orvane::gtk
