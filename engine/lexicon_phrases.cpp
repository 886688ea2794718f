// The Lexicon's phrase searches and association: follow-on words offered after each commit,
// drawn from the user words and the phrases_, with a short history of committed text so that
// consecutive commits can grow into a longer word.

#include <algorithm>

#include "base/gbk.h"
#include "engine/lexicon.h"

namespace tvime {
namespace {

constexpr size_t kMaxStrokePhrases = 100;
// How much the dictionary's order weighs against the next-word model's counts, per continuation
// the model lists for the context (the Witten-Bell weight of the lower order).
constexpr double kOrderWeight = 1.0;

// The last character of a GBK text (a user word may end in a Latin letter), or the empty text.
std::string_view LastChar(std::string_view text) {
  return text.substr(text.size() - GbkLastCharSize(text));
}

std::string WithoutLastChar(std::string_view text) {
  return std::string(text.substr(0, text.size() - GbkLastCharSize(text)));
}

}  // namespace

std::string_view Lexicon::CandidateText(CandidateId id) const {
  if (id & kUserWordBit) {
    size_t number = id & ~kUserWordBit;
    const std::vector<std::string>& words = userWords();
    return number < words.size() ? std::string_view(words[number]) : std::string_view();
  }
  return id < phrases_.count ? phrases_.EntryAt(id).Text() : std::string_view();
}

size_t Lexicon::CandidateLength(CandidateId id) const {
  if (id & kUserWordBit) return CandidateText(id).size() / 2;
  return id < phrases_.count ? phrases_.CharCountAt(id) : 0;
}

std::vector<std::uint32_t> Lexicon::FindPhrasesByStrokes(std::span<const CandidateId> characters,
                                                         std::span<const std::string_view> parts,
                                                         std::string_view before) const {
  return FindPhrasesByStrokesAmong(characters, parts, kMaxStrokePhrases, before);
}

std::vector<std::uint32_t> Lexicon::FindPhrasesByStrokesAmong(
    std::span<const CandidateId> characters, std::span<const std::string_view> parts, size_t limit,
    std::string_view before) const {
  std::vector<std::uint32_t> found;
  // Learnt phrases_ move up from anywhere in the whole list, and so do those the last word is
  // followed by: a shorter list is its start only when the whole list is searched.
  const bool promote = options_.learnChoices != 0;
  const bool rank = options_.predictNext && !before.empty() && nextWords_.IsLoaded();
  const size_t cap = promote || rank ? kMaxStrokePhrases : std::min(limit, kMaxStrokePhrases);
  if (options_.predictNext) {
    FindFrequentPhrasesByStrokesInto(characters, parts, cap, found);
    if (rank) RankPhrasesAfter(found, before);
  } else {
    FindPhrasesByStrokesInto(characters, parts, cap, found);
  }
  if (promote) PromoteLearntCandidates(found);
  if (found.size() > limit) found.resize(limit);
  return found;
}

bool Lexicon::PhraseMatchesParts(std::uint32_t index,
                                 std::span<const std::string_view> parts) const {
  PhraseEntry phrase = phrases_.EntryAt(index);
  if (phrase.charCount < parts.size()) return false;
  // Later parts must be a proper beginning of their character's code, taken literally.
  for (size_t k = 1; k < parts.size(); ++k) {
    if (!IsStrictExtension(CodeOfChar(phrase.CharAt(k)), parts[k])) return false;
  }
  return true;
}

void Lexicon::FindPhrasesByStrokesInto(std::span<const CandidateId> characters,
                                       std::span<const std::string_view> parts, size_t cap,
                                       std::vector<std::uint32_t>& found) const {
  for (CandidateId character : characters) {
    if (character >= chars_.count) continue;
    for (std::uint32_t index : PhrasesStartingWith(chars_.EntryAt(character).text)) {
      if (found.size() >= cap) return;
      if (PhraseMatchesParts(index, parts)) found.push_back(index);
    }
  }
}

void Lexicon::FindFrequentPhrasesByStrokesInto(std::span<const CandidateId> characters,
                                               std::span<const std::string_view> parts, size_t cap,
                                               std::vector<std::uint32_t>& found) const {
  // The phrases of each character are in ascending index order, which is the dictionary's order
  // of frequency: a merge of them gives the most frequent phrases of all the characters first,
  // where grouping by character would fill the list with the first character's rare ones.
  struct Cursor {
    const std::uint32_t* at;
    const std::uint32_t* end;
  };
  auto later = [](const Cursor& a, const Cursor& b) { return *a.at > *b.at; };
  std::vector<Cursor> heap;
  for (CandidateId character : characters) {
    if (character >= chars_.count) continue;
    std::span<const std::uint32_t> ids = PhrasesStartingWith(chars_.EntryAt(character).text);
    if (!ids.empty()) heap.push_back({ids.data(), ids.data() + ids.size()});
  }
  std::make_heap(heap.begin(), heap.end(), later);
  while (!heap.empty() && found.size() < cap) {
    std::pop_heap(heap.begin(), heap.end(), later);
    Cursor& cursor = heap.back();
    std::uint32_t index = *cursor.at++;
    if (cursor.at == cursor.end) {
      heap.pop_back();
    } else {
      std::push_heap(heap.begin(), heap.end(), later);
    }
    if (PhraseMatchesParts(index, parts)) found.push_back(index);
  }
}

void Lexicon::RankPhrasesAfter(std::vector<std::uint32_t>& found, std::string_view before) const {
  // What the model saw follow the last word comes first, most often seen first; the rest keep
  // the order of frequency.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> counted;
  counted.reserve(found.size());
  bool seen = false;
  for (std::uint32_t index : found) {
    PhraseEntry phrase = phrases_.EntryAt(index);
    std::uint32_t count =
        nextWords_.Find(before, phrase.CharAt(0)).CountOf(phrase.Text().substr(2));
    seen = seen || count != 0;
    counted.push_back({count, index});
  }
  if (!seen) return;
  std::stable_sort(counted.begin(), counted.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  for (size_t i = 0; i < found.size(); ++i) found[i] = counted[i].second;
}

std::vector<std::uint32_t> Lexicon::FindContextPhrasesByStrokes(std::string_view contextChar,
                                                                std::string_view query,
                                                                std::string_view before) const {
  std::vector<std::uint32_t> found;
  for (std::uint32_t index : PhrasesStartingWith(contextChar)) {
    PhraseEntry phrase = phrases_.EntryAt(index);
    if (phrase.charCount < 2) continue;
    std::string_view code = CodeOfChar(phrase.CharAt(1));
    // CodeOfChar gives a view of a NUL-terminated code inside the dictionary.
    if (!code.empty() && StrokePrefixMatch(code.data(), query)) found.push_back(index);
  }
  RankByContext(found, contextChar, before);
  PromoteLearntCandidates(found);
  return found;
}

bool Lexicon::HasExtension(std::string_view key) const {
  for (const std::string& word : userWords()) {
    if (IsStrictExtension(word, key)) return true;
  }
  for (std::uint32_t index : PhrasesStartingWith(key)) {
    if (IsStrictExtension(phrases_.EntryAt(index).Text(), key)) return true;
  }
  return false;
}

std::vector<CandidateId> Lexicon::AssociationsOf(std::string_view key,
                                                 std::string_view before) const {
  std::vector<CandidateId> found;
  const std::vector<std::string>& words = userWords();
  for (size_t n = 0; n < words.size() && found.size() < kMaxAssociationCandidates; ++n) {
    if (IsStrictExtension(words[n], key))
      found.push_back(static_cast<CandidateId>(n) | kUserWordBit);
  }
  const size_t userWordCount = found.size();
  for (std::uint32_t index : PhrasesStartingWith(key)) {
    if (found.size() >= kMaxAssociationCandidates) break;
    if (IsStrictExtension(phrases_.EntryAt(index).Text(), key)) found.push_back(index);
  }
  // The user's own words keep their place before the phrases.
  RankByContext(std::span(found).subspan(userWordCount), key, before);
  if (options_.phraseSortMode != 0) {
    // Shortest first; equal lengths by id as unsigned numbers, so the phrases_ come before the
    // user words of their length, each in file order.
    std::stable_sort(found.begin(), found.end(), [this](CandidateId a, CandidateId b) {
      size_t lengthA = CandidateLength(a), lengthB = CandidateLength(b);
      return lengthA != lengthB ? lengthA < lengthB : a < b;
    });
  }
  PromoteLearntCandidates(found);
  return found;
}

std::string_view Lexicon::TextBefore(std::string_view lastEntry, std::string_view entryBefore,
                                     std::string_view key) {
  if (lastEntry.empty() || key.empty()) return {};
  // Backspace leaves the end of the last entry as the base: the rest of the entry came before.
  if (lastEntry.size() > key.size() && lastEntry.ends_with(key)) {
    return lastEntry.substr(0, lastEntry.size() - key.size());
  }
  return lastEntry == key ? entryBefore : std::string_view();
}

std::string_view Lexicon::TextBefore(std::span<const std::string> history, std::string_view key) {
  if (history.empty()) return {};
  std::string_view entryBefore;
  if (history.size() >= 2) entryBefore = history[history.size() - 2];
  return TextBefore(history.back(), entryBefore, key);
}

void Lexicon::RankByContext(std::span<CandidateId> phrases, std::string_view key,
                            std::string_view before) const {
  if (!options_.predictNext || phrases.size() < 2) return;
  NextWordModel::Context context = nextWords_.Find(before, key);
  if (context.empty()) return;
  // The dictionary's order, read as a Zipf distribution over the list, is the lower order the
  // counts back off to: a continuation the model never saw keeps its place among its like, and
  // one it saw rises by how often it did.
  double harmonic = 0;
  for (size_t j = 0; j < phrases.size(); ++j) harmonic += 1.0 / static_cast<double>(j + 1);
  const double orderMass = kOrderWeight * static_cast<double>(context.size()) / harmonic;
  struct Scored {
    double score;
    CandidateId id;
  };
  std::vector<Scored> scored;
  scored.reserve(phrases.size());
  bool seen = false;
  for (size_t j = 0; j < phrases.size(); ++j) {
    std::string_view text = CandidateText(phrases[j]);
    std::uint32_t count = text.size() > key.size() ? context.CountOf(text.substr(key.size())) : 0;
    seen = seen || count != 0;
    scored.push_back({count + orderMass / static_cast<double>(j + 1), phrases[j]});
  }
  if (!seen) return;
  std::stable_sort(scored.begin(), scored.end(),
                   [](const Scored& a, const Scored& b) { return a.score > b.score; });
  for (size_t j = 0; j < phrases.size(); ++j) phrases[j] = scored[j].id;
}

Lexicon::AssociationStep Lexicon::AssociationAfter(std::string_view lastHistoryEntry,
                                                   std::string_view chosen, PanelMode mode) const {
  AssociationStep step;
  std::string grown = std::string(lastHistoryEntry) + std::string(chosen);
  // The commit continues the previous one into a longer known word: the last entry grows.
  step.grewLastEntry = HasExtension(grown);
  step.historyEntry = step.grewLastEntry ? grown : std::string(chosen);
  bool offered = mode == ModeAssociation || mode == ModePinyin;
  bool followed = step.grewLastEntry || (!lastHistoryEntry.empty() && HasExtension(chosen));
  step.contextText = !offered || followed ? step.historyEntry : std::string();
  return step;
}

void Lexicon::UpdateAssociation(CandidateLists& lists, std::string& contextText,
                                PanelMode mode) const {
  std::vector<std::string>& contextHistory = lists.contextHistory;
  if (contextText.size() < 2) return;
  AssociationStep step = AssociationAfter(
      contextHistory.empty() ? std::string_view() : std::string_view(contextHistory.back()),
      contextText, mode);
  if (step.grewLastEntry) {
    if (!contextHistory.empty()) contextHistory.pop_back();
  } else if (contextHistory.size() >= kMaxContextHistory) {
    contextHistory.erase(contextHistory.begin());
  }
  contextHistory.push_back(step.historyEntry);
  contextText = step.contextText;
  if (mode == ModeAssociation || mode == ModePinyin) {
    lists.assocList =
        AssociationsOf(step.historyEntry, TextBefore(contextHistory, step.historyEntry));
  }
}

bool Lexicon::StepBackAssociation(CandidateLists& lists, std::string& contextText,
                                  PanelMode mode) const {
  std::vector<std::string>& contextHistory = lists.contextHistory;
  if (contextHistory.empty()) {
    contextText.clear();
    return false;
  }
  std::string rest = WithoutLastChar(contextHistory.back());
  if (rest.empty()) {
    contextHistory.pop_back();
    if (!contextHistory.empty()) {
      rest = contextHistory.back();
    } else {
      contextText.clear();
    }
  }
  if (!rest.empty()) {
    contextText = std::string(LastChar(rest));
    rest = WithoutLastChar(rest);
    if (!rest.empty()) {
      contextHistory.back() = rest;
    } else if (!contextHistory.empty()) {
      contextHistory.pop_back();
    }
  }
  UpdateAssociation(lists, contextText, mode);
  return true;
}

}  // namespace tvime
