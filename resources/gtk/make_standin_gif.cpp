// Writes the stand-in loading animation to the file named by its argument.
#include <cstdio>

#include "resources/gtk/gif_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::vector<unsigned char> bytes =
      orvane::gifwriter::Encode(orvane::gifwriter::LoadingStandIn());
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out || bytes.empty()) return 1;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && written ? 0 : 1;
}
