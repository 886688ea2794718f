#include "session/window_placement.h"

#include <gtest/gtest.h>

#include "settings/settings.h"

namespace tvime {
namespace {

constexpr Rect kWorkArea{0, 0, 1280, 770};  // a taskbar of 30 pixels below

TEST(CompositionWindowPlacement, NeverPlacedGoesToTheBottomRight) {
  EXPECT_EQ(PlaceCompositionWindow(-1, kWorkArea, 290, 156), (Point{1280 - 300, 770 - 166}));
}

TEST(CompositionWindowPlacement, AStoredPositionIsRestoredWhenItFits) {
  EXPECT_EQ(PlaceCompositionWindow(PackPosition({400, 300}), kWorkArea, 290, 156),
            (Point{300, 400}));
  EXPECT_EQ(PlaceCompositionWindow(PackPosition({770 - 156, 1280 - 290}), kWorkArea, 290, 156),
            (Point{990, 614}));  // touching the corner still fits
}

TEST(CompositionWindowPlacement, APositionOffTheWorkAreaFallsBackToTheCorner) {
  Point corner{980, 604};
  for (WindowPosition p : {WindowPosition{-5, 100}, {100, -1}, {700, 100}, {100, 1100}}) {
    EXPECT_EQ(PlaceCompositionWindow(PackPosition(p), kWorkArea, 290, 156), corner)
        << p.top << "," << p.left;
  }
}

TEST(StatusWindowPlacement, OutsideOrNeverPlacedGoesNearTheBottomLeft) {
  Point fallback{10, 770 - 26 - 5};
  EXPECT_EQ(PlaceStatusWindow(-1, kWorkArea, 206, 26), fallback);
  EXPECT_EQ(PlaceStatusWindow(PackPosition({0, 50}), kWorkArea, 206, 26), fallback);
  EXPECT_EQ(PlaceStatusWindow(PackPosition({760, 50}), kWorkArea, 206, 26), fallback);
  EXPECT_EQ(PlaceStatusWindow(PackPosition({300, 1100}), kWorkArea, 206, 26), fallback);
  EXPECT_EQ(PlaceStatusWindow(PackPosition({300, 1074}), kWorkArea, 206, 26), (Point{1074, 300}));
}

TEST(CaretFollowing, TheWindowGoesBelowTheCaretLineOrAboveItAtTheBottom) {
  EXPECT_EQ(FollowCaretTop(200, -16, 156, 770), 200 + 24);
  EXPECT_EQ(FollowCaretTop(700, 16, 156, 770), 700 - 24 - 156);
}

}  // namespace
}  // namespace tvime
