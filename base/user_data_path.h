#pragma once
// The per-user data directory that every process of the user shares (the user words, the news
// file): the application-data folder plus "tvime\".

#include <string>
#include <string_view>

namespace tvime {

// The per-user data directory for an application-data folder: the folder, a backslash when it
// has none, and "tvime\".
std::string UserDataDirectoryIn(std::string_view appDataFolder);

}  // namespace tvime
