#pragma once
// The phrase dictionary ("phrase.bin"): multi-character words in ranking order, each with the
// pinyin syllable key of every character.
//
// Decoded layout (little-endian): 4 total length (0: no phrases), 4 phrase count M (cut to
// 0xFFFFFF), M length bytes L, then one block of L + 4 bytes per phrase: n = (L - 1) div 4
// characters and a NUL, n syllable keys, and bytes the program does not interpret.
//
// Every process that loads the engine holds its own copy of a quarter of a million phrases, so
// the in-memory index is kept small: one 32-bit text offset per phrase, and the phrases by first
// character as one array of indexes grouped by key.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "engine/dictionary_file.h"
#include "engine/stroke_code.h"

namespace tvime {

inline constexpr size_t kMaxPhraseChars = 63;

struct PhraseEntry {
  const char* text;                  // 2 * charCount bytes and a NUL
  const std::uint8_t* syllableKeys;  // charCount little-endian SyllableKeys, unaligned
  std::uint8_t charCount;

  std::string_view Text() const { return {text, 2 * size_t{charCount}}; }
  std::string_view CharAt(size_t i) const { return {text + 2 * i, 2}; }
  SyllableKey SyllableKeyAt(size_t i) const {
    return static_cast<SyllableKey>(syllableKeys[2 * i] | (syllableKeys[2 * i + 1] << 8));
  }
};

class PhraseDictionary : public DictionaryFile {
 public:
  bool Parse() override;

  PhraseEntry EntryAt(size_t i) const;
  std::uint8_t CharCountAt(size_t i) const { return CharCountOf(buffer[kLengthsOffset + i]); }

  // Indexes of the phrases that begin with the text's first character, ascending; owned by the
  // dictionary. Empty when there are none.
  std::span<const std::uint32_t> PhrasesStartingWith(std::string_view text) const;
  // True when some phrase's text equals `text`.
  bool Contains(std::string_view text) const;

  // The indexes Parse builds, as bytes that AdoptIndex takes back: the image every process maps
  // holds them beside the dictionary, so that no process builds or keeps its own.
  std::vector<std::uint8_t> SerializeIndex() const override;
  bool AdoptIndex(ByteSpan index, IndexCheck check = IndexCheck::Entries) override;

 protected:
  void Clear() override;

 private:
  static constexpr size_t kLengthsOffset = 8;
  void DropIndex();
  // Whether every phrase and first-character list of an index lies inside the buffer.
  bool EntriesFit(std::span<const std::uint32_t> offsets,
                  std::span<const std::uint32_t> byFirst) const;
  static std::uint8_t CharCountOf(std::uint8_t length) {
    return static_cast<std::uint8_t>(length == 0 ? 0 : (length - 1) / 4);
  }

  // The indexes, each a view of the vector below it or of an adopted index.
  std::span<const std::uint32_t> textOffsets_;
  // byFirstChar: the phrase indexes grouped by the key of their first character (keys ascending,
  // indexes ascending within a key); firstKeys_[k] starts at firstKeyStarts_[k].
  std::span<const std::uint32_t> byFirstChar_;
  std::span<const std::uint16_t> firstKeys_;
  std::span<const std::uint32_t> firstKeyStarts_;

  std::vector<std::uint32_t> ownTextOffsets_;
  std::vector<std::uint32_t> ownByFirstChar_;
  std::vector<std::uint16_t> ownFirstKeys_;
  std::vector<std::uint32_t> ownFirstKeyStarts_;
};

}  // namespace tvime
