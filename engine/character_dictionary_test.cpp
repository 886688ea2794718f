#include "engine/character_dictionary.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/test_lexicon.h"

namespace tvime {
namespace {

using testing::Char;
using testing::G;

void Load(CharacterDictionary& dictionary, const std::vector<CharRecord>& records) {
  std::vector<std::uint8_t> bin = BuildCharacterDictionary(records);
  SealContainer(bin, SCRAMBLE_BLOCK);
  ASSERT_TRUE(dictionary.LoadFromBytes(bin, SCRAMBLE_BLOCK));
}

std::vector<std::string> Texts(const CharacterDictionary& dictionary,
                               const std::vector<CandidateId>& list) {
  std::vector<std::string> texts;
  for (CandidateId id : list) texts.push_back(GbkToUtf8(dictionary.EntryAt(id).text));
  return texts;
}

std::vector<std::string> Find(const CharacterDictionary& dictionary, std::string_view query,
                              bool big = true) {
  std::vector<CandidateId> list;
  dictionary.FindByStrokes(query, big, list);
  return Texts(dictionary, list);
}

class CharacterDictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Load(dictionary, {
                         Char("一", "a", true, 900, "yī"), Char("十", "as", true, 800, "shí"),
                         Char("二", "aa", true, 700), Char("干", "aas", true, 700),
                         Char("王", "aasa", true, 950, "wáng"), Char("丁", "ag", true, 300),
                         Char("于", "aag", true, 700), Char("中", "sgas", true, 990, "zhōng zhòng"),
                         Char("丰", "aaas", false, 700), Char("亍", "aas", false, 100),
                         Char("兀", "adg", false, 990),
                         Char("十", "sa", false, 5),  // a second entry of 十: the first wins
                     });
  }
  CharacterDictionary dictionary;
};

TEST_F(CharacterDictionaryTest, ParsesEntriesAndIndexes) {
  ASSERT_EQ(dictionary.count, 12u);
  EXPECT_EQ(dictionary.IndexOfChar(G("中")), 7);
  EXPECT_EQ(dictionary.IndexOfChar(G("十")), 1);
  EXPECT_EQ(dictionary.CodeOfChar(G("十")), "as");
  EXPECT_EQ(dictionary.CodeOfIndex(11), "sa");
  EXPECT_EQ(GbkToUtf8(dictionary.AnnotationOfChar(G("中"))), "zhōng zhòng");
  EXPECT_TRUE(dictionary.IsCommonChar(G("中")));
  EXPECT_FALSE(dictionary.IsCommonChar(G("兀")));
  EXPECT_EQ(dictionary.commonChars.size(), 8u);
}

TEST_F(CharacterDictionaryTest, AbsentCharactersGiveIndexZeroAndEmptyTexts) {
  EXPECT_EQ(dictionary.IndexOfChar(G("国")), 0);
  EXPECT_EQ(dictionary.CodeOfChar(G("国")), "");
  EXPECT_EQ(dictionary.AnnotationOfChar(G("国")), "");
  EXPECT_FALSE(dictionary.IsCommonChar(G("国")));
  EXPECT_EQ(dictionary.CodeOfIndex(500), "");
}

TEST_F(CharacterDictionaryTest, ExactMatchesComeFirstWhateverTheWeights) {
  // 干 (exact, weight 700) before 王 (prefix, 950); then prefixes by weight, ties in order.
  EXPECT_EQ(Find(dictionary, "aas", false), (std::vector<std::string>{"干", "王"}));
  EXPECT_EQ(Find(dictionary, "aa", false), (std::vector<std::string>{"二", "王", "干", "于"}));
}

TEST_F(CharacterDictionaryTest, CommonOnlySearchStopsAtTheFirstUncommonEntry) {
  EXPECT_EQ(Find(dictionary, "a", false),
            (std::vector<std::string>{"一", "王", "十", "二", "干", "于", "丁"}));
  // With the big set the uncommon entries join the ranking: 兀 (990) first among prefixes, and
  // on equal weight a common character ranks before an uncommon one (丰 after 于).
  EXPECT_EQ(Find(dictionary, "a", true),
            (std::vector<std::string>{"一", "兀", "王", "十", "二", "干", "于", "丰", "丁", "亍"}));
}

TEST_F(CharacterDictionaryTest, WildcardsAndTheTRule) {
  EXPECT_EQ(Find(dictionary, "t?s", false), (std::vector<std::string>{"王", "干"}));
  EXPECT_EQ(Find(dictionary, "?g", false), (std::vector<std::string>{"中", "丁"}));
  EXPECT_EQ(Find(dictionary, "", false).size(), 8u);
  EXPECT_TRUE(Find(dictionary, "ggggg").empty());
}

TEST(CharacterDictionary, FlagBitsOtherThanCommonDoNotAffectTheRanking) {
  CharacterDictionary dictionary;
  // Flag byte 0x02 differs from 0x00 only outside the common bit: the two rank equal and keep
  // dictionary order.
  std::vector<CharRecord> records = {Char("甲", "a", false, 0), Char("乙", "ad", false, 10),
                                     Char("丙", "as", false, 10)};
  records[2].flags = 0x02;
  Load(dictionary, records);
  EXPECT_EQ(Find(dictionary, "a"), (std::vector<std::string>{"甲", "乙", "丙"}));
}

TEST(CharacterDictionary, AtMost400TakePartInDictionaryOrder) {
  std::vector<CharRecord> records;
  // 500 characters that all match "a": the first 400 in dictionary order are ranked; a heavy
  // character beyond them never appears.
  for (int i = 0; i < 500; ++i) {
    std::string text = {static_cast<char>(0xB0 + i / 94), static_cast<char>(0xA1 + i % 94)};
    records.push_back(
        {text, "as", "", kCommonCharFlag, static_cast<std::uint16_t>(i == 450 ? 60000 : i)});
  }
  CharacterDictionary dictionary;
  Load(dictionary, records);
  std::vector<CandidateId> list;
  dictionary.FindByStrokes("a", true, list);
  ASSERT_EQ(list.size(), 400u);
  EXPECT_EQ(list.front(), 399u);  // heaviest of the first 400
  EXPECT_EQ(std::count(list.begin(), list.end(), 450u), 0);
  // Exact matches count towards the cap too.
  dictionary.FindByStrokes("as", true, list);
  ASSERT_EQ(list.size(), 400u);
  EXPECT_EQ(list.front(), 0u);
  EXPECT_EQ(list.back(), 399u);
}

TEST(CharacterDictionary, AnExactMatchBeyondTheFirst400IsStillListedFirst) {
  std::vector<CharRecord> records;
  for (int i = 0; i < 450; ++i) {
    std::string text = {static_cast<char>(0xB0 + i / 94), static_cast<char>(0xA1 + i % 94)};
    records.push_back({text, "sa", "", kCommonCharFlag, static_cast<std::uint16_t>(1000 - i)});
  }
  records.push_back({G("丨"), "s", "", 0, 0});
  CharacterDictionary dictionary;
  Load(dictionary, records);
  std::vector<CandidateId> list;
  dictionary.FindByStrokes("s", true, list);
  ASSERT_EQ(list.size(), 400u);
  EXPECT_EQ(list.front(), 450u);
  EXPECT_EQ(list.back(), 398u);  // the lowest-ranked prefix match made room
  dictionary.FindByStrokes("s", false, list);
  EXPECT_EQ(std::count(list.begin(), list.end(), 450u), 0);  // not common: not searched
}

TEST(CharacterDictionary, DamagedDataKeepsTheIntactEntries) {
  std::vector<std::uint8_t> bin =
      BuildCharacterDictionary({Char("一", "a", true, 1), Char("中", "sgas", true, 2)});
  CharacterDictionary dictionary;

  std::vector<std::uint8_t> truncated(bin.begin(), bin.end() - 3);
  EXPECT_FALSE(dictionary.LoadFromBytes(truncated, SCRAMBLE_NONE));
  EXPECT_EQ(dictionary.count, 1u);
  EXPECT_EQ(dictionary.IndexOfChar(G("中")), 0);

  std::vector<std::uint8_t> countTooLarge = bin;
  countTooLarge[4] = 0xFF;
  EXPECT_FALSE(dictionary.LoadFromBytes(countTooLarge, SCRAMBLE_NONE));
  EXPECT_EQ(dictionary.count, 0u);
  std::vector<CandidateId> list{1, 2, 3};
  dictionary.FindByStrokes("", true, list);
  EXPECT_TRUE(list.empty());

  std::vector<std::uint8_t> codeWithoutNul = bin;
  codeWithoutNul[8 + 6 + 1] = 1;  // second entry's code claims 1 byte: "s", no NUL inside
  EXPECT_FALSE(dictionary.LoadFromBytes(codeWithoutNul, SCRAMBLE_NONE));
  EXPECT_EQ(dictionary.count, 1u);
}

}  // namespace
}  // namespace tvime
