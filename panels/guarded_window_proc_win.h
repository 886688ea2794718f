#pragma once
// The panels' window procedures run inside other people's applications: nothing may escape from
// them into the system's message dispatch, where an exception ends the application, and they use
// the session only in their thread's turn (a message that cannot have it is left to the system).

#include <windows.h>

#include "panels/session_lock_win.h"

namespace tvime {

template <WNDPROC Handler>
LRESULT CALLBACK GuardedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    SessionLock turn;
    if (!turn) {
      if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
      ValidateRect(window, nullptr);
      return 0;
    }
    return Handler(window, message, wParam, lParam);
  } catch (...) {
    // A paint that failed before it began must still validate the window, or WM_PAINT comes
    // back at once, forever.
    if (message == WM_PAINT) ValidateRect(window, nullptr);
    return 0;
  }
}

}  // namespace tvime
