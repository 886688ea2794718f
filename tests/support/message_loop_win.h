#pragma once
// Test helper: this thread's message loop run for a while, and a window waited for as a user
// waits for it to show.

#include <windows.h>

#include <functional>

namespace tvime::testing {

// Dispatches this thread's messages until `done` or `milliseconds` have passed; whether `done`.
inline bool PumpMessagesUntil(const std::function<bool()>& done, DWORD milliseconds) {
  for (DWORD start = GetTickCount(); !done(); Sleep(10)) {
    if (GetTickCount() - start >= milliseconds) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
}

inline void PumpMessagesFor(DWORD milliseconds) {
  PumpMessagesUntil([] { return false; }, milliseconds);
}

// The visible window of the class and title (nullptr: any), once it shows within `milliseconds`.
inline HWND WaitForShownWindow(const wchar_t* className, const wchar_t* title,
                               DWORD milliseconds = 5000) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(10)) {
    HWND window = FindWindowW(className, title);
    if (window && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

}  // namespace tvime::testing
