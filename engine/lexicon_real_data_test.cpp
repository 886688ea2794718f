// Quality of the shipped character dictionary, through the same search the panel uses.

#include <gtest/gtest.h>

#include <map>

#include "engine/character_dictionary.h"
#include "engine/lexicon.h"
#include "engine/pinyin_input.h"
#include "tests/support/gbk_literals.h"

namespace tvime {
namespace {

using testing::G;

constexpr size_t kPage = 20;

class RealCharacterDictionary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static DirectoryResources resources(TVIME_DICT_DIR);
    dictionary = new CharacterDictionary;
    loaded = dictionary->LoadFromResource(&resources, "words.bin", SCRAMBLE_BLOCK);
  }
  static void TearDownTestSuite() { delete dictionary; }

  static std::vector<CandidateId> Find(std::string_view query, bool big) {
    std::vector<CandidateId> list;
    dictionary->FindByStrokes(query, big, list);
    return list;
  }

  static inline CharacterDictionary* dictionary = nullptr;
  static inline bool loaded = false;
};

TEST_F(RealCharacterDictionary, HoldsEveryGbkHanziWithTheCommonBlockFirst) {
  ASSERT_TRUE(loaded);
  EXPECT_EQ(dictionary->count, 20924u);
  EXPECT_EQ(dictionary->commonChars.size(), 3500u);
  for (size_t i = 0; i < dictionary->count; ++i) {
    EXPECT_EQ(dictionary->EntryAt(i).IsCommon(), i < 3500) << i;
    EXPECT_EQ(dictionary->IndexOfChar(dictionary->EntryAt(i).text), i) << "duplicate at " << i;
    if (i > 0 && i != 3500) {
      EXPECT_LE(dictionary->EntryAt(i).weight, dictionary->EntryAt(i - 1).weight) << i;
    }
  }
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

TEST_F(RealCharacterDictionary, FrequentCharactersComeFirst) {
  EXPECT_EQ(Find("a", false).front(), dictionary->IndexOfChar(G("一")));
  std::vector<CandidateId> zhong = Find("sgas", false);
  ASSERT_FALSE(zhong.empty());
  EXPECT_LT(std::find(zhong.begin(), zhong.end(), dictionary->IndexOfChar(G("中"))) - zhong.begin(),
            static_cast<std::ptrdiff_t>(kPage));
  // Mainland users see 们 early: its simplified form must not be buried by traditional 們.
  EXPECT_LT(dictionary->IndexOfChar(G("们")), 100);
}

TEST_F(RealCharacterDictionary, EveryCommonCharacterIsOnTheFirstPageOfItsFullCode) {
  for (size_t i = 0; i < 3500; ++i) {
    const CharEntry& entry = dictionary->EntryAt(i);
    std::vector<CandidateId> list = Find(entry.code, false);
    auto position = std::find(list.begin(), list.end(), i) - list.begin();
    EXPECT_LT(position, static_cast<std::ptrdiff_t>(kPage))
        << GbkToUtf8(entry.text) << " " << entry.code;
  }
}

TEST_F(RealCharacterDictionary, EveryCharacterIsListedForItsFullCodeWithTheBigSet) {
  // Only short codes can have 400 other characters before them (about 700 characters to check).
  for (size_t i = 0; i < dictionary->count; ++i) {
    if (dictionary->EntryAt(i).codeLength > 5) continue;
    std::vector<CandidateId> list = Find(dictionary->EntryAt(i).code, true);
    EXPECT_NE(std::find(list.begin(), list.end(), i), list.end())
        << GbkToUtf8(dictionary->EntryAt(i).text) << " " << dictionary->EntryAt(i).code;
  }
}

TEST_F(RealCharacterDictionary, OneStrokeQueriesFillThe400WithTheBigSet) {
  for (const char* stroke : {"a", "s", "d", "f", "g"}) {
    EXPECT_EQ(Find(stroke, true).size(), kMaxMainCandidates) << stroke;
  }
}

}  // namespace
}  // namespace tvime

namespace tvime {
namespace {

using testing::G;

// The whole shipped lexicon, as the input method loads it.
class RealLexicon : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static DirectoryResources resources(TVIME_DICT_DIR);
    static MemorySettingsStore store;
    static Settings settings(store);
    static ConversionFlags flags(settings);
    lexicon = new Lexicon(settings, flags, nullptr);
    lexicon->Initialize(&resources);
    pinyin = new PinyinInput(*lexicon);
    pinyinLoaded = pinyin->LoadPinyinTable(&resources);
  }
  static void TearDownTestSuite() {
    delete pinyin;
    delete lexicon;
  }

  static size_t RankOf(std::string_view utf8, const std::vector<std::uint32_t>& ids) {
    for (size_t i = 0; i < ids.size(); ++i) {
      if (lexicon->CandidateText(ids[i]) == G(utf8)) return i;
    }
    return ids.size();
  }

  static inline Lexicon* lexicon = nullptr;
  static inline PinyinInput* pinyin = nullptr;
  static inline bool pinyinLoaded = false;
};

TEST_F(RealLexicon, HoldsAQuarterMillionPhrasesAndFilledSyllables) {
  EXPECT_GE(lexicon->phrases.count, 250000u);
  ASSERT_TRUE(pinyinLoaded);
  size_t filled = 0;
  for (size_t row = 1; row < kSyllableRowCount; ++row) filled += !pinyin->RowAt(row).empty();
  EXPECT_GE(filled, 400u);
}

TEST_F(RealLexicon, AssociationAfterZhongOffersZhongguoFirst) {
  std::string context = G("中");
  lexicon->contextHistory.clear();
  lexicon->UpdateAssociation(context, ModeAssociation);
  EXPECT_LT(RankOf("中国", lexicon->assocList), 10u);
  // Committing 国 next grows the word: what follows is what continues 中国.
  context = G("国");
  lexicon->UpdateAssociation(context, ModeAssociation);
  EXPECT_EQ(context, G("中国"));
  EXPECT_LT(RankOf("中国人", lexicon->assocList), 10u);
}

TEST_F(RealLexicon, StrokesOfTheFirstCharactersFindThePhrase) {
  lexicon->FindByStrokes("sgas");
  std::vector<std::string_view> parts = {"sgas", "sga"};
  EXPECT_EQ(RankOf("中国", lexicon->FindPhrasesByStrokes(parts)), 0u);
  lexicon->FindByStrokes("df");
  parts = {"df", "gag"};
  EXPECT_EQ(RankOf("人民", lexicon->FindPhrasesByStrokes(parts)), 0u);
}

TEST_F(RealLexicon, PinyinFindsCharactersAndPhrases) {
  pinyin->ClearPinyin();
  for (const char* initial : {"z", "h"}) pinyin->AddInitialToken(*FindInitial(initial));
  pinyin->AddFinalToken(*FindFinal("o"));
  pinyin->AddInitialToken(*FindInitial("n"));
  pinyin->AddInitialToken(*FindInitial("g"));
  pinyin->SegmentTokens();
  pinyin->LookupPinyin();
  CharIndex zhong = lexicon->IndexOfChar(G("中"));
  auto at = std::find(pinyin->charList.begin(), pinyin->charList.end(), zhong);
  EXPECT_LT(at - pinyin->charList.begin(), 10);

  pinyin->AddInitialToken(*FindInitial("g"));
  pinyin->AddFinalToken(*FindFinal("uo"));
  pinyin->SegmentTokens();
  pinyin->LookupPinyin();
  EXPECT_EQ(RankOf("中国", pinyin->phraseList), 0u);
}

}  // namespace
}  // namespace tvime
