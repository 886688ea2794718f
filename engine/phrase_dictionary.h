#pragma once
// The phrase dictionary ("phrase.bin"): multi-character words in ranking order, each with the
// pinyin syllable key of every character.
//
// Decoded layout (little-endian): 4 total length (0: no phrases), 4 phrase count M (cut to
// 0xFFFFFF), M length bytes L, then one block of L + 4 bytes per phrase: n = (L - 1) div 4
// characters and a NUL, n syllable keys, and bytes the program does not interpret.

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "engine/dictionary_file.h"
#include "engine/stroke_code.h"

namespace tvime {

struct PhraseEntry {
  const char* text;                  // 2 * charCount bytes and a NUL
  const std::uint8_t* syllableKeys;  // charCount little-endian SyllableKeys, unaligned
  std::uint8_t charCount;

  SyllableKey SyllableKeyAt(size_t i) const {
    return static_cast<SyllableKey>(syllableKeys[2 * i] | (syllableKeys[2 * i + 1] << 8));
  }
};

class PhraseDictionary : public DictionaryFile {
 public:
  bool Parse() override;

  // Indexes of the phrases that begin with the text's first character, ascending; owned by the
  // dictionary.
  const std::vector<std::uint32_t>& PhrasesStartingWith(std::string_view text) const;
  // True when some phrase's text equals `text`.
  bool Contains(std::string_view text) const;

  const PhraseEntry& EntryAt(size_t i) const { return entries[i]; }

  std::vector<PhraseEntry> entries;
  std::map<std::uint16_t, std::vector<std::uint32_t>> byFirstChar;

 protected:
  void Clear() override;
};

}  // namespace tvime
