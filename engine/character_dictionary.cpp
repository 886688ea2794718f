#include "engine/character_dictionary.h"

#include <algorithm>
#include <cstring>

#include "base/byte_reader.h"

namespace tvime {

bool CharKeyMap::TryInsert(std::uint16_t key, CharIndex index) {
  if (present_.Contains(key)) return false;
  if (slots_.empty()) slots_.assign(65536, 0);
  slots_[key] = index;
  present_.Insert(key);
  return true;
}

void CharKeyMap::Clear() {
  slots_.clear();
  present_.Clear();
}

void CharacterDictionary::Clear() {
  indexesByCodeLength.clear();
  entries.clear();
  commonChars.Clear();
  indexOfChar.Clear();
  DictionaryFile::Clear();
}

bool CharacterDictionary::Parse() {
  indexesByCodeLength.clear();
  entries.clear();
  commonChars.Clear();
  indexOfChar.Clear();
  count = 0;

  ByteReader header(buffer, 4);
  std::uint16_t entryCount = 0, reserved = 0;
  if (!header.ReadU16(entryCount) || !header.ReadU16(reserved)) return false;
  // The texts start after all the descriptors; without them nothing can be located.
  if (!header.Has(6 * size_t{entryCount})) return false;

  const size_t descriptors = header.offset();
  size_t text = descriptors + 6 * size_t{entryCount};
  entries.reserve(entryCount);
  bool intact = true;
  for (size_t i = 0; i < entryCount; ++i) {
    const std::uint8_t* d = buffer.data() + descriptors + 6 * i;
    size_t textLength = d[0], codeLength = d[1], annotationLength = d[2];
    CharEntry entry{};
    entry.text = TextAt(buffer, text, textLength);
    entry.code = entry.text ? TextAt(buffer, text + textLength, codeLength) : nullptr;
    entry.annotation =
        entry.code ? TextAt(buffer, text + textLength + codeLength, annotationLength) : nullptr;
    if (!entry.annotation) {
      intact = false;
      break;
    }
    entry.flags = d[3];
    entry.weight = ReadU16At(d + 4);
    entry.codeLength = static_cast<std::uint8_t>(std::strlen(entry.code));
    text += textLength + codeLength + annotationLength;

    std::uint16_t key = CharKey(entry.text);
    if (entry.IsCommon()) commonChars.Insert(key);
    indexOfChar.TryInsert(key, static_cast<CharIndex>(i));
    if (indexesByCodeLength.size() <= entry.codeLength) {
      indexesByCodeLength.resize(entry.codeLength + 1);
    }
    indexesByCodeLength[entry.codeLength].push_back(static_cast<CharIndex>(i));
    entries.push_back(entry);
  }
  count = entries.size();
  return intact;
}

void CharacterDictionary::FindByStrokes(std::string_view query, bool bigCharset,
                                        std::vector<CandidateId>& out) const {
  out.clear();
  std::vector<CharIndex> pending;
  pending.reserve(kMaxMainCandidates);
  auto isExact = [&query](const CharEntry& entry) {
    return entry.codeLength == query.size() &&
           std::memcmp(entry.code, query.data(), query.size()) == 0;
  };
  size_t i = 0;
  for (; i < entries.size() && out.size() + pending.size() < kMaxMainCandidates; ++i) {
    const CharEntry& entry = entries[i];
    // Common entries come first, so the common-only search is a scan of the common block.
    if (!bigCharset && !entry.IsCommon()) break;
    if (isExact(entry)) {
      out.push_back(static_cast<CandidateId>(i));
    } else if (StrokePrefixMatch(entry.code, query)) {
      pending.push_back(static_cast<CharIndex>(i));
    }
  }
  // The first 400 matches in dictionary order fill the list, but an exact match further on still
  // gets in: otherwise a rare character whose whole code begins hundreds of others (丨 is "s")
  // could never be typed at all.
  if (out.size() + pending.size() >= kMaxMainCandidates &&
      query.size() < indexesByCodeLength.size()) {
    const std::vector<CharIndex>& sameLength = indexesByCodeLength[query.size()];
    for (auto it = std::lower_bound(sameLength.begin(), sameLength.end(), i);
         it != sameLength.end() && out.size() < kMaxMainCandidates; ++it) {
      const CharEntry& entry = entries[*it];
      if (!bigCharset && !entry.IsCommon()) break;
      if (isExact(entry)) out.push_back(*it);
    }
  }
  // Higher weight first; on equal weight a common character before an uncommon one, and
  // otherwise dictionary order (the stable sort keeps it).
  std::stable_sort(pending.begin(), pending.end(), [this](CharIndex a, CharIndex b) {
    const CharEntry& x = entries[a];
    const CharEntry& y = entries[b];
    if (x.weight != y.weight) return x.weight > y.weight;
    return x.IsCommon() && !y.IsCommon();
  });
  for (CharIndex index : pending) {
    if (out.size() >= kMaxMainCandidates) break;
    out.push_back(index);
  }
}

const CharEntry* CharacterDictionary::EntryOf(std::string_view character) const {
  const CharIndex* index = indexOfChar.Find(CharKey(character));
  return index ? &entries[*index] : nullptr;
}

bool CharacterDictionary::IsCommonChar(std::string_view character) const {
  return commonChars.Contains(CharKey(character));
}

CharIndex CharacterDictionary::IndexOfChar(std::string_view character) const {
  const CharIndex* index = indexOfChar.Find(CharKey(character));
  return index ? *index : 0;
}

std::string_view CharacterDictionary::CodeOfChar(std::string_view character) const {
  const CharEntry* entry = EntryOf(character);
  return entry ? std::string_view(entry->code) : std::string_view();
}

std::string_view CharacterDictionary::AnnotationOfChar(std::string_view character) const {
  const CharEntry* entry = EntryOf(character);
  return entry ? std::string_view(entry->annotation) : std::string_view();
}

std::string_view CharacterDictionary::CodeOfIndex(CharIndex index) const {
  return index < entries.size() ? std::string_view(entries[index].code) : std::string_view();
}

}  // namespace tvime
