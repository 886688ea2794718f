#include "ime/ime_hosts_win.h"

#include "ime/input_context_win.h"
#include "ime/ui_window_win.h"

namespace tvime {

bool IsImeMessage(UINT message) {
  return (message >= WM_IME_STARTCOMPOSITION && message <= WM_IME_COMPOSITION) ||
         (message >= WM_IME_SETCONTEXT && message <= WM_IME_CHAR);
}

namespace {

// Sets the context's result string and queues the message that tells the application.
void Deliver(HIMC context, std::string_view result, UINT message, WPARAM wParam, LPARAM lParam) {
  {
    ContextLock fields(context);
    if (!fields) return;
    SetResultString(*fields, result);
  }
  QueueImeMessage(context, message, wParam, lParam);
}

}  // namespace

void ImeSessionHost::Commit(ContextHandle context, std::string_view text) {
  Deliver(ToContext(context), text, WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
}

void ImeSessionHost::ReturnKey(ContextHandle context, unsigned virtualKey) {
  Deliver(ToContext(context), {}, WM_IME_KEYDOWN, virtualKey, 0);
}

void ImeSessionHost::PanelChanged(ContextHandle) {
  // This concerns only our own UI window. Sent through the application it would be an empty
  // composition update without a start, and editors that compose in place move their caret for
  // it (Wine's edit control puts the next text in front of the last).
  if (HWND composition = Windows()->composition) {
    auto ui = reinterpret_cast<HWND>(GetWindowLongPtrW(composition, kOwnerWord));
    if (ui) ShowCompositionPanel(ui);
    InvalidateRect(composition, nullptr, FALSE);
  }
}

bool ImeSessionHost::CaretOf(ContextHandle context, POINT& caret, HWND& window) {
  ContextLock fields(ToContext(context));
  if (!fields || !IsWindow(fields->hWnd)) return false;
  POINT point{0, 0};
  const CANDIDATEFORM& candidate = fields->cfCandForm[0];
  if (fields->cfCompForm.dwStyle == CFS_DEFAULT) {
    if (candidate.dwStyle == CFS_CANDIDATEPOS || candidate.dwStyle == CFS_EXCLUDE) {
      point = candidate.ptCurrentPos;
    } else {
      GetCaretPos(&point);
    }
  } else {
    point = fields->cfCompForm.ptCurrentPos;
  }
  if (point.x == 0 && point.y == 0) GetCaretPos(&point);
  ClientToScreen(fields->hWnd, &point);
  caret = point;
  window = fields->hWnd;
  return true;
}

HIMC UiWindowContext(HWND ui) {
  auto context = reinterpret_cast<HIMC>(GetWindowLongPtrW(ui, IMMGWL_IMC));
  if (context && ContextLock(context)) return context;
  // Some input-method managers (Wine's) keep a record of their own in the slot instead of the
  // handle. The context of the thread's focus window is then the one the application types into.
  HWND focus = GetFocus();
  HIMC focusContext = focus ? ImmGetContext(focus) : nullptr;
  if (focusContext) ImmReleaseContext(focus, focusContext);
  return focusContext;
}

ContextHandle ImeWindowHost::ContextFor(HWND panel) {
  auto owner = reinterpret_cast<HWND>(GetWindowLongPtrW(panel, kOwnerWord));
  if (!owner) return 0;
  return ToHandle(UiWindowContext(owner));
}

HWND ImeWindowHost::ApplicationWindow(ContextHandle context) {
  ContextLock fields(ToContext(context));
  return fields ? fields->hWnd : nullptr;
}

bool ImeWindowHost::IsOpen(ContextHandle context) { return IsContextOpen(ToContext(context)); }

void ImeWindowHost::SetOpen(ContextHandle context, bool open) {
  // The platform reports the change back through NotifyIME, which ends a composition.
  ImmSetOpenStatus(ToContext(context), open);
}

bool ImeWindowHost::IsInputMethodMessage(UINT message) { return IsImeMessage(message); }

void ImeWindowHost::CompositionMoved(HWND window) {
  auto owner = reinterpret_cast<HWND>(GetWindowLongPtrW(window, kOwnerWord));
  if (!owner) return;
  RECT rect;
  GetWindowRect(window, &rect);
  SendMessageW(owner, kPanelDropped, 0,
               static_cast<LPARAM>((static_cast<DWORD>(rect.top) << 16) |
                                   (static_cast<DWORD>(rect.left) & 0xFFFF)));
}

}  // namespace tvime
