#include "engine/phrase_dictionary.h"

#include <algorithm>
#include <cstring>

#include "base/byte_reader.h"

namespace tvime {

void PhraseDictionary::Clear() {
  entries.clear();
  byFirstChar.clear();
  DictionaryFile::Clear();
}

bool PhraseDictionary::Parse() {
  entries.clear();
  byFirstChar.clear();
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

  const size_t lengths = header.offset();
  size_t block = lengths + phraseCount;
  bool intact = true;
  for (size_t i = 0; i < phraseCount; ++i) {
    size_t length = buffer[lengths + i];
    size_t blockSize = length + 4;
    size_t chars = length == 0 ? 0 : (length - 1) / 4;
    if (block > buffer.size() || buffer.size() - block < blockSize) {
      intact = false;
      break;
    }
    const std::uint8_t* start = buffer.data() + block;
    // The text is exactly `chars` characters and its NUL.
    if (start[2 * chars] != 0 || std::memchr(start, 0, 2 * chars)) {
      intact = false;
      break;
    }
    PhraseEntry entry{reinterpret_cast<const char*>(start), start + 2 * chars + 1,
                      static_cast<std::uint8_t>(chars)};
    byFirstChar[CharKey(std::string_view(entry.text, 2 * chars))].push_back(
        static_cast<std::uint32_t>(i));
    entries.push_back(entry);
    block += blockSize;
  }
  count = entries.size();
  return intact;
}

const std::vector<std::uint32_t>& PhraseDictionary::PhrasesStartingWith(
    std::string_view text) const {
  static const std::vector<std::uint32_t> kNone;
  auto it = byFirstChar.find(CharKey(text));
  return it == byFirstChar.end() ? kNone : it->second;
}

bool PhraseDictionary::Contains(std::string_view text) const {
  for (std::uint32_t index : PhrasesStartingWith(text)) {
    const PhraseEntry& entry = entries[index];
    if (text.size() == 2 * size_t{entry.charCount} &&
        std::memcmp(entry.text, text.data(), text.size()) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace tvime
