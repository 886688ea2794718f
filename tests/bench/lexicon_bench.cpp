// Benchmarks of the lexicon on the shipped dictionaries:
//   build/host-release/tests/bench/lexicon_bench
// Aims: one stroke search at most 50 us (median), a full load of "words.bin" at most 15 ms.

#include <benchmark/benchmark.h>

#include "engine/character_dictionary.h"

namespace tvime {
namespace {

const ResourceSource& Dictionaries() {
  static DirectoryResources resources(TVIME_DICT_DIR);
  return resources;
}

const CharacterDictionary& LoadedWords() {
  static CharacterDictionary* words = [] {
    auto* dictionary = new CharacterDictionary;
    dictionary->LoadFromResource(&Dictionaries(), "words.bin", SCRAMBLE_BLOCK);
    return dictionary;
  }();
  return *words;
}

// The worst case of the search: one stroke with the big set, where 400 candidates are ranked and
// the rest of the dictionary is still scanned for exact matches.
void BM_FindByStrokesOneStrokeBigSet(benchmark::State& state) {
  const CharacterDictionary& words = LoadedWords();
  const std::string query(1, "asdfg"[state.range(0)]);
  std::vector<CandidateId> list;
  for (auto _ : state) {
    words.FindByStrokes(query, true, list);
    benchmark::DoNotOptimize(list.data());
  }
  state.SetLabel(query);
}
BENCHMARK(BM_FindByStrokesOneStrokeBigSet)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void BM_FindByStrokesFullCodeCommonSet(benchmark::State& state) {
  const CharacterDictionary& words = LoadedWords();
  std::vector<CandidateId> list;
  for (auto _ : state) {
    words.FindByStrokes("sgas", false, list);
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_FindByStrokesFullCodeCommonSet)->Unit(benchmark::kMicrosecond);

// The whole load as the input method does it at start: copy, descramble (block cipher), parse.
void BM_LoadWordsFromResources(benchmark::State& state) {
  Dictionaries().FindData("words.bin");  // the file read stands in for the mapped module image
  for (auto _ : state) {
    CharacterDictionary words;
    words.LoadFromResource(&Dictionaries(), "words.bin", SCRAMBLE_BLOCK);
    benchmark::DoNotOptimize(words.count);
  }
}
BENCHMARK(BM_LoadWordsFromResources)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tvime

BENCHMARK_MAIN();
