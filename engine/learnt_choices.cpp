#include "engine/learnt_choices.h"

#include <algorithm>

#include "engine/user_words.h"

namespace tvime {

void LearntChoices::Note(std::string_view text) {
  if (text.empty()) return;
  stamps_[std::string(text)] = ++clock_;
  if (stamps_.size() <= kMaxLearntChoices) return;
  auto oldest = std::min_element(stamps_.begin(), stamps_.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
  stamps_.erase(oldest);
}

void LearntChoices::Replace(const std::vector<std::string>& texts) {
  stamps_.clear();
  clock_ = 0;
  // The most recent gets the largest stamp: note them oldest first, each once.
  std::vector<std::string_view> kept;
  for (const std::string& text : texts) {
    if (kept.size() == kMaxLearntChoices) break;
    if (text.empty() || std::find(kept.begin(), kept.end(), text) != kept.end()) continue;
    kept.push_back(text);
  }
  for (auto it = kept.rbegin(); it != kept.rend(); ++it) Note(*it);
}

std::vector<std::string> LearntChoices::Texts() const {
  std::vector<std::pair<std::uint64_t, std::string>> byStamp;
  for (const auto& [text, stamp] : stamps_) byStamp.emplace_back(stamp, text);
  std::sort(byStamp.begin(), byStamp.end(), std::greater<>());
  std::vector<std::string> texts;
  for (auto& [stamp, text] : byStamp) texts.push_back(std::move(text));
  return texts;
}

std::uint64_t LearntChoices::StampOf(std::string_view text) const {
  auto found = stamps_.find(text);
  return found == stamps_.end() ? 0 : found->second;
}

std::vector<std::string> ApplyChoices(std::vector<std::string> list,
                                      const std::vector<std::string>& choices) {
  LearntChoices learnt;
  learnt.Replace(list);
  for (const std::string& choice : choices) learnt.Note(choice);
  return learnt.Texts();
}

bool MergeChoicesIntoFile(const std::string& path, const std::vector<std::string>& choices,
                          std::vector<std::string>& merged, FileSaveLocker locker) {
  std::unique_ptr<FileSaveLock> lock = locker ? locker(path) : nullptr;
  auto onDisk = ReadWordFileForRewrite(path);
  if (!onDisk) return false;
  std::vector<std::string> list = ApplyChoices(std::move(*onDisk), choices);
  if (!WriteWordFilePatiently(path, list)) return false;
  merged = std::move(list);
  return true;
}

}  // namespace tvime
