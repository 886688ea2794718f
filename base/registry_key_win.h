#pragma once
// One open registry key, closed on every path out of its scope.

#include <windows.h>

namespace tvime {

class RegistryKey {
 public:
  RegistryKey() = default;
  // Opens root\path; the key stays empty (false) when it cannot be opened.
  RegistryKey(HKEY root, const char* path, REGSAM access) {
    if (RegOpenKeyExA(root, path, 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  RegistryKey(HKEY root, const wchar_t* path, REGSAM access) {
    if (RegOpenKeyExW(root, path, 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }

  // For the functions that return a new key through a pointer.
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace tvime
