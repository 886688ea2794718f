#include "engine/next_word_model.h"

#include <algorithm>
#include <cstring>

#include "base/byte_reader.h"
#include "base/gbk.h"

namespace tvime {
namespace {

constexpr size_t kOffsetsAt = 8;

std::uint32_t U32At(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The bytes a record takes from `offset`, or 0 when it does not fit the buffer.
size_t RecordSize(std::span<const std::uint8_t> buffer, size_t offset) {
  ByteReader reader(buffer, offset);
  std::uint8_t textLength = 0, count = 0;
  if (!reader.ReadU8(textLength) || !reader.ReadU8(count) || textLength < 3 ||
      !reader.Skip(textLength)) {
    return 0;
  }
  for (size_t i = 0; i < count; ++i) {
    std::uint8_t restLength = 0;
    if (!reader.ReadU8(restLength) || restLength == 0 || !reader.Skip(restLength + 2u)) return 0;
  }
  return reader.offset() - offset;
}

}  // namespace

void NextWordModel::Clear() {
  offsets_ = {};
  DictionaryFile::Clear();
}

bool NextWordModel::Parse() {
  offsets_ = {};
  count = 0;
  ByteReader header(buffer, 4);
  std::uint32_t contexts = 0;
  if (!header.ReadU32(contexts)) return false;
  bool intact = header.Has(size_t{contexts} * 4);
  size_t listed = intact ? contexts : header.remaining() / 4;
  size_t valid = WholeRecords(listed);
  offsets_ = buffer.subspan(kOffsetsAt, 4 * valid);
  count = valid;
  return intact && valid == listed;
}

size_t NextWordModel::WholeRecords(size_t listed) const {
  // A damaged record ends the model: the ones before it are still in order for the search.
  size_t valid = 0;
  for (; valid < listed; ++valid) {
    std::uint32_t offset = U32At(&buffer[kOffsetsAt + 4 * valid]);
    if (offset < kOffsetsAt + 4 * listed || RecordSize(buffer, offset) == 0) break;
  }
  return valid;
}

std::vector<std::uint8_t> NextWordModel::SerializeIndex() const {
  std::vector<std::uint8_t> out(4);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(count >> (8 * i));
  return out;
}

bool NextWordModel::AdoptIndex(ByteSpan index, IndexCheck check) {
  offsets_ = {};
  count = 0;
  ByteReader header(buffer, 4), stated(index);
  std::uint32_t contexts = 0, whole = 0;
  if (index.size() != 4 || !stated.ReadU32(whole) || !header.ReadU32(contexts) ||
      whole > contexts || !header.Has(size_t{whole} * 4)) {
    return false;
  }
  // The records are listed for all `contexts`: each must lie after the whole list.
  if (check == IndexCheck::Entries &&
      (!header.Has(size_t{contexts} * 4) || WholeRecords(contexts) != whole)) {
    return false;
  }
  offsets_ = buffer.subspan(kOffsetsAt, 4 * size_t{whole});
  count = whole;
  return true;
}

std::string_view NextWordModel::RecordText(std::uint32_t offset) const {
  return {reinterpret_cast<const char*>(&buffer[offset + 2]), buffer[offset]};
}

NextWordModel::Context NextWordModel::Find(std::string_view before, std::string_view key) const {
  if (before.empty() || key.empty() || count == 0) return {};
  std::string_view last = before.substr(before.size() - GbkLastCharSize(before));
  // Records are keyed by BEFORE+KEY with BEFORE two bytes wide.
  if (last.size() != 2) return {};
  auto compare = [&](std::uint32_t offset) {
    std::string_view text = RecordText(offset);
    if (int order = text.substr(0, 2).compare(last)) return order;
    return text.substr(2).compare(key);
  };
  size_t low = 0, high = count;
  while (low < high) {
    size_t middle = (low + high) / 2;
    std::uint32_t offset = U32At(&offsets_[4 * middle]);
    int order = compare(offset);
    if (order == 0) return Context(&buffer[offset]);
    if (order < 0) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return {};
}

std::uint32_t NextWordModel::Context::CountOf(std::string_view rest) const {
  if (!record_) return 0;
  const std::uint8_t* at = record_ + 2 + record_[0];
  for (size_t i = 0; i < record_[1]; ++i) {
    size_t length = at[0];
    if (length == rest.size() && std::memcmp(at + 1, rest.data(), length) == 0) {
      return ReadU16At(at + 1 + length);
    }
    at += 1 + length + 2;
  }
  return 0;
}

std::uint32_t NextWordModel::Context::Total() const {
  if (!record_) return 0;
  std::uint32_t total = 0;
  const std::uint8_t* at = record_ + 2 + record_[0];
  for (size_t i = 0; i < record_[1]; ++i) {
    total += ReadU16At(at + 1 + at[0]);
    at += 1 + at[0] + 2;
  }
  return total;
}

}  // namespace tvime
