// The fatal-error box and the ending of the program under GTK.
#pragma once

#include "shell/fatal.h"
#include "shell/program_life.h"

namespace orvane::gtk {

// The life of the user-interface thread: loop entered, ending begun, the at-exit routine.
ProgramLife& Life();

// Installs the GTK port. Call on the user-interface thread once GTK is initialised.
void InstallFatalErrorPort();

// Ends the program at once with `exit_code`, from any thread: no window is closed first and no
// close notification runs. Another thread hands the ending to the user-interface thread and waits
// there for the process to end.
[[noreturn]] void EndProgram(int exit_code);

}  // namespace orvane::gtk
