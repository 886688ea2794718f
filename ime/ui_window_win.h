#pragma once
// The input method's UI window ("TavrinIME3_UI") and caret following.

#include <windows.h>

#include "base/imm_ime_win.h"

namespace tvime {

LRESULT CALLBACK UiWindowProc(HWND ui, UINT message, WPARAM wParam, LPARAM lParam);

// With "MovedByCursor" on, moves the composition panel below (or above) the context's caret line;
// its horizontal place never changes.
void RepositionPanelToCaret(HIMC context);

}  // namespace tvime
