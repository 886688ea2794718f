#include "session/soft_keyboard_panel.h"

#include <array>
#include <string_view>

namespace tvime {
namespace {

constexpr int kMargin = 4;
constexpr int kTitleHeight = 22;

// The keys row by row as a keyboard shows them, as virtual keys.
constexpr std::array<std::string_view, 4> kRows = {
    "\xC0"
    "1234567890\xBD\xBB",
    "QWERTYUIOP\xDB\xDD\xDC", "ASDFGHJKL\xBA\xDE", "ZXCVBNM\xBC\xBE\xBF"};

std::vector<SoftKeyButton> Layout() {
  std::vector<SoftKeyButton> buttons;
  for (size_t row = 0; row < kRows.size(); ++row) {
    int x = kMargin + static_cast<int>(row) * kSoftKeyCell / 2;
    int y = kTitleHeight + static_cast<int>(row) * kSoftKeyCell;
    for (char key : kRows[row]) {
      buttons.push_back({{x, y, x + kSoftKeyCell - 2, y + kSoftKeyCell - 2},
                         {SoftKeyAction::Key, static_cast<unsigned char>(key)}});
      x += kSoftKeyCell;
    }
  }
  int y = kTitleHeight + 4 * kSoftKeyCell;
  auto wide = [&](int x, int cells, SoftKeyAction action) {
    buttons.push_back({{x, y, x + cells * kSoftKeyCell - 2, y + kSoftKeyCell - 2}, {action, 0}});
  };
  wide(kMargin, 3, SoftKeyAction::Shift);
  wide(kMargin + 4 * kSoftKeyCell, 3, SoftKeyAction::Backspace);
  wide(kMargin + 7 * kSoftKeyCell, 3, SoftKeyAction::Enter);
  wide(kMargin + 10 * kSoftKeyCell, 3, SoftKeyAction::Close);
  return buttons;
}

std::string_view FunctionLabel(SoftKeyAction action) {
  switch (action) {
    case SoftKeyAction::Shift:
      return "\xC9\xCF\xB5\xB5";  // 上档
    case SoftKeyAction::Backspace:
      return "\xCD\xCB\xB8\xF1";  // 退格
    case SoftKeyAction::Enter:
      return "\xBB\xD8\xB3\xB5";  // 回车
    case SoftKeyAction::Close:
      return "\xB9\xD8\xB1\xD5";  // 关闭
    default:
      return {};
  }
}

}  // namespace

const std::vector<SoftKeyButton>& SoftKeyboardButtons() {
  static const std::vector<SoftKeyButton> buttons = Layout();
  return buttons;
}

SoftKeyHit SoftKeyboardHitTest(int x, int y, LayoutScale scale) {
  for (const SoftKeyButton& button : SoftKeyboardButtons()) {
    if (scale.Of(button.rect).Contains(x, y)) return button.hit;
  }
  return {};
}

DrawList PaintSoftKeyboard(const SymbolTable& table, bool shift, std::optional<size_t> hovered) {
  DrawList out;
  out.push_back(DrawText{table.name,
                         {kMargin, 2, kSoftKeyboardWidth - kMargin, kTitleHeight},
                         Font::Candidate,
                         kFrameBlue,
                         AlignLeftMiddle});
  const std::vector<SoftKeyButton>& buttons = SoftKeyboardButtons();
  for (size_t i = 0; i < buttons.size(); ++i) {
    const SoftKeyButton& button = buttons[i];
    if (hovered == i || (button.hit.action == SoftKeyAction::Shift && shift)) {
      out.push_back(DrawHighlight{button.rect, button.hit.action == SoftKeyAction::Shift && shift});
    } else {
      out.push_back(DrawFrame{button.rect, kFrameBlue, 1});
    }
    if (button.hit.action == SoftKeyAction::Key) {
      size_t position = *SymbolKeyPosition(button.hit.virtualKey);
      std::uint16_t code = shift ? table.shifted[position] : table.unshifted[position];
      if (code != kEmptyKey) {
        out.push_back(DrawText{SoftKeyboard::CodeText(code), button.rect, Font::Candidate, kBlack,
                               AlignCenter});
      }
    } else {
      out.push_back(DrawText{std::string(FunctionLabel(button.hit.action)), button.rect, Font::Hint,
                             kBlack, AlignCenter});
    }
  }
  return out;
}

}  // namespace tvime
