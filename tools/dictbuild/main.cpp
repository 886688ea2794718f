// tvime-dictbuild: compiles the text tables under data/ into the dictionary resources.
//
//   tvime-dictbuild words WORDS.txt OUT.bin             characters ("words.bin", block cipher)
//   tvime-dictbuild phrases PHRASES.txt OUT.bin         phrases ("phrase.bin", XOR)
//   tvime-dictbuild nextword NEXT.txt PHRASES.txt OUT.bin  next-word model ("nextword.bin", XOR)
//   tvime-dictbuild pinyin PINYIN.txt WORDS.txt OUT.bin  syllable rows ("WDPINYIN.BIN", plain)
//   tvime-dictbuild radicals RADICALS.txt OUT.bin       radical list ("pianpang.bin", block cipher)
//   tvime-dictbuild groups GROUPS.txt OUT.bin           radical groups ("extra.bin", block cipher)
//   tvime-dictbuild datahash DICT_DIR OUT.bin           the hash of the scrambled dictionaries
//                                                       built into DICT_DIR ("datahash.bin")

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "engine/dictionary_image.h"
#include "engine/scramble.h"
#include "tools/dictbuild/data_tables.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<std::uint8_t> Sealed(std::vector<std::uint8_t> container, int kind) {
  tvime::SealContainer(container, kind);
  return container;
}

// Builds the resource a command names from its input tables; empty when the command is unknown.
std::vector<std::uint8_t> Build(const std::string& command, const std::vector<std::string>& in) {
  using namespace tvime;
  if (command == "words" && in.size() == 1) {
    return Sealed(BuildCharacterDictionary(ParseCharacterTable(ReadText(in[0]))), SCRAMBLE_BLOCK);
  }
  if (command == "phrases" && in.size() == 1) {
    return Sealed(BuildPhraseDictionary(ParsePhraseTable(ReadText(in[0]))), SCRAMBLE_XOR);
  }
  if (command == "nextword" && in.size() == 2) {
    std::vector<PhraseRecord> phrases = ParsePhraseTable(ReadText(in[1]));
    return Sealed(BuildNextWordModel(ParseNextWordTable(ReadText(in[0]), phrases)), SCRAMBLE_XOR);
  }
  if (command == "pinyin" && in.size() == 2) {
    std::vector<CharRecord> characters = ParseCharacterTable(ReadText(in[1]));
    return BuildPinyinTable(ParsePinyinTable(ReadText(in[0]), characters));
  }
  if (command == "radicals" && in.size() == 1) {
    return Sealed(Container(BuildPairList(ParseRadicalList(ReadText(in[0])))), SCRAMBLE_BLOCK);
  }
  if (command == "groups" && in.size() == 1) {
    return Sealed(BuildRadicalGroups(ParseRadicalGroups(ReadText(in[0]))), SCRAMBLE_BLOCK);
  }
  if (command == "datahash" && in.size() == 1) {
    std::uint64_t hash = ComputeDictionaryDataHash(DirectoryResources(in[0]));
    std::vector<std::uint8_t> bytes(8);
    for (size_t i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(hash >> (8 * i));
    return bytes;
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: tvime-dictbuild words|phrases|radicals|groups TABLE.txt OUT.bin\n"
                 "       tvime-dictbuild pinyin PINYIN.txt WORDS.txt OUT.bin\n"
                 "       tvime-dictbuild nextword NEXT.txt PHRASES.txt OUT.bin\n"
                 "       tvime-dictbuild datahash DICT_DIR OUT.bin\n";
    return 2;
  }
  std::string command = argv[1];
  std::vector<std::string> inputs(argv + 2, argv + argc - 1);
  std::string output = argv[argc - 1];
  try {
    std::vector<std::uint8_t> resource = Build(command, inputs);
    if (resource.empty()) {
      std::cerr << "tvime-dictbuild: unknown command or wrong number of tables: " << command
                << "\n";
      return 2;
    }
    WriteBytes(output, resource);
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "tvime-dictbuild " << command << ": " << error.what() << "\n";
    std::remove(output.c_str());
    return 1;
  }
}
