// Orvane for Windows. The command line is not read.
#include <windows.h>
// (windows.h before the other system headers)

#include <cstdlib>

#include "shell/win32/program.h"

// A GUI program has no console for the runtime's demangling terminate handler to write to, and
// that handler alone would add a third to the program file: an escaped exception simply aborts.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return orvane::win::RunProgram(); }
