#pragma once
// Test helper: the folder of the running test program, with its backslash; the build puts the
// programs and modules under test there.

#include <windows.h>

#include <string>

namespace tvime::testing {

inline std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

}  // namespace tvime::testing
