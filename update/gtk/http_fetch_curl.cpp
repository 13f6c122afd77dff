// HttpFetch on libcurl. The server sees what WinINet sends for the same URL (the request line with
// HTTP/1.0, Host, the user agent, "Accept: */*") plus Pragma and Cache-Control no-cache, which
// stand for WinINet's reload and no-cache-write flags.
#include <curl/curl.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "update/fetch_rules.h"
#include "update/gtk/curl_fetch.h"
#include "update/http_fetch.h"

namespace orvane {
namespace {

std::atomic<long> g_connect_seconds{FetchTimeouts{}.connect_seconds};
std::atomic<long> g_low_speed_seconds{FetchTimeouts{}.low_speed_seconds};

std::mutex g_ca_file_lock;
std::string g_ca_file;  // empty: libcurl's default CA bundle

std::string CaFile() {
  const std::lock_guard<std::mutex> hold(g_ca_file_lock);
  return g_ca_file;
}

struct ShareCleanup {
  void operator()(CURLSH* share) const noexcept { curl_share_cleanup(share); }
};
struct EasyCleanup {
  void operator()(CURL* easy) const noexcept { curl_easy_cleanup(easy); }
};
struct SlistFree {
  void operator()(curl_slist* list) const noexcept { curl_slist_free_all(list); }
};
using SharePtr = std::unique_ptr<CURLSH, ShareCleanup>;
using EasyPtr = std::unique_ptr<CURL, EasyCleanup>;
using SlistPtr = std::unique_ptr<curl_slist, SlistFree>;

// The session of the process, like WinINet's Internet handle: libcurl set up once and a share of
// the name lookups that every fetch's own handle uses.
struct CurlSession {
  SharePtr share;

  static std::unique_ptr<CurlSession> Open() {
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
    SharePtr share(curl_share_init());
    if (!share ||
        curl_share_setopt(share.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS) != CURLSHE_OK) {
      share.reset();
      curl_global_cleanup();
      return nullptr;
    }
    auto session = std::make_unique<CurlSession>();
    session->share = std::move(share);
    return session;
  }
};

// Lives to the end of the process and is never destroyed, so that a fetch still running while the
// process ends never meets a released session.
fetch::HttpClient<CurlSession>& Client() {
  static auto* client = new fetch::HttpClient<CurlSession>;
  return *client;
}

// Every chunk libcurl receives is a read that brought bytes; the end of the transfer is the read
// that brings none. Returning less than was given stops the transfer (the 16 MiB cap).
size_t TakeChunk(char* data, size_t size, size_t count, void* collector) {
  const size_t n = size * count;
  const bool more = static_cast<fetch::BodyCollector*>(collector)->Take(
      {reinterpret_cast<const unsigned char*>(data), n});
  return more ? n : 0;
}

SlistPtr RequestHeaders() {
  curl_slist* list = nullptr;
  for (const char* header : {"Accept: */*", "Pragma: no-cache", "Cache-Control: no-cache"}) {
    curl_slist* longer = curl_slist_append(list, header);
    if (!longer) {
      curl_slist_free_all(list);
      return nullptr;
    }
    list = longer;
  }
  return SlistPtr(list);
}

}  // namespace

void SetFetchTimeoutsForTesting(FetchTimeouts timeouts) {
  g_connect_seconds.store(timeouts.connect_seconds);
  g_low_speed_seconds.store(timeouts.low_speed_seconds);
}

void SetFetchCaFileForTesting(std::string pem_path) {
  const std::lock_guard<std::mutex> hold(g_ca_file_lock);
  g_ca_file = std::move(pem_path);
}

Bytes HttpFetch(TextRef url) {
  if (url.view().empty()) return {};
  const std::optional<fetch::UrlParts> parts = fetch::CrackUrl(url.view());
  if (!parts) return {};

  CurlSession* session = Client().Get();
  if (!session) return {};
  const EasyPtr easy(curl_easy_init());
  const SlistPtr headers = RequestHeaders();
  if (!easy || !headers) return {};

  CURL* c = easy.get();
  const std::string request_url = fetch::RequestUrl(*parts);
  const std::string ca_file = CaFile();
  fetch::BodyCollector body;
  curl_easy_setopt(c, CURLOPT_SHARE, session->share.get());
  curl_easy_setopt(c, CURLOPT_URL, request_url.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 30L);
  curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(c, CURLOPT_USERAGENT, fetch::kUserAgent);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  if (!parts->user.empty()) curl_easy_setopt(c, CURLOPT_USERNAME, parts->user.c_str());
  if (!parts->password.empty()) curl_easy_setopt(c, CURLOPT_PASSWORD, parts->password.c_str());
  // Like WinINet: no credentials until the server asks, then the method it offers.
  curl_easy_setopt(c, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
  curl_easy_setopt(c, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, g_connect_seconds.load());
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, g_low_speed_seconds.load());
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  // https: the server's certificate must chain to a trusted CA and name the host (as WinINet
  // checks with INTERNET_FLAG_SECURE); otherwise nothing is sent and the result is empty.
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!ca_file.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, ca_file.c_str());
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, TakeChunk);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
  curl_easy_perform(c);  // any failure leaves the bytes received before it
  return body.Finish();
}

const void* HttpClientSessionForTesting() {
  const CurlSession* session = Client().current();
  return session ? session->share.get() : nullptr;
}

}  // namespace orvane
