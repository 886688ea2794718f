// UTF-8 and UTF-16 round trips, including what GBK cannot hold, and what broken input becomes.

#include "base/utf8.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

TEST(Utf8, EveryPlaneSurvivesBothDirections) {
  // ASCII, Latin, CJK, a character GBK lacks (€ is in GBK's superset only), and an emoji
  // (a surrogate pair).
  const std::string text = "a\xC3\xA9\xE4\xB8\xAD\xE2\x82\xAC\xF0\x9F\x98\x80";
  std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, (std::u16string{u'a', u'\u00E9', u'\u4E2D', u'\u20AC', 0xD83D, 0xDE00}));
  EXPECT_EQ(Utf16ToUtf8(wide), text);
  EXPECT_EQ(DecodeUtf8(text),
            (std::u32string{U'a', U'\u00E9', U'\u4E2D', U'\u20AC', U'\U0001F600'}));
}

TEST(Utf8, BrokenInputBecomesReplacementCharactersAndNothingIsReadPastTheEnd) {
  EXPECT_EQ(Utf8ToUtf16("\xE4\xB8"), (std::u16string{0xFFFD, 0xFFFD}));              // cut short
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), (std::u16string{0xFFFD, 0xFFFD}));              // overlong "/"
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), (std::u16string{0xFFFD, 0xFFFD, 0xFFFD}));  // surrogate
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80").front(), 0xFFFD);  // past U+10FFFF
  EXPECT_EQ(Utf8ToUtf16("x\x80y"), (std::u16string{u'x', 0xFFFD, u'y'}));
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD800}), "a\xEF\xBF\xBD");  // unpaired
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00, u'b'}), std::string("\xEF\xBF\xBD") + "b");
}

}  // namespace
}  // namespace tvime
