// The update agent's file swap and version reading against Windows' file functions (Wine).

#include "update/file_swap_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "base/file_io.h"
#include "tests/support/file_contents.h"
#include "tests/support/program_folder_win.h"
#include "tests/support/temp_dir.h"
#include "update/update_rules.h"

namespace tvime {
namespace {

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(FileSwap, TheNewFileTakesThePlaceAndNoBackupStays) {
  testing::TempDir dir;
  std::string target = dir.File("tvimedic.exe"), download = dir.File("tvi1234.tmp");
  std::ofstream(target, std::ios::binary) << "old";
  std::ofstream(download, std::ios::binary) << "new";
  std::ofstream(target + ".b00", std::ios::binary) << "a stale backup";
  ASSERT_TRUE(replaceFile(target, download));
  EXPECT_EQ(testing::FileContents(target), "new");
  EXPECT_FALSE(Exists(download));
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(FileSwap, ABackupNameInUseIsPassedOver) {
  testing::TempDir dir;
  std::string target = dir.File("tvime30.ime"), download = dir.File("new.tmp");
  std::ofstream(target, std::ios::binary) << "old";
  std::ofstream(download, std::ios::binary) << "new";
  std::ofstream(target + ".b00", std::ios::binary) << "held";
  // Another program holds the first backup name open: it can be neither deleted nor replaced.
  HANDLE held = CreateFileA((target + ".b00").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(replaceFile(target, download));
  CloseHandle(held);
  EXPECT_EQ(testing::FileContents(target), "new");
  EXPECT_EQ(testing::FileContents(target + ".b00"), "held");
  EXPECT_FALSE(Exists(target + ".b01"));
}

TEST(FileSwap, AFailedSwapLeavesTheInstalledFileInPlace) {
  testing::TempDir dir;
  std::string target = dir.File("tvimegui.exe");
  std::ofstream(target, std::ios::binary) << "installed";
  EXPECT_FALSE(replaceFile(target, dir.File("no such download.tmp")));
  EXPECT_EQ(testing::FileContents(target), "installed");
  EXPECT_EQ(dir.EntryCount(), 1u);
  // Nothing to move aside: nothing happens.
  EXPECT_FALSE(replaceFile(dir.File("not installed.exe"), target));
  EXPECT_EQ(testing::FileContents(target), "installed");
}

TEST(FileVersionString, TwoNumbersWhenTheLastTwoAreZeroAndNothingWithoutAVersion) {
  EXPECT_EQ(fileVersionString(testing::ProgramFolder() + "tvime30.ime"), "3.1");
  EXPECT_EQ(fileVersionString(testing::ProgramFolder() + "tvimedic.exe"), "1.0");
  EXPECT_EQ(fileVersionString(testing::ProgramFolder() + "update_win_tests.exe"),
            "");  // no resource
  EXPECT_EQ(fileVersionString(testing::ProgramFolder() + "no such file.exe"), "");
  // The publish tool reads the bytes itself, and finds the same.
  for (const char* program : {"tvime30.ime", "tvimedic.exe", "tvimegui.exe"}) {
    auto bytes = ReadWholeFile(testing::ProgramFolder() + program);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(VersionOfProgramBytes(
                  std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size())),
              fileVersionString(testing::ProgramFolder() + program))
        << program;
  }
}

}  // namespace
}  // namespace tvime
