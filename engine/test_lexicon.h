#pragma once
// Test helper: a lexicon over small hand-built dictionaries, with readable construction.

#include <memory>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/pinyin_syllables.h"
#include "tests/support/gbk_literals.h"
#include "tools/dictbuild/dictionary_builder.h"

namespace tvime::testing {

// The key of a toneless syllable, e.g. Key("zhong").
inline SyllableKey Key(std::string_view syllable) {
  return Syllables()[FindSyllable(syllable).value()].Key();
}

// A phrase from UTF-8 text and its space-separated syllables.
inline PhraseRecord Phrase(std::string_view utf8, std::string_view syllables) {
  PhraseRecord record{G(utf8), {}};
  while (!syllables.empty()) {
    size_t space = syllables.find(' ');
    record.syllableKeys.push_back(Key(syllables.substr(0, space)));
    syllables.remove_prefix(space == std::string_view::npos ? syllables.size() : space + 1);
  }
  return record;
}

inline CharRecord Char(std::string_view utf8, std::string code, bool common, std::uint16_t weight,
                       std::string_view annotation = "") {
  return {G(utf8), std::move(code), G(annotation), common ? kCommonCharFlag : std::uint8_t{0},
          weight};
}

inline std::vector<std::uint8_t> Sealed(std::vector<std::uint8_t> container, int kind) {
  SealContainer(container, kind);
  return container;
}

class TestLexicon {
 public:
  explicit TestLexicon(const std::vector<CharRecord>& chars,
                       const std::vector<PhraseRecord>& phrases = {}) {
    resources.Add("words.bin", Sealed(BuildCharacterDictionary(chars), SCRAMBLE_BLOCK));
    resources.Add("phrase.bin", Sealed(BuildPhraseDictionary(phrases), SCRAMBLE_XOR));
  }
  void AddRadicals(const TextPairs& list, const std::vector<TextPairs>& groups) {
    resources.Add("pianpang.bin", Sealed(Container(BuildPairList(list)), SCRAMBLE_BLOCK));
    resources.Add("extra.bin", Sealed(BuildRadicalGroups(groups), SCRAMBLE_BLOCK));
  }
  Lexicon& Start(UserDataPathFn userData = nullptr, LexiconClient* client = nullptr) {
    lexicon = std::make_unique<Lexicon>(std::move(userData));
    lexicon->SetOptions(options);
    lexicon->SetClient(client);
    lexicon->Initialize(&resources);
    return *lexicon;
  }
  // The texts of candidate ids in UTF-8.
  std::vector<std::string> Texts(const std::vector<std::uint32_t>& ids) const {
    std::vector<std::string> texts;
    for (std::uint32_t id : ids) texts.push_back(GbkToUtf8(lexicon->CandidateText(id)));
    return texts;
  }

  LexiconOptions options{.bigCharset = true};  // the product's default
  MemoryResources resources;
  CandidateLists lists;
  std::unique_ptr<Lexicon> lexicon;
};

}  // namespace tvime::testing
