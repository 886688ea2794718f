#include "session/clipboard_formats.h"

#include <algorithm>
#include <cstring>

namespace tvime {
namespace {

// The standard clipboard formats, by number (the system's values).
enum : unsigned {
  kText = 1,
  kBitmap = 2,
  kMetafilePicture = 3,
  kSylk = 4,
  kDif = 5,
  kTiff = 6,
  kOemText = 7,
  kDib = 8,
  kPalette = 9,
  kPenData = 10,
  kRiff = 11,
  kWave = 12,
  kUnicodeText = 13,
  kEnhancedMetafile = 14,
  kFileList = 15,
  kLocale = 16,
  kDibV5 = 17,
  kFirstRegistered = 0xC000,
  kLastRegistered = 0xFFFF,
};

bool Has(std::span<const unsigned> present, unsigned format) {
  return std::find(present.begin(), present.end(), format) != present.end();
}

}  // namespace

ClipboardKeep HowToKeep(unsigned format, std::span<const unsigned> present) {
  switch (format) {
    case kText:
    case kSylk:
    case kDif:
    case kTiff:
    case kOemText:
    case kDib:
    case kPenData:
    case kRiff:
    case kWave:
    case kUnicodeText:
    case kFileList:
    case kLocale:
    case kDibV5:
      return ClipboardKeep::Bytes;
    case kEnhancedMetafile:
      return ClipboardKeep::EnhancedMetafile;
    case kBitmap:
      return Has(present, kDib) || Has(present, kDibV5) ? ClipboardKeep::Synthesized
                                                        : ClipboardKeep::Bitmap;
    case kPalette:
      return Has(present, kDib) || Has(present, kDibV5) ? ClipboardKeep::Synthesized
                                                        : ClipboardKeep::Impossible;
    case kMetafilePicture:
      return Has(present, kEnhancedMetafile) ? ClipboardKeep::Synthesized
                                             : ClipboardKeep::Impossible;
    default:
      // Registered formats are memory blocks by the system's convention.
      return format >= kFirstRegistered && format <= kLastRegistered ? ClipboardKeep::Bytes
                                                                     : ClipboardKeep::Impossible;
  }
}

std::u16string TextOfBlock(const void* block, size_t bytes) {
  if (!block) return {};
  size_t units = bytes / sizeof(char16_t);
  std::u16string text(units, u'\0');
  std::memcpy(text.data(), block, units * sizeof(char16_t));
  text.resize(std::min(text.find(u'\0'), units));
  return text;
}

}  // namespace tvime
