#pragma once
// How the stand-alone program hands committed text to another application's focused control:
// as character messages, because it has no input context of its own.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tvime {

// The WM_IME_CHAR values for an ANSI window: a double-byte GBK character as one value with its
// lead byte high, a single-byte character on its own. (Pairing bytes from the start would turn an
// ASCII letter and the lead byte after it into one garbage character.) A lead byte without its
// trail byte at the end is sent alone.
std::vector<std::uint16_t> AnsiImeChars(std::string_view gbk);

// The Chinese (PRC) keyboard layout among the user's preloaded layouts, given as the registry's
// value texts in enumeration order: the first whose number (hexadecimal) has 0x0804 in its low 16
// bits; 0x0804 when none has.
std::uint32_t FindChineseLayout(const std::vector<std::string_view>& preloadValues);

}  // namespace tvime
