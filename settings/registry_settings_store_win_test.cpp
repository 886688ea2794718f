// The registry settings store against Wine's registry.

#include "settings/registry_settings_store_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "settings/settings.h"

namespace tvime {
namespace {

TEST(RegistrySettingsStore, RoundTripsUserValues) {
  RegistrySettingsStore store;
  Settings settings(store);
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKeyPath, "CompPos");
  EXPECT_EQ(settings.Read(setting::CompPos), -1);  // missing: the default
  settings.Write(setting::CompPos, PackPosition({600, 900}));
  EXPECT_EQ(settings.Read(setting::CompPos), PackPosition({600, 900}));
  settings.Write(setting::CompPos, -1);
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "CompPos"), 0xFFFFFFFFu);

  settings.Write(setting::InputBihuaKeys, "jklio");
  EXPECT_EQ(settings.StrokeKeys(), "jklio");
  settings.Write(setting::InputBihuaKeys, "");
  EXPECT_EQ(settings.Read(setting::InputBihuaKeys), "");
}

// The store keeps the key open between reads; a key removed (an uninstall) and made again (a new
// install, another program's write) is read afresh, not as the deleted one.
TEST(RegistrySettingsStore, ReadsTheKeyAsItIsAfterItWasDeletedAndMadeAgain) {
  RegistrySettingsStore store, writer;
  ASSERT_TRUE(writer.WriteInt(SettingsRoot::User, "ConversionSet", 5));
  ASSERT_TRUE(writer.WriteString(SettingsRoot::User, "TestText", "first"));
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "ConversionSet"), 5u);
  ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKeyPath), ERROR_SUCCESS);
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "ConversionSet"), std::nullopt);
  ASSERT_TRUE(writer.WriteInt(SettingsRoot::User, "ConversionSet", 7));
  ASSERT_TRUE(writer.WriteString(SettingsRoot::User, "TestText", "second"));
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "ConversionSet"), 7u);
  EXPECT_EQ(store.ReadString(SettingsRoot::User, "TestText"), "second");
  ASSERT_TRUE(writer.WriteInt(SettingsRoot::User, "ConversionSet", 9));
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "ConversionSet"), 9u) << "a value written since";
  // The prefix is shared by the later tests, which must find no value of this test's own.
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKeyPath, "TestText");
}

TEST(RegistrySettingsStore, WritesDwordsAndStringsUnderTheSettingsKey) {
  RegistrySettingsStore store;
  ASSERT_TRUE(store.WriteInt(SettingsRoot::User, "ConversionSet", 21));
  ASSERT_TRUE(
      store.WriteString(SettingsRoot::User, "UserId", "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}"));
  DWORD type = 0, value = 0, size = sizeof value;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kSettingsKeyPath, "ConversionSet", RRF_RT_ANY, &type,
                         &value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value, 21u);
  char text[64] = {};
  size = sizeof text;
  ASSERT_EQ(
      RegGetValueA(HKEY_CURRENT_USER, kSettingsKeyPath, "UserId", RRF_RT_ANY, &type, text, &size),
      ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(text, "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}");
}

TEST(RegistrySettingsStore, MachineValuesLiveUnderTheLocalMachine) {
  RegistrySettingsStore store;
  Settings settings(store);
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "Exec.Update");
  EXPECT_EQ(settings.Read(setting::ExecUpdate), 0);
  settings.Write(setting::ExecUpdate, 1765000000);
  EXPECT_EQ(settings.Read(setting::ExecUpdate), 1765000000);
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "Exec.Update"), std::nullopt);

  settings.Write(setting::Path, "C:\\Program Files\\\xCE\xD6\xC0\xB6");  // GBK text survives
  EXPECT_EQ(settings.InstallDirectory(), "C:\\Program Files\\\xCE\xD6\xC0\xB6\\");
}

// Strings are read with one query when they fit a first buffer and again at their size when not;
// either way the whole text comes back, also when it was stored without its closing NUL.
TEST(RegistrySettingsStore, ReadsStringsOfEveryLengthWhole) {
  RegistrySettingsStore store;
  auto setRaw = [](DWORD type, const std::string& bytes) {
    return RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKeyPath, "TestText", type, bytes.data(),
                           static_cast<DWORD>(bytes.size()));
  };
  for (size_t length : {0u, 1u, 254u, 255u, 256u, 257u, 4000u}) {
    std::string text(length, 'k');
    if (length) text.back() = 'z';
    ASSERT_TRUE(store.WriteString(SettingsRoot::User, "TestText", text));
    EXPECT_EQ(store.ReadString(SettingsRoot::User, "TestText"), text) << length;
    ASSERT_EQ(setRaw(REG_SZ, text), ERROR_SUCCESS);
    EXPECT_EQ(store.ReadString(SettingsRoot::User, "TestText"), text) << length << " without a NUL";
  }
  ASSERT_EQ(setRaw(REG_BINARY, std::string(600, '\x01')), ERROR_SUCCESS);
  EXPECT_EQ(store.ReadString(SettingsRoot::User, "TestText"), std::nullopt);
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKeyPath, "TestText");
}

TEST(RegistrySettingsStore, ValuesOfAnotherTypeReadAsMissing) {
  RegistrySettingsStore store;
  ASSERT_TRUE(store.WriteString(SettingsRoot::User, "PhraseSortMode", "1"));
  EXPECT_EQ(store.ReadInt(SettingsRoot::User, "PhraseSortMode"), std::nullopt);
  EXPECT_EQ(Settings(store).Read(setting::PhraseSortMode), 0);
  ASSERT_TRUE(store.WriteInt(SettingsRoot::User, "PhraseSortMode", 0));
  EXPECT_EQ(store.ReadString(SettingsRoot::User, "PhraseSortMode"), std::nullopt);
}

}  // namespace
}  // namespace tvime
