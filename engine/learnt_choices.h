#pragma once
// What the user chose lately, for the option "LearnChoices": the characters and phrases picked
// from the candidate lists, most recent first. Under the option a list shows the learnt entries
// it holds first, most recent first, and the rest in their usual order behind them, the way the
// user's own words lead association.
//
// Kept per user in "tvimelrn.txt" beside "tvimeusr.txt", in the same word-file format (one text
// per line, GBK, most recent first) and saved the same way: the whole file replaced, under the
// save lock, merged with what other processes saved meanwhile.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/file_io.h"

namespace tvime {

inline constexpr char kLearntChoicesFileName[] = "tvimelrn.txt";
// Enough for the words of a user's daily writing; the oldest choice goes when a new one comes.
inline constexpr size_t kMaxLearntChoices = 2000;

class LearntChoices {
 public:
  // Puts `text` first (it may be learnt already); the oldest entry goes beyond the cap.
  void Note(std::string_view text);
  // Takes `texts`, most recent first, duplicates and empty texts dropped, cut to the cap.
  void Replace(const std::vector<std::string>& texts);
  // Most recent first.
  std::vector<std::string> Texts() const;
  bool Empty() const { return stamps_.empty(); }
  // When `text` was chosen: larger is more recent; 0 when it is not learnt.
  std::uint64_t StampOf(std::string_view text) const;

  // Reorders `list` so that its learnt entries come first, most recent first; the others keep
  // their order. `textOf` gives an entry's text.
  template <typename T, typename TextOf>
  void Promote(std::vector<T>& list, TextOf textOf) const;

 private:
  // Looked up by string_view, without a copy per list entry.
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  std::unordered_map<std::string, std::uint64_t, TextHash, std::equal_to<>> stamps_;
  std::uint64_t clock_ = 0;
};

// The file's list after `choices` (oldest first) are noted on it, cut to the cap.
std::vector<std::string> ApplyChoices(std::vector<std::string> list,
                                      const std::vector<std::string>& choices);

// Saves one process's choices into the file as other processes left it (see MergeIntoWordFile):
// under the lock, the file is read again, `choices` are noted on it in order, and it is replaced
// whole. On success `merged` holds the file's new list. False, with nothing written, when the
// file is there but cannot be read or cannot be replaced.
bool MergeChoicesIntoFile(const std::string& path, const std::vector<std::string>& choices,
                          std::vector<std::string>& merged, FileSaveLocker locker);

template <typename T, typename TextOf>
void LearntChoices::Promote(std::vector<T>& list, TextOf textOf) const {
  if (stamps_.empty()) return;
  std::vector<std::pair<std::uint64_t, T>> learnt;
  std::vector<T> rest;
  for (const T& entry : list) {
    std::uint64_t stamp = StampOf(textOf(entry));
    if (stamp != 0) {
      learnt.emplace_back(stamp, entry);
    } else {
      rest.push_back(entry);
    }
  }
  if (learnt.empty()) return;
  std::stable_sort(learnt.begin(), learnt.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  list.clear();
  for (auto& [stamp, entry] : learnt) list.push_back(std::move(entry));
  for (T& entry : rest) list.push_back(std::move(entry));
}

}  // namespace tvime
