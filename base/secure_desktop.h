#pragma once
// The secure desktop: the logon and lock screens and the elevation prompt. The input method runs
// there inside system processes, as the system account, before any user has proved who they are.
// There it types and does nothing else: no menu, dialog, browser or program start, no file or
// registry write, no clipboard.

#include <string_view>

namespace tvime {

// Whether an executable (a full path or a bare file name, any case) is one of the secure
// desktop's programs: winlogon.exe, logonui.exe, consent.exe.
bool IsSecureDesktopProgram(std::string_view executable);

// Whether a desktop's name is the secure desktop's ("Winlogon", any case).
bool IsSecureDesktopName(std::string_view desktop);

}  // namespace tvime
