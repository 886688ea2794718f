#include "engine/radical_group_dictionary.h"

#include "base/byte_reader.h"

namespace tvime {
namespace {

// Walks the groups of `buffer`, appending each to `out` when given. Returns how many groups are
// there (a damaged list keeps its intact pairs and ends the walk) and whether all were whole.
std::pair<size_t, bool> WalkGroups(ByteSpan buffer, std::vector<RadicalGroup>* out) {
  ByteReader header(buffer, 4);
  std::uint16_t groupCount = 0, reserved = 0;
  if (!header.ReadU16(groupCount) || !header.ReadU16(reserved)) return {0, false};
  size_t next = header.offset();
  RadicalGroup group;
  for (size_t g = 0; g < groupCount; ++g) {
    group.pairs.clear();
    next = ParsePairList(buffer, next, group.pairs);
    if (next == 0 && group.pairs.empty()) return {g, false};
    if (out) out->push_back(group);
    if (next == 0) return {g + 1, false};
  }
  return {groupCount, true};
}

}  // namespace

void RadicalGroupDictionary::Clear() {
  std::lock_guard lock(parsing_);
  groups_.clear();
  parseDeferred_ = false;
  DictionaryFile::Clear();
}

bool RadicalGroupDictionary::Parse() {
  std::lock_guard lock(parsing_);
  groups_.clear();
  parseDeferred_ = false;
  auto [groups, whole] = WalkGroups(buffer, &groups_);
  count = groups;
  return whole;
}

std::vector<std::uint8_t> RadicalGroupDictionary::SerializeIndex() const {
  return {static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8), 0, 0};
}

bool RadicalGroupDictionary::AdoptIndex(ByteSpan index, IndexCheck check) {
  ByteReader stated(index), header(buffer, 4);
  std::uint32_t groups = 0;
  std::uint16_t listed = 0;
  if (index.size() != 4 || !stated.ReadU32(groups) || !header.ReadU16(listed) || groups > listed ||
      (check == IndexCheck::Entries && WalkGroups(buffer, nullptr).first != groups)) {
    return false;
  }
  std::lock_guard lock(parsing_);
  groups_.clear();
  parseDeferred_ = true;
  count = groups;
  return true;
}

const RadicalGroup& RadicalGroupDictionary::GroupAt(size_t i) const {
  static const RadicalGroup kNone;
  std::lock_guard lock(parsing_);
  if (parseDeferred_) {
    WalkGroups(buffer, &groups_);
    parseDeferred_ = false;
  }
  return i < groups_.size() ? groups_[i] : kNone;
}

}  // namespace tvime
