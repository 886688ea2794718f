#include "settings/settings.h"

#include <gtest/gtest.h>

#include "settings/conversion_flags.h"
#include "settings/user_id.h"

namespace tvime {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  MemorySettingsStore store;
  Settings settings{store};
};

// Defaults with a behaviour behind them are checked with it: window positions, conversion flags,
// the settings dialog, the word lookup.
TEST_F(SettingsTest, MissingValuesAndValuesOfTheWrongTypeReadAsTheirDefaults) {
  EXPECT_EQ(settings.Read(setting::Position), -1);
  EXPECT_EQ(settings.Read(setting::UserId), "");
  EXPECT_EQ(settings.StrokeKeys(), "asdfgthn?'");
  store.WriteString(SettingsRoot::User, "ConversionSet", "7");
  EXPECT_EQ(settings.Read(setting::ConversionSet), 4);
}

TEST_F(SettingsTest, ValuesGoToTheirOwnRoot) {
  settings.Write(setting::ExecUpdate, 1700000000);
  settings.Write(setting::Path, "C:\\Program Files\\tvime");
  EXPECT_EQ(store.ReadInt(SettingsRoot::Machine, "Exec.Update"), 1700000000u);
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "Exec.Update"), std::nullopt);
  EXPECT_EQ(store.ReadString(SettingsRoot::Machine, "Path"), "C:\\Program Files\\tvime");
  settings.Write(setting::NoShowLicense, 1);
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "NoShowLicense3.1"), 1u);
  EXPECT_EQ(settings.Read(setting::NoShowLicense), 1);
}

TEST_F(SettingsTest, InstallDirectoryEndsWithOneBackslash) {
  EXPECT_EQ(settings.InstallDirectory(), "");
  settings.Write(setting::Path, "C:\\tvime");
  EXPECT_EQ(settings.InstallDirectory(), "C:\\tvime\\");
  settings.Write(setting::Path, "C:\\tvime\\");
  EXPECT_EQ(settings.InstallDirectory(), "C:\\tvime\\");
}

TEST_F(SettingsTest, StrokeKeysOtherThanFiveLongFallBackToTheDefault) {
  for (const char* keys : {"asdf", "asdfgh", "", "asdfgthn?'"}) {
    settings.Write(setting::InputBihuaKeys, keys);
    EXPECT_EQ(settings.StrokeKeys(), "asdfgthn?'") << keys;
  }
  settings.Write(setting::InputBihuaKeys, "jklio");
  EXPECT_EQ(settings.StrokeKeys(), "jklio");
}

TEST(ShieldedSettingsStore, WritesGoThroughUntilShieldedThenStayInMemoryAboveTheStore) {
  MemorySettingsStore registry;
  ShieldedSettingsStore store(registry);
  Settings settings(store);
  settings.Write(setting::CompPos, 5);
  EXPECT_EQ(Settings(registry).Read(setting::CompPos), 5);
  store.Shield();
  settings.Write(setting::CompPos, 7);
  settings.WriteInt("Path", 1, SettingsRoot::Machine);
  EXPECT_EQ(settings.Read(setting::CompPos), 7);            // the program sees its change
  EXPECT_EQ(Settings(registry).Read(setting::CompPos), 5);  // the store never does
  EXPECT_FALSE(registry.ReadInt(SettingsRoot::Machine, "Path"));
  // A value shadowed with another type reads as missing in the old type, as in the registry.
  registry.WriteString(SettingsRoot::User, "Name", "kept");
  store.WriteInt(SettingsRoot::User, "Name", 3);
  EXPECT_FALSE(store.ReadString(SettingsRoot::User, "Name"));
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "Name"), 3u);
  EXPECT_EQ(registry.ReadString(SettingsRoot::User, "Name"), "kept");
  EXPECT_EQ(store.ReadString(SettingsRoot::User, "Other"), std::nullopt);
}

TEST(WindowPosition, PacksTopHighAndLeftLowAndKeepsNegativeCoordinates) {
  EXPECT_EQ(PackPosition({0x12, 0x34}), 0x00120034);
  EXPECT_EQ(UnpackPosition(0x00120034)->top, 0x12);
  EXPECT_EQ(UnpackPosition(0x00120034)->left, 0x34);
  std::optional<WindowPosition> offscreen = UnpackPosition(PackPosition({-20, -1280}));
  ASSERT_TRUE(offscreen);
  EXPECT_EQ(offscreen->top, -20);
  EXPECT_EQ(offscreen->left, -1280);
}

TEST_F(SettingsTest, NeverPlacedAndMissingPositionsBehaveTheSame) {
  EXPECT_FALSE(UnpackPosition(settings.Read(setting::CompPos)));
  settings.Write(setting::CompPos, -1);
  EXPECT_FALSE(UnpackPosition(settings.Read(setting::CompPos)));
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "CompPos"), 0xFFFFFFFFu);
}

TEST_F(SettingsTest, ConversionFlagsStartWithChinesePunctuationForcedOnInMemoryOnly) {
  ConversionFlags defaults(settings);
  EXPECT_EQ(defaults.word(), CS_BIG_CHARSET | CS_CHINESE_PUNCT);
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "ConversionSet"), std::nullopt);

  settings.Write(setting::ConversionSet, CS_FULL_SHAPE);
  EXPECT_EQ(ConversionFlags(settings).word(), CS_FULL_SHAPE | CS_CHINESE_PUNCT);
}

TEST_F(SettingsTest, ToggleReportsAClearedFlagAndWritesTheWord) {
  ConversionFlags flags(settings);
  EXPECT_TRUE(flags.Toggle(CS_BIG_CHARSET));
  EXPECT_FALSE(flags.Has(CS_BIG_CHARSET));
  EXPECT_EQ(settings.Read(setting::ConversionSet), CS_CHINESE_PUNCT);
  EXPECT_FALSE(flags.Toggle(CS_SOFT_KEYBOARD));
  EXPECT_EQ(settings.Read(setting::ConversionSet), CS_CHINESE_PUNCT | CS_SOFT_KEYBOARD);
  flags.Assign(CS_SMALL_PANEL);
  EXPECT_EQ(settings.Read(setting::ConversionSet), CS_SMALL_PANEL);
}

TEST_F(SettingsTest, UserIdIsCreatedOnceWithItsRegistrationTime) {
  int made = 0;
  auto newGuid = [&made] {
    ++made;
    return std::string("{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}");
  };
  EXPECT_EQ(EnsureUserId(settings, newGuid, 1765000000), "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}");
  EXPECT_EQ(settings.Read(setting::UserRegTime), 1765000000);
  EXPECT_EQ(EnsureUserId(settings, newGuid, 1800000000), "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}");
  EXPECT_EQ(made, 1);
  EXPECT_EQ(settings.Read(setting::UserRegTime), 1765000000);
}

}  // namespace
}  // namespace tvime
