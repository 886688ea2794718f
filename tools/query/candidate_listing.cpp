#include "tools/query/candidate_listing.h"

#include <vector>

#include "base/gbk.h"

namespace tvime {
namespace {

void ListCharacters(const Lexicon& lexicon, std::span<const CandidateId> ids, std::ostream& out) {
  size_t rank = 0;
  for (CandidateId id : ids) {
    const CharEntry& entry = lexicon.characters().EntryAt(id);
    out << ++rank << '\t' << GbkToUtf8(entry.text) << '\t' << entry.code << '\t' << entry.weight
        << '\n';
  }
}

void ListPhrases(const Lexicon& lexicon, std::span<const std::uint32_t> ids, std::ostream& out) {
  size_t rank = 0;
  for (std::uint32_t id : ids) {
    out << ++rank << '\t' << GbkToUtf8(lexicon.CandidateText(id));
    if (id & kUserWordBit) out << "\tuser";
    out << '\n';
  }
}

// The longest entry of `table` that begins `text`, by index; nullopt for none.
template <size_t N>
std::optional<std::uint8_t> LongestPrefix(const std::array<std::string_view, N>& table,
                                          std::string_view text) {
  std::optional<std::uint8_t> best;
  for (size_t i = 1; i < N; ++i) {
    if (text.starts_with(table[i]) && (!best || table[i].size() > table[*best].size())) {
      best = static_cast<std::uint8_t>(i);
    }
  }
  return best;
}

}  // namespace

void ListStrokeCandidates(Lexicon& lexicon, std::string_view query, std::ostream& out) {
  std::vector<CandidateId> characters;
  lexicon.CharactersByStrokes(query, characters);
  ListCharacters(lexicon, characters, out);
}

void ListPhraseCandidates(Lexicon& lexicon, std::string_view input, std::ostream& out) {
  std::string folded = FoldStrokes(input);
  std::vector<std::string_view> parts = SplitAtSeparators(folded);
  std::vector<CandidateId> characters;
  lexicon.CharactersByStrokes(parts.front(), characters);
  out << "# characters\n";
  ListCharacters(lexicon, characters, out);
  if (parts.size() >= 2 && !parts[1].empty()) {
    out << "# phrases\n";
    ListPhrases(lexicon, lexicon.FindPhrasesByStrokes(characters, parts), out);
  }
}

void ListAssociation(Lexicon& lexicon, std::span<const std::string> utf8Texts, std::ostream& out) {
  CandidateLists lists;  // each question starts without history
  std::string context;
  for (const std::string& text : utf8Texts) {
    context = Utf8ToGbk(text);
    lexicon.UpdateAssociation(lists, context, ModeAssociation);
  }
  out << "# context " << GbkToUtf8(context) << '\n';
  ListPhrases(lexicon, lists.assocList, out);
}

void ListPinyinCandidates(PinyinInput& pinyin, const Lexicon& lexicon, std::string_view letters,
                          std::ostream& out) {
  pinyin.ClearPinyin();
  while (!letters.empty()) {
    size_t used;
    if (letters.front() == '\'') {
      pinyin.AddInitialToken(kSeparatorInitial);
      used = 1;
    } else if (auto initial = LongestPrefix(kInitials, letters)) {
      pinyin.AddInitialToken(*initial);
      used = kInitials[*initial].size();
    } else if (auto final = LongestPrefix(kFinals, letters)) {
      pinyin.AddFinalToken(*final);
      used = kFinals[*final].size();
    } else {
      out << "# no button for '" << letters << "'\n";
      return;
    }
    letters.remove_prefix(used);
    pinyin.SegmentTokens();
    pinyin.LookupPinyin();
  }
  out << "# syllables";
  for (SyllableKey key : pinyin.keys) {
    out << ' ' << kInitials[key & 0xFF] << kFinals[key >> 8];
  }
  out << '\n';
  if (!pinyin.phraseList.empty() || pinyin.keys.size() >= 2) {
    ListPhrases(lexicon, pinyin.phraseList, out);
    return;
  }
  size_t rank = 0;
  for (CharIndex index : pinyin.charList) {
    const CharEntry& entry = lexicon.characters().EntryAt(index);
    out << ++rank << '\t' << GbkToUtf8(entry.text) << '\t' << GbkToUtf8(entry.annotation) << '\n';
  }
}

void ListRadicals(Lexicon& lexicon, std::string_view query, std::ostream& out) {
  CandidateLists lists;
  lexicon.FindRadicalsByStrokes(FoldStrokes(query), lists);
  size_t rank = 0;
  for (std::uint16_t entry : lists.secondaryList) {
    const TextPair& radical = lexicon.radicals().PairAt(entry);
    out << ++rank << '\t' << radical.first << '\t' << radical.second << '\n';
  }
}

void ListRadicalGroup(Lexicon& lexicon, size_t group, std::string_view query, std::ostream& out) {
  if (group >= lexicon.GroupCount()) group = 0;
  CandidateLists lists;
  lexicon.FindInRadicalGroup(group, FoldStrokes(query), lists);
  size_t rank = 0;
  for (CandidateId position : lists.mainList) {
    const TextPair* pair = lexicon.PairOf(group, position);
    const CharIndex* index = lexicon.characters().FindChar(CharKey(pair->first));
    out << ++rank << '\t' << GbkToUtf8(pair->first) << '\t' << pair->second << '\t'
        << (index ? lexicon.characters().EntryAt(*index).weight : 0) << '\n';
  }
  out << "# links\n";
  rank = 0;
  for (std::uint16_t position : lists.secondaryList) {
    const TextPair* pair = lexicon.PairOf(group, position);
    out << ++rank << '\t' << pair->first << '\t' << pair->second << '\n';
  }
}

}  // namespace tvime
