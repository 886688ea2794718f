#pragma once
// The character dictionary ("words.bin"): every character with its stroke code, annotation,
// common flag and weight, and the stroke search over it.
//
// Decoded layout (offsets from the buffer start, little-endian): 4 total length, 2 entry count N,
// 2 reserved, N descriptors of 6 bytes (character length, code length, annotation length, each
// with its NUL; flags; 16-bit weight), then the three texts of each entry in entry order.
// Entry order is the ranking users see for exact matches: the common block first, each block by
// descending weight.

#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "engine/dictionary_file.h"
#include "engine/stroke_code.h"

namespace tvime {

inline constexpr std::uint8_t kCommonCharFlag = 0x01;
inline constexpr size_t kMaxMainCandidates = 400;

struct CharEntry {
  const char* text;        // the character, NUL-terminated
  const char* code;        // stroke code, NUL-terminated
  const char* annotation;  // pinyin readings shown in hover hints
  std::uint8_t flags;
  std::uint8_t codeLength;  // bytes before the code's NUL
  std::uint16_t weight;     // larger ranks earlier

  bool IsCommon() const { return (flags & kCommonCharFlag) != 0; }
};

// A set of character keys: one bit per possible key.
class CharKeySet {
 public:
  void Insert(std::uint16_t key) { bits_.set(key); }
  bool Contains(std::uint16_t key) const { return bits_.test(key); }
  void Clear() { bits_.reset(); }
  size_t size() const { return bits_.count(); }

 private:
  std::bitset<65536> bits_;
};

// One entry as the dictionary keeps it: where its texts are in the buffer. Plain offsets, so the
// records of a shared image are used in place by every process.
struct CharOffsets {
  std::uint32_t text;
  std::uint32_t code;
  std::uint32_t annotation;
  std::uint8_t flags;
  std::uint8_t codeLength;
  std::uint16_t weight;
};
static_assert(sizeof(CharOffsets) == 16);

// Lookups by character key (the character's two GBK bytes), one slot or bit per possible key.
struct CharLookup {
  CharIndex indexOfKey[65536];  // the first entry of the character; valid where `present`
  std::uint32_t present[2048];
  std::uint32_t common[2048];

  static bool Test(const std::uint32_t* bits, std::uint16_t key) {
    return (bits[key >> 5] >> (key & 31)) & 1;
  }
};

class CharacterDictionary : public DictionaryFile {
 public:
  bool Parse() override;
  // The records and lookups Parse builds: the image every process maps holds them once.
  std::vector<std::uint8_t> SerializeIndex() const override;
  bool AdoptIndex(ByteSpan index, IndexCheck check = IndexCheck::Entries) override;

  // The ranked character list for a stroke query: exact matches in dictionary order, then prefix
  // matches by weight, at most 400. The prefix matches are taken from the first 400 matches in
  // dictionary order; exact matches from the whole searched block. With `bigCharset` false only
  // the common block is searched.
  void FindByStrokes(std::string_view query, bool bigCharset, std::vector<CandidateId>& out) const;

  bool IsCommonChar(std::string_view character) const;
  // 0 when the character has no entry (0 is also the first entry's index).
  CharIndex IndexOfChar(std::string_view character) const;
  // nullptr when the character has no entry.
  const CharIndex* FindChar(std::uint16_t key) const;
  // The empty text when the character has no entry.
  std::string_view CodeOfChar(std::string_view character) const;
  std::string_view AnnotationOfChar(std::string_view character) const;
  std::string_view CodeOfIndex(CharIndex index) const;

  CharEntry EntryAt(size_t i) const;
  size_t CommonCount() const;

 protected:
  void Clear() override;

 private:
  void DropTables();
  // Whether every record, lookup slot and length list of an index lies inside the buffer.
  bool EntriesFit(std::span<const CharOffsets> records, const CharLookup& lookup,
                  std::span<const std::uint32_t> starts, std::span<const CharIndex> byLength) const;
  std::optional<CharEntry> EntryOf(std::string_view character) const;

  // Either built by Parse (the owned vectors) or adopted from an index in shared memory.
  std::span<const CharOffsets> records_;
  const CharLookup* lookup_ = nullptr;
  // Entry indexes by code length, ascending: where an exact match can still be beyond the first
  // 400 matches, only entries of the query's length need a look. The entries of length n are
  // byLength_[lengthStarts_[n] .. lengthStarts_[n + 1]).
  std::span<const std::uint32_t> lengthStarts_;
  std::span<const CharIndex> byLength_;

  std::vector<CharOffsets> ownRecords_;
  std::unique_ptr<CharLookup> ownLookup_;
  std::vector<std::uint32_t> ownLengthStarts_;
  std::vector<CharIndex> ownByLength_;
};

}  // namespace tvime
