// The panel size: one of four sizes, stored as "PanelSize", chosen in the settings dialog.

#include <gtest/gtest.h>

#include "settings/settings_dialog.h"

namespace tvime {
namespace {

class PanelSizeSettingTest : public ::testing::Test {
 protected:
  MemorySettingsStore store;
  Settings settings{store};
  ConversionFlags flags{settings};
  bool keyStrokes = false, movedByCursor = false, openWordCiba = true;
  bool predictNext = true;
  int phraseSortMode = 0, learnChoices = 0;
  SessionOptions session{&keyStrokes,     &movedByCursor, &openWordCiba,
                         &phraseSortMode, &learnChoices,  &predictNext};
};

TEST_F(PanelSizeSettingTest, TheDialogOpensWithTheStoredSizeAndOkStoresTheChosenOne) {
  EXPECT_EQ(LoadSettingsDialog(settings, flags, session).panelSize, 100);  // the default
  settings.Write(setting::PanelSize, 125);
  SettingsDialogState state = LoadSettingsDialog(settings, flags, session);
  EXPECT_EQ(state.panelSize, 125);
  state.panelSize = 150;
  ApplySettingsDialog(state, settings, flags, session);
  EXPECT_EQ(settings.Read(setting::PanelSize), 150);
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "PanelSize"), 150u);
}

TEST_F(PanelSizeSettingTest, OnlyTheFourSizesAreKept) {
  for (int size : kPanelSizes) EXPECT_EQ(ValidPanelSize(size), size);
  for (int odd : {0, -1, 99, 175, 300, 20000}) EXPECT_EQ(ValidPanelSize(odd), 100) << odd;
  settings.Write(setting::PanelSize, 175);
  EXPECT_EQ(LoadSettingsDialog(settings, flags, session).panelSize, 100);
  SettingsDialogState state = LoadSettingsDialog(settings, flags, session);
  state.panelSize = 175;
  ApplySettingsDialog(state, settings, flags, session);
  EXPECT_EQ(settings.Read(setting::PanelSize), 100);
}

}  // namespace
}  // namespace tvime
