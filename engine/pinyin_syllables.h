#pragma once
// The pinyin tables built into the program: 25 initials, 37 finals and 417 syllables (row 0
// empty, rows sorted by syllable text), each syllable split into its initial and final.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/stroke_code.h"

namespace tvime {

inline constexpr std::array<std::string_view, 25> kInitials = {
    "",  "b", "c", "d", "f", "g", "h", "j", "k",  "l",  "m",  "n", "p",
    "q", "r", "s", "t", "w", "x", "y", "z", "zh", "ch", "sh", "'"};
// The separator between syllables is clicked like an initial.
inline constexpr std::uint8_t kSeparatorInitial = 24;

// v stands for ü everywhere.
inline constexpr std::array<std::string_view, 37> kFinals = {
    "",    "a",   "o",   "e",   "i",   "u",   "v",   "ai",  "an",   "ao",   "ei",  "en", "er",
    "ia",  "ie",  "in",  "iu",  "ng",  "ou",  "ua",  "ue",  "ui",   "un",   "uo",  "ve", "ang",
    "eng", "eui", "ian", "iao", "ing", "ong", "uai", "uan", "iang", "iong", "uang"};

struct SyllableRow {
  std::string_view text;  // toneless, ü written v
  std::uint8_t weight;    // 0-255
};

inline constexpr size_t kSyllableRowCount = 417;
extern const std::array<SyllableRow, kSyllableRowCount> kSyllableRows;

// A syllable row with its split: the initial is the longest initial that begins the syllable
// (zh before z), the final the rest (0 when that text is no final); ng alone is a final.
struct Syllable {
  std::string_view text;
  std::string_view finalText;
  std::uint8_t weight;
  std::uint8_t initial;
  std::uint8_t final;

  SyllableKey Key() const { return static_cast<SyllableKey>((final << 8) | initial); }
};

// The rows with their splits, computed once.
const std::array<Syllable, kSyllableRowCount>& Syllables();

// The row of a syllable text (binary search); nullopt for none.
std::optional<size_t> FindSyllable(std::string_view text);
std::optional<std::uint8_t> FindInitial(std::string_view text);
std::optional<std::uint8_t> FindFinal(std::string_view text);

// A query key holding only an initial matches every syllable with that initial.
constexpr bool SyllableKeyMatch(SyllableKey query, SyllableKey stored) {
  return query == stored || query == (stored & 0xFF);
}

}  // namespace tvime
