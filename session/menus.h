#pragma once
// Which items of the menus are checked or removed when a menu opens; the menus themselves are
// resources of the programs.

#include <cstddef>
#include <vector>

#include "engine/panel_mode.h"
#include "resources/resource_ids.h"
#include "session/command_id.h"
#include "settings/conversion_flags.h"

namespace tvime {

inline constexpr int kMenuMain = IDR_MAIN_MENU;
inline constexpr int kMenuSoftKeyboards = IDR_SOFT_KEYBOARD_MENU;
inline constexpr int kMenuSearchEngines = IDR_SEARCH_ENGINE_MENU;

struct MenuState {
  std::vector<int> checked;
  std::vector<int> removed;
};

// The main menu as the setting button opens it: the character set, shape and punctuation items
// checked by the flags, the stroke/pinyin switch while the pinyin panel shows. The module has no
// exit of its own: "退出" is only the stand-alone program's.
MenuState SettingButtonMenu(const ConversionFlags& flags, PanelMode mode, bool keepExit);

// The main menu as the status window's logo opens it: while the soft keyboard is on, the item of
// the shown table is checked; "退出" only in the stand-alone program.
MenuState StatusLogoMenu(const ConversionFlags& flags, size_t shownTable, bool keepExit);

// The main menu as a right click on the status window opens it: nothing checked, "退出" only in
// the stand-alone program.
MenuState StatusRightClickMenu(bool keepExit);

// The menu item of a soft-keyboard table; 0 for the tables that have no item.
int SoftKeyboardMenuItem(size_t table);

// The search-engine menu with the current engine checked.
MenuState SearchEngineMenu(int engine);

}  // namespace tvime
