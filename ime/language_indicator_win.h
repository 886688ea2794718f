#pragma once
// The system's language indicator (the input-language icon of the taskbar), told whether this
// input method is open for the active context.

#include <windows.h>

#include "base/imm_ime_win.h"

namespace tvime {

// The installed keyboard layout whose input-method file is "tvime30.ime", or nullptr.
HKL FindOwnKeyboardLayout();

// Tells the indicator window (class "Indicator") the icon, tooltip and menu for the context's
// open state; a missing context counts as closed. Nothing happens without the window or layout.
void NotifyLanguageIndicator(HIMC context);

}  // namespace tvime
