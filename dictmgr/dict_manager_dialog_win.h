#pragma once
// DictManagerDialog: the manager's dialog over a UserDictList. Its questions,
// messages and file dialogs go through ManagerPrompts, so that a test can answer them the way a
// user would.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_io.h"
#include "resources/resource_ids.h"

namespace tvime {

inline constexpr int kDictManagerDialogId = IDD_DICT_MANAGER;
inline constexpr int kDictAboutDialogId = IDD_DICT_ABOUT;
inline constexpr int kDictAboutMenuText = IDS_DICT_ABOUT_MENU;
inline constexpr int kDictTitleText = IDS_DICT_TITLE;
inline constexpr int kDictIcon = IDI_DICT;
inline constexpr UINT kDictAboutCommand = 16;

// The dialog's controls.
enum : int {
  kDictList = IDC_DICT_LIST,
  kDictEdit = IDC_DICT_EDIT,
  kDictDelete = IDC_DICT_DELETE,
  kDictMoveUp = IDC_DICT_MOVE_UP,
  kDictMoveDown = IDC_DICT_MOVE_DOWN,
  kDictSave = IDC_DICT_SAVE,
  kDictMerge = IDC_DICT_MERGE,
  kDictBackup = IDC_DICT_BACKUP,
  kDictRestore = IDC_DICT_RESTORE,
  kDictAdd = IDC_DICT_ADD,
  kDictFirstFile = IDC_DICT_FIRST_FILE,
  kDictSecondFile = IDC_DICT_SECOND_FILE,
};

class ManagerPrompts {
 public:
  virtual ~ManagerPrompts() = default;
  // A message box with the application's title (UTF-8 text); MessageBox's answer.
  virtual int Message(HWND owner, std::string_view text, UINT type) = 0;
  // The file dialogs: the chosen path (ANSI), or nothing when cancelled.
  virtual std::optional<std::string> OpenFile(HWND owner, std::string_view proposedName) = 0;
  virtual std::optional<std::string> SaveFile(HWND owner, std::string_view proposedName) = 0;
};

// The system's message boxes and file dialogs ("词库文本文件(*.txt)", default extension "txt").
class SystemPrompts : public ManagerPrompts {
 public:
  int Message(HWND owner, std::string_view text, UINT type) override;
  std::optional<std::string> OpenFile(HWND owner, std::string_view proposedName) override;
  std::optional<std::string> SaveFile(HWND owner, std::string_view proposedName) override;
};

struct DictManagerSetup {
  HINSTANCE resources = nullptr;
  ManagerPrompts* prompts = nullptr;
  // The path of a word file of the per-user data directory (created when missing).
  std::function<std::string(std::string_view fileName)> wordFilePath;
  FileSaveLocker locker = nullptr;
};

// Runs the dialog modally; IDOK when it was left with 退出, IDCANCEL with Escape or the close
// box, -1 when it could not be made.
INT_PTR RunDictManagerDialog(const DictManagerSetup& setup);

}  // namespace tvime
