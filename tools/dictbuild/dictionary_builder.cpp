#include "tools/dictbuild/dictionary_builder.h"

#include <algorithm>
#include <span>
#include <stdexcept>

#include "engine/phrase_dictionary.h"
#include "engine/scramble.h"

namespace tvime {
namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

void PutText(std::vector<std::uint8_t>& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}

std::uint8_t LengthWithNul(const std::string& text) {
  if (text.size() > 254) throw std::runtime_error("text longer than 254 bytes: " + text);
  return static_cast<std::uint8_t>(text.size() + 1);
}

}  // namespace

std::vector<std::uint8_t> BuildCharacterDictionary(const std::vector<CharRecord>& records) {
  if (records.size() > 0xFFFF) throw std::runtime_error("more than 65535 characters");
  std::vector<std::uint8_t> out;
  PutU32(out, 0);
  PutU16(out, static_cast<std::uint32_t>(records.size()));
  PutU16(out, 0);
  for (const CharRecord& r : records) {
    out.push_back(LengthWithNul(r.text));
    out.push_back(LengthWithNul(r.code));
    out.push_back(LengthWithNul(r.annotation));
    out.push_back(r.flags);
    PutU16(out, r.weight);
  }
  for (const CharRecord& r : records) {
    PutText(out, r.text);
    PutText(out, r.code);
    PutText(out, r.annotation);
  }
  SealContainer(out, SCRAMBLE_NONE);
  return out;
}

std::vector<std::uint8_t> BuildPhraseDictionary(const std::vector<PhraseRecord>& records) {
  std::vector<std::uint8_t> out;
  PutU32(out, 0);
  PutU32(out, static_cast<std::uint32_t>(records.size()));
  for (const PhraseRecord& r : records) {
    size_t chars = r.text.size() / 2;
    if (r.text.size() % 2 != 0 || chars == 0 || chars > 63 || r.syllableKeys.size() != chars) {
      throw std::runtime_error("malformed phrase record");
    }
    // Text with NUL and the keys: L = 4n + 1, so that (L - 1) div 4 gives n back.
    out.push_back(static_cast<std::uint8_t>(4 * chars + 1));
  }
  for (const PhraseRecord& r : records) {
    PutText(out, r.text);
    for (std::uint16_t key : r.syllableKeys) PutU16(out, key);
    PutU32(out, 0);  // the four bytes every block ends with
  }
  SealContainer(out, SCRAMBLE_NONE);
  return out;
}

std::vector<std::uint8_t> BuildNextWordModel(std::vector<NextWordRecord> records) {
  auto textOf = [](const NextWordRecord& r) { return r.before + r.key; };
  std::sort(records.begin(), records.end(), [&](const NextWordRecord& a, const NextWordRecord& b) {
    return textOf(a) < textOf(b);
  });
  std::vector<std::uint8_t> out;
  PutU32(out, 0);
  PutU32(out, static_cast<std::uint32_t>(records.size()));
  size_t offsetsAt = out.size();
  out.resize(out.size() + 4 * records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    const NextWordRecord& r = records[i];
    std::string text = textOf(r);
    if (r.before.size() != 2 || r.key.empty() || text.size() > 255) {
      throw std::runtime_error("malformed next-word context: " + text);
    }
    if (i > 0 && textOf(records[i - 1]) == text) {
      throw std::runtime_error("next-word context listed twice: " + text);
    }
    if (r.continuations.empty() || r.continuations.size() > 255) {
      throw std::runtime_error("next-word context without 1..255 continuations: " + text);
    }
    std::uint32_t offset = static_cast<std::uint32_t>(out.size());
    for (size_t b = 0; b < 4; ++b)
      out[offsetsAt + 4 * i + b] = static_cast<std::uint8_t>(offset >> (8 * b));
    out.push_back(static_cast<std::uint8_t>(text.size()));
    out.push_back(static_cast<std::uint8_t>(r.continuations.size()));
    out.insert(out.end(), text.begin(), text.end());
    for (const auto& [rest, count] : r.continuations) {
      if (rest.empty() || rest.size() > 255) throw std::runtime_error("malformed continuation");
      out.push_back(static_cast<std::uint8_t>(rest.size()));
      out.insert(out.end(), rest.begin(), rest.end());
      PutU16(out, count);
    }
  }
  SealContainer(out, SCRAMBLE_NONE);
  return out;
}

std::vector<std::uint8_t> BuildPinyinTable(const std::vector<std::vector<std::uint16_t>>& rows) {
  std::vector<std::uint8_t> out;
  PutU32(out, static_cast<std::uint32_t>(rows.size()));
  for (const auto& row : rows) PutU32(out, static_cast<std::uint32_t>(row.size()));
  for (const auto& row : rows) {
    for (std::uint16_t index : row) PutU16(out, index);
  }
  return out;
}

std::vector<std::uint8_t> BuildRadicalGroups(const std::vector<TextPairs>& groups) {
  if (groups.size() > 0xFFFF) throw std::runtime_error("more than 65535 groups");
  std::vector<std::uint8_t> out;
  PutU32(out, 0);
  PutU16(out, static_cast<std::uint32_t>(groups.size()));
  PutU16(out, 0);
  for (const TextPairs& group : groups) {
    std::vector<std::uint8_t> list = BuildPairList(group);
    out.insert(out.end(), list.begin(), list.end());
  }
  SealContainer(out, SCRAMBLE_NONE);
  return out;
}

std::vector<std::uint8_t> BuildPairList(const TextPairs& pairs) {
  if (pairs.size() > 0xFFFF) throw std::runtime_error("more than 65535 pairs");
  std::vector<std::uint8_t> out;
  PutU16(out, static_cast<std::uint32_t>(pairs.size()));
  PutU16(out, 0);
  for (const auto& [first, second] : pairs) {
    out.push_back(LengthWithNul(first));
    out.push_back(LengthWithNul(second));
  }
  for (const auto& [first, second] : pairs) {
    PutText(out, first);
    PutText(out, second);
  }
  return out;
}

std::vector<std::uint8_t> Container(const std::vector<std::uint8_t>& payload) {
  std::vector<std::uint8_t> out(4 + payload.size());
  std::copy(payload.begin(), payload.end(), out.begin() + 4);
  SealContainer(out, SCRAMBLE_NONE);
  return out;
}

void SealContainer(std::vector<std::uint8_t>& container, int kind) {
  if (container.size() < 4) container.resize(4);
  std::uint32_t total = static_cast<std::uint32_t>(container.size());
  for (int b = 0; b < 4; ++b) container[b] = static_cast<std::uint8_t>(total >> (8 * b));
  Scramble(std::span(container).subspan(4), kind);
}

}  // namespace tvime
