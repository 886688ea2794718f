#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/test_lexicon.h"

namespace tvime {
namespace {

using testing::Char;
using testing::G;
using ::testing::IsEmpty;
using testing::Phrase;
using Texts = std::vector<std::string>;

class PhraseSearchTest : public ::testing::Test {
 protected:
  PhraseSearchTest()
      : test({Char("中", "sgas", true, 990), Char("国", "sgaasafa", true, 980),
              Char("人", "df", true, 970), Char("民", "gagag", true, 800),
              Char("家", "fgadgdddf", true, 900), Char("心", "fgff", true, 700),
              Char("午", "dasa", true, 600)},
             {Phrase("中国", "zhong guo"), Phrase("中国人", "zhong guo ren"),
              Phrase("人民", "ren min"), Phrase("中心", "zhong xin"), Phrase("国家", "guo jia"),
              Phrase("中国人民", "zhong guo ren min")}),
        lexicon(test.Start()) {}

  std::vector<std::uint32_t> ByStrokes(std::vector<std::string_view> parts) {
    lexicon.CharactersByStrokes(parts[0], lists.mainList);
    return lexicon.FindPhrasesByStrokes(lists.mainList, parts);
  }

  // Commits each text as the session does and returns the association list's texts.
  Texts Commit(std::string_view utf8) {
    context = G(utf8);
    lexicon.UpdateAssociation(lists, context, ModeAssociation);
    return test.Texts(lists.assocList);
  }

  testing::TestLexicon test;
  Lexicon& lexicon;
  CandidateLists& lists = test.lists;
  std::string context;
};

TEST_F(PhraseSearchTest, LaterPartsMustBeAProperBeginningOfTheCharactersCode) {
  EXPECT_EQ(test.Texts(ByStrokes({"sgas", "sga"})), (Texts{"中国", "中国人", "中国人民"}));
  EXPECT_THAT(ByStrokes({"sgas", "sgaasafa"}), IsEmpty());  // the whole code of 国
  EXPECT_EQ(test.Texts(ByStrokes({"sgas", "sgaasaf"})).size(), 3u);
  // "?" and "t" are taken literally in the later parts.
  EXPECT_THAT(ByStrokes({"sgas", "?ga"}), IsEmpty());
  EXPECT_THAT(ByStrokes({"sgas", "sgt"}), IsEmpty());
  // The first part is a stroke query like any other: "?" works there.
  EXPECT_EQ(test.Texts(ByStrokes({"?g", "s"})), (Texts{"中国", "中国人", "中国人民"}));
  // A phrase shorter than the query is never found.
  EXPECT_EQ(test.Texts(ByStrokes({"sgas", "s", "d"})), (Texts{"中国人", "中国人民"}));
  EXPECT_EQ(test.Texts(ByStrokes({"sgas", "s", "d", "g"})), (Texts{"中国人民"}));
}

TEST_F(PhraseSearchTest, ContextPhrasesMatchTheSecondCharacterWithWildcards) {
  EXPECT_EQ(test.Texts(lexicon.FindContextPhrasesByStrokes(G("中"), "sg")),
            (Texts{"中国", "中国人", "中国人民"}));
  EXPECT_EQ(test.Texts(lexicon.FindContextPhrasesByStrokes(G("中"), "?")),
            (Texts{"中国", "中国人", "中心", "中国人民"}));
  EXPECT_EQ(test.Texts(lexicon.FindContextPhrasesByStrokes(G("中"), "tg")), Texts{});
  EXPECT_THAT(lexicon.FindContextPhrasesByStrokes(G("午"), ""), IsEmpty());
}

TEST(PhraseSearch, StopsAt100Phrases) {
  std::vector<PhraseRecord> phrases;
  for (int i = 0; i < 150; ++i) phrases.push_back(Phrase("中国", "zhong guo"));
  testing::TestLexicon test({Char("中", "sgas", true, 9), Char("国", "sgaasafa", true, 8)},
                            phrases);
  Lexicon& lexicon = test.Start();
  lexicon.CharactersByStrokes("sgas", test.lists.mainList);
  std::vector<std::string_view> parts = {"sgas", "s"};
  EXPECT_EQ(lexicon.FindPhrasesByStrokes(test.lists.mainList, parts).size(), 100u);
}

TEST_F(PhraseSearchTest, AssociationOffersUserWordsThenPhrasesThatContinueTheCommit) {
  lexicon.ReplaceUserWords({G("中午"), G("人民"), G("中")});
  EXPECT_EQ(Commit("中"), (Texts{"中午", "中国", "中国人", "中心", "中国人民"}));
  EXPECT_EQ(lists.assocList.front(), kUserWordBit | 0);
  EXPECT_EQ(context, G("中"));
}

TEST_F(PhraseSearchTest, CommittingAKnownPhraseCharByCharNarrowsTheAssociation) {
  Commit("中");
  EXPECT_EQ(Commit("国"), (Texts{"中国人", "中国人民"}));
  EXPECT_EQ(context, G("中国"));  // the key grew: the context is now the whole word
  EXPECT_EQ(Commit("人"), (Texts{"中国人民"}));
  EXPECT_EQ(lists.contextHistory, std::vector<std::string>{G("中国人")});
  // 民 completes the word: nothing continues it, so association stops.
  EXPECT_THAT(Commit("民"), IsEmpty());
  EXPECT_EQ(context, "");
  EXPECT_EQ(lists.contextHistory, (std::vector<std::string>{G("中国人"), G("民")}));
}

TEST_F(PhraseSearchTest, HistoryHoldsAtMostFiveEntries) {
  for (const char* text : {"午", "家", "心", "民", "午", "家", "心"}) Commit(text);
  EXPECT_EQ(lists.contextHistory,
            (std::vector<std::string>{G("心"), G("民"), G("午"), G("家"), G("心")}));
}

TEST_F(PhraseSearchTest, OutsideTheAssociationModesOnlyTheHistoryChanges) {
  lists.assocList = {42};
  context = G("中");
  lexicon.UpdateAssociation(lists, context, ModeStrokes);
  EXPECT_EQ(lists.assocList, std::vector<CandidateId>{42});
  EXPECT_EQ(lists.contextHistory, std::vector<std::string>{G("中")});
  context = G("午");  // nothing continues 午, but the context is only cleared where offered
  lexicon.UpdateAssociation(lists, context, ModeStrokes);
  EXPECT_EQ(context, G("午"));
}

TEST_F(PhraseSearchTest, SortModeRanksByLengthWithPhrasesBeforeUserWords) {
  lexicon.ReplaceUserWords({G("中午"), G("中国人家")});
  lexicon.SetOptions({.bigCharset = true, .phraseSortMode = 1});
  EXPECT_EQ(Commit("中"), (Texts{"中国", "中心", "中午", "中国人", "中国人民", "中国人家"}));
}

TEST_F(PhraseSearchTest, StepBackTakesBackTheLastCharacterOfTheGrownWord) {
  Commit("中");
  Commit("国");
  ASSERT_EQ(context, G("中国"));
  EXPECT_TRUE(lexicon.StepBackAssociation(lists, context, ModeAssociation));
  EXPECT_EQ(context, G("中"));
  EXPECT_EQ(lists.contextHistory, std::vector<std::string>{G("中")});
  EXPECT_EQ(test.Texts(lists.assocList), (Texts{"中国", "中国人", "中心", "中国人民"}));
  // Stepping back over the single character leaves nothing to associate.
  EXPECT_TRUE(lexicon.StepBackAssociation(lists, context, ModeAssociation));
  EXPECT_EQ(context, "");
  EXPECT_THAT(lists.contextHistory, IsEmpty());
  EXPECT_FALSE(lexicon.StepBackAssociation(lists, context, ModeAssociation));
}

TEST_F(PhraseSearchTest, StepBackReturnsToTheEntryBeforeASingleCharacter) {
  Commit("国");
  Commit("午");
  ASSERT_EQ(lists.contextHistory, (std::vector<std::string>{G("国"), G("午")}));
  EXPECT_TRUE(lexicon.StepBackAssociation(lists, context, ModeAssociation));
  EXPECT_EQ(context, G("国"));
  EXPECT_EQ(lists.contextHistory, std::vector<std::string>{G("国")});
  EXPECT_EQ(test.Texts(lists.assocList), Texts{"国家"});
}

TEST_F(PhraseSearchTest, StepBackOverAUserWordEndingInALetterTakesBackTheLetterWhole) {
  lexicon.ReplaceUserWords({G("国Q"), G("国QZ")});
  Commit("国Q");
  ASSERT_EQ(lists.contextHistory, std::vector<std::string>{G("国Q")});
  EXPECT_TRUE(lexicon.StepBackAssociation(lists, context, ModeAssociation));
  // The letter goes, and 国 is whole: not its lead byte with the trail byte dropped.
  EXPECT_EQ(context, G("国"));
}

TEST_F(PhraseSearchTest, CandidatesOfBothKindsHaveTextAndLength) {
  lexicon.ReplaceUserWords({G("中国队")});
  EXPECT_EQ(lexicon.CandidateText(kUserWordBit | 0), G("中国队"));
  EXPECT_EQ(lexicon.CandidateLength(kUserWordBit | 0), 3u);
  EXPECT_EQ(lexicon.CandidateText(5), G("中国人民"));
  EXPECT_EQ(lexicon.CandidateLength(5), 4u);
  EXPECT_EQ(lexicon.CandidateText(kUserWordBit | 7), "");
  EXPECT_EQ(lexicon.CandidateText(99), "");
  EXPECT_TRUE(lexicon.HasExtension(G("中国人")));
  EXPECT_FALSE(lexicon.HasExtension(G("中国人民")));
  EXPECT_TRUE(lexicon.HasExtension(G("中国")));
  lexicon.ReplaceUserWords({G("中国人民")});
  EXPECT_TRUE(lexicon.HasExtension(G("中国人")));
}

TEST_F(PhraseSearchTest, AFirstCharacterWithoutPhrasesYieldsNothing) {
  EXPECT_THAT(ByStrokes({"dasa", "s"}), IsEmpty());
  EXPECT_THAT(lexicon.PhrasesStartingWith(G("午")), IsEmpty());
  EXPECT_THAT(Commit("午"), IsEmpty());
  EXPECT_EQ(context, "");
}

}  // namespace
}  // namespace tvime
