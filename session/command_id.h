#pragma once
// Every command of the panels, their menus, the button bar, the status window and the programs'
// own windows: the numbers the menu resources and WM_COMMAND carry (resources/resource_ids.h). The
// session carries out the ones that change the input or the settings; the others go to the host.

#include "resources/resource_ids.h"

namespace tvime {

enum CommandId : int {
  kCmdFirstSoftKeyboard = IDM_SOFT_KEYBOARD_FIRST,  // + n shows soft keyboard table n
  kCmdLastSoftKeyboard = IDM_SOFT_KEYBOARD_LAST,

  // The button bar of the composition window.
  kCmdSearch = IDM_SEARCH,    // search the selected text on the web
  kCmdSetting = IDM_SETTING,  // the main menu
  kCmdMove = IDM_MOVE,        // pressed: the window follows the cursor
  kCmdMinimize = IDM_MINIMIZE,
  kCmdClose = IDM_CLOSE,
  kCmdPrevPage = IDM_PREV_PAGE,
  kCmdNextPage = IDM_NEXT_PAGE,
  kCmdBack = IDM_BACK,
  kCmdClear = IDM_CLEAR,
  kCmdReturn = IDM_RETURN,
  kCmdKeyboard = IDM_KEYBOARD,  // the soft-keyboard menu, or close the shown keyboard

  // The main menu and its relatives.
  kCmdExit = IDM_EXIT,  // the stand-alone program only
  kCmdHelp = IDM_HELP,
  kCmdAbout = IDM_ABOUT,
  kCmdDictionaryManager = IDM_DICTIONARY_MANAGER,
  kCmdSettingsDialog = IDM_SETTINGS_DIALOG,
  kCmdCloseSoftKeyboard = IDM_CLOSE_SOFT_KEYBOARD,
  kCmdFullShape = IDM_FULL_SHAPE,
  kCmdChinesePunctuation = IDM_CHINESE_PUNCTUATION,
  kCmdSearchMode = IDM_SEARCH_MODE,
  kCmdCommonCharset = IDM_COMMON_CHARSET,
  kCmdBigCharset = IDM_BIG_CHARSET,
  kCmdUserWord = IDM_USER_WORD,
  kCmdPunctuation = IDM_PUNCTUATION,
  kCmdLetters = IDM_LETTERS,
  kCmdStrokeKeys = IDM_STROKE_KEYS,
  kCmdFirstSearchEngine = IDM_SEARCH_ENGINE_FIRST,  // + n chooses search engine n
  kCmdLastSearchEngine = IDM_SEARCH_ENGINE_LAST,
  kCmdEngineMenu = IDM_ENGINE_MENU,  // the search-engine menu (a right click on Search)
  kCmdPinyinSwitch = IDM_PINYIN_SWITCH,

  // The tray menu of the stand-alone program.
  kCmdTrayExit = IDM_TRAY_EXIT,
  kCmdTrayAbout = IDM_TRAY_ABOUT,
  kCmdTraySettings = IDM_TRAY_SETTINGS,
};

}  // namespace tvime
