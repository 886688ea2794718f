#pragma once
// The common base of every dictionary: an owned copy of one data resource (container header
// included) and the records parsed from it. Parsed texts point into that copy; nothing is copied
// per entry.
//
// Container layout (little-endian): 4 bytes total length including this field, then the payload,
// scrambled as the load call says. Every parser checks each length against the buffer: damaged
// data keeps the entries before the damage, never reads past the copy.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/resources.h"
#include "engine/scramble.h"

namespace tvime {

// Two NUL-terminated texts inside a dictionary buffer.
struct TextPair {
  const char* first;
  const char* second;
};

class DictionaryFile {
 public:
  DictionaryFile() = default;
  DictionaryFile(const DictionaryFile&) = delete;
  DictionaryFile& operator=(const DictionaryFile&) = delete;
  virtual ~DictionaryFile() = default;

  // Copies resource `name` of `module` and descrambles its payload, then parses it. Returns false
  // when the resource is missing (the dictionary stays empty) or damaged (the intact entries are
  // kept).
  virtual bool LoadFromResource(const ResourceSource* module, std::string_view name, int kind);
  // Builds the entries from the buffer; the base class reads one pair list at offset 4.
  virtual bool Parse();
  virtual bool IsLoaded() const { return count != 0; }

  // The same as LoadFromResource, from bytes already at hand.
  bool LoadFromBytes(ByteSpan resource, int kind);

  const TextPair& PairAt(size_t i) const { return pairs[i]; }

  size_t count = 0;

 protected:
  // Drops the parsed entries and the buffer.
  virtual void Clear();

  std::vector<std::uint8_t> buffer;
  std::vector<TextPair> pairs;  // the base class's own entries
};

// Parses the pair list that starts at `offset` of `buffer` into `out` (appending). Returns the
// offset just past the list's last text, or 0 when the list is damaged (the intact pairs are kept).
size_t ParsePairList(std::span<const std::uint8_t> buffer, size_t offset,
                     std::vector<TextPair>& out);

// Validates a text of `length` bytes at `offset` that must hold its NUL inside that length, and
// returns it; nullptr when it does not fit or has no NUL.
const char* TextAt(std::span<const std::uint8_t> buffer, size_t offset, size_t length);

}  // namespace tvime
