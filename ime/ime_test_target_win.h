#pragma once
// For the Wine tests of the input method: an application window with its own input context that
// records the input-method messages it receives and the result string they announce.

#include <windows.h>

#include <string>
#include <vector>

#include "base/imm_ime_win.h"

namespace tvime::testing {

struct ImeMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  std::string result;  // GBK, the result string when lParam has GCS_RESULTSTR
  bool operator==(const ImeMessage&) const = default;
};

class ImeTestTarget {
 public:
  ImeTestTarget() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TvimeImeTestTarget";
    RegisterClassW(&windowClass);
    window = CreateWindowExW(0, L"TvimeImeTestTarget", L"target", WS_OVERLAPPEDWINDOW, 10, 10, 200,
                             100, nullptr, nullptr, windowClass.hInstance, nullptr);
    context = ImmCreateContext();
    if (window && context) {
      ImmAssociateContext(window, context);
      // The manager fills in the context's window when the window gains the focus; the test
      // plays the manager.
      if (INPUTCONTEXT* fields = ImmLockIMC(context)) {
        fields->hWnd = window;
        ImmUnlockIMC(context);
      }
    }
    received().clear();
  }
  ImeTestTarget(const ImeTestTarget&) = delete;
  ImeTestTarget& operator=(const ImeTestTarget&) = delete;
  ~ImeTestTarget() {
    if (window) ImmAssociateContext(window, nullptr);
    if (context) ImmDestroyContext(context);
    if (window) DestroyWindow(window);
  }

  // Every input-method message so far.
  static std::vector<ImeMessage>& received() {
    static std::vector<ImeMessage> messages;
    return messages;
  }

  HWND window = nullptr;
  HIMC context = nullptr;

 private:
  // Read from the context's block as the documented layout places it. ImmGetCompositionStringA
  // would do the same on Windows; Wine reads every context whose layout is not this input
  // method's as Unicode, which only the installed end-to-end test avoids.
  static std::string ResultOf(HIMC context) {
    std::string result;
    INPUTCONTEXT* fields = context ? ImmLockIMC(context) : nullptr;
    if (!fields) return result;
    if (auto* block = static_cast<COMPOSITIONSTRING*>(ImmLockIMCC(fields->hCompStr))) {
      result.assign(reinterpret_cast<const char*>(block) + block->dwResultStrOffset,
                    block->dwResultStrLen);
      ImmUnlockIMCC(fields->hCompStr);
    }
    ImmUnlockIMC(context);
    return result;
  }

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_IME_COMPOSITION: {
        ImeMessage record{message, wParam, lParam, {}};
        if (lParam & GCS_RESULTSTR) record.result = ResultOf(ImmGetContext(window));
        received().push_back(record);
        return 0;
      }
      case WM_IME_ENDCOMPOSITION:
      case WM_IME_NOTIFY:
      case WM_IME_KEYDOWN:
        received().push_back({message, wParam, lParam, {}});
        return 0;
      default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
  }
};

}  // namespace tvime::testing
