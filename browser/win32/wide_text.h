// Texts between the engine's wide strings and the program's ANSI (code page 936) bytes.
#pragma once

#include <windows.h>
// (windows.h before the other system headers)

#include "shell/text.h"

namespace orvane::win {

// WideCharToMultiByte with CP_ACP: characters without an equivalent become the code page's
// default character. Null or empty gives the empty text.
Text WideToAnsi(const wchar_t* wide);

// A new BSTR of the text (MultiByteToWideChar with CP_ACP); the caller frees it.
BSTR AnsiToBstr(TextRef text);

}  // namespace orvane::win
