#include "install/installer_command.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

using Words = std::vector<std::string>;

TEST(InstallerCommandTest, EverySingleBlankOrTabEndsAWord) {
  EXPECT_EQ(SplitInstallerWords(""), Words{});
  EXPECT_EQ(SplitInstallerWords("uninstall"), Words{"uninstall"});
  EXPECT_EQ(SplitInstallerWords("a\tb c"), (Words{"a", "b", "c"}));
  EXPECT_EQ(SplitInstallerWords("uninstall  x.ime"), (Words{"uninstall", "", "x.ime"}));
  EXPECT_EQ(SplitInstallerWords("a "), (Words{"a", ""}));
}

TEST(InstallerCommandTest, NoArgumentsInstallTheModuleUnderTheDefaultName) {
  InstallerCommand command = ParseInstallerCommand("");
  EXPECT_FALSE(command.uninstall);
  EXPECT_EQ(command.moduleFile, "tvime30.ime");
  EXPECT_EQ(command.layoutText, "中文-沃岚鼠标输入法3.1");
}

TEST(InstallerCommandTest, OnlyTheExactLowerCaseWordUninstalls) {
  EXPECT_TRUE(ParseInstallerCommand("uninstall").uninstall);
  EXPECT_FALSE(ParseInstallerCommand("UNINSTALL").uninstall);
  EXPECT_FALSE(ParseInstallerCommand("Uninstall").uninstall);
  EXPECT_FALSE(ParseInstallerCommand("install").uninstall);
  EXPECT_FALSE(ParseInstallerCommand(" uninstall").uninstall);
}

TEST(InstallerCommandTest, AnEmptySecondWordKeepsTheDefaultModule) {
  InstallerCommand command = ParseInstallerCommand("uninstall  other.ime");
  EXPECT_TRUE(command.uninstall);
  EXPECT_EQ(command.moduleFile, "tvime30.ime");
  EXPECT_EQ(command.layoutText, "other.ime");  // the third word; uninstalling ignores it
}

TEST(InstallerCommandTest, FullPathsAndLayoutTextsAreTakenAsGiven) {
  InstallerCommand command = ParseInstallerCommand("install C:\\ime\\my.ime 中文-试验");
  EXPECT_FALSE(command.uninstall);
  EXPECT_EQ(command.moduleFile, "C:\\ime\\my.ime");
  EXPECT_EQ(command.layoutText, "中文-试验");
}

TEST(InstallerCommandTest, TsfRegistersTheTextServiceAndUninstallTsfRemovesIt) {
  InstallerCommand command = ParseInstallerCommand("tsf");
  EXPECT_TRUE(command.textService);
  EXPECT_FALSE(command.uninstall);
  EXPECT_EQ(command.moduleFile, "tvimetsf.dll");

  command = ParseInstallerCommand("uninstall-tsf C:\\tvime\\tvimetsf.dll");
  EXPECT_TRUE(command.textService);
  EXPECT_TRUE(command.uninstall);
  EXPECT_EQ(command.moduleFile, "C:\\tvime\\tvimetsf.dll");

  // The module's actions leave the text service alone, and the words are compared with case.
  EXPECT_FALSE(ParseInstallerCommand("").textService);
  EXPECT_FALSE(ParseInstallerCommand("uninstall").textService);
  EXPECT_FALSE(ParseInstallerCommand("TSF").textService);
  EXPECT_EQ(ParseInstallerCommand("TSF").moduleFile, "tvime30.ime");
}

}  // namespace
}  // namespace tvime
