// The status window: the bar of toggle buttons. A short press runs a button; a press held for
// 600 ms drags the window, shown as an outline until the button is released.

#include <windows.h>

#include "base/dpi_win.h"
#include "base/gbk.h"
#include "base/gdi_scope_win.h"

#include "panels/panel_windows_win.h"
#include "session/command_id.h"
#include "session/menus.h"
#include "session/status_bar.h"
#include "session/user_word.h"
#include "session/window_placement.h"

namespace tvime {

void ShowMenu(HWND owner, int menuId, const MenuState& state, POINT at, UINT flags,
              ContextHandle context);

namespace {

constexpr UINT_PTR kDragTimer = 101;
constexpr UINT kDragPollMs = 50;  // how often a held press checks whether it became a drag

constexpr DWORD kStatusStyle = WS_POPUP | WS_DISABLED | WS_DLGFRAME;
constexpr DWORD kStatusExStyle = WS_EX_NOACTIVATE | WS_EX_WINDOWEDGE;

StatusPress g_press;

// The bar is drawn at its own monitor's scale (the panel size is the stroke panel's).
LayoutScale StatusScale(HWND window) { return ScaleFor(WindowDpi(window)); }

// The window around the bar of buttons at `scale`.
SIZE StatusWindowSize(LayoutScale scale) {
  RECT frame{0, 0, scale.Px(kStatusBarWidth), scale.Px(kStatusBarHeight)};
  AdjustWindowRectEx(&frame, kStatusStyle, FALSE, kStatusExStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}
bool g_outlineShown = false;
POINT g_outlineAt{0, 0};

void DrawOutline(HWND window, POINT topLeft) {
  RECT rect;
  GetWindowRect(window, &rect);
  WindowDc screen(nullptr);
  if (!screen) return;
  RECT outline{topLeft.x, topLeft.y, topLeft.x + rect.right - rect.left,
               topLeft.y + rect.bottom - rect.top};
  DrawFocusRect(screen.get(), &outline);  // XOR: drawing twice erases
}

POINT DragTarget() {
  POINT cursor;
  GetCursorPos(&cursor);
  return {cursor.x - g_press.grabOffset.x, cursor.y - g_press.grabOffset.y};
}

void RepaintComposition() {
  if (Windows()->composition) InvalidateRect(Windows()->composition, nullptr, FALSE);
}

void ShowComposition(bool show) {
  HWND composition = Windows()->composition;
  if (!composition) return;
  if (show) {
    ShowCompositionWindow(composition);
  } else {
    ShowWindow(composition, SW_HIDE);
  }
}

// What a short press on a button does.
void RunButton(HWND window, StatusButton button) {
  PanelWindows& w = *Windows();
  CompositionPanel& panel = *w.panel;
  ConversionFlags& flags = panel.flags();
  ContextHandle context = w.host->ContextFor(window);
  switch (button) {
    case StatusOpen: {
      bool open = !w.host->IsOpen(context);
      if (!open) panel.Apply(context, UserAction::Just(ActionKind::InputClosed));
      w.host->SetOpen(context, open);
      // The stored flag may say "soft keyboard" with none shown (a keyboard the platform
      // closed): what decides is whether one is on the screen.
      ShowComposition(open && !panel.softKeyboard().shown());
      break;
    }
    case StatusLogo: {
      RECT rect;
      GetWindowRect(window, &rect);
      ShowMenu(window, kMenuMain,
               StatusLogoMenu(flags, panel.softKeyboard().current(), w.host->HasExitCommand()),
               {rect.left, rect.top}, TPM_BOTTOMALIGN, context);
      break;
    }
    case StatusShape:
      panel.Apply(context, UserAction::Run(kCmdFullShape));
      break;
    case StatusPunctuation:
      panel.Apply(context, UserAction::Run(kCmdChinesePunctuation));
      RepaintComposition();
      break;
    case StatusSoftKeyboard: {
      // The session flips the flag (and forgets its lookup under a keyboard being shown) before
      // the windows change.
      bool shown = panel.softKeyboard().shown();
      panel.Apply(context, UserAction::Just(ActionKind::SoftKeyboardToggled));
      if (shown) {
        ShowComposition(true);
        CloseSoftKeyboard();
      } else {
        ShowComposition(false);
        ShowSoftKeyboard();
      }
      break;
    }
    case StatusCharset:
      panel.Apply(context,
                  UserAction::Run(flags.Has(CS_BIG_CHARSET) ? kCmdCommonCharset : kCmdBigCharset));
      break;
    case StatusPanelSize:
      panel.Apply(context, UserAction::Just(ActionKind::PanelSizeToggled));
      if (w.composition && IsWindowVisible(w.composition)) ShowCompositionWindow(w.composition);
      break;
    case StatusUserWord: {
      if (w.secureDesktop) break;  // no clipboard and no message box there
      std::string selected = FetchSelectedText(w.host->ApplicationWindow(context));
      UserWordResult result = CreateUserWord(panel.lexicon(), selected, UserWordPath::StatusButton);
      std::u16string text = GbkToUtf16(Utf8ToGbk(result.message));
      std::u16string caption = GbkToUtf16(Utf8ToGbk(kUserWordCaption));
      MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()),
                  reinterpret_cast<const wchar_t*>(caption.c_str()), MB_OK);
      break;
    }
    default:
      break;
  }
}

void OnMouse(HWND window, UINT mouse) {
  POINT client = CursorInClient(window);
  switch (mouse) {
    case WM_LBUTTONDOWN:
      SetCapture(window);
      SetWindowLongW(window, kDragStateWord, 1);
      g_press.LeftDown(client.x, client.y, static_cast<std::int64_t>(GetTickCount()),
                       StatusScale(window));
      SetTimer(window, kDragTimer, kDragPollMs, nullptr);
      InvalidateRect(window, nullptr, FALSE);
      break;
    case WM_RBUTTONDOWN:
      SetCapture(window);
      SetWindowLongW(window, kDragStateWord, 1);
      g_press.RightDown(client.x, client.y, StatusScale(window));
      break;
    case WM_MOUSEMOVE:
      if (g_press.dragging()) {
        if (g_outlineShown) DrawOutline(window, g_outlineAt);
        g_outlineAt = DragTarget();
        DrawOutline(window, g_outlineAt);
        g_outlineShown = true;
        SetWindowLongW(window, kDragStateWord, 2);
      }
      break;
    case WM_LBUTTONUP: {
      KillTimer(window, kDragTimer);
      ReleaseCapture();
      bool dragged = g_press.dragging();
      StatusButton run = g_press.LeftUp();
      if (dragged) {
        if (g_outlineShown) DrawOutline(window, g_outlineAt);
        POINT target = DragTarget();
        SetWindowPos(window, nullptr, target.x, target.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
      }
      g_outlineShown = false;
      SetWindowLongW(window, kDragStateWord, 0);
      InvalidateRect(window, nullptr, FALSE);
      if (run != StatusNone) RunButton(window, run);
      break;
    }
    case WM_RBUTTONUP: {
      StatusButton button = g_press.RightUp();
      if (button != StatusSoftKeyboard) {
        RECT rect;
        GetWindowRect(window, &rect);
        ShowMenu(window, kMenuMain, StatusRightClickMenu(Windows()->host->HasExitCommand()),
                 {rect.left, rect.top}, TPM_BOTTOMALIGN, Windows()->host->ContextFor(window));
      }
      ReleaseCapture();
      SetWindowLongW(window, kDragStateWord, 0);
      break;
    }
    default:
      break;
  }
}

StatusPicture Picture(HWND window) {
  PanelWindows& w = *Windows();
  return {w.host->IsOpen(w.host->ContextFor(window)), w.panel->flags().word()};
}

}  // namespace

LRESULT CALLBACK StatusWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PanelWindows* w = Windows();
  if (!w || !w->panel) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      w->status = window;
      return 0;
    case WM_DESTROY:
      KillTimer(window, kDragTimer);
      if (w->status == window) w->status = nullptr;
      return 0;
    case WM_PAINT: {
      bool hidePanel = false;
      PaintBuffered(
          window,
          [&] {
            StatusPicture picture = Picture(window);
            hidePanel = !picture.open || w->panel->softKeyboard().shown();
            return PaintStatusBar(picture, g_press.ShownPress());
          },
          *w->artwork, StatusScale(window));
      // The composition window follows the open state (and hides behind a soft keyboard).
      if (w->composition && hidePanel) ShowWindow(w->composition, SW_HIDE);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR: {
      UINT mouse = SingleClickMessage(HIWORD(lParam));
      if (mouse == WM_LBUTTONDOWN || mouse == WM_RBUTTONDOWN || mouse == WM_LBUTTONUP ||
          mouse == WM_RBUTTONUP || mouse == WM_MOUSEMOVE) {
        // The class has no cursor (loading one costs every application's start under Wine), and
        // the pointer must not keep the shape of the window it came from.
        if (!g_press.dragging())
          SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
        OnMouse(window, mouse);
        return TRUE;
      }
      return DefWindowProcW(window, message, wParam, lParam);
    }
    // With the mouse captured the messages come directly.
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
      if (GetCapture() == window) OnMouse(window, SingleClickMessage(message));
      return 0;
    case WM_TIMER:
      if (wParam == kDragTimer) {
        if (!g_press.pressed()) {
          KillTimer(window, kDragTimer);
        } else if (g_press.Tick(static_cast<std::int64_t>(GetTickCount()))) {
          KillTimer(window, kDragTimer);
          SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEALL)));
          InvalidateRect(window, nullptr, FALSE);
        }
      }
      return 0;
    case kDpiChangedMessage:
      MoveToSuggestedPlace(window, lParam, StatusWindowSize(ScaleFor(HIWORD(wParam))));
      return 0;
    case WM_MOVE: {
      RECT rect;
      GetWindowRect(window, &rect);
      w->settings->Write(setting::Position, PackPosition({rect.top, rect.left}));
      return 0;
    }
    default:
      if (w->host->IsInputMethodMessage(message)) return 0;
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void ShowInputState(bool open) {
  PanelWindows* w = Windows();
  if (!w || !w->panel) return;
  if (w->status) InvalidateRect(w->status, nullptr, FALSE);
  ShowComposition(open && !w->panel->softKeyboard().shown());
}

HWND CreateStatusBarWindow(HINSTANCE instance, const wchar_t* className, HWND owner) {
  // Read before the window exists: its creation moves it, and a move stores the position.
  std::int32_t stored = Windows()->settings->Read(setting::Position);
  // Per-monitor aware whatever the host declared, so the bar is sharp at any scale.
  PerMonitorAwareScope aware;
  HWND window = CreateWindowExW(kStatusExStyle, className, L"", kStatusStyle, 0, 0, kStatusWidth,
                                kStatusHeight, owner, nullptr, instance, nullptr);
  if (!window) return nullptr;
  SetWindowLongPtrW(window, kOwnerWord, reinterpret_cast<LONG_PTR>(owner));
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SIZE size = StatusWindowSize(StatusScale(window));
  Point at =
      PlaceStatusWindow(stored, {work.left, work.top, work.right, work.bottom}, size.cx, size.cy);
  SetWindowPos(window, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

}  // namespace tvime
