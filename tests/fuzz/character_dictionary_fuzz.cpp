// The character dictionary loader and every lookup over what it parsed.

#include <cstring>

#include "engine/character_dictionary.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  auto input = tvime::fuzzing::SplitResourceInput(data, size);
  tvime::CharacterDictionary dictionary;
  dictionary.LoadFromBytes(input.resource, input.kind);

  std::vector<tvime::CandidateId> list;
  for (const char* query : {"", "a", "t?", "sgas", "??????????"}) {
    for (bool big : {false, true}) {
      dictionary.FindByStrokes(query, big, list);
      if (list.size() > tvime::kMaxMainCandidates) __builtin_trap();
      for (tvime::CandidateId id : list) {
        if (id >= dictionary.count) __builtin_trap();
      }
    }
  }
  for (size_t i = 0; i < dictionary.count; ++i) {
    const tvime::CharEntry& entry = dictionary.EntryAt(i);
    if (std::strlen(entry.code) != entry.codeLength) __builtin_trap();
    tvime::CharIndex index = dictionary.IndexOfChar(entry.text);
    if (tvime::CharKey(dictionary.EntryAt(index).text) != tvime::CharKey(entry.text)) {
      __builtin_trap();
    }
    dictionary.CodeOfChar(entry.text);
    dictionary.AnnotationOfChar(entry.text);
  }
  return 0;
}
