#include "ime/ime_hosts_win.h"

#include "ime/input_context_win.h"

namespace tvime {

bool IsImeMessage(UINT message) {
  return (message >= WM_IME_STARTCOMPOSITION && message <= WM_IME_COMPOSITION) ||
         (message >= WM_IME_SETCONTEXT && message <= WM_IME_CHAR);
}

void ImeSessionHost::SendToHost(ContextHandle context, std::string_view result, unsigned message,
                                std::uintptr_t wParam, std::intptr_t lParam) {
  HIMC himc = ToContext(context);
  {
    ContextLock fields(himc);
    if (!fields) return;
    SetResultString(*fields, result);
  }
  QueueImeMessage(himc, message, wParam, lParam);
  if (message == WM_IME_COMPOSITION && lParam == GCS_COMPSTR) {
    if (HWND composition = Windows()->composition) InvalidateRect(composition, nullptr, FALSE);
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

ContextHandle ImeWindowHost::ContextFor(HWND panel) {
  auto owner = reinterpret_cast<HWND>(GetWindowLongPtrW(panel, kOwnerWord));
  if (!owner) return 0;
  return static_cast<ContextHandle>(GetWindowLongPtrW(owner, IMMGWL_IMC));
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
