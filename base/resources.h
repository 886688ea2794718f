#pragma once
// The resource seam: "give me the bytes of the data resource NAME".
//
// On Windows the bytes are RT_RCDATA resources of a loaded module; on a development host they are
// the same generated files, read from a directory. Names are matched without regard to case, as
// Windows matches resource names ("words.bin" finds "WORDS.BIN").

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tvime {

using ByteSpan = std::span<const std::uint8_t>;

class ResourceSource {
 public:
  virtual ~ResourceSource() = default;
  // The bytes of the data resource, valid for the life of this source; nullopt when absent.
  virtual std::optional<ByteSpan> FindData(std::string_view name) const = 0;
  // True when the resource's bytes are decoded already (descrambled, cut to their length), as in
  // the image of the dictionaries every process maps: dictionaries then use them in place.
  virtual bool Decoded(std::string_view /*name*/) const { return false; }
  // True when the indexes this source holds beside its decoded dictionaries are known to fit
  // them (checked when the source was opened, or vouched for by a process that checked the very
  // same bytes): dictionaries then adopt them without walking every entry.
  virtual bool IndexesChecked() const { return false; }
};

// Files of one directory stand for the resources; each file is read once, on first request.
class DirectoryResources : public ResourceSource {
 public:
  explicit DirectoryResources(std::string directory);
  std::optional<ByteSpan> FindData(std::string_view name) const override;

 private:
  std::string directory_;
  // Threads that each load a lexicon (tvime-typing-cost on a folder) share one source.
  mutable std::mutex mutex_;
  mutable std::map<std::string, std::optional<std::vector<std::uint8_t>>> cache_;
};

// Resources held in memory, as a test builds them.
class MemoryResources : public ResourceSource {
 public:
  void Add(std::string_view name, std::vector<std::uint8_t> bytes);
  std::optional<ByteSpan> FindData(std::string_view name) const override;

 private:
  std::map<std::string, std::vector<std::uint8_t>> data_;
};

std::string LowerAscii(std::string_view text);

}  // namespace tvime
