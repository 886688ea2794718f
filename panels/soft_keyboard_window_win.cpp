// Showing a soft keyboard: the system's soft keyboard where it exists, else a window of our own on
// which the keys are clicked (the stand-alone program disables the system's input methods for its
// threads, and Wine has no soft keyboards). Our users are mouse users.

#include <windows.h>

#include "base/dpi_win.h"
#include "base/imm_ime_win.h"
#include "panels/guarded_window_proc_win.h"
#include "panels/panel_windows_win.h"
#include "session/command_id.h"
#include "session/soft_keyboard_panel.h"
#include "settings/settings_dialog.h"

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

constexpr DWORD kKeyboardStyle = WS_POPUP | WS_DISABLED | WS_BORDER;
constexpr DWORD kKeyboardExStyle = WS_EX_NOACTIVATE | WS_EX_TOPMOST | WS_EX_TOOLWINDOW;

// The keyboard is as large as the stroke panel: its monitor's scale times the panel size.
LayoutScale KeyboardScale(int dpi) {
  return ScaleFor(dpi, Windows()->settings
                           ? ValidPanelSize(Windows()->settings->Read(setting::PanelSize))
                           : 100);
}

SIZE KeyboardWindowSize(LayoutScale scale) {
  RECT frame{0, 0, scale.Px(kSoftKeyboardWidth), scale.Px(kSoftKeyboardHeight)};
  AdjustWindowRectEx(&frame, kKeyboardStyle, FALSE, kKeyboardExStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

std::optional<size_t> ButtonIndexAt(int x, int y, LayoutScale scale) {
  const auto& buttons = SoftKeyboardButtons();
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (scale.Of(buttons[i].rect).Contains(x, y)) return i;
  }
  return std::nullopt;
}

void ClickOwnKeyboard(HWND window, int x, int y) {
  PanelWindows& w = *Windows();
  SoftKeyHit hit = SoftKeyboardHitTest(x, y, KeyboardScale(WindowDpi(window)));
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
          *w->artwork, KeyboardScale(WindowDpi(window)));
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
        std::optional<size_t> hovered =
            ButtonIndexAt(client.x, client.y, KeyboardScale(WindowDpi(window)));
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
    case kDpiChangedMessage:
      MoveToSuggestedPlace(window, lParam, KeyboardWindowSize(KeyboardScale(HIWORD(wParam))));
      return 0;
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
  PerMonitorAwareScope aware;
  SIZE size = KeyboardWindowSize(KeyboardScale(WindowDpi(nullptr)));
  POINT at = KeyboardPlace(size.cx, size.cy);
  return CreateWindowExW(kKeyboardExStyle, kOwnKeyboardClass, L"", kKeyboardStyle, at.x, at.y,
                         size.cx, size.cy, owner, nullptr, instance, nullptr);
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
