// Writes a small corpus of well-formed inputs for each fuzzer, made by the dictionary builder:
//   tvime-fuzz-seeds DIR
// Each file is the fuzzer's input: one byte choosing the scramble kind, then the resource.

#include <filesystem>
#include <fstream>

#include "engine/test_lexicon.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void WriteFile(const std::filesystem::path& dir, const std::string& name, std::string_view bytes) {
  std::filesystem::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary) << bytes;
}

// A resource fuzzer's input: the scramble kind, then the sealed resource.
void WriteSeed(const std::filesystem::path& dir, const std::string& name, int kind, Bytes bytes) {
  bytes = tvime::testing::Sealed(std::move(bytes), kind);
  WriteFile(dir, name, static_cast<char>(kind) + std::string(bytes.begin(), bytes.end()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::filesystem::path root = argv[1];
  using tvime::testing::Char;
  std::vector<tvime::CharRecord> chars = {Char("一", "a", true, 900, "yī"),
                                          Char("中", "sgas", true, 990, "zhōng"),
                                          Char("丰", "aaas", false, 700)};
  for (int kind : {0, 1}) {
    WriteSeed(root / "character_dictionary", "words" + std::to_string(kind), kind,
              tvime::BuildCharacterDictionary(chars));
  }
  tvime::TextPairs radicals = {{"0", ""}, {"85", "ffa"}, {"9", "ds"}, {"64", "asa"}};
  WriteSeed(root / "pair_list", "radicals", 0, tvime::Container(tvime::BuildPairList(radicals)));
  WriteSeed(root / "radical_groups", "groups", 0,
            tvime::BuildRadicalGroups({{}, {{"\xD6\xD0", "as"}, {"85", "ffa"}}, radicals}));
  using tvime::testing::Phrase;
  WriteSeed(root / "phrase_dictionary", "phrases", 0,
            tvime::BuildPhraseDictionary(
                {Phrase("中国", "zhong guo"), Phrase("中国人", "zhong guo ren")}));
  std::vector<std::vector<std::uint16_t>> rows(tvime::kSyllableRowCount);
  rows[5] = {0, 1};
  rows[400] = {2};
  Bytes pinyin = tvime::BuildPinyinTable(rows);
  WriteFile(root / "pinyin_table", "rows", std::string(pinyin.begin(), pinyin.end()));
  // z h o n g ' g uo (initials below 0x80, finals with the high bit set)
  WriteFile(root / "pinyin_tokens", "zhongguo", "\x13\x05\x81\x0A\x04\x17\x04\x96");
  WriteFile(root / "word_file", "words", "\xD6\xD0\xB9\xFA\r\n\r\nab\nxy");
  return 0;
}
