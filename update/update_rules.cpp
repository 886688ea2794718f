#include "update/update_rules.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace tvime {

std::optional<std::array<std::uint32_t, 4>> ParseVersion(std::string_view text) {
  // Strict: whatever the network sends ends up in questions and comparisons, so anything but
  // plain numbers between single dots is not a version.
  if (text.empty() || text.size() > kMaxVersionTextLength) return std::nullopt;
  std::array<std::uint32_t, 4> numbers{};
  size_t count = 0;
  for (;;) {
    size_t dot = text.find('.');
    std::string_view part = text.substr(0, dot);
    if (part.empty() || part.size() > 5 || count == numbers.size()) return std::nullopt;
    for (char c : part) {
      if (c < '0' || c > '9') return std::nullopt;
    }
    std::uint32_t value = 0;
    std::from_chars(part.data(), part.data() + part.size(), value);
    if (value > 65535) return std::nullopt;
    numbers[count++] = value;
    if (dot == std::string_view::npos) break;
    text.remove_prefix(dot + 1);
  }
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

std::string VersionText(std::uint32_t mostSignificant, std::uint32_t leastSignificant) {
  auto high = [](std::uint32_t word) { return static_cast<unsigned>(word >> 16); };
  auto low = [](std::uint32_t word) { return static_cast<unsigned>(word & 0xFFFF); };
  char text[48];
  if (leastSignificant != 0) {
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", high(mostSignificant), low(mostSignificant),
                  high(leastSignificant), low(leastSignificant));
  } else if (mostSignificant != 0) {
    std::snprintf(text, sizeof text, "%u.%u", high(mostSignificant), low(mostSignificant));
  } else {
    return {};
  }
  return text;
}

std::string VersionOfProgramBytes(std::string_view bytes) {
  // The resource's key "VS_VERSION_INFO" in UTF-16, then the fixed part's signature 0xFEEF04BD
  // within a few bytes of padding, then its structure version and the two version words.
  static const std::string kKey = [] {
    std::string key;
    for (char c : std::string_view("VS_VERSION_INFO")) key += {c, '\0'};
    return key;
  }();
  constexpr std::string_view kSignature("\xBD\x04\xEF\xFE", 4);
  for (size_t at = bytes.find(kKey); at != std::string_view::npos; at = bytes.find(kKey, at + 1)) {
    size_t fixed = bytes.find(kSignature, at + kKey.size());
    if (fixed == std::string_view::npos || fixed > at + kKey.size() + 8) continue;
    if (bytes.size() < fixed + 16) return {};
    auto word = [&](size_t offset) {
      std::uint32_t value = 0;
      for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[fixed + offset + i]);
      }
      return value;
    };
    return VersionText(word(8), word(12));
  }
  return {};
}

bool UpdateCheckDue(std::uint32_t now, std::uint32_t lastCheck, bool automaticOff) {
  std::uint32_t elapsed = now - lastCheck;
  return elapsed > 14400 && (elapsed > 1296000 || !automaticOff);
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

std::string RefusalText(std::string_view name, UpdateRefusal reason) {
  const char* why = "";
  switch (reason) {
    case UpdateRefusal::None:
    case UpdateRefusal::Damaged:
      why = "下载的文件已损坏";
      break;
    case UpdateRefusal::NotFromPublisher:
      why = "文件不是本软件发布者签发的";
      break;
    case UpdateRefusal::NotNewer:
      why = "服务器上的版本不比已安装的版本新";
      break;
    case UpdateRefusal::TooLarge:
      why = "文件超出了应有的大小";
      break;
    case UpdateRefusal::NoAnswer:
      why = "更新服务器没有应答";
      break;
    case UpdateRefusal::Expired:
      why = "服务器上的更新说明已过期";
      break;
  }
  std::string shown(name.substr(0, 64));
  return "没有更新 " + shown + "：" + why + "，继续使用已安装的版本。";
}

bool IsLaterVersion(const std::array<std::uint32_t, 4>& candidate,
                    const std::array<std::uint32_t, 4>& installed) {
  return candidate > installed;
}

}  // namespace tvime
