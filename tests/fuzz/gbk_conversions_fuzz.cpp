// The GBK conversions at the platform boundary. Clipboard and selected text arrive as any UTF-16
// units, lone surrogates included, and the user word file as any bytes: whatever comes in, a
// character GBK can hold must come out as itself, nothing may be invented, and a second trip
// through the conversions must change nothing.
//
// The Windows backend builds GbkToUtf8 and Utf8ToGbk out of the UTF-16 conversions, so the
// direct UTF-8 paths are held to agree with going through UTF-16 by base's own decoder.

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/gbk.h"
#include "base/utf8.h"

namespace {

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The single-byte characters of GBK text other than '?', which stands for whatever was lost.
// Trail bytes of double-byte characters can be printable ASCII, so the text is walked character
// by character.
std::string AsciiOfGbk(std::string_view gbk) {
  std::string ascii;
  for (size_t i = 0; i < gbk.size(); ++i) {
    auto byte = static_cast<unsigned char>(gbk[i]);
    if (tvime::IsGbkLeadByte(byte)) {
      ++i;
    } else if (byte < 0x80 && byte != '?') {
      ascii += static_cast<char>(byte);
    }
  }
  return ascii;
}

template <typename Text>
std::string AsciiOfUnicode(const Text& text) {
  std::string ascii;
  for (auto c : text) {
    if (c < 0x80 && c != '?') ascii += static_cast<char>(c);
  }
  return ascii;
}

std::string WithoutQuestionMarks(std::string text) {
  std::erase(text, '?');
  return text;
}

// What GBK the conversions produce is GBK they read back exactly, and write again unchanged.
void CheckStableGbk(const std::string& gbk) {
  bool lossless = false;
  if (tvime::Utf16ToGbk(tvime::GbkToUtf16(gbk), &lossless) != gbk || !lossless) __builtin_trap();
  if (tvime::Utf8ToGbk(tvime::GbkToUtf8(gbk), &lossless) != gbk || !lossless) __builtin_trap();
}

void CheckGbkBytes(std::string_view bytes) {
  std::u16string wide = tvime::GbkToUtf16(bytes);
  // One unit for each character or invalid byte, and no character longer than two bytes.
  if (wide.size() > bytes.size() || 2 * wide.size() < bytes.size()) __builtin_trap();
  // A zero byte is never part of a double-byte character, so NULs map one to one.
  if (std::count(wide.begin(), wide.end(), u'\0') != std::count(bytes.begin(), bytes.end(), '\0')) {
    __builtin_trap();
  }
  // Code page 936 has nothing outside the BMP, so what it decodes is never half a pair.
  if (std::any_of(wide.begin(), wide.end(), IsSurrogate)) __builtin_trap();
  if (tvime::GbkToUtf8(bytes) != tvime::Utf16ToUtf8(wide)) __builtin_trap();

  bool lossless = false;
  std::string gbk = tvime::Utf16ToGbk(wide, &lossless);
  if (lossless && tvime::GbkToUtf16(gbk) != wide) __builtin_trap();
  CheckStableGbk(gbk);
}

void CheckUtf16Units(std::u16string_view text) {
  bool lossless = false;
  std::string gbk = tvime::Utf16ToGbk(text, &lossless);
  if (gbk.size() > 2 * text.size()) __builtin_trap();
  if (lossless && tvime::GbkToUtf16(gbk) != text) __builtin_trap();
  if (std::count(gbk.begin(), gbk.end(), '\0') != std::count(text.begin(), text.end(), u'\0')) {
    __builtin_trap();
  }
  // Only what GBK cannot hold becomes '?': the units around it are all still there.
  if (AsciiOfGbk(gbk) != AsciiOfUnicode(text)) __builtin_trap();
  // Base's UTF-8 encoder turns a lone surrogate into U+FFFD, which GBK lacks as well.
  bool viaUtf8Lossless = false;
  std::string viaUtf8 = tvime::Utf8ToGbk(tvime::Utf16ToUtf8(text), &viaUtf8Lossless);
  if (viaUtf8Lossless != lossless) __builtin_trap();
  if (WithoutQuestionMarks(viaUtf8) != WithoutQuestionMarks(gbk)) __builtin_trap();
  CheckStableGbk(gbk);
}

void CheckUtf8Bytes(std::string_view utf8) {
  bool lossless = false;
  std::string gbk = tvime::Utf8ToGbk(utf8, &lossless);
  if (lossless && tvime::GbkToUtf8(gbk) != utf8) __builtin_trap();
  // Invalid UTF-8 is not text GBK can hold; how many '?' it leaves is up to the backend.
  std::u32string characters = tvime::DecodeUtf8(utf8);
  if (lossless && std::find(characters.begin(), characters.end(), U'\uFFFD') != characters.end()) {
    __builtin_trap();
  }
  if (AsciiOfGbk(gbk) != AsciiOfUnicode(characters)) __builtin_trap();
  bool viaUtf16Lossless = false;
  std::string viaUtf16 = tvime::Utf16ToGbk(tvime::Utf8ToUtf16(utf8), &viaUtf16Lossless);
  if (viaUtf16Lossless != lossless) __builtin_trap();
  if (WithoutQuestionMarks(viaUtf16) != WithoutQuestionMarks(gbk)) __builtin_trap();
  CheckStableGbk(gbk);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckGbkBytes(bytes);
  CheckUtf8Bytes(bytes);
  // The same bytes as little-endian UTF-16 units, as the clipboard hands them over.
  std::u16string units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  CheckUtf16Units(units);
  return 0;
}
