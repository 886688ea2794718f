#pragma once
// Command ids of the menus and buttons that the session carries out itself; every other id goes
// to the host (windows, menus, dialogs, clipboard, other programs, network).

namespace tvime {

enum PanelCommand : int {
  kCmdFirstSoftKeyboard = 4029,  // 4029 + n shows soft keyboard table n
  kCmdLastSoftKeyboard = 4042,
  kCmdReturn = 10020,
  kCmdFullShape = 40044,
  kCmdChinesePunctuation = 40045,
  kCmdSearchMode = 40046,
  kCmdCommonCharset = 40047,
  kCmdBigCharset = 40048,
  kCmdStrokeKeys = 40056,
};

}  // namespace tvime
