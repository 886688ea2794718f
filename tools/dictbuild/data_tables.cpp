#include "tools/dictbuild/data_tables.h"

#include <charconv>
#include <map>
#include <optional>
#include <stdexcept>
#include <unordered_set>

#include "base/gbk.h"
#include "base/text_table.h"
#include "engine/character_dictionary.h"
#include "engine/phrase_dictionary.h"
#include "engine/pinyin_syllables.h"

namespace tvime {
namespace {

// Calls `parse` with the fields of every record; a std::runtime_error it throws is reported
// with the line number.
template <typename Parse>
void ParseRecords(std::string_view table, Parse parse) {
  ForEachRecord(table, [&parse](const std::vector<std::string_view>& fields, std::string_view,
                                size_t lineNumber) {
    try {
      parse(fields);
    } catch (const std::runtime_error& error) {
      throw std::runtime_error("line " + std::to_string(lineNumber) + ": " + error.what());
    }
  });
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

}  // namespace

std::vector<CharRecord> ParseCharacterTable(std::string_view table) {
  std::vector<CharRecord> records;
  bool inUncommonBlock = false;
  ParseRecords(table, [&](const std::vector<std::string_view>& f) {
    if (f.size() != 5) throw std::runtime_error("expected 5 tab-separated fields");
    CharRecord r;
    r.text = ToGbk(f[0]);
    if (r.text.size() != 2) throw std::runtime_error("not one double-byte character");
    if (f[1].empty() || !IsStrokeCode(f[1])) {
      throw std::runtime_error("stroke code must be letters a s d f g");
    }
    r.code = std::string(f[1]);
    if (f[2] != "0" && f[2] != "1") throw std::runtime_error("common flag must be 0 or 1");
    r.flags = f[2] == "1" ? kCommonCharFlag : 0;
    r.weight = static_cast<std::uint16_t>(ParseNumber(f[3], 0xFFFF));
    r.annotation = ToGbk(f[4]);
    // The common-only search stops at the first uncommon entry.
    if (r.flags & kCommonCharFlag) {
      if (inUncommonBlock) throw std::runtime_error("common character after the common block");
    } else {
      inUncommonBlock = true;
    }
    records.push_back(std::move(r));
  });
  return records;
}

std::vector<PhraseRecord> ParsePhraseTable(std::string_view table) {
  std::vector<PhraseRecord> records;
  ParseRecords(table, [&records](const std::vector<std::string_view>& f) {
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
  ParseRecords(table, [&](const std::vector<std::string_view>& f) {
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
  ParseRecords(table, [&list](const std::vector<std::string_view>& f) {
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
  ParseRecords(table, [&](const std::vector<std::string_view>& f) {
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

std::vector<NextWordRecord> ParseNextWordTable(std::string_view table,
                                               const std::vector<PhraseRecord>& phrases) {
  std::unordered_set<std::string> known;
  for (const PhraseRecord& phrase : phrases) known.insert(phrase.text);
  std::vector<NextWordRecord> records;
  ParseRecords(table, [&](const std::vector<std::string_view>& f) {
    if (f.size() != 3) throw std::runtime_error("expected BEFORE<TAB>KEY<TAB>CONTINUATIONS");
    NextWordRecord r;
    r.before = ToGbk(f[0]);
    if (r.before.size() != 2) throw std::runtime_error("BEFORE is not one double-byte character");
    r.key = ToGbk(f[1]);
    if (r.key.empty()) throw std::runtime_error("empty KEY");
    std::string_view rests = f[2];
    while (!rests.empty()) {
      size_t end = std::min(rests.find(' '), rests.size());
      std::string_view item = rests.substr(0, end);
      rests.remove_prefix(std::min(end + 1, rests.size()));
      size_t colon = item.rfind(':');
      if (colon == std::string_view::npos || colon == 0) {
        throw std::runtime_error("expected REST:COUNT, not " + std::string(item));
      }
      std::string rest = ToGbk(item.substr(0, colon));
      if (!known.contains(r.key + rest)) {
        throw std::runtime_error("KEY+REST is not a phrase: " + std::string(f[1]) +
                                 std::string(item.substr(0, colon)));
      }
      unsigned count = std::min(ParseNumber(item.substr(colon + 1), 0xFFFFFFFE), 0xFFFFu);
      r.continuations.emplace_back(std::move(rest), static_cast<std::uint16_t>(count));
    }
    if (r.continuations.empty()) throw std::runtime_error("no continuation");
    records.push_back(std::move(r));
  });
  return records;
}

}  // namespace tvime
