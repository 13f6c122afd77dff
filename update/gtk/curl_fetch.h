// HttpFetch on libcurl: what it adds to the shared fetch rules.
#pragma once

namespace orvane {

// Close to WinINet's defaults: a connection must be made within a minute, and a transfer that
// brings less than a byte a second for half a minute ends (a server that accepts and never
// answers must not hold the worker forever).
struct FetchTimeouts {
  long connect_seconds = 60;
  long low_speed_seconds = 30;
};

// Tests use short ones; the default argument restores the defaults.
void SetFetchTimeoutsForTesting(FetchTimeouts timeouts = {});

}  // namespace orvane
