#include "engine/radical_group_dictionary.h"

#include "base/byte_reader.h"

namespace tvime {

void RadicalGroupDictionary::Clear() {
  groups.clear();
  DictionaryFile::Clear();
}

bool RadicalGroupDictionary::Parse() {
  groups.clear();
  count = 0;
  ByteReader header(buffer, 4);
  std::uint16_t groupCount = 0, reserved = 0;
  if (!header.ReadU16(groupCount) || !header.ReadU16(reserved)) return false;
  size_t next = header.offset();
  bool intact = true;
  for (size_t g = 0; g < groupCount; ++g) {
    RadicalGroup group;
    next = ParsePairList(buffer, next, group.pairs);
    // A damaged list keeps its intact pairs and ends the parse.
    if (next == 0 && group.pairs.empty()) {
      intact = false;
      break;
    }
    groups.push_back(std::move(group));
    if (next == 0) {
      intact = false;
      break;
    }
  }
  count = groups.size();
  return intact;
}

}  // namespace tvime
