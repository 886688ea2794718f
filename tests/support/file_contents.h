#pragma once
// Test helper: a whole file's bytes as a string (empty when it cannot be read).

#include <fstream>
#include <sstream>
#include <string>

namespace tvime::testing {

inline std::string FileContents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace tvime::testing
