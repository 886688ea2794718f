#pragma once
// Readers of the text tables under data/ (UTF-8, tab-separated, "#" comments). Each checks every
// record and throws std::runtime_error naming the line of the first bad one, so that a broken
// table stops the build instead of shipping a broken dictionary.

#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/dictbuild/dictionary_builder.h"

namespace tvime {

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

// Reads the next-word table (data/next_words.txt): BEFORE<TAB>KEY<TAB>REST:COUNT ..., where
// KEY+REST must be a phrase of `phrases`; counts above 65535 are cut to it.
std::vector<NextWordRecord> ParseNextWordTable(std::string_view utf8Table,
                                               const std::vector<PhraseRecord>& phrases);

}  // namespace tvime
