// The user word file: whatever is read back is written and read again unchanged, and adding
// words never accepts one that would not survive that round trip.

#include <string>

#include "engine/lexicon.h"
#include "engine/user_words.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  std::string_view contents(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> words = tvime::ParseWordFile(contents);
  for (const std::string& word : words) {
    if (word.empty() || word.find('\n') != std::string::npos) __builtin_trap();
  }
  if (tvime::ParseWordFile(tvime::FormatWordFile(words)) != words) __builtin_trap();

  tvime::Lexicon lexicon(nullptr);
  for (const std::string& word : tvime::ParseWordFile(contents)) lexicon.AddUserWord(word);
  lexicon.AddUserWord(contents);
  if (tvime::ParseWordFile(tvime::FormatWordFile(lexicon.userWords())) != lexicon.userWords()) {
    __builtin_trap();
  }
  return 0;
}
