#include "ime/ime_module_win.h"

#include <ctime>

#include "base/user_data_path_win.h"
#include "ime/ui_window_win.h"
#include "panels/guarded_window_proc_win.h"
#include "settings/user_id.h"

namespace tvime {

namespace {

HINSTANCE g_instance = nullptr;
std::unique_ptr<ImeModule> g_module;
bool g_startFailed = false;
bool g_classesRegistered = false;

constexpr UINT kImeClassStyle = CS_IME | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
constexpr int kUiWindowExtra = 2 * sizeof(LONG_PTR);  // the context and the private block

}  // namespace

ImeModule::ImeModule(HINSTANCE module)
    : instance(module), runtime(module, settings, sessionHost, windowHost, UserDataPath) {
  EnsureUserId(settings, NewGuidText, static_cast<std::int64_t>(std::time(nullptr)));
  runtime.windows.statusClass = kStatusClassName;
}

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }

HINSTANCE ModuleInstance() { return g_instance; }

ImeModule* Module() {
  if (g_module || g_startFailed || !g_instance) return g_module.get();
  try {
    RegisterImeWindowClasses();
    g_module = std::make_unique<ImeModule>(g_instance);
  } catch (...) {
    g_startFailed = true;
  }
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
  ui.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
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
