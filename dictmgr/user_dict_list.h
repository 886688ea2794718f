#pragma once
// The dictionary manager's list of the user's words and the rules of its buttons, apart from any
// window: the dialog shows `words()` in a list box and turns each button into one call here. The
// words are GBK, in file order.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/product_title.h"

namespace tvime {

// What the manager says (UTF-8), exactly as the user reads it.
namespace manager_text {
inline constexpr char kTitle[] = TVIME_PRODUCT_TITLE " 词库维护工具";
inline constexpr char kEnterWord[] = "请输入要增加的词条！";
inline constexpr char kNotAWord[] = "对不起，你添加的词组不是合法词组或者词库中已经有该词！";
inline constexpr char kSelectToDelete[] = "请选择要删除的词条！";
inline constexpr char kSelectToMove[] = "请正确选择要移动的词条!";
inline constexpr char kNotModified[] = "词库没有被修改过，不需要保存！";
inline constexpr char kSaved[] = "词库保存完毕!";
inline constexpr char kSaveFailed[] = "词库保存失败，请检查磁盘空间和文件权限后再试。";
inline constexpr char kBackedUp[] = "词库备份完毕!";
inline constexpr char kBackupFailed[] = "词库备份失败，请换一个位置再试。";
inline constexpr char kMerged[] = "词库增加完毕!";
inline constexpr char kRestoreQuestion[] = "恢复词库将破坏原有词库，继续吗？";
inline constexpr char kRestored[] = "词库恢复完毕!";
inline constexpr char kExitQuestion[] = "词库已修改但还没有保存，真要退出吗？";
inline constexpr char kSwitchQuestion[] = "词库已修改但还没有保存，真要切换吗？";
}  // namespace manager_text

// The two word files the (hidden) file selector chooses between.
inline constexpr const char* kSelectableWordFiles[] = {"tvimeusr.txt", "tvimeur5.txt"};

class UserDictList {
 public:
  const std::vector<std::string>& words() const { return words_; }
  bool modified() const { return modified_; }

  // The words of a file just read (at start, after switching files): the list is clean.
  void Open(std::vector<std::string> words);
  // The words of a backup: they replace the list, which is then modified (saved only on Save).
  void Restore(std::vector<std::string> words);
  // The list was saved and the file now holds `fileWords` (the list, with the words other
  // programs added to the file meanwhile): the list becomes that and is clean.
  void Saved(std::vector<std::string> fileWords);

  // Adds a word at `position` (before the word there) or at the end (-1, or any position past
  // the end). Refused: fewer than two characters, 1,024 UTF-16 units or more, a line break or NUL
  // (it would split the file), or equal to a word of the list (as the list box compares:
  // ignoring the case of Latin letters).
  bool AddWord(std::string_view word, int position);
  // The Add button with the edit box's text and the list's selection (-1: none): the message to
  // show, or nothing when the word was added.
  std::optional<std::string_view> AddTyped(std::string_view word, int selection);
  // The Delete button: the message, or nothing when the selected word was removed.
  std::optional<std::string_view> Delete(int selection);
  // The Move buttons: the word's new index, or nullopt when it cannot move that way (the
  // message kSelectToMove).
  std::optional<int> MoveUp(int selection);
  std::optional<int> MoveDown(int selection);
  // The Merge button: each word in order through AddWord at the end, refused ones skipped; the
  // number added.
  size_t Merge(const std::vector<std::string>& words);

 private:
  std::optional<int> Swap(int first, int second);

  std::vector<std::string> words_;
  bool modified_ = false;
};

}  // namespace tvime
