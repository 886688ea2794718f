#pragma once
// The dpi of a window's monitor, and per-monitor awareness for the windows a thread makes. The
// functions came with Windows 10 (1607 and 1703): they are looked up at run time, so the
// programs and the module still start on older systems, where everything is at the system dpi.

#include <windows.h>

#include "base/exported_function_win.h"

namespace tvime {

// The system's dpi: the one the stock fonts (DEFAULT_GUI_FONT) are made for.
inline int SystemDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// The dpi of the monitor `window` is on as the window sees it (96 for a window that is not
// dpi-aware: the system scales it); the system's dpi for nullptr or where the call is missing.
inline int WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow =
      ExportedFunction<GetDpiForWindowFn>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  if (window && getDpiForWindow) {
    if (UINT dpi = getDpiForWindow(window); dpi != 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

// While it lives, windows the thread makes are per-monitor aware (v2 where the system has it),
// whatever the process declared: the module's panels are then sharp and sized for their monitor
// even in a host that is not dpi-aware, which the system would otherwise stretch. Where the
// system has no such call the thread keeps its awareness.
class PerMonitorAwareScope {
 public:
  PerMonitorAwareScope() {
    using SetContextFn = HANDLE(WINAPI*)(HANDLE);
    static const auto setContext = ExportedFunction<SetContextFn>(GetModuleHandleW(L"user32.dll"),
                                                                  "SetThreadDpiAwarenessContext");
    if (!setContext) return;
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 (-4), else the first per-monitor level (-3).
    previous_ = setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));
    if (!previous_) previous_ = setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3)));
    set_ = setContext;
  }
  PerMonitorAwareScope(const PerMonitorAwareScope&) = delete;
  PerMonitorAwareScope& operator=(const PerMonitorAwareScope&) = delete;
  ~PerMonitorAwareScope() {
    if (set_ && previous_) set_(previous_);
  }
  // Whether the thread is per-monitor aware now.
  bool changed() const { return previous_ != nullptr; }

 private:
  HANDLE(WINAPI* set_)(HANDLE) = nullptr;
  HANDLE previous_ = nullptr;
};

// WM_DPICHANGED, which older SDK headers lack.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// The answer to WM_DPICHANGED: the window takes the suggested place (`lParam`, which keeps it
// where the user sees it) at `size`, its size at the new scale, and is drawn again.
inline void MoveToSuggestedPlace(HWND window, LPARAM lParam, SIZE size) {
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, suggested->left, suggested->top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window, nullptr, FALSE);
}

}  // namespace tvime
