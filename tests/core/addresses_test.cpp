#include "update/addresses.h"

#include <gtest/gtest.h>

#include "orvane/build_config.h"

namespace orvane {
namespace {

TEST(Addresses, UseTheBuildsSchemeOnTheBuildTimeHostsWithTheFixedPaths) {
#ifdef ORVANE_TEST_HTTPS
  const std::string scheme = "https://";
#else
  const std::string scheme = "http://";
#endif
  const std::string landing = scheme + build::kLandingHost;
  const std::string update = scheme + build::kUpdateHost;
  EXPECT_EQ(LandingPageUrl(), landing + "/gs.html");
  EXPECT_EQ(VersionFileUrl(), update + "/vs/1.txt");
  EXPECT_EQ(UpdatePageUrl(), update + "/vs/1.html");
}

}  // namespace
}  // namespace orvane
