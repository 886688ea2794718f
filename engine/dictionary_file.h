#pragma once
// The common base of every dictionary: the decoded bytes of one data resource (container header
// included) and the records parsed from it. The bytes are a copy of the dictionary's own, or, from
// a source whose bytes are decoded already (a mapped cache every process shares), that source's
// own bytes. Parsed texts point into them; nothing is copied per entry.
//
// Container layout (little-endian): 4 bytes total length including this field, then the payload,
// scrambled as the load call says. Every parser checks each length against the buffer: damaged
// data keeps the entries before the damage, never reads past the copy.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/resources.h"
#include "engine/scramble.h"

namespace tvime {

// The scrambled dictionaries among the module's resources, and how each is scrambled.
struct DictionaryResource {
  std::string_view name;
  int kind;
};
inline constexpr DictionaryResource kCharacterResource{"words.bin", SCRAMBLE_BLOCK};
inline constexpr DictionaryResource kRadicalGroupResource{"extra.bin", SCRAMBLE_BLOCK};
inline constexpr DictionaryResource kRadicalResource{"pianpang.bin", SCRAMBLE_BLOCK};
inline constexpr DictionaryResource kPhraseResource{"phrase.bin", SCRAMBLE_XOR};
inline constexpr DictionaryResource kNextWordResource{"nextword.bin", SCRAMBLE_XOR};
inline constexpr std::array kDictionaryResources{kCharacterResource, kRadicalGroupResource,
                                                 kRadicalResource, kPhraseResource,
                                                 kNextWordResource};
// The name under which a source of decoded bytes holds a dictionary's serialized index.
inline std::string IndexResourceName(std::string_view dictionary) {
  return std::string(dictionary) + ".index";
}

// How much of an index AdoptIndex checks against the buffer: everything every lookup will read
// (each entry), or only its shape (counts and sizes) for an index whose entries were checked
// against these very bytes already. Walking every entry touches every page of the index and of
// the dictionary, most of a later process's start.
enum class IndexCheck { Entries, Shape };

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

  // Copies resource `name` of `module` and descrambles its payload, then parses it; a source of
  // decoded bytes is parsed in place. Returns false when the resource is missing (the dictionary
  // stays empty) or damaged (the intact entries are kept).
  virtual bool LoadFromResource(const ResourceSource* module, std::string_view name, int kind);
  bool LoadFromResource(const ResourceSource* module, const DictionaryResource& resource) {
    return LoadFromResource(module, resource.name, resource.kind);
  }
  // Builds the entries from the buffer; the base class reads one pair list at offset 4.
  virtual bool Parse();
  // What Parse builds beyond the entries, for dictionaries whose indexes are worth sharing between
  // processes; AdoptIndex takes such bytes (which must outlive the dictionary) instead of
  // building them, and is false when they do not fit the buffer (nothing is then adopted).
  virtual std::vector<std::uint8_t> SerializeIndex() const { return {}; }
  virtual bool AdoptIndex(ByteSpan /*index*/, IndexCheck /*check*/ = IndexCheck::Entries) {
    return false;
  }
  virtual bool IsLoaded() const { return count != 0; }

  // The same as LoadFromResource, from bytes already at hand.
  bool LoadFromBytes(ByteSpan resource, int kind);
  // Parses decoded bytes in place, or adopts `index` for them when it fits; both must outlive
  // the dictionary, or its next load.
  bool LoadFromDecodedBytes(ByteSpan decoded, std::optional<ByteSpan> index = std::nullopt,
                            IndexCheck check = IndexCheck::Entries);

  // Whether `index` fits `decoded` in every entry (nothing is kept loaded).
  bool IndexFits(ByteSpan decoded, ByteSpan index);

  const TextPair& PairAt(size_t i) const { return pairs[i]; }

  size_t count = 0;

 protected:
  // Drops the parsed entries and the buffer.
  virtual void Clear();

  ByteSpan buffer;              // the decoded bytes: owned_, or a decoded source's
  std::vector<TextPair> pairs;  // the base class's own entries

 private:
  std::vector<std::uint8_t> owned_;
};

// The decoded bytes of a dictionary resource as stored (its container header included), as a
// dictionary loads them: false when the resource is too short for a header.
bool DecodeResource(ByteSpan resource, int kind, std::vector<std::uint8_t>& out);

// Parses the pair list that starts at `offset` of `buffer` into `out` (appending). Returns the
// offset just past the list's last text, or 0 when the list is damaged (the intact pairs are kept).
size_t ParsePairList(std::span<const std::uint8_t> buffer, size_t offset,
                     std::vector<TextPair>& out);

// Validates a text of `length` bytes at `offset` that must hold its NUL inside that length, and
// returns it; nullptr when it does not fit or has no NUL.
const char* TextAt(std::span<const std::uint8_t> buffer, size_t offset, size_t length);

}  // namespace tvime
