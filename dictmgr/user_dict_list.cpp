#include "dictmgr/user_dict_list.h"

#include <algorithm>
#include <utility>

#include "base/gbk.h"

namespace tvime {
namespace {

constexpr size_t kMaxWordUnits = 1024;

// The list box compares its entries without regard to the case of Latin letters; GBK's second
// bytes include the codes of Latin letters, so the comparison is made on the characters.
std::u16string FoldedCase(std::string_view gbk) {
  std::u16string text = GbkToUtf16(gbk);
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return text;
}

}  // namespace

void UserDictList::Open(std::vector<std::string> words) {
  words_ = std::move(words);
  modified_ = false;
}

void UserDictList::Restore(std::vector<std::string> words) {
  words_ = std::move(words);
  modified_ = true;
}

void UserDictList::Saved(std::vector<std::string> fileWords) {
  words_ = std::move(fileWords);
  modified_ = false;
}

bool UserDictList::AddWord(std::string_view word, int position) {
  std::u16string wide = GbkToUtf16(word);
  if (wide.size() < 2 || wide.size() >= kMaxWordUnits) return false;
  if (word.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
  std::u16string folded = FoldedCase(word);
  if (std::any_of(words_.begin(), words_.end(),
                  [&](const std::string& known) { return FoldedCase(known) == folded; })) {
    return false;
  }
  if (position < 0 || static_cast<size_t>(position) >= words_.size()) {
    words_.emplace_back(word);
  } else {
    words_.emplace(words_.begin() + position, word);
  }
  modified_ = true;
  return true;
}

std::optional<std::string_view> UserDictList::AddTyped(std::string_view word, int selection) {
  if (word.empty()) return manager_text::kEnterWord;
  if (!AddWord(word, selection)) return manager_text::kNotAWord;
  return std::nullopt;
}

std::optional<std::string_view> UserDictList::Delete(int selection) {
  if (selection < 0 || static_cast<size_t>(selection) >= words_.size()) {
    return manager_text::kSelectToDelete;
  }
  words_.erase(words_.begin() + selection);
  modified_ = true;
  return std::nullopt;
}

std::optional<int> UserDictList::Swap(int first, int second) {
  std::swap(words_[static_cast<size_t>(first)], words_[static_cast<size_t>(second)]);
  modified_ = true;
  return second;
}

std::optional<int> UserDictList::MoveUp(int selection) {
  if (selection <= 0 || static_cast<size_t>(selection) >= words_.size()) return std::nullopt;
  return Swap(selection, selection - 1);
}

std::optional<int> UserDictList::MoveDown(int selection) {
  if (selection < 0 || static_cast<size_t>(selection) + 1 >= words_.size()) return std::nullopt;
  return Swap(selection, selection + 1);
}

size_t UserDictList::Merge(const std::vector<std::string>& words) {
  size_t added = 0;
  for (const std::string& word : words) added += AddWord(word, -1) ? 1 : 0;
  return added;
}

}  // namespace tvime
