#pragma once
// Where the panels go on the screen: the stored positions, the defaults and the work-area fit.

#include <cstdint>

#include "session/geometry.h"

namespace tvime {

// The composition window on first show: the stored "CompPos" (left in the signed low 16 bits,
// top in the high 16 bits), or -1 for the bottom-right corner of the work area; a position that
// would not lie wholly inside the work area goes to that corner too.
Point PlaceCompositionWindow(std::int32_t storedPosition, const Rect& workArea, int width,
                             int height);

// The status window: the stored "Position" (-1 stands for (0, 0)); outside the work area, or at
// its very edge, it goes 10 pixels from the left and 5 above the bottom.
Point PlaceStatusWindow(std::int32_t storedPosition, const Rect& workArea, int width, int height);

// "MovedByCursor": the window's new top when it follows a caret at `caretY` (screen) in a font
// `fontHeight` high: below the caret line, or above it when it would pass the work area's bottom.
int FollowCaretTop(int caretY, int fontHeight, int windowHeight, int workAreaBottom);

}  // namespace tvime
