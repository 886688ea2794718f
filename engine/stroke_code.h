#pragma once
// Character keys, stroke codes and candidate identifiers shared by every dictionary and search.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tvime {

// Position of an entry in the character dictionary.
using CharIndex = std::uint16_t;
// Value in the main and association candidate lists: a CharIndex, a radical-group position or a
// phrase index, or, with kUserWordBit set, a user-word number in the low 31 bits.
using CandidateId = std::uint32_t;
// Pinyin key: initial index in the low byte, final index in the high byte.
using SyllableKey = std::uint16_t;

inline constexpr CandidateId kUserWordBit = 0x80000000u;

// The key of a GBK character: its first two bytes read little-endian. A text shorter than two
// bytes is taken with its terminating NUL.
constexpr std::uint16_t CharKey(std::string_view text) {
  unsigned lo = text.size() > 0 ? static_cast<unsigned char>(text[0]) : 0;
  unsigned hi = text.size() > 1 ? static_cast<unsigned char>(text[1]) : 0;
  return static_cast<std::uint16_t>(lo | (hi << 8));
}

// The stroke letters that carry meaning in a query: "?" stands for any one stroke (and for the
// end of a code), "t" also matches a stored "a", "'" separates the characters of a phrase query.
inline constexpr char kAnyStroke = '?';
inline constexpr char kPhraseSeparator = '\'';

// The stroke alphabet of the panel: index i is stroke button i (横 竖 撇 点 折 提 竖钩 捺, any
// stroke, separator).
inline constexpr std::string_view kStrokeCodes = "asdfgthn?'";

// The input as the lexicon searches it: 提, 竖钩 and 捺 ("t", "h", "n") as 横, 竖 and 点.
std::string FoldStrokes(std::string_view input);

// A phrase query split at every separator into the codes of its characters; an input without a
// separator (also the empty one) is one part.
std::vector<std::string_view> SplitAtSeparators(std::string_view input);

// Prefix match of a stored code against a query, with the "?" and "t" rules. `code` is the stored
// NUL-terminated code; an empty query matches every code.
bool StrokePrefixMatch(const char* code, std::string_view query);

// True when `text` begins with `key` byte for byte and is longer than it (no wildcard rules).
bool IsStrictExtension(std::string_view text, std::string_view key);

}  // namespace tvime
