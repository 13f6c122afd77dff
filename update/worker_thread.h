// Starting UpdateWorker on its own thread with the platform's ports. The thread is never joined or
// told to stop: it ends with the process, wherever it is.
#pragma once

#include "shell/status_panes.h"

namespace orvane {

// Starts the worker once the worker handle is stored (the first pause reads it). Pane texts go
// through `panes`, which must live for the rest of the process. Returns false, reporting nothing,
// when the thread cannot be created.
bool StartUpdateWorker(StatusPanes& panes);

}  // namespace orvane
