#include "update/fetch_rules.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace orvane::fetch {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (x != b[i]) return false;
  }
  return true;
}

// Digits only, at most 65535; empty or 0 means the scheme's default.
std::optional<std::uint16_t> ParsePort(std::string_view digits, std::uint16_t default_port) {
  if (digits.empty()) return default_port;
  std::uint32_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
    if (value > 65535) return std::nullopt;
  }
  return value == 0 ? default_port : static_cast<std::uint16_t>(value);
}

}  // namespace

std::optional<UrlParts> CrackUrl(std::string_view url) {
  const std::size_t scheme_end = url.find("://");
  if (scheme_end == std::string_view::npos) return std::nullopt;
  UrlParts parts;
  const std::string_view scheme = url.substr(0, scheme_end);
  std::uint16_t default_port;
  if (EqualsIgnoringCase(scheme, "http")) {
    parts.scheme = Scheme::kHttp;
    default_port = 80;
  } else if (EqualsIgnoringCase(scheme, "https")) {
    parts.scheme = Scheme::kHttps;
    default_port = 443;
  } else {
    return std::nullopt;
  }

  const std::string_view rest = url.substr(scheme_end + 3);
  const std::size_t authority_end = std::min(rest.find_first_of("/?#"), rest.size());
  std::string_view authority = rest.substr(0, authority_end);
  const std::string_view path = rest.substr(authority_end);

  const std::size_t at = authority.rfind('@');
  if (at != std::string_view::npos) {
    const std::string_view userinfo = authority.substr(0, at);
    const std::size_t colon = userinfo.find(':');
    parts.user = std::string(userinfo.substr(0, colon));
    if (colon != std::string_view::npos) parts.password = std::string(userinfo.substr(colon + 1));
    authority = authority.substr(at + 1);
  }

  std::size_t host_end;
  if (!authority.empty() && authority[0] == '[') {
    host_end = authority.find(']');
    if (host_end == std::string_view::npos) return std::nullopt;
    ++host_end;
  } else {
    host_end = std::min(authority.find(':'), authority.size());
  }
  parts.host = std::string(authority.substr(0, host_end));
  std::string_view port_text = authority.substr(host_end);
  if (!port_text.empty()) {
    if (port_text[0] != ':') return std::nullopt;
    port_text.remove_prefix(1);
  }
  const std::optional<std::uint16_t> port = ParsePort(port_text, default_port);
  if (!port || parts.host.empty()) return std::nullopt;
  parts.port = *port;

  if (parts.host.size() >= kHostBuffer || path.size() >= kPathBuffer ||
      parts.user.size() >= kUserBuffer || parts.password.size() >= kPasswordBuffer) {
    return std::nullopt;
  }
  const std::string_view object = CutFragment(path);
  parts.object = object.starts_with('/') ? std::string(object) : '/' + std::string(object);
  return parts;
}

std::string RequestUrl(const UrlParts& parts) {
  std::string url = parts.scheme == Scheme::kHttps ? "https://" : "http://";
  url += parts.host;
  url += ':';
  url += std::to_string(parts.port);
  url += parts.object;
  return url;
}

std::string_view CutFragment(std::string_view object) {
  return object.substr(0, std::min(object.find('#'), object.size()));
}

std::uint32_t RequestFlags(Scheme scheme) {
  return scheme == Scheme::kHttps ? kRequestFlagsHttps : kRequestFlagsHttp;
}

std::uint32_t ReadSizeFor(TextRef announced_length) {
  if (announced_length.missing()) return kDefaultReadSize;
  const unsigned char* p = announced_length.bytes();
  while (*p == ' ' || (*p >= 0x09 && *p <= 0x0D)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  std::int64_t value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = std::min<std::int64_t>(value * 10 + (*p - '0'), std::int64_t{INT32_MAX} + 1);
  }
  if (negative) value = -value;
  value = std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX);
  if (value <= 0) return kDefaultReadSize;
  return static_cast<std::uint32_t>(std::min<std::int64_t>(value + 1, kMaxReadSize));
}

bool BodyCollector::Take(ByteView chunk) {
  body_.AppendUpTo(chunk, limit_);
  return body_.size() < limit_;
}

Bytes ReadBody(BodySource& source, std::uint32_t read_size, std::size_t limit) {
  HeapBlock buffer = TryAllocate(read_size);
  if (!buffer) return {};
  BodyCollector body(limit);
  while (body.room() > 0) {
    const auto want = static_cast<std::uint32_t>(std::min<std::size_t>(read_size, body.room()));
    std::uint32_t got = 0;
    if (!source.Read(buffer.get(), want, &got) || got == 0) break;
    if (!body.Take({buffer.get(), std::min(got, want)})) break;
  }
  return body.Finish();
}

}  // namespace orvane::fetch
