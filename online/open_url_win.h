#pragma once
// Opening a web page in the user's browser without making anyone wait for it.

#include <string_view>

namespace tvime {

// Starts the browser on `url` from a thread of its own and returns at once. Nothing is opened in
// the processes of the secure desktop (winlogon and its peers) or after RefuseWebPages: there a
// browser would run as the system, before anyone has logged on. True when the browser is being
// started.
bool openUrl(std::string_view url);

// From now on this process opens no page (the input method on the secure desktop).
void RefuseWebPages();

}  // namespace tvime
