#pragma once
// Every command of the panels, their menus, the button bar, the status window and the programs'
// own windows: the numbers the menu resources and WM_COMMAND carry. The session carries out the
// ones that change the input or the settings; the others go to the host.

namespace tvime {

enum CommandId : int {
  kCmdFirstSoftKeyboard = 4029,  // 4029 + n shows soft keyboard table n
  kCmdLastSoftKeyboard = 4042,

  // The button bar of the composition window.
  kCmdSearch = 10003,   // search the selected text on the web
  kCmdSetting = 10004,  // the main menu
  kCmdMove = 10005,     // pressed: the window follows the cursor
  kCmdMinimize = 10006,
  kCmdClose = 10007,
  kCmdPrevPage = 10008,
  kCmdNextPage = 10011,
  kCmdBack = 10014,
  kCmdClear = 10017,
  kCmdReturn = 10020,
  kCmdKeyboard = 10023,  // the soft-keyboard menu, or close the shown keyboard

  // The main menu and its relatives.
  kCmdExit = 40002,  // the stand-alone program only
  kCmdHelp = 40003,
  kCmdAbout = 40005,
  kCmdDictionaryManager = 40026,
  kCmdSettingsDialog = 40042,
  kCmdCloseSoftKeyboard = 40043,
  kCmdFullShape = 40044,
  kCmdChinesePunctuation = 40045,
  kCmdSearchMode = 40046,
  kCmdCommonCharset = 40047,
  kCmdBigCharset = 40048,
  kCmdUserWord = 40049,
  kCmdPunctuation = 40050,
  kCmdLetters = 40051,
  kCmdStrokeKeys = 40056,
  kCmdFirstSearchEngine = 40060,  // 40060 + n chooses search engine n
  kCmdLastSearchEngine = 40065,
  kCmdEngineMenu = 40067,  // the search-engine menu (a right click on Search)
  kCmdPinyinSwitch = 40069,

  // The tray menu of the stand-alone program.
  kCmdTrayExit = 105,
  kCmdTrayAbout = 32771,
  kCmdTraySettings = 32772,
};

}  // namespace tvime
