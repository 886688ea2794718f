// Showing a soft keyboard: the system's soft keyboard where it exists, else a window of our own on
// which the keys are clicked (the stand-alone program disables the system's input methods for its
// threads, and Wine has no soft keyboards). Our users are mouse users.

#include <windows.h>

#include "base/imm_ime_win.h"
#include "panels/guarded_window_proc_win.h"
#include "panels/panel_windows_win.h"
#include "session/command_id.h"
#include "session/soft_keyboard_panel.h"

namespace tvime {
namespace {

constexpr wchar_t kOwnKeyboardClass[] = L"TvimeSoftKeyboard";

HWND g_system = nullptr;
bool g_shift = false;
std::optional<size_t> g_hovered;

// Centred low on the screen, two keyboard heights above its bottom.
POINT KeyboardPlace(int width, int height) {
  return {GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2,
          GetSystemMetrics(SM_CYSCREEN) - 2 * height};
}

std::optional<size_t> ButtonIndexAt(int x, int y) {
  const auto& buttons = SoftKeyboardButtons();
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i].rect.Contains(x, y)) return i;
  }
  return std::nullopt;
}

void ClickOwnKeyboard(HWND window, int x, int y) {
  PanelWindows& w = *Windows();
  SoftKeyHit hit = SoftKeyboardHitTest(x, y);
  ContextHandle context = w.host->ContextFor(w.status ? w.status : window);
  switch (hit.action) {
    case SoftKeyAction::Key:
      w.panel->Apply(context, UserAction::SoftKeyboardKey(hit.virtualKey, g_shift));
      break;
    case SoftKeyAction::Shift:
      g_shift = !g_shift;
      break;
    case SoftKeyAction::Backspace:
      w.panel->Apply(context, UserAction::SoftKeyboardKey(8, false));
      break;
    case SoftKeyAction::Enter:
      w.panel->Apply(context, UserAction::SoftKeyboardKey(13, false));
      break;
    case SoftKeyAction::Close:
      w.panel->Apply(context, UserAction::Run(kCmdCloseSoftKeyboard));
      return;
    default:
      break;
  }
  InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK OwnKeyboardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PanelWindows* w = Windows();
  if (!w || !w->panel) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: {
      PaintBuffered(
          window,
          [w] {
            const SymbolTable& table = SymbolTables()[w->panel->softKeyboard().current()];
            return PaintSoftKeyboard(table, g_shift, g_hovered);
          },
          *w->artwork);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR: {
      UINT mouse = HIWORD(lParam);
      POINT client;
      GetCursorPos(&client);
      ScreenToClient(window, &client);
      if (mouse == WM_MOUSEMOVE) {
        std::optional<size_t> hovered = ButtonIndexAt(client.x, client.y);
        if (hovered != g_hovered) {
          g_hovered = hovered;
          InvalidateRect(window, nullptr, FALSE);
        }
      } else if (mouse == WM_LBUTTONUP) {
        ClickOwnKeyboard(window, client.x, client.y);
      }
      SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
      return TRUE;
    }
    case WM_DESTROY:
      if (w->softKeyboard == window) w->softKeyboard = nullptr;
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND CreateOwnKeyboard(HWND owner) {
  static bool registered = false;
  HINSTANCE instance = Windows()->resources;
  if (!registered) {
    WNDCLASSEXW keyboard{};
    keyboard.cbSize = sizeof keyboard;
    keyboard.lpfnWndProc = GuardedWindowProc<OwnKeyboardProc>;
    keyboard.hInstance = instance;
    keyboard.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    keyboard.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    keyboard.lpszClassName = kOwnKeyboardClass;
    registered = RegisterClassExW(&keyboard) != 0;
  }
  RECT frame{0, 0, kSoftKeyboardWidth, kSoftKeyboardHeight};
  DWORD style = WS_POPUP | WS_DISABLED | WS_BORDER;
  DWORD exStyle = WS_EX_NOACTIVATE | WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  POINT at = KeyboardPlace(width, height);
  return CreateWindowExW(exStyle, kOwnKeyboardClass, L"", style, at.x, at.y, width, height, owner,
                         nullptr, instance, nullptr);
}

void SendKeyData(HWND keyboard) {
  SoftKeyboard::KeyData keys = Windows()->panel->softKeyboard().BuildKeyData();
  struct {
    UINT uCount;
    WORD wCode[2][256];
  } data{2, {}};
  for (int shift = 0; shift < 2; ++shift) {
    for (int key = 0; key < 256; ++key) data.wCode[shift][key] = keys.codes[shift][key];
  }
  SendMessageW(keyboard, WM_IME_CONTROL, IMC_SETSOFTKBDDATA, reinterpret_cast<LPARAM>(&data));
}

}  // namespace

void ShowSoftKeyboard() {
  PanelWindows& w = *Windows();
  SoftKeyboard& keyboard = w.panel->softKeyboard();
  if (!keyboard.shown()) {
    keyboard.SetShown(true);
    g_shift = false;
    HWND owner = w.status ? w.status : FindWindowW(w.statusClass.c_str(), nullptr);
    g_system = ImmCreateSoftKeyboard(SOFTKEYBOARD_TYPE_C1, owner, 0, 0);
    if (g_system) {
      ImmShowSoftKeyboard(g_system, SW_HIDE);
      RECT rect;
      GetWindowRect(g_system, &rect);
      int height = rect.bottom - rect.top;
      SetWindowPos(g_system, nullptr, GetSystemMetrics(SM_CXSCREEN) / 2,
                   GetSystemMetrics(SM_CYSCREEN) - 2 * height, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ImmShowSoftKeyboard(g_system, SW_SHOWNOACTIVATE);
    } else {
      w.softKeyboard = CreateOwnKeyboard(owner);
      if (w.softKeyboard) ShowWindow(w.softKeyboard, SW_SHOWNOACTIVATE);
    }
  }
  if (g_system) {
    SendKeyData(g_system);
  } else if (w.softKeyboard) {
    InvalidateRect(w.softKeyboard, nullptr, FALSE);
  }
}

void CloseSoftKeyboard() {
  PanelWindows* w = Windows();
  if (!w || !w->panel || !w->panel->softKeyboard().shown()) return;
  if (g_system) ImmDestroySoftKeyboard(g_system);
  g_system = nullptr;
  if (w->softKeyboard) DestroyWindow(w->softKeyboard);
  w->softKeyboard = nullptr;
  g_hovered.reset();
  w->panel->softKeyboard().SetShown(false);
}

}  // namespace tvime
