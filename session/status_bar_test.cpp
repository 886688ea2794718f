#include "session/status_bar.h"

#include <gtest/gtest.h>

#include "settings/conversion_flags.h"

namespace tvime {
namespace {

TEST(StatusBar, TogglesShowTheirStateAndAHeldButtonIsPressed) {
  StatusPicture picture{false, CS_FULL_SHAPE | CS_BIG_CHARSET};
  DrawList out = PaintStatusBar(picture, StatusShape | kStatusHeld);
  ASSERT_EQ(out.size(), 9u);
  auto source = [&out](size_t i) { return std::get<DrawBitmap>(out[i]).source; };
  EXPECT_EQ(source(2).left, 80);                   // 英: closed
  EXPECT_EQ(source(3), (Rect{120, 20, 140, 40}));  // full shape, pressed: lower row
  EXPECT_EQ(source(4).left, 140);                  // English punctuation
  EXPECT_EQ(source(6), (Rect{240, 0, 260, 20}));   // 繁, released
  EXPECT_EQ(source(1), (Rect{20, 0, 60, 20}));     // the brand text is 40 wide
}

TEST(StatusPress, AShortPressRunsTheButton) {
  StatusPress press;
  press.LeftDown(85, 5, 1000, {});
  EXPECT_EQ(press.ShownPress(), StatusShape | kStatusHeld);
  EXPECT_FALSE(press.Tick(1599));
  EXPECT_EQ(press.LeftUp(), StatusShape);
  EXPECT_FALSE(press.pressed());
}

TEST(StatusPress, HoldingFor600MillisecondsDragsInsteadAndRunsNothing) {
  StatusPress press;
  press.LeftDown(85, 5, 1000, {});
  EXPECT_TRUE(press.Tick(1600));
  EXPECT_TRUE(press.dragging());
  EXPECT_EQ(press.ShownPress(), 0);  // released while dragging
  EXPECT_FALSE(press.Tick(1700));    // becomes a drag once
  EXPECT_EQ(press.grabOffset, (Point{85, 5}));
  EXPECT_EQ(press.LeftUp(), StatusNone);
}

TEST(StatusPress, ARightPressIsForTheMenuAndNeverDrags) {
  StatusPress press;
  press.RightDown(125, 5, {});
  EXPECT_FALSE(press.Tick(100000));
  EXPECT_EQ(press.ShownPress(), 0);
  EXPECT_EQ(press.LeftUp(), StatusNone);
  press.RightDown(125, 5, {});
  EXPECT_EQ(press.RightUp(), StatusSoftKeyboard);
}

}  // namespace
}  // namespace tvime
