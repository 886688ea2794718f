#include "base/program_location_win.h"

#include <windows.h>

namespace tvime {

bool IsExistingFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string OwnProgramPath() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

std::string OwnCodeFolder() {
  HMODULE self = nullptr;
  char path[MAX_PATH] = {};
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(&OwnCodeFolder), &self) ||
      GetModuleFileNameA(self, path, MAX_PATH) >= MAX_PATH - 1) {
    return {};
  }
  std::string folder = path;
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string FindInstalledProgram(std::string_view fileName, std::string_view installDirectory) {
  for (const std::string& path : ProgramCandidates(fileName, installDirectory, OwnCodeFolder())) {
    if (IsExistingFile(path)) return path;
  }
  return {};
}

void StartOwnProgramAgain(int show) {
  std::string path = OwnProgramPath();
  if (path.empty()) return;
  std::string command = "\"";
  command.append(path).push_back('"');
  WinExec(command.c_str(), static_cast<UINT>(show));
}

}  // namespace tvime
