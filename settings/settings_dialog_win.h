#pragma once
// The settings dialog over the portable model of settings_dialog.h.

#include <windows.h>

#include "resources/resource_ids.h"
#include "settings/settings_dialog.h"

namespace tvime {

inline constexpr int kSettingsDialogId = IDD_SETTINGS;

// Runs the dialog modally, centred on the desktop. OK applies the controls with
// ApplySettingsDialog; Cancel, Escape and the close box apply nothing. Returns IDOK, IDCANCEL,
// or -1 when the dialog could not be created (no such template in `resources`).
int ShowSettingsDialog(HINSTANCE resources, HWND owner, Settings& settings, ConversionFlags& flags,
                       const SessionOptions& session);

// The two halves of the dialog procedure, for a dialog made from the IDD_SETTINGS template.
// Fills the search-engine list and sets every control from the state; an engine index outside
// the list selects the nearest end.
void InitSettingsDialogControls(HWND dialog, const SettingsDialogState& state);
SettingsDialogState ReadSettingsDialogControls(HWND dialog);

// Moves a window so that its centre is the desktop's, keeping its size, Z order and activation.
void CenterOnDesktop(HWND window);

}  // namespace tvime
