// The dictionaries as the input method finds them: RCDATA resources of a built DLL, looked up
// with FindResource. Their answers must be those of the host build.

#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <sstream>

#include "base/module_resources_win.h"
#include "base/user_data_path_win.h"
#include "engine/lexicon.h"
#include "engine/pinyin_input.h"
#include "tests/support/file_contents.h"
#include "tools/query/query_commands.h"

namespace tvime {
namespace {

class DictionaryDll : public ::testing::Test {
 protected:
  void SetUp() override {
    dll = LoadLibraryA("tvime-testdict.dll");
    ASSERT_TRUE(dll) << "tvime-testdict.dll not found next to the test";
  }
  void TearDown() override {
    if (dll) FreeLibrary(dll);
  }
  HMODULE dll = nullptr;
};

TEST_F(DictionaryDll, FindsResourcesByTheirLowerCaseNames) {
  ModuleResources resources(dll);
  auto words = resources.FindData("words.bin");
  ASSERT_TRUE(words);
  EXPECT_GT(words->size(), 100000u);
  EXPECT_TRUE(resources.FindData("WORDS.BIN"));
  EXPECT_FALSE(resources.FindData("nothing.bin"));
}

// Answers split at their "== QUESTION" headings.
std::map<std::string, std::string> ByQuestion(const std::string& answers) {
  std::map<std::string, std::string> blocks;
  std::istringstream lines(answers);
  std::string line, question;
  while (std::getline(lines, line)) {
    if (line.rfind("== ", 0) == 0) {
      question = line;
      blocks[question];
    } else {
      blocks[question] += line + "\n";
    }
  }
  return blocks;
}

TEST_F(DictionaryDll, AnswersTheSameQuestionsAsTheHost) {
  // Drive Z: is the Unix root in a Wine prefix.
  std::string questions = testing::FileContents(std::string("Z:") + TVIME_SOURCE_DIR +
                                                "/tests/win/dictionary_queries.txt");
  std::map<std::string, std::string> expected = ByQuestion(
      testing::FileContents(std::string("Z:") + TVIME_DICT_DIR + "/query-expectations.txt"));
  ASSERT_GT(expected.size(), 20u);

  ModuleResources resources(dll);
  Lexicon lexicon(nullptr);
  lexicon.Initialize(&resources);
  ASSERT_EQ(lexicon.characters().count, 20924u);
  PinyinInput pinyin(lexicon);
  ASSERT_TRUE(pinyin.LoadPinyinTable(&resources));
  QueryEngine engine{lexicon, pinyin};

  std::ostringstream answers;
  EXPECT_TRUE(RunQueryBatch(engine, questions, answers));
  std::map<std::string, std::string> actual = ByQuestion(answers.str());
  EXPECT_EQ(actual.size(), expected.size());
  for (const auto& [question, answer] : expected) {
    EXPECT_EQ(actual[question], answer) << question;
  }
}

TEST_F(DictionaryDll, UserWordsLiveInThePerUserDirectory) {
  ModuleResources resources(dll);
  std::string path = UserDataPath(kUserWordFileName);
  DeleteFileA(path.c_str());

  Lexicon lexicon(UserDataPath);
  lexicon.Initialize(&resources);
  EXPECT_TRUE(lexicon.userWords().empty());
  ASSERT_TRUE(lexicon.AddUserWord("\xB2\xE2\xCA\xD4\xB4\xCA"));  // 测试词
  ASSERT_TRUE(lexicon.SaveUserWords());

  Lexicon restarted(UserDataPath);
  restarted.Initialize(&resources);
  EXPECT_EQ(restarted.userWords(), std::vector<std::string>{"\xB2\xE2\xCA\xD4\xB4\xCA"});
  DeleteFileA(path.c_str());
}

// Every process that loads the input method holds its own lexicon: it must stay small.
TEST_F(DictionaryDll, TheLoadedLexiconTakesLessThan12MegabytesOfPrivateMemory) {
  // The commit charge (PagefileUsage) is the process's private memory; Wine does not fill the
  // PrivateUsage field that mirrors it on Windows.
  auto privateBytes = [] {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PagefileUsage);
  };
  double before = privateBytes();
  {
    ModuleResources resources(dll);
    Lexicon lexicon(nullptr);
    lexicon.Initialize(&resources);
    PinyinInput pinyin(lexicon);
    pinyin.LoadPinyinTable(&resources);
    double megabytes = (privateBytes() - before) / (1024 * 1024);
    std::cout << "private memory of the loaded lexicon: " << megabytes << " MB\n";
    EXPECT_LT(megabytes, 12.0);
  }
}

}  // namespace
}  // namespace tvime
