#include "update/addresses.h"

#include <gtest/gtest.h>

#include "orvane/build_config.h"

namespace orvane {
namespace {

TEST(Addresses, AreHttpOnTheBuildTimeHostsWithTheFixedPaths) {
  const std::string landing = std::string("http://") + build::kLandingHost;
  const std::string update = std::string("http://") + build::kUpdateHost;
  EXPECT_EQ(LandingPageUrl(), landing + "/gs.html");
  EXPECT_EQ(VersionFileUrl(), update + "/vs/1.txt");
  EXPECT_EQ(UpdatePageUrl(), update + "/vs/1.html");
}

}  // namespace
}  // namespace orvane
