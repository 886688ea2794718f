// tvime-query: asks the built dictionaries what the input method would offer.
//
//   tvime-query [--dict DIR] [--big] strokes CODE        characters for a stroke input
//   tvime-query [--dict DIR] [--big] phrases CODE'CODE... characters, then phrases
//   tvime-query [--dict DIR] assoc TEXT...               follow-on words after committing TEXTs
//   tvime-query [--dict DIR] [--big] pinyin LETTERS      pinyin spelled with the panel's buttons
//   tvime-query [--dict DIR] radicals CODE               radicals for the strokes typed
//   tvime-query [--dict DIR] [--big] group N CODE        characters of radical N, strokes after it
//   tvime-query [--dict DIR] batch FILE                  every line of FILE (tab-separated)
//
// Stroke letters: a s d f g (横 竖 撇 点 折), t h n (提 竖钩 捺, folded to a s f), "?" for any
// stroke. --big searches the large character set; without it only the common characters.

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/query/query_commands.h"

namespace {

int Usage() {
  std::cerr << "usage: tvime-query [--dict DIR] [--big] strokes CODE | phrases CODE'CODE... |\n"
               "         assoc TEXT... | pinyin LETTERS | radicals CODE | group N [CODE] |\n"
               "         batch FILE\n";
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
  if (words.empty()) return Usage();

  tvime::DirectoryResources resources(dictDir);
  tvime::Lexicon lexicon(nullptr);
  lexicon.Initialize(&resources);
  if (!lexicon.characters().IsLoaded()) {
    std::cerr << "tvime-query: no character dictionary in " << dictDir << "\n";
    return 1;
  }
  tvime::PinyinInput pinyin(lexicon);
  pinyin.LoadPinyinTable(&resources);
  tvime::QueryEngine engine{lexicon, pinyin};

  if (words[0] == "batch" && words.size() == 2) {
    std::ifstream file(words[1], std::ios::binary);
    std::ostringstream batch;
    batch << file.rdbuf();
    if (!file) {
      std::cerr << "tvime-query: cannot read " << words[1] << "\n";
      return 1;
    }
    return tvime::RunQueryBatch(engine, batch.str(), std::cout) ? 0 : 2;
  }
  return tvime::RunQuery(engine, words, big, std::cout) ? 0 : Usage();
}
