#include "base/file_io.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

std::string AsText(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(FileIo, ReplacesContentsLeavingOnlyTheFileAndAFailureKeepsTheOldFile) {
  testing::TempDir dir;
  std::string path = dir.File("a.txt");
  EXPECT_FALSE(ReadWholeFile(path));
  ASSERT_TRUE(ReplaceFileContents(path, "first version, longer"));
  ASSERT_TRUE(ReplaceFileContents(path, ""));
  EXPECT_EQ(AsText(*ReadWholeFile(path)), "");
  ASSERT_TRUE(ReplaceFileContents(path, "kept"));
  EXPECT_EQ(AsText(*ReadWholeFile(path)), "kept");
  EXPECT_EQ(dir.EntryCount(), 1u);
  // A directory in the way of the rename: nothing may be lost or left behind.
  std::filesystem::create_directory(dir.File("blocked"));
  std::filesystem::create_directory(dir.File("blocked/inner"));
  EXPECT_FALSE(ReplaceFileContents(dir.File("blocked"), "x"));
  EXPECT_EQ(AsText(*ReadWholeFile(path)), "kept");
  EXPECT_EQ(dir.EntryCount(), 2u);
}

TEST(FileIo, AMissingFileReadsAsEmptyOnlyWhenAskedAndAnUnreadableOneNever) {
  testing::TempDir dir;
  EXPECT_FALSE(ReadWholeFile(dir.File("missing")));
  ASSERT_TRUE(ReadFileIfPresent(dir.File("missing")));
  EXPECT_TRUE(ReadFileIfPresent(dir.File("missing"))->empty());
  std::filesystem::create_directory(dir.File("a directory"));
  EXPECT_FALSE(ReadFileIfPresent(dir.File("a directory")));
  ASSERT_TRUE(ReplaceFileContents(dir.File("a.txt"), "text"));
  EXPECT_EQ(AsText(*ReadFileIfPresent(dir.File("a.txt"))), "text");
}

}  // namespace
}  // namespace tvime
