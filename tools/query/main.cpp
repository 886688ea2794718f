// tvime-query: asks the built dictionaries what the input method would offer.
//
//   tvime-query [--dict DIR] [--big] strokes CODE        characters for a stroke input
//   tvime-query [--dict DIR] [--big] phrases CODE'CODE... characters, then phrases
//   tvime-query [--dict DIR] assoc TEXT...               follow-on words after committing TEXTs
//   tvime-query [--dict DIR] [--big] pinyin LETTERS      pinyin spelled with the panel's buttons
//   tvime-query [--dict DIR] radicals CODE               radicals for the strokes typed
//   tvime-query [--dict DIR] [--big] group N CODE        characters of radical N, strokes after it
//
// Stroke letters: a s d f g (横 竖 撇 点 折), t h n (提 竖钩 捺, folded to a s f), "?" for any
// stroke. --big searches the large character set; without it only the common characters.

#include <iostream>
#include <string>
#include <vector>

#include "settings/conversion_flags.h"
#include "settings/settings.h"
#include "tools/query/candidate_listing.h"

namespace {

int Usage() {
  std::cerr << "usage: tvime-query [--dict DIR] [--big] strokes CODE | phrases CODE'CODE... |\n"
               "                   assoc TEXT... | pinyin LETTERS | radicals CODE | group N CODE\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dictDir = TVIME_DICT_DIR;
  bool big = false;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--dict" && i + 1 < argc) {
      dictDir = argv[++i];
    } else if (arg == "--big") {
      big = true;
    } else {
      words.push_back(arg);
    }
  }
  if (words.size() < 2) return Usage();
  const std::string& command = words[0];

  tvime::MemorySettingsStore store;
  tvime::Settings settings(store);
  tvime::ConversionFlags flags(settings);
  flags.Assign(static_cast<std::uint16_t>(big ? flags.word() | tvime::CS_BIG_CHARSET
                                              : flags.word() & ~tvime::CS_BIG_CHARSET));
  tvime::DirectoryResources resources(dictDir);
  tvime::Lexicon lexicon(settings, flags, nullptr);
  lexicon.Initialize(&resources);
  if (!lexicon.chars.IsLoaded()) {
    std::cerr << "tvime-query: no character dictionary in " << dictDir << "\n";
    return 1;
  }

  if (command == "strokes" && words.size() == 2) {
    tvime::ListStrokeCandidates(lexicon, tvime::FoldStrokes(words[1]), std::cout);
  } else if (command == "phrases" && words.size() == 2) {
    tvime::ListPhraseCandidates(lexicon, words[1], std::cout);
  } else if (command == "assoc") {
    tvime::ListAssociation(lexicon, std::span(words).subspan(1), std::cout);
  } else if (command == "pinyin" && words.size() == 2) {
    tvime::PinyinInput pinyin(lexicon);
    pinyin.LoadPinyinTable(&resources);
    tvime::ListPinyinCandidates(pinyin, lexicon, words[1], std::cout);
  } else if (command == "radicals" && words.size() == 2) {
    tvime::ListRadicals(lexicon, words[1], std::cout);
  } else if (command == "group" && (words.size() == 2 || words.size() == 3)) {
    size_t group = std::strtoul(words[1].c_str(), nullptr, 10);
    tvime::ListRadicalGroup(lexicon, group, words.size() == 3 ? words[2] : "", std::cout);
  } else {
    return Usage();
  }
  return 0;
}
