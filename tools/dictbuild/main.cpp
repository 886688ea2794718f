// tvime-dictbuild: compiles the text tables under data/ into the dictionary resources.
//
//   tvime-dictbuild words TABLE.txt OUT.bin    the character dictionary, scrambled (block cipher)

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "engine/scramble.h"
#include "tools/dictbuild/dictionary_builder.h"

namespace {

std::string ReadText(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(std::string("cannot read ") + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteBytes(const char* path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error(std::string("cannot write ") + path);
}

int Usage() {
  std::cerr << "usage: tvime-dictbuild words TABLE.txt OUT.bin\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return Usage();
  std::string command = argv[1];
  try {
    if (command == "words") {
      std::vector<tvime::CharRecord> records = tvime::ParseCharacterTable(ReadText(argv[2]));
      std::vector<std::uint8_t> bin = tvime::BuildCharacterDictionary(records);
      tvime::SealContainer(bin, tvime::SCRAMBLE_BLOCK);
      WriteBytes(argv[3], bin);
      return 0;
    }
    return Usage();
  } catch (const std::exception& error) {
    std::cerr << "tvime-dictbuild: " << argv[2] << ": " << error.what() << "\n";
    std::remove(argv[3]);
    return 1;
  }
}
