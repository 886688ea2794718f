// The decoded image of the dictionaries that processes share: a lexicon over it finds what a
// lexicon over the module's own resources finds, using the image's bytes in place, and an image
// that is damaged, stale or made for other dictionaries or another build is never used.

#include "engine/dictionary_image.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/phrase_dictionary.h"
#include "tests/support/shipped_dictionaries.h"

namespace tvime {
namespace {

const DictionaryImageKey kKey{0x0123456789ABCDEFull, 0xFEDCBA9876543210ull};

constexpr auto Stored = testing::ShippedDictionaries;

void PutU64(std::vector<std::uint8_t>& image, size_t at, std::uint64_t value) {
  for (size_t i = 0; i < 8; ++i) image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Where the image's part `name` starts.
size_t PartOffset(const std::vector<std::uint8_t>& image, std::string_view name) {
  for (size_t entry = 48; entry + 40 <= image.size(); entry += 40) {
    if (name == reinterpret_cast<const char*>(&image[entry])) {
      size_t offset = 0;
      for (size_t i = 0; i < 8; ++i) offset |= size_t{image[entry + 24 + i]} << (8 * i);
      return offset;
    }
  }
  ADD_FAILURE() << name << " is not in the image";
  return 0;
}

bool Inside(const void* pointer, ByteSpan bytes) {
  auto* at = static_cast<const std::uint8_t*>(pointer);
  return at >= bytes.data() && at < bytes.data() + bytes.size();
}

TEST(DictionaryImage, ALexiconOverTheImageFindsWhatTheModulesOwnFindsInPlace) {
  std::vector<std::uint8_t> image = BuildDictionaryImage(Stored(), kKey);
  auto shared = DictionaryImageResources::Open(image, kKey, Stored());
  ASSERT_TRUE(shared);
  Lexicon own(nullptr), mapped(nullptr);
  own.Initialize(&Stored());
  mapped.Initialize(&*shared);

  ASSERT_GT(own.phrases().count, 100000u);
  EXPECT_EQ(mapped.phrases().count, own.phrases().count);
  EXPECT_EQ(mapped.characters().count, own.characters().count);
  EXPECT_EQ(mapped.radicals().count, own.radicals().count);
  EXPECT_EQ(mapped.GroupCount(), own.GroupCount());
  for (const char* key : {"\xD6\xD0", "\xB5\xE7\xC4\xD4", "\xC8\xCB"}) {  // 中, 电脑, 人
    EXPECT_EQ(mapped.AssociationsOf(key), own.AssociationsOf(key)) << key;
  }
  for (CandidateId id : {0u, 1000u, 250000u}) {
    EXPECT_EQ(mapped.CandidateText(id), own.CandidateText(id));
    EXPECT_TRUE(Inside(mapped.CandidateText(id).data(), image)) << "phrase " << id << " copied";
  }
  EXPECT_TRUE(Inside(mapped.characters().EntryAt(5).text, image));
  EXPECT_TRUE(Inside(mapped.phrases().PhrasesStartingWith("\xD6\xD0").data(), image))
      << "the phrases' index was built again";
  // Resources the image does not hold come from the module as they are.
  EXPECT_EQ(shared->FindData("WDPINYIN.BIN")->data(), Stored().FindData("WDPINYIN.BIN")->data());
  EXPECT_FALSE(shared->Decoded("WDPINYIN.BIN"));
  EXPECT_TRUE(shared->Decoded("PHRASE.BIN"));
  EXPECT_TRUE(shared->Decoded("words.bin.index")) << "the characters' records are not shared";
}

TEST(DictionaryImage, ADamagedStaleOrForeignImageIsNeverUsed) {
  const std::vector<std::uint8_t> good = BuildDictionaryImage(Stored(), kKey);
  ASSERT_TRUE(DictionaryImageResources::Open(good, kKey, Stored()));
  // A forger who knows the format seals the changed image again.
  struct Case {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> change;
    bool resealed = false;
    DictionaryImageKey key = kKey;
  };
  const Case cases[] = {
      {"a byte of a dictionary changed", [](auto& image) { image[image.size() / 2] ^= 1; }},
      {"a byte of an entry's name changed", [](auto& image) { image[48] ^= 0x20; }},
      {"the magic", [](auto& image) { image[0] = 'X'; }},
      {"another format", [](auto& image) { image[4] ^= 0x40; }},
      {"cut short", [](auto& image) { image.resize(image.size() - 1); }},
      {"a byte longer", [](auto& image) { image.push_back(0); }},
      {"only the header", [](auto& image) { image.resize(48); }},
      {"empty", [](auto& image) { image.clear(); }},
      {"made by another build", [](auto&) {}, false, {kKey.build + 1, kKey.dataHash}},
      {"made from other dictionaries", [](auto&) {}, false, {kKey.build, kKey.dataHash ^ 1}},
      {"an entry reaching past the end",
       [](auto& image) { PutU64(image, 48 + 24 + 8, image.size()); }, true},
      {"a phrase's text outside the phrases",
       [](auto& image) {
         PutU64(image, PartOffset(image, "phrase.bin.index") + 8 + 4 * 7, 0xFFFFFFF0u);
       },
       true},
      {"more next-word records than the model holds",
       [](auto& image) { image[PartOffset(image, "nextword.bin.index")] += 1; }, true},
      {"more entries than dictionaries", [](auto& image) { image[40] = 200; }, true},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> image = good;
    c.change(image);
    if (c.resealed) PutU64(image, 32, HashBytes(ByteSpan(image).subspan(48)));
    EXPECT_FALSE(DictionaryImageResources::Open(image, c.key, Stored())) << c.what;
  }
}

TEST(DictionaryImage, APhraseIndexThatDoesNotFitIsBuiltAgain) {
  std::vector<std::uint8_t> decoded;
  ASSERT_TRUE(DecodeResource(*Stored().FindData("phrase.bin"), SCRAMBLE_XOR, decoded));
  PhraseDictionary own;
  own.LoadFromDecodedBytes(decoded);
  const std::vector<std::uint8_t> index = own.SerializeIndex();
  const size_t count = own.count;
  auto setWord = [](std::vector<std::uint8_t>& bytes, size_t word, std::uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
      bytes[4 * word + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  struct Case {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> change;
  };
  const Case cases[] = {
      {"a text offset past the end", [&](auto& bytes) { setWord(bytes, 2 + 7, 0xFFFFFFF0u); }},
      {"a phrase number past the count",
       [&](auto& bytes) { setWord(bytes, 2 + count + 3, static_cast<std::uint32_t>(count)); }},
      {"a key range past the count",
       [&](auto& bytes) { setWord(bytes, 2 + 2 * count + 1, 0xFFFFFFu); }},
      {"one byte short", [](auto& bytes) { bytes.pop_back(); }},
      {"more phrases than the buffer has lengths",
       [&](auto& bytes) { setWord(bytes, 0, 0x7FFFFFF); }},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bad = index;
    c.change(bad);
    PhraseDictionary mapped;
    mapped.LoadFromDecodedBytes(decoded, ByteSpan(bad));
    ASSERT_EQ(mapped.count, count) << c.what;
    EXPECT_FALSE(Inside(mapped.PhrasesStartingWith("\xD6\xD0").data(), bad)) << c.what;
    EXPECT_EQ(mapped.EntryAt(count - 1).Text(), own.EntryAt(count - 1).Text()) << c.what;
  }
  PhraseDictionary adopted;
  adopted.LoadFromDecodedBytes(decoded, ByteSpan(index));
  EXPECT_TRUE(Inside(adopted.PhrasesStartingWith("\xD6\xD0").data(), index));
}

TEST(DictionaryImage, TheDataHashFollowsEveryByteOfTheStoredDictionaries) {
  // The build's hash resource names exactly the dictionaries beside it.
  std::uint64_t shipped = DictionaryDataHash(Stored());
  ASSERT_TRUE(Stored().FindData(kDataHashResource));
  EXPECT_EQ(ComputeDictionaryDataHash(Stored()), shipped);
  auto withPhrases = [](std::vector<std::uint8_t> phrases) {
    MemoryResources resources;
    for (const char* name : {"words.bin", "extra.bin", "pianpang.bin", "nextword.bin"}) {
      ByteSpan bytes = *Stored().FindData(name);
      resources.Add(name, {bytes.begin(), bytes.end()});
    }
    if (!phrases.empty()) resources.Add("phrase.bin", std::move(phrases));
    return DictionaryDataHash(resources);
  };
  ByteSpan phrases = *Stored().FindData("phrase.bin");
  std::vector<std::uint8_t> copy(phrases.begin(), phrases.end());
  EXPECT_EQ(withPhrases(copy), shipped);
  copy[copy.size() - 3] ^= 0x80;
  EXPECT_NE(withPhrases(copy), shipped);
  EXPECT_NE(withPhrases({}), shipped) << "a missing dictionary";
}

}  // namespace
}  // namespace tvime
