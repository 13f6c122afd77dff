// https on the platform's fetch: the publisher's three files served over TLS on 127.0.0.1
// (tls_site.py) with a throw-away CA. Trusted, the fetch and the update worker on top of it work as
// over http; a certificate from an unknown CA, or one that does not name the host, gives the empty
// result.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "resources/texts.h"
#include "shell/status_panes.h"
#include "tests/update/server_files.h"
#include "update/http_fetch.h"
#include "update/update_worker.h"
#ifndef _WIN32
#include "update/gtk/curl_fetch.h"
#endif

namespace orvane {
namespace {

using testing::ReadFile;

std::string SiteDir() { return testing::ServerDir("ORVANE_TLS_SITE_DIR"); }

std::string Site(const std::string& port_file, const std::string& host = "127.0.0.1") {
  return "https://" + host + ":" + ReadFile(SiteDir() + "/" + port_file);
}

#ifndef _WIN32
// libcurl is pointed at the test CA's file while one of these lives.
class TrustedTestCa {
 public:
  explicit TrustedTestCa(const std::string& pem_path) { SetFetchCaFileForTesting(pem_path); }
  ~TrustedTestCa() { SetFetchCaFileForTesting(); }
  TrustedTestCa(const TrustedTestCa&) = delete;
  TrustedTestCa& operator=(const TrustedTestCa&) = delete;
};
bool CanTrustTestCa() { return true; }
bool TestCaAlwaysTrusted() { return false; }
#else
// WinINet under Wine trusts only the host's CA bundle: trust_test_ca.sh runs the whole program
// with the test CA added to it, where a private mount namespace can be made.
class TrustedTestCa {
 public:
  explicit TrustedTestCa(const std::string&) {}
};
bool CanTrustTestCa() { return std::getenv("ORVANE_TEST_CA_TRUSTED") != nullptr; }
bool TestCaAlwaysTrusted() { return CanTrustTestCa(); }
#endif

constexpr char kCannotTrust[] =
    "the test CA cannot be trusted here (Wine needs a private mount namespace for it)";

class Tls : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(SiteDir().empty()) << "ORVANE_TLS_SITE_DIR is not set";
    ASSERT_FALSE(ReadFile(SiteDir() + "/port").empty()) << "the TLS site is not running";
#ifndef _WIN32
    SetFetchTimeoutsForTesting({5, 5});
#endif
  }
#ifndef _WIN32
  void TearDown() override { SetFetchTimeoutsForTesting(); }
#endif

  std::unique_ptr<TrustedTestCa> TrustTestCa() {
    return std::make_unique<TrustedTestCa>(SiteDir() + "/ca.pem");
  }
};

std::string Fetch(const std::string& url) { return std::string(HttpFetch(url.c_str()).chars()); }

TEST_F(Tls, TheThreeFilesComeOverHttpsFromACertificateOfTheTrustedCa) {
  if (!CanTrustTestCa()) GTEST_SKIP() << kCannotTrust;
  const auto trust = TrustTestCa();
  EXPECT_EQ(Fetch(Site("port") + "/vs/1.txt"), "2.0");
  EXPECT_NE(Fetch(Site("port") + "/gs.html").find("<title>TLS landing</title>"), std::string::npos);
  EXPECT_NE(Fetch(Site("port") + "/vs/1.html").find("<title>TLS update</title>"),
            std::string::npos);
}

TEST_F(Tls, UntrustedCertificatesGiveTheEmptyResult) {
  struct Case {
    const char* what;
    std::string url;
    bool trust_test_ca;
  } cases[] = {
      {"a certificate from an unknown CA", Site("unknown_port") + "/vs/1.txt", true},
      {"a certificate for 127.0.0.1 reached as localhost", Site("port", "localhost") + "/vs/1.txt",
       true},
      {"the test CA's certificate with only the system's CAs trusted", Site("port") + "/vs/1.txt",
       false},
  };
  for (const Case& c : cases) {
    if (!c.trust_test_ca && TestCaAlwaysTrusted()) continue;
    const auto trust = c.trust_test_ca ? TrustTestCa() : nullptr;
    EXPECT_TRUE(HttpFetch(c.url.c_str()).empty()) << c.what;
  }
}

// The worker with the real fetch, and records of what it shows and opens.
class TlsWorkerPorts : public UpdateWorkerPorts {
 public:
  void Pause(std::uint32_t) override {}
  Text GetPaneText(int pane) override { return panes.GetPaneText(pane); }
  void SetPaneText(int pane, TextRef text) override { panes.SetPaneText(pane, text); }
  Bytes Fetch(TextRef url) override { return HttpFetch(url); }
  void ShowNotice(TextRef text, TextRef) override { notices.emplace_back(text.view()); }
  void OpenUrl(TextRef url) override { opened.emplace_back(url.view()); }

  StatusPanes panes;
  std::vector<std::string> notices;
  std::vector<std::string> opened;
};

TEST_F(Tls, TheWorkerShowsAndAnnouncesTheVersionPublishedOverHttps) {
  if (!CanTrustTestCa()) GTEST_SKIP() << kCannotTrust;
  const auto trust = TrustTestCa();
  TlsWorkerPorts ports;
  const std::string site = Site("port");
  EXPECT_FALSE(UpdateWorker(ports, site + "/vs/1.txt", site + "/vs/1.html").RunAttempt())
      << "the first attempt did not end the check";
  EXPECT_EQ(std::string(ports.panes.GetPaneText(4).view()), "V2.0");
  EXPECT_EQ(ports.notices, std::vector<std::string>{texts::kNoticeText});
  EXPECT_EQ(ports.opened, std::vector<std::string>{site + "/vs/1.html"});
}

TEST_F(Tls, TheWorkerKeepsTryingWhileTheCertificateIsUntrusted) {
  const auto trust = TrustTestCa();
  TlsWorkerPorts ports;
  const std::string site = Site("unknown_port");
  UpdateWorker worker(ports, site + "/vs/1.txt", site + "/vs/1.html");
  const std::string before(ports.panes.GetPaneText(4).view());
  EXPECT_TRUE(worker.RunAttempt());
  EXPECT_TRUE(worker.RunAttempt());
  EXPECT_EQ(std::string(ports.panes.GetPaneText(4).view()), before);
  EXPECT_TRUE(ports.notices.empty());
  EXPECT_TRUE(ports.opened.empty());
}

}  // namespace
}  // namespace orvane
