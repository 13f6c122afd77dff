// Orvane for Windows. The command line is not read.

#include <windows.h>

#include "shell/win32/program.h"
// (windows.h before the other system headers)

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return orvane::win::RunProgram(); }
