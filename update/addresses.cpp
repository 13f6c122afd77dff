#include "update/addresses.h"

#include "orvane/build_config.h"

namespace orvane {

std::string LandingPageUrl() {
  return std::string(build::kScheme) + "://" + build::kLandingHost + "/gs.html";
}
std::string VersionFileUrl() {
  return std::string(build::kScheme) + "://" + build::kUpdateHost + "/vs/1.txt";
}
std::string UpdatePageUrl() {
  return std::string(build::kScheme) + "://" + build::kUpdateHost + "/vs/1.html";
}

}  // namespace orvane
