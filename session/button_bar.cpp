#include "session/button_bar.h"

namespace tvime {
namespace {

constexpr int kIconSize = 18;

}  // namespace

ButtonBar::ButtonBar()
    : buttons_{{
          {{210, 4, 228, 24}, kCmdSearch, 0, "搜索选中的文本，点击右键选择您喜欢的搜索引擎"},
          {{230, 4, 248, 24}, kCmdPinyinSwitch, kIconPinyinOff, "笔画/拼音模式切换"},
          {{250, 4, 268, 24}, kCmdSetting, 1, "设置"},
          {{269, 4, 287, 24}, kCmdMove, 2, "单击鼠标移动窗口"},
          {{268, 24, 286, 42}, kCmdClear, 6, "清除"},
          {{268, 46, 286, 64}, kCmdBack, 7, "退格/删除"},
          {{268, 68, 286, 86}, kCmdPrevPage, 8, "向前翻"},
          {{268, 90, 286, 108}, kCmdNextPage, 9, "向后翻"},
          {{268, 110, 287, 128}, kCmdLetters, 16, "输入字母"},
          {{268, 130, 287, 148}, kCmdPunctuation, 15, "输入标点"},
      }} {}

int ButtonBar::ButtonAt(int x, int y, LayoutScale scale) const {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (scale.Of(buttons_[i].rect).Contains(x, y)) return static_cast<int>(i);
  }
  return -1;
}

void ButtonBar::SetIcon(int command, int icon) {
  for (ToolbarButton& button : buttons_) {
    if (button.command == command) button.icon = icon;
  }
}

int ButtonBar::IconOf(int command) const {
  for (const ToolbarButton& button : buttons_) {
    if (button.command == command) return button.icon;
  }
  return -1;
}

void ButtonBar::Paint(DrawList& out, bool leftButtonDown, int framedCommand) const {
  if (hovered >= 0) out.push_back(DrawHighlight{buttons_[hovered].rect, leftButtonDown});
  for (const ToolbarButton& button : buttons_) {
    out.push_back(DrawBitmap{Artwork::BarIcons,
                             {button.icon * kIconSize, 0, (button.icon + 1) * kIconSize, kIconSize},
                             {button.rect.left + 1, button.rect.top + 1}});
    if (button.command == framedCommand) out.push_back(DrawFrame{button.rect, kBlack, 1});
  }
}

}  // namespace tvime
