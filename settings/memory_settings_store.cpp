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

// A value written while shielded is read back with the type it was written with.
std::optional<std::uint32_t> ShieldedSettingsStore::ReadInt(SettingsRoot root,
                                                            std::string_view name) const {
  if (written_.ReadInt(root, name)) return written_.ReadInt(root, name);
  if (written_.ReadString(root, name)) return std::nullopt;
  return base_.ReadInt(root, name);
}

std::optional<std::string> ShieldedSettingsStore::ReadString(SettingsRoot root,
                                                             std::string_view name) const {
  if (auto text = written_.ReadString(root, name)) return text;
  if (written_.ReadInt(root, name)) return std::nullopt;
  return base_.ReadString(root, name);
}

bool ShieldedSettingsStore::WriteInt(SettingsRoot root, std::string_view name,
                                     std::uint32_t value) {
  return shielded_ ? written_.WriteInt(root, name, value) : base_.WriteInt(root, name, value);
}

bool ShieldedSettingsStore::WriteString(SettingsRoot root, std::string_view name,
                                        std::string_view text) {
  return shielded_ ? written_.WriteString(root, name, text) : base_.WriteString(root, name, text);
}

}  // namespace tvime
