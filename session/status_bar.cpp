#include "session/status_bar.h"

#include <array>

#include "settings/conversion_flags.h"

namespace tvime {
namespace {

constexpr int kRowHeight = 20;

struct Segment {
  int left;
  int width;
  StatusButton button;
};

constexpr std::array<Segment, 9> kSegments = {{
    {0, 20, StatusLogo},
    {20, 40, StatusBrand},
    {60, 20, StatusOpen},
    {80, 20, StatusShape},
    {100, 20, StatusPunctuation},
    {120, 20, StatusSoftKeyboard},
    {140, 20, StatusCharset},
    {160, 20, StatusPanelSize},
    {180, 20, StatusUserWord},
}};

// Where a button's current picture starts in the artwork: two pictures for the toggles.
int SourceX(StatusButton button, const StatusPicture& p) {
  auto has = [&p](std::uint16_t bit) { return (p.conversionFlags & bit) != 0; };
  switch (button) {
    case StatusLogo:
      return 0;
    case StatusBrand:
      return 20;
    case StatusOpen:
      return p.open ? 60 : 80;
    case StatusShape:
      return has(CS_FULL_SHAPE) ? 120 : 100;
    case StatusPunctuation:
      return has(CS_CHINESE_PUNCT) ? 160 : 140;
    case StatusSoftKeyboard:
      return has(CS_SOFT_KEYBOARD) ? 200 : 180;
    case StatusCharset:
      return has(CS_BIG_CHARSET) ? 240 : 220;
    case StatusPanelSize:
      return has(CS_SMALL_PANEL) ? 280 : 260;
    case StatusUserWord:
      return 300;
    default:
      return 0;
  }
}

}  // namespace

StatusButton StatusButtonAt(int x, int y, LayoutScale scale) {
  if (y < 0 || y >= scale.Px(kRowHeight)) return StatusNone;
  for (const Segment& segment : kSegments) {
    if (x >= scale.Px(segment.left) && x < scale.Px(segment.left + segment.width))
      return segment.button;
  }
  return StatusNone;
}

DrawList PaintStatusBar(const StatusPicture& picture, int press) {
  DrawList out;
  for (const Segment& segment : kSegments) {
    bool pressed = (press & ~kStatusHeld) == segment.button;
    int source = SourceX(segment.button, picture);
    int top = pressed ? kRowHeight : 0;
    out.push_back(DrawBitmap{Artwork::StatusButtons,
                             {source, top, source + segment.width, top + kRowHeight},
                             {segment.left, 0}});
  }
  return out;
}

void StatusPress::LeftDown(int x, int y, std::int64_t nowMs, LayoutScale scale) {
  button_ = StatusButtonAt(x, y, scale);
  left_ = true;
  dragging_ = false;
  pressedAt_ = nowMs;
  grabOffset = {x, y};
}

void StatusPress::RightDown(int x, int y, LayoutScale scale) {
  button_ = StatusButtonAt(x, y, scale);
  left_ = false;
  dragging_ = false;
}

bool StatusPress::Tick(std::int64_t nowMs) {
  if (!left_ || dragging_ || nowMs - pressedAt_ < kDragDelayMs) return false;
  dragging_ = true;
  return true;
}

StatusButton StatusPress::LeftUp() {
  StatusButton run = left_ && !dragging_ ? button_ : StatusNone;
  *this = StatusPress();
  return run;
}

StatusButton StatusPress::RightUp() {
  StatusButton run = !left_ ? button_ : StatusNone;
  *this = StatusPress();
  return run;
}

int StatusPress::ShownPress() const {
  if (!left_ || dragging_ || button_ == StatusNone) return 0;
  return button_ | kStatusHeld;
}

}  // namespace tvime
