// The per-user data directory on Windows.

#include <shlobj.h>
#include <shlwapi.h>
#include <windows.h>

#include <gtest/gtest.h>

#include "base/user_data_path_win.h"

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
  // Other tests of this prefix leave the user's files there (the words, the news feed).
  for (const char* name : {"tvimeusr.txt", "netads.txt", "netads.txt.download"}) {
    DeleteFileA((directory + name).c_str());
  }
  RemoveDirectoryA(directory.c_str());
  ASSERT_FALSE(PathFileExistsA(directory.c_str()));

  EXPECT_EQ(UserDataPath("tvimeusr.txt"), file);
  EXPECT_TRUE(PathIsDirectoryA(directory.c_str()));
  EXPECT_EQ(UserDataPath("netads.txt"), directory + "netads.txt");  // an existing one is kept
}

}  // namespace
}  // namespace tvime
