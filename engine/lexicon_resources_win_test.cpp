// The dictionaries as the input method finds them: RCDATA resources of a built DLL, looked up
// with FindResource. Their search results must be those of the host build.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "base/module_resources_win.h"
#include "engine/lexicon.h"
#include "tools/query/candidate_listing.h"

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

struct Block {
  std::string query;
  bool big;
  std::string listing;
};

// Blocks of "== QUERY SET" followed by the host's listing.
std::vector<Block> ReadExpectations(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<Block> blocks;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("== ", 0) == 0) {
      size_t space = line.rfind(' ');
      blocks.push_back({line.substr(3, space - 3), line.substr(space + 1) == "big", ""});
    } else if (!blocks.empty()) {
      blocks.back().listing += line + "\n";
    }
  }
  return blocks;
}

TEST_F(DictionaryDll, GivesTheSameStrokeResultsAsTheHost) {
  // Drive Z: is the Unix root in a Wine prefix.
  std::vector<Block> blocks =
      ReadExpectations(std::string("Z:") + TVIME_DICT_DIR + "/stroke-expectations.txt");
  ASSERT_GT(blocks.size(), 10u);

  MemorySettingsStore store;
  Settings settings(store);
  ConversionFlags flags(settings);
  ModuleResources resources(dll);
  Lexicon lexicon(settings, flags, nullptr);
  lexicon.Initialize(&resources);
  ASSERT_EQ(lexicon.chars.count, 20924u);
  for (const Block& block : blocks) {
    flags.Assign(static_cast<std::uint16_t>(block.big ? CS_BIG_CHARSET : 0));
    std::ostringstream listing;
    ListStrokeCandidates(lexicon, block.query, listing);
    EXPECT_EQ(listing.str(), block.listing) << "query '" << block.query << "'";
  }
}

TEST_F(DictionaryDll, UserWordsLiveInThePerUserDirectory) {
  MemorySettingsStore store;
  Settings settings(store);
  ConversionFlags flags(settings);
  ModuleResources resources(dll);
  std::string path = UserDataPath(kUserWordFileName);
  DeleteFileA(path.c_str());

  Lexicon lexicon(settings, flags, UserDataPath);
  lexicon.Initialize(&resources);
  EXPECT_TRUE(lexicon.userWords.empty());
  ASSERT_TRUE(lexicon.AddUserWord("\xB2\xE2\xCA\xD4\xB4\xCA"));  // 测试词
  ASSERT_TRUE(lexicon.SaveUserWords());

  Lexicon restarted(settings, flags, UserDataPath);
  restarted.Initialize(&resources);
  EXPECT_EQ(restarted.userWords, std::vector<std::string>{"\xB2\xE2\xCA\xD4\xB4\xCA"});
  DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace tvime
