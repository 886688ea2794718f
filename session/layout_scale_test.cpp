// The panels at other display scales: one 96-dpi layout, scaled for drawing and hit-testing
// alike, so a click in device pixels lands on the item drawn there.

#include <gtest/gtest.h>

#include "session/button_bar.h"
#include "session/command_id.h"
#include "session/layout_report.h"
#include "session/news_line.h"
#include "session/status_bar.h"
#include "session/stroke_subpanel.h"
#include "session/test_panel.h"

namespace tvime {
namespace {

constexpr int kScales[] = {96, 120, 144, 168, 192, 216, 288};

TEST(LayoutScale, ScalesSizesAndPositionsFromThe96DpiLayout) {
  EXPECT_EQ(LayoutScale{}.Of(Rect{3, 131, 264, 153}), (Rect{3, 131, 264, 153}));
  EXPECT_EQ(LayoutScale{144}.Px(kPanelWidth), 435);
  EXPECT_EQ(LayoutScale{144}.Px(kPanelHeight), 234);
  EXPECT_EQ(LayoutScale{192}.Of(Point{kPanelWidth, kPanelHeight}), (Point{580, 312}));
  EXPECT_EQ(LayoutScale{120}.Px(18), 23);  // 22.5 rounds half up
  EXPECT_EQ(LayoutScale{120}.Px(-18), -23);
  // The panel size multiplies the monitor's scale; nonsense falls back to 100 %.
  EXPECT_EQ(ScaleFor(144, 150).dpi, 216);
  EXPECT_EQ(ScaleFor(96, 200).dpi, 192);
  EXPECT_EQ(ScaleFor(0, 150).dpi, 144);
  EXPECT_EQ(ScaleFor(144, 7).dpi, 144);
}

class ScaledPanelTest : public testing::PanelTest {
 protected:
  void ClickScaled(const Rect& layout) { ClickIn(panel->scale().Of(layout)); }
  // The stroke buttons of 中 (竖 折 横 竖), clicked where the scaled panel draws them.
  void ClickZhongStrokes() {
    for (int stroke : {1, 4, 0, 1}) ClickScaled(StrokeButtonRect(stroke));
  }
};

// The end-to-end tests click where the layout report says, turning pages until the item is
// reported.
TEST_F(ScaledPanelTest, ClicksAtReportedPlacesTypeZhongThenTheFollowOnPhraseRenminAtEveryScale) {
  for (int dpi : kScales) {
    SCOPED_TRACE(dpi);
    panel->SetScale({dpi});
    host.received.clear();
    ClickZhongStrokes();
    for (const char* label : {"中", "国", "人民"}) ASSERT_TRUE(ClickReported(label, 3)) << label;
    EXPECT_EQ(Received(), "中国人民");
    ClickButton(kCmdClear);
  }
}

TEST_F(ScaledPanelTest, TheReportGivesScaledPositions) {
  ClickZhongStrokes();
  const std::vector<ReportedItem> at96 = ReportedItems();
  panel->SetScale({144});
  const std::vector<ReportedItem> at144 = ReportedItems();
  ASSERT_EQ(at144.size(), at96.size());
  // Every reported rectangle is one and a half times its 96-dpi one.
  for (size_t i = 0; i < at96.size(); ++i) {
    EXPECT_EQ(at144[i].kind, at96[i].kind);
    EXPECT_EQ(at144[i].value, at96[i].value);
    EXPECT_EQ(at144[i].rect, LayoutScale{144}.Of(at96[i].rect)) << at96[i].label;
  }
  EXPECT_GT(at96.size(), 24u);  // characters as well as the 24 stroke and symbol buttons
}

TEST_F(ScaledPanelTest, EveryItemAndButtonIsHitInTheMiddleOfWhereItIsDrawn) {
  ClickZhongStrokes();
  for (int dpi : kScales) {
    SCOPED_TRACE(dpi);
    LayoutScale scale{dpi};
    const std::vector<PanelItem>& items = panel->currentSubpanel().VisibleItems();
    for (const PanelItem& item : items) {
      Point middle = Middle(scale.Of(item.rect));
      EXPECT_EQ(HitTest(items, middle.x, middle.y, scale), &item);
    }
    const auto& buttons = panel->buttonBar().buttons();
    for (size_t i = 0; i < buttons.size(); ++i) {
      Point middle = Middle(scale.Of(buttons[i].rect));
      EXPECT_EQ(panel->buttonBar().ButtonAt(middle.x, middle.y, scale), static_cast<int>(i));
    }
  }
}

TEST_F(ScaledPanelTest, AClickWhereThe96DpiPanelHadAButtonMissesItOnTheLargerPanel) {
  panel->SetScale({192});
  // The 横 button's 96-dpi middle lies above the 200 % panel's stroke buttons, where the idle
  // panel shows nothing: nothing is typed.
  Rect r = StrokeButtonRect(0);
  ClickIn(r);
  EXPECT_TRUE(panel->state().inputCodes.empty());
  ClickScaled(r);
  EXPECT_EQ(panel->state().inputCodes.size(), 1u);
}

TEST(ScaledBars, StatusBarAndNewsLineHitWhereTheyAreDrawn) {
  LayoutScale scale{144};
  EXPECT_EQ(StatusButtonAt(scale.Px(65), scale.Px(10), scale), StatusOpen);
  EXPECT_EQ(StatusButtonAt(scale.Px(199), 5, scale), StatusUserWord);
  EXPECT_EQ(StatusButtonAt(scale.Px(201), 5, scale), StatusNone);
  EXPECT_EQ(StatusButtonAt(5, scale.Px(20) + 1, scale), StatusNone);

  NewsLine news(kHintStrip, 0);
  news.SetScale(scale);
  EXPECT_FALSE(news.Hover({kHintStrip.right + 5, kHintStrip.bottom + 5}));
  // Below the 96-dpi strip but inside the scaled one.
  EXPECT_TRUE(news.Hover({scale.Px(kHintStrip.left) + 4, scale.Px(kHintStrip.bottom) - 2}));
}

}  // namespace
}  // namespace tvime
