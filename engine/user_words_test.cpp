#include "engine/user_words.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/file_contents.h"
#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

using Words = std::vector<std::string>;

void WriteRaw(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A directory of its own, and the user word file's place in it.
class WordFile : public ::testing::Test {
 protected:
  testing::TempDir dir;
  std::string path = dir.File("tvimeusr.txt");
};
using WordFileMerge = WordFile;
using WordFileEditedSave = WordFile;

TEST_F(WordFile, LinesEndAtLineFeedsAndLoseTheirCarriageReturnWhichWritingPutsBack) {
  EXPECT_EQ(ParseWordFile("ab\r\ncd\r\n"), (Words{"ab", "cd"}));
  EXPECT_EQ(ParseWordFile("ab\ncd"), (Words{"ab", "cd"}));  // the last line needs no line end
  EXPECT_EQ(ParseWordFile("ab\r\n\r\n\n\ncd\r\n"), (Words{"ab", "cd"}));  // empty lines skipped
  // A word is taken verbatim: no trimming, a CR inside a line stays.
  EXPECT_EQ(ParseWordFile(" ab \r\nc\rd\n"), (Words{" ab ", "c\rd"}));
  EXPECT_EQ(ParseWordFile(""), Words{});
  EXPECT_EQ(ParseWordFile("\xD6\xD0\xB9\xFA\r\n\xD6\xD0\xB9\xFA\n"),
            (Words{"\xD6\xD0\xB9\xFA", "\xD6\xD0\xB9\xFA"}));  // duplicates are kept
  // Written back, every word ends with CR LF and no line is empty.
  EXPECT_EQ(FormatWordFile({"ab", "", "cd"}), "ab\r\ncd\r\n");
  EXPECT_EQ(FormatWordFile({}), "");
}

TEST_F(WordFile, RoundTripsThroughTheFileAndAMissingOneIsEmpty) {
  Words words = {"\xD6\xD0\xB9\xFA", "\xC8\xCB\xC3\xF1", "ab"};
  ASSERT_TRUE(WriteWordFile(path, words));
  EXPECT_EQ(testing::FileContents(path), "\xD6\xD0\xB9\xFA\r\n\xC8\xCB\xC3\xF1\r\nab\r\n");
  Words read = {"stale"};
  EXPECT_TRUE(ReadWordFile(path, read));
  EXPECT_EQ(read, words);
  // A missing file reads as an empty list.
  EXPECT_TRUE(ReadWordFile(dir.File("missing.txt"), read));
  EXPECT_TRUE(read.empty());
}

TEST_F(WordFile, RewritingReplacesTheFileWholeAndLeavesNoOtherFileEvenWhenItFails) {
  WriteRaw(path, "old\r\nwords\r\nthat are longer\r\n");
  ASSERT_TRUE(WriteWordFile(path, {"new"}));
  EXPECT_EQ(testing::FileContents(path), "new\r\n");
  EXPECT_EQ(dir.EntryCount(), 1u);
  EXPECT_FALSE(WriteWordFile(dir.File("no-such-dir/tvimeusr.txt"), {"ab"}));
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST_F(WordFileMerge, AppendsOnlyTheMissingAddedWordsToWhatIsOnDiskNow) {
  // Another process has reordered and removed words since this one read the file.
  WriteRaw(path, "cd\r\nab\r\n");
  Words merged = {"stale"};
  ASSERT_TRUE(MergeIntoWordFile(path, {"ef", "ab", "", "ef", "gh"}, merged, nullptr));
  EXPECT_EQ(merged, (Words{"cd", "ab", "ef", "gh"}));
  EXPECT_EQ(testing::FileContents(path), "cd\r\nab\r\nef\r\ngh\r\n");
  // No file yet: the added words are the file.
  std::string fresh = dir.File("fresh.txt");
  ASSERT_TRUE(MergeIntoWordFile(fresh, {"xy"}, merged, nullptr));
  EXPECT_EQ(testing::FileContents(fresh), "xy\r\n");
}

TEST_F(WordFileMerge, AFileThatIsThereButUnreadableIsNeverOverwritten) {
  // A directory where the file should be: it exists and cannot be read as words.
  std::filesystem::create_directory(path);
  std::filesystem::create_directory(dir.File("tvimeusr.txt/kept"));
  Words merged = {"unchanged"};
  EXPECT_FALSE(MergeIntoWordFile(path, {"ab"}, merged, nullptr));
  EXPECT_EQ(merged, Words{"unchanged"});
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("tvimeusr.txt/kept")));
}

TEST_F(WordFileEditedSave, TheEditsWinAndWordsAddedElsewhereMeanwhileAreKept) {
  WriteRaw(path, "ab\r\ncd\r\nef\r\n");
  Words loaded = {"ab", "cd", "ef"};
  // The manager removed cd and moved ef up; meanwhile an application added xy.
  WriteRaw(path, "ab\r\ncd\r\nef\r\nxy\r\n");
  ASSERT_TRUE(SaveEditedWordFile(path, loaded, {"ef", "ab", "new"}, nullptr));
  EXPECT_EQ(testing::FileContents(path), "ef\r\nab\r\nnew\r\nxy\r\n");
  EXPECT_EQ(loaded, (Words{"ef", "ab", "new", "xy"}));
  // A word removed in the manager that the file still holds stays removed.
  ASSERT_TRUE(SaveEditedWordFile(path, loaded, {"ab"}, nullptr));
  EXPECT_EQ(testing::FileContents(path), "ab\r\n");
  // An unreadable file is not overwritten and the loaded list stays.
  std::filesystem::remove(path);
  std::filesystem::create_directories(path + "/inner");
  EXPECT_FALSE(SaveEditedWordFile(path, loaded, {"zz"}, nullptr));
  EXPECT_EQ(loaded, Words{"ab"});
}

int g_locksTaken = 0;
int g_locksHeld = 0;
struct CountingLock : FileSaveLock {
  CountingLock() { ++g_locksHeld; }
  ~CountingLock() override { --g_locksHeld; }
};

TEST_F(WordFileMerge, ReadsAndWritesUnderTheSaveLock) {
  g_locksTaken = g_locksHeld = 0;
  FileSaveLocker locker = [](const std::string&) -> std::unique_ptr<FileSaveLock> {
    ++g_locksTaken;
    return std::make_unique<CountingLock>();
  };
  Words merged;
  ASSERT_TRUE(MergeIntoWordFile(path, {"ab"}, merged, locker));
  EXPECT_EQ(g_locksTaken, 1);
  EXPECT_EQ(g_locksHeld, 0);  // released again
  // A lock that cannot be had does not cost the user the word.
  FileSaveLocker failing = [](const std::string&) -> std::unique_ptr<FileSaveLock> {
    return nullptr;
  };
  ASSERT_TRUE(MergeIntoWordFile(path, {"cd"}, merged, failing));
  EXPECT_EQ(merged, (Words{"ab", "cd"}));
}

}  // namespace
}  // namespace tvime
