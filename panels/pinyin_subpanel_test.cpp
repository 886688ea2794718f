// The pinyin panel, clicked and typed as a user does.

#include "panels/pinyin_subpanel.h"

#include <gmock/gmock.h>

#include "panels/panel_commands.h"
#include "panels/test_panel.h"
#include "tests/support/gbk_literals.h"

namespace tvime {
namespace {

using ::testing::ElementsAre;
using testing::G;

class PinyinPanelTest : public testing::PanelTest {
 protected:
  void StartInPinyin(bool typing = false) {
    settings.Write(setting::PinYinMode, 1);
    if (typing) settings.Write(setting::InputBihuaByKey, 1);
    Start();
    ASSERT_EQ(panel->mode, ModePinyin);
  }
  PinyinSubpanel& pinyin() { return panel->pinyinPanel(); }
  std::string Spelling() { return GbkToUtf8(pinyin().Spelling()); }
};

TEST_F(PinyinPanelTest, ClickingBThenAThenNSpellsBan) {
  StartInPinyin();
  ASSERT_TRUE(ClickText("b"));
  ASSERT_TRUE(ClickText("a"));
  ASSERT_TRUE(ClickText("n"));
  EXPECT_EQ(Spelling(), "ban");
  EXPECT_EQ(pinyin().input.keys.size(), 1u);
  // The candidates are ban's characters, most frequent first.
  ASSERT_GE(pinyin().input.charList.size(), 10u);
  std::vector<std::string> firstPage;
  for (size_t i = 0; i < 10; ++i) {
    firstPage.push_back(GbkToUtf8(lexicon->chars.EntryAt(pinyin().input.charList[i]).text));
  }
  EXPECT_THAT(firstPage, ::testing::IsSupersetOf({"办", "半", "班", "板"}));
}

TEST_F(PinyinPanelTest, TypedLettersThenADigitCommitThatCandidateAndClearTheSpelling) {
  StartInPinyin(true);
  Type("zhong");
  EXPECT_EQ(Spelling(), "zhong");
  Type("1");
  EXPECT_EQ(Received(), "中");
  EXPECT_EQ(Spelling(), "");
  // What follows 中 is offered next, as on the stroke panel.
  EXPECT_TRUE(Shows("国"));
  Type("zhongguo ");
  EXPECT_EQ(Received(), "中中国");
}

TEST_F(PinyinPanelTest, KeysThePanelDoesNotUseFallThroughToTheKeyHandler) {
  StartInPinyin(true);
  Type("+");  // no spelling: punctuation
  EXPECT_EQ(Received(), "＋");
  Type(" ");  // no spelling: a space
  EXPECT_EQ(Received(), "＋ ");
  Type("ba+");
  EXPECT_EQ(Received(), "＋ ");  // "+" turns the page while spelling
  Press(13);
  EXPECT_EQ(Received(), "＋ ba");  // Enter commits the spelled letters
}

TEST_F(PinyinPanelTest, VIsShownAsUUmlaut) {
  StartInPinyin();
  ASSERT_TRUE(ClickText("l"));
  ASSERT_TRUE(ClickText("ü"));
  EXPECT_EQ(Spelling(), "lü");
  EXPECT_TRUE(Shows("lü"));
}

TEST_F(PinyinPanelTest, BackspaceTakesBackClicksThenGoesToTheApplication) {
  StartInPinyin();
  ASSERT_TRUE(ClickText("b"));
  ASSERT_TRUE(ClickText("a"));
  Press(8);
  EXPECT_EQ(Spelling(), "b");
  Press(8);
  EXPECT_EQ(Spelling(), "");
  Press(8);
  EXPECT_EQ(Received(), "<Back>");
}

TEST_F(PinyinPanelTest, TheZiButtonShowsFourRowsOfCandidates) {
  StartInPinyin();
  ASSERT_TRUE(ClickText("sh"));
  Click(kZiButton.left + 5, kZiButton.top + 5);
  EXPECT_TRUE(pinyin().candidatesView);
  EXPECT_EQ(pinyin().characters.rowsPerPage(), 4);
  size_t shown = 0;
  for (const PanelItem& item : pinyin().VisibleItems()) shown += item.kind == ItemCharacter;
  EXPECT_EQ(shown, 40u);
  // A click on a letter is no longer possible; picking one commits and returns to letters.
  std::string first = GbkToUtf8(lexicon->chars.EntryAt(pinyin().input.charList[0]).text);
  ASSERT_TRUE(ClickText(first));
  EXPECT_EQ(Received(), first);
  EXPECT_FALSE(pinyin().candidatesView);
}

TEST_F(PinyinPanelTest, SpelledPhrasesAreOfferedShortestFirst) {
  StartInPinyin();
  for (const char* piece : {"zh", "o", "n", "g", "g", "u", "o"}) ASSERT_TRUE(ClickText(piece));
  EXPECT_EQ(Spelling(), "zhong'guo");
  ASSERT_TRUE(ClickText("中国"));
  EXPECT_EQ(Received(), "中国");
}

TEST_F(PinyinPanelTest, TheSwitchCommandLeavesAndReturnsToPinyin) {
  StartInPinyin();
  ASSERT_TRUE(ClickText("b"));
  ClickButton(kCmdPinyinSwitch);
  EXPECT_EQ(panel->mode, ModeIdle);
  EXPECT_EQ(panel->buttonBar().IconOf(kCmdPinyinSwitch), kIconPinyinOff);
  ClickButton(kCmdPinyinSwitch);
  EXPECT_EQ(panel->mode, ModePinyin);
  EXPECT_EQ(Spelling(), "");  // the switch clears
}

}  // namespace
}  // namespace tvime
