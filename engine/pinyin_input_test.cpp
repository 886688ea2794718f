#include "engine/pinyin_input.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/test_lexicon.h"

namespace tvime {
namespace {

using testing::Char;
using ::testing::ElementsAre;
using testing::G;
using ::testing::IsEmpty;
using testing::Key;
using testing::Phrase;

std::uint8_t I(std::string_view text) { return FindInitial(text).value(); }
std::uint8_t F(std::string_view text) { return FindFinal(text).value(); }

TEST(PinyinSyllables, SplitIntoTheLongestInitialAndTheRest) {
  const auto& rows = Syllables();
  auto row = [&](std::string_view text) { return rows[FindSyllable(text).value()]; };
  EXPECT_EQ(row("zhong").initial, I("zh"));
  EXPECT_EQ(row("zhong").final, F("ong"));
  EXPECT_EQ(row("zong").initial, I("z"));
  EXPECT_EQ(row("ang").initial, 0);
  EXPECT_EQ(row("ang").final, F("ang"));
  EXPECT_EQ(row("ng").initial, 0);  // ng alone is a final
  EXPECT_EQ(row("ng").final, F("ng"));
  EXPECT_EQ(row("hng").final, F("ng"));
  EXPECT_EQ(row("lve").final, F("ve"));
  EXPECT_EQ(row("gad").final, 0);  // ad is no final
  EXPECT_EQ(row("m").final, 0);
  EXPECT_EQ(Key("ban"), (F("an") << 8) | I("b"));
}

TEST(PinyinSyllables, TableIsSortedAndSearchable) {
  for (size_t r = 1; r < kSyllableRows.size(); ++r) {
    EXPECT_LT(kSyllableRows[r - 1].text, kSyllableRows[r].text);
    EXPECT_EQ(FindSyllable(kSyllableRows[r].text), r);
  }
  EXPECT_FALSE(FindSyllable("zhn"));
  EXPECT_FALSE(FindSyllable(""));
}

TEST(PinyinSyllables, AnInitialOnlyKeyMatchesEverySyllableOfThatInitial) {
  EXPECT_TRUE(SyllableKeyMatch(Key("zhong"), Key("zhong")));
  EXPECT_TRUE(SyllableKeyMatch(I("zh"), Key("zhong")));
  EXPECT_FALSE(SyllableKeyMatch(I("z"), Key("zhong")));
  EXPECT_FALSE(SyllableKeyMatch(Key("zhong"), I("zh")));
}

class PinyinInputTest : public ::testing::Test {
 protected:
  PinyinInputTest()
      : test({Char("中", "sgas", true, 990), Char("种", "dasdf", true, 900),
              Char("重", "dasgaa", true, 950), Char("众", "dfdf", false, 999),
              Char("国", "sgaasafa", true, 980), Char("班", "aasa", true, 500),
              Char("板", "asdf", true, 600), Char("安", "fgg", true, 700)},
             {Phrase("中国", "zhong guo"), Phrase("重新", "chong xin"),
              Phrase("中国话", "zhong guo hua"), Phrase("种种", "zhong zhong"),
              Phrase("重国", "zhong guo")}),
        lexicon(test.Start()),
        input(lexicon) {
    // Rows of the characters' syllables, as the table resource lists them.
    std::vector<std::vector<std::uint16_t>> rows(kSyllableRowCount);
    rows[*FindSyllable("zhong")] = {0, 1, 2, 3};
    rows[*FindSyllable("chong")] = {2};
    rows[*FindSyllable("zhuo")] = {0};  // a second zh reading of 中
    rows[*FindSyllable("guo")] = {4};
    rows[*FindSyllable("ban")] = {5};
    rows[*FindSyllable("an")] = {7};
    test.resources.Add("WDPINYIN.BIN", BuildPinyinTable(rows));
    EXPECT_TRUE(input.LoadPinyinTable(&test.resources));
    input.SetContextCleared([this] { ++contextClears; });
  }

  // Clicks as the panel does: each click, then segmentation and lookup.
  void Click(std::string_view piece) {
    if (std::optional<std::uint8_t> initial = FindInitial(piece); initial && !piece.empty()) {
      input.AddInitialToken(*initial);
    } else {
      input.AddFinalToken(F(piece));
    }
    input.SegmentTokens();
    input.LookupPinyin();
  }
  std::vector<std::string> Chars() {
    std::vector<std::string> texts;
    for (CharIndex index : input.charList)
      texts.push_back(GbkToUtf8(lexicon.characters().EntryAt(index).text));
    return texts;
  }
  std::vector<std::string> Phrases() { return test.Texts(input.phraseList); }

  testing::TestLexicon test;
  Lexicon& lexicon;
  PinyinInput input;
  int contextClears = 0;
};

// Clicks (separated by spaces) and the syllable keys they spell: a syllable, or an initial alone
// (written with a *). Each line starts from an empty input.
TEST_F(PinyinInputTest, ClicksJoinIntoTheLongestSyllablesTheySpell) {
  const std::pair<const char*, std::vector<const char*>> spellings[] = {
      {"b a n", {"ban"}},
      {"z h", {"zh*"}},  // z then h is the initial zh
      {"z h o n g", {"zhong"}},
      {"x i ' a n", {"xi", "an"}},  // a separator splits the clicks
      {"x i a n", {"xian"}},
      {"b n", {"b*", "n*"}},  // "bn" spells no final: n starts the next syllable
      {"b a an", {"ban"}},    // a longer final replaces the final it extends
      {"b a n ' a", {"ban", "a"}},
  };
  for (const auto& [clicks, syllables] : spellings) {
    input.ClearPinyin();
    std::string_view rest = clicks;
    for (size_t space; !rest.empty(); rest.remove_prefix(std::min(space + 1, rest.size()))) {
      space = std::min(rest.find(' '), rest.size());
      Click(rest.substr(0, space));
    }
    std::vector<SyllableKey> expected;
    for (std::string_view syllable : syllables) {
      expected.push_back(syllable.ends_with('*') ? I(syllable.substr(0, syllable.size() - 1))
                                                 : Key(syllable));
    }
    EXPECT_EQ(input.keys, expected) << clicks;
  }
  // The last line looks up again when a click is taken back.
  EXPECT_TRUE(input.RemoveLastToken());
  EXPECT_THAT(input.keys, ElementsAre(Key("ban")));
  EXPECT_EQ(Chars(), std::vector<std::string>{"班"});
}

TEST_F(PinyinInputTest, ASeparatorNeverStartsTheClicksOrFollowsItself) {
  for (const char* piece : {"'", "x", "i", "'", "'", "a", "n"}) Click(piece);
  EXPECT_THAT(input.tokens,
              ElementsAre(I("x"), FinalToken(F("i")), I("'"), FinalToken(F("a")), I("n")));
  EXPECT_THAT(input.keys, ElementsAre(Key("xi"), Key("an")));
}

TEST_F(PinyinInputTest, OffersTheLongerFinalsByLengthThenWeight) {
  Click("b");
  Click("a");
  // bao 54, ban 43, bai 25, then bang; never the one-letter final a itself.
  EXPECT_THAT(input.finalList, ElementsAre(F("ao"), F("an"), F("ai"), F("ang")));
  input.ClearPinyin();
  Click("z");
  Click("h");
  // After z and h the finals offered are those of zh: zhen (89) is the heaviest two-letter one.
  EXPECT_EQ(input.finalList.front(), F("en"));
  EXPECT_NE(std::find(input.finalList.begin(), input.finalList.end(), F("ong")),
            input.finalList.end());
}

TEST_F(PinyinInputTest, AnInitialAloneListsTheCharactersOfAllItsSyllablesOnce) {
  Click("z");
  Click("h");
  // 中 is in both zhong and zhuo: listed once. 众 is not common and the big set is on: listed,
  // by weight.
  EXPECT_EQ(Chars(), (std::vector<std::string>{"众", "中", "重", "种"}));
  test.lexicon->SetOptions({.bigCharset = false});
  input.LookupPinyin();
  EXPECT_EQ(Chars(), (std::vector<std::string>{"中", "重", "种"}));
}

TEST_F(PinyinInputTest, SeveralSyllablesListPhrasesShortestFirst) {
  for (const char* piece : {"zh", "ong", "g", "uo"}) Click(piece);
  EXPECT_THAT(input.keys, ElementsAre(Key("zhong"), Key("guo")));
  EXPECT_THAT(input.charList, IsEmpty());
  // 中国 and 重国 (in dictionary order of their first characters), then the longer 中国话.
  EXPECT_EQ(Phrases(), (std::vector<std::string>{"中国", "重国", "中国话"}));
  EXPECT_GT(contextClears, 0);
  // Initials alone match any final of their syllable.
  input.ClearPinyin();
  for (const char* piece : {"zh", "zh"}) Click(piece);
  EXPECT_EQ(Phrases(), (std::vector<std::string>{"种种"}));
}

TEST_F(PinyinInputTest, NothingClickedShowsTheFirstDictionaryEntries) {
  EXPECT_THAT(input.charList, ElementsAre(0, 1, 2, 3, 4, 5, 6, 7));
  Click("b");
  EXPECT_TRUE(input.RemoveLastToken());
  EXPECT_THAT(input.keys, IsEmpty());
  EXPECT_THAT(input.charList, ElementsAre(0, 1, 2, 3, 4, 5, 6, 7));
  EXPECT_FALSE(input.RemoveLastToken());
}

TEST(PinyinTable, DamagedOrMissingTablesLeaveRowsEmpty) {
  testing::TestLexicon test({Char("中", "sgas", true, 990)});
  Lexicon& lexicon = test.Start();
  PinyinInput input(lexicon);
  EXPECT_FALSE(input.LoadPinyinTable(&test.resources));
  EXPECT_THAT(input.charList, ElementsAre(0));  // the default list still shows
  // Two rows claimed with three characters in row 0 but only two present.
  std::vector<std::uint8_t> table = {2, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 7, 0, 8, 0};
  EXPECT_FALSE(input.LoadPinyinTableFromBytes(table));
  EXPECT_THAT(input.RowAt(0), ElementsAre(7, 8));
  EXPECT_THAT(input.RowAt(1), IsEmpty());
  // A row count beyond the table: the lists start after all the counts; only 417 are read.
  std::vector<std::uint8_t> many(4 + 4 * 500 + 2, 0);
  many[0] = 0xF4;  // 500 rows
  many[1] = 0x01;
  many[4] = 1;  // row 0 holds one character
  many[4 + 4 * 500] = 9;
  EXPECT_TRUE(input.LoadPinyinTableFromBytes(many));
  EXPECT_THAT(input.RowAt(0), ElementsAre(9));
  std::vector<std::uint8_t> truncated = {0xFF, 0xFF, 0, 0, 1};
  EXPECT_FALSE(input.LoadPinyinTableFromBytes(truncated));
}

}  // namespace
}  // namespace tvime
