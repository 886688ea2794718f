#include "online/open_url_win.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <atomic>
#include <string>

#include "base/module_thread_win.h"
#include "base/program_location_win.h"
#include "base/secure_desktop.h"

namespace tvime {
namespace {

std::atomic<bool> g_refused{false};

}  // namespace

void RefuseWebPages() { g_refused = true; }

bool openUrl(std::string_view url) {
  if (g_refused || url.empty() || IsSecureDesktopProgram(OwnProgramPath())) return false;
  return StartModuleThread([url = std::string(url)] {
    // The shell may hand the address to a COM server: it wants an apartment on this thread.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOW);
    if (SUCCEEDED(com)) CoUninitialize();
  });
}

}  // namespace tvime
