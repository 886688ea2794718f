#include "ime/secure_desktop_win.h"

#include <string>

#include "base/imm_ime_win.h"

namespace tvime {
namespace {

std::string DesktopName(HDESK desktop) {
  char name[256] = {};
  DWORD needed = 0;
  if (!desktop || !GetUserObjectInformationA(desktop, UOI_NAME, name, sizeof name - 1, &needed)) {
    return {};
  }
  return name;
}

}  // namespace

bool OnSecureDesktop(DWORD systemInfo) {
  if (systemInfo & IME_SYSINFO_WINLOGON) return true;
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (IsSecureDesktopProgram(std::string_view(path, length < MAX_PATH ? length : 0))) return true;
  // The panel's windows open on the thread's desktop, so that desktop is the one that counts.
  // The input desktop only says where the user looks at this moment: a process on the ordinary
  // desktop that starts while the lock screen is up is not on the secure desktop, and the flag is
  // kept for the process's life. (The thread's own desktop handle must not be closed.)
  return IsSecureDesktopName(DesktopName(GetThreadDesktop(GetCurrentThreadId())));
}

}  // namespace tvime
