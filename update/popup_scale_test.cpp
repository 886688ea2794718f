// The update notification at other display scales: as wide and as far in from the edges as its
// 96-dpi layout times the monitor's scale.

#include <gtest/gtest.h>

#include "update/updater_rules.h"

namespace tvime {
namespace {

TEST(PopupScale, TheNotificationGrowsWithTheMonitorsDpi) {
  const ScreenRect work{0, 0, 1920, 1040};
  EXPECT_EQ(PopupRect(DockSide::Bottom, work, 90, 96), PopupRect(DockSide::Bottom, work, 90));
  // 170 wide, 10 from the right and 5 above the bottom (7.5, rounded up), at 150 %.
  EXPECT_EQ(PopupRect(DockSide::Bottom, work, 135, 144), (ScreenRect{1650, 897, 1905, 1032}));
  EXPECT_EQ(PopupRect(DockSide::Left, {40, 0, 1920, 1080}, 180, 192),
            (ScreenRect{60, 890, 420, 1070}));
  EXPECT_EQ(PopupPixels(kPopupHeight, 144), 135);
}

}  // namespace
}  // namespace tvime
