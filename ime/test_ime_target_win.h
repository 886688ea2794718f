#pragma once
// For the Wine tests of the input method: an application window with its own input context that
// records the input-method messages it receives and the result string they announce, and
// tvime30.ime loaded and started on that context.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/imm_ime_win.h"
#include "settings/registry_settings_store_win.h"
#include "settings/settings.h"
#include "tests/support/ime_module_calls_win.h"
#include "tests/support/updater_not_due_win.h"

namespace tvime::testing {

constexpr char kZhong[] = "\xD6\xD0";  // 中 in GBK

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

 private:
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

// tvime30.ime loaded beside the test program, inquired with `systemInfo` and selected on the
// target's context, with the stroke keys on: a s d f g are 横 竖 撇 点 折. With `openPanel`, the
// UI window is open and `panel` is its composition panel.
class ImeModuleFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(target.window && target.context)
        << "no display: these tests need an X server (DISPLAY)";
    NoteUpdaterRunJustNow();
    settings.Write(setting::InputBihuaByKey, 1);
    module = LoadLibraryW(ImeModulePath().c_str());
    ASSERT_TRUE(module);
    ime.emplace(module);
    ASSERT_TRUE(ime->ok());
    IMEINFO info{};
    char uiClass[64] = {};
    ASSERT_TRUE(ime->inquire(&info, uiClass, systemInfo));
    ASSERT_TRUE(ime->select(target.context, TRUE));
    if (openPanel) {
      panel = OpenUiWindow();
      ASSERT_TRUE(panel);
    }
    ImeTestTarget::received().clear();
  }

  void TearDown() override {
    if (ui) DestroyWindow(ui);
    if (module) FreeLibrary(module);
    settings.Write(setting::InputBihuaByKey, 0);
    settings.Write(setting::MovedByCursor, 0);
  }

  // The UI window as the platform creates it for the thread; returns its composition panel.
  HWND OpenUiWindow() {
    ui = CreateWindowExA(0, "TavrinIME3_UI", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, module,
                         nullptr);
    if (!ui) return nullptr;
    SetWindowLongPtrA(ui, IMMGWL_IMC, reinterpret_cast<LONG_PTR>(target.context));
    return PanelSlot()[0] ? static_cast<HWND>(LongToHandle(PanelSlot()[0])) : nullptr;
  }

  // Slot 2 of the UI window's private block: window, x, y, cx, cy.
  std::vector<int> PanelSlot() {
    auto memory = reinterpret_cast<HGLOBAL>(GetWindowLongPtrA(ui, IMMGWL_PRIVATE));
    if (!memory || GlobalSize(memory) < 60) return {0, 0, 0, 0, 0};
    auto* words = static_cast<std::int32_t*>(GlobalLock(memory));
    std::vector<int> slot(words + 10, words + 15);
    GlobalUnlock(memory);
    return slot;
  }

  DWORD systemInfo = 0;  // what ImeInquire is told
  bool openPanel = false;
  HWND panel = nullptr;
  ImeTestTarget target;
  RegistrySettingsStore store;
  Settings settings{store};
  HMODULE module = nullptr;
  HWND ui = nullptr;
  std::optional<ImeModuleCalls> ime;
};

}  // namespace tvime::testing
