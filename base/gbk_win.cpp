// GBK conversions on Windows, through the system's code page 936 tables.

#include <windows.h>

#include "base/gbk.h"

namespace tvime {
namespace {

constexpr UINT kGbk = 936;

std::u16string ToUtf16(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  int size = static_cast<int>(bytes.size());
  int units = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (units <= 0) return {};
  std::u16string text(static_cast<size_t>(units), u'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(text.data()),
                      units);
  return text;
}

std::string FromUtf16(UINT codePage, std::u16string_view text, bool* lossless) {
  if (lossless) *lossless = true;
  if (text.empty()) return {};
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
  int size = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  // UTF-8 refuses the "used default" argument; it never loses characters anyway.
  BOOL* usedDefaultArg = codePage == CP_UTF8 ? nullptr : &usedDefault;
  int bytes = WideCharToMultiByte(codePage, 0, wide, size, nullptr, 0, nullptr, usedDefaultArg);
  if (bytes <= 0) return {};
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(codePage, 0, wide, size, out.data(), bytes, nullptr, usedDefaultArg);
  if (lossless) *lossless = !usedDefault;
  return out;
}

}  // namespace

std::u16string GbkToUtf16(std::string_view gbk) { return ToUtf16(kGbk, gbk); }

std::string Utf16ToGbk(std::u16string_view text, bool* lossless) {
  return FromUtf16(kGbk, text, lossless);
}

std::string GbkToUtf8(std::string_view gbk) { return FromUtf16(CP_UTF8, GbkToUtf16(gbk), nullptr); }

std::string Utf8ToGbk(std::string_view utf8, bool* lossless) {
  return FromUtf16(kGbk, ToUtf16(CP_UTF8, utf8), lossless);
}

}  // namespace tvime
