// The per-user data directory and the user word file on Windows.

#include <shlobj.h>
#include <shlwapi.h>
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/user_words.h"

namespace tvime {
namespace {

std::string AppDataFolder() {
  char folder[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, folder, CSIDL_APPDATA, TRUE);
  return folder;
}

TEST(UserDataPath, CreatesTheDirectoryUnderApplicationData) {
  std::string directory = AppDataFolder() + "\\tvime\\";
  std::string file = directory + "tvimeusr.txt";
  DeleteFileA(file.c_str());
  RemoveDirectoryA(directory.c_str());
  ASSERT_FALSE(PathFileExistsA(directory.c_str()));

  EXPECT_EQ(UserDataPath("tvimeusr.txt"), file);
  EXPECT_TRUE(PathIsDirectoryA(directory.c_str()));
  EXPECT_EQ(UserDataPath("netads.txt"), directory + "netads.txt");  // an existing one is kept
}

TEST(UserDataPath, HoldsTheUserWordFile) {
  std::string path = UserDataPath(kUserWordFileName);
  std::vector<std::string> words = {"\xD6\xD0\xB9\xFA\xC8\xCB", "ab"};
  ASSERT_TRUE(WriteWordFile(path, words));
  std::vector<std::string> read;
  ReadWordFile(path, read);
  EXPECT_EQ(read, words);
  DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace tvime
