// HttpFetch: one HTTP GET of a URL, handing back every body byte received. It never shows or
// reports anything: every failure is a shorter or empty result. Each platform implements it on its
// HTTP client (WinINet, libcurl) with the portable rules below.
#pragma once

#include "shell/text.h"

namespace orvane {

Bytes HttpFetch(TextRef url);

// The session HttpClient holds (the Internet handle on Windows), null while none is open. For tests
// that check that fetches share it.
const void* HttpClientSessionForTesting();

}  // namespace orvane
