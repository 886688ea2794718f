#include "base/resources.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

TEST(DirectoryResources, FindsFilesWithoutRegardToCase) {
  testing::TempDir dir;
  ASSERT_TRUE(ReplaceFileContents(dir.File("words.bin"), "abc"));
  DirectoryResources resources(dir.path().string());
  auto upper = resources.FindData("WORDS.BIN");
  ASSERT_TRUE(upper);
  EXPECT_EQ(upper->size(), 3u);
  EXPECT_EQ((*upper)[2], 'c');
  auto lower = resources.FindData("words.bin");
  ASSERT_TRUE(lower);
  EXPECT_EQ(lower->data(), upper->data());  // read once, then served from memory
  EXPECT_FALSE(resources.FindData("phrase.bin"));
  EXPECT_FALSE(DirectoryResources(dir.File("missing")).FindData("words.bin"));
}

TEST(MemoryResources, MatchesNamesWithoutRegardToCase) {
  MemoryResources resources;
  resources.Add("Extra.Bin", {1, 2});
  ASSERT_TRUE(resources.FindData("EXTRA.BIN"));
  EXPECT_EQ(resources.FindData("extra.bin")->size(), 2u);
  EXPECT_FALSE(resources.FindData("extra"));
}

}  // namespace
}  // namespace tvime
