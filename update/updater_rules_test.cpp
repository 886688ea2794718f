#include "update/updater_rules.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

TEST(UpdaterX86Folder, TheFolderBesideUpdatesAndNothingElse) {
  EXPECT_EQ(X86UpdateBaseUrl("http://h/updates/"), "http://h/updates-x86/");
  EXPECT_EQ(X86UpdateBaseUrl("https://h:8/a/updates/"), "https://h:8/a/updates-x86/");
  for (const char* other : {"http://h/myupdates/", "http://h/updates", "http://h/updates-x86/",
                            "http://h/updates/x/", ""}) {
    EXPECT_EQ(X86UpdateBaseUrl(other), "") << other;
  }
}

TEST(UpdaterCommandLine, OnlyTheExactWordInAnyCaseIsInteractive) {
  EXPECT_TRUE(IsInteractiveCommandLine("-showui"));
  EXPECT_TRUE(IsInteractiveCommandLine("-SHOWUI"));
  for (const char* silent : {"", "-showui x", " -showui", "/showui", "-show", "showui"}) {
    EXPECT_FALSE(IsInteractiveCommandLine(silent)) << silent;
  }
}

TEST(UpdaterPopup, TheTaskbarsSideDecidesWhereThePopupGrows) {
  // 1024 x 768 with a 30-pixel taskbar at each side in turn.
  EXPECT_EQ(ChooseDockSide({0, 0, 1024, 738}, 1024, 768), DockSide::Bottom);
  EXPECT_EQ(ChooseDockSide({0, 30, 1024, 768}, 1024, 768), DockSide::Top);
  EXPECT_EQ(ChooseDockSide({30, 0, 1024, 768}, 1024, 768), DockSide::Left);
  // Taskbar on the right: placed as for one at the bottom.
  DockSide right = ChooseDockSide({0, 0, 994, 768}, 1024, 768);
  EXPECT_EQ(right, DockSide::Other);
  EXPECT_EQ(PopupRect(right, {0, 0, 994, 768}, 90), (ScreenRect{814, 673, 984, 763}));

  EXPECT_EQ(PopupRect(DockSide::Bottom, {0, 0, 1024, 738}, 0), (ScreenRect{844, 733, 1014, 733}));
  EXPECT_EQ(PopupRect(DockSide::Bottom, {0, 0, 1024, 738}, 90), (ScreenRect{844, 643, 1014, 733}));
  EXPECT_EQ(PopupRect(DockSide::Top, {0, 30, 1024, 768}, 40), (ScreenRect{844, 30, 1014, 70}));
  EXPECT_EQ(PopupRect(DockSide::Left, {30, 0, 1024, 768}, 90), (ScreenRect{40, 673, 220, 763}));
}

// At other display scales the notification is as wide and as far in from the edges as its 96-dpi
// layout times the monitor's scale.
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
