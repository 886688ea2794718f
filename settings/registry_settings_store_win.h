#pragma once
// The settings store of the system: values of the registry key
// "Software\Tavrin\tvime3.0\Settings" under HKEY_CURRENT_USER (user) or HKEY_LOCAL_MACHINE
// (machine). Integers are REG_DWORD, strings REG_SZ in the ANSI code page.

#include "settings/settings_store.h"

namespace tvime {

inline constexpr char kSettingsKeyPath[] = "Software\\Tavrin\\tvime3.0\\Settings";

class RegistrySettingsStore : public SettingsStore {
 public:
  std::optional<std::uint32_t> ReadInt(SettingsRoot root, std::string_view name) const override;
  std::optional<std::string> ReadString(SettingsRoot root, std::string_view name) const override;
  bool WriteInt(SettingsRoot root, std::string_view name, std::uint32_t value) override;
  bool WriteString(SettingsRoot root, std::string_view name, std::string_view text) override;
};

}  // namespace tvime
