// What a user relies on whatever the path: the label clicked is the text the application gets,
// nothing typed is lost on a switch of panel or mode, and what is shown belongs to the input now.
// Each story is one a user met mixing panels, keys and modes.

#include <gmock/gmock.h>

#include "session/command_id.h"
#include "session/pinyin_subpanel.h"
#include "session/stroke_subpanel.h"
#include "session/test_panel.h"
#include "tests/support/gbk_literals.h"

namespace tvime {
namespace {

using testing::G;

constexpr int kFullWidthKeyboard = kCmdFirstSoftKeyboard + 13;  // 全角字符: Shift+1 is ！

class SessionPromiseTest : public testing::PanelTest {
 protected:
  void StartWith(bool searchMode, bool pinyin = false) {
    if (searchMode) settings.Write(setting::SearchMode, 1);
    if (pinyin) {
      settings.Write(setting::PinYinMode, 1);
      settings.Write(setting::InputBihuaByKey, 1);  // letters spell
    }
    Start();
  }
  // Clicks the stroke buttons of a character's stroke code.
  void ClickStrokesOf(std::string_view utf8) {
    for (char code : lexicon->CodeOfChar(G(utf8))) {
      Rect r = StrokeButtonRect(static_cast<int>(kStrokeCodes.find(code)));
      Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
  }
  void ChooseZhong() {
    ClickStrokes({"竖", "折", "横", "竖"});
    ASSERT_TRUE(ClickText("中"));
  }
  void SoftKey(unsigned virtualKey, bool shift) {
    panel->Apply(kContext, UserAction::SoftKeyboardKey(virtualKey, shift));
  }
  void ClickLine() { Click(30, 15); }
  void ClickEnterSymbol() {
    Rect enter = SymbolButtonRect(13);
    Click(enter.left + 5, enter.top + 5);
  }
  std::string Pending() const { return GbkToUtf8(panel->state().pendingPhrase); }
  // Every commit so far is whole GBK text: no control byte, no half character.
  void ExpectWholeCommits() const {
    for (const std::string& commit : host.commits) {
      EXPECT_TRUE(IsWholeGbkText(commit)) << ::testing::PrintToString(commit);
    }
  }
  // A text drawn on the composition line.
  bool LineShows(std::string_view utf8) const {
    for (const DrawOp& op : panel->Paint()) {
      const DrawText* text = std::get_if<DrawText>(&op);
      if (text && text->rect.bottom <= kGridY &&
          GbkToUtf8(text->text).find(utf8) != std::string::npos)
        return true;
    }
    return false;
  }
};

// --- the pinyin panel after punctuation and symbols ---

TEST_F(SessionPromiseTest, PinyinFollowOnAfterPunctuationSendsOnlyTheClickedWord) {
  StartWith(false, true);
  Type("nan1");
  ASSERT_EQ(Received(), "南");
  ASSERT_TRUE(Shows("方"));  // 南方 follows 南
  Type(",");
  // The comma ended the words before it: 南's follow-on words are gone, and whatever 方 is shown
  // now is the character itself.
  EXPECT_TRUE(panel->pinyinPanel().phrases.empty());
  if (ClickText("方")) {
    EXPECT_EQ(Received(), "南，方");
  }
  ExpectWholeCommits();
}

TEST_F(SessionPromiseTest, PinyinFollowOnAfterTheFullStopSymbolSendsOnlyTheClickedWord) {
  StartWith(false, true);
  Type("nan1");
  Rect fullStop = SymbolRowItems(7, 109)[1].rect;
  Click(fullStop.left + 5, fullStop.top + 5);
  ASSERT_EQ(Received(), "南。");
  EXPECT_TRUE(panel->pinyinPanel().phrases.empty());
  if (ClickText("方")) {
    EXPECT_EQ(Received(), "南。方");
  }
}

TEST_F(SessionPromiseTest, PinyinFollowOnAfterBackspaceInSearchModeAddsOnlyTheClickedWord) {
  StartWith(true, true);
  Type("nan1");
  ASSERT_EQ(Pending(), "南");
  Press(8);
  EXPECT_EQ(Pending(), "");
  EXPECT_TRUE(panel->pinyinPanel().phrases.empty());
  if (ClickText("方")) {
    EXPECT_EQ(Pending(), "方");
  }
  EXPECT_EQ(Received(), "");
}

// --- soft keyboards ---

TEST_F(SessionPromiseTest, SoftKeyAfterFollowOnsLeavesNoStaleLabelToClick) {
  StartWith(false);
  ChooseZhong();
  ASSERT_TRUE(ClickText("国"));
  ASSERT_TRUE(Shows("共产党"));
  Run(kFullWidthKeyboard);
  SoftKey('1', true);
  EXPECT_EQ(Received(), "中国！");
  EXPECT_FALSE(Shows("共产党"));  // the words before ！ have nothing following them
  // A click on the line sends nothing more: there is no preview left.
  ClickLine();
  EXPECT_EQ(Received(), "中国！");
}

TEST_F(SessionPromiseTest, SoftKeyWithStrokesTypedSendsOnlyItsSymbolThenTheNextChoice) {
  StartWith(false);
  ClickStrokes({"竖", "折", "横", "竖"});
  Run(kFullWidthKeyboard);
  SoftKey('1', true);
  EXPECT_EQ(Received(), "！");
  EXPECT_EQ(panel->state().sendBuffer, "");
  ChooseZhong();
  EXPECT_EQ(Received(), "！中");
}

TEST_F(SessionPromiseTest, SoftKeyAfterZhongThenTheLineSendsNothingTwice) {
  StartWith(false);
  ChooseZhong();
  Run(kFullWidthKeyboard);
  SoftKey('1', true);
  ClickLine();
  EXPECT_EQ(Received(), "中！");
}

TEST_F(SessionPromiseTest, SoftKeyAfterAUserWordWithALetterNeverSendsHalfACharacter) {
  UseUserWords({"中A"});
  StartWith(false);
  ChooseZhong();
  ASSERT_EQ(GbkToUtf8(panel->state().assocPreview), "A");  // the user word comes first
  ASSERT_TRUE(Shows("国"));
  Run(kFullWidthKeyboard);
  SoftKey('1', true);
  // 国 was a follow-on of 中; whatever 国 is shown now sends itself, whole.
  bool clicked = ClickText("国");
  EXPECT_EQ(Received(), clicked ? "中！国" : "中！");
  ExpectWholeCommits();
}

// --- search mode: pending text across switches and keys ---

TEST_F(SessionPromiseTest, PendingTextSurvivesTheSwitchToThePunctuationPanel) {
  StartWith(true);
  ChooseZhong();
  ASSERT_TRUE(ClickButton(kCmdPunctuation));
  EXPECT_TRUE(LineShows("中"));
  ASSERT_TRUE(ClickText("，"));
  EXPECT_EQ(Received(), "中，");
}

TEST_F(SessionPromiseTest, ThePendingTextOnThePunctuationPanelsLineIsSentByAClick) {
  StartWith(true);
  ChooseZhong();
  ASSERT_TRUE(ClickButton(kCmdPunctuation));
  ClickLine();
  EXPECT_EQ(Received(), "中");
  EXPECT_EQ(Pending(), "");
}

TEST_F(SessionPromiseTest, PendingTextSurvivesTheSwitchToTheLetterPanel) {
  StartWith(true);
  ChooseZhong();
  ASSERT_TRUE(ClickButton(kCmdLetters));
  ASSERT_TRUE(ClickText("a"));
  EXPECT_EQ(Received(), "中a");
}

TEST_F(SessionPromiseTest, PendingTextSurvivesTheStrokePinyinSwitchBothWays) {
  StartWith(true);
  ChooseZhong();
  ASSERT_TRUE(ClickButton(kCmdPinyinSwitch));
  EXPECT_EQ(Pending(), "中");
  EXPECT_TRUE(LineShows("中"));
  ASSERT_TRUE(ClickButton(kCmdPinyinSwitch));
  EXPECT_EQ(Pending(), "中");
  ClickLine();
  EXPECT_EQ(Received(), "中");
}

TEST_F(SessionPromiseTest, PinyinSearchModeShowsThePendingTextAndTheLineSendsIt) {
  StartWith(true, true);
  Type("zhong1guo1");
  ASSERT_EQ(Pending(), "中国");
  EXPECT_TRUE(LineShows("中国"));
  ClickLine();
  EXPECT_EQ(Received(), "中国");
  EXPECT_EQ(Pending(), "");
}

TEST_F(SessionPromiseTest, PinyinSearchModeEnterSendsThePendingTextBeforeTheKey) {
  StartWith(true, true);
  Type("zhong1");
  Press(13);
  EXPECT_EQ(Received(), "中<Enter>");
}

TEST_F(SessionPromiseTest, EscapeTakesBackTheSpellingFirstAndThePendingTextSecond) {
  StartWith(true, true);
  Type("zhong1guo");
  Press(27);
  EXPECT_EQ(GbkToUtf8(panel->pinyinPanel().Spelling()), "");
  EXPECT_EQ(Pending(), "中");
  EXPECT_TRUE(LineShows("中"));
  Press(27);
  EXPECT_EQ(Pending(), "");
  EXPECT_EQ(Received(), "");
}

TEST_F(SessionPromiseTest, SwitchingSearchModeOnAfterACommitDoesNotSendItAgain) {
  StartWith(false);
  ChooseZhong();
  Run(kCmdSearchMode);
  Type(",");
  EXPECT_EQ(Received(), "中，");
}

TEST_F(SessionPromiseTest, SwitchingSearchModeOffSendsThePendingText) {
  StartWith(true);
  ChooseZhong();
  Run(kCmdSearchMode);
  Type(",");
  EXPECT_EQ(Received(), "中，");
}

TEST_F(SessionPromiseTest, EnterAfterPendingTextKeepsTheOrder) {
  StartWith(true);
  ChooseZhong();
  Press(13);
  Type(",");
  EXPECT_EQ(Received(), "中<Enter>，");
  ChooseZhong();
  ClickEnterSymbol();
  EXPECT_EQ(Received(), "中<Enter>，中<Enter>");
}

TEST_F(SessionPromiseTest, BackspaceAfterAUserWordEndingInALetterTakesBackTheLetter) {
  UseUserWords({"维生素C"});
  StartWith(true);
  ClickStrokesOf("维");
  ASSERT_TRUE(ClickText("维"));
  ASSERT_TRUE(ClickText("生素C"));
  ASSERT_EQ(Pending(), "维生素C");
  Press(8);
  EXPECT_EQ(Pending(), "维生素");
  ClickLine();
  EXPECT_EQ(Received(), "维生素");
  ExpectWholeCommits();
}

// --- lists that must follow what changed under them ---

TEST_F(SessionPromiseTest, ReloadedUserWordsReplaceTheShownFollowOns) {
  UseUserWords({"中甲乙丙", "中丁戊己"});
  StartWith(false);
  ChooseZhong();
  ASSERT_TRUE(Shows("甲乙丙"));
  // The dictionary manager removed a word; the session rereads the file.
  WriteUserWordFile({"中丁戊己"});
  Do(ActionKind::UserWordsChanged);
  EXPECT_FALSE(Shows("甲乙丙"));
  ASSERT_TRUE(ClickText("丁戊己"));
  EXPECT_EQ(Received(), "中丁戊己");
}

TEST_F(SessionPromiseTest, PinyinCandidatesFollowASwitchToTheCommonCharacters) {
  StartWith(false, true);
  Type("zhong");
  const size_t bigSet = panel->pinyinPanel().input.charList.size();
  Run(kCmdCommonCharset);
  const std::vector<CharIndex>& common = panel->pinyinPanel().input.charList;
  EXPECT_LT(common.size(), bigSet);
  for (CharIndex index : common) {
    EXPECT_TRUE(lexicon->characters().EntryAt(index).IsCommon()) << index;
  }
  EXPECT_EQ(panel->pinyinPanel().characters.items().size(), common.size());
}

TEST_F(SessionPromiseTest, FollowOnsReturnWhenTheStrokesAfterAChoiceAreTakenBack) {
  StartWith(false);
  ChooseZhong();
  ClickStrokes({"竖", "折"});
  Press(8);
  Press(8);
  EXPECT_EQ(panel->state().mode, ModeAssociation);
  EXPECT_FALSE(panel->strokePanel().association.empty());
  ASSERT_TRUE(ClickText("国"));
  EXPECT_EQ(Received(), "中国");
}

// --- full shape ---

TEST_F(SessionPromiseTest, FullShapeKeepsBackspaceEnterAndEscapeOnTheStrokes) {
  StartWith(false);
  Run(kCmdFullShape);
  ClickStrokes({"竖", "折", "横"});
  ClickEnterSymbol();
  EXPECT_EQ(Received(), "<Enter>");
  EXPECT_EQ(panel->state().inputCodes, "sga");
  Press(8);
  EXPECT_EQ(panel->state().inputCodes, "sg");
  Press(27);
  EXPECT_EQ(panel->state().inputCodes, "");
  EXPECT_EQ(Received(), "<Enter>");
  ExpectWholeCommits();
}

// --- the window: pressed look, hints, the line ---

TEST_F(SessionPromiseTest, PressInsideAndReleaseOutsideLeavesNoButtonLookingPressed) {
  StartWith(false);
  panel->Apply(kContext, UserAction::Pointer(MouseEvent::Move, 60, 40));
  panel->Apply(kContext, UserAction::Pointer(MouseEvent::LeftDown, 60, 40));
  // The release happened outside the window; the cursor comes back over Clear.
  const ToolbarButton* clear = nullptr;
  for (const ToolbarButton& button : panel->buttonBar().buttons()) {
    if (button.command == kCmdClear) clear = &button;
  }
  ASSERT_TRUE(clear);
  panel->Apply(kContext,
               UserAction::Pointer(MouseEvent::Move, clear->rect.left + 5, clear->rect.top + 5));
  int highlights = 0, pressed = 0;
  for (const DrawOp& op : panel->Paint()) {
    if (const DrawHighlight* highlight = std::get_if<DrawHighlight>(&op)) {
      ++highlights;
      pressed += highlight->pressed;
    }
  }
  EXPECT_EQ(highlights, 1);  // hovered
  EXPECT_EQ(pressed, 0);
}

TEST_F(SessionPromiseTest, EscapeUnderTheCursorDescribesTheCharacterNowThere) {
  StartWith(false);
  ClickStrokes({"竖", "折", "横", "竖"});
  const PanelItem first = panel->strokePanel().VisibleItems().front();
  int x = (first.rect.left + first.rect.right) / 2, y = (first.rect.top + first.rect.bottom) / 2;
  panel->Apply(kContext, UserAction::Pointer(MouseEvent::Move, x, y));
  ASSERT_TRUE(GbkToUtf8(panel->state().hoverText).starts_with("中"));
  Press(27);
  const PanelItem* now = HitTest(panel->strokePanel().VisibleItems(), x, y);
  ASSERT_TRUE(now);
  std::string shown = GbkToUtf8(panel->strokePanel().CharacterText(now->value));
  ASSERT_NE(shown, "中");
  EXPECT_TRUE(GbkToUtf8(panel->state().hoverText).starts_with(shown))
      << GbkToUtf8(panel->state().hoverText);
}

TEST_F(SessionPromiseTest, TheHintOfACharacterWhoseSecondByteIsABarShowsItWhole) {
  StartWith(false);
  // A character of the GBK extension whose trail byte is 0x7C, the hint's separator, shown on
  // the first page of its own strokes.
  for (size_t i = 0; i < lexicon->characters().count; ++i) {
    const CharEntry& entry = lexicon->characters().EntryAt(i);
    std::string_view text = entry.text;
    if (text.size() != 2 || text[1] != '|') continue;
    ClickButton(kCmdClear);
    for (char code : std::string_view(entry.code)) {
      Rect r = StrokeButtonRect(static_cast<int>(kStrokeCodes.find(code)));
      Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    for (const PanelItem& item : panel->strokePanel().VisibleItems()) {
      if (item.kind != ItemCharacter || panel->strokePanel().CharacterText(item.value) != text)
        continue;
      panel->Apply(kContext,
                   UserAction::Pointer(MouseEvent::Move, item.rect.left + 5, item.rect.top + 5));
      bool hintShown = false;
      for (const DrawOp& op : panel->Paint()) {
        const DrawText* drawn = std::get_if<DrawText>(&op);
        if (!drawn || drawn->rect.top < kHintStrip.top) continue;
        EXPECT_TRUE(IsWholeGbkText(drawn->text)) << ::testing::PrintToString(drawn->text);
        hintShown |= drawn->text.starts_with(text);
      }
      EXPECT_TRUE(hintShown);
      return;
    }
  }
  ADD_FAILURE() << "no character with a bar byte shows on its strokes' first page";
}

TEST_F(SessionPromiseTest, TheTwentyFourStrokesOfChuStayLeftOfTheBarButtons) {
  StartWith(false);
  ClickStrokesOf("矗");
  ASSERT_EQ(panel->state().inputCodes.size(), 24u);
  const int firstButton = panel->buttonBar().buttons().front().rect.left;
  int lastGlyphSource = -1;
  for (const DrawOp& op : panel->Paint()) {
    if (const DrawBitmap* bitmap = std::get_if<DrawBitmap>(&op);
        bitmap && bitmap->artwork == Artwork::StrokeGlyphs) {
      EXPECT_LE(bitmap->at.x + bitmap->source.width(), firstButton);
      lastGlyphSource = bitmap->source.left;
    }
    if (const DrawText* text = std::get_if<DrawText>(&op); text && text->rect.bottom <= kGridY) {
      EXPECT_LE(text->rect.right, firstButton);
    }
  }
  // The end of the input stays in view: the last glyph drawn is the last stroke typed.
  char last = panel->state().inputCodes.back();
  EXPECT_EQ(lastGlyphSource, static_cast<int>(kStrokeCodes.find(last)) * 10);
}

TEST_F(SessionPromiseTest, LongPendingTextAndStrokesShareTheLineLeftOfTheButtons) {
  StartWith(true);
  for (int i = 0; i < 8; ++i) ChooseZhong();
  ClickStrokesOf("矗");
  const int firstButton = panel->buttonBar().buttons().front().rect.left;
  bool pendingShown = false;
  for (const DrawOp& op : panel->Paint()) {
    if (const DrawBitmap* bitmap = std::get_if<DrawBitmap>(&op);
        bitmap && bitmap->artwork == Artwork::StrokeGlyphs) {
      EXPECT_LE(bitmap->at.x + bitmap->source.width(), firstButton);
    }
    if (const DrawText* text = std::get_if<DrawText>(&op); text && text->rect.bottom <= kGridY) {
      EXPECT_LE(text->rect.right, firstButton);
      EXPECT_TRUE(IsWholeGbkText(text->text));
      pendingShown |= GbkToUtf8(text->text).ends_with("中中");
    }
  }
  EXPECT_TRUE(pendingShown);
}

// --- what the status window and the module hand over ---

TEST_F(SessionPromiseTest, ClosingTheInputForgetsTheLookupButKeepsThePendingText) {
  StartWith(true);
  ChooseZhong();
  ClickStrokes({"横", "横"});
  Do(ActionKind::InputClosed);
  EXPECT_TRUE(panel->lists().contextHistory.empty());
  EXPECT_EQ(panel->state().inputCodes, "aa");  // looked up again when the input reopens
  EXPECT_EQ(Pending(), "中");
  ClickLine();
  EXPECT_EQ(Received(), "中");
}

TEST_F(SessionPromiseTest, TheStatusWindowsSoftKeyboardButtonFlipsTheFlagAndClearsTheFollowOns) {
  StartWith(false);
  ChooseZhong();
  ASSERT_FALSE(panel->strokePanel().association.empty());
  Do(ActionKind::SoftKeyboardToggled);
  EXPECT_TRUE(flags->Has(CS_SOFT_KEYBOARD));
  EXPECT_TRUE(panel->lists().assocList.empty());
  EXPECT_FALSE(Shows("国"));
  panel->softKeyboard().SetShown(true);  // the status window shows it
  Do(ActionKind::SoftKeyboardToggled);
  EXPECT_FALSE(flags->Has(CS_SOFT_KEYBOARD));
  Do(ActionKind::PanelSizeToggled);
  EXPECT_TRUE(flags->Has(CS_SMALL_PANEL));
}

TEST_F(SessionPromiseTest, OneStrokeAfterLongPendingTextStaysInViewLeftOfTheButtons) {
  StartWith(true);
  for (int i = 0; i < 10; ++i) ChooseZhong();
  ClickStroke("横");
  const int firstButton = panel->buttonBar().buttons().front().rect.left;
  int glyphs = 0;
  for (const DrawOp& op : panel->Paint()) {
    if (const DrawBitmap* bitmap = std::get_if<DrawBitmap>(&op);
        bitmap && bitmap->artwork == Artwork::StrokeGlyphs) {
      EXPECT_LE(bitmap->at.x + bitmap->source.width(), firstButton);
      ++glyphs;
    }
    if (const DrawText* text = std::get_if<DrawText>(&op); text && text->rect.bottom <= kGridY) {
      EXPECT_LE(text->rect.right, firstButton) << GbkToUtf8(text->text);
    }
  }
  EXPECT_EQ(glyphs, 1);
}

}  // namespace
}  // namespace tvime
