#pragma once
// Test helper: a process that shows the panels starts the background service, whose first pass
// starts the updater when it is due, and in the tests' folder tvimeup.exe lies beside the code.
// Noting an updater run just now keeps test processes from starting it behind the update tests'
// backs.

#include <ctime>

#include "settings/registry_settings_store_win.h"
#include "settings/settings.h"

namespace tvime::testing {

inline void NoteUpdaterRunJustNow() {
  RegistrySettingsStore store;
  Settings(store).Write(setting::ExecUpdate, static_cast<std::int32_t>(std::time(nullptr)));
}

}  // namespace tvime::testing
