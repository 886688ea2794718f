#include "update/updater_rules.h"

#include <algorithm>
#include <cctype>

namespace tvime {

bool IsInteractiveCommandLine(std::string_view commandLine) {
  constexpr std::string_view kShowUi = "-showui";
  return std::equal(commandLine.begin(), commandLine.end(), kShowUi.begin(), kShowUi.end(),
                    [](unsigned char a, unsigned char b) { return std::tolower(a) == b; });
}

std::string X86UpdateBaseUrl(std::string_view baseUrl) {
  constexpr std::string_view kFolder = "updates/";
  if (baseUrl.size() < kFolder.size() || !baseUrl.ends_with(kFolder)) return {};
  std::string_view parent = baseUrl.substr(0, baseUrl.size() - kFolder.size());
  // "myupdates/" is not the folder "updates/".
  if (!parent.empty() && parent.back() != '/') return {};
  return std::string(parent) + "updates-x86/";
}

DockSide ChooseDockSide(const ScreenRect& workArea, int screenWidth, int screenHeight) {
  if (workArea.right - workArea.left == screenWidth && workArea.bottom < screenHeight) {
    return DockSide::Bottom;
  }
  if (workArea.left == 0 && workArea.top != 0) return DockSide::Top;
  if (workArea.left != 0 && workArea.top == 0) return DockSide::Left;
  return DockSide::Other;
}

ScreenRect PopupRect(DockSide side, const ScreenRect& workArea, int height) {
  switch (side) {
    case DockSide::Top:
      return {workArea.right - 180, workArea.top, workArea.right - 10, workArea.top + height};
    case DockSide::Left:
      return {workArea.left + 10, workArea.bottom - 5 - height, workArea.left + 190,
              workArea.bottom - 5};
    default:
      return {workArea.right - 180, workArea.bottom - 5 - height, workArea.right - 10,
              workArea.bottom - 5};
  }
}

}  // namespace tvime
