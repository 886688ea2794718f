#pragma once
// The input method inside one application process: the engine, the session and the panels,
// started on first use on the application's thread (never under the loader lock), and the
// per-process key filter.

#include <windows.h>

#include <memory>

#include "ime/guest_process_win.h"
#include "ime/ime_hosts_win.h"

namespace tvime {

inline constexpr char kUiClassName[] = "TavrinIME3_UI";
inline constexpr wchar_t kCompositionClassName[] = L"TavrinIME3_COMP";
inline constexpr wchar_t kStatusClassName[] = L"TavrinIME3_STATUS";

using ImeModule = GuestProcess<ImeSessionHost, ImeWindowHost>;

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
