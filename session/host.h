#pragma once
// What the input session needs from whoever hosts it: the input-method module, the stand-alone
// program, or a recording fake in tests. The session says what it means; each host turns that
// into its own messages (input-context messages in the module, posted characters in the
// stand-alone program).

#include <cstdint>
#include <string_view>

namespace tvime {

// The host's handle of the input context (an HIMC in the module, the panel window in the
// stand-alone program); the session only passes it back.
using ContextHandle = std::uintptr_t;

// Keys the session hands back to the application, as virtual-key codes.
inline constexpr unsigned kKeyBackspace = 0x08;
inline constexpr unsigned kKeyEnter = 0x0D;

class Host {
 public:
  virtual ~Host() = default;
  // `text` (GBK, not empty) is committed: it becomes what the user typed into the application.
  virtual void Commit(ContextHandle context, std::string_view text) = 0;
  // A key that the session does not keep goes on to the application (kKeyBackspace, kKeyEnter).
  virtual void ReturnKey(ContextHandle context, unsigned virtualKey) = 0;
  // Text is pending without a commit (search mode, a character-set change): the host shows its
  // panel and repaints it.
  virtual void PanelChanged(ContextHandle context) = 0;
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
