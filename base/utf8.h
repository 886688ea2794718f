#pragma once
// UTF-8 <-> UTF-16, for the texts the programs write in UTF-8 (messages, captions, tool output)
// and the platform's wide functions. Unlike the GBK conversions nothing is lost on the way: every
// character Unicode has survives both directions.

#include <string>
#include <string_view>

namespace tvime {

// The characters of UTF-8 text. Bytes that do not form a UTF-8 character (cut short, overlong,
// a surrogate, past U+10FFFF) become U+FFFD, one per byte.
std::u32string DecodeUtf8(std::string_view utf8);
// The same characters in UTF-16.
std::u16string Utf8ToUtf16(std::string_view utf8);
// An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace tvime
