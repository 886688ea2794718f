#pragma once
// The input-method module's side of the session and of the panel windows: text and returned
// keys go into the application's input context; a click on a panel acts on the context that the
// panel's UI window holds at that moment.

#include <windows.h>

#include "base/imm_ime_win.h"
#include "panels/panel_windows_win.h"
#include "panels/windows_session_host_win.h"

namespace tvime {

class ImeSessionHost : public WindowsSessionHost {
 public:
  // Committed text becomes the context's result string and the application gets
  // WM_IME_COMPOSITION with GCS_RESULTSTR; a returned key arrives as WM_IME_KEYDOWN.
  void Commit(ContextHandle context, std::string_view text) override;
  void ReturnKey(ContextHandle context, unsigned virtualKey) override;
  // Shows and repaints the module's own panel; nothing goes to the application.
  void PanelChanged(ContextHandle context) override;

 protected:
  // The caret as the application gave it to the context (composition or candidate form), else
  // the system caret.
  bool CaretOf(ContextHandle context, POINT& caret, HWND& window) override;
};

class ImeWindowHost : public PanelWindowHost {
 public:
  ContextHandle ContextFor(HWND panel) override;
  HWND ApplicationWindow(ContextHandle context) override;
  bool IsOpen(ContextHandle context) override;
  void SetOpen(ContextHandle context, bool open) override;
  bool IsInputMethodMessage(UINT message) override;
  void CompositionMoved(HWND window) override;
  void NewsLineSetUp() override { StartNewsService(); }
};

// The input context the UI window works for: its context slot, or where the slot holds no
// usable context, the context of the thread's focus window.
HIMC UiWindowContext(HWND ui);

// The messages the platform routes to input-method windows; the panels swallow them.
bool IsImeMessage(UINT message);

// The private message a dragged composition panel sends its UI window: lParam = (y << 16) | x.
inline constexpr UINT kPanelDropped = 0x0659;

inline HIMC ToContext(ContextHandle context) { return reinterpret_cast<HIMC>(context); }
inline ContextHandle ToHandle(HIMC context) { return reinterpret_cast<ContextHandle>(context); }

}  // namespace tvime
