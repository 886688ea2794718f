// The input session driven as a user drives it: clicks on stroke buttons, candidates and the bar,
// typed keys; what the application receives is checked on a recording host.

#include "session/composition_panel.h"

#include <gmock/gmock.h>

#include <algorithm>

#include "session/command_id.h"
#include "session/stroke_subpanel.h"
#include "session/test_panel.h"
#include "tests/support/gbk_literals.h"

namespace tvime {
namespace {

using ::testing::Contains;
using testing::G;

class SessionTest : public testing::PanelTest {};

TEST_F(SessionTest, FourStrokesAndAClickOnZhongTypeZhongThenOfferWhatFollowsUntilPunctuation) {
  EXPECT_EQ(panel->state().mode, ModeIdle);
  ClickStrokes({"竖", "折", "横", "竖"});
  EXPECT_EQ(panel->state().inputCodes, "sgas");
  EXPECT_EQ(panel->state().mode, ModeStrokes);
  ASSERT_TRUE(ClickText("中"));
  EXPECT_EQ(Received(), "中");
  EXPECT_EQ(panel->state().mode, ModeAssociation);
  EXPECT_EQ(panel->state().inputCodes, "");
  // Follow-on words show without the 中 already typed; clicking one sends only the rest.
  EXPECT_TRUE(Shows("国"));
  ASSERT_TRUE(ClickText("国"));
  EXPECT_EQ(Received(), "中国");
  EXPECT_EQ(panel->state().displayText, G("中国"));
  // Punctuation ends the context: what follows the next 中 is what follows 中, not 中国中.
  Type(",");
  ChooseZhong();
  EXPECT_EQ(Received(), "中国，中");
  EXPECT_EQ(panel->lists().contextHistory, std::vector<std::string>{G("中")});
  EXPECT_TRUE(Shows("国"));
}

TEST_F(SessionTest, WithLearningOnAChosenFollowOnWordLeadsItsListTheNextTime) {
  settings.Write(setting::LearnChoices, 1);
  Start();
  ChooseZhong();
  const std::vector<CandidateId> usual = panel->lists().assocList;
  ASSERT_GE(usual.size(), 3u);
  std::string third = GbkToUtf8(lexicon->CandidateText(usual[2]));
  ASSERT_TRUE(ClickText(third.substr(std::string("中").size())));
  Type(",");
  ChooseZhong();
  EXPECT_EQ(Received(), third + "，中");
  ASSERT_EQ(panel->lists().assocList.size(), usual.size());
  EXPECT_EQ(panel->lists().assocList.front(), usual[2]);
  // The others keep their order behind it.
  EXPECT_EQ(panel->lists().assocList[1], usual[0]);
  EXPECT_EQ(panel->lists().assocList[2], usual[1]);
  EXPECT_TRUE(Shows(third.substr(std::string("中").size())));
}

// "PhraseSortMode" as the session starts with it, and as the settings dialog changes it: the
// follow-on words of the next choice come shortest first, or in dictionary order.
TEST_F(SessionTest, TheFollowOnOrderFollowsThePhraseSortSettingAtStartAndAfterTheDialog) {
  auto lengths = [&] {
    std::vector<size_t> found;
    for (CandidateId id : panel->lists().assocList) found.push_back(lexicon->CandidateLength(id));
    return found;
  };
  settings.Write(setting::PhraseSortMode, 1);
  Start();
  ChooseZhong();
  std::vector<size_t> sorted = lengths();
  ASSERT_GE(sorted.size(), 10u);
  EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));

  *panel->EditableOptions().phraseSortMode = 0;  // the dialog's box, then OK
  panel->Apply(kContext, UserAction::NewFlags(false));
  Type(",");
  ChooseZhong();
  std::vector<size_t> unsorted = lengths();
  EXPECT_EQ(unsorted.size(), sorted.size());
  EXPECT_FALSE(std::is_sorted(unsorted.begin(), unsorted.end()));
}

TEST_F(SessionTest, TiReachesTheLexiconAsHengWhileTheLineStillShowsTi) {
  ClickStroke("提");
  EXPECT_EQ(panel->state().inputCodes, "t");
  std::vector<CandidateId> expected;
  lexicon->CharactersByStrokes("a", expected);
  panel->Refresh(kContext, false);
  EXPECT_EQ(panel->lists().mainList, expected);
  // The composition line draws glyph 5 (提), not glyph 0 (横).
  bool tiGlyph = false;
  for (const DrawBitmap& bitmap : Drawn<DrawBitmap>()) {
    if (bitmap.artwork == Artwork::StrokeGlyphs && bitmap.at.y == 5) {
      tiGlyph = bitmap.source.left == 5 * 10;
    }
  }
  EXPECT_TRUE(tiGlyph);
}

TEST_F(SessionTest, TheSeparatorNeverStartsTheInputOrFollowsItselfAndMakesRoomForPhrases) {
  ClickStroke("分隔");
  EXPECT_EQ(panel->state().inputCodes, "");
  ClickStroke("横");
  // Twenty characters show without phrases, ten with them.
  EXPECT_EQ(panel->strokePanel().characters.rowsPerPage(), 2);
  EXPECT_EQ(ShownCount(ItemCharacter), 20u);
  ClickStrokes({"分隔", "分隔"});
  EXPECT_EQ(panel->state().inputCodes, "a'");
  // "a'" looks characters up by "a" and phrases by every continuation of them.
  EXPECT_FALSE(panel->strokePanel().phrases.empty());
  EXPECT_EQ(panel->strokePanel().characters.rowsPerPage(), 1);
  EXPECT_EQ(ShownCount(ItemCharacter), 10u);
}

// Backspace once left the line showing the character it had taken back.
TEST_F(SessionTest, WithSearchModeChoicesWaitOnTheCompositionLineAndAreLearnt) {
  settings.Write(setting::SearchMode, 1);
  Start();
  ChooseZhong();
  int invalidations = host.invalidations;
  Press(8);  // takes back the pending 中 and repaints the line
  EXPECT_EQ(Pending(), "");
  EXPECT_GT(host.invalidations, invalidations);
  ChooseZhong();
  ClickStrokes({"横", "横", "竖", "横"});
  ASSERT_TRUE(ClickText("王"));
  EXPECT_EQ(Received(), "");  // nothing sent yet
  EXPECT_EQ(Pending(), "中王");
  EXPECT_TRUE(Shows("中王"));  // on the composition line
  ClickLine();                 // sends the whole pending text at once
  EXPECT_EQ(Received(), "中王");
  EXPECT_THAT(lexicon->userWords(), Contains(G("中王")));
}

TEST_F(SessionTest, BackspaceTakesBackStrokesThenContinuesFromTheLastWordThenGoesToTheApp) {
  ChooseZhong();
  ClickStrokes({"竖", "折"});
  Press(8);
  EXPECT_EQ(panel->state().inputCodes, "s");
  Press(8);
  // The input is empty again: association continues from the last committed character, and its
  // follow-on words are back.
  EXPECT_EQ(panel->state().inputCodes, "");
  EXPECT_EQ(panel->state().displayText, G("中"));
  EXPECT_EQ(panel->state().mode, ModeAssociation);
  EXPECT_FALSE(panel->strokePanel().association.empty());
  ASSERT_TRUE(ClickText("国"));
  EXPECT_EQ(Received(), "中国");
  Press(8);
  EXPECT_EQ(Received(), "中国<Back>");
  EXPECT_EQ(host.beeps, 0);
}

TEST_F(SessionTest, BackspaceAfterARadicalReturnsToTheStrokesBeforeIt) {
  ClickStrokes({"点", "点", "提"});
  panel->Refresh(kContext, false);
  ASSERT_FALSE(panel->lists().secondaryList.empty());
  EXPECT_TRUE(panel->ChooseRadical(kContext, panel->lists().secondaryList.front()));
  panel->Refresh(kContext, false);
  EXPECT_EQ(panel->state().mode, ModeRadical);
  EXPECT_GT(panel->strokePanel().characters.items().size(), 100u);
  ClickStroke("横");
  EXPECT_EQ(panel->state().mode, ModeRadicalStrokes);
  Press(8);
  EXPECT_EQ(panel->state().mode, ModeRadical);
  Press(8);
  EXPECT_EQ(panel->state().inputCodes, "fft");
  EXPECT_EQ(panel->state().mode, ModeStrokes);
}

TEST_F(SessionTest, PagesTurnWithinTheListAndNoFurther) {
  ClickStroke("横");
  auto& characters = panel->strokePanel().characters;
  int pages = characters.pageCount();
  ASSERT_GT(pages, 3);
  EXPECT_FALSE(panel->PagePrev());
  for (int i = 1; i < pages; ++i) EXPECT_TRUE(panel->PageNext());
  EXPECT_EQ(characters.page(), pages - 1);
  EXPECT_TRUE(panel->PagePrev());
  ClickButton(kCmdNextPage);
  EXPECT_EQ(characters.page(), pages - 1);
  // A refresh starts from the first page again.
  ClickStroke("竖");
  EXPECT_EQ(characters.page(), 0);
}

TEST_F(SessionTest, ChinesePunctuationAndAlternatingQuotes) {
  Type(",<^_\"\"''");
  EXPECT_EQ(Received(), "，《…—“”‘’");
  Run(kCmdChinesePunctuation);
  host.received.clear();
  Type(",\"\"");
  EXPECT_EQ(Received(), ",\"\"");
  EXPECT_FALSE(panel->state().doubleQuoteOpen);
}

TEST_F(SessionTest, StrokeKeysZxcvbEnterStrokesAndOtherLettersAreTyped) {
  settings.Write(setting::InputBihuaByKey, 1);
  settings.Write(setting::InputBihuaKeys, "zxcvb");
  Start();
  Type("z");
  EXPECT_EQ(panel->state().inputCodes, "a");
  Type("a");
  EXPECT_EQ(Received(), "a");
  // "?" and "'" are always punctuation, never the wildcard or the separator.
  Type("?");
  EXPECT_EQ(Received(), "a？");
}

// The default keys apply too when the stored string is not five long.
TEST_F(SessionTest, DefaultStrokeKeysNeedSwitchingOnTakeTheExtraStrokesAndLosePunctuation) {
  settings.Write(setting::InputBihuaKeys, "");
  Start();
  Type("h");
  EXPECT_EQ(Received(), "h");
  Run(kCmdStrokeKeys);
  EXPECT_EQ(settings.Read(setting::InputBihuaByKey), 1);
  EXPECT_EQ(panel->Apply(kContext, UserAction::TypedKey('?')).used, 1);  // punctuation wins
  EXPECT_EQ(host.beeps, 0);
  EXPECT_EQ(panel->Apply(kContext, UserAction::TypedKey('H')).used, 1);  // the seventh default key
  EXPECT_EQ(panel->state().inputCodes, "h");
  Run(kCmdFullShape);
  // A byte that is half a character is never sent: the key is refused with a beep.
  EXPECT_EQ(panel->Apply(kContext, UserAction::TypedKey(200)).used, 0);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(Received(), "h？");
}

TEST_F(SessionTest, TheLetterPanelStaysAndThePunctuationPanelReturns) {
  ClickButton(kCmdLetters);
  EXPECT_EQ(panel->state().mode, ModeLetters);
  ASSERT_TRUE(ClickText("a"));
  ASSERT_TRUE(ClickText("b"));
  EXPECT_EQ(Received(), "ab");
  EXPECT_EQ(panel->state().mode, ModeLetters);
  ClickButton(kCmdPunctuation);
  EXPECT_EQ(panel->state().mode, ModePunct);
  ASSERT_TRUE(ClickText("，"));
  EXPECT_EQ(Received(), "ab，");
  EXPECT_EQ(panel->state().mode, ModeIdle);
  ClickButton(kCmdLetters);
  ClickButton(kCmdLetters);
  EXPECT_EQ(panel->state().mode, ModeIdle);
}

TEST_F(SessionTest, TheCharacterSetFromTheMenuOrTheDialogLooksTheStrokesUpAgainWhenItChanges) {
  ASSERT_TRUE(flags->Has(CS_BIG_CHARSET));
  ClickStrokes({"竖", "折", "横", "竖"});
  const std::vector<CandidateId> bigSet = panel->lists().mainList;
  Run(kCmdBigCharset);  // the set already shown: nothing changes
  EXPECT_TRUE(flags->Has(CS_BIG_CHARSET));
  EXPECT_EQ(panel->lists().mainList, bigSet);
  // The settings dialog switched to the common characters.
  flags->Assign(flags->word() & ~CS_BIG_CHARSET);
  panel->Apply(kContext, UserAction::NewFlags(true));
  // The same strokes, looked up in the common set: what the menu's command gives.
  EXPECT_EQ(panel->state().inputCodes, "sgas");
  EXPECT_LT(panel->lists().mainList.size(), bigSet.size());
  const std::vector<CandidateId> afterDialog = panel->lists().mainList;
  Run(kCmdBigCharset);
  EXPECT_EQ(panel->lists().mainList, bigSet);
  Run(kCmdCommonCharset);
  EXPECT_FALSE(flags->Has(CS_BIG_CHARSET));
  EXPECT_EQ(settings.Read(setting::ConversionSet) & CS_BIG_CHARSET, 0);
  EXPECT_EQ(panel->lists().mainList, afterDialog);
}

TEST_F(SessionTest, CommandsThatNeedWindowsGoToTheHostAndTheSoftKeyboardsKeysTypeItsSymbols) {
  ClickButton(kCmdSetting);
  Run(kCmdUserWord);
  Run(kCmdFirstSoftKeyboard + 13);  // 全角字符
  EXPECT_EQ(host.hostCommands,
            (std::vector<int>{kCmdSetting, kCmdUserWord, kCmdFirstSoftKeyboard + 13}));
  // A right click on the search button asks for the search-engine menu.
  const ToolbarButton& search = panel->buttonBar().buttons()[0];
  Pointer(MouseEvent::RightDown, search.rect.left + 2, search.rect.top + 2);
  Pointer(MouseEvent::RightUp, search.rect.left + 2, search.rect.top + 2);
  EXPECT_EQ(host.hostCommands.back(), kCmdEngineMenu);
  // The soft keyboard's keys: Shift+1, the ' key, Backspace, Shift+Enter, and Space: not a key of
  // the tables.
  for (auto [key, shift] :
       {std::pair{0x31u, true}, {0xDEu, false}, {8u, false}, {13u, true}, {0x20u, false}})
    panel->Apply(kContext, UserAction::SoftKeyboardKey(key, shift));
  EXPECT_EQ(Received(), "！＇<Back><Enter>");
}

TEST_F(SessionTest, MovedByCursorAsksTheHostToFollowTheCaretAfterEachClick) {
  settings.Write(setting::MovedByCursor, 1);
  Start();
  ClickStroke("横");
  EXPECT_EQ(host.caretFollows, 1);
}

// --- what a user met before, each pinned by the story that showed it ---

TEST_F(SessionTest, AfterBackspaceDeletesTheCommittedCharacterTheStrokesOfZhongShowTheFullGrid) {
  ChooseZhong();
  Press(8);  // nothing of ours to take back: the application deletes 中
  EXPECT_EQ(Received(), "中<Back>");
  EXPECT_EQ(panel->state().mode, ModeIdle);
  ClickStrokes({"竖", "折", "横", "竖"});
  EXPECT_EQ(panel->strokePanel().characters.rowsPerPage(), 2);
  EXPECT_TRUE(panel->strokePanel().phrases.empty());  // no strip of 中… phrases
  // The bar's Back button does the same.
  ASSERT_TRUE(ClickText("中"));
  ClickButton(kCmdBack);
  EXPECT_EQ(panel->state().mode, ModeIdle);
}

TEST_F(SessionTest, ClickingThePreviewAfterWeiTypesWeiyuanhuiAndLearnsNoFragment) {
  ClickStrokes({"撇", "横", "竖", "撇", "点", "折", "撇", "横"});  // 委
  ASSERT_TRUE(ClickText("委"));
  ASSERT_EQ(panel->state().mode, ModeAssociation);
  std::string preview = GbkToUtf8(panel->state().assocPreview);
  ASSERT_FALSE(preview.empty());
  ClickLine();
  EXPECT_EQ(Received(), "委" + preview);
  EXPECT_TRUE(lexicon->userWords().empty());  // 委员会 is a phrase already; never "员会"
}

// Back, Enter and Clear once went out as full-width text while strokes were typed.
TEST_F(SessionTest, FullShapeTurnsAsciiFullWidthButBackEnterAndClearStillActOnTheStrokes) {
  ClickButton(kCmdClear);
  Run(kCmdFullShape);
  EXPECT_EQ(panel->buttonBar().IconOf(kCmdFullShape), -1);  // the bar has no such button
  EXPECT_TRUE(flags->Has(CS_FULL_SHAPE));
  EXPECT_EQ(settings.Read(setting::ConversionSet) & CS_FULL_SHAPE, CS_FULL_SHAPE);
  Type("A~");
  EXPECT_EQ(Received(), "Ａ￣");  // 0xA3C1 and 0xA3FE
  Press(13);                      // a key, never the control byte as text
  EXPECT_EQ(Received(), "Ａ￣<Enter>");
  host.received.clear();
  ClickStrokes({"竖", "折", "横", "竖"});
  ClickIn(SymbolButtonRect(13));  // Enter: the key, the strokes stay
  EXPECT_EQ(Received(), "<Enter>");
  EXPECT_EQ(panel->state().inputCodes, "sgas");
  Press(8);
  EXPECT_EQ(panel->state().inputCodes, "sga");
  ClickButton(kCmdBack);
  EXPECT_EQ(panel->state().inputCodes, "sg");
  Press(27);
  EXPECT_EQ(panel->state().inputCodes, "");
  ClickStroke("横");
  ClickButton(kCmdClear);
  EXPECT_EQ(panel->state().inputCodes, "");
  EXPECT_EQ(Received(), "<Enter>");  // no ESC or BS as text
  ClickButton(kCmdBack);
  EXPECT_EQ(Received(), "<Enter><Back>");
  ExpectWholeCommits();
}

}  // namespace
}  // namespace tvime
