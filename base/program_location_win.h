#pragma once
// The programs of the installation on Windows: where the running one is, where another one is
// installed (the rule of program_location.h), and starting the running one again.

#include <string>
#include <string_view>

#include "base/program_location.h"

namespace tvime {

// Whether `path` names an existing file (not a folder), and an existing folder.
bool IsExistingFile(const std::string& path);
bool IsExistingFolder(const std::string& path);

// The full path of the running program; empty when it does not fit a path buffer.
std::string OwnProgramPath();

// The folder of the code running this (the input-method module, or the program), with its
// backslash.
std::string OwnCodeFolder();

// The first copy of `fileName` in the installation's folder, else beside the code running this;
// empty when there is none.
std::string FindInstalledProgram(std::string_view fileName, std::string_view installDirectory);

// Starts the running program again (after it updated itself), with its path quoted: the
// installation's folder has blanks in its name.
void StartOwnProgramAgain(int show);

}  // namespace tvime
