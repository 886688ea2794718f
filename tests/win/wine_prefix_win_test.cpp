// The Windows test environment is the one our users have: Chinese code page and a font for 宋体.

#include <windows.h>

#include <gtest/gtest.h>

namespace tvime {
namespace {

TEST(WindowsEnvironment, UsesTheChineseAnsiCodePage) {
  EXPECT_EQ(GetACP(), 936u);
  EXPECT_EQ(GetUserDefaultLCID(), 0x0804u);
}

TEST(WindowsEnvironment, ASongtiRequestGetsAFontWithChineseGlyphs) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_TRUE(dc);
  HFONT font =
      CreateFontW(-18, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
  ASSERT_TRUE(font);
  HGDIOBJ old = SelectObject(dc, font);
  // Without the prefix's font replacement Wine falls back to some CJK font under its own name;
  // with it, the font answers to 宋体 as on Windows.
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  EXPECT_STREQ(face, L"宋体");
  WORD glyphs[3] = {};
  DWORD got = GetGlyphIndicesW(dc, L"中国字", 3, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
  EXPECT_EQ(got, 3u);
  for (WORD glyph : glyphs) EXPECT_NE(glyph, 0xFFFF);
  TEXTMETRICW metrics = {};
  ASSERT_TRUE(GetTextMetricsW(dc, &metrics));
  EXPECT_EQ(metrics.tmCharSet, GB2312_CHARSET);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
}

}  // namespace
}  // namespace tvime
