#include "base/file_io.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace tvime {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[16384];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

std::optional<std::vector<std::uint8_t>> ReadFileIfPresent(const std::string& path) {
  errno = 0;
  if (auto bytes = ReadWholeFile(path)) return bytes;
  if (errno == ENOENT) return std::vector<std::uint8_t>();
  return std::nullopt;
}

}  // namespace tvime
