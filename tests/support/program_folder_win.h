#pragma once
// Test helper: the folder of the running test program, with its backslash (the build puts the
// programs and modules under test there), and the test program started again.

#include <windows.h>

#include <string>

namespace tvime::testing {

inline std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

inline std::wstring ProgramFolderW() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// Starts this test program again running only `test`, a disabled test that only such a run runs;
// the process's handle, or nullptr when it did not start.
inline HANDLE StartOwnTest(const std::string& test) {
  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string command = std::string("\"") + program + "\" --gtest_filter=" + test +
                        " --gtest_also_run_disabled_tests";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

// Waits up to `milliseconds` for the process to end and closes its handle; its exit code, or
// STILL_ACTIVE when it did not end.
inline DWORD ExitCodeOf(HANDLE process, DWORD milliseconds = 60000) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0)
    GetExitCodeProcess(process, &code);
  CloseHandle(process);
  return code;
}

}  // namespace tvime::testing
