// Benchmarks of the lexicon on the shipped dictionaries:
//   build/host-release/tests/bench/lexicon_bench
// Aims: a stroke search at most 50 us, a phrase, association or pinyin lookup at most 100 us
// (medians); the load of all resources at most 15 ms, from the shared image at most 5 ms; the
// loaded lexicon at most 12 MB of private memory, over the shared image at most 2 MB (printed
// first, from /proc/self/smaps_rollup).

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "engine/dictionary_image.h"
#include "engine/lexicon.h"
#include "engine/pinyin_input.h"
#include "tests/support/shipped_dictionaries.h"

namespace tvime {
namespace {

constexpr auto Dictionaries = testing::ShippedDictionaries;

// Files read for the resources stand for the module image, which Windows maps shared.
void ReadResources() {
  for (const char* name : {"words.bin", "phrase.bin", "extra.bin", "pianpang.bin", "WDPINYIN.BIN"})
    Dictionaries().FindData(name);
}

struct Loaded {
  Loaded() : lexicon(nullptr), pinyin(lexicon) {
    lexicon.SetOptions({.bigCharset = true});  // the product's default, and the slower searches
    lexicon.Initialize(&Dictionaries());
    pinyin.LoadPinyinTable(&Dictionaries());
  }
  Lexicon lexicon;
  PinyinInput pinyin;
  CandidateLists lists;
};

Loaded& Engine() {
  static Loaded* loaded = new Loaded;
  return *loaded;
}

// The worst case of the stroke search: one stroke with the big set, where 400 candidates are
// ranked and the rest of the dictionary is still looked at for exact matches.
void BM_FindByStrokesOneStrokeBigSet(benchmark::State& state) {
  Lexicon& lexicon = Engine().lexicon;
  const std::string query(1, "asdfg"[state.range(0)]);
  std::vector<CandidateId>& characters = Engine().lists.mainList;
  for (auto _ : state) {
    lexicon.CharactersByStrokes(query, characters);
    benchmark::DoNotOptimize(characters.data());
  }
  state.SetLabel(query);
}
BENCHMARK(BM_FindByStrokesOneStrokeBigSet)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void BM_FindPhrasesByStrokesTwoParts(benchmark::State& state) {
  Lexicon& lexicon = Engine().lexicon;
  std::vector<std::string_view> parts = {"sgas", "sga"};  // 中 + the first strokes of 国
  std::vector<CandidateId>& characters = Engine().lists.mainList;
  for (auto _ : state) {
    lexicon.CharactersByStrokes(parts[0], characters);
    benchmark::DoNotOptimize(lexicon.FindPhrasesByStrokes(characters, parts));
  }
}
BENCHMARK(BM_FindPhrasesByStrokesTwoParts)->Unit(benchmark::kMicrosecond);

void BM_UpdateAssociationAfterAFrequentCharacter(benchmark::State& state) {
  Lexicon& lexicon = Engine().lexicon;
  const std::string zhong = "\xD6\xD0";  // 中
  CandidateLists& lists = Engine().lists;
  for (auto _ : state) {
    lists.contextHistory.clear();
    std::string context = zhong;
    lexicon.UpdateAssociation(lists, context, ModeAssociation);
    benchmark::DoNotOptimize(lists.assocList.data());
  }
}
BENCHMARK(BM_UpdateAssociationAfterAFrequentCharacter)->Unit(benchmark::kMicrosecond);

using Spelling = std::vector<std::pair<bool, const char*>>;  // clicks: initial or final

// Pinyin lookups: an initial alone (every sh syllable), two syllables, two initials (the widest
// phrase lookup).
void BM_LookupPinyin(benchmark::State& state) {
  static const Spelling spellings[] = {{{true, "sh"}},
                                       {{true, "zh"}, {false, "ong"}, {true, "g"}, {false, "uo"}},
                                       {{true, "sh"}, {true, "'"}, {true, "j"}}};
  PinyinInput& pinyin = Engine().pinyin;
  pinyin.ClearPinyin();
  for (auto [initial, text] : spellings[state.range(0)]) {
    if (initial) {
      pinyin.AddInitialToken(*FindInitial(text));
    } else {
      pinyin.AddFinalToken(*FindFinal(text));
    }
  }
  pinyin.SegmentTokens();
  for (auto _ : state) {
    pinyin.LookupPinyin();
    benchmark::DoNotOptimize(pinyin.charList.data());
    benchmark::DoNotOptimize(pinyin.phraseList.data());
  }
}
BENCHMARK(BM_LookupPinyin)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The whole load as the input method does it at start: every resource copied, descrambled and
// parsed, and the syllable rows.
void BM_LoadAllResources(benchmark::State& state) {
  ReadResources();
  for (auto _ : state) {
    Loaded loaded;
    benchmark::DoNotOptimize(loaded.lexicon.phrases().count);
  }
}
BENCHMARK(BM_LoadAllResources)->Unit(benchmark::kMillisecond);

// The image of the decoded dictionaries that every process of a user maps (here a buffer stands
// for the mapped file).
const std::vector<std::uint8_t>& SharedImage() {
  static const std::vector<std::uint8_t> image =
      BuildDictionaryImage(Dictionaries(), {1, DictionaryDataHash(Dictionaries())});
  return image;
}

// The load of a process that finds the shared image: the data hash that names it, its check, and
// the dictionaries over it. The hash of the whole image is left out when another live process
// of the session has checked it (`checked`).
struct LoadedFromImage {
  explicit LoadedFromImage(bool checked)
      : shared(*DictionaryImageResources::Open(
            SharedImage(), {1, DictionaryDataHash(Dictionaries())}, Dictionaries(), !checked)),
        lexicon(nullptr),
        pinyin(lexicon) {
    lexicon.SetOptions({.bigCharset = true});
    lexicon.Initialize(&shared);
    pinyin.LoadPinyinTable(&shared);
  }
  DictionaryImageResources shared;
  Lexicon lexicon;
  PinyinInput pinyin;
};

void BM_LoadAllResourcesFromSharedImage(benchmark::State& state) {
  SharedImage();
  for (auto _ : state) {
    LoadedFromImage loaded(state.range(0) != 0);
    benchmark::DoNotOptimize(loaded.lexicon.phrases().count);
  }
}
BENCHMARK(BM_LoadAllResourcesFromSharedImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Private memory of this process in kB (dirty private pages), from the kernel's summary.
long PrivateKilobytes() {
  std::ifstream rollup("/proc/self/smaps_rollup");
  std::string line;
  long total = 0;
  while (std::getline(rollup, line)) {
    long value = 0;
    if (std::sscanf(line.c_str(), "Private_Dirty: %ld", &value) == 1 ||
        std::sscanf(line.c_str(), "Private_Clean: %ld", &value) == 1) {
      total += value;
    }
  }
  return total;
}

}  // namespace
}  // namespace tvime

int main(int argc, char** argv) {
  tvime::ReadResources();
  long before = tvime::PrivateKilobytes();
  tvime::Engine();
  long after = tvime::PrivateKilobytes();
  std::cout << "private memory of the loaded lexicon: " << (after - before) / 1024.0 << " MB\n";
  tvime::SharedImage();  // stands for the mapped file, which the processes share
  malloc_trim(0);        // what building it freed is not there for the lexicon to reuse
  before = tvime::PrivateKilobytes();
  auto* fromImage = new tvime::LoadedFromImage(false);
  after = tvime::PrivateKilobytes();
  std::cout << "private memory of a lexicon over the shared image: " << (after - before) / 1024.0
            << " MB\n";
  delete fromImage;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
