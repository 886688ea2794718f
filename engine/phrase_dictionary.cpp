#include "engine/phrase_dictionary.h"

#include <algorithm>
#include <cstring>

#include "base/byte_reader.h"

namespace tvime {

void PhraseDictionary::Clear() {
  DropIndex();
  DictionaryFile::Clear();
}

void PhraseDictionary::DropIndex() {
  textOffsets_ = {};
  byFirstChar_ = {};
  firstKeys_ = {};
  firstKeyStarts_ = {};
  ownTextOffsets_.clear();
  ownByFirstChar_.clear();
  ownFirstKeys_.clear();
  ownFirstKeyStarts_.clear();
  count = 0;
}

bool PhraseDictionary::Parse() {
  DropIndex();

  ByteReader header(buffer);
  std::uint32_t total = 0, phraseCount = 0;
  // A total length of 0 means no phrases; it leaves the buffer empty.
  if (!header.ReadU32(total)) return buffer.empty();
  if (total == 0) return true;
  if (!header.ReadU32(phraseCount)) return false;
  phraseCount = std::min<std::uint32_t>(phraseCount, 0xFFFFFF);
  // The blocks start after all the length bytes; without them nothing can be located.
  if (!header.Has(phraseCount)) return false;

  size_t block = kLengthsOffset + phraseCount;
  bool intact = true;
  ownTextOffsets_.reserve(phraseCount);
  for (size_t i = 0; i < phraseCount; ++i) {
    size_t length = buffer[kLengthsOffset + i];
    size_t blockSize = length + 4;
    size_t chars = CharCountOf(static_cast<std::uint8_t>(length));
    if (block > buffer.size() || buffer.size() - block < blockSize) {
      intact = false;
      break;
    }
    // The text is exactly `chars` characters and its NUL.
    const std::uint8_t* start = buffer.data() + block;
    if (start[2 * chars] != 0 || std::memchr(start, 0, 2 * chars)) {
      intact = false;
      break;
    }
    ownTextOffsets_.push_back(static_cast<std::uint32_t>(block));
    block += blockSize;
  }
  textOffsets_ = ownTextOffsets_;
  count = textOffsets_.size();

  // Group the indexes by first character with a counting sort: ascending keys, and within a key
  // the file order.
  std::vector<std::uint16_t> keys(count);
  std::vector<std::uint32_t> perKey(65536, 0);
  for (size_t i = 0; i < count; ++i) {
    keys[i] = CharKey(EntryAt(i).Text());
    ++perKey[keys[i]];
  }
  std::vector<std::uint32_t> next(65536, 0);
  std::uint32_t position = 0;
  for (size_t key = 0; key < 65536; ++key) {
    if (perKey[key] == 0) continue;
    ownFirstKeys_.push_back(static_cast<std::uint16_t>(key));
    ownFirstKeyStarts_.push_back(position);
    next[key] = position;
    position += perKey[key];
  }
  ownFirstKeyStarts_.push_back(position);
  ownByFirstChar_.resize(count);
  for (size_t i = 0; i < count; ++i) {
    ownByFirstChar_[next[keys[i]]++] = static_cast<std::uint32_t>(i);
  }
  byFirstChar_ = ownByFirstChar_;
  firstKeys_ = ownFirstKeys_;
  firstKeyStarts_ = ownFirstKeyStarts_;
  return intact;
}

// The serialized index (little-endian, 4-byte aligned): the phrase count N and the first-key count
// K, then textOffsets (N), byFirstChar (N), firstKeyStarts (K + 1) as 32-bit values and firstKeys
// (K) as 16-bit ones.
std::vector<std::uint8_t> PhraseDictionary::SerializeIndex() const {
  std::uint32_t counts[2] = {static_cast<std::uint32_t>(count),
                             static_cast<std::uint32_t>(firstKeys_.size())};
  std::vector<std::uint8_t> out(sizeof counts + textOffsets_.size_bytes() +
                                byFirstChar_.size_bytes() + firstKeyStarts_.size_bytes() +
                                firstKeys_.size_bytes());
  size_t at = 0;
  auto put = [&out, &at](const void* values, size_t size) {
    if (size != 0) std::memcpy(out.data() + at, values, size);
    at += size;
  };
  put(counts, sizeof counts);
  put(textOffsets_.data(), textOffsets_.size_bytes());
  put(byFirstChar_.data(), byFirstChar_.size_bytes());
  put(firstKeyStarts_.data(), firstKeyStarts_.size_bytes());
  put(firstKeys_.data(), firstKeys_.size_bytes());
  return out;
}

bool PhraseDictionary::AdoptIndex(ByteSpan index, IndexCheck check) {
  DropIndex();
  if (reinterpret_cast<std::uintptr_t>(index.data()) % alignof(std::uint32_t) != 0) return false;
  ByteReader header(index);
  std::uint32_t phraseCount = 0, keyCount = 0;
  if (!header.ReadU32(phraseCount) || !header.ReadU32(keyCount) || keyCount > 65536) return false;
  size_t words = 2 * size_t{phraseCount} + keyCount + 1;
  if (index.size() != 8 + 4 * words + 2 * size_t{keyCount}) return false;
  const auto* values = reinterpret_cast<const std::uint32_t*>(index.data() + 8);
  std::span<const std::uint32_t> offsets(values, phraseCount);
  std::span<const std::uint32_t> byFirst(values + phraseCount, phraseCount);
  std::span<const std::uint32_t> starts(values + 2 * size_t{phraseCount}, keyCount + 1);
  std::span<const std::uint16_t> keys(reinterpret_cast<const std::uint16_t*>(values + words),
                                      keyCount);
  // Everything EntryAt and PhrasesStartingWith will read must lie inside what they read from.
  if (kLengthsOffset + size_t{phraseCount} > buffer.size()) return false;
  if (starts[0] != 0 || starts[keyCount] != phraseCount) return false;
  // The first-character lists are few (one per character) and searched by every lookup.
  for (size_t k = 0; k < keyCount; ++k) {
    if (starts[k] > starts[k + 1] || (k > 0 && keys[k - 1] >= keys[k])) return false;
  }
  if (check == IndexCheck::Entries && !EntriesFit(offsets, byFirst)) return false;
  textOffsets_ = offsets;
  byFirstChar_ = byFirst;
  firstKeyStarts_ = starts;
  firstKeys_ = keys;
  count = phraseCount;
  return true;
}

bool PhraseDictionary::EntriesFit(std::span<const std::uint32_t> offsets,
                                  std::span<const std::uint32_t> byFirst) const {
  for (size_t i = 0; i < offsets.size(); ++i) {
    size_t blockSize = size_t{buffer[kLengthsOffset + i]} + 4;
    if (offsets[i] > buffer.size() || buffer.size() - offsets[i] < blockSize) return false;
    if (byFirst[i] >= offsets.size()) return false;
  }
  return true;
}

PhraseEntry PhraseDictionary::EntryAt(size_t i) const {
  const std::uint8_t* text = buffer.data() + textOffsets_[i];
  std::uint8_t chars = CharCountAt(i);
  return {reinterpret_cast<const char*>(text), text + 2 * size_t{chars} + 1, chars};
}

std::span<const std::uint32_t> PhraseDictionary::PhrasesStartingWith(std::string_view text) const {
  std::uint16_t key = CharKey(text);
  auto it = std::lower_bound(firstKeys_.begin(), firstKeys_.end(), key);
  if (it == firstKeys_.end() || *it != key) return {};
  size_t k = static_cast<size_t>(it - firstKeys_.begin());
  return byFirstChar_.subspan(firstKeyStarts_[k], firstKeyStarts_[k + 1] - firstKeyStarts_[k]);
}

bool PhraseDictionary::Contains(std::string_view text) const {
  for (std::uint32_t index : PhrasesStartingWith(text)) {
    if (EntryAt(index).Text() == text) return true;
  }
  return false;
}

}  // namespace tvime
