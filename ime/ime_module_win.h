#pragma once
// The input method inside one application process: the engine, the session and the panels,
// started on first use on the application's thread (never under the loader lock), and the
// per-process key filter.

#include <windows.h>

#include <memory>

#include "ime/ime_hosts_win.h"
#include "ime/key_filter.h"
#include "panels/panel_runtime_win.h"
#include "settings/registry_settings_store_win.h"
#include "settings/settings.h"

namespace tvime {

inline constexpr char kUiClassName[] = "TavrinIME3_UI";
inline constexpr wchar_t kCompositionClassName[] = L"TavrinIME3_COMP";
inline constexpr wchar_t kStatusClassName[] = L"TavrinIME3_STATUS";

struct ImeModule {
  // On the secure desktop the settings are read but never written, and there are no user words.
  ImeModule(HINSTANCE instance, bool onSecureDesktop);
  ImeModule(const ImeModule&) = delete;
  ImeModule& operator=(const ImeModule&) = delete;

  HINSTANCE instance;
  bool secure;
  RegistrySettingsStore registry;
  ShieldedSettingsStore store{registry, secure};
  Settings settings{store};
  ImeSessionHost sessionHost;
  ImeWindowHost windowHost;
  PanelRuntime runtime;
  KeyFilter keyFilter;
};

// Remembers the module's instance (from DllMain).
void SetModuleInstance(HINSTANCE instance);
// Remembers the system information of ImeInquire, which the platform calls before anything else;
// the module starts in secure mode when it says so.
void SetSystemInfo(DWORD systemInfo);
HINSTANCE ModuleInstance();

// The started input method, or nullptr when it could not start; every caller then lets the
// application go on as if no input method were there.
ImeModule* Module();
// Ends it (process detach while the process goes on).
void StopModule();

// The UI, composition and status window classes; registration is idempotent.
void RegisterImeWindowClasses();
void UnregisterImeWindowClasses();

}  // namespace tvime
