// HttpFetch on libcurl: what it adds to the shared fetch rules.
#pragma once

#include <string>

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

// https certificates are checked against libcurl's default CA bundle (the system's). Tests trust
// their own throw-away CA with a PEM file here; the empty path restores the default.
void SetFetchCaFileForTesting(std::string pem_path = {});

}  // namespace orvane
