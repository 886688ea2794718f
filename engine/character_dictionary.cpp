#include "engine/character_dictionary.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/byte_reader.h"

namespace tvime {

namespace {

void SetBit(std::uint32_t* bits, std::uint16_t key) { bits[key >> 5] |= 1u << (key & 31); }

}  // namespace

void CharacterDictionary::DropTables() {
  records_ = {};
  lookup_ = nullptr;
  lengthStarts_ = {};
  byLength_ = {};
  ownRecords_.clear();
  ownLookup_.reset();
  ownLengthStarts_.clear();
  ownByLength_.clear();
  count = 0;
}

void CharacterDictionary::Clear() {
  DropTables();
  DictionaryFile::Clear();
}

bool CharacterDictionary::Parse() {
  DropTables();
  ByteReader header(buffer, 4);
  std::uint16_t entryCount = 0, reserved = 0;
  if (!header.ReadU16(entryCount) || !header.ReadU16(reserved)) return false;
  // The texts start after all the descriptors; without them nothing can be located.
  if (!header.Has(6 * size_t{entryCount})) return false;

  const size_t descriptors = header.offset();
  size_t text = descriptors + 6 * size_t{entryCount};
  ownRecords_.reserve(entryCount);
  ownLookup_ = std::make_unique<CharLookup>();
  std::vector<std::vector<CharIndex>> byLength;
  bool intact = true;
  for (size_t i = 0; i < entryCount; ++i) {
    const std::uint8_t* d = buffer.data() + descriptors + 6 * i;
    size_t textLength = d[0], codeLength = d[1], annotationLength = d[2];
    const char* character = TextAt(buffer, text, textLength);
    const char* code = character ? TextAt(buffer, text + textLength, codeLength) : nullptr;
    if (!code || !TextAt(buffer, text + textLength + codeLength, annotationLength)) {
      intact = false;
      break;
    }
    CharOffsets record{static_cast<std::uint32_t>(text),
                       static_cast<std::uint32_t>(text + textLength),
                       static_cast<std::uint32_t>(text + textLength + codeLength),
                       d[3],
                       static_cast<std::uint8_t>(std::strlen(code)),
                       ReadU16At(d + 4)};
    text += textLength + codeLength + annotationLength;

    std::uint16_t key = CharKey(character);
    if (record.flags & kCommonCharFlag) SetBit(ownLookup_->common, key);
    if (!CharLookup::Test(ownLookup_->present, key)) {
      SetBit(ownLookup_->present, key);
      ownLookup_->indexOfKey[key] = static_cast<CharIndex>(i);
    }
    if (byLength.size() <= record.codeLength) byLength.resize(record.codeLength + 1);
    byLength[record.codeLength].push_back(static_cast<CharIndex>(i));
    ownRecords_.push_back(record);
  }
  ownLengthStarts_.push_back(0);
  for (const std::vector<CharIndex>& same : byLength) {
    ownByLength_.insert(ownByLength_.end(), same.begin(), same.end());
    ownLengthStarts_.push_back(static_cast<std::uint32_t>(ownByLength_.size()));
  }
  records_ = ownRecords_;
  lookup_ = ownLookup_.get();
  lengthStarts_ = ownLengthStarts_;
  byLength_ = ownByLength_;
  count = records_.size();
  return intact;
}

// Layout: entry count, length count L, the records, the lookup tables, L + 1 length starts, the
// entries by length (padded to four bytes).
std::vector<std::uint8_t> CharacterDictionary::SerializeIndex() const {
  if (!lookup_) return {};
  std::uint32_t counts[2] = {static_cast<std::uint32_t>(records_.size()),
                             static_cast<std::uint32_t>(lengthStarts_.size() - 1)};
  size_t byLengthBytes = (byLength_.size_bytes() + 3) / 4 * 4;
  std::vector<std::uint8_t> out(sizeof counts + records_.size_bytes() + sizeof(CharLookup) +
                                    lengthStarts_.size_bytes() + byLengthBytes,
                                0);
  size_t at = 0;
  auto put = [&out, &at](const void* values, size_t size) {
    if (size != 0) std::memcpy(out.data() + at, values, size);
    at += size;
  };
  put(counts, sizeof counts);
  put(records_.data(), records_.size_bytes());
  put(lookup_, sizeof(CharLookup));
  put(lengthStarts_.data(), lengthStarts_.size_bytes());
  put(byLength_.data(), byLength_.size_bytes());
  return out;
}

bool CharacterDictionary::AdoptIndex(ByteSpan index, IndexCheck check) {
  DropTables();
  if (reinterpret_cast<std::uintptr_t>(index.data()) % alignof(std::uint32_t) != 0) return false;
  ByteReader header(index);
  std::uint32_t entryCount = 0, lengthCount = 0;
  if (!header.ReadU32(entryCount) || !header.ReadU32(lengthCount) || entryCount > 65536 ||
      lengthCount > 256) {
    return false;
  }
  size_t recordsAt = 8, lookupAt = recordsAt + sizeof(CharOffsets) * entryCount;
  size_t startsAt = lookupAt + sizeof(CharLookup);
  size_t byLengthAt = startsAt + 4 * (size_t{lengthCount} + 1);
  if (index.size() != byLengthAt + (2 * size_t{entryCount} + 3) / 4 * 4) return false;
  std::span records(reinterpret_cast<const CharOffsets*>(index.data() + recordsAt), entryCount);
  auto* lookup = reinterpret_cast<const CharLookup*>(index.data() + lookupAt);
  std::span starts(reinterpret_cast<const std::uint32_t*>(index.data() + startsAt),
                   lengthCount + 1);
  std::span byLength(reinterpret_cast<const CharIndex*>(index.data() + byLengthAt), entryCount);
  // Every text is read up to its NUL: a buffer that ends with one holds the end of any text that
  // starts inside it. The code's stated length must end at its NUL.
  if (buffer.empty() || buffer.back() != 0) return false;
  if (starts[0] != 0 || starts[lengthCount] != entryCount) return false;
  if (check == IndexCheck::Entries && !EntriesFit(records, *lookup, starts, byLength)) return false;
  records_ = records;
  lookup_ = lookup;
  lengthStarts_ = starts;
  byLength_ = byLength;
  count = entryCount;
  return true;
}

bool CharacterDictionary::EntriesFit(std::span<const CharOffsets> records, const CharLookup& lookup,
                                     std::span<const std::uint32_t> starts,
                                     std::span<const CharIndex> byLength) const {
  size_t entryCount = records.size();
  for (const CharOffsets& record : records) {
    if (record.text >= buffer.size() || record.annotation >= buffer.size() ||
        record.code >= buffer.size() || buffer.size() - record.code <= record.codeLength ||
        buffer[record.code + record.codeLength] != 0) {
      return false;
    }
  }
  for (size_t key = 0; key < 65536; ++key) {
    if (CharLookup::Test(lookup.present, static_cast<std::uint16_t>(key)) &&
        lookup.indexOfKey[key] >= entryCount) {
      return false;
    }
  }
  for (size_t n = 0; n + 1 < starts.size(); ++n) {
    if (starts[n] > starts[n + 1]) return false;
  }
  for (CharIndex i : byLength) {
    if (i >= entryCount) return false;
  }
  return true;
}

CharEntry CharacterDictionary::EntryAt(size_t i) const {
  const CharOffsets& record = records_[i];
  auto textAt = [this](std::uint32_t offset) {
    return reinterpret_cast<const char*>(buffer.data() + offset);
  };
  return {textAt(record.text), textAt(record.code), textAt(record.annotation),
          record.flags,        record.codeLength,   record.weight};
}

size_t CharacterDictionary::CommonCount() const {
  size_t common = 0;
  if (lookup_) {
    for (std::uint32_t word : lookup_->common) common += static_cast<size_t>(std::popcount(word));
  }
  return common;
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
  for (; i < count && out.size() + pending.size() < kMaxMainCandidates; ++i) {
    const CharEntry entry = EntryAt(i);
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
      query.size() + 1 < lengthStarts_.size()) {
    std::span<const CharIndex> sameLength = byLength_.subspan(
        lengthStarts_[query.size()], lengthStarts_[query.size() + 1] - lengthStarts_[query.size()]);
    for (auto it = std::lower_bound(sameLength.begin(), sameLength.end(), i);
         it != sameLength.end() && out.size() < kMaxMainCandidates; ++it) {
      const CharEntry entry = EntryAt(*it);
      if (!bigCharset && !entry.IsCommon()) break;
      if (isExact(entry)) out.push_back(*it);
    }
  }
  // Higher weight first; on equal weight a common character before an uncommon one, and
  // otherwise dictionary order (the stable sort keeps it).
  std::stable_sort(pending.begin(), pending.end(), [this](CharIndex a, CharIndex b) {
    const CharOffsets& x = records_[a];
    const CharOffsets& y = records_[b];
    if (x.weight != y.weight) return x.weight > y.weight;
    return (x.flags & kCommonCharFlag) && !(y.flags & kCommonCharFlag);
  });
  for (CharIndex index : pending) {
    if (out.size() >= kMaxMainCandidates) break;
    out.push_back(index);
  }
}

const CharIndex* CharacterDictionary::FindChar(std::uint16_t key) const {
  return lookup_ && CharLookup::Test(lookup_->present, key) ? &lookup_->indexOfKey[key] : nullptr;
}

std::optional<CharEntry> CharacterDictionary::EntryOf(std::string_view character) const {
  const CharIndex* index = FindChar(CharKey(character));
  return index ? std::optional(EntryAt(*index)) : std::nullopt;
}

bool CharacterDictionary::IsCommonChar(std::string_view character) const {
  return lookup_ && CharLookup::Test(lookup_->common, CharKey(character));
}

CharIndex CharacterDictionary::IndexOfChar(std::string_view character) const {
  const CharIndex* index = FindChar(CharKey(character));
  return index ? *index : 0;
}

std::string_view CharacterDictionary::CodeOfChar(std::string_view character) const {
  std::optional<CharEntry> entry = EntryOf(character);
  return entry ? std::string_view(entry->code) : std::string_view();
}

std::string_view CharacterDictionary::AnnotationOfChar(std::string_view character) const {
  std::optional<CharEntry> entry = EntryOf(character);
  return entry ? std::string_view(entry->annotation) : std::string_view();
}

std::string_view CharacterDictionary::CodeOfIndex(CharIndex index) const {
  return index < count ? std::string_view(EntryAt(index).code) : std::string_view();
}

}  // namespace tvime
