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

ScreenRect PopupRect(DockSide side, const ScreenRect& workArea, int height, int dpi) {
  const int margin = PopupPixels(10, dpi), gap = PopupPixels(5, dpi);
  const int width = PopupPixels(170, dpi);
  switch (side) {
    case DockSide::Top:
      return {workArea.right - margin - width, workArea.top, workArea.right - margin,
              workArea.top + height};
    case DockSide::Left:
      // On this side the popup reaches 190 in from the edge, 10 further than on the others.
      return {workArea.left + margin, workArea.bottom - gap - height,
              workArea.left + PopupPixels(190, dpi), workArea.bottom - gap};
    default:
      return {workArea.right - margin - width, workArea.bottom - gap - height,
              workArea.right - margin, workArea.bottom - gap};
  }
}

}  // namespace tvime
