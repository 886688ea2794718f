// GBK conversions through Windows' own code page 936 tables.

#include <windows.h>

#include <gtest/gtest.h>

#include "base/gbk.h"

namespace tvime {
namespace {

TEST(GbkOnWindows, ConvertsChineseTextBothWays) {
  EXPECT_EQ(GbkToUtf8("\xD6\xD0\xB9\xFA"), "中国");
  EXPECT_EQ(Utf8ToGbk("中国a"),
            "\xD6\xD0\xB9\xFA"
            "a");
  EXPECT_EQ(GbkToUtf16("\xD6\xD0"), u"中");
  EXPECT_EQ(Utf16ToGbk(u"中〇"), "\xD6\xD0\xA9\x96");
  EXPECT_EQ(GbkToUtf8(Utf8ToGbk("zhōng")), "zhōng");
  EXPECT_EQ(GbkToUtf16(""), u"");
}

TEST(GbkOnWindows, ReportsCharactersGbkCannotHold) {
  bool lossless = true;
  Utf8ToGbk(
      "a\xF0\xAB\xAB\x87"
      "b",
      &lossless);  // U+2BAC7 is not in GBK
  EXPECT_FALSE(lossless);
  Utf8ToGbk("中", &lossless);
  EXPECT_TRUE(lossless);
}

TEST(GbkOnWindows, RunsUnderTheChineseCodePageAsOnTheSystemsServed) {
  // The conversions name code page 936 themselves; the test prefix also has it as ANSI code page,
  // so that the narrow (A) functions see GBK as they do for our users.
  EXPECT_EQ(GetACP(), 936u);
}

}  // namespace
}  // namespace tvime
