// tvimeist: registers tvime30.ime as an input method, or removes it with "uninstall"; registers
// the text service tvimetsf.dll with "tsf", or removes it with "uninstall-tsf".
//   tvimeist [uninstall] [module file] [layout text]
//   tvimeist tsf|uninstall-tsf [text service file]
// A bare file name is looked up in the system directory. Exit code 1 when the operation
// succeeded, 0 when it failed. No window of its own.

#include <windows.h>

#include <objbase.h>
#include <shlwapi.h>

#include <string>

#include "install/ime_registrar_win.h"
#include "install/installer_command.h"

namespace {

std::string Utf8(const wchar_t* text) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return {};
  std::string utf8(static_cast<size_t>(bytes - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

std::wstring Wide(const std::string& utf8) {
  int units = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  if (units <= 1) return {};
  std::wstring wide(static_cast<size_t>(units - 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), units);
  return wide;
}

// The text service registers itself, as regsvr32 has it do: its DllRegisterServer or
// DllUnregisterServer, in a process of its own bitness.
bool RegisterTextService(const std::string& file, bool uninstall) {
  std::wstring path = Wide(file);
  if (path.empty()) return false;
  if (PathIsRelativeW(path.c_str())) {
    wchar_t system[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    path = std::wstring(system, length) + L"\\" + path;
  }
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) return false;
  auto entry = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(
      GetProcAddress(module, uninstall ? "DllUnregisterServer" : "DllRegisterServer")));
  bool done = false;
  if (entry) {
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    done = SUCCEEDED(entry());
    if (SUCCEEDED(com)) CoUninitialize();
  }
  FreeLibrary(module);
  return done;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  tvime::InstallerCommand command = tvime::ParseInstallerCommand(Utf8(commandLine));
  if (command.textService)
    return RegisterTextService(command.moduleFile, command.uninstall) ? 1 : 0;
  tvime::ImeRegistrar registrar;
  bool done = command.uninstall ? registrar.UninstallIme(command.moduleFile)
                                : registrar.InstallIme(command.moduleFile, command.layoutText);
  return done ? 1 : 0;
}
