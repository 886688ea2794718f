#include "engine/dictionary_file.h"

#include <algorithm>
#include <cstring>

#include "base/byte_reader.h"

namespace tvime {

const char* TextAt(std::span<const std::uint8_t> buffer, size_t offset, size_t length) {
  if (length == 0 || offset > buffer.size() || buffer.size() - offset < length) return nullptr;
  const std::uint8_t* start = buffer.data() + offset;
  if (!std::memchr(start, 0, length)) return nullptr;
  return reinterpret_cast<const char*>(start);
}

size_t ParsePairList(std::span<const std::uint8_t> buffer, size_t offset,
                     std::vector<TextPair>& out) {
  ByteReader header(buffer, offset);
  std::uint16_t pairCount = 0, reserved = 0;
  if (!header.ReadU16(pairCount) || !header.ReadU16(reserved)) return 0;
  // The texts start after all the length bytes; without them nothing can be located.
  if (!header.Has(2 * size_t{pairCount})) return 0;
  size_t lengths = header.offset();
  size_t text = lengths + 2 * size_t{pairCount};
  out.reserve(out.size() + pairCount);
  for (size_t i = 0; i < pairCount; ++i) {
    size_t firstLength = buffer[lengths + 2 * i];
    size_t secondLength = buffer[lengths + 2 * i + 1];
    const char* first = TextAt(buffer, text, firstLength);
    const char* second = first ? TextAt(buffer, text + firstLength, secondLength) : nullptr;
    if (!second) return 0;
    out.push_back({first, second});
    text += firstLength + secondLength;
  }
  return text;
}

bool DictionaryFile::LoadFromResource(const ResourceSource* module, std::string_view name,
                                      int kind) {
  Clear();
  if (!module) return false;
  std::optional<ByteSpan> resource = module->FindData(name);
  if (!resource) return false;
  if (!module->Decoded(name)) return LoadFromBytes(*resource, kind);
  std::string indexName = IndexResourceName(name);
  return LoadFromDecodedBytes(
      *resource, module->Decoded(indexName) ? module->FindData(indexName) : std::nullopt,
      module->IndexesChecked() ? IndexCheck::Shape : IndexCheck::Entries);
}

bool DictionaryFile::LoadFromBytes(ByteSpan resource, int kind) {
  Clear();
  if (!DecodeResource(resource, kind, owned_)) return false;
  buffer = owned_;
  return Parse();
}

bool DictionaryFile::LoadFromDecodedBytes(ByteSpan decoded, std::optional<ByteSpan> index,
                                          IndexCheck check) {
  Clear();
  buffer = decoded;
  return (index && AdoptIndex(*index, check)) || Parse();
}

bool DictionaryFile::IndexFits(ByteSpan decoded, ByteSpan index) {
  Clear();
  buffer = decoded;
  bool fits = AdoptIndex(index, IndexCheck::Entries);
  Clear();
  return fits;
}

bool DecodeResource(ByteSpan resource, int kind, std::vector<std::uint8_t>& out) {
  out.clear();
  std::uint32_t total = 0;
  if (!ByteReader(resource).ReadU32(total)) return false;
  // A header that claims more than the resource holds is taken as the resource's size.
  size_t length = std::min<size_t>(total, resource.size());
  out.assign(resource.begin(), resource.begin() + static_cast<std::ptrdiff_t>(length));
  if (out.size() > 4) Descramble(std::span(out).subspan(4), kind);
  return true;
}

bool DictionaryFile::Parse() {
  pairs.clear();
  bool intact = ParsePairList(buffer, 4, pairs) != 0;
  count = pairs.size();
  return intact;
}

void DictionaryFile::Clear() {
  pairs.clear();
  buffer = {};
  owned_.clear();
  count = 0;
}

}  // namespace tvime
