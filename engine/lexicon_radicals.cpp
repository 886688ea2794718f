// The Lexicon's radical searches: radicals_ found by the strokes typed so far, and the characters
// of a chosen radical's group narrowed by the strokes of the rest of the character.

#include <algorithm>

#include "engine/lexicon.h"

namespace tvime {
namespace {

bool IsRadicalLink(const TextPair& pair) { return pair.first[0] >= '0' && pair.first[0] <= '9'; }

}  // namespace

// Orders group positions by their characters' weight (equal weights by dictionary position). A
// character the dictionary does not know keeps its slot, so it stays where the group put it
// relative to the others; the known ones are ranked among themselves around it.
void Lexicon::RankByCharacterFrequency(const std::vector<TextPair>& pairs,
                                       std::vector<std::uint32_t>& positions) const {
  std::vector<size_t> knownSlots;
  std::vector<std::pair<CharIndex, std::uint32_t>> known;  // (dictionary index, position)
  for (size_t slot = 0; slot < positions.size(); ++slot) {
    if (const CharIndex* index = chars_.FindChar(CharKey(pairs[positions[slot]].first))) {
      knownSlots.push_back(slot);
      known.emplace_back(*index, positions[slot]);
    }
  }
  std::stable_sort(known.begin(), known.end(), [this](const auto& a, const auto& b) {
    std::uint16_t wa = chars_.EntryAt(a.first).weight, wb = chars_.EntryAt(b.first).weight;
    return wa != wb ? wa > wb : a.first < b.first;
  });
  for (size_t k = 0; k < known.size(); ++k) positions[knownSlots[k]] = known[k].second;
}

void Lexicon::FindRadicalsByStrokes(std::string_view query, CandidateLists& lists) const {
  std::vector<std::uint16_t>& secondaryList = lists.secondaryList;
  secondaryList.clear();
  // Entry 0 is a placeholder and never offered.
  for (size_t i = 1; i < radicals_.count && i <= 0xFFFF; ++i) {
    if (secondaryList.size() >= kMaxSecondaryCandidates) break;
    if (StrokePrefixMatch(radicals_.PairAt(i).second, query)) {
      secondaryList.push_back(static_cast<std::uint16_t>(i));
    }
  }
}

const TextPair* Lexicon::PairOf(size_t group, size_t position) const {
  if (group >= radicalGroups_.GroupCount()) return nullptr;
  const RadicalGroup& pairs = radicalGroups_.GroupAt(group);
  return position < pairs.pairCount() ? &pairs.pairs[position] : nullptr;
}

void Lexicon::FindInRadicalGroup(size_t group, std::string_view query,
                                 CandidateLists& lists) const {
  std::vector<CandidateId>& mainList = lists.mainList;
  std::vector<std::uint16_t>& secondaryList = lists.secondaryList;
  mainList.clear();
  secondaryList.clear();
  if (group >= radicalGroups_.GroupCount()) group = 0;
  if (group >= radicalGroups_.GroupCount()) return;
  const std::vector<TextPair>& pairs = radicalGroups_.GroupAt(group).pairs;
  // Characters come first in a group; its radical links follow them.
  size_t characterCount =
      static_cast<size_t>(std::find_if(pairs.begin(), pairs.end(), IsRadicalLink) - pairs.begin());

  for (size_t p = 0; p < characterCount; ++p) {
    if (query == pairs[p].second) mainList.push_back(static_cast<CandidateId>(p));
  }
  std::vector<std::uint32_t> pending;
  const bool big = BigCharset();
  for (size_t p = 0; p < characterCount && mainList.size() < kMaxMainCandidates; ++p) {
    const TextPair& pair = pairs[p];
    if (query == pair.second || !StrokePrefixMatch(pair.second, query)) continue;
    if (!big && !IsCommonChar(pair.first)) continue;
    pending.push_back(static_cast<std::uint32_t>(p));
  }
  RankByCharacterFrequency(pairs, pending);
  for (std::uint32_t p : pending) {
    if (mainList.size() >= kMaxMainCandidates) break;
    mainList.push_back(p);
  }

  for (size_t p = characterCount; p < pairs.size(); ++p) {
    if (secondaryList.size() >= kMaxSecondaryCandidates) break;
    if (StrokePrefixMatch(pairs[p].second, query)) {
      secondaryList.push_back(static_cast<std::uint16_t>(p));
    }
  }
}

}  // namespace tvime
