#include "tsf/tsf_module_win.h"

#include <memory>

#include "base/imm_ime_win.h"
#include "ime/secure_desktop_win.h"

namespace tvime {
namespace {

HINSTANCE g_instance = nullptr;
std::unique_ptr<TsfModule> g_module;
INIT_ONCE g_started = INIT_ONCE_STATIC_INIT;
bool g_classesRegistered = false;

// No CS_IME: these are an ordinary program's windows to the system.
constexpr UINT kPanelClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;

}  // namespace

void SetTsfInstance(HINSTANCE instance) { g_instance = instance; }

HINSTANCE TsfInstance() { return g_instance; }

namespace {

// `secureMode` points to the framework's word for the secure desktop.
BOOL CALLBACK StartOnce(INIT_ONCE*, void* secureMode, void**) {
  if (!g_instance) return TRUE;
  try {
    // The module's rule for the secure desktop, with the framework's word for it in place of the
    // input-method manager's.
    bool secure = OnSecureDesktop(*static_cast<bool*>(secureMode) ? IME_SYSINFO_WINLOGON : 0);
    if (!g_classesRegistered) {
      RegisterPanelWindowClasses(g_instance, kTsfCompositionClassName, kTsfStatusClassName,
                                 kPanelClassStyle);
      g_classesRegistered = true;
    }
    g_module = std::make_unique<TsfModule>(g_instance, secure, kTsfStatusClassName);
  } catch (...) {
  }
  return TRUE;
}

}  // namespace

TsfModule* StartTsfModule(bool secureMode) {
  // The system's one-time initialization, as in the module: std::call_once would start the C++
  // runtime's thread support in every application the text service is activated in.
  InitOnceExecuteOnce(&g_started, StartOnce, &secureMode, nullptr);
  return g_module.get();
}

TsfModule* TsfModuleIfStarted() { return g_module.get(); }

void StopTsfModule() {
  g_module.reset();
  if (g_classesRegistered) {
    UnregisterClassW(kTsfCompositionClassName, g_instance);
    UnregisterClassW(kTsfStatusClassName, g_instance);
    g_classesRegistered = false;
  }
}

}  // namespace tvime
