// The per-user data directory on Windows: the application-data folder plus "tvime\".

#include "base/user_data_path_win.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <windows.h>

namespace tvime {

std::string UserDataPath(std::string_view fileName) {
  // The shell's lookup of the folder costs about as much as the rest of an application's first
  // selection of the input method; the folder does not move while a process runs.
  static const std::string directory = [] {
    char folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_APPDATA, FALSE)) folder[0] = '\0';
    return UserDataDirectoryIn(folder);
  }();
  if (!PathFileExistsA(directory.c_str())) CreateDirectoryA(directory.c_str(), nullptr);
  return directory + std::string(fileName);
}

}  // namespace tvime
