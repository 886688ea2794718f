#pragma once
// tvimeup's rules that need no window: its command line, and where its notification slides out
// of the screen's edge next to the taskbar.

#include <string>
#include <string_view>

namespace tvime {

// Interactive (asking before each update, showing the download dialog) only when the whole
// command line is "-showui", in any case; anything else, the empty line included, is silent.
bool IsInteractiveCommandLine(std::string_view commandLine);

// Where the 32-bit installation's files are published, beside the 64-bit ones: ".../updates/"
// gives ".../updates-x86/". Empty for an address that does not end in "updates/", for which
// there is no such rule.
std::string X86UpdateBaseUrl(std::string_view baseUrl);

struct ScreenRect {
  int left, top, right, bottom;
  bool operator==(const ScreenRect&) const = default;
};

// The taskbar's side, as the work area leaves it on the screen.
enum class DockSide : int { Bottom = 200, Top = 201, Other = 202, Left = 203 };
DockSide ChooseDockSide(const ScreenRect& workArea, int screenWidth, int screenHeight);

inline constexpr int kPopupHeight = 90;

// The popup's rectangle when `height` pixels of it show: it grows out of the work area's bottom
// edge (5 pixels above it) at its right, or down from its top, or up at its left. Its width and
// margins are for 96 dpi scaled to `dpi`, the monitor's.
ScreenRect PopupRect(DockSide side, const ScreenRect& workArea, int height, int dpi = 96);
// A length of the popup's 96-dpi layout at `dpi`.
constexpr int PopupPixels(int units, int dpi) { return (units * dpi + 48) / 96; }

}  // namespace tvime
