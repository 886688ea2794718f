// What the stroke panel shows and where: the layout rules a user relies on to click.

#include "session/stroke_subpanel.h"

#include <gmock/gmock.h>

#include <algorithm>

#include "session/command_id.h"
#include "session/test_panel.h"
#include "tests/support/gbk_literals.h"

namespace tvime {
namespace {

using testing::G;

TEST(PhraseLabels, LongPhrasesAreCutAfterThreeCharactersAndTheSharedStartIsLeftOut) {
  EXPECT_EQ(PhraseLabel(G("中华人民"), 0), G("中华人民"));         // 8 bytes: whole
  EXPECT_EQ(PhraseLabel(G("中华人民共"), 0), G("中华人") + "..");  // 10 bytes: 6 and ".."
  EXPECT_EQ(PhraseLabel(G("中国"), 2), G("国"));
  EXPECT_EQ(PhraseLabel(G("中"), 4), "");
}

class StrokePanelTest : public testing::PanelTest {};

TEST_F(StrokePanelTest, AClickOnTheEdgeTwoItemsShareGoesToTheFirstLaidOut) {
  // Symbols 0 and 1 share the edge x = 155.
  Click(155, 90);
  EXPECT_EQ(Received(), "，");
}

TEST_F(StrokePanelTest, CharactersSitOnTheGridInRowsOfTen) {
  ClickStroke("横");
  const std::vector<PanelItem>& items = panel->strokePanel().VisibleItems();
  ASSERT_EQ(items[0].kind, ItemCharacter);
  EXPECT_EQ(items[0].rect, (Rect{6, 30, 26, 50}));
  EXPECT_EQ(items[9].rect.left, 6 + 9 * 26);
  EXPECT_EQ(items[10].rect.top, 56);  // the second row of the page
  // The next page reuses the same cells.
  panel->PageNext();
  EXPECT_EQ(panel->strokePanel().VisibleItems()[0].rect, (Rect{6, 30, 26, 50}));
  EXPECT_EQ(panel->strokePanel().VisibleItems()[0].value,
            static_cast<std::int64_t>(panel->lists().mainList[20]));
}

TEST_F(StrokePanelTest, PhraseLabelsFlowAndWrapBeforeTheHintStripEdge) {
  ClickStrokes({"竖", "折", "横", "竖", "分隔"});
  const PhraseStrip& phrases = panel->strokePanel().phrases;
  ASSERT_GT(phrases.items().size(), 5u);
  int previousRight = 0;
  for (const PanelItem& item : phrases.items()) {
    EXPECT_LE(item.rect.right, kHintStrip.right);
    if (item.row == 0) {
      EXPECT_GE(item.rect.left, previousRight);
      previousRight = item.rect.right;
      EXPECT_EQ(item.rect.top, 56);
    }
  }
  EXPECT_GT(phrases.pageCount(), 1);
}

// A press and its release may reach the window apart: released outside it, or taken by the
// window's own drag. Only a bar button held down now looks pressed.
TEST_F(StrokePanelTest, OnlyTheBarButtonHeldDownNowLooksPressed) {
  auto pressed = [this] {
    return std::ranges::count_if(Drawn<DrawHighlight>(), &DrawHighlight::pressed);
  };
  // Pressed inside, released outside the window; the cursor comes back over Clear.
  Pointer(MouseEvent::Move, 60, 40);
  Pointer(MouseEvent::LeftDown, 60, 40);
  const Rect clear = Button(kCmdClear)->rect;
  Pointer(MouseEvent::Move, clear.left + 5, clear.top + 5);
  ASSERT_EQ(Drawn<DrawHighlight>().size(), 1u);  // hovered
  EXPECT_EQ(pressed(), 0);
  // Held on the next-page button: its highlight darkens.
  const Rect next = panel->buttonBar().buttons()[7].rect;
  Pointer(MouseEvent::Move, next.left + 2, next.top + 2);
  ASSERT_EQ(Drawn<DrawHighlight>().size(), 1u);
  EXPECT_EQ(Drawn<DrawHighlight>()[0].rect, next);
  EXPECT_EQ(pressed(), 0);
  Pointer(MouseEvent::LeftDown, next.left + 2, next.top + 2);
  EXPECT_EQ(pressed(), 1);
  // The move button starts a drag; the window follows the cursor and takes the release itself.
  const Rect move = Button(kCmdMove)->rect;
  Pointer(MouseEvent::Move, move.left + 5, move.top + 5);
  EXPECT_TRUE(
      panel->Apply(kContext, UserAction::Pointer(MouseEvent::LeftDown, move.left + 5, move.top + 5))
          .mouse.startDrag);
  EXPECT_EQ(pressed(), 1);
  Do(ActionKind::DragEnded);
  EXPECT_EQ(pressed(), 0);
}

TEST_F(StrokePanelTest, TheLettersButtonIsFramedWhileTheLetterPanelShows) {
  auto framed = [this](int command) {
    Rect button = panel->buttonBar().buttons()[command == kCmdLetters ? 8 : 9].rect;
    return std::ranges::any_of(Drawn<DrawFrame>(),
                               [&](const DrawFrame& frame) { return frame.rect == button; });
  };
  EXPECT_FALSE(framed(kCmdLetters));
  ClickButton(kCmdLetters);
  EXPECT_TRUE(framed(kCmdLetters));
  EXPECT_FALSE(framed(kCmdPunctuation));
}

TEST_F(StrokePanelTest, HoveringAStrokeButtonShowsItsPictureRow) {
  Rect zhe = StrokeButtonRect(4);
  Pointer(MouseEvent::Move, zhe.left + 5, zhe.top + 5);
  bool pictureRow = false;
  for (const DrawBitmap& bitmap : Drawn<DrawBitmap>()) {
    if (bitmap.artwork == Artwork::StrokeHints) {
      pictureRow = bitmap.source == Rect{0, 4 * 18, 260, 5 * 18} &&
                   bitmap.at == Point{kHintStrip.left, kHintStrip.top};
    }
  }
  EXPECT_TRUE(pictureRow);
  EXPECT_GT(host.hintInvalidations, 0);
}

}  // namespace
}  // namespace tvime
