#include "ime/ime_module_win.h"

#include "ime/secure_desktop_win.h"
#include "ime/ui_window_win.h"
#include "panels/guarded_window_proc_win.h"

namespace tvime {

namespace {

HINSTANCE g_instance = nullptr;
DWORD g_systemInfo = 0;
std::unique_ptr<ImeModule> g_module;
INIT_ONCE g_started = INIT_ONCE_STATIC_INIT;
bool g_classesRegistered = false;

constexpr UINT kImeClassStyle = CS_IME | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
constexpr int kUiWindowExtra = 2 * sizeof(LONG_PTR);  // the context and the private block

}  // namespace

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }

void SetSystemInfo(DWORD systemInfo) { g_systemInfo = systemInfo; }

HINSTANCE ModuleInstance() { return g_instance; }

namespace {

BOOL CALLBACK StartModule(INIT_ONCE*, void*, void**) {
  if (!g_instance) return TRUE;
  try {
    RegisterImeWindowClasses();
    g_module =
        std::make_unique<ImeModule>(g_instance, OnSecureDesktop(g_systemInfo), kStatusClassName);
  } catch (...) {
  }
  return TRUE;
}

}  // namespace

ImeModule* Module() {
  // Two GUI threads may ask at once: one of them starts it, the other waits for that start. The
  // system's one-time initialization, not std::call_once: that one starts the C++ runtime's
  // thread support, a few more round trips on the application's first selection.
  InitOnceExecuteOnce(&g_started, StartModule, nullptr, nullptr);
  return g_module.get();
}

void StopModule() { g_module.reset(); }

void RegisterImeWindowClasses() {
  if (g_classesRegistered || !g_instance) return;
  WNDCLASSEXA ui{};
  ui.cbSize = sizeof ui;
  ui.style = kImeClassStyle;
  ui.lpfnWndProc = GuardedWindowProc<UiWindowProc>;
  ui.cbWndExtra = kUiWindowExtra;
  ui.hInstance = g_instance;
  // No class cursor: the UI window is never shown.
  ui.lpszClassName = kUiClassName;
  // Start goes on when a registration fails: the platform then has no UI window to create.
  RegisterClassExA(&ui);
  RegisterPanelWindowClasses(g_instance, kCompositionClassName, kStatusClassName, kImeClassStyle);
  g_classesRegistered = true;
}

void UnregisterImeWindowClasses() {
  if (!g_classesRegistered) return;
  UnregisterClassA(kUiClassName, g_instance);
  UnregisterClassW(kCompositionClassName, g_instance);
  UnregisterClassW(kStatusClassName, g_instance);
  g_classesRegistered = false;
}

}  // namespace tvime
