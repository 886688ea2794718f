#pragma once
// The dictionaries decoded once into one image that every process of a user maps read-only, so
// that each application that loads the input method does not descramble and hold its own copy.
//
// Layout (little-endian): a 48-byte header (magic "TVDI", format, the build of the image code, the
// hash of the dictionaries as stored, the image's size, the hash of everything after the header,
// the entry count), then one 40-byte entry per part (its name, NUL-padded to 24 bytes, offset and
// size), then the parts, 16-byte aligned: the decoded bytes of each dictionary, and the indexes
// that a dictionary would otherwise build for itself ("phrase.bin.index"). An image is used only
// when every one of these checks out for the module at hand: a damaged, stale or foreign image
// never is.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/resources.h"

namespace tvime {

// Which build of the code and which dictionaries an image is for.
struct DictionaryImageKey {
  std::uint64_t build = 0;
  std::uint64_t dataHash = 0;  // DictionaryDataHash of the stored resources
  bool operator==(const DictionaryImageKey&) const = default;
};

// A 64-bit hash of bytes: fast enough to check a whole image at every start.
std::uint64_t HashBytes(ByteSpan bytes, std::uint64_t seed = 0);

// The hash of the scrambled dictionaries as `stored` holds them (names, sizes and bytes).
std::uint64_t ComputeDictionaryDataHash(const ResourceSource& stored);
// The build computes it once into the resource "datahash.bin" (8 bytes), so that a process need
// not read every dictionary page to find its image; this is that resource's value, or the hash
// computed when there is no such resource.
inline constexpr std::string_view kDataHashResource = "datahash.bin";
std::uint64_t DictionaryDataHash(const ResourceSource& stored);

// The build of the code that lays out and reads images and their indexes: the same in every
// program of one build, so that the input method and tvimegui share one image, and new whenever
// that code is compiled again (the build recompiles this file when the dictionaries' layouts
// change).
std::uint64_t DictionaryImageBuild();

// The image of the dictionaries of `stored`, decoded. Dictionaries `stored` lacks are left out.
std::vector<std::uint8_t> BuildDictionaryImage(const ResourceSource& stored,
                                               const DictionaryImageKey& key);

// The resources of a valid image, decoded, with every other resource from `stored`. The image's
// bytes must outlive this source.
class DictionaryImageResources : public ResourceSource {
 public:
  // nullopt when `image` is not a whole, undamaged image for `key`, or an index in it does not fit
  // its dictionary. Without `checkContent` the hash over the whole content and the walk over
  // every index entry are left out (every other check stays): for a caller that knows the same
  // bytes were checked already.
  static std::optional<DictionaryImageResources> Open(ByteSpan image, const DictionaryImageKey& key,
                                                      const ResourceSource& stored,
                                                      bool checkContent = true);

  std::optional<ByteSpan> FindData(std::string_view name) const override;
  bool Decoded(std::string_view name) const override;
  // Opening checked them, or the caller vouched for the bytes as checked already.
  bool IndexesChecked() const override { return true; }

 private:
  struct Entry {
    std::string name;  // lower case
    ByteSpan bytes;
  };
  DictionaryImageResources(const ResourceSource& stored) : stored_(&stored) {}
  const Entry* EntryOf(std::string_view name) const;

  const ResourceSource* stored_;
  std::vector<Entry> entries_;
};

}  // namespace tvime
