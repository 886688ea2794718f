#include "engine/phrase_dictionary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/gbk_literals.h"
#include "tools/dictbuild/dictionary_builder.h"

namespace tvime {
namespace {

using ::testing::ElementsAre;
using testing::G;

std::vector<std::uint8_t> SamplePhrases() {
  return BuildPhraseDictionary({
      {G("中国"), {0x1F15, 0x0805}},
      {G("国家"), {0x0805, 0x0D07}},
      {G("中国人"), {0x1F15, 0x0805, 0x0B0E}},
      {G("中"), {0x1F15}},
  });
}

TEST(PhraseDictionary, ParsesTextsKeysAndTheFirstCharacterIndex) {
  std::vector<std::uint8_t> bin = SamplePhrases();
  SealContainer(bin, SCRAMBLE_XOR);
  PhraseDictionary phrases;
  ASSERT_TRUE(phrases.LoadFromBytes(bin, SCRAMBLE_XOR));
  ASSERT_EQ(phrases.count, 4u);
  EXPECT_EQ(phrases.EntryAt(2).text, G("中国人"));
  EXPECT_EQ(phrases.EntryAt(2).charCount, 3);
  EXPECT_EQ(phrases.EntryAt(2).SyllableKeyAt(2), 0x0B0E);
  EXPECT_THAT(phrases.PhrasesStartingWith(G("中")), ElementsAre(0, 2, 3));
  EXPECT_THAT(phrases.PhrasesStartingWith(G("国人")), ElementsAre(1));
  EXPECT_TRUE(phrases.PhrasesStartingWith(G("人")).empty());
}

TEST(PhraseDictionary, ContainsComparesWholeTexts) {
  PhraseDictionary phrases;
  ASSERT_TRUE(phrases.LoadFromBytes(SamplePhrases(), SCRAMBLE_NONE));
  EXPECT_TRUE(phrases.Contains(G("中国")));
  EXPECT_TRUE(phrases.Contains(G("中国人")));
  EXPECT_FALSE(phrases.Contains(G("中国家")));
  EXPECT_FALSE(phrases.Contains(G("国")));
}

TEST(PhraseDictionary, AnEmptyPhraseIsIndexedUnderItsOwnEmptyKey) {
  // Length byte 1: no characters, the NUL, and the four trailing bytes (0xFF, not a key).
  std::vector<std::uint8_t> bin = {0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  SealContainer(bin, SCRAMBLE_NONE);
  PhraseDictionary phrases;
  ASSERT_TRUE(phrases.LoadFromBytes(bin, SCRAMBLE_NONE));
  ASSERT_EQ(phrases.count, 1u);
  EXPECT_EQ(phrases.EntryAt(0).Text(), "");
  EXPECT_THAT(phrases.PhrasesStartingWith(""), ElementsAre(0));
  EXPECT_TRUE(phrases.Contains(""));
}

TEST(PhraseDictionary, ZeroTotalLengthMeansNoPhrases) {
  std::vector<std::uint8_t> bin = SamplePhrases();
  bin[0] = bin[1] = bin[2] = bin[3] = 0;
  PhraseDictionary phrases;
  EXPECT_TRUE(phrases.LoadFromBytes(bin, SCRAMBLE_NONE));
  EXPECT_EQ(phrases.count, 0u);
}

TEST(PhraseDictionary, DamagedDataKeepsTheIntactPhrases) {
  std::vector<std::uint8_t> bin = SamplePhrases();
  PhraseDictionary phrases;

  std::vector<std::uint8_t> truncated(bin.begin(), bin.end() - 1);
  EXPECT_FALSE(phrases.LoadFromBytes(truncated, SCRAMBLE_NONE));
  EXPECT_EQ(phrases.count, 3u);

  std::vector<std::uint8_t> longLength = bin;
  longLength[8 + 1] = 0xFF;  // the second block claims 259 bytes
  EXPECT_FALSE(phrases.LoadFromBytes(longLength, SCRAMBLE_NONE));
  EXPECT_EQ(phrases.count, 1u);
  EXPECT_EQ(phrases.PhrasesStartingWith(G("国")).size(), 0u);

  std::vector<std::uint8_t> hugeCount = bin;
  hugeCount[7] = 0xFF;  // count 0xFF000004, cut to 0xFFFFFF: the length bytes run past the end
  EXPECT_FALSE(phrases.LoadFromBytes(hugeCount, SCRAMBLE_NONE));
  EXPECT_EQ(phrases.count, 0u);

  std::vector<std::uint8_t> missingNul = bin;
  missingNul[8 + 4 + 4] = 'x';  // first phrase's text NUL
  EXPECT_FALSE(phrases.LoadFromBytes(missingNul, SCRAMBLE_NONE));
  EXPECT_EQ(phrases.count, 0u);
}

}  // namespace
}  // namespace tvime
