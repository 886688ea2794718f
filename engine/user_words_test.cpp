#include "engine/user_words.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

using Words = std::vector<std::string>;

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteRaw(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(WordFile, LinesEndAtLineFeedsAndLoseTheirCarriageReturn) {
  EXPECT_EQ(ParseWordFile("ab\r\ncd\r\n"), (Words{"ab", "cd"}));
  EXPECT_EQ(ParseWordFile("ab\ncd"), (Words{"ab", "cd"}));  // the last line needs no line end
  EXPECT_EQ(ParseWordFile("ab\r\n\r\n\n\ncd\r\n"), (Words{"ab", "cd"}));  // empty lines skipped
  // A word is taken verbatim: no trimming, a CR inside a line stays.
  EXPECT_EQ(ParseWordFile(" ab \r\nc\rd\n"), (Words{" ab ", "c\rd"}));
  EXPECT_EQ(ParseWordFile(""), Words{});
  EXPECT_EQ(ParseWordFile("\xD6\xD0\xB9\xFA\r\n\xD6\xD0\xB9\xFA\n"),
            (Words{"\xD6\xD0\xB9\xFA", "\xD6\xD0\xB9\xFA"}));  // duplicates are kept
}

TEST(WordFile, WritesEveryWordWithCrLfAndNeverAnEmptyLine) {
  EXPECT_EQ(FormatWordFile({"ab", "", "cd"}), "ab\r\ncd\r\n");
  EXPECT_EQ(FormatWordFile({}), "");
}

TEST(WordFile, RoundTripsThroughTheFile) {
  testing::TempDir dir;
  std::string path = dir.File("tvimeusr.txt");
  Words words = {"\xD6\xD0\xB9\xFA", "\xC8\xCB\xC3\xF1", "ab"};
  ASSERT_TRUE(WriteWordFile(path, words));
  EXPECT_EQ(Contents(path), "\xD6\xD0\xB9\xFA\r\n\xC8\xCB\xC3\xF1\r\nab\r\n");
  Words read = {"stale"};
  EXPECT_TRUE(ReadWordFile(path, read));
  EXPECT_EQ(read, words);
}

TEST(WordFile, AnUnreadableFileGivesAnEmptyList) {
  testing::TempDir dir;
  Words read = {"stale"};
  EXPECT_TRUE(ReadWordFile(dir.File("missing.txt"), read));
  EXPECT_TRUE(read.empty());
}

TEST(WordFile, RewriteReplacesTheOldFileWholeAndLeavesNoTemporaryFile) {
  testing::TempDir dir;
  std::string path = dir.File("tvimeusr.txt");
  WriteRaw(path, "old\r\nwords\r\nthat are longer\r\n");
  ASSERT_TRUE(WriteWordFile(path, {"new"}));
  EXPECT_EQ(Contents(path), "new\r\n");
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(WordFile, AFileThatCannotBeWrittenIsReportedAndUntouched) {
  testing::TempDir dir;
  EXPECT_FALSE(WriteWordFile(dir.File("no-such-dir/tvimeusr.txt"), {"ab"}));
  EXPECT_EQ(dir.EntryCount(), 0u);
}

}  // namespace
}  // namespace tvime
