#pragma once
// Registers tvime30.ime with the input-method manager as a keyboard layout, and removes it with
// its registry keys and its place in the user's layout list. Texts are UTF-8.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace tvime {

inline constexpr wchar_t kKeyboardLayoutsKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Keyboard Layouts";
inline constexpr wchar_t kPreloadKey[] = L"Keyboard Layout\\Preload";

class ImeRegistrar {
 public:
  // Shows an uninstallation error to the user; by default a message box titled "卸载输入法".
  using ErrorReport = std::function<void(std::string_view message)>;
  explicit ImeRegistrar(ErrorReport reportError = ShowUninstallError);

  // Installs the module (a bare name is looked up in the system directory) under the layout text
  // and loads the layout. A module already registered keeps its one layout (its text renewed).
  // False when the manager refuses it.
  bool InstallIme(std::string_view fileName, std::string_view layoutText);
  // Removes the layout whose "IME File" is the file name part of `fileName` (any case): unloads
  // it, drops its Preload value and deletes its key. A missing layout is no failure.
  bool UninstallIme(std::string_view fileName);
  // Deletes the first Preload value naming the layout; the other values keep their names.
  void RemovePreloadEntry(std::wstring_view layoutName, std::string_view message);
  // Deletes `path` below `root` with everything under it; `message` (may be empty) is reported
  // when the deletion fails.
  void DeleteRegistryTree(HKEY root, std::wstring_view path, std::string_view message);

  // The layout key whose "IME File" is `fileName` (a bare name, any case; the key's value may
  // hold a full path); empty when there is none.
  static std::wstring FindLayoutOf(std::wstring_view fileName);

  // The layout handle as the registry names it: lower-case hexadecimal, no leading zeros.
  static std::wstring LayoutName(HKL layout);
  static void ShowUninstallError(std::string_view message);

 private:
  ErrorReport reportError_;
};

}  // namespace tvime
