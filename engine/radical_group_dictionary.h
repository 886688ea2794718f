#pragma once
// The radical groups ("extra.bin"): one pair list per radical number. In a group, a pair whose
// first text begins with an ASCII digit links to another radical; every other pair is a character
// with the stroke code of the rest of the character. Links come after all characters.
//
// Decoded layout: 4 total length, 2 group count G, 2 reserved, then G pair lists back to back.

#include <mutex>
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
  // The count of groups Parse found whole. Adopting it from the shared image of a checked copy
  // leaves the parse to the first use of a group: most applications never open the radical
  // panel, and parsing touches every page of the groups.
  std::vector<std::uint8_t> SerializeIndex() const override;
  bool AdoptIndex(ByteSpan index, IndexCheck check = IndexCheck::Entries) override;

  size_t GroupCount() const { return count; }
  // An empty group past the ones parsed.
  const RadicalGroup& GroupAt(size_t i) const;

 protected:
  void Clear() override;

 private:
  mutable std::mutex parsing_;  // lexicons shared by threads parse a deferred list once
  mutable bool parseDeferred_ = false;
  mutable std::vector<RadicalGroup> groups_;
};

}  // namespace tvime
