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

// Character boundaries in GBK text, which mixes one-byte ASCII with two-byte characters: a byte
// count taken from the end or cut at a fixed width can land inside a character, so cuts go
// through these. A lead byte with nothing after it counts as a character of its own.
constexpr size_t GbkCharSizeAt(std::string_view text, size_t at) {
  return IsGbkLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// The byte length of the last character (0 for the empty text). Trail bytes can look like lead
// bytes, so the text is walked from its start.
constexpr size_t GbkLastCharSize(std::string_view text) {
  size_t at = 0, last = 0;
  while (at < text.size()) {
    last = GbkCharSizeAt(text, at);
    at += last;
  }
  return last;
}

// The longest start of `text` of at most `bytes` bytes that ends on a character boundary.
constexpr std::string_view GbkPrefix(std::string_view text, size_t bytes) {
  size_t at = 0;
  while (at < text.size() && at + GbkCharSizeAt(text, at) <= bytes) at += GbkCharSizeAt(text, at);
  return text.substr(0, at);
}

// The longest end of `text` of at most `bytes` bytes that starts on a character boundary.
constexpr std::string_view GbkSuffix(std::string_view text, size_t bytes) {
  size_t at = 0;
  while (at < text.size() && text.size() - at > bytes) at += GbkCharSizeAt(text, at);
  return text.substr(at);
}

// True when `text` is made of whole characters: printable ASCII and complete two-byte GBK
// characters (and code page 936's one-byte euro sign); no control byte, no lone lead byte.
constexpr bool IsWholeGbkText(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    unsigned char byte = static_cast<unsigned char>(text[at]);
    if (IsGbkLeadByte(byte)) {
      if (at + 1 >= text.size()) return false;
      unsigned char trail = static_cast<unsigned char>(text[at + 1]);
      if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
      at += 2;
    } else {
      if (byte < 0x20 || byte == 0x7F || byte == 0xFF) return false;  // 0x80 is the euro sign
      ++at;
    }
  }
  return true;
}

}  // namespace tvime
