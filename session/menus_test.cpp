#include "session/menus.h"

#include <gmock/gmock.h>

#include <tuple>

#include "session/command_id.h"
#include "session/test_panel.h"
#include "session/user_word.h"
#include "tests/support/gbk_literals.h"

namespace tvime {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class MenusTest : public ::testing::Test {
 protected:
  MemorySettingsStore store;
  Settings settings{store};
  ConversionFlags flags{settings};  // 5: Chinese punctuation and the big set
};

TEST_F(MenusTest, TheSettingButtonChecksWhatIsOnAndTheModuleHasNoExit) {
  MenuState module = SettingButtonMenu(flags, ModeStrokes, false);
  EXPECT_THAT(module.checked, ElementsAre(kCmdBigCharset, kCmdChinesePunctuation));
  EXPECT_THAT(module.removed, ElementsAre(kCmdExit));
  flags.Assign(CS_FULL_SHAPE);
  MenuState program = SettingButtonMenu(flags, ModePinyin, true);
  EXPECT_THAT(program.checked, ElementsAre(kCmdCommonCharset, kCmdFullShape, kCmdPinyinSwitch));
  EXPECT_THAT(program.removed, IsEmpty());
}

TEST_F(MenusTest, TheLogoMenuChecksTheShownSoftKeyboardWhereItHasAnItem) {
  EXPECT_THAT(StatusLogoMenu(flags, 3, true).checked, IsEmpty());
  flags.Toggle(CS_SOFT_KEYBOARD);
  EXPECT_THAT(StatusLogoMenu(flags, 3, true).checked, ElementsAre(kCmdFirstSoftKeyboard + 3));
  EXPECT_THAT(StatusLogoMenu(flags, 9, true).checked,
              ElementsAre(kCmdFirstSoftKeyboard + 10));  // hiragana
  EXPECT_THAT(StatusLogoMenu(flags, 10, true).checked, ElementsAre(kCmdFirstSoftKeyboard + 9));
  EXPECT_THAT(StatusLogoMenu(flags, 13, true).checked, IsEmpty());
  EXPECT_THAT(SearchEngineMenu(2).checked, ElementsAre(kCmdFirstSearchEngine + 2));
}

TEST_F(MenusTest, NoStatusMenuOfTheModuleOffersExit) {
  EXPECT_THAT(StatusLogoMenu(flags, 0, false).removed, ElementsAre(kCmdExit));
  EXPECT_THAT(StatusRightClickMenu(false).removed, ElementsAre(kCmdExit));
  EXPECT_THAT(StatusLogoMenu(flags, 0, true).removed, IsEmpty());
  EXPECT_THAT(StatusRightClickMenu(true).removed, IsEmpty());
}

class UserWordTest : public testing::PanelTest {};

TEST_F(UserWordTest, ARefusedSelectionSaysWhyAndAddsNothingAndAWordIsAddedOnce) {
  using testing::G;
  std::string long1024;
  for (int i = 0; i < 1024; ++i) long1024 += G("沃");
  const std::tuple<std::string, UserWordPath, std::string> refusals[] = {
      {G("中"), UserWordPath::Menu, "你选择的词语长度不能小于2个汉字并且词组中不能包含非法字符。"},
      {G("中"), UserWordPath::StatusButton, "你选择的词语长度不能小于2个汉字。"},
      {"", UserWordPath::StatusButton, "你选择的词语长度不能小于2个汉字。"},
      {G("中国"), UserWordPath::Menu, "你选择的词语已经在系统词库中。"},
      {G("沃岚") + "\r\n" + G("输入"), UserWordPath::Menu, "你选择的词语中不能包含换行。"},
      {long1024, UserWordPath::StatusButton, "你选择的词语太长，不能超过1023个字符。"},
  };
  for (const auto& [text, path, message] : refusals) {
    EXPECT_EQ(CreateUserWord(*lexicon, text, path).message, message);
  }
  EXPECT_TRUE(lexicon->userWords().empty());
  UserWordResult added = CreateUserWord(*lexicon, G("沃岚输入"), UserWordPath::Menu);
  EXPECT_TRUE(added.added);
  EXPECT_EQ(added.message, "恭喜！添加词语成功。");
  EXPECT_EQ(CreateUserWord(*lexicon, G("沃岚输入"), UserWordPath::StatusButton).message,
            "你选择的词语已经存在。");
  EXPECT_TRUE(CreateUserWord(*lexicon, long1024.substr(2), UserWordPath::Menu).added);
  EXPECT_EQ(lexicon->userWords().size(), 2u);
}

}  // namespace
}  // namespace tvime
