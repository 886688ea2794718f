#include "panels/windows_session_host_win.h"

#include "base/gdi_scope_win.h"

#include "panels/panel_windows_win.h"
#include "session/window_placement.h"

namespace tvime {
namespace {

constexpr int kHintStripHeight = 29;

// The height of "A" in the window's font: the caret's line is about that high.
int LineHeight(HWND window) {
  WindowDc dc(window);
  if (!dc) return 16;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  HGDIOBJ previous = font ? SelectObject(dc.get(), font) : nullptr;
  SIZE size{0, 16};
  GetTextExtentPoint32W(dc.get(), L"A", 1, &size);
  if (previous) SelectObject(dc.get(), previous);
  return size.cy;
}

}  // namespace

namespace {

// The panel's windows, once they are installed: the session may refresh while the runtime is
// still being made (loading the user's words), before there is anything to draw.
HWND CompositionWindow() { return Windows() ? Windows()->composition : nullptr; }

}  // namespace

void WindowsSessionHost::Invalidate(bool erase) {
  if (HWND composition = CompositionWindow()) InvalidateRect(composition, nullptr, erase);
  // The status window shows the flags that the panel's commands toggle.
  if (HWND status = Windows() ? Windows()->status : nullptr) InvalidateRect(status, nullptr, FALSE);
}

void WindowsSessionHost::InvalidateHintStrip() {
  HWND composition = CompositionWindow();
  if (!composition) return;
  RECT client;
  GetClientRect(composition, &client);
  client.top = client.bottom - Windows()->panel->scale().Px(kHintStripHeight);
  InvalidateRect(composition, &client, FALSE);
}

void WindowsSessionHost::Beep() { MessageBeep(0xFFFFFFFF); }

void WindowsSessionHost::LookUpWord(std::string_view text) { LookUpWordOnline(text); }

void WindowsSessionHost::RunHostCommand(ContextHandle context, int id) {
  RunWindowCommand(context, id);
}

bool WindowsSessionHost::CaretOf(ContextHandle, POINT& caret, HWND& window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(0, &info) || !info.hwndCaret) return false;
  caret = {info.rcCaret.left, info.rcCaret.top};
  ClientToScreen(info.hwndCaret, &caret);
  window = info.hwndCaret;
  return true;
}

void WindowsSessionHost::FollowCaret(ContextHandle context) {
  HWND composition = CompositionWindow();
  POINT caret;
  HWND window = nullptr;
  if (!composition || !CaretOf(context, caret, window)) return;
  RECT rect, work;
  GetWindowRect(composition, &rect);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int top = FollowCaretTop(caret.y, LineHeight(window), rect.bottom - rect.top, work.bottom);
  if (top != rect.top) {
    SetWindowPos(composition, nullptr, rect.left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace tvime
