#pragma once
// Registers the text service with the system, and removes it again: its COM class, its language
// profile and its categories. Called by the DLL's DllRegisterServer and DllUnregisterServer, which
// regsvr32 and the installer run.

#include <string>

namespace tvime {

// The class (in-process server `modulePath`, apartment-threaded) under the machine's classes,
// the Chinese (PRC) profile with the product's name and the module's icon, enabled, and the
// categories of tsf_guids_win.h. False when any part failed.
bool RegisterTextService(const std::wstring& modulePath);
// Removes all of it; what is not there is no failure.
bool UnregisterTextService();

}  // namespace tvime
