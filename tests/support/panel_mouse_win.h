#pragma once
// Test helper: the mouse as a disabled, non-activating panel sees it. Such a window never gets
// mouse messages of its own: each arrives as WM_SETCURSOR with the hit-test code in the low word
// of lParam and the mouse message in the high word, while the cursor stands where the user points.

#include <windows.h>

#include <initializer_list>

namespace tvime::testing {

// Puts the cursor at the window's client point, then sends each of `mouse` with `hitTest`
// (HTERROR for a disabled window, HTCLIENT for an enabled one).
inline void PointAndSend(HWND window, POINT client,
                         std::initializer_list<UINT> mouse = {WM_LBUTTONDOWN, WM_LBUTTONUP},
                         UINT hitTest = HTERROR) {
  ClientToScreen(window, &client);
  SetCursorPos(client.x, client.y);
  for (UINT message : mouse) {
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(hitTest, message));
  }
}

}  // namespace tvime::testing
