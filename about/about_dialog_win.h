#pragma once
// The about dialog: the installed module's version, the credits crawling over a
// star field, the licence and links to the product site.

#include <windows.h>

#include "resources/resource_ids.h"
#include "settings/settings.h"

namespace tvime {

inline constexpr int kAboutDialogId = IDD_ABOUT;

enum AboutControl : int {
  kCtlAboutLicence = IDC_ABOUT_LICENCE,
  kCtlAboutVersion = IDC_ABOUT_VERSION,
  kCtlAboutFeedback = IDC_ABOUT_FEEDBACK,
  kCtlAboutNews = IDC_ABOUT_NEWS,
  kCtlAboutCredits = IDC_ABOUT_CREDITS,
};

// Runs the dialog modally over `owner`; the licence button closes it and then shows the licence
// for reading. The window that had the foreground before gets it back. The dialog's answer (1 for
// the licence, 0 closed, -1 when it could not be made).
INT_PTR ShowAboutDialog(HINSTANCE module, HWND owner, Settings& settings);

// The version text of the installed input-method module, "tvime30.ime" in the system folder
// (empty when it has no version or is not there).
std::string InstalledModuleVersion();

}  // namespace tvime
