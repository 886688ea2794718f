#pragma once
// The input method's UI window ("TavrinIME3_UI") and caret following.

#include <windows.h>

#include "base/imm_ime_win.h"

namespace tvime {

// The window procedure; registered behind GuardedWindowProc, since it runs inside the application.
LRESULT CALLBACK UiWindowProc(HWND ui, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the UI window's composition panel (creating it the first time) without activating it.
void ShowCompositionPanel(HWND ui);

// With "MovedByCursor" on, moves the composition panel below (or above) the context's caret line;
// its horizontal place never changes.
void RepositionPanelToCaret(HIMC context);

}  // namespace tvime
