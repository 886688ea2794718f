#pragma once
// The text service inside one application process: the engine, the session and the panels,
// started on first use on the application's thread (never under the loader lock), shared by the
// text services of all its threads, as in the input-method module.

#include <windows.h>

#include "ime/guest_process_win.h"
#include "tsf/tsf_hosts_win.h"

namespace tvime {

inline constexpr wchar_t kTsfCompositionClassName[] = L"TavrinTSF3_COMP";
inline constexpr wchar_t kTsfStatusClassName[] = L"TavrinTSF3_STATUS";

using TsfModule = GuestProcess<TsfSessionHost, TsfWindowHost>;

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
