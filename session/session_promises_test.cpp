// What a user relies on whatever the path: the label clicked is the text the application gets,
// nothing typed is lost on a switch of panel or mode, and what is shown belongs to the input now.
// Each story is one a user met mixing panels, keys and modes.

#include <gmock/gmock.h>

#include <algorithm>

#include "session/command_id.h"
#include "session/pinyin_subpanel.h"
#include "session/stroke_subpanel.h"
#include "session/test_panel.h"
#include "tests/support/gbk_literals.h"

namespace tvime {
namespace {

using testing::G;
using std::string_literals::operator""s;

class SessionPromiseTest : public testing::PanelTest {
 public:
  void StartWith(bool searchMode, bool pinyin = false) {
    if (searchMode) settings.Write(setting::SearchMode, 1);
    if (pinyin) return StartInPinyin();
    Start();
  }
  // Shift+1 on the full-width soft keyboard: ！
  void SoftKeyExclamation() {
    Run(kCmdFirstSoftKeyboard + 13);  // 全角字符
    panel->Apply(kContext, UserAction::SoftKeyboardKey('1', true));
  }
};

// --- the pinyin panel after punctuation and symbols ---

// A story told in steps, in or out of search mode, and what the application has after them.
struct Story {
  const char* name;
  bool searchMode;
  void (*steps)(SessionPromiseTest&);
  const char* received;
};

void PrintTo(const Story& story, std::ostream* out) { *out << story.name; }
std::string StoryName(const ::testing::TestParamInfo<Story>& info) { return info.param.name; }

// 南 on the pinyin panel offers 方 to follow it (南方). Whatever ends the word takes the offer
// away: a 方 shown afterwards is the character itself, and a click on it adds only 方.
class PinyinFollowOnEndTest : public SessionPromiseTest,
                              public ::testing::WithParamInterface<Story> {};

TEST_P(PinyinFollowOnEndTest, ALaterClickSendsOnlyTheClickedWord) {
  const Story& story = GetParam();
  StartWith(story.searchMode, true);
  Type("nan1");
  ASSERT_EQ(story.searchMode ? Pending() : Received(), "南");
  ASSERT_TRUE(Shows("方"));
  story.steps(*this);
  EXPECT_EQ(Received(), story.received);
  EXPECT_EQ(Pending(), "");
  EXPECT_TRUE(panel->pinyinPanel().phrases.empty());
  if (ClickText("方")) {
    EXPECT_EQ(Received(), story.searchMode ? story.received : story.received + "方"s);
    EXPECT_EQ(Pending(), story.searchMode ? "方" : "");
  }
  ExpectWholeCommits();
}

constexpr Story kFollowOnEnds[] = {
    {"TypedComma", false, [](SessionPromiseTest& t) { t.Type(","); }, "南，"},
    {"FullStopSymbol", false,
     [](SessionPromiseTest& t) { t.ClickIn(SymbolRowItems(7, 109)[1].rect); }, "南。"},
    {"BackspaceInSearchMode", true, [](SessionPromiseTest& t) { t.Press(8); }, ""},
};
INSTANTIATE_TEST_SUITE_P(Stories, PinyinFollowOnEndTest, ::testing::ValuesIn(kFollowOnEnds),
                         StoryName);

// --- soft keyboards ---

TEST_F(SessionPromiseTest, ASoftKeySendsOnlyItsSymbolAndLeavesNoStaleLabelToClick) {
  ClickStrokes({"竖", "折", "横", "竖"});
  SoftKeyExclamation();
  EXPECT_EQ(Received(), "！");
  EXPECT_EQ(panel->state().sendBuffer, "");
  ChooseZhong();
  ASSERT_TRUE(ClickText("国"));
  EXPECT_EQ(Received(), "！中国");
  ASSERT_TRUE(Shows("共产党"));
  SoftKeyExclamation();
  EXPECT_EQ(Received(), "！中国！");
  EXPECT_FALSE(Shows("共产党"));  // the words before ！ have nothing following them
  // A click on the line sends nothing more: there is no preview left.
  ClickLine();
  EXPECT_EQ(Received(), "！中国！");
}

TEST_F(SessionPromiseTest, SoftKeyAfterAUserWordWithALetterNeverSendsHalfACharacter) {
  UseUserWords({"中A"});
  Start();
  ChooseZhong();
  ASSERT_EQ(GbkToUtf8(panel->state().assocPreview), "A");  // the user word comes first
  ASSERT_TRUE(Shows("国"));
  SoftKeyExclamation();
  // 国 was a follow-on of 中; whatever 国 is shown now sends itself, whole.
  bool clicked = ClickText("国");
  EXPECT_EQ(Received(), clicked ? "中！国" : "中！");
  ExpectWholeCommits();
}

// --- search mode: pending text across switches and keys ---

// 中 chosen, then a switch or a key, then what sends: nothing typed is lost or sent twice, and
// the order is kept.
class PendingTextTest : public SessionPromiseTest, public ::testing::WithParamInterface<Story> {};

void SwitchSearchModeThenComma(SessionPromiseTest& t) {
  t.Run(kCmdSearchMode);
  t.Type(",");
}

TEST_P(PendingTextTest, ArrivesOnceAndInOrder) {
  StartWith(GetParam().searchMode);
  ChooseZhong();
  GetParam().steps(*this);
  EXPECT_EQ(Received(), GetParam().received);
  EXPECT_EQ(Pending(), "");
  ExpectWholeCommits();
}

constexpr Story kPendingStories[] = {
    {"ThePunctuationPanelThenAComma", true,
     [](SessionPromiseTest& t) {
       ASSERT_TRUE(t.ClickButton(kCmdPunctuation));
       EXPECT_TRUE(t.LineShows("中"));
       ASSERT_TRUE(t.ClickText("，"));
     },
     "中，"},
    {"ThePunctuationPanelThenItsLine", true,
     [](SessionPromiseTest& t) {
       ASSERT_TRUE(t.ClickButton(kCmdPunctuation));
       t.ClickLine();
     },
     "中"},
    {"TheLetterPanelThenALetter", true,
     [](SessionPromiseTest& t) {
       ASSERT_TRUE(t.ClickButton(kCmdLetters));
       ASSERT_TRUE(t.ClickText("a"));
     },
     "中a"},
    {"PinyinAndBackThenTheLine", true,
     [](SessionPromiseTest& t) {
       ASSERT_TRUE(t.ClickButton(kCmdPinyinSwitch));
       EXPECT_EQ(t.Pending(), "中");
       EXPECT_TRUE(t.LineShows("中"));
       ASSERT_TRUE(t.ClickButton(kCmdPinyinSwitch));
       EXPECT_EQ(t.Pending(), "中");
       t.ClickLine();
     },
     "中"},
    {"SearchModeOnAfterTheCommitThenAComma", false, SwitchSearchModeThenComma, "中，"},
    {"SearchModeOffThenAComma", true, SwitchSearchModeThenComma, "中，"},
    {"ACommaTheFullStopSymbolAndALetterEachAfterAChoice", true,
     [](SessionPromiseTest& t) {
       t.Type(",");
       t.ChooseZhong();
       t.ClickIn(SymbolButtonRect(1));  // 。
       t.ChooseZhong();
       t.Type("a");
     },
     "中，中。中a"},
    {"EnterThenACommaThenZhongAndTheEnterSymbol", true,
     [](SessionPromiseTest& t) {
       t.Press(13);
       t.Type(",");
       t.ChooseZhong();
       t.ClickIn(SymbolButtonRect(13));
     },
     "中<Enter>，中<Enter>"},
};
INSTANTIATE_TEST_SUITE_P(Stories, PendingTextTest, ::testing::ValuesIn(kPendingStories), StoryName);

TEST_F(SessionPromiseTest, PinyinPendingTextIsShownEscapeTakesItBackAndTheLineOrEnterSendsIt) {
  StartWith(true, true);
  Type("zhong1guo");
  Press(27);  // the spelling first, the pending text second
  EXPECT_EQ(GbkToUtf8(panel->pinyinPanel().Spelling()), "");
  EXPECT_EQ(Pending(), "中");
  EXPECT_TRUE(LineShows("中"));
  Press(27);
  EXPECT_EQ(Pending(), "");
  EXPECT_EQ(Received(), "");
  Type("zhong1guo1");
  ASSERT_EQ(Pending(), "中国");
  EXPECT_TRUE(LineShows("中国"));
  ClickLine();
  EXPECT_EQ(Received(), "中国");
  EXPECT_EQ(Pending(), "");
  Type("zhong1");
  Press(13);  // the pending text before the key
  EXPECT_EQ(Received(), "中国中<Enter>");
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
  Start();
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

// --- the window: hints, the line ---

// Escape once left the hint of a character no longer under the cursor.
TEST_F(SessionPromiseTest, TheHintDescribesTheCharacterUnderTheCursorAndARightClickLooksItUp) {
  ClickStrokes({"竖", "折", "横", "竖"});
  const Point at = Middle(panel->strokePanel().VisibleItems().front().rect);
  Pointer(MouseEvent::Move, at.x, at.y);
  EXPECT_EQ(GbkToUtf8(panel->state().hoverText), "中: zhōng zhòng|sgas");
  Pointer(MouseEvent::RightUp, at.x, at.y);
  EXPECT_EQ(host.lookups, std::vector<std::string>{G("中")});
  Press(27);
  const PanelItem* now = HitTest(panel->strokePanel().VisibleItems(), at.x, at.y);
  ASSERT_TRUE(now);
  std::string shown = GbkToUtf8(panel->strokePanel().CharacterText(now->value));
  ASSERT_NE(shown, "中");
  EXPECT_TRUE(GbkToUtf8(panel->state().hoverText).starts_with(shown))
      << GbkToUtf8(panel->state().hoverText);
  Do(ActionKind::CursorLeft);
  EXPECT_EQ(panel->state().hoverText, "");
}

TEST_F(SessionPromiseTest, TheHintOfACharacterWhoseSecondByteIsABarShowsItWhole) {
  // A character of the GBK extension whose trail byte is 0x7C, the hint's separator, shown on
  // the first page of its own strokes.
  for (size_t i = 0; i < lexicon->characters().count; ++i) {
    const CharEntry& entry = lexicon->characters().EntryAt(i);
    std::string_view text = entry.text;
    if (text.size() != 2 || text[1] != '|') continue;
    ClickButton(kCmdClear);
    ClickStrokesOf(GbkToUtf8(text));
    for (const PanelItem& item : panel->strokePanel().VisibleItems()) {
      if (item.kind != ItemCharacter || panel->strokePanel().CharacterText(item.value) != text)
        continue;
      Pointer(MouseEvent::Move, item.rect.left + 5, item.rect.top + 5);
      bool hintShown = false;
      for (const DrawText& drawn : Drawn<DrawText>()) {
        if (drawn.rect.top < kHintStrip.top) continue;
        EXPECT_TRUE(IsWholeGbkText(drawn.text)) << ::testing::PrintToString(drawn.text);
        hintShown |= drawn.text.starts_with(text);
      }
      EXPECT_TRUE(hintShown);
      return;
    }
  }
  ADD_FAILURE() << "no character with a bar byte shows on its strokes' first page";
}

// Nothing on the line reaches under the bar's buttons, and the end of the input stays in view:
// the strokes drawn are the last ones typed, after the end of the pending text.
TEST_F(SessionPromiseTest, TheLineKeepsLeftOfTheBarButtonsWithTheEndOfTheInputInView) {
  struct Story {
    bool searchMode;
    int zhongs;  // 中 chosen first, pending in search mode
    const char* strokesOf;
  };
  for (const Story& story : {Story{false, 0, "矗"}, Story{true, 8, "矗"}, Story{true, 10, "一"}}) {
    SCOPED_TRACE(::testing::Message() << story.zhongs << " 中 and " << story.strokesOf);
    StartWith(story.searchMode);
    for (int i = 0; i < story.zhongs; ++i) ChooseZhong();
    ClickStrokesOf(story.strokesOf);
    const std::string& typed = panel->state().inputCodes;
    ASSERT_EQ(typed.size(), story.strokesOf == std::string("矗") ? 24u : 1u);
    Line line = DrawnLine();
    EXPECT_EQ(line.underButtons, "");
    EXPECT_FALSE(line.strokes.empty());
    EXPECT_TRUE(typed.ends_with(line.strokes)) << line.strokes << " of " << typed;
    if (story.zhongs > 0) {
      EXPECT_TRUE(std::ranges::any_of(
          line.texts, [](const std::string& text) { return text.ends_with("中中"); }));
    }
  }
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

}  // namespace
}  // namespace tvime
