#pragma once
// The panels' window procedures run inside other people's applications: nothing may escape from
// them into the system's message dispatch, where an exception ends the application.

#include <windows.h>

namespace tvime {

template <WNDPROC Handler>
LRESULT CALLBACK GuardedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return Handler(window, message, wParam, lParam);
  } catch (...) {
    // A paint that failed before it began must still validate the window, or WM_PAINT comes
    // back at once, forever.
    if (message == WM_PAINT) ValidateRect(window, nullptr);
    return 0;
  }
}

}  // namespace tvime
