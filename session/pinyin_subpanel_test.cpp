// The pinyin panel, clicked and typed as a user does.

#include "session/pinyin_subpanel.h"

#include <gmock/gmock.h>

#include "session/command_id.h"
#include "session/geometry.h"
#include "session/test_panel.h"
#include "tests/support/gbk_literals.h"

namespace tvime {
namespace {

using testing::G;

class PinyinPanelTest : public testing::PanelTest {
 protected:
  void SetUp() override {
    StartInPinyin();
    ASSERT_EQ(panel->state().mode, ModePinyin);
  }
  const PinyinSubpanel& pinyin() { return panel->pinyinPanel(); }
  std::string Spelling() { return GbkToUtf8(pinyin().Spelling()); }
};

TEST_F(PinyinPanelTest, ClickedOrTypedEachSyllableIsOneKeyWithItsCharacters) {
  ASSERT_TRUE(ClickText("b"));
  ASSERT_TRUE(ClickText("a"));
  ASSERT_TRUE(ClickText("n"));
  EXPECT_EQ(Spelling(), "ban");
  EXPECT_EQ(pinyin().input.keys.size(), 1u);
  // The candidates are ban's characters, most frequent first.
  ASSERT_GE(pinyin().input.charList.size(), 10u);
  std::vector<std::string> firstPage;
  for (size_t i = 0; i < 10; ++i) {
    firstPage.push_back(GbkToUtf8(lexicon->characters().EntryAt(pinyin().input.charList[i]).text));
  }
  EXPECT_THAT(firstPage, ::testing::IsSupersetOf({"办", "半", "班", "板"}));
  Press(27);
  // jiong, xiong and qiong were once split.
  for (const char* syllable : {"jiong", "xiong", "qiong"}) {
    Type(syllable);
    EXPECT_EQ(Spelling(), syllable);
    ASSERT_EQ(pinyin().input.keys.size(), 1u) << syllable;
    EXPECT_FALSE(pinyin().input.charList.empty()) << syllable;
    Press(27);
  }
  Type("jiongjiong");
  EXPECT_EQ(Spelling(), "jiong'jiong");
}

// After a Backspace the application took, a digit was once read as a choice of the follow-on
// words of the character it deleted.
TEST_F(PinyinPanelTest, TypedLettersThenADigitCommitThatCandidateAndClearTheSpelling) {
  Type("zhong");
  EXPECT_EQ(Spelling(), "zhong");
  Type("1");
  EXPECT_EQ(Received(), "中");
  EXPECT_EQ(Spelling(), "");
  // What follows 中 is offered next, as on the stroke panel.
  EXPECT_TRUE(Shows("国"));
  Press(8);  // the application deletes 中
  EXPECT_FALSE(Shows("国"));
  Type("1");
  EXPECT_EQ(Received(), "中<Back>1");
  Type("zhongguo ");
  EXPECT_EQ(Received(), "中<Back>1中国");
}

TEST_F(PinyinPanelTest, KeysThePanelDoesNotUseFallThroughToTheKeyHandler) {
  Type("+");  // no spelling: punctuation
  EXPECT_EQ(Received(), "＋");
  Type(" 1");  // no spelling: a space, a digit as it is
  EXPECT_EQ(Received(), "＋ 1");
  Type("ba+");
  EXPECT_EQ(Received(), "＋ 1");  // "+" turns the page while spelling
  Press(13);
  EXPECT_EQ(Received(), "＋ 1ba");  // Enter commits the spelled letters
  // Every letter, even of no syllable: Enter once lost the g of fong.
  Type("fong");
  EXPECT_EQ(Spelling(), "fon'g");
  Press(13);
  EXPECT_EQ(Received(), "＋ 1bafong");
  // On the letter panel letters are typed, not spelled.
  ClickButton(kCmdLetters);
  Type("ab");
  EXPECT_EQ(Received(), "＋ 1bafongab");
  EXPECT_EQ(Spelling(), "");
}

TEST_F(PinyinPanelTest, VIsShownAsUUmlautAndBackspaceTakesBackClicksThenGoesToTheApplication) {
  ASSERT_TRUE(ClickText("l"));
  ASSERT_TRUE(ClickText("ü"));
  EXPECT_EQ(Spelling(), "lü");
  EXPECT_TRUE(Shows("lü"));
  Press(8);
  EXPECT_EQ(Spelling(), "l");
  Press(8);
  EXPECT_EQ(Spelling(), "");
  Press(8);
  EXPECT_EQ(Received(), "<Back>");
}

TEST_F(PinyinPanelTest, TheZiButtonShowsFourRowsOfCandidates) {
  ASSERT_TRUE(ClickText("sh"));
  Click(kZiButton.left + 5, kZiButton.top + 5);
  EXPECT_TRUE(pinyin().candidatesView);
  EXPECT_EQ(pinyin().characters.rowsPerPage(), 4);
  EXPECT_EQ(ShownCount(ItemCharacter), 40u);
  // A click on a letter is no longer possible; picking one commits and returns to letters.
  std::string first = GbkToUtf8(lexicon->characters().EntryAt(pinyin().input.charList[0]).text);
  ASSERT_TRUE(ClickText(first));
  EXPECT_EQ(Received(), first);
  EXPECT_FALSE(pinyin().candidatesView);
}

TEST_F(PinyinPanelTest, EscapeKeepsEachPanelAndTheSwitchLeavesAndReturnsClearingTheSpelling) {
  ASSERT_TRUE(ClickText("b"));
  Press(27);
  EXPECT_EQ(panel->state().mode, ModePinyin);
  EXPECT_EQ(Spelling(), "");
  ASSERT_TRUE(ClickText("b"));
  ClickButton(kCmdPinyinSwitch);
  EXPECT_EQ(panel->state().mode, ModeIdle);
  EXPECT_EQ(panel->buttonBar().IconOf(kCmdPinyinSwitch), kIconPinyinOff);
  EXPECT_EQ(settings.Read(setting::PinYinMode), 0);
  ClickStrokes({"横", "竖"});
  Press(27);
  EXPECT_EQ(panel->state().mode, ModeIdle);
  EXPECT_EQ(panel->state().inputCodes, "");
  ClickButton(kCmdPinyinSwitch);
  EXPECT_EQ(panel->state().mode, ModePinyin);
  EXPECT_EQ(Spelling(), "");  // the switch cleared the b
}

// --- what a user met before, each pinned by the story that showed it ---

TEST_F(PinyinPanelTest, EverySymbolButtonOfThePinyinPanelCanBeClicked) {
  std::vector<PanelItem> symbols;
  for (const PanelItem& item : pinyin().VisibleItems()) {
    if (item.kind == ItemSymbol) symbols.push_back(item);
  }
  ASSERT_EQ(symbols.size(), 14u);
  for (const PanelItem& symbol : symbols) {
    EXPECT_EQ(symbol.rect.top, symbols.front().rect.top) << "one row";
    EXPECT_FALSE(kHintStrip.Contains(symbol.rect.left, symbol.rect.bottom - 1));
    ClickIn(symbol.rect);
  }
  EXPECT_EQ(Received(), "，。！？、；：“”…—￥ <Enter>");
}

}  // namespace
}  // namespace tvime
