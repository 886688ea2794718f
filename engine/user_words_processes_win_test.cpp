// Two processes that loaded the user words before either added one, saving word after word at
// the same time: every word of both ends up in the file once. The test runs two copies of its own
// program, each running only the disabled worker test below.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "base/file_save_lock_win.h"
#include "engine/lexicon.h"
#include "tests/support/program_folder_win.h"
#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

constexpr int kWordsPerProcess = 25;
constexpr char kDirVariable[] = "TVIME_WORDS_DIR";
constexpr char kTagVariable[] = "TVIME_WORDS_TAG";

std::string WordOf(const std::string& tag, int number) {
  return tag + "-" + std::to_string(number);
}

// Run in a child process only (the parent names the directory and the words' tag).
TEST(UserWordsAcrossProcesses, DISABLED_Worker) {
  const char* dir = std::getenv(kDirVariable);
  const char* tag = std::getenv(kTagVariable);
  ASSERT_TRUE(dir && tag);
  Lexicon lexicon(
      [&](std::string_view name) { return std::string(dir) + "\\" + std::string(name); });
  lexicon.SetSaveLocker(LockFileSaves);
  ASSERT_TRUE(lexicon.LoadUserWords());
  for (int n = 0; n < kWordsPerProcess; ++n) {
    ASSERT_TRUE(lexicon.AddUserWord(WordOf(tag, n)));
    ASSERT_TRUE(lexicon.SaveUserWords());
    Sleep(static_cast<DWORD>(std::rand() % 3));
  }
}

HANDLE StartWorker(const std::string& dir, const std::string& tag) {
  SetEnvironmentVariableA(kDirVariable, dir.c_str());
  SetEnvironmentVariableA(kTagVariable, tag.c_str());
  return testing::StartOwnTest("UserWordsAcrossProcesses.DISABLED_Worker");
}

TEST(UserWordsAcrossProcesses, TwoProcessesSavingAtOnceLoseNoWord) {
  testing::TempDir dir;
  ASSERT_TRUE(WriteWordFile(dir.File(kUserWordFileName), {"earlier"}));
  HANDLE first = StartWorker(dir.path().string(), "first");
  HANDLE second = StartWorker(dir.path().string(), "second");
  ASSERT_TRUE(first && second);
  EXPECT_EQ(testing::ExitCodeOf(first), 0u);
  EXPECT_EQ(testing::ExitCodeOf(second), 0u);
  std::vector<std::string> words;
  ReadWordFile(dir.File(kUserWordFileName), words);
  EXPECT_EQ(words.size(), 1u + 2 * kWordsPerProcess);
  EXPECT_EQ(words.front(), "earlier");
  for (const char* tag : {"first", "second"}) {
    for (int n = 0; n < kWordsPerProcess; ++n) {
      EXPECT_EQ(std::count(words.begin(), words.end(), WordOf(tag, n)), 1) << WordOf(tag, n);
    }
  }
}

TEST(UserWordsAcrossProcesses, OneFileOneLockWhateverTheSpellingOfItsPath) {
  EXPECT_EQ(FileSaveMutexName("C:\\Users\\a\\tvimeusr.txt"),
            FileSaveMutexName("c:/users/A/TVIMEUSR.TXT"));
  EXPECT_NE(FileSaveMutexName("C:\\Users\\a\\tvimeusr.txt"),
            FileSaveMutexName("C:\\Users\\b\\tvimeusr.txt"));
  EXPECT_EQ(FileSaveMutexName("x").find(L'\\'), std::wstring::npos);  // a name, not a path
}

}  // namespace
}  // namespace tvime
