// The radical-group parse: many pair lists back to back.

#include <cstring>

#include "engine/radical_group_dictionary.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  auto input = tvime::fuzzing::SplitResourceInput(data, size);
  tvime::RadicalGroupDictionary groups;
  groups.LoadFromBytes(input.resource, input.kind);
  size_t bytes = 0;
  for (size_t g = 0; g < groups.GroupCount(); ++g) {
    for (const tvime::TextPair& pair : groups.GroupAt(g).pairs) {
      bytes += std::strlen(pair.first) + std::strlen(pair.second);
    }
  }
  if (bytes > input.resource.size()) __builtin_trap();
  return 0;
}
