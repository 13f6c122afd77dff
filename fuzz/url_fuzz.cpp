// Any URL and any announced length: cracking respects the buffer limits and survives a round trip
// through the URL it would request; the read size stays within its bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "update/fetch_rules.h"

using namespace orvane;
using namespace orvane::fetch;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  const std::uint32_t read_size = ReadSizeFor(Text::Copy(input));
  if (read_size < 1 || read_size > kMaxReadSize) std::abort();

  const std::optional<UrlParts> parts = CrackUrl(input);
  if (!parts) return 0;
  if (parts->host.empty() || parts->host.size() >= kHostBuffer) std::abort();
  if (parts->user.size() >= kUserBuffer || parts->password.size() >= kPasswordBuffer) std::abort();
  if (parts->object.find('#') != std::string::npos || parts->port == 0) std::abort();

  const std::optional<UrlParts> again = CrackUrl(RequestUrl(*parts));
  if (!again || again->host != parts->host || again->port != parts->port ||
      again->object != parts->object || again->scheme != parts->scheme) {
    std::abort();
  }
  return 0;
}
