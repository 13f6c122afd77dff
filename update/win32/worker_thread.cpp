#include "update/worker_thread.h"

namespace orvane {

// Placeholder until the platform's fetch and worker ports are in.
bool StartUpdateWorker(StatusPanes&) { return false; }

}  // namespace orvane
