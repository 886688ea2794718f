#pragma once
// DictManagerDialog: the manager's dialog (resource 102) over a UserDictList. Its questions,
// messages and file dialogs go through ManagerPrompts, so that a test can answer them the way a
// user would.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_io.h"

namespace tvime {

inline constexpr int kDictManagerDialogId = 102;
inline constexpr int kDictAboutDialogId = 100;
inline constexpr int kDictAboutMenuText = 101;
inline constexpr int kDictTitleText = 57344;
inline constexpr int kDictIcon = 128;
inline constexpr UINT kDictAboutCommand = 16;

// The dialog's controls.
enum : int {
  kDictList = 1009,
  kDictEdit = 1010,
  kDictDelete = 1002,
  kDictMoveUp = 1006,
  kDictMoveDown = 1011,
  kDictSave = 1005,
  kDictMerge = 1012,
  kDictBackup = 1003,
  kDictRestore = 1004,
  kDictAdd = 1001,
  kDictFirstFile = 1007,
  kDictSecondFile = 1008,
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
