#include "session/clipboard_formats.h"

#include <gtest/gtest.h>

#include <vector>

namespace tvime {
namespace {

using Formats = std::vector<unsigned>;

TEST(ClipboardFormats, MemoryBlocksAndMetafilesAreKeptAndDerivedFormatsLeftToTheSystem) {
  Formats picture = {2, 8, 9};  // a bitmap, its DIB and its palette
  EXPECT_EQ(HowToKeep(8, picture), ClipboardKeep::Bytes);
  EXPECT_EQ(HowToKeep(2, picture), ClipboardKeep::Synthesized);
  EXPECT_EQ(HowToKeep(9, picture), ClipboardKeep::Synthesized);
  // A bitmap alone is copied; a palette alone cannot be.
  EXPECT_EQ(HowToKeep(2, Formats{2}), ClipboardKeep::Bitmap);
  EXPECT_EQ(HowToKeep(9, Formats{9}), ClipboardKeep::Impossible);
  EXPECT_EQ(HowToKeep(14, Formats{3, 14}), ClipboardKeep::EnhancedMetafile);
  EXPECT_EQ(HowToKeep(3, Formats{3, 14}), ClipboardKeep::Synthesized);
  EXPECT_EQ(HowToKeep(3, Formats{3}), ClipboardKeep::Impossible);
  for (unsigned format : {1u, 7u, 13u, 15u, 16u, 17u, 0xC000u, 0xC123u, 0xFFFFu}) {
    EXPECT_EQ(HowToKeep(format, Formats{format}), ClipboardKeep::Bytes) << format;
  }
  // Owner display, the display formats, private and GDI-object formats.
  for (unsigned format : {0x80u, 0x82u, 0x200u, 0x2FFu, 0x300u, 0x3FFu, 0u}) {
    EXPECT_EQ(HowToKeep(format, Formats{format}), ClipboardKeep::Impossible) << format;
  }
}

TEST(ClipboardFormats, TextEndsAtItsNulOrAtTheEndOfTheBlock) {
  const char16_t terminated[] = u"ab\0cd";
  EXPECT_EQ(TextOfBlock(terminated, sizeof terminated), u"ab");
  const char16_t unterminated[] = {u'x', u'y', u'z'};
  EXPECT_EQ(TextOfBlock(unterminated, sizeof unterminated), u"xyz");
  EXPECT_EQ(TextOfBlock(unterminated, 5), u"xy");  // half a unit is not read
  EXPECT_EQ(TextOfBlock(unterminated, 0), u"");
  EXPECT_EQ(TextOfBlock(nullptr, 100), u"");
}

}  // namespace
}  // namespace tvime
