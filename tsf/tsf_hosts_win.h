#pragma once
// The text service's side of the session and of the panel windows. The session's context is the
// text service of the application's thread: text goes to the document that has the focus there
// when it is committed, and a click on a panel acts on the service of the panel's thread.

#include <windows.h>

#include "panels/panel_windows_win.h"
#include "panels/windows_session_host_win.h"

namespace tvime {

class TsfSessionHost : public WindowsSessionHost {
 public:
  // Committed text goes into the focused document through an edit session; a key handed back is
  // not eaten, so the application gets it.
  void Commit(ContextHandle context, std::string_view text) override;
  void ReturnKey(ContextHandle context, unsigned virtualKey) override;
  // Shows and repaints the panel; the pending text of search mode follows as a composition.
  void PanelChanged(ContextHandle context) override;
  // Every refresh of the session: the document's composition follows the pending text.
  void Invalidate(bool erase) override;

 protected:
  // The caret as the document's view places the selection, else the system caret.
  bool CaretOf(ContextHandle context, POINT& caret, HWND& window) override;
};

class TsfWindowHost : public PanelWindowHost {
 public:
  ContextHandle ContextFor(HWND panel) override;
  HWND ApplicationWindow(ContextHandle context) override;
  // The keyboard's open state of the thread (the framework's open/close compartment).
  bool IsOpen(ContextHandle context) override;
  void SetOpen(ContextHandle context, bool open) override;
  void NewsLineSetUp() override { StartNewsService(); }
};

}  // namespace tvime
