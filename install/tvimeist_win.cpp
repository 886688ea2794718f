// tvimeist: registers tvime30.ime as an input method, or removes it with "uninstall".
//   tvimeist [uninstall] [module file] [layout text]
// Exit code 1 when the operation succeeded, 0 when it failed. No window of its own.

#include <windows.h>

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

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  tvime::InstallerCommand command = tvime::ParseInstallerCommand(Utf8(commandLine));
  tvime::ImeRegistrar registrar;
  bool done = command.uninstall ? registrar.UninstallIme(command.moduleFile)
                                : registrar.InstallIme(command.moduleFile, command.layoutText);
  return done ? 1 : 0;
}
