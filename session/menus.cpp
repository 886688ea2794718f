#include "session/menus.h"

#include <array>

#include "session/button_bar.h"
#include "session/command_id.h"

namespace tvime {

MenuState SettingButtonMenu(const ConversionFlags& flags, PanelMode mode, bool keepExit) {
  MenuState state;
  state.checked.push_back(flags.Has(CS_BIG_CHARSET) ? kCmdBigCharset : kCmdCommonCharset);
  if (flags.Has(CS_FULL_SHAPE)) state.checked.push_back(kCmdFullShape);
  if (flags.Has(CS_CHINESE_PUNCT)) state.checked.push_back(kCmdChinesePunctuation);
  if (mode == ModePinyin) state.checked.push_back(kCmdPinyinSwitch);
  if (!keepExit) state.removed.push_back(kCmdExit);
  return state;
}

MenuState StatusLogoMenu(const ConversionFlags& flags, size_t shownTable, bool keepExit) {
  MenuState state = StatusRightClickMenu(keepExit);
  if (flags.Has(CS_SOFT_KEYBOARD)) {
    if (int item = SoftKeyboardMenuItem(shownTable)) state.checked.push_back(item);
  }
  return state;
}

MenuState StatusRightClickMenu(bool keepExit) {
  MenuState state;
  // Inside the input-method module "退出" would end the message loop of the user's application.
  if (!keepExit) state.removed.push_back(kCmdExit);
  return state;
}

int SoftKeyboardMenuItem(size_t table) {
  // The menu lists katakana before hiragana, so their items are the other way round.
  static constexpr std::array<int, 13> kItemOffsets = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 9, 11, 12};
  return table < kItemOffsets.size() ? kCmdFirstSoftKeyboard + kItemOffsets[table] : 0;
}

MenuState SearchEngineMenu(int engine) {
  MenuState state;
  state.checked.push_back(kCmdFirstSearchEngine + engine);
  return state;
}

}  // namespace tvime
