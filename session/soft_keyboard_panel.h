#pragma once
// The soft keyboard as a window of our own, for where the system's soft keyboard does not exist:
// the 47 keys in keyboard rows showing the current table's symbols, a Shift key, Backspace,
// Enter and Close, all clicked with the mouse.

#include <cstdint>
#include <optional>
#include <vector>

#include "session/draw_list.h"
#include "session/soft_keyboard.h"

namespace tvime {

inline constexpr int kSoftKeyCell = 26;
// Thirteen keys in the widest row, which is indented half a key like a keyboard's.
inline constexpr int kSoftKeyboardWidth = 13 * kSoftKeyCell + kSoftKeyCell / 2 + 8;
inline constexpr int kSoftKeyboardHeight = 5 * kSoftKeyCell + 30;

enum class SoftKeyAction { None, Key, Shift, Backspace, Enter, Close };

struct SoftKeyHit {
  SoftKeyAction action = SoftKeyAction::None;
  unsigned virtualKey = 0;  // for keys
};

struct SoftKeyButton {
  Rect rect;
  SoftKeyHit hit;
};

// The buttons of the window, in keyboard order, then the function keys.
const std::vector<SoftKeyButton>& SoftKeyboardButtons();
SoftKeyHit SoftKeyboardHitTest(int x, int y, LayoutScale scale);

// The window as drawn: the table's name, every key with its symbol (shifted or not), the function
// keys; the hovered key highlighted.
DrawList PaintSoftKeyboard(const SymbolTable& table, bool shift, std::optional<size_t> hovered);

}  // namespace tvime
