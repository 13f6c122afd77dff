// The three addresses the program uses, made from the hosts fixed at build time. The scheme is
// http, or https in a build with ORVANE_HTTPS.
#pragma once

#include <string>

namespace orvane {

std::string LandingPageUrl();  // <scheme>://<landing host>/gs.html
std::string VersionFileUrl();  // <scheme>://<update host>/vs/1.txt
std::string UpdatePageUrl();   // <scheme>://<update host>/vs/1.html

}  // namespace orvane
