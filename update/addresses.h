// The three addresses the program uses, made from the hosts fixed at build time.
#pragma once

#include <string>

namespace orvane {

std::string LandingPageUrl();  // http://<landing host>/gs.html
std::string VersionFileUrl();  // http://<update host>/vs/1.txt
std::string UpdatePageUrl();   // http://<update host>/vs/1.html

}  // namespace orvane
