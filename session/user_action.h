#pragma once
// What a user does to the input session, said as the user's intention. The input-method module,
// the stand-alone program, the tests and the invariant walker all hand these to
// CompositionPanel::Apply, so that every host drives the session the same way and the session's
// own reactions (which lists to forget, which flags flip) stay in the session.

#include <cstdint>

namespace tvime {

enum class MouseEvent { Move, LeftDown, LeftUp, RightDown, RightUp };

// What the window must do after a mouse message beyond repainting.
struct MouseResult {
  bool taken = false;      // the message was handled by the panel
  bool startDrag = false;  // the Move button was pressed: the host drags the window
  bool hintClick = false;  // a click on the hint strip: the news line's
};

enum class ActionKind {
  Mouse,                // a mouse message over the composition window
  CursorLeft,           // the cursor left the composition window
  DragEnded,            // the window took the release that ends a drag of the Move button
  Key,                  // a key the host took from the application
  Command,              // a command of a button, a menu or the status window
  SoftKey,              // a key while a soft keyboard is shown (its window's or the keyboard's)
  InputClosed,          // the input method was closed (Ctrl, the status window's button)
  SoftKeyboardToggled,  // the status window's soft-keyboard button, before its window changes
  PanelSizeToggled,     // the status window's panel-size button
  FlagsChanged,         // the settings dialog changed the conversion flags
  UserWordsChanged,     // the user word file changed (the dictionary manager ended)
};

struct UserAction {
  ActionKind kind = ActionKind::Mouse;
  MouseEvent mouse = MouseEvent::Move;
  int x = 0;
  int y = 0;
  // Key: the character in the high byte when it is not zero, else in the low byte.
  std::uint16_t key = 0;
  int command = 0;
  unsigned virtualKey = 0;           // SoftKey
  bool shift = false;                // SoftKey
  bool characterSetChanged = false;  // FlagsChanged

  static UserAction Pointer(MouseEvent event, int x, int y) {
    UserAction action{ActionKind::Mouse};
    action.mouse = event;
    action.x = x;
    action.y = y;
    return action;
  }
  static UserAction TypedKey(std::uint16_t key) {
    UserAction action{ActionKind::Key};
    action.key = key;
    return action;
  }
  static UserAction Run(int command) {
    UserAction action{ActionKind::Command};
    action.command = command;
    return action;
  }
  static UserAction SoftKeyboardKey(unsigned virtualKey, bool shift) {
    UserAction action{ActionKind::SoftKey};
    action.virtualKey = virtualKey;
    action.shift = shift;
    return action;
  }
  static UserAction NewFlags(bool characterSetChanged) {
    UserAction action{ActionKind::FlagsChanged};
    action.characterSetChanged = characterSetChanged;
    return action;
  }
  static UserAction Just(ActionKind kind) { return UserAction{kind}; }
};

// What an action gives back to the host.
struct ActionResult {
  MouseResult mouse;  // Mouse
  int used = 0;       // Key: non-zero when the key was used
};

}  // namespace tvime
