#pragma once
// Text for the platform's wide (UTF-16) functions: from the UTF-8 of messages and captions, from
// the GBK the system keeps, and back to UTF-8.

#include <string>
#include <string_view>

#include "base/gbk.h"
#include "base/utf8.h"

namespace tvime {

inline std::wstring WideFromUtf8(std::string_view utf8) {
  std::u16string text = Utf8ToUtf16(utf8);
  return std::wstring(text.begin(), text.end());
}

inline std::wstring WideFromGbk(std::string_view gbk) {
  std::u16string text = GbkToUtf16(gbk);
  return std::wstring(text.begin(), text.end());
}

inline std::string Utf8FromWide(std::wstring_view text) {
  return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

}  // namespace tvime
