// The composition window: the floating panel the user clicks. It never takes the focus: it is a
// disabled, non-activating popup that sees the mouse through WM_SETCURSOR.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <ctime>

#include "base/dpi_win.h"
#include "base/gbk.h"
#include "panels/guarded_window_proc_win.h"
#include "panels/panel_windows_win.h"
#include "resources/resource_ids.h"
#include "session/button_bar.h"
#include "session/window_placement.h"
#include "settings/settings_dialog.h"

namespace tvime {
namespace {

constexpr UINT_PTR kHoverTimer = 1000;
constexpr UINT kHoverPeriodMs = 50;
// The news line moves on every 15 seconds: a tick a second is exact enough, and costs an idle
// application next to nothing.
constexpr UINT_PTR kNewsTimer = 1001;
constexpr UINT kNewsPeriodMs = 1000;
constexpr UINT_PTR kHintTool = 100;
constexpr int kTipWidth = 150;  // the tips' widest line, in 96-dpi units
constexpr int kMoveCursor = IDC_MOVE_CURSOR;

PanelWindows* g_windows = nullptr;
bool g_placed = false;
bool g_creating = false;  // a composition window is being made: its moves are not the user's

void InvalidateNewsLine(HWND window, bool erase) {
  Rect line = g_windows->news->scale().Of(g_windows->news->rect());
  RECT rect{line.left, line.top, line.right + 1, line.bottom + 1};
  InvalidateRect(window, &rect, erase);
}

// The mouse moved to `client` (outside the window when it left): the line's underline follows.
void NewsHover(HWND window, POINT client) {
  if (g_windows->news->Hover({client.x, client.y})) InvalidateNewsLine(window, false);
}

void NewsTick(HWND window) {
  POINT client = CursorInClient(window);
  bool arrived = g_windows->news->TakeChanged();
  bool moved =
      g_windows->news->Tick(static_cast<std::int64_t>(std::time(nullptr)), {client.x, client.y});
  if (arrived || moved) InvalidateNewsLine(window, true);
}

void NewsClicked(HWND window) {
  POINT client = CursorInClient(window);
  std::optional<NewsEntry> entry =
      g_windows->news->EntryAt({client.x, client.y}, *g_windows->measure);
  if (entry) OpenNewsEntry(*entry);
}

DrawList PaintList() {
  DrawList list = g_windows->panel->Paint();
  if (!g_windows->panel->showsHoverHint()) {
    DrawList news = g_windows->news->Paint();
    list.insert(list.end(), news.begin(), news.end());
  }
  return list;
}

MouseEvent EventOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return MouseEvent::LeftDown;
    case WM_LBUTTONUP:
      return MouseEvent::LeftUp;
    case WM_RBUTTONDOWN:
      return MouseEvent::RightDown;
    case WM_RBUTTONUP:
      return MouseEvent::RightUp;
    default:
      return MouseEvent::Move;
  }
}

// The drag of the window by its Move button: the window follows the cursor until the button is
// released.
struct Drag {
  POINT grab{0, 0};  // the cursor's offset in the window
};
Drag g_drag;

void StartDrag(HWND window) {
  POINT cursor;
  GetCursorPos(&cursor);
  RECT rect;
  GetWindowRect(window, &rect);
  g_drag.grab = {cursor.x - rect.left, cursor.y - rect.top};
  SetWindowLongW(window, kDragStateWord, 1);
  SetCapture(window);
}

// Where the user left the window: stored once, when a drag ends or the window is moved for good
// (never for each step of a drag, which would write the registry dozens of times a second).
void StorePosition(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  g_windows->settings->Write(setting::CompPos, PackPosition({rect.top, rect.left}));
  g_windows->host->CompositionMoved(window);
}

void FollowDrag(HWND window, UINT message) {
  POINT cursor;
  GetCursorPos(&cursor);
  SetWindowPos(window, nullptr, cursor.x - g_drag.grab.x, cursor.y - g_drag.grab.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (message == WM_LBUTTONUP || message == WM_RBUTTONUP) {
    SetWindowLongW(window, kDragStateWord, 0);
    ReleaseCapture();
    StorePosition(window);
    g_windows->panel->Apply(g_windows->host->ContextFor(window),
                            UserAction::Just(ActionKind::DragEnded));
  }
}

// The hover timer notices the cursor leaving the window (a disabled window gets no
// WM_MOUSELEAVE). It runs only while the cursor is over the window: idle, the input method costs
// the application nothing.
void WatchHover(HWND window) { SetTimer(window, kHoverTimer, kHoverPeriodMs, nullptr); }

// The tooltips' tools cover the buttons and the hint strip where the window draws them now.
void PlaceTooltipTools(HWND window) {
  if (!g_windows->tooltips) return;
  LayoutScale scale = g_windows->panel->scale();
  SendMessageW(g_windows->tooltips, TTM_SETMAXTIPWIDTH, 0, scale.Px(kTipWidth));
  const auto& buttons = g_windows->panel->buttonBar().buttons();
  for (size_t i = 0; i <= buttons.size(); ++i) {
    Rect r = scale.Of(i < buttons.size() ? buttons[i].rect : kHintStrip);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window;
    tool.uId = i < buttons.size() ? i : kHintTool;
    tool.rect = {r.left, r.top, r.right, r.bottom};
    SendMessageW(g_windows->tooltips, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// The window's size for the panel at `scale`: the client area is the scaled panel exactly.
SIZE WindowSizeAt(LayoutScale scale) {
  RECT frame{0, 0, scale.Px(kPanelWidth), scale.Px(kPanelHeight)};
  AdjustWindowRectEx(&frame, WS_POPUP, FALSE, WS_EX_NOACTIVATE | WS_EX_WINDOWEDGE);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void CreateTooltips(HWND window) {
  INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
  InitCommonControlsEx(&controls);
  HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                              g_windows->resources, nullptr);
  if (!tips) return;
  g_windows->tooltips = tips;
  const auto& buttons = g_windows->panel->buttonBar().buttons();
  for (size_t i = 0; i < buttons.size(); ++i) {
    std::u16string text = GbkToUtf16(Utf8ToGbk(buttons[i].tooltip));
    std::wstring wide(text.begin(), text.end());
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = i;
    Rect r = g_windows->panel->scale().Of(buttons[i].rect);
    tool.rect = {r.left, r.top, r.right, r.bottom};
    tool.lpszText = wide.data();
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, g_windows->panel->scale().Px(kTipWidth));
  SendMessageW(tips, TTM_SETDELAYTIME, TTDT_INITIAL, 1500);
  SendMessageW(tips, TTM_SETDELAYTIME, TTDT_RESHOW, 1500);
}

// The hint strip's tool gives the news line's title on request.
void ResetHintTool(HWND window) {
  if (!g_windows->tooltips) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window;
  tool.uId = kHintTool;
  SendMessageW(g_windows->tooltips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  tool.uFlags = TTF_SUBCLASS;
  Rect strip = g_windows->panel->scale().Of(kHintStrip);
  tool.rect = {strip.left, strip.top, strip.right, strip.bottom};
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(g_windows->tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// Mouse messages reach the disabled window only as WM_SETCURSOR; the tooltips get them relayed.
void RelayToTooltips(HWND window, UINT message, POINT client) {
  if (!g_windows->tooltips) return;
  MSG msg{window, message, 0, MAKELPARAM(client.x, client.y), static_cast<DWORD>(GetMessageTime()),
          {}};
  GetCursorPos(&msg.pt);
  SendMessageW(g_windows->tooltips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void SetPanelCursor(POINT client) {
  const ButtonBar& bar = g_windows->panel->buttonBar();
  LayoutScale scale = g_windows->panel->scale();
  int button = bar.ButtonAt(client.x, client.y, scale);
  HCURSOR cursor;
  if (button >= 0 && bar.buttons()[button].command == kCmdMove) {
    cursor = LoadCursorW(g_windows->resources, MAKEINTRESOURCEW(kMoveCursor));
  } else if (scale.Of(kHintStrip).Contains(client.x, client.y)) {
    cursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
  } else {
    cursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  }
  if (cursor) SetCursor(cursor);
}

LRESULT OnSetCursor(HWND window, WPARAM wParam, LPARAM lParam) {
  UINT mouse = SingleClickMessage(HIWORD(lParam));
  if (mouse == WM_LBUTTONDOWN || mouse == WM_RBUTTONDOWN) {
    CloseSoftKeyboard();
    ActivateTooltips(false);
  } else if (mouse == WM_LBUTTONUP || mouse == WM_RBUTTONUP) {
    ActivateTooltips(true);
  }
  if (mouse != WM_MOUSEMOVE && mouse != WM_LBUTTONDOWN && mouse != WM_LBUTTONUP &&
      mouse != WM_RBUTTONDOWN && mouse != WM_RBUTTONUP) {
    return DefWindowProcW(window, WM_SETCURSOR, wParam, lParam);
  }
  if (mouse != WM_MOUSEMOVE) g_windows->host->MouseButton(mouse);
  POINT client = CursorInClient(window);
  RelayToTooltips(window, mouse, client);
  ContextHandle context = g_windows->host->ContextFor(window);
  MouseResult result =
      g_windows->panel->Apply(context, UserAction::Pointer(EventOf(mouse), client.x, client.y))
          .mouse;
  if (result.startDrag) StartDrag(window);
  if (result.hintClick) NewsClicked(window);
  if (mouse == WM_MOUSEMOVE) {
    NewsHover(window, client);
    WatchHover(window);
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
  }
  SetPanelCursor(client);
  return TRUE;
}

LRESULT CALLBACK CompositionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_windows || !g_windows->panel) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      g_windows->composition = window;
      CreateTooltips(window);
      SetTimer(window, kNewsTimer, kNewsPeriodMs, nullptr);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kHoverTimer);
      KillTimer(window, kNewsTimer);
      if (g_windows->composition == window) g_windows->composition = nullptr;
      return 0;
    case WM_PAINT:
      PaintBuffered(window, PaintList, *g_windows->artwork, g_windows->panel->scale());
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_SIZE:
      ResetHintTool(window);
      g_windows->host->NewsLineSetUp();
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header && header->code == TTN_NEEDTEXTW) {
        auto* request = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        if (request->hdr.idFrom == kHintTool) {
          // The buffer is 80 characters with its terminating NUL: a longer title is cut.
          POINT client = CursorInClient(window);
          std::u16string title =
              GbkToUtf16(g_windows->news->TooltipAt({client.x, client.y}, *g_windows->measure))
                  .substr(0, std::size(request->szText) - 1);
          std::fill(std::begin(request->szText), std::end(request->szText), L'\0');
          std::copy(title.begin(), title.end(), request->szText);
        }
      }
      return 0;
    }
    case WM_SETCURSOR:
      return OnSetCursor(window, wParam, lParam);
    case WM_COMMAND:
      g_windows->panel->Apply(g_windows->host->ContextFor(window), UserAction::Run(LOWORD(wParam)));
      return 0;
    case WM_TIMER:
      if (wParam == kHoverTimer) {
        POINT client = CursorInClient(window);
        RECT rect;
        GetClientRect(window, &rect);
        if (!PtInRect(&rect, client)) {
          KillTimer(window, kHoverTimer);
          g_windows->panel->Apply(g_windows->host->ContextFor(window),
                                  UserAction::Just(ActionKind::CursorLeft));
          NewsHover(window, client);
        }
      } else if (wParam == kNewsTimer) {
        NewsTick(window);
      }
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (GetWindowLongW(window, kDragStateWord) & 1) FollowDrag(window, message);
      return 0;
    case WM_MOVE:
      // Moves before the first placement and while a window is made are not the user's; the
      // steps of a drag are stored once, at its end.
      if (!g_placed || g_creating || (GetWindowLongW(window, kDragStateWord) & 1)) return 0;
      StorePosition(window);
      return 0;
    case kDpiChangedMessage:
      // Moved to a monitor of another scale (or the scale changed): the suggested rectangle
      // keeps the window where the user sees it; its size is the panel's at the new scale.
      ScaleCompositionWindow(window, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kReloadUserWords:
      g_windows->panel->Apply(g_windows->host->ContextFor(window),
                              UserAction::Just(ActionKind::UserWordsChanged));
      return 0;
    default:
      if (g_windows->host->IsInputMethodMessage(message)) return 0;
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

void InstallPanelWindows(PanelWindows* windows) { g_windows = windows; }

PanelWindows* Windows() { return g_windows; }

POINT CursorInClient(HWND window) {
  POINT point;
  GetCursorPos(&point);
  ScreenToClient(window, &point);
  return point;
}

void ActivateTooltips(bool active) {
  if (g_windows->tooltips) SendMessageW(g_windows->tooltips, TTM_ACTIVATE, active, 0);
}

LRESULT CALLBACK StatusWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool RegisterPanelWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style,
                              HCURSOR cursor) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = style;
  windowClass.lpfnWndProc = proc;
  windowClass.cbWndExtra = kPanelWindowExtra;
  windowClass.hInstance = instance;
  windowClass.hCursor = cursor;
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass) != 0;
}

bool RegisterPanelWindowClasses(HINSTANCE instance, const wchar_t* compositionClass,
                                const wchar_t* statusClass, UINT style) {
  if (g_windows) g_windows->statusClass = statusClass;
  // No class cursors: both windows set their own as the pointer moves over them.
  bool registered = RegisterPanelWindowClass(instance, compositionClass,
                                             GuardedWindowProc<CompositionWindowProc>, style);
  return RegisterPanelWindowClass(instance, statusClass, GuardedWindowProc<StatusWindowProc>,
                                  style) &&
         registered;
}

LayoutScale CompositionScale(int dpi) {
  int percent = g_windows && g_windows->settings
                    ? ValidPanelSize(g_windows->settings->Read(setting::PanelSize))
                    : 100;
  return ScaleFor(dpi, percent);
}

void ScaleCompositionWindow(HWND window, int dpi, const RECT* suggested) {
  if (!g_windows || !g_windows->panel) return;
  LayoutScale scale = CompositionScale(dpi);
  g_windows->panel->SetScale(scale);
  if (g_windows->news) g_windows->news->SetScale(scale);
  SIZE size = WindowSizeAt(scale);
  RECT now;
  GetWindowRect(window, &now);
  POINT at = suggested ? POINT{suggested->left, suggested->top} : POINT{now.left, now.top};
  if (!suggested) {
    // Grown in place (a larger panel size): it stays wholly on the work area, moving up and
    // left as far as needed.
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    at.x = std::max(work.left, std::min(at.x, work.right - size.cx));
    at.y = std::max(work.top, std::min(at.y, work.bottom - size.cy));
  }
  // Not the user's move: the position stays as stored until the user moves the window.
  bool creating = g_creating;
  g_creating = true;
  SetWindowPos(window, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  g_creating = creating;
  PlaceTooltipTools(window);
  InvalidateRect(window, nullptr, FALSE);
}

HWND CreateCompositionWindow(HINSTANCE instance, const wchar_t* className, HWND owner) {
  // The client area is the panel's size at its monitor's scale exactly, whatever the frame. The
  // window is per-monitor aware whatever the process declared; the placement below uses the
  // scale of the monitor where it is made, and a move to another monitor rescales it.
  PerMonitorAwareScope aware;
  SIZE size = WindowSizeAt(CompositionScale(WindowDpi(nullptr)));
  int width = size.cx, height = size.cy;
  // Made where the user left the panel, and the moves of its making are not stored: a second
  // panel of the process (another thread's, or after switching layouts) would otherwise store
  // its birthplace (0, 0) as the user's position.
  Point at{0, 0};
  if (g_windows && g_windows->settings) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    at = PlaceCompositionWindow(g_windows->settings->Read(setting::CompPos),
                                {work.left, work.top, work.right, work.bottom}, width, height);
  }
  g_creating = true;
  HWND window =
      CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_WINDOWEDGE, className, L"", WS_POPUP | WS_DISABLED,
                      at.x, at.y, width, height, owner, nullptr, instance, nullptr);
  g_creating = false;
  if (!window) return nullptr;
  SetWindowLongPtrW(window, kOwnerWord, reinterpret_cast<LONG_PTR>(owner));
  ScaleCompositionWindow(window, WindowDpi(window), nullptr);
  return window;
}

void ShowCompositionWindow(HWND window) {
  if (!g_placed && g_windows && g_windows->settings) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT rect;
    GetWindowRect(window, &rect);
    Point at = PlaceCompositionWindow(g_windows->settings->Read(setting::CompPos),
                                      {work.left, work.top, work.right, work.bottom},
                                      rect.right - rect.left, rect.bottom - rect.top);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    g_placed = true;
  }
  ShowWindow(window, SW_SHOWNOACTIVATE);
}

}  // namespace tvime
