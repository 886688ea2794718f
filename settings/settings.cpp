#include "settings/settings.h"

namespace tvime {

std::int32_t Settings::ReadInt(std::string_view name, std::int32_t defaultValue,
                               SettingsRoot root) const {
  std::optional<std::uint32_t> stored = store_.ReadInt(root, name);
  return stored ? static_cast<std::int32_t>(*stored) : defaultValue;
}

void Settings::WriteInt(std::string_view name, std::int32_t number, SettingsRoot root) {
  store_.WriteInt(root, name, static_cast<std::uint32_t>(number));
}

std::int32_t Settings::Read(const IntSetting& value) const {
  return ReadInt(value.name, value.defaultValue, value.root);
}

void Settings::Write(const IntSetting& value, std::int32_t number) {
  WriteInt(value.name, number, value.root);
}

std::string Settings::Read(const StringSetting& value) const {
  return store_.ReadString(value.root, value.name).value_or(std::string());
}

void Settings::Write(const StringSetting& value, std::string_view text) {
  store_.WriteString(value.root, value.name, text);
}

std::string Settings::StrokeKeys() const {
  std::string keys = Read(setting::InputBihuaKeys);
  return keys.size() == 5 ? keys : std::string(kDefaultStrokeKeys);
}

std::string Settings::InstallDirectory() const {
  std::string path = Read(setting::Path);
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path;
}

std::int32_t PackPosition(WindowPosition position) {
  std::uint32_t packed = (static_cast<std::uint32_t>(position.top) << 16) |
                         (static_cast<std::uint32_t>(position.left) & 0xFFFF);
  return static_cast<std::int32_t>(packed);
}

std::optional<WindowPosition> UnpackPosition(std::int32_t packed) {
  if (packed == -1) return std::nullopt;
  std::uint32_t bits = static_cast<std::uint32_t>(packed);
  // Both halves are signed: a window may sit left of or above the primary monitor.
  return WindowPosition{static_cast<std::int16_t>(bits >> 16),
                        static_cast<std::int16_t>(bits & 0xFFFF)};
}

}  // namespace tvime
