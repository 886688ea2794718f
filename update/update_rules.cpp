#include "update/update_rules.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace tvime {

std::optional<std::array<std::uint32_t, 4>> ParseVersion(std::string_view text) {
  std::array<std::uint32_t, 4> numbers{};
  size_t count = 0;
  while (!text.empty()) {
    size_t dot = text.find('.');
    std::string_view part = text.substr(0, dot);
    text.remove_prefix(dot == std::string_view::npos ? text.size() : dot + 1);
    if (part.empty()) continue;
    if (count == numbers.size()) return std::nullopt;
    for (char c : part) {
      if (c < '0' || c > '9') return std::nullopt;
    }
    auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), numbers[count]);
    if (error != std::errc() || end != part.data() + part.size()) return std::nullopt;
    ++count;
  }
  if (count == 0) return std::nullopt;
  return numbers;
}

int compareVersions(std::string_view server, std::string_view local) {
  auto published = ParseVersion(server);
  if (!published) return kServerVersionMalformed;
  auto installed = ParseVersion(local);
  if (!installed) return kLocalVersionMalformed;
  const auto& s = *published;
  const auto& l = *installed;
  if (s[0] != l[0] || s[1] != l[1]) {
    bool newer = s[0] > l[0] || (s[0] == l[0] && s[1] > l[1]);
    return newer ? kMandatoryUpdate : kServerOlder;
  }
  for (size_t i = 2; i < 4; ++i) {
    if (s[i] != l[i]) return s[i] > l[i] ? kOptionalUpdate : kServerOlder;
  }
  return kSameVersion;
}

std::string ManifestName(std::string_view manifestName, std::string_view remoteName,
                         std::string_view localPath) {
  if (!manifestName.empty()) return std::string(manifestName);
  std::string name = std::string(remoteName.empty() ? localPath : remoteName) + ".txt";
  size_t slash = name.find_last_of('\\');
  if (slash != std::string::npos && slash > 0) name = name.substr(slash + 1);
  return name;
}

std::string BackupName(std::string_view path, int number) {
  char suffix[8];
  std::snprintf(suffix, sizeof suffix, ".b%02d", number);
  return std::string(path) + suffix;
}

std::string ProgressText(std::int32_t received, std::int32_t total, std::int64_t elapsedSeconds) {
  char speed[32];
  if (elapsedSeconds <= 0) {
    std::snprintf(speed, sizeof speed, "@ MB");
  } else {
    std::int64_t perSecond = received / elapsedSeconds;
    if (perSecond <= 1024) {
      std::snprintf(speed, sizeof speed, "%lld B", static_cast<long long>(perSecond));
    } else {
      std::snprintf(speed, sizeof speed, "%.2f KB", static_cast<double>(perSecond) / 1024.0);
    }
  }
  char line[160];
  std::snprintf(line, sizeof line, "%ld 字节 / %ld 字节, 速度为 %s /秒",
                static_cast<long>(received), static_cast<long>(total), speed);
  return line;
}

}  // namespace tvime
