#pragma once
// The text service inside one application process: the engine, the session and the panels,
// started on first use on the application's thread (never under the loader lock), shared by the
// text services of all its threads, as in the input-method module.

#include <windows.h>

#include "ime/key_filter.h"
#include "panels/panel_runtime_win.h"
#include "settings/registry_settings_store_win.h"
#include "settings/settings.h"
#include "tsf/tsf_hosts_win.h"

namespace tvime {

inline constexpr wchar_t kTsfCompositionClassName[] = L"TavrinTSF3_COMP";
inline constexpr wchar_t kTsfStatusClassName[] = L"TavrinTSF3_STATUS";

struct TsfModule {
  // On the secure desktop the settings are read but never written, and there are no user words.
  TsfModule(HINSTANCE instance, bool onSecureDesktop);
  TsfModule(const TsfModule&) = delete;
  TsfModule& operator=(const TsfModule&) = delete;

  HINSTANCE instance;
  bool secure;
  RegistrySettingsStore registry;
  ShieldedSettingsStore store{registry, secure};
  Settings settings{store};
  TsfSessionHost sessionHost;
  TsfWindowHost windowHost;
  PanelRuntime runtime;
  KeyFilter keyFilter;
};

// Remembers the module's instance (from DllMain).
void SetTsfInstance(HINSTANCE instance);
HINSTANCE TsfInstance();

// The started text service's process state, or nullptr when it could not start; every caller
// then lets the application go on as if there were no input method. `secureMode`: the framework
// activated the service on the secure desktop (the first activation decides for the process).
TsfModule* StartTsfModule(bool secureMode);
// The state when it has started; nullptr before.
TsfModule* TsfModuleIfStarted();
// Ends it (process detach while the process goes on).
void StopTsfModule();

}  // namespace tvime
