// The rules every HttpFetch follows, whatever HTTP client carries it: what a request sends, how a
// URL is taken apart, how much each read asks for, how the body is gathered, and the one
// Internet session of the process (HttpClient).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "shell/text.h"

namespace orvane::fetch {

// What the request carries.
inline constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
inline constexpr char kVerb[] = "GET";
inline constexpr char kRequestVersion[] = "HTTP/1.0";
inline constexpr char kAcceptType[] = "Accept: */* \r\n";  // the blank before the line end is meant
inline constexpr char kHeaders[] = "Accept: */*\r\n\r\n";
inline constexpr std::uint32_t kHeadersLength = 15;
// INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, plus INTERNET_FLAG_SECURE for https.
inline constexpr std::uint32_t kRequestFlagsHttp = 0x84000000;
inline constexpr std::uint32_t kRequestFlagsHttps = 0x84800000;

// Buffer sizes for the parts of a URL, NUL included: a longer part makes the URL unusable.
inline constexpr std::size_t kHostBuffer = 256;
inline constexpr std::size_t kPathBuffer = 2048;
inline constexpr std::size_t kUserBuffer = 128;
inline constexpr std::size_t kPasswordBuffer = 128;

// Read sizes, and the most a body may grow to: past it the reading stops and what was read is the
// result, so that a server streaming without end cannot exhaust memory.
inline constexpr std::uint32_t kDefaultReadSize = 10240;
inline constexpr std::uint32_t kMaxReadSize = 102400;
inline constexpr std::size_t kMaxBodyBytes = std::size_t{16} << 20;

enum class Scheme { kHttp, kHttps };

struct UrlParts {
  Scheme scheme = Scheme::kHttp;
  std::string host;  // as written; an IPv6 literal keeps its brackets
  std::uint16_t port = 80;
  std::string user;
  std::string password;
  std::string object;  // path and query, cut before the first "#"; "/" when the URL has no path
};

// Takes an absolute http or https URL apart: scheme (case ignored), user and password before "@",
// host, port (80 or 443 when none or 0 is given), and the object. Nothing when the URL has another
// scheme, no host, a bad port, or a part longer than its buffer allows (the path counts with its
// query and fragment).
std::optional<UrlParts> CrackUrl(std::string_view url);

// The URL that reaches the server for these parts: scheme, host, port and object, no credentials.
std::string RequestUrl(const UrlParts& parts);

// The object before its first "#": a fragment is never sent.
std::string_view CutFragment(std::string_view object);

// The request flags for a scheme.
std::uint32_t RequestFlags(Scheme scheme);

// The read size for the announced Content-Length text (missing when the header was absent or
// unreadable). The text is read as atol reads it (white space, a sign, digits, the rest ignored;
// beyond the range of a 32-bit long it saturates): 0 or less gives 10240, otherwise the length
// plus 1, at most 102400.
std::uint32_t ReadSizeFor(TextRef announced_length);

// One response body, read by the caller's HTTP client.
class BodySource {
 public:
  virtual ~BodySource() = default;
  // Reads at most `size` bytes into `buffer`. False when the read fails; true with *got == 0 at the
  // end of the body.
  virtual bool Read(unsigned char* buffer, std::uint32_t size, std::uint32_t* got) = 0;
};

// Gathers a body: every byte in order, up to `limit` bytes.
class BodyCollector {
 public:
  explicit BodyCollector(std::size_t limit = kMaxBodyBytes) : limit_(limit) {}
  // Appends what a read brought, as much of it as the limit leaves room for. False once the body
  // has reached the limit: stop reading.
  bool Take(ByteView chunk);
  std::size_t room() const { return limit_ - body_.size(); }
  Bytes Finish() { return std::move(body_); }

 private:
  std::size_t limit_;
  Bytes body_;
};

// Reads with reads of `read_size` bytes until a read brings 0 bytes, a read fails or the body has
// reached `limit`. The body read so far is the result; empty when no byte came or no read buffer
// could be had.
Bytes ReadBody(BodySource& source, std::uint32_t read_size, std::size_t limit = kMaxBodyBytes);

// HttpClient: the one Internet session of the process. The first fetch opens it; it then serves
// every later fetch. A failed open leaves it closed, and the next fetch tries again. `Session` has
// a static `std::unique_ptr<Session> Open()` that gives null on failure.
template <typename Session>
class HttpClient {
 public:
  // The session, opened now if it is not open yet; null when it cannot be opened.
  Session* Get() {
    if (!session_) session_ = Session::Open();
    return session_.get();
  }
  Session* current() const { return session_.get(); }

 private:
  std::unique_ptr<Session> session_;
};

}  // namespace orvane::fetch
