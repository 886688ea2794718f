#pragma once
// The user dictionary file "tvimeusr.txt": one word per line in the ANSI code page (GBK), no
// header. Order is significant (it is the order association offers the words in); empty lines
// are skipped when read and never written; duplicates are kept as they are.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_io.h"

namespace tvime {

inline constexpr char kUserWordFileName[] = "tvimeusr.txt";

// Maps a file name to its path in the per-user data directory, creating the directory if needed.
using UserDataPathFn = std::function<std::string(std::string_view fileName)>;

// Splits file contents into words: a line ends at LF, a CR right before it is dropped (the file
// is read as text), and the last line needs no line end.
std::vector<std::string> ParseWordFile(std::string_view contents);
// Every non-empty word followed by CR LF.
std::string FormatWordFile(const std::vector<std::string>& words);

// Empties `words`, then appends every non-empty line of the file; an unreadable file leaves the
// list empty. Returns true.
bool ReadWordFile(const std::string& path, std::vector<std::string>& words);
// Replaces the file with the words, one per line. The old file stays whole until the new one is
// complete; false when nothing could be written.
bool WriteWordFile(const std::string& path, const std::vector<std::string>& words);

// The words of a file about to be rewritten: a missing file has none; nullopt when a file is
// there and cannot be read (rewriting it would drop its words).
std::optional<std::vector<std::string>> ReadWordFileForRewrite(const std::string& path);
// WriteWordFile, tried again for a moment while another process is reading the file.
bool WriteWordFilePatiently(const std::string& path, const std::vector<std::string>& words);

// Saves one process's new words into the file as other processes left it: under the save lock
// (`locker` may be null where only one process writes), the file is read again, each word of
// `added` that it lacks is appended in order, and the file is replaced whole. On success `merged`
// holds the file's new list and true is returned. False, with nothing written, when the file is
// there but cannot be read (rewriting it would drop its words) or cannot be replaced.
bool MergeIntoWordFile(const std::string& path, const std::vector<std::string>& added,
                       std::vector<std::string>& merged, FileSaveLocker locker);

// Saves a list edited as a whole (the dictionary manager: words removed, moved, restored) over
// the file as other processes left it since `loaded` was read from it: under the save lock the
// file is read again, and the words that it gained meanwhile (neither in `loaded` nor in
// `edited`) are kept after the edited list. On success `loaded` becomes the file's new list,
// which the caller shows. False, with nothing written, as for MergeIntoWordFile.
bool SaveEditedWordFile(const std::string& path, std::vector<std::string>& loaded,
                        const std::vector<std::string>& edited, FileSaveLocker locker);

}  // namespace tvime
