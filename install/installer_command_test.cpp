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

// Every field of the command each line gives: the words are compared with case, a second word
// names the module (an empty one keeps the default) and a third the layout text.
TEST(InstallerCommandTest, TheWordsChooseTheActionTheModuleAndTheLayoutText) {
  struct Case {
    const char* line;
    bool uninstall, textService;
    const char* moduleFile;
    const char* layoutText;
  };
  const char* kModule = "tvime30.ime";
  const char* kLayout = "中文-沃岚鼠标输入法3.1";
  const Case cases[] = {
      {"", false, false, kModule, kLayout},
      {"uninstall", true, false, kModule, kLayout},
      {"UNINSTALL", false, false, kModule, kLayout},
      {"Uninstall", false, false, kModule, kLayout},
      {"install", false, false, kModule, kLayout},
      {" uninstall", false, false, "uninstall", kLayout},           // the second of the words
      {"uninstall  other.ime", true, false, kModule, "other.ime"},  // uninstalling ignores it
      {"install C:\\ime\\my.ime 中文-试验", false, false, "C:\\ime\\my.ime", "中文-试验"},
      {"tsf", false, true, "tvimetsf.dll", kLayout},
      {"uninstall-tsf C:\\tvime\\tvimetsf.dll", true, true, "C:\\tvime\\tvimetsf.dll", kLayout},
      {"TSF", false, false, kModule, kLayout},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    InstallerCommand command = ParseInstallerCommand(c.line);
    EXPECT_EQ(command.uninstall, c.uninstall);
    EXPECT_EQ(command.textService, c.textService);
    EXPECT_EQ(command.moduleFile, c.moduleFile);
    EXPECT_EQ(command.layoutText, c.layoutText);
  }
}

}  // namespace
}  // namespace tvime
