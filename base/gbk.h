#pragma once
// Conversions between GBK (code page 936) byte strings and Unicode.
//
// The system keeps all text as GBK bytes; these conversions are used only at the platform
// boundary (Unicode windows, UTF-8 tool output, UTF-8 data tables). They always use code page 936
// explicitly rather than the process's ANSI code page, so that text stays right on a system whose
// ANSI code page is not Chinese.

#include <string>
#include <string_view>

namespace tvime {

// Bytes that do not form a valid GBK character become U+FFFD, one per byte.
std::u16string GbkToUtf16(std::string_view gbk);

// Characters GBK cannot encode become '?'; *lossless (when given) tells whether any did.
std::string Utf16ToGbk(std::u16string_view text, bool* lossless = nullptr);

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8, bool* lossless = nullptr);

// True for the lead byte of a GBK double-byte character.
constexpr bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace tvime
