#pragma once
// The numbers of the programs' resources and of the commands and controls in them. windres reads
// the resource scripts with the C preprocessor and knows no C++, so the numbers are macros here,
// included by the scripts and by the C++ headers that give them their typed names (CommandId,
// Artwork, the dialogs' control enums). A number is written nowhere else.

// Commands: the menus' items, the button bar and the tray menu (CommandId).
#define IDM_SOFT_KEYBOARD_FIRST 4029  // + n shows soft keyboard table n
#define IDM_SOFT_KEYBOARD_LAST 4042
#define IDM_SEARCH 10003
#define IDM_SETTING 10004
#define IDM_MOVE 10005
#define IDM_MINIMIZE 10006
#define IDM_CLOSE 10007
#define IDM_PREV_PAGE 10008
#define IDM_NEXT_PAGE 10011
#define IDM_BACK 10014
#define IDM_CLEAR 10017
#define IDM_RETURN 10020
#define IDM_KEYBOARD 10023
#define IDM_EXIT 40002
#define IDM_HELP 40003
#define IDM_ABOUT 40005
#define IDM_DICTIONARY_MANAGER 40026
#define IDM_SETTINGS_DIALOG 40042
#define IDM_CLOSE_SOFT_KEYBOARD 40043
#define IDM_FULL_SHAPE 40044
#define IDM_CHINESE_PUNCTUATION 40045
#define IDM_SEARCH_MODE 40046
#define IDM_COMMON_CHARSET 40047
#define IDM_BIG_CHARSET 40048
#define IDM_USER_WORD 40049
#define IDM_PUNCTUATION 40050
#define IDM_LETTERS 40051
#define IDM_STROKE_KEYS 40056
#define IDM_KEYBOARD_ONLY_NOTE 40058   // a label in the menu; choosing it does nothing
#define IDM_DISMISS_MENU 40059         // "取消": closes the menu and does nothing
#define IDM_SEARCH_ENGINE_FIRST 40060  // + n chooses search engine n
#define IDM_SEARCH_ENGINE_LAST 40065
#define IDM_ENGINE_MENU 40067
#define IDM_PINYIN_SWITCH 40069
#define IDM_TRAY_EXIT 105
#define IDM_TRAY_ABOUT 32771
#define IDM_TRAY_SETTINGS 32772

// The panels' menus.
#define IDR_MAIN_MENU 105
#define IDR_SOFT_KEYBOARD_MENU 106
#define IDR_SEARCH_ENGINE_MENU 121

// The panels' artwork (Artwork) and the move cursor.
#define IDB_STROKE_ICONS 102
#define IDB_STATUS_BUTTONS 103
#define IDB_BAR_ICONS 107
#define IDB_SYMBOL_ICONS 112
#define IDB_STROKE_GLYPHS 113
#define IDB_RADICAL_ICONS 114
#define IDB_BACKGROUND 115
#define IDB_CAPITALS_BUTTON 116
#define IDB_LICENCE_PICTURE 167
#define IDB_STROKE_HINTS 168
#define IDC_MOVE_CURSOR 111

// Text resources of type 23 (RT_HTML).
#define IDR_NEWS_FEED 118
#define IDR_CREDITS 119

// The settings dialog.
#define IDD_SETTINGS 108
#define IDC_SETTINGS_SEARCH_ENGINE 1000
#define IDC_SETTINGS_STROKE_KEYS 1002
#define IDC_SETTINGS_QUIT_CONFIRM 1005
#define IDC_SETTINGS_PHRASE_SORT 1006
#define IDC_SETTINGS_MOVED_BY_CURSOR 1007
#define IDC_SETTINGS_OPEN_WORD_CIBA 1008
#define IDC_SETTINGS_LEARN_CHOICES 1009
#define IDC_SETTINGS_PANEL_SIZE 1015
#define IDC_SETTINGS_PREDICT_NEXT 1010
#define IDC_SETTINGS_FULL_SHAPE 1012
#define IDC_SETTINGS_CHINESE_PUNCT 1013
#define IDC_SETTINGS_SMALL_PANEL 1014
#define IDC_SETTINGS_BIG_CHARSET 1023

// The licence agreement: at first start, and for reading.
#define IDD_LICENCE_AGREEMENT 129
#define IDD_LICENCE_READING 152
#define IDC_LICENCE_TEXT 1001
#define IDC_LICENCE_NO_SHOW 1003

// The about dialog.
#define IDD_ABOUT 150
#define IDC_ABOUT_LICENCE 100
#define IDC_ABOUT_CREDITS 1029
#define IDC_ABOUT_VERSION 1300
#define IDC_ABOUT_FEEDBACK 1301
#define IDC_ABOUT_NEWS 1302

// The update agent's download dialog.
#define IDD_DOWNLOAD 151
#define IDC_DOWNLOAD_PROGRESS 1005
#define IDC_DOWNLOAD_TEXT 1010

// The dictionary manager (tvimedic).
#define IDD_DICT_MANAGER 102
#define IDD_DICT_ABOUT 100
#define IDS_DICT_ABOUT_MENU 101
#define IDS_DICT_TITLE 57344
#define IDI_DICT 128
#define IDC_DICT_ADD 1001
#define IDC_DICT_DELETE 1002
#define IDC_DICT_BACKUP 1003
#define IDC_DICT_RESTORE 1004
#define IDC_DICT_SAVE 1005
#define IDC_DICT_MOVE_UP 1006
#define IDC_DICT_FIRST_FILE 1007
#define IDC_DICT_SECOND_FILE 1008
#define IDC_DICT_LIST 1009
#define IDC_DICT_EDIT 1010
#define IDC_DICT_MOVE_DOWN 1011
#define IDC_DICT_MERGE 1012

// The stand-alone program (tvimegui).
#define IDS_GUI_CLASS_NAME 101
#define IDS_GUI_TITLE 103
#define IDI_GUI 107
#define IDI_GUI_SMALL 108
#define IDR_TRAY_MENU 101
#define IDR_GUI_ACCELERATORS 101

// The text service (tvimetsf.dll): the icon of its language profile.
#define IDI_TSF 107

// The updater (tvimeup).
#define IDI_UPDATER 128
