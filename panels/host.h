#pragma once
// What the input session needs from whoever hosts it: the input-method module, the stand-alone
// program, or a recording fake in tests.

#include <cstdint>
#include <string_view>

namespace tvime {

// The host's handle of the input context (an HIMC in the module, the panel window in the
// stand-alone program); the session only passes it back.
using ContextHandle = std::uintptr_t;

// Message numbers of the platform the session hands to the host.
inline constexpr unsigned kWmImeComposition = 0x010F;
inline constexpr unsigned kWmImeKeyDown = 0x0290;
inline constexpr std::intptr_t kGcsResultStr = 0x0800;  // the text is committed
inline constexpr std::intptr_t kGcsCompStr = 0x0008;    // the composition changed

class Host {
 public:
  virtual ~Host() = default;
  // The single exit of text and returned keys: `result` (GBK) becomes the context's result
  // string and the host has `message` generated for the application.
  virtual void SendToHost(ContextHandle context, std::string_view result, unsigned message,
                          std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Repaint the composition window (all of it, or only the hint strip at its bottom).
  virtual void Invalidate(bool erase) = 0;
  virtual void InvalidateHintStrip() = 0;
  virtual void Beep() = 0;
  // A right click on a character or phrase: look the text up on the web (may be empty).
  virtual void LookUpWord(std::string_view text) = 0;
  // After a click on the panel with "MovedByCursor" on: move the window to follow the caret.
  virtual void FollowCaret(ContextHandle context) = 0;
  // A command that needs windows, menus, dialogs, the clipboard, other programs or the network.
  virtual void RunHostCommand(ContextHandle context, int id) = 0;
};

}  // namespace tvime
