#pragma once
// The buttons along the top and the right edge of the composition window.

#include <array>
#include <string_view>

#include "session/command_id.h"
#include "session/draw_list.h"
#include "session/geometry.h"

namespace tvime {

struct ToolbarButton {
  Rect rect;
  int command;
  int icon;                  // cell of the button-bar artwork
  std::string_view tooltip;  // UTF-8
};

inline constexpr int kIconPinyinOff = 18, kIconPinyinOn = 19;
inline constexpr int kIconFullShapeOff = 11, kIconFullShapeOn = 13;
inline constexpr int kIconChinesePunctOff = 12, kIconChinesePunctOn = 14;

class ButtonBar {
 public:
  ButtonBar();

  const std::array<ToolbarButton, 10>& buttons() const { return buttons_; }
  // The index of the button under the point of the bar drawn at `scale`, or -1.
  int ButtonAt(int x, int y, LayoutScale scale) const;
  // Changes the icon of the buttons that run `command` (none when no button does).
  void SetIcon(int command, int icon);
  int IconOf(int command) const;

  int hovered = -1;

  // The bar as drawn: the hovered button highlighted (darker while the left button is held),
  // every icon, and a frame around the letters or punctuation button while its panel is shown.
  void Paint(DrawList& out, bool leftButtonDown, int framedCommand) const;

 private:
  std::array<ToolbarButton, 10> buttons_;
};

}  // namespace tvime
