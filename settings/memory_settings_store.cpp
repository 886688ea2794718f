#include "settings/settings_store.h"

namespace tvime {

std::optional<std::uint32_t> MemorySettingsStore::ReadInt(SettingsRoot root,
                                                          std::string_view name) const {
  auto it = ints_.find({root, std::string(name)});
  if (it == ints_.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> MemorySettingsStore::ReadString(SettingsRoot root,
                                                           std::string_view name) const {
  auto it = strings_.find({root, std::string(name)});
  if (it == strings_.end()) return std::nullopt;
  return it->second;
}

// A value has one type at a time, as in the registry: writing one type removes the other.
bool MemorySettingsStore::WriteInt(SettingsRoot root, std::string_view name, std::uint32_t value) {
  Key key{root, std::string(name)};
  strings_.erase(key);
  ints_[key] = value;
  return true;
}

bool MemorySettingsStore::WriteString(SettingsRoot root, std::string_view name,
                                      std::string_view text) {
  Key key{root, std::string(name)};
  ints_.erase(key);
  strings_[key] = std::string(text);
  return true;
}

}  // namespace tvime
