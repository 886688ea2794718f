#include "base/resources.h"

#include <filesystem>

#include "base/file_io.h"

namespace tvime {

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

DirectoryResources::DirectoryResources(std::string directory) : directory_(std::move(directory)) {}

std::optional<ByteSpan> DirectoryResources::FindData(std::string_view name) const {
  std::string key = LowerAscii(name);
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = cache_.find(key);
  if (it == cache_.end()) {
    std::optional<std::vector<std::uint8_t>> bytes;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(directory_, error)) {
      if (LowerAscii(file.path().filename().string()) == key) {
        bytes = ReadWholeFile(file.path().string());
        break;
      }
    }
    it = cache_.emplace(key, std::move(bytes)).first;
  }
  if (!it->second) return std::nullopt;
  return ByteSpan(*it->second);
}

void MemoryResources::Add(std::string_view name, std::vector<std::uint8_t> bytes) {
  data_[LowerAscii(name)] = std::move(bytes);
}

std::optional<ByteSpan> MemoryResources::FindData(std::string_view name) const {
  auto it = data_.find(LowerAscii(name));
  if (it == data_.end()) return std::nullopt;
  return ByteSpan(it->second);
}

}  // namespace tvime
