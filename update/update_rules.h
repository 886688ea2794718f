#pragma once
// The update agent's rules that need no network and no window: how a published version number
// compares with the installed one, which manifest file names a file's version, the names of the
// numbered backups, and the download dialog's text.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tvime {

// compareVersions' answers.
enum VersionVerdict : int {
  kServerVersionMalformed = -21,
  kLocalVersionMalformed = -22,
  kServerOlder = -1,
  kSameVersion = 0,
  kOptionalUpdate = 1,
  kMandatoryUpdate = 2,
};

// A version text: up to four dot-separated decimal numbers (empty parts between dots are
// skipped); missing parts count as 0. nullopt when there is no part, a part that is not all
// digits or too large, or more than four parts.
std::optional<std::array<std::uint32_t, 4>> ParseVersion(std::string_view text);

// The published version against the installed one. Mandatory when the server's (major, minor)
// pair is greater than the local pair; optional when it is otherwise greater; never an update
// when it is lower (an older version is not offered, let alone forced).
int compareVersions(std::string_view server, std::string_view local);

// The manifest of a file: `manifestName` when given and not empty; otherwise the remote name
// (or, without one, the local path) with ".txt" appended, reduced to the part after its last
// backslash when it has one after its first character.
std::string ManifestName(std::string_view manifestName, std::string_view remoteName,
                         std::string_view localPath);

// A file version as text from the two words of its version resource: "a.b.c.d", or "a.b" when
// the second word is 0, or empty when both are.
std::string VersionText(std::uint32_t mostSignificant, std::uint32_t leastSignificant);

// The file version of a Windows program or module, read from its bytes (the fixed part of its
// version resource), as VersionText gives it; empty when it has none. For tools that run where
// Windows' version functions do not.
std::string VersionOfProgramBytes(std::string_view bytes);

// tvimegui's automatic check at start-up: due when more than 4 hours have passed since the last
// one ("GUIApp.Update", seconds since 1970, compared as unsigned 32-bit values as they wrap), and
// either more than 15 days have or automatic checks are on ("GUIApp.UpdateDisableAuto" 0).
bool UpdateCheckDue(std::uint32_t now, std::uint32_t lastCheck, bool automaticOff);

// The n-th numbered backup of a file (n from 0 to 9): "<path>.b00" ... "<path>.b09".
std::string BackupName(std::string_view path, int number);

// The download dialog's line: "%ld 字节 / %ld 字节, 速度为 %s /秒" with the speed of
// `received` bytes over the whole seconds since the download started (UTF-8).
std::string ProgressText(std::int32_t received, std::int32_t total, std::int64_t elapsedSeconds);

}  // namespace tvime
