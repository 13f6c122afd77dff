// HttpFetch on WinINet, used synchronously.
#include <windows.h>
#include <wininet.h>

#include <memory>
#include <string>

#include "update/fetch_rules.h"
#include "update/http_fetch.h"

namespace orvane {
namespace {

struct InternetHandleCloser {
  void operator()(HINTERNET handle) const noexcept { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

// The Internet handle of the process, opened for direct connections.
struct WinInetSession {
  InternetHandle internet;

  static std::unique_ptr<WinInetSession> Open() {
    HINTERNET handle =
        InternetOpenA(fetch::kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!handle) return nullptr;
    auto session = std::make_unique<WinInetSession>();
    session->internet.reset(handle);
    return session;
  }
};

// Lives to the end of the process and is never destroyed, so that a fetch still running while the
// process ends never meets a closed handle; the system reclaims the handle.
fetch::HttpClient<WinInetSession>& Client() {
  static auto* client = new fetch::HttpClient<WinInetSession>;
  return *client;
}

class WinInetBody : public fetch::BodySource {
 public:
  explicit WinInetBody(HINTERNET request) : request_(request) {}
  bool Read(unsigned char* buffer, std::uint32_t size, std::uint32_t* got) override {
    DWORD read = 0;
    const bool ok = InternetReadFile(request_, buffer, size, &read);
    *got = read;
    return ok;
  }

 private:
  HINTERNET request_;
};

bool Canonicalize(const char* url, std::string& canonical) {
  canonical.assign(2084, '\0');
  DWORD length = static_cast<DWORD>(canonical.size());
  if (!InternetCanonicalizeUrlA(url, canonical.data(), &length, ICU_NO_ENCODE)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    canonical.assign(length + 1, '\0');
    length = static_cast<DWORD>(canonical.size());
    if (!InternetCanonicalizeUrlA(url, canonical.data(), &length, ICU_NO_ENCODE)) return false;
  }
  canonical.resize(length);
  return true;
}

}  // namespace

Bytes HttpFetch(TextRef url) {
  if (url.view().empty()) return {};

  std::string canonical;
  if (!Canonicalize(url.c_str(), canonical)) return {};

  char host[fetch::kHostBuffer] = {};
  char path[fetch::kPathBuffer] = {};
  char user[fetch::kUserBuffer] = {};
  char password[fetch::kPasswordBuffer] = {};
  URL_COMPONENTSA parts = {};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = sizeof path;
  parts.lpszUserName = user;
  parts.dwUserNameLength = sizeof user;
  parts.lpszPassword = password;
  parts.dwPasswordLength = sizeof password;
  if (!InternetCrackUrlA(canonical.c_str(), 0, 0, &parts)) return {};
  fetch::Scheme scheme;
  if (parts.nScheme == INTERNET_SCHEME_HTTP) {
    scheme = fetch::Scheme::kHttp;
  } else if (parts.nScheme == INTERNET_SCHEME_HTTPS) {
    scheme = fetch::Scheme::kHttps;
  } else {
    return {};  // no HTTP request can be made of any other scheme
  }

  WinInetSession* session = Client().Get();
  if (!session) return {};
  HINTERNET internet = session->internet.get();

  const InternetHandle connection(
      InternetConnectA(internet, host, parts.nPort, user, password, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return {};

  INTERNET_PROXY_INFO proxy = {INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr};
  InternetSetOptionA(internet, INTERNET_OPTION_PROXY, &proxy, sizeof proxy);
  char empty[] = "";
  InternetSetOptionA(connection.get(), INTERNET_OPTION_PROXY_USERNAME, empty, 1);
  InternetSetOptionA(connection.get(), INTERNET_OPTION_PROXY_PASSWORD, empty, 1);

  const std::string object(fetch::CutFragment(path));
  const char* accept_types[] = {fetch::kAcceptType, nullptr};
  const InternetHandle request(HttpOpenRequestA(connection.get(), fetch::kVerb, object.c_str(),
                                                fetch::kRequestVersion, nullptr, accept_types,
                                                fetch::RequestFlags(scheme), 0));
  if (!request) return {};
  if (!HttpSendRequestA(request.get(), fetch::kHeaders, fetch::kHeadersLength, nullptr, 0)) {
    return {};
  }

  char length[32] = {};
  DWORD length_size = sizeof length;
  const bool announced =
      HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH, length, &length_size, nullptr);
  length[sizeof length - 1] = 0;

  WinInetBody body(request.get());
  return fetch::ReadBody(body, fetch::ReadSizeFor(announced ? length : TextRef()));
  // The request handle closes here, then the connection handle.
}

const void* HttpClientSessionForTesting() {
  const WinInetSession* session = Client().current();
  return session ? session->internet.get() : nullptr;
}

}  // namespace orvane
