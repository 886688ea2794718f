// Quality of the shipped character dictionary, through the same search the panel uses.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <map>

#include "engine/character_dictionary.h"
#include "engine/lexicon.h"
#include "engine/pinyin_input.h"
#include "tests/support/gbk_literals.h"
#include "tests/support/shipped_dictionaries.h"

namespace tvime {
namespace {

using testing::G;

constexpr size_t kPage = 20;

// The whole shipped lexicon, as the input method loads it.
class RealLexicon : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    lexicon = new Lexicon(nullptr);
    lexicon->SetOptions({.bigCharset = true});
    lexicon->Initialize(&testing::ShippedDictionaries());
    dictionary = &lexicon->characters();
  }
  static void TearDownTestSuite() { delete lexicon; }

  static std::vector<CandidateId> Find(std::string_view query, bool big) {
    std::vector<CandidateId> list;
    dictionary->FindByStrokes(query, big, list);
    return list;
  }
  static size_t RankOf(std::string_view utf8, const std::vector<std::uint32_t>& ids) {
    for (size_t i = 0; i < ids.size(); ++i) {
      if (lexicon->CandidateText(ids[i]) == G(utf8)) return i;
    }
    return ids.size();
  }

  static inline Lexicon* lexicon = nullptr;
  static inline const CharacterDictionary* dictionary = nullptr;
  static inline CandidateLists lists;
};

using RealCharacterDictionary = RealLexicon;

TEST_F(RealCharacterDictionary, HoldsEveryGbkHanziWithTheCommonBlockFirst) {
  EXPECT_EQ(dictionary->count, 20924u);
  EXPECT_EQ(dictionary->CommonCount(), 3500u);
  for (size_t i = 0; i < dictionary->count; ++i) {
    EXPECT_EQ(dictionary->EntryAt(i).IsCommon(), i < 3500) << i;
    EXPECT_EQ(dictionary->IndexOfChar(dictionary->EntryAt(i).text), i) << "duplicate at " << i;
    if (i > 0 && i != 3500) {
      EXPECT_LE(dictionary->EntryAt(i).weight, dictionary->EntryAt(i - 1).weight) << i;
    }
  }
  // Mainland users see 们 early: its simplified form must not be buried by traditional 們.
  EXPECT_LT(dictionary->IndexOfChar(G("们")), 100);
}

TEST_F(RealCharacterDictionary, KnowsTheMainlandStrokeOrder) {
  const std::map<std::string, std::string> codes = {
      {"中", "sgas"},   {"必", "fgfdf"}, {"火", "fddf"},  {"王", "aasa"},
      {"有", "adsgaa"}, {"出", "gssgs"}, {"凸", "sasga"}, {"〇", "g"}};
  for (const auto& [character, code] : codes) {
    EXPECT_EQ(dictionary->CodeOfChar(G(character)), code) << character;
  }
  EXPECT_EQ(GbkToUtf8(dictionary->AnnotationOfChar(G("中"))), "zhōng zhòng");
}

TEST_F(RealCharacterDictionary, EveryCharacterIsFoundByItsFullCode) {
  for (size_t i = 0; i < dictionary->count; ++i) {
    const CharEntry& entry = dictionary->EntryAt(i);
    if (i < 3500) {  // a common character: on the first page
      std::vector<CandidateId> list = Find(entry.code, false);
      EXPECT_LT(std::find(list.begin(), list.end(), i) - list.begin(), std::ptrdiff_t{kPage})
          << GbkToUtf8(entry.text) << " " << entry.code;
    }
    // With the big set, listed at all: only short codes can have 400 others before them.
    if (entry.codeLength > 5) continue;
    std::vector<CandidateId> list = Find(entry.code, true);
    EXPECT_NE(std::find(list.begin(), list.end(), i), list.end())
        << GbkToUtf8(entry.text) << " " << entry.code;
  }
}

TEST_F(RealCharacterDictionary, OneStrokeQueriesStartWithTheMostFrequentAndFillThe400) {
  EXPECT_EQ(Find("a", false).front(), dictionary->IndexOfChar(G("一")));
  for (const char* stroke : {"a", "s", "d", "f", "g"}) {
    EXPECT_EQ(Find(stroke, true).size(), kMaxMainCandidates) << stroke;
  }
}

TEST_F(RealLexicon, HoldsAQuarterMillionPhrasesAndFilledSyllables) {
  EXPECT_GE(lexicon->phrases().count, 250000u);
  PinyinInput pinyin(*lexicon);
  ASSERT_TRUE(pinyin.LoadPinyinTable(&testing::ShippedDictionaries()));
  size_t filled = 0;
  for (size_t row = 1; row < kSyllableRowCount; ++row) filled += !pinyin.RowAt(row).empty();
  EXPECT_GE(filled, 400u);
}

// What a user of the shipped data meets first: 中国 and 人民 by the strokes of their first
// characters, and 中国人 among the first words that follow 中国.
TEST_F(RealLexicon, CommonWordsComeFirstByStrokesAndAsFollowOns) {
  lexicon->CharactersByStrokes("sgas", lists.mainList);
  std::vector<std::string_view> parts = {"sgas", "sga"};
  EXPECT_EQ(RankOf("中国", lexicon->FindPhrasesByStrokes(lists.mainList, parts)), 0u);
  lexicon->CharactersByStrokes("df", lists.mainList);
  parts = {"df", "gag"};
  EXPECT_EQ(RankOf("人民", lexicon->FindPhrasesByStrokes(lists.mainList, parts)), 0u);

  std::string context = G("中");
  lists.contextHistory.clear();
  lexicon->UpdateAssociation(lists, context, ModeAssociation);
  context = G("国");
  lexicon->UpdateAssociation(lists, context, ModeAssociation);
  EXPECT_EQ(context, G("中国"));
  EXPECT_LT(RankOf("中国人", lists.assocList), 10u);
}

TEST_F(RealLexicon, ASearchAmongTheFirstCharactersIsTheStartOfTheWholeSearch) {
  // Only lists grouped by first character have this property: "PredictNext" merges the groups.
  lexicon->SetOptions({.bigCharset = true, .predictNext = false});
  const std::vector<std::vector<std::string_view>> queries = {
      {"s", ""}, {"sgas", "sg"}, {"a", "s"}, {"sg", "a", "d"}, {"dsa", "f"}};
  for (const std::vector<std::string_view>& parts : queries) {
    lexicon->CharactersByStrokes(parts[0], lists.mainList);
    std::vector<std::uint32_t> all = lexicon->FindPhrasesByStrokes(lists.mainList, parts);
    ASSERT_FALSE(lists.mainList.empty());
    std::span<const CandidateId> characters(lists.mainList);
    std::vector<std::uint32_t> start =
        lexicon->FindPhrasesByStrokesAmong(characters.first(characters.size() / 2), parts, 1000);
    ASSERT_LE(start.size(), all.size());
    EXPECT_TRUE(std::equal(start.begin(), start.end(), all.begin())) << parts[0];
    std::vector<std::uint32_t> few = lexicon->FindPhrasesByStrokesAmong(characters, parts, 3);
    EXPECT_EQ(few.size(), std::min<size_t>(3, all.size()));
  }
  lexicon->SetOptions({.bigCharset = true});
}

class RealRadicals : public RealLexicon {
 protected:
  static std::vector<std::string> GroupTexts(size_t group, std::string_view rest) {
    lexicon->FindInRadicalGroup(group, rest, lists);
    std::vector<std::string> texts;
    for (CandidateId position : lists.mainList) {
      texts.push_back(GbkToUtf8(lexicon->PairOf(group, position)->first));
    }
    return texts;
  }
  static size_t NumberOf(std::string_view code) {
    lexicon->FindRadicalsByStrokes(code, lists);
    for (std::uint16_t entry : lists.secondaryList) {
      if (lexicon->radicals().PairAt(entry).second == code) {
        return std::strtoul(lexicon->radicals().PairAt(entry).first, nullptr, 10);
      }
    }
    return 0;
  }
};

TEST_F(RealRadicals, FrequentRadicalsAreOfferedFirstAndHoldTheirCommonCharacters) {
  lexicon->FindRadicalsByStrokes("", lists);
  ASSERT_GE(lists.secondaryList.size(), 5u);
  const std::map<std::string, std::vector<std::string>> groups = {
      {"ffa", {"河", "海", "没", "法", "清"}},    // 氵
      {"ds", {"们", "他", "你", "住", "作"}},     // 亻
      {"asa", {"打", "找", "把", "提", "指"}},    // 扌
      {"sga", {"叫", "吃", "喝", "呢", "吗"}},    // 口
      {"asdf", {"林", "村", "树", "机", "校"}}};  // 木
  for (const auto& [code, characters] : groups) {
    size_t number = NumberOf(code);
    ASSERT_NE(number, 0u) << code;
    std::vector<std::string> group = GroupTexts(number, "");
    for (const std::string& character : characters) {
      EXPECT_NE(std::find(group.begin(), group.end(), character), group.end())
          << character << " not in the group of " << code;
    }
  }
}

TEST_F(RealRadicals, EveryCommonCharacterIsOnTheFirstPageForTheRestOfItsStrokes) {
  ASSERT_GT(lexicon->GroupCount(), 214u);
  for (size_t group = 0; group < lexicon->GroupCount(); ++group) {
    const RadicalGroup& pairs = lexicon->radicalGroups().GroupAt(group);
    for (size_t p = 0; p < pairs.pairCount(); ++p) {
      const TextPair& pair = pairs.pairs[p];
      if (!lexicon->IsCommonChar(pair.first) || std::isdigit(pair.first[0])) continue;
      lexicon->FindInRadicalGroup(group, pair.second, lists);
      auto at = std::find(lists.mainList.begin(), lists.mainList.end(), p);
      EXPECT_LT(at - lists.mainList.begin(), 20)
          << GbkToUtf8(pair.first) << " in group " << group << " for " << pair.second;
    }
  }
}

}  // namespace
}  // namespace tvime
