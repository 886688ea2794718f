#pragma once
// The settings store of the system: values of the registry key
// "Software\Tavrin\tvime3.0\Settings" under HKEY_CURRENT_USER (user) or HKEY_LOCAL_MACHINE
// (machine). Integers are REG_DWORD, strings REG_SZ in the ANSI code page.

#include <windows.h>

#include <functional>
#include <mutex>

#include "settings/settings_store.h"

namespace tvime {

inline constexpr char kSettingsKeyPath[] = "Software\\Tavrin\\tvime3.0\\Settings";

class RegistrySettingsStore : public SettingsStore {
 public:
  RegistrySettingsStore() = default;
  RegistrySettingsStore(const RegistrySettingsStore&) = delete;
  RegistrySettingsStore& operator=(const RegistrySettingsStore&) = delete;
  ~RegistrySettingsStore() override;

  std::optional<std::uint32_t> ReadInt(SettingsRoot root, std::string_view name) const override;
  std::optional<std::string> ReadString(SettingsRoot root, std::string_view name) const override;
  bool WriteInt(SettingsRoot root, std::string_view name, std::uint32_t value) override;
  bool WriteString(SettingsRoot root, std::string_view name, std::string_view text) override;

 private:
  // Runs `query` on the settings key of `root`, opened for reading once and kept open: opening
  // and closing the key for every value made the dozen reads of a start cost a millisecond. A
  // key deleted meanwhile (an uninstall, a test) is opened again.
  LONG Query(SettingsRoot root, const std::function<LONG(HKEY)>& query) const;

  mutable std::mutex mutex_;  // the module reads from its own threads too
  mutable HKEY readKeys_[2] = {};
};

}  // namespace tvime
