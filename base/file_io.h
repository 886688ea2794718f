#pragma once
// Whole-file reads and crash-safe whole-file writes. Paths are narrow strings in the system's
// ANSI code page, as the rest of the system passes them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvime {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// Writes `bytes` to a new file beside `path` and then puts it in place of `path`, so that a crash
// or a full disk part-way leaves the old file as it was. Returns false when nothing was replaced.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace tvime
