#include "engine/pinyin_input.h"

#include <algorithm>
#include <string>

#include "base/byte_reader.h"

namespace tvime {
namespace {

constexpr size_t kDefaultListSize = 400;

bool IsInitialToken(SyllableKey token) { return (token >> 8) == 0; }
std::uint8_t InitialOf(SyllableKey key) { return static_cast<std::uint8_t>(key & 0xFF); }
std::uint8_t FinalOf(SyllableKey key) { return static_cast<std::uint8_t>(key >> 8); }

}  // namespace

std::string_view TokenText(SyllableKey token) {
  if (IsInitialToken(token)) {
    return InitialOf(token) < kInitials.size() ? kInitials[InitialOf(token)] : std::string_view();
  }
  return FinalOf(token) < kFinals.size() ? kFinals[FinalOf(token)] : std::string_view();
}

bool PinyinInput::LoadPinyinTable(const ResourceSource* module) {
  std::optional<ByteSpan> resource = module ? module->FindData("WDPINYIN.BIN") : std::nullopt;
  if (!resource) {
    rowValues_.clear();
    rowStarts_.assign(kSyllableRowCount + 1, 0);
    OfferFinals(0, 0);
    return false;
  }
  return LoadPinyinTableFromBytes(*resource);
}

bool PinyinInput::LoadPinyinTableFromBytes(ByteSpan resource) {
  rowValues_.clear();
  rowStarts_.assign(kSyllableRowCount + 1, 0);
  ByteReader reader(resource);
  std::uint32_t rowCount = 0;
  bool intact = reader.ReadU32(rowCount);
  // The character lists start after every row's count, even rows beyond the table's.
  intact = intact && resource.size() >= 4 + 4 * size_t{rowCount};
  if (intact) rowValues_.reserve((resource.size() - 4 - 4 * size_t{rowCount}) / 2);
  ByteReader counts(resource, 4);
  ByteReader values(resource, 4 + 4 * size_t{rowCount});
  for (size_t row = 0; row < kSyllableRowCount; ++row) {
    std::uint32_t chars = 0;
    if (intact && row < rowCount) counts.ReadU32(chars);
    for (std::uint32_t c = 0; intact && c < chars; ++c) {
      std::uint16_t index = 0;
      intact = values.ReadU16(index);  // a list that runs past the end stops there
      if (intact) rowValues_.push_back(index);
    }
    rowStarts_[row + 1] = static_cast<std::uint32_t>(rowValues_.size());
  }
  OfferFinals(0, 0);
  return intact;
}

namespace {

// How many of the tokens after `start` join it into the longest syllable of the table whose
// final is a final button's, without crossing a separator; 0 when none does.
size_t LongestSyllableAfter(const std::vector<SyllableKey>& tokens, size_t start) {
  constexpr size_t kLongestFinal = 4;  // iang, iong, uang
  const std::uint8_t initial = IsInitialToken(tokens[start]) ? InitialOf(tokens[start]) : 0;
  std::string finalText(IsInitialToken(tokens[start]) ? std::string_view()
                                                      : TokenText(tokens[start]));
  size_t longest = 0;
  for (size_t next = start + 1; next < tokens.size(); ++next) {
    if (tokens[next] == InitialToken(kSeparatorInitial)) break;
    finalText += TokenText(tokens[next]);
    if (finalText.size() > kLongestFinal) break;
    if (FindFinal(finalText) && FindSyllable(std::string(kInitials[initial]) + finalText)) {
      longest = next - start;
    }
  }
  return longest;
}

}  // namespace

void PinyinInput::SegmentTokens() {
  keys.clear();
  keyStarts.clear();
  size_t next = 0;
  while (next < tokens.size()) {
    const size_t begin = next;
    SyllableKey start = tokens[next++];
    if (start == InitialToken(kSeparatorInitial)) continue;  // nothing to separate yet
    std::uint8_t initial = IsInitialToken(start) ? InitialOf(start) : 0;
    std::string finalText(IsInitialToken(start) ? std::string_view() : TokenText(start));
    size_t joined = 0;  // tokens after `start` that went into the final

    // Grow the final with the following clicks while they still spell a final.
    while (next < tokens.size()) {
      if (tokens[next] == InitialToken(kSeparatorInitial)) {
        ++next;
        break;
      }
      std::string grown = finalText + std::string(TokenText(tokens[next]));
      size_t used = 1;
      if (!FindFinal(grown)) {
        if (next + 1 >= tokens.size()) break;
        grown += TokenText(tokens[next + 1]);
        used = 2;
        if (!FindFinal(grown)) break;
      }
      // At the end of the clicks the grown syllable must exist; otherwise the syllable ends here
      // and the last click starts the next one (a click between them is dropped).
      if (next + used == tokens.size() && !FindSyllable(std::string(kInitials[initial]) + grown)) {
        next = tokens.size() - 1;
        break;
      }
      finalText = grown;
      next += used;
      joined += used;
    }
    // Growing two clicks at a time cannot reach every syllable (j i o n g: "io" and "ion" are no
    // finals, so it stopped at ji). A longer syllable of the table spelled by the same clicks wins.
    if (size_t longest = LongestSyllableAfter(tokens, begin); longest > joined) {
      finalText = IsInitialToken(start) ? std::string() : std::string(TokenText(start));
      for (size_t k = begin + 1; k <= begin + longest; ++k) finalText += TokenText(tokens[k]);
      next = begin + 1 + longest;
    }
    std::uint8_t final = FindFinal(finalText).value_or(0);
    keys.push_back(static_cast<SyllableKey>((final << 8) | initial));
    keyStarts.push_back(begin);
  }
}

void PinyinInput::AddInitialToken(std::uint8_t initial) {
  // A separator separates something: first or twice in a row it would be a click nobody sees
  // that Backspace must take back all the same.
  if (initial == kSeparatorInitial &&
      (tokens.empty() || tokens.back() == InitialToken(kSeparatorInitial))) {
    return;
  }
  // z, c or s followed by h is one initial: zh, ch, sh.
  if (!tokens.empty() && IsInitialToken(tokens.back())) {
    std::string joined = std::string(TokenText(tokens.back())) + std::string(TokenText(initial));
    if (std::optional<std::uint8_t> combined = FindInitial(joined)) {
      tokens.pop_back();
      initial = *combined;
    }
  }
  OfferFinals(initial, 0);
  tokens.push_back(InitialToken(initial));
}

void PinyinInput::AddFinalToken(std::uint8_t final) {
  if (!tokens.empty() && !IsInitialToken(tokens.back()) &&
      IsStrictExtension(kFinals[final], TokenText(tokens.back()))) {
    tokens.back() = FinalToken(final);
  } else {
    tokens.push_back(FinalToken(final));
  }
  OfferFinals(keys.empty() ? 0 : InitialOf(keys.back()), final);
}

bool PinyinInput::RemoveLastToken() {
  if (tokens.empty()) {
    keys.clear();
    keyStarts.clear();
    OfferFinals(0, 0);
    return false;
  }
  tokens.pop_back();
  SegmentTokens();
  if (!keys.empty()) {
    OfferFinals(InitialOf(keys.back()), FinalOf(keys.back()));
    LookupPinyin();
  } else {
    OfferFinals(0, 0);
  }
  return true;
}

void PinyinInput::ClearPinyin() {
  tokens.clear();
  keys.clear();
  keyStarts.clear();
  phraseList.clear();
  OfferFinals(0, 0);
}

void PinyinInput::OfferFinals(std::uint8_t initial, std::uint8_t final) {
  finalList.clear();
  if (initial == 0 && final == 0) {
    size_t size = std::min(kDefaultListSize, lexicon_.characters().count);
    charList.resize(size);
    for (size_t i = 0; i < size; ++i) charList[i] = static_cast<CharIndex>(i);
    return;
  }
  std::string query(final < kFinals.size() ? kFinals[final] : std::string_view());
  std::vector<const Syllable*> offered;
  for (const Syllable& syllable : Syllables()) {
    // A syllable whose final has no button (gad, masi) cannot be offered.
    if (syllable.initial != initial || syllable.final == 0 || syllable.finalText.size() < 2) {
      continue;
    }
    if (StrokePrefixMatch(kFinals[syllable.final].data(), query)) offered.push_back(&syllable);
  }
  std::stable_sort(offered.begin(), offered.end(), [](const Syllable* a, const Syllable* b) {
    if (a->finalText.size() != b->finalText.size())
      return a->finalText.size() < b->finalText.size();
    return a->weight > b->weight;
  });
  for (const Syllable* syllable : offered) finalList.push_back(syllable->final);
}

void PinyinInput::LookupPinyin() {
  charList.clear();
  phraseList.clear();
  if (keys.size() == 1) {
    LookupCharacters(keys.front());
  } else {
    if (keys.size() >= 2) LookupPhrases();
    ClearContext();
  }
}

void PinyinInput::LookupCharacters(SyllableKey key) {
  const CharacterDictionary& chars = lexicon_.characters();
  const bool big = lexicon_.BigCharset();
  CharKeySet taken;
  const auto& syllables = Syllables();
  for (size_t row = 0; row < kSyllableRowCount; ++row) {
    if (!SyllableKeyMatch(key, syllables[row].Key())) continue;
    for (CharIndex index : RowAt(row)) {
      if (index >= chars.count) continue;
      const CharEntry& entry = chars.EntryAt(index);
      if (!big && !entry.IsCommon()) continue;
      std::uint16_t text = CharKey(entry.text);
      if (taken.Contains(text)) continue;  // one candidate per character
      taken.Insert(text);
      charList.push_back(index);
    }
  }
  // The stroke search's ranking: weight, then the common flag, then dictionary order.
  std::sort(charList.begin(), charList.end(), [&chars](CharIndex a, CharIndex b) {
    const CharEntry& x = chars.EntryAt(a);
    const CharEntry& y = chars.EntryAt(b);
    if (x.weight != y.weight) return x.weight > y.weight;
    if (x.IsCommon() != y.IsCommon()) return x.IsCommon();
    return a < b;
  });
}

void PinyinInput::LookupPhrases() {
  const CharacterDictionary& chars = lexicon_.characters();
  const auto& syllables = Syllables();
  // Every character of the first syllable, common or not, once each, by dictionary position.
  std::vector<CharIndex> firsts;
  CharKeySet taken;
  for (size_t row = 0; row < kSyllableRowCount; ++row) {
    if (!SyllableKeyMatch(keys.front(), syllables[row].Key())) continue;
    for (CharIndex index : RowAt(row)) {
      if (index < chars.count) firsts.push_back(index);
    }
  }
  std::sort(firsts.begin(), firsts.end());
  for (CharIndex index : firsts) {
    std::uint16_t text = CharKey(chars.EntryAt(index).text);
    if (taken.Contains(text)) continue;
    taken.Insert(text);
    for (std::uint32_t phrase : lexicon_.PhrasesStartingWith(chars.EntryAt(index).text)) {
      PhraseEntry entry = lexicon_.phrases().EntryAt(phrase);
      if (entry.charCount < keys.size()) continue;
      bool matches = true;
      for (size_t j = 0; j < keys.size() && matches; ++j) {
        matches = SyllableKeyMatch(keys[j], entry.SyllableKeyAt(j));
      }
      if (matches) phraseList.push_back(phrase);
    }
  }
  // Shortest first, whatever the phrase sort setting says.
  std::sort(phraseList.begin(), phraseList.end(), [this](std::uint32_t a, std::uint32_t b) {
    std::uint8_t la = lexicon_.phrases().CharCountAt(a), lb = lexicon_.phrases().CharCountAt(b);
    return la != lb ? la < lb : a < b;
  });
}

}  // namespace tvime
