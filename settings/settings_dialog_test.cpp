#include "settings/settings_dialog.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

class SettingsDialogTest : public ::testing::Test {
 protected:
  MemorySettingsStore store;
  Settings settings{store};
  ConversionFlags flags{settings};
  bool keyStrokes = false, movedByCursor = false, openWordCiba = true;
  int phraseSortMode = 0, learnChoices = 0;
  bool predictNext = true;
  SessionOptions session{&keyStrokes,     &movedByCursor, &openWordCiba,
                         &phraseSortMode, &learnChoices,  &predictNext};
};

TEST_F(SettingsDialogTest, OpensWithTheCurrentValues) {
  flags.Assign(CS_FULL_SHAPE | CS_SMALL_PANEL);
  settings.Write(setting::SearchEngine, 3);
  phraseSortMode = 1;
  SettingsDialogState state = LoadSettingsDialog(settings, flags, session);
  EXPECT_FALSE(state.chinesePunct);
  EXPECT_TRUE(state.fullShape);
  EXPECT_TRUE(state.smallPanel);
  EXPECT_EQ(state.searchEngine, 3);
  EXPECT_TRUE(state.quitConfirm);  // the default
  EXPECT_TRUE(state.phraseSort);
  EXPECT_TRUE(state.openWordCiba);
  EXPECT_FALSE(state.learnChoices);  // off unless the user turns it on
}

TEST_F(SettingsDialogTest, OkMakesTheFlagsExactlyTheCheckedBoxesAndClearsTheSoftKeyboard) {
  flags.Assign(CS_CHINESE_PUNCT | CS_SOFT_KEYBOARD | CS_BIG_CHARSET);
  SettingsDialogState state = LoadSettingsDialog(settings, flags, session);
  state.bigCharset = false;
  ApplySettingsDialog(state, settings, flags, session);
  EXPECT_EQ(flags.word(), CS_CHINESE_PUNCT);
  EXPECT_EQ(settings.Read(setting::ConversionSet), CS_CHINESE_PUNCT);
}

TEST_F(SettingsDialogTest, OkAppliesTheOtherOptionsToTheSessionAndTheSettings) {
  SettingsDialogState state = LoadSettingsDialog(settings, flags, session);
  state.keyStrokes = true;
  state.quitConfirm = false;
  state.phraseSort = true;
  state.movedByCursor = true;
  state.openWordCiba = false;
  state.learnChoices = true;
  state.searchEngine = 5;
  ApplySettingsDialog(state, settings, flags, session);
  EXPECT_TRUE(keyStrokes);
  EXPECT_TRUE(movedByCursor);
  EXPECT_FALSE(openWordCiba);
  EXPECT_EQ(phraseSortMode, 1);
  EXPECT_EQ(settings.Read(setting::InputBihuaByKey), 1);
  EXPECT_EQ(settings.Read(setting::QuitAppConfirm), 0);
  EXPECT_EQ(settings.Read(setting::PhraseSortMode), 1);
  EXPECT_EQ(settings.Read(setting::MovedByCursor), 1);
  EXPECT_EQ(settings.Read(setting::OpenWordCiba), 0);
  EXPECT_EQ(settings.Read(setting::SearchEngine), 5);
  EXPECT_EQ(learnChoices, 1);
  EXPECT_EQ(settings.Read(setting::LearnChoices), 1);
}

// The panel size: one of four sizes, stored as "PanelSize"; any other reads and is stored as 100.
TEST_F(SettingsDialogTest, ThePanelSizeOpensAsStoredAndOkStoresTheChosenOneIfItIsOneOfTheFour) {
  EXPECT_EQ(LoadSettingsDialog(settings, flags, session).panelSize, 100);  // the default
  settings.Write(setting::PanelSize, 125);
  SettingsDialogState state = LoadSettingsDialog(settings, flags, session);
  EXPECT_EQ(state.panelSize, 125);
  state.panelSize = 150;
  ApplySettingsDialog(state, settings, flags, session);
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "PanelSize"), 150u);
  for (int size : kPanelSizes) EXPECT_EQ(ValidPanelSize(size), size);
  for (int odd : {0, -1, 99, 175, 300, 20000}) EXPECT_EQ(ValidPanelSize(odd), 100) << odd;
  settings.Write(setting::PanelSize, 175);
  EXPECT_EQ(LoadSettingsDialog(settings, flags, session).panelSize, 100);
  state.panelSize = 175;
  ApplySettingsDialog(state, settings, flags, session);
  EXPECT_EQ(settings.Read(setting::PanelSize), 100);
}

}  // namespace
}  // namespace tvime
