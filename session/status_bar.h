#pragma once
// The status window: a bar of toggle buttons beside the application (open state, shape,
// punctuation, soft keyboard, character set, panel size, user word) and its press-or-drag rule.

#include <cstdint>

#include "session/draw_list.h"

namespace tvime {

inline constexpr int kStatusWidth = 206;
inline constexpr int kStatusHeight = 26;
// The bar of buttons inside the window's frame, in 96-dpi units.
inline constexpr int kStatusBarWidth = 200;
inline constexpr int kStatusBarHeight = 20;

// Each button's flag; a press shows as the flag with 0x8000 added while the button is held.
enum StatusButton : int {
  StatusNone = 0,
  StatusLogo = 1,  // the menu
  StatusBrand = 2,
  StatusOpen = 4,   // 中 open / 英 closed
  StatusShape = 8,  // half / full shape
  StatusPunctuation = 16,
  StatusSoftKeyboard = 32,
  StatusCharset = 64,     // 简 common / 繁 big
  StatusPanelSize = 128,  // 大 / 小
  StatusUserWord = 256,   // 词
};
inline constexpr int kStatusHeld = 0x8000;

StatusButton StatusButtonAt(int x, int y, LayoutScale scale);

// What the toggles show.
struct StatusPicture {
  bool open = true;
  std::uint16_t conversionFlags = 0;
};

// The buttons copied from the status artwork: the upper row released, the lower row pressed.
// `press` is a button flag (with kStatusHeld while held) or 0.
DrawList PaintStatusBar(const StatusPicture& picture, int press);

// A press that is held for 600 ms turns into a drag of the window; a shorter one runs the button.
class StatusPress {
 public:
  static constexpr std::int64_t kDragDelayMs = 600;

  // (x, y) in device pixels of the bar drawn at `scale`.
  void LeftDown(int x, int y, std::int64_t nowMs, LayoutScale scale);
  void RightDown(int x, int y, LayoutScale scale);
  // Called by the window's timer: true when the press has just become a drag.
  bool Tick(std::int64_t nowMs);
  // The button to run when released where it was pressed (StatusNone after a drag, or when no
  // press was under way). Ends the press.
  StatusButton LeftUp();
  StatusButton RightUp();

  bool dragging() const { return dragging_; }
  bool pressed() const { return button_ != StatusNone; }
  // The flag shown pressed now (0 while dragging or after a right press).
  int ShownPress() const;
  Point grabOffset;  // the cursor's offset in the window when the press began

 private:
  StatusButton button_ = StatusNone;
  bool left_ = false;
  bool dragging_ = false;
  std::int64_t pressedAt_ = 0;
};

}  // namespace tvime
