#pragma once
// What the input method keeps inside an application's process, whichever front end loaded it
// (the IMM32 module or the text service): the settings, the engine, the session and the panels,
// and the key filter. One per process, started on first use on the application's thread (never
// under the loader lock). On the secure desktop the settings are read but never written, there
// are no user words, the dictionaries are the process's own and no web page opens.

#include <windows.h>

#include <ctime>

#include "base/user_data_path_win.h"
#include "ime/key_filter.h"
#include "online/open_url_win.h"
#include "panels/panel_runtime_win.h"
#include "settings/registry_settings_store_win.h"
#include "settings/settings.h"
#include "settings/user_id.h"

namespace tvime {

template <class SessionHost, class WindowHost>
struct GuestProcess {
  GuestProcess(HINSTANCE module, bool onSecureDesktop, const wchar_t* statusClass)
      : instance(module),
        secure(onSecureDesktop),
        runtime(module, settings, sessionHost, windowHost,
                onSecureDesktop ? UserDataPathFn() : UserDataPathFn(UserDataPath),
                onSecureDesktop ? DictionarySharing::Private : DictionarySharing::Shared) {
    if (!secure) EnsureUserId(settings, NewGuidText, static_cast<std::int64_t>(std::time(nullptr)));
    runtime.windows.statusClass = statusClass;
    runtime.windows.secureDesktop = secure;
    // Every caller checks the flag above; the browser's own check is the last line.
    if (secure) RefuseWebPages();
  }
  GuestProcess(const GuestProcess&) = delete;
  GuestProcess& operator=(const GuestProcess&) = delete;

  HINSTANCE instance;
  bool secure;
  RegistrySettingsStore registry;
  ShieldedSettingsStore store{registry, secure};
  Settings settings{store};
  SessionHost sessionHost;
  WindowHost windowHost;
  PanelRuntime runtime;
  KeyFilter keyFilter;
};

}  // namespace tvime
