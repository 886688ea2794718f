#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/test_lexicon.h"

namespace tvime {
namespace {

using testing::Char;
using ::testing::ElementsAre;
using testing::G;
using ::testing::IsEmpty;
using Texts = std::vector<std::string>;

class RadicalTest : public ::testing::Test {
 protected:
  RadicalTest()
      : test({Char("口", "sga", true, 800), Char("叫", "sgagsg", true, 500, "jiào"),
              Char("员", "sgasgadf", true, 900), Char("吃", "sgadag", true, 700),
              Char("吗", "sgagga", true, 700), Char("吅", "sgasga", false, 950)}) {
    test.AddRadicals({{"0", ""}, {"85", "ffa"}, {"30", "sga"}, {"9", "ds"}, {"31", "sg"}},
                     {{},
                      {},
                      {{G("口"), ""},
                       {G("叫"), "gsg"},
                       {G("员"), "sgadf"},
                       {G("吃"), "dag"},
                       {G("吅"), "sga"},
                       {G("呒"), "agdg"},  // not in the character dictionary
                       {G("吗"), "gga"},
                       {"31", "sg"},
                       {"85", "ffa"}}});
  }
  // What the strokes typed after the radical 口 (group 2) list, in UTF-8.
  Texts InKou(std::string_view strokes) {
    test.lexicon->FindInRadicalGroup(2, strokes, test.lists);
    Texts texts;
    for (CandidateId p : test.lists.mainList) {
      texts.push_back(GbkToUtf8(test.lexicon->PairOf(2, p)->first));
    }
    return texts;
  }
  testing::TestLexicon test;
};

TEST_F(RadicalTest, RadicalsAreFoundByTheirCodeInListOrderNeverEntryZero) {
  Lexicon& lexicon = test.Start();
  lexicon.FindRadicalsByStrokes("", test.lists);
  EXPECT_THAT(test.lists.secondaryList, ElementsAre(1, 2, 3, 4));
  lexicon.FindRadicalsByStrokes("sg", test.lists);
  EXPECT_THAT(test.lists.secondaryList, ElementsAre(2, 4));
  lexicon.FindRadicalsByStrokes("?f", test.lists);
  EXPECT_THAT(test.lists.secondaryList, ElementsAre(1));
}

TEST_F(RadicalTest, AnEmptyQueryListsTheWholeGroupAndItsLinks) {
  test.Start();
  // 口 (empty rest) is the exact match, then the others by weight; the unknown 呒 keeps its slot.
  EXPECT_EQ(InKou(""), (Texts{"口", "吅", "员", "吃", "吗", "呒", "叫"}));
  EXPECT_THAT(test.lists.secondaryList, ElementsAre(7, 8));
}

TEST_F(RadicalTest, StrokesAfterTheRadicalNarrowTheGroupExactFirst) {
  test.Start();
  EXPECT_EQ(InKou("sga"), (Texts{"吅", "员"}));  // exact before heavier
  EXPECT_EQ(InKou("g"), (Texts{"吗", "叫"}));    // by weight
  EXPECT_THAT(test.lists.secondaryList, IsEmpty());
  EXPECT_EQ(InKou("s"), (Texts{"吅", "员"}));
  EXPECT_THAT(test.lists.secondaryList, ElementsAre(7));  // the link to 31 ("sg")
  // Characters the dictionary does not know keep their place in the group.
  EXPECT_EQ(InKou("a"), (Texts{"呒"}));
  // "?" also matches the end of 口's empty rest, so every character is a prefix match: ranked by
  // weight (吃 before 吗 on equal weight: dictionary order), 呒 staying in its sixth slot.
  EXPECT_EQ(InKou("?"), (Texts{"吅", "员", "口", "吃", "吗", "呒", "叫"}));
}

TEST_F(RadicalTest, TheCommonSetSkipsUncommonCharactersOfTheGroup) {
  test.options.bigCharset = false;
  test.Start();
  EXPECT_EQ(InKou("s"), (Texts{"员"}));
  EXPECT_EQ(InKou("sg"), (Texts{"员"}));  // 吅 is not common
  // An exact match is listed whatever the character set.
  EXPECT_EQ(InKou("sga"), (Texts{"吅", "员"}));
}

TEST_F(RadicalTest, AGroupBeyondTheCountIsGroupZero) {
  Lexicon& lexicon = test.Start();
  EXPECT_EQ(lexicon.GroupCount(), 3u);
  test.lists.mainList = {1};
  lexicon.FindInRadicalGroup(7, "", test.lists);
  EXPECT_THAT(test.lists.mainList, IsEmpty());
  EXPECT_EQ(lexicon.PairOf(7, 0), nullptr);
  EXPECT_EQ(lexicon.PairOf(2, 99), nullptr);
}

TEST_F(RadicalTest, HoveredCandidatesAreDescribedByMode) {
  Lexicon& lexicon = test.Start();
  EXPECT_EQ(GbkToUtf8(lexicon.DescribeCandidate(ModeRadical, 1, {.radicalGroup = 2})),
            "叫: jiào|gsg");
  EXPECT_EQ(lexicon.DescribeCandidate(ModeRadicalStrokes, 40, {.radicalGroup = 2}), "");
  std::vector<CharIndex> pinyinChars = {2, 1};
  EXPECT_EQ(GbkToUtf8(lexicon.DescribeCandidate(ModePinyin, 1, {.pinyinChars = pinyinChars})),
            "叫: jiào|sgagsg");
  EXPECT_EQ(lexicon.DescribeCandidate(ModePinyin, 2, {.pinyinChars = pinyinChars}), "");
}

}  // namespace
}  // namespace tvime
