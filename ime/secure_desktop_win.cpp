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
  // The thread's own desktop handle must not be closed.
  if (IsSecureDesktopName(DesktopName(GetThreadDesktop(GetCurrentThreadId())))) return true;
  // An ordinary process may not open the input desktop while the secure one is shown; failing to
  // open it says nothing either way.
  if (HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS)) {
    bool secure = IsSecureDesktopName(DesktopName(input));
    CloseDesktop(input);
    if (secure) return true;
  }
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return IsSecureDesktopProgram(std::string_view(path, length < MAX_PATH ? length : 0));
}

}  // namespace tvime
