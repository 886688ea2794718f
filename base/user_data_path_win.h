#pragma once
// The per-user data directory on Windows.

#include <string>
#include <string_view>

#include "base/user_data_path.h"

namespace tvime {

// The per-user data directory (created if missing) followed by `fileName`.
std::string UserDataPath(std::string_view fileName);

}  // namespace tvime
