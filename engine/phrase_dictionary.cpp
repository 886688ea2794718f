#include "engine/phrase_dictionary.h"

#include <algorithm>
#include <cstring>

#include "base/byte_reader.h"

namespace tvime {

void PhraseDictionary::Clear() {
  textOffsets_.clear();
  byFirstChar_.clear();
  firstKeys_.clear();
  firstKeyStarts_.clear();
  DictionaryFile::Clear();
}

bool PhraseDictionary::Parse() {
  textOffsets_.clear();
  byFirstChar_.clear();
  firstKeys_.clear();
  firstKeyStarts_.clear();
  count = 0;

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
  textOffsets_.reserve(phraseCount);
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
    textOffsets_.push_back(static_cast<std::uint32_t>(block));
    block += blockSize;
  }
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
    firstKeys_.push_back(static_cast<std::uint16_t>(key));
    firstKeyStarts_.push_back(position);
    next[key] = position;
    position += perKey[key];
  }
  firstKeyStarts_.push_back(position);
  byFirstChar_.resize(count);
  for (size_t i = 0; i < count; ++i) byFirstChar_[next[keys[i]]++] = static_cast<std::uint32_t>(i);
  return intact;
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
  return std::span<const std::uint32_t>(byFirstChar_)
      .subspan(firstKeyStarts_[k], firstKeyStarts_[k + 1] - firstKeyStarts_[k]);
}

bool PhraseDictionary::Contains(std::string_view text) const {
  for (std::uint32_t index : PhrasesStartingWith(text)) {
    if (EntryAt(index).Text() == text) return true;
  }
  return false;
}

}  // namespace tvime
