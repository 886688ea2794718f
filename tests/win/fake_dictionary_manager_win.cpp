// Stands in for the dictionary manager in the tests of the command that starts it: it marks the
// folder it was started from, adds a word to the word file that TVIME_FAKE_MANAGER_WORDS names,
// and stays a moment, as a user at work would.

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/user_words.h"
#include "tests/support/program_folder_win.h"

int main() {
  std::ofstream(tvime::testing::ProgramFolder() + "ran.txt") << "ran\n";
  if (const char* words = std::getenv("TVIME_FAKE_MANAGER_WORDS")) {
    std::vector<std::string> merged;
    tvime::MergeIntoWordFile(words, {"\xB9\xDC\xC0\xED\xC6\xF7"}, merged, nullptr);  // 管理器
  }
  Sleep(700);
  return 0;
}
