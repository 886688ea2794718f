// tvime-query: asks the built dictionaries what the input method would offer.
//
//   tvime-query [--dict DIR] strokes CODE [--big]
//
// CODE uses the stroke letters a s d f g (横 竖 撇 点 折), "?" for any stroke and "t" as a second
// 横. --big searches the large character set; without it only the common characters.

#include <iostream>
#include <string>
#include <vector>

#include "settings/conversion_flags.h"
#include "settings/settings.h"
#include "tools/query/candidate_listing.h"

namespace {

int Usage() {
  std::cerr << "usage: tvime-query [--dict DIR] strokes CODE [--big]\n";
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
  if (words.size() != 2 || words[0] != "strokes") return Usage();

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
  tvime::ListStrokeCandidates(lexicon, words[1], std::cout);
  return 0;
}
