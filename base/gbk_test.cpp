#include "base/gbk.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

TEST(Gbk, ConvertsChineseTextBothWays) {
  EXPECT_EQ(GbkToUtf8("\xD6\xD0\xB9\xFA"), "中国");
  EXPECT_EQ(Utf8ToGbk("中国a"), std::string("\xD6\xD0\xB9\xFA") + "a");
  EXPECT_EQ(GbkToUtf16("\xD6\xD0"), u"中");
  EXPECT_EQ(Utf16ToGbk(u"中〇"), "\xD6\xD0\xA9\x96");
  EXPECT_EQ(GbkToUtf8(Utf8ToGbk("zhōng")), "zhōng");  // pinyin letters are in GBK
  EXPECT_EQ(GbkToUtf16(""), u"");
}

TEST(Gbk, ReportsCharactersGbkCannotHold) {
  bool lossless = true;
  // U+2BAC7 is not in GBK: it becomes '?' (one per UTF-16 unit on Windows), its neighbours stay.
  std::string gbk = Utf8ToGbk("a\U0002BAC7b", &lossless);
  EXPECT_FALSE(lossless);
  EXPECT_EQ(gbk.front(), 'a');
  EXPECT_EQ(gbk.back(), 'b');
  EXPECT_NE(gbk.find('?'), std::string::npos);
  Utf8ToGbk("中", &lossless);
  EXPECT_TRUE(lossless);
}

// Clipboard text can hold unpaired surrogates, and a UTF-8 sequence can be cut short: what is
// lost is that unit or those bytes alone, never the characters after them.
TEST(Gbk, KeepsTheCharactersAfterSomethingGbkCannotHold) {
  bool lossless = true;
  std::string gbk = Utf16ToGbk(std::u16string{u'\xD800', u'a', u'b'}, &lossless);
  EXPECT_FALSE(lossless);
  EXPECT_EQ(gbk.front(), '?');
  EXPECT_TRUE(gbk.ends_with("ab")) << gbk;
  EXPECT_TRUE(Utf16ToGbk(std::u16string{u'\xD800', u'\xD800', u'\0', u'c'})
                  .ends_with(std::string_view("\0c", 2)));

  gbk = Utf16ToGbk(u"a\U0002BAC7b", &lossless);  // a real pair outside GBK, as in UTF-8 above
  EXPECT_FALSE(lossless);
  EXPECT_EQ(gbk.front(), 'a');
  EXPECT_EQ(gbk.back(), 'b');

  lossless = true;
  gbk = Utf8ToGbk(std::string("\xE4") + "ab", &lossless);
  EXPECT_FALSE(lossless);
  EXPECT_EQ(gbk.front(), '?');
  EXPECT_TRUE(gbk.ends_with("ab")) << gbk;
  EXPECT_TRUE(Utf8ToGbk("\xF0\xAB\xE4\xB8\xAD").ends_with("\xD6\xD0"));  // 中 after a cut
}

TEST(Gbk, CutsAndTheLastCharacterKeepLatinLettersAndTwoByteCharactersWhole) {
  const std::string word = Utf8ToGbk("维生素C");  // 7 bytes: three characters and a letter
  EXPECT_EQ(GbkLastCharSize(word), 1u);
  EXPECT_EQ(GbkLastCharSize(word.substr(0, 6)), 2u);
  EXPECT_EQ(GbkLastCharSize(""), 0u);
  // "a" then 中: a trail byte that looks like a lead byte must not shift the boundaries.
  const std::string mixed = "a" + Utf8ToGbk("中国");
  EXPECT_EQ(GbkToUtf8(GbkPrefix(mixed, 4)), "a中");
  EXPECT_EQ(GbkToUtf8(GbkPrefix(mixed, 2)), "a");
  EXPECT_EQ(GbkToUtf8(GbkSuffix(mixed, 3)), "国");
  EXPECT_EQ(GbkToUtf8(GbkSuffix(word, 3)), "素C");
  EXPECT_TRUE(IsWholeGbkText(word));
  EXPECT_TRUE(IsWholeGbkText(""));
  EXPECT_FALSE(IsWholeGbkText(word.substr(0, 5)));  // ends in a lead byte
  EXPECT_FALSE(IsWholeGbkText("\r"));
  EXPECT_FALSE(IsWholeGbkText(std::string(1, '\x1B')));
}

// Windows' own tables map some invalid bytes to private-use characters instead (0xFF -> U+F8F5).
#ifndef _WIN32
TEST(Gbk, InvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(GbkToUtf16(std::string("a\xFF") + "b"), u"a\uFFFDb");
  EXPECT_EQ(GbkToUtf16("\xD6"), u"\uFFFD");  // a lead byte without its trail byte
}
#endif

}  // namespace
}  // namespace tvime
