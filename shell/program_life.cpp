#include "shell/program_life.h"

namespace orvane {

std::optional<std::string_view> ProgramDirectory(std::string_view path, LeadBytePredicate is_lead) {
  std::optional<std::size_t> last;
  for (std::size_t i = 0; i < path.size() && path[i] != '\0'; ++i) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (byte == '\\') {
      last = i;
    } else if (is_lead(byte) && i + 1 < path.size() && path[i + 1] != '\0') {
      ++i;  // the trail byte belongs to this character
    }
  }
  if (!last) return std::nullopt;
  return path.substr(0, *last);
}

bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace orvane
