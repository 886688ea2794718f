#include "base/secure_desktop.h"

#include <algorithm>
#include <cctype>

namespace tvime {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

}  // namespace

bool IsSecureDesktopProgram(std::string_view executable) {
  size_t slash = executable.find_last_of("\\/");
  std::string_view name =
      slash == std::string_view::npos ? executable : executable.substr(slash + 1);
  for (std::string_view program : {"winlogon.exe", "logonui.exe", "consent.exe"}) {
    if (SameIgnoringCase(name, program)) return true;
  }
  return false;
}

bool IsSecureDesktopName(std::string_view desktop) { return SameIgnoringCase(desktop, "Winlogon"); }

}  // namespace tvime
