#include "session/window_placement.h"

#include <cstdlib>

#include "settings/settings.h"

namespace tvime {

Point PlaceCompositionWindow(std::int32_t storedPosition, const Rect& workArea, int width,
                             int height) {
  Point corner{workArea.right - width - 10, workArea.bottom - height - 10};
  std::optional<WindowPosition> stored = UnpackPosition(storedPosition);
  if (!stored) return corner;
  Point at{stored->left, stored->top};
  if (at.x < 0 || at.y < 0 || at.x > workArea.right - width || at.y > workArea.bottom - height) {
    return corner;
  }
  return at;
}

Point PlaceStatusWindow(std::int32_t storedPosition, const Rect& workArea, int width, int height) {
  Point at{0, 0};
  if (std::optional<WindowPosition> stored = UnpackPosition(storedPosition)) {
    at = {stored->left, stored->top};
  }
  if (at.y > workArea.bottom - height || at.x > workArea.right - width || at.x <= 0 || at.y <= 0) {
    return {workArea.left + 10, workArea.bottom - height - 5};
  }
  return at;
}

int FollowCaretTop(int caretY, int fontHeight, int windowHeight, int workAreaBottom) {
  int lineSpace = 3 * std::abs(fontHeight);
  int below = caretY + lineSpace / 2;
  if (below + windowHeight > workAreaBottom) return caretY - lineSpace / 2 - windowHeight;
  return below;
}

}  // namespace tvime
