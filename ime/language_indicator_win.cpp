#include "ime/language_indicator_win.h"

#include <shlwapi.h>

#include <vector>

#include "base/product_title.h"
#include "base/wide_text_win.h"
#include "ime/input_context_win.h"

namespace tvime {
namespace {

constexpr UINT kSetImeIcon = 0x464;
constexpr UINT kSetImeTooltips = 0x465;
constexpr UINT kRemoveDefaultMenuItems = 0x466;

HKL g_ownLayout = nullptr;

}  // namespace

HKL FindOwnKeyboardLayout() {
  int count = GetKeyboardLayoutList(0, nullptr);
  if (count <= 0) return nullptr;
  std::vector<HKL> layouts(static_cast<size_t>(count), nullptr);
  count = GetKeyboardLayoutList(count, layouts.data());
  for (int index = 0; index < count; ++index) {
    char fileName[MAX_PATH] = {};
    if (ImmGetIMEFileNameA(layouts[index], fileName, sizeof fileName) == 0) continue;
    // A bare name on Windows, a full path on Wine.
    if (lstrcmpiA(PathFindFileNameA(fileName), "tvime30.ime") == 0) return layouts[index];
  }
  return nullptr;
}

void NotifyLanguageIndicator(HIMC context) {
  // Only older systems have the indicator; elsewhere the layout's registry entry is not read.
  HWND indicator = FindWindowA("Indicator", nullptr);
  if (!indicator) return;
  if (!g_ownLayout) g_ownLayout = FindOwnKeyboardLayout();
  if (!g_ownLayout) return;
  bool open = context && IsContextOpen(context);
  // Added once per process: every addition would raise the atom's reference count again.
  static const ATOM tooltip = GlobalAddAtomW(WideFromUtf8(kProductTitle).c_str());
  auto layout = reinterpret_cast<LPARAM>(g_ownLayout);
  PostMessageA(indicator, kSetImeIcon, open ? 1 : static_cast<WPARAM>(-1), layout);
  PostMessageA(indicator, kSetImeTooltips, open ? tooltip : static_cast<WPARAM>(-1), layout);
  PostMessageA(indicator, kRemoveDefaultMenuItems, open ? 1 : 0, layout);
}

}  // namespace tvime
