#pragma once
// The anonymous user id: a GUID in registry format ("{...}") created on the first start.

#include <cstdint>
#include <functional>
#include <string>

#include "settings/settings.h"

namespace tvime {

// Returns "UserId"; when it is empty, makes one with `newGuid`, writes it, and writes
// "UserRegTime" = `now` (seconds since 1970).
std::string EnsureUserId(Settings& settings, const std::function<std::string()>& newGuid,
                         std::int64_t now);

#ifdef _WIN32
// A new GUID in registry format, or the empty text when none could be made.
std::string NewGuidText();
#endif

}  // namespace tvime
