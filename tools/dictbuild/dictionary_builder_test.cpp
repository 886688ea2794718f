#include "tools/dictbuild/dictionary_builder.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/character_dictionary.h"

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

TEST(CharacterTable, BuildsWhatTheDictionaryLoads) {
  std::vector<std::uint8_t> bin =
      BuildCharacterDictionary(ParseCharacterTable("中\tsgas\t1\t990\tzhōng\n"));
  SealContainer(bin, SCRAMBLE_BLOCK);
  CharacterDictionary dictionary;
  ASSERT_TRUE(dictionary.LoadFromBytes(bin, SCRAMBLE_BLOCK));
  ASSERT_EQ(dictionary.count, 1u);
  EXPECT_EQ(dictionary.CodeOfChar("\xD6\xD0"), "sgas");
  EXPECT_EQ(dictionary.EntryAt(0).weight, 990);
}

}  // namespace
}  // namespace tvime
