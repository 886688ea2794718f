// The UI window the platform creates for each thread that uses the input method. It is never
// visible: it owns the composition panel, shows it while the application has the input method,
// hides it when the application loses it, and keeps it next to the caret.

#include "ime/ui_window_win.h"

#include <cstdint>

#include "base/dpi_win.h"
#include "ime/ime_hosts_win.h"
#include "ime/ime_module_win.h"
#include "ime/input_context_win.h"
#include "session/window_placement.h"

namespace tvime {
namespace {

// One window the UI window owns, with its last screen position and size.
struct ChildSlot {
  std::int32_t window;  // window handles are 32-bit values on both architectures
  std::int32_t x, y, cx, cy;
};

enum : int { kStatusSlot = 0, kCompanionSlot = 1, kPanelSlot = 2, kSlotCount = 3 };

struct UiPrivate {
  ChildSlot slots[kSlotCount];
};
static_assert(sizeof(UiPrivate) == 60);

HWND WindowOf(const ChildSlot& slot) { return static_cast<HWND>(LongToHandle(slot.window)); }

// The UI window's private block, locked for the guard's lifetime.
class PrivateLock {
 public:
  explicit PrivateLock(HWND ui)
      : memory_(reinterpret_cast<HGLOBAL>(GetWindowLongPtrA(ui, IMMGWL_PRIVATE))),
        data_(memory_ ? static_cast<UiPrivate*>(GlobalLock(memory_)) : nullptr) {}
  PrivateLock(const PrivateLock&) = delete;
  PrivateLock& operator=(const PrivateLock&) = delete;
  ~PrivateLock() {
    if (data_) GlobalUnlock(memory_);
  }
  explicit operator bool() const { return data_ != nullptr; }
  ChildSlot& slot(int index) const { return data_->slots[index]; }

 private:
  HGLOBAL memory_;
  UiPrivate* data_;
};

Rect WorkArea() {
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left, work.top, work.right, work.bottom};
}

// A position wholly inside the work area stays; any other goes 10 pixels inside its
// bottom-right corner.
POINT FitIntoWorkArea(int x, int y, int cx, int cy) {
  Rect work = WorkArea();
  if (x >= 0 && y >= 0 && x <= work.right - cx && y <= work.bottom - cy) return {x, y};
  return {work.right - cx - 10, work.bottom - cy - 10};
}

HWND CreatePanel(HWND ui, ChildSlot& slot) {
  ImeModule* module = Module();
  if (!module) return nullptr;
  HWND panel = CreateCompositionWindow(module->instance, kCompositionClassName, ui);
  if (!panel) return nullptr;
  RECT rect;
  GetWindowRect(panel, &rect);
  slot.window = HandleToLong(panel);
  slot.cx = rect.right - rect.left;
  slot.cy = rect.bottom - rect.top;
  Rect work = WorkArea();
  Point at =
      PlaceCompositionWindow(module->settings.Read(setting::CompPos), work, slot.cx, slot.cy);
  slot.x = at.x;
  slot.y = at.y;
  MoveWindow(panel, at.x, at.y, slot.cx, slot.cy, TRUE);
  module->runtime.windows.composition = panel;
  // The panels' own first showing marks the panel as placed, so later moves are the user's.
  ShowCompositionWindow(panel);
  InvalidateRect(panel, nullptr, FALSE);
  return panel;
}

// The status bar beside the application, created with the first panel of the UI window.
void CreateStatusBar(HWND ui, ChildSlot& slot) {
  ImeModule* module = Module();
  if (!module || IsWindow(WindowOf(slot))) return;
  HWND status = CreateStatusBarWindow(module->instance, kStatusClassName, ui);
  if (!status) return;
  RECT rect;
  GetWindowRect(status, &rect);
  slot = {HandleToLong(status), rect.left, rect.top, rect.right - rect.left,
          rect.bottom - rect.top};
  module->runtime.windows.status = status;
}

void ShowPanelOf(HWND ui) {
  PrivateLock lock(ui);
  if (!lock) return;
  ChildSlot& slot = lock.slot(kPanelSlot);
  HWND panel = WindowOf(slot);
  if (!IsWindow(panel)) {
    panel = CreatePanel(ui, slot);
    if (!panel) return;
    CreateStatusBar(ui, lock.slot(kStatusSlot));
  }
  // The panel's size follows its monitor's scale and the panel size setting.
  RECT rect;
  GetWindowRect(panel, &rect);
  slot.cx = rect.right - rect.left;
  slot.cy = rect.bottom - rect.top;
  POINT fitted = FitIntoWorkArea(slot.x, slot.y, slot.cx, slot.cy);
  if (fitted.x != slot.x || fitted.y != slot.y) {
    slot.x = fitted.x;
    slot.y = fitted.y;
    MoveWindow(panel, slot.x, slot.y, slot.cx, slot.cy, TRUE);
  }
  if (Module()) Module()->runtime.windows.composition = panel;
  if (!IsWindowVisible(panel)) ShowWindow(panel, SW_SHOWNOACTIVATE);
}

void HidePanel(HWND ui) {
  PrivateLock lock(ui);
  if (!lock) return;
  HWND panel = WindowOf(lock.slot(kPanelSlot));
  if (!IsWindow(panel)) return;
  ShowWindow(panel, SW_HIDE);
  if (HWND companion = WindowOf(lock.slot(kCompanionSlot)); IsWindow(companion)) {
    ShowWindow(companion, SW_HIDE);
  }
}

void OnCreate(HWND ui) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(UiPrivate));
  if (!memory) return;
  SetWindowLongPtrA(ui, IMMGWL_PRIVATE, reinterpret_cast<LONG_PTR>(memory));
  {
    PrivateLock lock(ui);
    if (!lock) return;
    lock.slot(kPanelSlot).x = -1;
    lock.slot(kPanelSlot).y = -1;
  }
  ShowPanelOf(ui);
}

void OnDestroy(HWND ui) {
  auto memory = reinterpret_cast<HGLOBAL>(GetWindowLongPtrA(ui, IMMGWL_PRIVATE));
  if (!memory) return;
  {
    PrivateLock lock(ui);
    for (int index = 0; lock && index < kSlotCount; ++index) {
      if (HWND child = WindowOf(lock.slot(index)); IsWindow(child)) DestroyWindow(child);
    }
  }
  SetWindowLongPtrA(ui, IMMGWL_PRIVATE, 0);
  GlobalFree(memory);
}

// The application's caret becomes the context's default composition position.
void StoreCaretAsCompositionForm(HIMC context) {
  ContextLock fields(context);
  if (!fields) return;
  POINT caret{0, 0};
  GetCaretPos(&caret);
  if (HWND focus = GetFocus()) ClientToScreen(focus, &caret);
  ScreenToClient(fields->hWnd, &caret);
  fields->cfCompForm.ptCurrentPos = caret;
  fields->cfCompForm.dwStyle = CFS_DEFAULT;
}

void OnSetContext(HWND ui, HIMC context, bool activate) {
  bool lockable = static_cast<bool>(ContextLock(context));
  if (lockable && activate) {
    ShowPanelOf(ui);
  } else {
    HidePanel(ui);
  }
  if (lockable) StoreCaretAsCompositionForm(context);
}

void OnNotify(HWND ui, HIMC context, WPARAM notification) {
  ContextLock fields(context);
  if (!fields) return;
  switch (notification) {
    case IMN_CLOSESTATUSWINDOW: {
      PrivateLock lock(ui);
      if (HWND status = lock ? WindowOf(lock.slot(kStatusSlot)) : nullptr; IsWindow(status)) {
        ShowWindow(status, SW_HIDE);
      }
      break;
    }
    case IMN_SETOPENSTATUS:
      if (!fields->fOpen) ClearCompositionAndEnd(context, false);
      break;
    case IMN_SETCOMPOSITIONFONT:
      RepositionPanelToCaret(context);
      break;
    case IMN_SETCOMPOSITIONWINDOW: {
      PrivateLock lock(ui);
      if (HWND panel = lock ? WindowOf(lock.slot(kPanelSlot)) : nullptr; IsWindow(panel)) {
        InvalidateRect(panel, nullptr, FALSE);
      }
      RepositionPanelToCaret(context);
      break;
    }
    default:
      break;
  }
}

void OnPanelDropped(HWND ui, LPARAM position) {
  PrivateLock lock(ui);
  if (!lock) return;
  lock.slot(kPanelSlot).x = LOWORD(position);
  lock.slot(kPanelSlot).y = HIWORD(position);
}

// Messages the platform forwards from the application, which mean nothing without a context.
bool NeedsContext(UINT message) {
  return (message >= WM_IME_STARTCOMPOSITION && message <= WM_IME_COMPOSITION) ||
         (message >= WM_IME_NOTIFY && message <= WM_IME_CHAR);
}

}  // namespace

LRESULT CALLBACK UiWindowProc(HWND ui, UINT message, WPARAM wParam, LPARAM lParam) {
  // The UI window has the host's dpi awareness, the panels are per-monitor aware: the work
  // area, caret and panel positions handled here are all taken in the panels' physical pixels,
  // also in a host the system scales.
  PerMonitorAwareScope aware;
  HIMC context =
      NeedsContext(message) || message == WM_IME_SETCONTEXT ? UiWindowContext(ui) : nullptr;
  if (!context && NeedsContext(message)) return 0;
  switch (message) {
    case WM_CREATE:
      OnCreate(ui);
      return 0;
    case WM_DESTROY:
      OnDestroy(ui);
      return 0;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_COMPOSITIONFULL:
    case WM_IME_SELECT:
    case WM_IME_CONTROL:
      return 0;
    case WM_IME_COMPOSITION:
      ShowPanelOf(ui);
      return 0;
    case WM_IME_SETCONTEXT:
      OnSetContext(ui, context, wParam != 0);
      return 0;
    case WM_IME_NOTIFY:
      OnNotify(ui, context, wParam);
      return 0;
    case kPanelDropped:
      OnPanelDropped(ui, lParam);
      return 0;
    default:
      return DefWindowProcA(ui, message, wParam, lParam);
  }
}

void ShowCompositionPanel(HWND ui) { ShowPanelOf(ui); }

void RepositionPanelToCaret(HIMC context) {
  ImeModule* module = Module();
  if (!module || module->settings.Read(setting::MovedByCursor) == 0) return;
  module->sessionHost.FollowCaret(ToHandle(context));
}

}  // namespace tvime
