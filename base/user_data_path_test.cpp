#include "base/user_data_path.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

TEST(UserDataDirectory, AppendsTheProgramFolderWithExactlyOneBackslash) {
  EXPECT_EQ(UserDataDirectoryIn("C:\\Users\\u\\AppData\\Roaming"),
            "C:\\Users\\u\\AppData\\Roaming\\tvime\\");
  EXPECT_EQ(UserDataDirectoryIn("C:\\Data\\"), "C:\\Data\\tvime\\");
  EXPECT_EQ(UserDataDirectoryIn(""), "\\tvime\\");
}

}  // namespace
}  // namespace tvime
