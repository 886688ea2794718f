// GBK conversions on POSIX hosts, through iconv's CP936 (Microsoft's GBK).

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <string>

#include "base/gbk.h"

namespace tvime {
namespace {

// How many input bytes make up the character that starts at `p` (at least 1).
using SequenceLength = size_t (*)(const unsigned char* p, size_t left);

size_t OneByte(const unsigned char*, size_t) { return 1; }

// A lead byte claims only the continuation bytes that follow it: a sequence cut short by an
// ASCII byte or another lead byte must not swallow that byte, which may well be convertible.
size_t Utf8Sequence(const unsigned char* p, size_t left) {
  size_t claimed = *p >= 0xF0 ? 4 : *p >= 0xE0 ? 3 : *p >= 0xC0 ? 2 : 1;
  size_t length = 1;
  while (length < claimed && length < left && (p[length] & 0xC0) == 0x80) ++length;
  return length;
}

// A pair of surrogates is one character; a lone one is one unit, and the unit after it is its own.
size_t Utf16LeSequence(const unsigned char* p, size_t left) {
  bool pair = left >= 4 && (p[1] & 0xFC) == 0xD8 && (p[3] & 0xFC) == 0xDC;
  return pair ? 4 : 2;
}

// Converts with iconv; a character that cannot be converted is replaced by `replacement`
// (already in the target encoding) and skipped.
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement, SequenceLength sequenceLength, bool* lossless) {
  if (lossless) *lossless = true;
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return out;
  out.reserve(input.size() * 2);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char chunk[256];
  while (inLeft > 0) {
    char* outPtr = chunk;
    size_t outLeft = sizeof chunk;
    size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(chunk, static_cast<size_t>(outPtr - chunk));
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      // EILSEQ or EINVAL (truncated sequence at the end): replace and move on.
      out.append(replacement);
      if (lossless) *lossless = false;
      size_t skip =
          std::min(sequenceLength(reinterpret_cast<const unsigned char*>(in), inLeft), inLeft);
      in += skip;
      inLeft -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

std::u16string BytesToU16(const std::string& bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return text;
}

std::string U16ToBytes(std::u16string_view text) {
  std::string bytes(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return bytes;
}

}  // namespace

std::u16string GbkToUtf16(std::string_view gbk) {
  return BytesToU16(Convert("UTF-16LE", "CP936", gbk, "\xFD\xFF", OneByte, nullptr));
}

std::string Utf16ToGbk(std::u16string_view text, bool* lossless) {
  return Convert("CP936", "UTF-16LE", U16ToBytes(text), "?", Utf16LeSequence, lossless);
}

std::string GbkToUtf8(std::string_view gbk) {
  return Convert("UTF-8", "CP936", gbk, "\xEF\xBF\xBD", OneByte, nullptr);
}

std::string Utf8ToGbk(std::string_view utf8, bool* lossless) {
  return Convert("CP936", "UTF-8", utf8, "?", Utf8Sequence, lossless);
}

}  // namespace tvime
