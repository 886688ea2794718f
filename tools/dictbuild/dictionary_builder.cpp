#include "tools/dictbuild/dictionary_builder.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>

#include "base/gbk.h"
#include "engine/character_dictionary.h"
#include "engine/phrase_dictionary.h"
#include "engine/pinyin_syllables.h"
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

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  while (true) {
    size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

// Calls `parse` with the tab-separated fields of every line that is not empty or a comment; a
// std::runtime_error it throws is reported with the line number.
template <typename Parse>
void ForEachRecord(std::string_view table, Parse parse) {
  size_t lineNumber = 0;
  while (!table.empty()) {
    size_t end = table.find('\n');
    std::string_view line = table.substr(0, end);
    table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;
    try {
      parse(SplitTabs(line));
    } catch (const std::runtime_error& error) {
      throw std::runtime_error("line " + std::to_string(lineNumber) + ": " + error.what());
    }
  }
}

std::string ToGbk(std::string_view utf8) {
  bool lossless = false;
  std::string gbk = Utf8ToGbk(utf8, &lossless);
  if (!lossless) throw std::runtime_error("not encodable in GBK");
  return gbk;
}

bool IsStrokeCode(std::string_view code) {
  return code.find_first_not_of("asdfg") == std::string_view::npos;
}

unsigned ParseNumber(std::string_view text, unsigned max) {
  unsigned value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || value > max) {
    throw std::runtime_error("not a number up to " + std::to_string(max) + ": " +
                             std::string(text));
  }
  return value;
}

std::string ToGbk(std::string_view utf8, size_t lineNumber) {
  bool lossless = false;
  std::string gbk = Utf8ToGbk(utf8, &lossless);
  if (!lossless) {
    throw std::runtime_error("line " + std::to_string(lineNumber) + ": not encodable in GBK");
  }
  return gbk;
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

std::vector<CharRecord> ParseCharacterTable(std::string_view table) {
  std::vector<CharRecord> records;
  size_t lineNumber = 0;
  bool inUncommonBlock = false;
  while (!table.empty()) {
    size_t end = table.find('\n');
    std::string_view line = table.substr(0, end);
    table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;

    auto fail = [&](const std::string& why) {
      throw std::runtime_error("line " + std::to_string(lineNumber) + ": " + why);
    };
    std::vector<std::string_view> f = SplitTabs(line);
    if (f.size() != 5) fail("expected 5 tab-separated fields");
    CharRecord r;
    r.text = ToGbk(f[0], lineNumber);
    if (r.text.size() != 2) fail("not one double-byte character");
    if (f[1].empty() || f[1].find_first_not_of("asdfg") != std::string_view::npos) {
      fail("stroke code must be letters a s d f g");
    }
    r.code = std::string(f[1]);
    if (f[2] != "0" && f[2] != "1") fail("common flag must be 0 or 1");
    r.flags = f[2] == "1" ? kCommonCharFlag : 0;
    unsigned weight = 0;
    auto [ptr, ec] = std::from_chars(f[3].data(), f[3].data() + f[3].size(), weight);
    if (ec != std::errc() || ptr != f[3].data() + f[3].size() || weight > 0xFFFF) {
      fail("weight must be 0..65535");
    }
    r.weight = static_cast<std::uint16_t>(weight);
    r.annotation = ToGbk(f[4], lineNumber);
    // The common-only search stops at the first uncommon entry.
    if (r.flags & kCommonCharFlag) {
      if (inUncommonBlock) fail("common character after the common block");
    } else {
      inUncommonBlock = true;
    }
    records.push_back(std::move(r));
  }
  return records;
}

}  // namespace tvime

namespace tvime {

std::vector<PhraseRecord> ParsePhraseTable(std::string_view table) {
  std::vector<PhraseRecord> records;
  ForEachRecord(table, [&records](const std::vector<std::string_view>& f) {
    if (f.size() != 2) throw std::runtime_error("expected PHRASE<TAB>SYLLABLES");
    PhraseRecord record{ToGbk(f[0]), {}};
    std::string_view syllables = f[1];
    while (!syllables.empty()) {
      size_t space = syllables.find(' ');
      std::string_view syllable = syllables.substr(0, space);
      std::optional<size_t> row = FindSyllable(syllable);
      if (!row) throw std::runtime_error("unknown syllable " + std::string(syllable));
      record.syllableKeys.push_back(Syllables()[*row].Key());
      syllables.remove_prefix(space == std::string_view::npos ? syllables.size() : space + 1);
    }
    size_t chars = record.text.size() / 2;
    if (record.text.size() % 2 != 0 || chars < 2 || chars > kMaxPhraseChars) {
      throw std::runtime_error("a phrase is 2 to 63 double-byte characters");
    }
    if (record.syllableKeys.size() != chars) throw std::runtime_error("one syllable per character");
    records.push_back(std::move(record));
  });
  return records;
}

std::vector<std::vector<std::uint16_t>> ParsePinyinTable(
    std::string_view table, const std::vector<CharRecord>& characters) {
  std::map<std::string, std::uint16_t> indexOf;
  for (size_t i = 0; i < characters.size(); ++i) {
    indexOf.emplace(characters[i].text, static_cast<std::uint16_t>(i));
  }
  std::vector<std::vector<std::uint16_t>> rows(kSyllableRowCount);
  size_t expectedRow = 1;
  ForEachRecord(table, [&](const std::vector<std::string_view>& f) {
    if (f.size() != 2) throw std::runtime_error("expected SYLLABLE<TAB>CHARACTERS");
    if (expectedRow >= kSyllableRowCount || f[0] != kSyllableRows[expectedRow].text) {
      throw std::runtime_error("syllables must follow the built-in table: expected " +
                               std::string(expectedRow < kSyllableRowCount
                                               ? kSyllableRows[expectedRow].text
                                               : "the end"));
    }
    std::string gbk = ToGbk(f[1]);
    if (gbk.size() % 2 != 0) throw std::runtime_error("characters must be double-byte");
    for (size_t b = 0; b + 2 <= gbk.size(); b += 2) {
      auto it = indexOf.find(gbk.substr(b, 2));
      if (it == indexOf.end()) throw std::runtime_error("character not in the dictionary");
      rows[expectedRow].push_back(it->second);
    }
    ++expectedRow;
  });
  if (expectedRow != kSyllableRowCount) throw std::runtime_error("syllables missing at the end");
  return rows;
}

TextPairs ParseRadicalList(std::string_view table) {
  TextPairs list = {{"0", ""}};
  ForEachRecord(table, [&list](const std::vector<std::string_view>& f) {
    if (f.size() < 3) throw std::runtime_error("expected NUMBER<TAB>FORM<TAB>CODE...");
    ParseNumber(f[0], 0xFFFF);
    if (f[2].empty() || !IsStrokeCode(f[2])) throw std::runtime_error("bad radical code");
    list.emplace_back(std::string(f[0]), std::string(f[2]));
  });
  return list;
}

std::vector<TextPairs> ParseRadicalGroups(std::string_view table) {
  std::vector<TextPairs> groups;
  std::vector<bool> linked;  // whether a group has had its first link (characters come first)
  ForEachRecord(table, [&](const std::vector<std::string_view>& f) {
    if (f.size() != 3) throw std::runtime_error("expected NUMBER<TAB>CHARACTER<TAB>CODE");
    size_t number = ParseNumber(f[0], 0xFFFE);
    if (number + 1 < groups.size()) throw std::runtime_error("groups must be in ascending order");
    if (groups.size() <= number) {
      groups.resize(number + 1);
      linked.resize(number + 1);
    }
    if (!IsStrokeCode(f[2])) throw std::runtime_error("bad stroke code");
    if (!f[1].empty() && f[1][0] == '@') {
      ParseNumber(f[1].substr(1), 0xFFFF);
      linked[number] = true;
      groups[number].emplace_back(std::string(f[1].substr(1)), std::string(f[2]));
    } else {
      if (linked[number]) throw std::runtime_error("a character after the group's links");
      std::string character = ToGbk(f[1]);
      if (character.size() != 2) throw std::runtime_error("not one double-byte character");
      groups[number].emplace_back(character, std::string(f[2]));
    }
  });
  return groups;
}

}  // namespace tvime
