#include "base/secure_desktop.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

TEST(SecureDesktop, ItsThreeProgramsWhateverTheirPathAndCase) {
  EXPECT_TRUE(IsSecureDesktopProgram("C:\\Windows\\System32\\WINLOGON.EXE"));
  EXPECT_TRUE(IsSecureDesktopProgram("c:\\windows\\system32\\LogonUI.exe"));
  EXPECT_TRUE(IsSecureDesktopProgram("C:/Windows/System32/consent.exe"));
  EXPECT_TRUE(IsSecureDesktopProgram("consent.exe"));
  // Names that merely contain or resemble one, and ordinary programs, are not.
  EXPECT_FALSE(IsSecureDesktopProgram("C:\\Windows\\notepad.exe"));
  EXPECT_FALSE(IsSecureDesktopProgram("C:\\Tools\\mywinlogon.exe"));
  EXPECT_FALSE(IsSecureDesktopProgram("C:\\winlogon.exe\\app.exe"));
  EXPECT_FALSE(IsSecureDesktopProgram("logonui"));
  EXPECT_FALSE(IsSecureDesktopProgram(""));
}

TEST(SecureDesktop, TheWinlogonDesktopOnly) {
  EXPECT_TRUE(IsSecureDesktopName("Winlogon"));
  EXPECT_TRUE(IsSecureDesktopName("WINLOGON"));
  EXPECT_FALSE(IsSecureDesktopName("Default"));
  EXPECT_FALSE(IsSecureDesktopName("Winlogon2"));
  EXPECT_FALSE(IsSecureDesktopName(""));
}

}  // namespace
}  // namespace tvime
