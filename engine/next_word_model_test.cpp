#include "engine/next_word_model.h"

#include <gtest/gtest.h>

#include "engine/test_lexicon.h"
#include "tools/dictbuild/data_tables.h"

namespace tvime {
namespace {

using testing::Char;
using testing::G;
using testing::Phrase;
using Texts = std::vector<std::string>;

NextWordRecord Context(std::string_view before, std::string_view key,
                       std::vector<std::pair<std::string_view, std::uint16_t>> rests) {
  NextWordRecord record{G(before), G(key), {}};
  for (auto [rest, count] : rests) record.continuations.emplace_back(G(rest), count);
  return record;
}

// 打开文件 is common, 中文 is followed by 版 rather than by 件.
std::vector<NextWordRecord> Model() {
  return {Context("开", "文", {{"件", 40}, {"本", 3}}), Context("中", "文", {{"版", 12}}),
          Context("打", "开", {{"始", 2}})};
}

TEST(NextWordModel, FindsAContextByTheLastCharacterBeforeTheKey) {
  NextWordModel model;
  ASSERT_TRUE(model.LoadFromBytes(testing::Sealed(BuildNextWordModel(Model()), SCRAMBLE_XOR),
                                  SCRAMBLE_XOR));
  EXPECT_EQ(model.count, 3u);
  NextWordModel::Context context = model.Find(G("打开"), G("文"));
  ASSERT_FALSE(context.empty());
  EXPECT_EQ(context.CountOf(G("件")), 40u);
  EXPECT_EQ(context.CountOf(G("本")), 3u);
  EXPECT_EQ(context.CountOf(G("版")), 0u);  // listed for another context only
  EXPECT_EQ(context.Total(), 43u);
  EXPECT_EQ(model.Find(G("中"), G("文")).CountOf(G("版")), 12u);
  EXPECT_TRUE(model.Find(G("开"), G("文件")).empty());  // the key is matched whole
  EXPECT_TRUE(model.Find("", G("文")).empty());
  EXPECT_TRUE(model.Find(G("的"), G("文")).empty());
}

TEST(NextWordModel, ADamagedModelKeepsTheContextsBeforeTheDamage) {
  std::vector<std::uint8_t> decoded = BuildNextWordModel(Model());
  // The records lie in key order; cutting into the last one loses only it.
  decoded.resize(decoded.size() - 3);
  NextWordModel model;
  EXPECT_FALSE(model.LoadFromBytes(testing::Sealed(decoded, SCRAMBLE_XOR), SCRAMBLE_XOR));
  EXPECT_EQ(model.count, 2u);
  EXPECT_FALSE(model.Find(G("打"), G("开")).empty());
  EXPECT_FALSE(model.Find(G("开"), G("文")).empty());
  EXPECT_TRUE(model.Find(G("中"), G("文")).empty());

  // The shared image holds the count of whole records; a count the records do not bear out is
  // not adopted, and the model walks them itself.
  const std::vector<std::uint8_t> index = model.SerializeIndex(), claimsAll = {3, 0, 0, 0};
  NextWordModel mapped;
  EXPECT_TRUE(mapped.IndexFits(decoded, index));
  EXPECT_FALSE(mapped.IndexFits(decoded, claimsAll));
  mapped.LoadFromDecodedBytes(decoded, ByteSpan(claimsAll));
  EXPECT_EQ(mapped.count, 2u);
  EXPECT_TRUE(mapped.Find(G("中"), G("文")).empty());
}

TEST(NextWordTable, ContinuationsMustMakeKnownPhrasesAndContextsAreUnique) {
  std::vector<PhraseRecord> phrases = {Phrase("文件", "wen jian"), Phrase("文本", "wen ben")};
  std::vector<NextWordRecord> records = ParseNextWordTable("开\t文\t件:40 本:3\n", phrases);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].continuations[1], std::make_pair(G("本"), std::uint16_t{3}));
  EXPECT_THROW(ParseNextWordTable("开\t文\t版:4\n", phrases), std::runtime_error);
  EXPECT_THROW(ParseNextWordTable("开\t文\t件\n", phrases), std::runtime_error);
  EXPECT_THROW(
      BuildNextWordModel({Context("开", "文", {{"件", 1}}), Context("开", "文", {{"本", 1}})}),
      std::runtime_error);
}

class PredictionTest : public ::testing::Test {
 protected:
  PredictionTest()
      : test({Char("打", "asaaas", true, 900), Char("开", "aasd", true, 890),
              Char("文", "fdad", true, 880), Char("中", "sgas", true, 870),
              Char("件", "dsdaas", true, 500), Char("本", "asdfa", true, 700),
              Char("版", "dsagdfd", true, 400), Char("字", "fgggsa", true, 800)},
             // The dictionary's order: most frequent first.
             {Phrase("文字", "wen zi"), Phrase("文本", "wen ben"), Phrase("文件", "wen jian"),
              Phrase("文版", "wen ban"), Phrase("中文", "zhong wen"), Phrase("打开", "da kai"),
              Phrase("本文", "ben wen")}) {
    test.resources.Add("nextword.bin", testing::Sealed(BuildNextWordModel(Model()), SCRAMBLE_XOR));
  }

  Lexicon& Start(bool predict, int learn = 0) {
    test.options.predictNext = predict;
    test.options.learnChoices = learn;
    return test.Start();
  }
  Texts After(std::string_view before, std::string_view key) {
    return test.Texts(test.lexicon->AssociationsOf(G(key), G(before)));
  }
  Texts ByStrokes(std::vector<std::string_view> parts, std::string_view before) {
    test.lexicon->CharactersByStrokes(parts[0], test.lists.mainList);
    return test.Texts(test.lexicon->FindPhrasesByStrokes(test.lists.mainList, parts, G(before)));
  }

  testing::TestLexicon test;
};

TEST_F(PredictionTest, FollowOnWordsRankByWhatCameBeforeAndBackOffToTheDictionarysOrder) {
  Start(true);
  const Texts dictionary = {"文字", "文本", "文件", "文版"};
  EXPECT_EQ(After("", "文"), dictionary);
  EXPECT_EQ(After("的", "文"), dictionary);  // a context the model never saw
  // Seen continuations rise by their counts; 文字, never seen, stays before 文版.
  EXPECT_EQ(After("打开", "文"), (Texts{"文件", "文本", "文字", "文版"}));
  EXPECT_EQ(After("中", "文"), (Texts{"文版", "文字", "文本", "文件"}));
  // Off, the lists keep the dictionary's order exactly.
  Start(false);
  EXPECT_EQ(After("打开", "文"), dictionary);
  EXPECT_EQ(ByStrokes({"f", ""}, "打开"), dictionary);
}

TEST_F(PredictionTest, UserWordsStayFirstAndLearntChoicesLead) {
  Lexicon& lexicon = Start(true, 1);
  ASSERT_TRUE(lexicon.AddUserWord(G("文档")));
  EXPECT_EQ(After("打开", "文"), (Texts{"文档", "文件", "文本", "文字", "文版"}));
  lexicon.NoteChoice(G("文字"));
  EXPECT_EQ(After("打开", "文").front(), "文字");
}

TEST_F(PredictionTest, TheSessionsHistorySaysWhatCameBefore) {
  Lexicon& lexicon = Start(true);
  std::string context = G("打开");
  lexicon.UpdateAssociation(test.lists, context, ModeAssociation);
  context = G("文");
  lexicon.UpdateAssociation(test.lists, context, ModeAssociation);
  EXPECT_EQ(test.Texts(test.lists.assocList).front(), "文件");
  EXPECT_EQ(Lexicon::TextBefore(test.lists.contextHistory, G("文")), G("打开"));
  // After a step back the base is the end of the last entry; the rest of it came before.
  EXPECT_EQ(Lexicon::TextBefore(G("打开"), "", G("开")), G("打"));
  EXPECT_EQ(Lexicon::TextBefore(G("打开"), "", G("文")), "");
}

TEST_F(PredictionTest, PhrasesByStrokesComeMostFrequentFirstAndAfterTheLastWord) {
  Lexicon& lexicon = Start(true);
  // "?" lists every character, 打 first; grouped by character 打开 would come first.
  EXPECT_EQ(ByStrokes({"?", ""}, ""),
            (Texts{"文字", "文本", "文件", "文版", "中文", "打开", "本文"}));
  EXPECT_EQ(ByStrokes({"?", ""}, "打开"),
            (Texts{"文件", "文本", "文字", "文版", "中文", "打开", "本文"}));
  // A shorter list is the start of the whole one, so a planner may ask for fewer.
  std::span<const CandidateId> characters(test.lists.mainList);
  std::vector<std::string_view> parts = {"?", ""};
  std::vector<std::uint32_t> few = lexicon.FindPhrasesByStrokesAmong(characters, parts, 2, G("开"));
  EXPECT_EQ(test.Texts(few), (Texts{"文件", "文本"}));
}

}  // namespace
}  // namespace tvime
