#include "settings/registry_settings_store_win.h"

#include <windows.h>

#include "base/registry_key_win.h"

#include <algorithm>
#include <vector>

namespace tvime {
namespace {

HKEY RootKey(SettingsRoot root) {
  return root == SettingsRoot::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// The key is created when a value is written.
bool OpenForWrite(SettingsRoot root, RegistryKey& key) {
  return RegCreateKeyExA(RootKey(root), kSettingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_SET_VALUE, nullptr, key.out(), nullptr) == ERROR_SUCCESS;
}

}  // namespace

RegistrySettingsStore::~RegistrySettingsStore() {
  for (HKEY key : readKeys_) {
    if (key) RegCloseKey(key);
  }
}

LONG RegistrySettingsStore::Query(SettingsRoot root, const std::function<LONG(HKEY)>& query) const {
  std::lock_guard lock(mutex_);
  HKEY& key = readKeys_[root == SettingsRoot::Machine ? 1 : 0];
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!key &&
        RegOpenKeyExA(RootKey(root), kSettingsKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
      key = nullptr;
      return ERROR_FILE_NOT_FOUND;
    }
    LONG status = query(key);
    if (status != ERROR_KEY_DELETED) return status;
    RegCloseKey(key);
    key = nullptr;
  }
  return ERROR_KEY_DELETED;
}

std::optional<std::uint32_t> RegistrySettingsStore::ReadInt(SettingsRoot root,
                                                            std::string_view name) const {
  std::string zName(name);
  DWORD type = 0, value = 0, size = sizeof value;
  LONG status = Query(root, [&](HKEY key) {
    return RegQueryValueExA(key, zName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                            &size);
  });
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return std::nullopt;
  return value;
}

std::optional<std::string> RegistrySettingsStore::ReadString(SettingsRoot root,
                                                             std::string_view name) const {
  std::string zName(name);
  DWORD type = 0, got = 0;
  // Most settings strings are short: one query reads them; a longer one is read again at its
  // size (each query is a round trip to the registry).
  std::vector<char> buffer(256);
  LONG status = Query(root, [&](HKEY key) {
    auto readIntoBuffer = [&] {
      got = static_cast<DWORD>(buffer.size() - 1);
      return RegQueryValueExA(key, zName.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &got);
    };
    LONG read = readIntoBuffer();
    if (read == ERROR_MORE_DATA) {
      // The value may change between the two calls; a second failure reads as missing.
      buffer.assign(got + 1, '\0');
      read = readIntoBuffer();
    }
    if (read == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
    return read;
  });
  if (status != ERROR_SUCCESS) return std::nullopt;
  // A stored string need not end with its NUL; never read past what was returned.
  std::string text(buffer.data(), std::min<size_t>(got, buffer.size() - 1));
  size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

bool RegistrySettingsStore::WriteInt(SettingsRoot root, std::string_view name,
                                     std::uint32_t value) {
  RegistryKey key;
  if (!OpenForWrite(root, key)) return false;
  std::string zName(name);
  DWORD dword = value;
  return RegSetValueExA(key.get(), zName.c_str(), 0, REG_DWORD,
                        reinterpret_cast<const BYTE*>(&dword), sizeof dword) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::WriteString(SettingsRoot root, std::string_view name,
                                        std::string_view text) {
  RegistryKey key;
  if (!OpenForWrite(root, key)) return false;
  std::string zName(name), zText(text);
  return RegSetValueExA(key.get(), zName.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(zText.c_str()),
                        static_cast<DWORD>(zText.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace tvime
