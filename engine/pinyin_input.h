#pragma once
// Pinyin spelled by clicks: the state the pinyin sub-panel keeps (the clicked pieces, the
// syllables made of them, the candidate lists) and the lookups that fill it.
//
// "WDPINYIN.BIN" (plain, little-endian): 4 row count R (the 417 syllable rows), 4 x R character
// counts, then the CharIndex values of row 0, row 1, and so on.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "base/resources.h"
#include "engine/lexicon.h"
#include "engine/pinyin_syllables.h"

namespace tvime {

class PinyinInput {
 public:
  explicit PinyinInput(const Lexicon& lexicon) : lexicon_(lexicon) {}

  // Loads "WDPINYIN.BIN" and shows the default list; false (and empty rows) when it is absent.
  bool LoadPinyinTable(const ResourceSource* module);
  bool LoadPinyinTableFromBytes(ByteSpan resource);

  // Rebuilds `keys` from `tokens`.
  void SegmentTokens();
  // A separator first or right after another one is refused.
  void AddInitialToken(std::uint8_t initial);
  void AddFinalToken(std::uint8_t final);
  // Takes back the last click; false when there was none.
  bool RemoveLastToken();
  // Empties the clicks and shows the default list.
  void ClearPinyin();
  // Fills charList (one syllable) or phraseList (several) from `keys`.
  void LookupPinyin();
  // Fills finalList with the longer finals that continue (initial, final); with neither, shows
  // the default character list instead.
  void OfferFinals(std::uint8_t initial, std::uint8_t final);

  // Called when a lookup empties the session's context text (association stops).
  void SetContextCleared(std::function<void()> callback) { contextCleared_ = std::move(callback); }

  std::span<const CharIndex> RowAt(size_t row) const {
    return std::span(rowValues_).subspan(rowStarts_[row], rowStarts_[row + 1] - rowStarts_[row]);
  }

  // A token holds only an initial (low byte; the separator is initial 24) or only a final.
  std::vector<SyllableKey> tokens;
  std::vector<SyllableKey> keys;
  std::vector<size_t> keyStarts;  // the position in `tokens` where each key's clicks start
  std::vector<CharIndex> charList;
  std::vector<std::uint32_t> phraseList;
  std::vector<std::uint8_t> finalList;

 private:
  void LookupCharacters(SyllableKey key);
  void LookupPhrases();
  void ClearContext() {
    if (contextCleared_) contextCleared_();
  }

  const Lexicon& lexicon_;
  // The rows back to back (one allocation, not one per row: the table is read at every start);
  // row r is rowValues_[rowStarts_[r], rowStarts_[r + 1]).
  std::vector<CharIndex> rowValues_;
  std::vector<std::uint32_t> rowStarts_ = std::vector<std::uint32_t>(kSyllableRowCount + 1);
  std::function<void()> contextCleared_;
};

// The text a token contributes when syllables are joined: an initial's letters or a final's.
std::string_view TokenText(SyllableKey token);

inline SyllableKey InitialToken(std::uint8_t initial) { return initial; }
inline SyllableKey FinalToken(std::uint8_t final) { return static_cast<SyllableKey>(final << 8); }

}  // namespace tvime
