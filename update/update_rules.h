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

// The longest version text there is: four numbers of five digits and three dots.
inline constexpr size_t kMaxVersionTextLength = 23;

// A version text: one to four decimal numbers of at most 65535 (a version resource's words)
// between single dots, at most 23 characters; missing parts count as 0. nullopt for anything
// else: an empty part, a sign, a space or a line break, a fifth part.
std::optional<std::array<std::uint32_t, 4>> ParseVersion(std::string_view text);

// The published version against the installed one. Mandatory when the server's (major, minor)
// pair is greater than the local pair; optional when it is otherwise greater; never an update
// when it is lower (an older version is not offered, let alone forced).
int compareVersions(std::string_view server, std::string_view local);

// Why a published update was not installed. Told to the user in one line (RefusalText); the
// installed file stays and the program goes on.
enum class UpdateRefusal {
  None,
  Damaged,           // cut short, a wrong hash or size, a statement or manifest that reads wrong
  NotFromPublisher,  // the signature does not verify, or the file is another program
  NotNewer,          // signed, but not newer than what is installed (a replayed older release)
  TooLarge,          // more than the statement says or than an update may be
  NoAnswer,          // the server stopped answering, or too slowly to finish in time
  Expired,           // the statement is past the time its publisher gave it
};

// "没有更新 <name>：<reason>，继续使用已安装的版本。" (UTF-8); `name` is cut to a length that a
// message box shows whole.
std::string RefusalText(std::string_view name, UpdateRefusal reason);

// Whether `candidate` is a later version than `installed`, all four parts compared.
bool IsLaterVersion(const std::array<std::uint32_t, 4>& candidate,
                    const std::array<std::uint32_t, 4>& installed);

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
