#pragma once
// The text listings of the query tool, shared with the Windows tests that compare a Windows
// build's search results with the host's. Every listing is UTF-8, one candidate per line as
// rank<TAB>text<TAB>..., rank from 1; lines starting with "#" head the parts of a listing.

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "engine/lexicon.h"
#include "engine/pinyin_input.h"

namespace tvime {

// The character candidates of a stroke query: rank, character, code, weight.
void ListStrokeCandidates(Lexicon& lexicon, std::string_view query, std::ostream& out);

// A phrase query "CODE'CODE...": the characters of the first part, then the phrases.
void ListPhraseCandidates(Lexicon& lexicon, std::string_view input, std::ostream& out);

// Commits each text in turn as the session does and lists the association offered after the
// last: rank, text, and "user" for user words.
void ListAssociation(Lexicon& lexicon, std::span<const std::string> utf8Texts, std::ostream& out);

// Spells pinyin letters with the panel's initial and final buttons ("'" separates syllables)
// and lists the characters (rank, character, readings) or the phrases found.
void ListPinyinCandidates(PinyinInput& pinyin, const Lexicon& lexicon, std::string_view letters,
                          std::ostream& out);

// Radicals whose code matches the strokes: rank, radical number, code.
void ListRadicals(Lexicon& lexicon, std::string_view query, std::ostream& out);

// The characters of a radical group for the strokes typed after the radical (rank, character,
// rest code, weight), then the group's matching radical links.
void ListRadicalGroup(Lexicon& lexicon, size_t group, std::string_view query, std::ostream& out);

}  // namespace tvime
