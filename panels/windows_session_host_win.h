#pragma once
// The session's host on Windows, shared by the input-method module and the stand-alone program:
// repainting, beeping, the window commands and caret following. Delivering text is the
// program's own.

#include <windows.h>

#include "session/host.h"

namespace tvime {

class WindowsSessionHost : public Host {
 public:
  void Invalidate(bool erase) override;
  void InvalidateHintStrip() override;
  void Beep() override;
  void LookUpWord(std::string_view text) override;
  void FollowCaret(ContextHandle context) override;
  void RunHostCommand(ContextHandle context, int id) override;

 protected:
  // The caret of the application in screen coordinates and its window; false when unknown.
  virtual bool CaretOf(ContextHandle context, POINT& caret, HWND& window);
};

}  // namespace tvime
