#pragma once
// Whole-file reads and crash-safe whole-file writes. Paths are narrow strings in the system's
// ANSI code page, as the rest of the system passes them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvime {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);
// The same, except that a file that does not exist reads as empty: nullopt means that a file is
// there and could not be read, which a caller about to rewrite it must not take for "no words".
std::optional<std::vector<std::uint8_t>> ReadFileIfPresent(const std::string& path);

// Writes `bytes` to a new file beside `path` and then puts it in place of `path`, so that a crash
// or a full disk part-way leaves the old file as it was. Returns false when nothing was replaced.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

// Held while a process re-reads, merges and rewrites a file that other processes of the same user
// rewrite too (the user word file: every application with the input method, and the dictionary
// manager). Released when destroyed.
class FileSaveLock {
 public:
  virtual ~FileSaveLock() = default;
};
// Takes the lock of `path`, waiting for another process to finish its save; nullptr when the lock
// could not be had (the caller then saves unlocked rather than lose what it holds).
using FileSaveLocker = std::unique_ptr<FileSaveLock> (*)(const std::string& path);

}  // namespace tvime
