#include "engine/character_dictionary.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

#include "engine/test_lexicon.h"

namespace tvime {
namespace {

using testing::Char;
using testing::G;

void Load(CharacterDictionary& dictionary, const std::vector<CharRecord>& records) {
  auto bin = testing::Sealed(BuildCharacterDictionary(records), SCRAMBLE_BLOCK);
  ASSERT_TRUE(dictionary.LoadFromBytes(bin, SCRAMBLE_BLOCK));
}

// The texts the search lists, in UTF-8.
std::vector<std::string> Find(const CharacterDictionary& dictionary, std::string_view query,
                              bool big = true) {
  std::vector<CandidateId> list;
  dictionary.FindByStrokes(query, big, list);
  std::vector<std::string> texts;
  for (CandidateId id : list) texts.push_back(GbkToUtf8(dictionary.EntryAt(id).text));
  return texts;
}

const std::vector<CharRecord>& SampleRecords() {
  static const std::vector<CharRecord> records = {
      Char("一", "a", true, 900, "yī"),
      Char("十", "as", true, 800, "shí"),
      Char("二", "aa", true, 700),
      Char("干", "aas", true, 700),
      Char("王", "aasa", true, 950, "wáng"),
      Char("丁", "ag", true, 300),
      Char("于", "aag", true, 700),
      Char("中", "sgas", true, 990, "zhōng zhòng"),
      Char("丰", "aaas", false, 700),
      Char("亍", "aas", false, 100),
      Char("兀", "adg", false, 990),
      Char("十", "sa", false, 5),  // a second entry of 十: the first wins
  };
  return records;
}

class CharacterDictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override { Load(dictionary, SampleRecords()); }
  CharacterDictionary dictionary;
};

TEST_F(CharacterDictionaryTest, ParsesEntriesAndIndexesThemByCharacter) {
  ASSERT_EQ(dictionary.count, 12u);
  EXPECT_EQ(dictionary.IndexOfChar(G("中")), 7);
  EXPECT_EQ(dictionary.IndexOfChar(G("十")), 1);
  EXPECT_EQ(dictionary.CodeOfChar(G("十")), "as");
  EXPECT_EQ(dictionary.CodeOfIndex(11), "sa");
  EXPECT_EQ(GbkToUtf8(dictionary.AnnotationOfChar(G("中"))), "zhōng zhòng");
  EXPECT_TRUE(dictionary.IsCommonChar(G("中")));
  EXPECT_FALSE(dictionary.IsCommonChar(G("兀")));
  EXPECT_EQ(dictionary.CommonCount(), 8u);
  // Absent characters give index zero and empty texts.
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

TEST(CharacterDictionary, AtMost400TakePartInDictionaryOrderAndAnExactMatchIsListedFirst) {
  // 500 characters that match "a" (weights rising, but one very heavy at 450), then 450 that
  // match "s" (weights falling), then 丨, not common, whose code "s" matches exactly.
  std::vector<CharRecord> records;
  for (int i = 0; i < 950; ++i) {
    std::string text = {static_cast<char>(0xB0 + i / 94), static_cast<char>(0xA1 + i % 94)};
    int weight = i < 500 ? (i == 450 ? 60000 : i) : 1000 - (i - 500);
    records.push_back(
        {text, i < 500 ? "as" : "sa", "", kCommonCharFlag, static_cast<std::uint16_t>(weight)});
  }
  records.push_back({G("丨"), "s", "", 0, 0});
  CharacterDictionary dictionary;
  Load(dictionary, records);
  std::vector<CandidateId> list;
  // The first 400 in dictionary order are ranked; a heavy character beyond them never appears.
  dictionary.FindByStrokes("a", true, list);
  ASSERT_EQ(list.size(), 400u);
  EXPECT_EQ(list.front(), 399u);  // heaviest of the first 400
  EXPECT_EQ(std::count(list.begin(), list.end(), 450u), 0);
  // Exact matches count towards the cap too.
  dictionary.FindByStrokes("as", true, list);
  ASSERT_EQ(list.size(), 400u);
  EXPECT_EQ(list.front(), 0u);
  EXPECT_EQ(list.back(), 399u);
  // An exact match beyond the first 400 is still listed first.
  dictionary.FindByStrokes("s", true, list);
  ASSERT_EQ(list.size(), 400u);
  EXPECT_EQ(list.front(), 950u);
  EXPECT_EQ(list.back(), 500u + 398);  // the lowest-ranked prefix match made room
  dictionary.FindByStrokes("s", false, list);
  EXPECT_EQ(std::count(list.begin(), list.end(), 950u), 0);  // not common: not searched
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

// The records and lookups that processes share through the image: adopted, they are used as they
// stand; an index that does not fit its buffer is refused, and the dictionary parses its own.
TEST(CharacterDictionaryIndex, AnAdoptedIndexIsUsedAsItStandsAndOneThatDoesNotFitIsRefused) {
  std::vector<std::uint8_t> bin = BuildCharacterDictionary(SampleRecords());
  SealContainer(bin, SCRAMBLE_BLOCK);
  std::vector<std::uint8_t> decoded;
  ASSERT_TRUE(DecodeResource(bin, SCRAMBLE_BLOCK, decoded));
  CharacterDictionary parsed;
  parsed.LoadFromDecodedBytes(decoded);
  const std::vector<std::uint8_t> index = parsed.SerializeIndex();
  auto answers = [](const CharacterDictionary& d) {
    return std::tuple(Find(d, "a"), Find(d, "aas", false), d.IndexOfChar(G("中")),
                      d.CodeOfChar(G("十")), d.AnnotationOfChar(G("王")), d.IsCommonChar(G("丰")),
                      d.IsCommonChar(G("中")), d.CommonCount(), d.count);
  };
  CharacterDictionary adopted;
  adopted.LoadFromDecodedBytes(decoded, ByteSpan(index));
  EXPECT_EQ(answers(adopted), answers(parsed));

  constexpr size_t kRecords = 8, kLookup = kRecords + 16 * 12, kStarts = kLookup + 147456;
  auto put32 = [](std::vector<std::uint8_t>& bytes, size_t at, std::uint32_t value) {
    for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  // Used as it stands: 王's weight in the index (entry 4) now ranks it last among the prefixes.
  std::vector<std::uint8_t> reweighed = index;
  reweighed[kRecords + 16 * 4 + 14] = reweighed[kRecords + 16 * 4 + 15] = 0;
  CharacterDictionary trusting;
  trusting.LoadFromDecodedBytes(decoded, ByteSpan(reweighed));
  EXPECT_EQ(Find(trusting, "a").back(), "王");

  struct Case {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> change;
  };
  const Case cases[] = {
      {"a code past the end", [&](auto& bytes) { put32(bytes, kRecords + 16 * 3 + 4, 0xFFFFFF); }},
      {"a code length that misses its NUL", [](auto& bytes) { bytes[kRecords + 16 * 7 + 13] = 2; }},
      {"a character naming an entry past the count",
       [](auto& bytes) { bytes[kLookup + 2 * CharKey(G("中")) + 1] = 0x40; }},
      {"length groups not ending at the count",
       [&](auto& bytes) { put32(bytes, kStarts + 4, 99); }},
      {"an entry by length past the count", [](auto& bytes) { bytes[bytes.size() - 4] = 0x77; }},
      {"one byte short", [](auto& bytes) { bytes.pop_back(); }},
      {"more entries than the index holds", [&](auto& bytes) { put32(bytes, 0, 13); }},
  };
  // Each damage on top of the new weight: an index adopted anyway would rank 王 last.
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bad = reweighed;
    c.change(bad);
    CharacterDictionary refused;
    refused.LoadFromDecodedBytes(decoded, ByteSpan(bad));
    EXPECT_EQ(answers(refused), answers(parsed)) << c.what;
  }
  // Texts are read up to their NUL: a buffer that does not end with one gets no index.
  std::vector<std::uint8_t> unterminated = decoded;
  unterminated.back() = 'x';
  CharacterDictionary refused;
  refused.LoadFromDecodedBytes(unterminated, ByteSpan(reweighed));
  EXPECT_EQ(Find(refused, "a"), Find(parsed, "a"));
}

}  // namespace
}  // namespace tvime
