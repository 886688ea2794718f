#pragma once
// Writes dictionaries in the layouts the lexicon loads. Used by the build (from the text tables
// under data/) and by tests (from hand-built records).

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

// Reads the UTF-8 character table (data/words.txt). Throws std::runtime_error naming the line
// of the first malformed record.
std::vector<CharRecord> ParseCharacterTable(std::string_view utf8Table);

// Reads the phrase table (data/phrases.txt): PHRASE<TAB>SYLLABLES, one toneless syllable of the
// built-in table per character.
std::vector<PhraseRecord> ParsePhraseTable(std::string_view utf8Table);

// Reads the syllable table (data/pinyin.txt): SYLLABLE<TAB>CHARACTERS for every syllable of the
// built-in table in its order; characters become their positions in `characters`.
std::vector<std::vector<std::uint16_t>> ParsePinyinTable(std::string_view utf8Table,
                                                         const std::vector<CharRecord>& characters);

// Reads the radical list (data/radicals.txt): NUMBER<TAB>FORM<TAB>CODE<TAB>..., in list order.
// The result starts with the placeholder entry 0.
TextPairs ParseRadicalList(std::string_view utf8Table);

// Reads the radical groups (data/radical_groups.txt): NUMBER<TAB>CHARACTER<TAB>REST for
// characters and NUMBER<TAB>@OTHER<TAB>CODE for links to other radicals, grouped by NUMBER.
std::vector<TextPairs> ParseRadicalGroups(std::string_view utf8Table);

}  // namespace tvime
