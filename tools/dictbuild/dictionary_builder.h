#pragma once
// Writes dictionaries in the binary layouts the lexicon loads. Used by the build (from the text
// tables under data/, see data_tables.h) and by tests (from hand-built records).

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tvime {

// One character entry; texts are GBK bytes without their NUL.
struct CharRecord {
  std::string text;
  std::string code;
  std::string annotation;
  std::uint8_t flags = 0;
  std::uint16_t weight = 0;
};

// The decoded "words.bin": container header, count, descriptors and texts.
std::vector<std::uint8_t> BuildCharacterDictionary(const std::vector<CharRecord>& records);

// One phrase; the text is GBK bytes without its NUL, one syllable key per character.
struct PhraseRecord {
  std::string text;
  std::vector<std::uint16_t> syllableKeys;
};

// The decoded "phrase.bin": header, count, length bytes and phrase blocks.
std::vector<std::uint8_t> BuildPhraseDictionary(const std::vector<PhraseRecord>& records);

// One context of the next-word model: the character before the key, the key and what followed
// them with how often; texts are GBK bytes.
struct NextWordRecord {
  std::string before;
  std::string key;
  std::vector<std::pair<std::string, std::uint16_t>> continuations;
};

// The decoded "nextword.bin": header, context count, record offsets and records, sorted by
// BEFORE+KEY as bytes (the order the model searches in). Throws on a malformed or repeated
// context.
std::vector<std::uint8_t> BuildNextWordModel(std::vector<NextWordRecord> records);

// The decoded "extra.bin": header, group count and one pair list per group.
using TextPairs = std::vector<std::pair<std::string, std::string>>;
std::vector<std::uint8_t> BuildRadicalGroups(const std::vector<TextPairs>& groups);

// A pair list (count, reserved, length bytes, texts), without container header.
std::vector<std::uint8_t> BuildPairList(const TextPairs& pairs);

// A container holding the given payload, unscrambled; the header is set to the full length.
std::vector<std::uint8_t> Container(const std::vector<std::uint8_t>& payload);

// Sets the container's total length and scrambles its payload as the loader expects for `kind`.
void SealContainer(std::vector<std::uint8_t>& container, int kind);

// The plain "WDPINYIN.BIN": row count, each row's count, then the rows' character indexes.
std::vector<std::uint8_t> BuildPinyinTable(const std::vector<std::vector<std::uint16_t>>& rows);

}  // namespace tvime
