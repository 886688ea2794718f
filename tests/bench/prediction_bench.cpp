// Benchmarks of "PredictNext" on the shipped dictionaries:
//   build/host-release/tests/bench/prediction_bench
// Aim: ranking a follow-on list by the next-word model at most 20 us (median): the difference
// between the follow-on words of a frequent key with and without the option. The phrases by
// strokes, which the option merges across first characters, keep the lexicon's aim of 100 us.

#include <benchmark/benchmark.h>

#include <string>

#include "base/gbk.h"
#include "engine/lexicon.h"
#include "tests/support/shipped_dictionaries.h"

namespace tvime {
namespace {

Lexicon& Engine(bool predict) {
  auto load = [](bool on) {
    auto* lexicon = new Lexicon(nullptr);
    lexicon->SetOptions({.bigCharset = true, .predictNext = on});
    lexicon->Initialize(&testing::ShippedDictionaries());
    return lexicon;
  };
  static Lexicon* with = load(true);
  static Lexicon* without = load(false);
  return predict ? *with : *without;
}

// 个 after 一: one of the largest follow-on lists, in a context the model knows well.
void BM_FollowOnWordsOfAFrequentKey(benchmark::State& state) {
  Lexicon& lexicon = Engine(state.range(0) != 0);
  const std::string key = Utf8ToGbk("个"), before = Utf8ToGbk("一");
  if (lexicon.nextWords().Find(before, key).empty() && state.range(0) != 0) {
    state.SkipWithError("the model does not know the context");
  }
  for (auto _ : state) benchmark::DoNotOptimize(lexicon.AssociationsOf(key, before));
  state.SetLabel(state.range(0) ? "ranked" : "dictionary order");
}
BENCHMARK(BM_FollowOnWordsOfAFrequentKey)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One stroke and a separator: the most characters whose phrases are merged.
void BM_PhrasesByStrokesOneStroke(benchmark::State& state) {
  Lexicon& lexicon = Engine(state.range(0) != 0);
  std::vector<std::string_view> parts = {"a", ""};
  std::vector<CandidateId> characters;
  lexicon.CharactersByStrokes(parts[0], characters);
  const std::string before = Utf8ToGbk("打开");
  for (auto _ : state) {
    benchmark::DoNotOptimize(lexicon.FindPhrasesByStrokes(characters, parts, before));
  }
  state.SetLabel(state.range(0) ? "merged, ranked" : "grouped");
}
BENCHMARK(BM_PhrasesByStrokesOneStroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tvime

BENCHMARK_MAIN();
