// The pair-list parse of the dictionary base class (the radical list).

#include <cstring>

#include "engine/dictionary_file.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  auto input = tvime::fuzzing::SplitResourceInput(data, size);
  tvime::DictionaryFile list;
  list.LoadFromBytes(input.resource, input.kind);
  size_t bytes = 0;
  for (size_t i = 0; i < list.count; ++i) {
    bytes += std::strlen(list.PairAt(i).first) + std::strlen(list.PairAt(i).second);
  }
  if (bytes > input.resource.size()) __builtin_trap();
  return 0;
}
