#include "base/program_location.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

using Paths = std::vector<std::string>;

TEST(ProgramLocation, OnlyDrivePathsAndSharesAreAbsolute) {
  EXPECT_TRUE(IsAbsoluteWindowsPath("C:\\Program Files\\Tavrin\\tvime\\"));
  EXPECT_TRUE(IsAbsoluteWindowsPath("d:/tools"));
  EXPECT_TRUE(IsAbsoluteWindowsPath("\\\\server\\share\\tvime"));
  // Relative to the current directory or drive, and empty: each would find a planted program.
  for (const char* relative : {"", ".", ".\\", "tvime\\", "C:tvime", "\\tvime", "\\\\\\x", "C:"}) {
    EXPECT_FALSE(IsAbsoluteWindowsPath(relative)) << relative;
  }
}

TEST(ProgramLocation, TheInstallationFirstThenTheModulesFolderAndNeverTheCurrentOne) {
  EXPECT_EQ(ProgramCandidates("tvimedic.exe", "C:\\Program Files\\Tavrin\\tvime\\",
                              "C:\\Windows\\system32"),
            (Paths{"C:\\Program Files\\Tavrin\\tvime\\tvimedic.exe",
                   "C:\\Windows\\system32\\tvimedic.exe"}));
  // No installation recorded, or a relative one: only the module's folder.
  EXPECT_EQ(ProgramCandidates("tvimedic.exe", "", "C:\\Windows\\system32\\"),
            Paths{"C:\\Windows\\system32\\tvimedic.exe"});
  EXPECT_EQ(ProgramCandidates("tvimedic.exe", ".\\", ""), Paths{});
}

}  // namespace
}  // namespace tvime
