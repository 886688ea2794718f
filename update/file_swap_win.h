#pragma once
// Putting a downloaded file in the place of an installed one, and reading an installed file's
// version: the parts of the update agent that work on files.

#include <string>

namespace tvime {

// Moves `target` to its first free numbered backup ("<target>.b00" to ".b09"), moves `newFile`
// into its place and deletes the backup, or, when the backup is a running program's image that
// cannot be deleted now, has it deleted at the next restart. False when the target could not
// be moved aside (nothing changed) or the new file could not take its place (the old file is put
// back where it was).
bool replaceFile(const std::string& target, const std::string& newFile);

// The file's version from its version resource: "a.b.c.d", or "a.b" when the last two numbers
// are 0; empty when it has none or it is 0.0.0.0.
std::string fileVersionString(const std::string& path);

// The "OriginalFilename" its version resource gives the file (the name it was built as), in the
// resource's first language; empty when it has none.
std::string originalFileName(const std::string& path);

}  // namespace tvime
