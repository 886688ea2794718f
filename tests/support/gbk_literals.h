#pragma once
// Test helper: GBK bytes from a UTF-8 literal, so tests can be written with readable characters.

#include <string>
#include <string_view>

#include "base/gbk.h"

namespace tvime::testing {

inline std::string G(std::string_view utf8) { return Utf8ToGbk(utf8); }

}  // namespace tvime::testing
