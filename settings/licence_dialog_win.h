#pragma once
// The licence agreement dialogs: one at start (agree or refuse) and one for reading (close only).
// Both show the "LICENSE" RCDATA resource (RTF) in a RichEdit 1.0 control.

#include <windows.h>

#include <cstddef>

#include "resources/resource_ids.h"
#include "settings/settings.h"

namespace tvime {

inline constexpr int kLicenceAgreementDialogId = IDD_LICENCE_AGREEMENT;
inline constexpr int kLicenceReadingDialogId = IDD_LICENCE_READING;

enum LicenceControl : int {
  kCtlLicenceText = IDC_LICENCE_TEXT,       // the rich edit control
  kCtlNoShowLicence = IDC_LICENCE_NO_SHOW,  // "下次启动不再显示本对话框"
};

// Start mode (readingMode false) returns 1 at once, without a dialog, when "NoShowLicense3.1" is
// set. Otherwise loads RICHED32.DLL (it stays loaded; -1 when it cannot be loaded) and runs the
// dialog modally without an owner. Returns 1 for agree or close (the check box is then stored
// in "NoShowLicense3.1"), 2 for refuse, Escape or the close box (nothing is stored), -1 when the
// dialog could not be created.
int ShowLicenceAgreement(HINSTANCE module, bool readingMode, Settings& settings);

// The dialog procedure of both templates; the lParam of WM_INITDIALOG is the Settings*.
INT_PTR CALLBACK LicenceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Replaces the rich edit control's content with the "LICENSE" RCDATA resource of `module`, read
// as RTF. Returns the number of bytes streamed; 0 (and the control untouched) when the module has
// no such resource.
std::size_t StreamLicenceInto(HWND richEdit, HINSTANCE module);

}  // namespace tvime
