// https on the platform's fetch: the publisher's three files served over TLS on 127.0.0.1
// (tls_site.py) with a throw-away CA. Trusted, the fetch and the update worker on top of it work as
// over http; a certificate from an unknown CA, or one that does not name the host, gives the empty
// result.
#ifdef _WIN32
#include <windows.h>
// (windows.h before the other system headers)
#include <wincrypt.h>
#endif

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "resources/texts.h"
#include "shell/status_panes.h"
#include "update/http_fetch.h"
#include "update/update_worker.h"
#ifndef _WIN32
#include "update/gtk/curl_fetch.h"
#endif

namespace orvane {
namespace {

std::string SiteDir() {
  const char* dir = std::getenv("ORVANE_TLS_SITE_DIR");
  return dir ? dir : "";
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string Site(const std::string& port_file, const std::string& host = "127.0.0.1") {
  return "https://" + host + ":" + ReadFile(SiteDir() + "/" + port_file);
}

std::string Fetch(const std::string& url) { return std::string(HttpFetch(url.c_str()).chars()); }

// The test CA is trusted while one of these lives: libcurl is pointed at its file; WinINet finds it
// in the current user's root store, from which it is removed again at the end.
#ifdef _WIN32
class TrustedTestCa {
 public:
  explicit TrustedTestCa(const std::string& pem_path) {
    const std::string pem = ReadFile(pem_path);
    DWORD size = 0;
    if (!CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()),
                              CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
      return;
    }
    std::vector<BYTE> der(size);
    if (!CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()),
                              CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr)) {
      return;
    }
    store_ = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "Root");
    if (store_) {
      CertAddEncodedCertificateToStore(store_, X509_ASN_ENCODING, der.data(), size,
                                       CERT_STORE_ADD_REPLACE_EXISTING, &added_);
    }
  }
  ~TrustedTestCa() {
    if (added_) CertDeleteCertificateFromStore(added_);  // frees the context too
    if (store_) CertCloseStore(store_, 0);
  }
  TrustedTestCa(const TrustedTestCa&) = delete;
  TrustedTestCa& operator=(const TrustedTestCa&) = delete;
  bool ok() const { return added_ != nullptr; }

 private:
  HCERTSTORE store_ = nullptr;
  PCCERT_CONTEXT added_ = nullptr;
};
#else
class TrustedTestCa {
 public:
  explicit TrustedTestCa(const std::string& pem_path) { SetFetchCaFileForTesting(pem_path); }
  ~TrustedTestCa() { SetFetchCaFileForTesting(); }
  TrustedTestCa(const TrustedTestCa&) = delete;
  TrustedTestCa& operator=(const TrustedTestCa&) = delete;
  bool ok() const { return true; }
};
#endif

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
    auto trust = std::make_unique<TrustedTestCa>(SiteDir() + "/ca.pem");
    EXPECT_TRUE(trust->ok()) << "the test CA could not be trusted";
    return trust;
  }
};

TEST_F(Tls, TheThreeFilesComeOverHttpsFromACertificateOfTheTrustedCa) {
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
    const auto trust = c.trust_test_ca ? TrustTestCa() : nullptr;
    EXPECT_TRUE(HttpFetch(c.url.c_str()).empty()) << c.what;
  }
}

// The worker with the real fetch, and records of what it shows and opens.
class TlsWorkerPorts : public UpdateWorkerPorts {
 public:
  void Pause(std::uint32_t) override { ++attempts; }
  Text GetPaneText(int pane) override { return panes.GetPaneText(pane); }
  void SetPaneText(int pane, TextRef text) override { panes.SetPaneText(pane, text); }
  Bytes Fetch(TextRef url) override { return HttpFetch(url); }
  void ShowNotice(TextRef text, TextRef) override { notices.emplace_back(text.view()); }
  void OpenUrl(TextRef url) override { opened.emplace_back(url.view()); }

  StatusPanes panes;
  int attempts = 0;
  std::vector<std::string> notices;
  std::vector<std::string> opened;
};

TEST_F(Tls, TheWorkerShowsAndAnnouncesTheVersionPublishedOverHttps) {
  const auto trust = TrustTestCa();
  TlsWorkerPorts ports;
  const std::string site = Site("port");
  UpdateWorker(ports, site + "/vs/1.txt", site + "/vs/1.html").Run();
  EXPECT_EQ(ports.attempts, 1);
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
