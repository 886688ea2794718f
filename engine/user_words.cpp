#include "engine/user_words.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "base/file_io.h"

namespace tvime {

std::vector<std::string> ParseWordFile(std::string_view contents) {
  std::vector<std::string> words;
  while (!contents.empty()) {
    size_t end = contents.find('\n');
    std::string_view line = contents.substr(0, end);
    contents.remove_prefix(end == std::string_view::npos ? contents.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) words.emplace_back(line);
  }
  return words;
}

std::string FormatWordFile(const std::vector<std::string>& words) {
  std::string contents;
  for (const std::string& word : words) {
    if (word.empty()) continue;
    contents += word;
    contents += "\r\n";
  }
  return contents;
}

bool ReadWordFile(const std::string& path, std::vector<std::string>& words) {
  words.clear();
  if (auto bytes = ReadWholeFile(path)) {
    words = ParseWordFile(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  }
  return true;
}

bool WriteWordFile(const std::string& path, const std::vector<std::string>& words) {
  return ReplaceFileContents(path, FormatWordFile(words));
}

namespace {

bool Contains(const std::vector<std::string>& words, const std::string& word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

}  // namespace

// A process that is reading the file at this moment keeps Windows from replacing it; such a read
// is over in a few milliseconds.
bool WriteWordFilePatiently(const std::string& path, const std::vector<std::string>& words) {
  for (int attempt = 0;; ++attempt) {
    if (WriteWordFile(path, words)) return true;
    if (attempt == 4) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::optional<std::vector<std::string>> ReadWordFileForRewrite(const std::string& path) {
  auto bytes = ReadFileIfPresent(path);
  if (!bytes) return std::nullopt;
  return ParseWordFile(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

bool SaveEditedWordFile(const std::string& path, std::vector<std::string>& loaded,
                        const std::vector<std::string>& edited, FileSaveLocker locker) {
  std::unique_ptr<FileSaveLock> lock = locker ? locker(path) : nullptr;
  auto onDisk = ReadWordFileForRewrite(path);
  if (!onDisk) return false;
  std::vector<std::string> words;
  for (const std::string& word : edited) {
    if (!word.empty()) words.push_back(word);
  }
  for (const std::string& word : *onDisk) {
    if (!Contains(loaded, word) && !Contains(edited, word)) words.push_back(word);
  }
  if (!WriteWordFilePatiently(path, words)) return false;
  loaded = std::move(words);
  return true;
}

bool MergeIntoWordFile(const std::string& path, const std::vector<std::string>& added,
                       std::vector<std::string>& merged, FileSaveLocker locker) {
  std::unique_ptr<FileSaveLock> lock = locker ? locker(path) : nullptr;
  auto words = ReadWordFileForRewrite(path);
  if (!words) return false;
  for (const std::string& word : added) {
    if (!word.empty() && !Contains(*words, word)) words->push_back(word);
  }
  if (!WriteWordFilePatiently(path, *words)) return false;
  merged = std::move(*words);
  return true;
}

}  // namespace tvime
