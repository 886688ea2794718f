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

// Character key -> CharIndex, one slot per possible key; the first entry of a character wins.
class CharKeyMap {
 public:
  bool TryInsert(std::uint16_t key, CharIndex index);
  // nullptr when the key is absent.
  const CharIndex* Find(std::uint16_t key) const {
    return present_.Contains(key) ? &slots_[key] : nullptr;
  }
  void Clear();

 private:
  std::vector<CharIndex> slots_;
  CharKeySet present_;
};

class CharacterDictionary : public DictionaryFile {
 public:
  bool Parse() override;

  // The ranked character list for a stroke query: exact matches in dictionary order, then prefix
  // matches by weight, at most 400. The prefix matches are taken from the first 400 matches in
  // dictionary order; exact matches from the whole searched block. With `bigCharset` false only
  // the common block is searched.
  void FindByStrokes(std::string_view query, bool bigCharset, std::vector<CandidateId>& out) const;

  bool IsCommonChar(std::string_view character) const;
  // 0 when the character has no entry (0 is also the first entry's index).
  CharIndex IndexOfChar(std::string_view character) const;
  // The empty text when the character has no entry.
  std::string_view CodeOfChar(std::string_view character) const;
  std::string_view AnnotationOfChar(std::string_view character) const;
  std::string_view CodeOfIndex(CharIndex index) const;

  const CharEntry& EntryAt(size_t i) const { return entries[i]; }

  std::vector<CharEntry> entries;
  CharKeySet commonChars;
  CharKeyMap indexOfChar;
  // Entry indexes by code length, ascending: where an exact match can still be beyond the first
  // 400 matches, only entries of the query's length need a look.
  std::vector<std::vector<CharIndex>> indexesByCodeLength;

 protected:
  void Clear() override;

 private:
  const CharEntry* EntryOf(std::string_view character) const;
};

}  // namespace tvime
