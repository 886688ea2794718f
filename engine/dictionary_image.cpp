#include "engine/dictionary_image.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/byte_reader.h"
#include "engine/character_dictionary.h"
#include "engine/dictionary_file.h"
#include "engine/next_word_model.h"
#include "engine/phrase_dictionary.h"
#include "engine/radical_group_dictionary.h"

namespace tvime {
namespace {

constexpr std::uint32_t kMagic = 0x49445654;  // "TVDI"
constexpr std::uint32_t kFormat = 4;
constexpr size_t kHeaderSize = 48;
constexpr size_t kNameSize = 24;
constexpr size_t kEntrySize = kNameSize + 16;
constexpr size_t kMostEntries = 2 * kDictionaryResources.size();  // each with its index
constexpr size_t kAlignment = 16;
constexpr size_t kContentHashOffset = 32;

// The dictionaries whose indexes the image holds (what a process would otherwise build or check
// for itself from the decoded bytes); null for the others.
std::unique_ptr<DictionaryFile> IndexedDictionary(std::string_view name) {
  if (name == kPhraseResource.name) return std::make_unique<PhraseDictionary>();
  if (name == kCharacterResource.name) return std::make_unique<CharacterDictionary>();
  if (name == kNextWordResource.name) return std::make_unique<NextWordModel>();
  if (name == kRadicalGroupResource.name) return std::make_unique<RadicalGroupDictionary>();
  return nullptr;
}

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;

std::uint64_t Rotate(std::uint64_t value, int bits) {
  return (value << bits) | (value >> (64 - bits));
}

std::uint64_t Word(const std::uint8_t* bytes) {
  std::uint64_t word = 0;
  for (int i = 7; i >= 0; --i) word = (word << 8) | bytes[i];
  return word;
}

void Put(std::vector<std::uint8_t>& out, size_t at, std::uint64_t value, size_t width) {
  for (size_t i = 0; i < width; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

bool ReadU64(ByteReader& reader, std::uint64_t& value) {
  std::uint32_t low = 0, high = 0;
  if (!reader.ReadU32(low) || !reader.ReadU32(high)) return false;
  value = (std::uint64_t{high} << 32) | low;
  return true;
}

}  // namespace

std::uint64_t HashBytes(ByteSpan bytes, std::uint64_t seed) {
  // Four independent lanes over 8-byte words keep the processor's multipliers busy.
  std::uint64_t lanes[4] = {seed + kPrime1 + kPrime2, seed + kPrime2, seed, seed - kPrime1};
  size_t at = 0;
  for (; bytes.size() - at >= 32; at += 32) {
    for (int lane = 0; lane < 4; ++lane) {
      lanes[lane] = Rotate(lanes[lane] + Word(&bytes[at + 8 * lane]) * kPrime2, 31) * kPrime1;
    }
  }
  std::uint64_t hash = Rotate(lanes[0], 1) + Rotate(lanes[1], 7) + Rotate(lanes[2], 12) +
                       Rotate(lanes[3], 18) + bytes.size();
  for (; at < bytes.size(); ++at) hash = Rotate(hash ^ (bytes[at] * kPrime1), 11) * kPrime2;
  hash ^= hash >> 33;
  hash *= kPrime2;
  hash ^= hash >> 29;
  return hash;
}

std::uint64_t DictionaryDataHash(const ResourceSource& stored) {
  std::optional<ByteSpan> built = stored.FindData(kDataHashResource);
  std::uint64_t hash = 0;
  if (built && built->size() == 8) {
    ByteReader reader(*built);
    if (ReadU64(reader, hash)) return hash;
  }
  return ComputeDictionaryDataHash(stored);
}

std::uint64_t ComputeDictionaryDataHash(const ResourceSource& stored) {
  std::uint64_t hash = 0;
  for (const DictionaryResource& resource : kDictionaryResources) {
    std::optional<ByteSpan> bytes = stored.FindData(resource.name);
    hash = HashBytes(
        ByteSpan(reinterpret_cast<const std::uint8_t*>(resource.name.data()), resource.name.size()),
        hash);
    hash = bytes ? HashBytes(*bytes, hash) : Rotate(hash, 17) ^ kPrime1;
  }
  return hash;
}

std::uint64_t DictionaryImageBuild() {
  static constexpr char kCompiled[] = __DATE__ " " __TIME__;
  return HashBytes(ByteSpan(reinterpret_cast<const std::uint8_t*>(kCompiled), sizeof kCompiled - 1),
                   kFormat);
}

std::vector<std::uint8_t> BuildDictionaryImage(const ResourceSource& stored,
                                               const DictionaryImageKey& key) {
  struct Part {
    std::string name;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Part> parts;
  for (const DictionaryResource& resource : kDictionaryResources) {
    std::optional<ByteSpan> bytes = stored.FindData(resource.name);
    Part part{std::string(resource.name), {}};
    if (!bytes || !DecodeResource(*bytes, resource.kind, part.bytes)) continue;
    std::vector<std::uint8_t> index;
    if (std::unique_ptr<DictionaryFile> dictionary = IndexedDictionary(resource.name)) {
      dictionary->LoadFromDecodedBytes(part.bytes);
      index = dictionary->SerializeIndex();
    }
    parts.push_back(std::move(part));
    if (!index.empty()) parts.push_back({IndexResourceName(resource.name), std::move(index)});
  }
  size_t at = kHeaderSize + kEntrySize * parts.size();
  std::vector<size_t> offsets;
  for (const Part& part : parts) {
    at = (at + kAlignment - 1) / kAlignment * kAlignment;
    offsets.push_back(at);
    at += part.bytes.size();
  }
  std::vector<std::uint8_t> image(at, 0);
  for (size_t i = 0; i < parts.size(); ++i) {
    size_t entry = kHeaderSize + kEntrySize * i;
    std::memcpy(&image[entry], parts[i].name.data(), std::min(parts[i].name.size(), kNameSize - 1));
    Put(image, entry + kNameSize, offsets[i], 8);
    Put(image, entry + kNameSize + 8, parts[i].bytes.size(), 8);
    std::copy(parts[i].bytes.begin(), parts[i].bytes.end(), image.begin() + offsets[i]);
  }
  Put(image, 0, kMagic, 4);
  Put(image, 4, kFormat, 4);
  Put(image, 8, key.build, 8);
  Put(image, 16, key.dataHash, 8);
  Put(image, 24, image.size(), 8);
  Put(image, 40, parts.size(), 4);
  Put(image, kContentHashOffset, HashBytes(ByteSpan(image).subspan(kHeaderSize)), 8);
  return image;
}

std::optional<DictionaryImageResources> DictionaryImageResources::Open(
    ByteSpan image, const DictionaryImageKey& key, const ResourceSource& stored,
    bool checkContent) {
  ByteReader header(image);
  std::uint32_t magic = 0, format = 0, count = 0;
  std::uint64_t build = 0, dataHash = 0, size = 0, contentHash = 0;
  if (!header.ReadU32(magic) || !header.ReadU32(format) || !ReadU64(header, build) ||
      !ReadU64(header, dataHash) || !ReadU64(header, size) || !ReadU64(header, contentHash) ||
      !header.ReadU32(count)) {
    return std::nullopt;
  }
  if (magic != kMagic || format != kFormat || DictionaryImageKey{build, dataHash} != key ||
      size != image.size() || count > kMostEntries ||
      image.size() < kHeaderSize + kEntrySize * count ||
      (checkContent && HashBytes(image.subspan(kHeaderSize)) != contentHash)) {
    return std::nullopt;
  }
  DictionaryImageResources resources(stored);
  for (size_t i = 0; i < count; ++i) {
    ByteReader entry(image, kHeaderSize + kEntrySize * i + kNameSize);
    std::uint64_t offset = 0, length = 0;
    ReadU64(entry, offset);
    ReadU64(entry, length);
    if (offset > image.size() || image.size() - offset < length) return std::nullopt;
    const char* name = reinterpret_cast<const char*>(&image[kHeaderSize + kEntrySize * i]);
    resources.entries_.push_back({LowerAscii(std::string_view(name, strnlen(name, kNameSize))),
                                  image.subspan(offset, length)});
  }
  // Each index must fit its dictionary in every entry. The indexes of an image whose content was
  // found whole by an earlier check are those that check saw.
  for (const Entry& entry : resources.entries_) {
    std::unique_ptr<DictionaryFile> dictionary = IndexedDictionary(entry.name);
    const Entry* index = resources.EntryOf(IndexResourceName(entry.name));
    if (checkContent && dictionary && index && !dictionary->IndexFits(entry.bytes, index->bytes)) {
      return std::nullopt;
    }
  }
  return resources;
}

const DictionaryImageResources::Entry* DictionaryImageResources::EntryOf(
    std::string_view name) const {
  std::string lower = LowerAscii(name);
  for (const Entry& entry : entries_) {
    if (entry.name == lower) return &entry;
  }
  return nullptr;
}

std::optional<ByteSpan> DictionaryImageResources::FindData(std::string_view name) const {
  if (const Entry* entry = EntryOf(name)) return entry->bytes;
  return stored_->FindData(name);
}

bool DictionaryImageResources::Decoded(std::string_view name) const {
  return EntryOf(name) != nullptr;
}

}  // namespace tvime
