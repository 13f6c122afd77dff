// What the fetch tests share: the folder their server fixture writes (its ports, its keys, what it
// saw), named by an environment variable.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace orvane::testing {

inline std::string ServerDir(const char* variable) {
  const char* dir = std::getenv(variable);
  return dir ? dir : "";
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace orvane::testing
