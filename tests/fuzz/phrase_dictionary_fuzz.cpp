// The phrase dictionary parse and the lookups by first character.

#include <cstring>

#include "engine/phrase_dictionary.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  auto input = tvime::fuzzing::SplitResourceInput(data, size);
  tvime::PhraseDictionary phrases;
  phrases.LoadFromBytes(input.resource, input.kind);
  for (size_t i = 0; i < phrases.count; ++i) {
    const tvime::PhraseEntry& entry = phrases.EntryAt(i);
    std::string_view text(entry.text);
    if (text.size() != 2 * size_t{entry.charCount}) __builtin_trap();
    for (size_t k = 0; k < entry.charCount; ++k) entry.SyllableKeyAt(k);
    if (!phrases.Contains(text)) __builtin_trap();
    for (std::uint32_t index : phrases.PhrasesStartingWith(text)) {
      if (index >= phrases.count) __builtin_trap();
    }
  }
  return 0;
}
