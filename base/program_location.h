#pragma once
// Where the programs of the installation look for each other (the input method for the dictionary
// manager, the updater for the files it updates): the installation's folder ("Path"), then the
// folder of the running module. Never a relative folder: inside an application, or in a program
// that an application started, that would be the application's current directory, where any
// downloaded document folder could hold a program of the same name.

#include <string>
#include <string_view>
#include <vector>

namespace tvime {

// A drive path ("C:\..." or "C:/...") or a UNC path ("\\server\share\...").
bool IsAbsoluteWindowsPath(std::string_view path);

// The full paths to try for `fileName`, in order; folders that are empty or not absolute are
// skipped, and a folder gets its backslash where it lacks one.
std::vector<std::string> ProgramCandidates(std::string_view fileName,
                                           std::string_view installDirectory,
                                           std::string_view moduleDirectory);

}  // namespace tvime
