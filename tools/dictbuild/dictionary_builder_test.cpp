#include "tools/dictbuild/data_tables.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/character_dictionary.h"
#include "engine/pinyin_syllables.h"

namespace tvime {
namespace {

TEST(CharacterTable, ParsesRecordsIntoGbk) {
  std::vector<CharRecord> records =
      ParseCharacterTable("# comment\n中\tsgas\t1\t65535\tzhōng zhòng\n〇\tg\t0\t0\t\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].text, "\xD6\xD0");
  EXPECT_EQ(records[0].code, "sgas");
  EXPECT_EQ(records[0].flags, kCommonCharFlag);
  EXPECT_EQ(records[0].weight, 65535);
  EXPECT_EQ(records[0].annotation, "zh\xA8\xADng zh\xA8\xB0ng");
  EXPECT_EQ(records[1].text, "\xA9\x96");
  EXPECT_EQ(records[1].annotation, "");
}

TEST(CharacterTable, RejectsMalformedRecordsNamingTheLine) {
  const char* bad[] = {
      "中\tsgaz\t1\t1\t\n",                 // not a stroke letter
      "中\t\t1\t1\t\n",                     // no code
      "中\tsgas\t2\t1\t\n",                 // flag
      "中\tsgas\t1\t65536\t\n",             // weight out of range
      "中\tsgas\t1\t1x\t\n",                // weight not a number
      "中\tsgas\t1\t1\n",                   // missing field
      "中国\tsgas\t1\t1\t\n",               // two characters
      "𫫇\tsgas\t1\t1\t\n",               // not in GBK
      "一\ta\t0\t1\t\n中\tsgas\t1\t1\t\n",  // a common character after the common block
  };
  for (const char* table : bad) {
    EXPECT_THROW(ParseCharacterTable(table), std::runtime_error) << table;
  }
  try {
    ParseCharacterTable("# header\n一\ta\t1\t1\t\n中\tsgaz\t1\t1\t\n");
    FAIL();
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos);
  }
}

TEST(PhraseTable, ParsesTextsAndTheirSyllableKeys) {
  std::vector<PhraseRecord> phrases = ParsePhraseTable("# c\n中国\tzhong guo\n绿色\tlv se\n");
  ASSERT_EQ(phrases.size(), 2u);
  EXPECT_EQ(phrases[0].text, "\xD6\xD0\xB9\xFA");
  EXPECT_EQ(phrases[0].syllableKeys,
            (std::vector<std::uint16_t>{Syllables()[*FindSyllable("zhong")].Key(),
                                        Syllables()[*FindSyllable("guo")].Key()}));
  EXPECT_EQ(phrases[1].syllableKeys[0] >> 8, *FindFinal("v"));
  for (const char* bad :
       {"中国\tzhong\n", "中国\tzhong guo guo\n", "中国\tzhong gwo\n", "中\tzhong\n", "中国\n"}) {
    EXPECT_THROW(ParsePhraseTable(bad), std::runtime_error) << bad;
  }
}

TEST(PinyinTableText, FollowsTheBuiltInSyllablesAndNamesDictionaryPositions) {
  std::vector<CharRecord> characters = ParseCharacterTable("中\tsgas\t1\t9\t\n种\tdasdf\t1\t8\t\n");
  std::string table = "# header\n";
  for (size_t row = 1; row < kSyllableRowCount; ++row) {
    std::string syllable(kSyllableRows[row].text);
    table += syllable + "\t" +
             (syllable == "zhong"   ? "中种"
              : syllable == "chong" ? "种"
                                    : "") +
             "\n";
  }
  std::vector<std::vector<std::uint16_t>> rows = ParsePinyinTable(table, characters);
  ASSERT_EQ(rows.size(), kSyllableRowCount);
  EXPECT_EQ(rows[*FindSyllable("zhong")], (std::vector<std::uint16_t>{0, 1}));
  EXPECT_EQ(rows[*FindSyllable("chong")], (std::vector<std::uint16_t>{1}));
  EXPECT_TRUE(rows[0].empty());

  std::string unknownChar = table;
  unknownChar.replace(unknownChar.find("中种"), 6, "国");
  EXPECT_THROW(ParsePinyinTable(unknownChar, characters), std::runtime_error);
  std::string missingRow = table;
  missingRow.erase(missingRow.find("ai\t"), 4);
  EXPECT_THROW(ParsePinyinTable(missingRow, characters), std::runtime_error);
  EXPECT_THROW(ParsePinyinTable(table.substr(0, table.size() / 2), characters), std::runtime_error);
}

TEST(RadicalTables, ListStartsWithThePlaceholderAndGroupsKeepLinksLast) {
  TextPairs list = ParseRadicalList("85\t氵\tffa\t85\tleft\n30\t口\tsga\t30\t\n");
  EXPECT_EQ(list, (TextPairs{{"0", ""}, {"85", "ffa"}, {"30", "sga"}}));
  EXPECT_THROW(ParseRadicalList("85\t氵\tff1\t85\t\n"), std::runtime_error);

  std::vector<TextPairs> groups = ParseRadicalGroups("2\t口\t\n2\t叫\tgsg\n2\t@31\tsg\n4\t人\t\n");
  ASSERT_EQ(groups.size(), 5u);
  EXPECT_TRUE(groups[0].empty());
  EXPECT_TRUE(groups[3].empty());
  EXPECT_EQ(groups[2], (TextPairs{{"\xBF\xDA", ""}, {"\xBD\xD0", "gsg"}, {"31", "sg"}}));
  EXPECT_THROW(ParseRadicalGroups("2\t@31\tsg\n2\t叫\tgsg\n"), std::runtime_error);
  EXPECT_THROW(ParseRadicalGroups("4\t人\t\n2\t口\t\n"), std::runtime_error);
  EXPECT_THROW(ParseRadicalGroups("2\t口口\t\n"), std::runtime_error);
}

}  // namespace
}  // namespace tvime
