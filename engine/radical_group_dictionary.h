#pragma once
// The radical groups ("extra.bin"): one pair list per radical number. In a group, a pair whose
// first text begins with an ASCII digit links to another radical; every other pair is a character
// with the stroke code of the rest of the character. Links come after all characters.
//
// Decoded layout: 4 total length, 2 group count G, 2 reserved, then G pair lists back to back.

#include <vector>

#include "engine/dictionary_file.h"

namespace tvime {

struct RadicalGroup {
  std::vector<TextPair> pairs;
  size_t pairCount() const { return pairs.size(); }
};

class RadicalGroupDictionary : public DictionaryFile {
 public:
  bool Parse() override;

  size_t GroupCount() const { return groups.size(); }
  const RadicalGroup& GroupAt(size_t i) const { return groups[i]; }

  std::vector<RadicalGroup> groups;

 protected:
  void Clear() override;
};

}  // namespace tvime
