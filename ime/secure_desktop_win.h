#pragma once
// Whether the input method runs on the secure desktop, from every sign Windows gives of it.

#include <windows.h>

#include "base/secure_desktop.h"

namespace tvime {

// True when the platform said so in ImeInquire (IME_SYSINFO_WINLOGON in `systemInfo`), when the
// process is one of the secure desktop's programs, or when the thread's desktop is "Winlogon".
bool OnSecureDesktop(DWORD systemInfo);

}  // namespace tvime
