#pragma once
// The about dialog (resource 150): the installed module's version, the credits crawling over a
// star field, the licence and links to the product site.

#include <windows.h>

#include "settings/settings.h"

namespace tvime {

inline constexpr int kAboutDialogId = 150;

enum AboutControl : int {
  kCtlAboutLicence = 100,
  kCtlAboutVersion = 1300,
  kCtlAboutFeedback = 1301,
  kCtlAboutNews = 1302,
  kCtlAboutCredits = 1029,
};

// Runs the dialog modally over `owner`; the licence button closes it and then shows the licence
// for reading. The window that had the foreground before gets it back. The dialog's answer (1 for
// the licence, 0 closed, -1 when it could not be made).
INT_PTR ShowAboutDialog(HINSTANCE module, HWND owner, Settings& settings);

// The version text of the installed input-method module, "tvime30.ime" in the system folder
// (empty when it has no version or is not there).
std::string InstalledModuleVersion();

}  // namespace tvime
