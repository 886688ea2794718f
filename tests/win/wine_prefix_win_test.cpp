// The Windows test environment is the one our users have: Chinese code page, and for every face
// the programs ask for a font of the set the prefix declares, whatever else the machine has.

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/exported_function_win.h"
#include "base/wide_text_win.h"

namespace tvime {
namespace {

TEST(WindowsEnvironment, UsesTheChineseAnsiCodePage) {
  EXPECT_EQ(GetACP(), 936u);
  EXPECT_EQ(GetUserDefaultLCID(), 0x0804u);
}

// Which file a selected font comes from: gdi32's font-file queries (exported by Windows and Wine
// alike, though not in the SDK headers).
struct FontRealizationInfo {
  DWORD size;
  DWORD flags;
  DWORD cacheNumber;
  DWORD instanceId;
  DWORD reserved;
  WORD faceIndex;
  WORD simulations;
};
struct FontFileInfo {
  FILETIME writeTime;
  LARGE_INTEGER size;
  WCHAR path[1];
};

class SelectedFont {
 public:
  explicit SelectedFont(HFONT font) : dc_(CreateCompatibleDC(nullptr)), font_(font) {
    previous_ = SelectObject(dc_, font_);
  }
  explicit SelectedFont(const LOGFONTW& description)
      : SelectedFont(CreateFontIndirectW(&description)) {
    owned_ = true;
  }
  explicit SelectedFont(const wchar_t* face, BYTE charSet = DEFAULT_CHARSET)
      : SelectedFont(Describe(face, charSet)) {}
  ~SelectedFont() {
    SelectObject(dc_, previous_);
    if (owned_) DeleteObject(font_);
    DeleteDC(dc_);
  }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;

  std::wstring Face() const {
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc_, LF_FACESIZE, face);
    return face;
  }

  // The file name of the font GDI really chose ("uming.ttc"), or "" when it cannot tell.
  std::wstring FileName() const {
    std::wstring path = FilePath();
    return path.substr(path.find_last_of(L"\\/") + 1);
  }

  std::wstring FilePath() const {
    using RealizationQuery = BOOL(WINAPI*)(HDC, FontRealizationInfo*);
    using FileQuery = BOOL(WINAPI*)(DWORD, DWORD, FontFileInfo*, SIZE_T, SIZE_T*);
    HMODULE gdi = GetModuleHandleW(L"gdi32.dll");
    auto realization = ExportedFunction<RealizationQuery>(gdi, "GetFontRealizationInfo");
    auto file = ExportedFunction<FileQuery>(gdi, "GetFontFileInfo");
    if (!realization || !file) return L"";
    FontRealizationInfo info{};
    info.size = sizeof info;
    if (!realization(dc_, &info)) return L"";
    std::vector<char> buffer(sizeof(FontFileInfo) + MAX_PATH * 2 * sizeof(WCHAR));
    auto* fileInfo = reinterpret_cast<FontFileInfo*>(buffer.data());
    SIZE_T needed = 0;
    if (!file(info.instanceId, 0, fileInfo, buffer.size(), &needed)) return L"";
    return fileInfo->path;
  }

  HDC dc() const { return dc_; }

 private:
  static LOGFONTW Describe(const wchar_t* face, BYTE charSet) {
    LOGFONTW description{};
    description.lfHeight = -18;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = charSet;
    lstrcpynW(description.lfFaceName, face, LF_FACESIZE);
    return description;
  }

  HDC dc_;
  HFONT font_;
  HGDIOBJ previous_ = nullptr;
  bool owned_ = false;
};

TEST(WindowsEnvironment, ASongtiRequestGetsAFontWithChineseGlyphs) {
  SelectedFont selected(L"宋体", GB2312_CHARSET);
  // Without the prefix's font replacement Wine falls back to some CJK font under its own name;
  // with it, the font answers to 宋体 as on Windows.
  EXPECT_EQ(selected.Face(), L"宋体");
  WORD glyphs[3] = {};
  EXPECT_EQ(GetGlyphIndicesW(selected.dc(), L"中国字", 3, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 3u);
  for (WORD glyph : glyphs) EXPECT_NE(glyph, 0xFFFF);
  TEXTMETRICW metrics = {};
  ASSERT_TRUE(GetTextMetricsW(selected.dc(), &metrics));
  EXPECT_EQ(metrics.tmCharSet, GB2312_CHARSET);
}

// Every face the programs name, the dialogs' font and the system's own fonts come from the
// declared files: a Song face for 宋体, a sans face for 黑体, Arial's metrics for Arial.
TEST(WindowsEnvironment, EveryFaceTheProgramsUseResolvesToADeclaredFont) {
  const struct {
    const wchar_t* face;
    const wchar_t* file;
  } expected[] = {
      {L"宋体", L"uming.ttc"},
      {L"SimSun", L"uming.ttc"},
      {L"新宋体", L"uming.ttc"},
      {L"NSimSun", L"uming.ttc"},
      {L"黑体", L"wqy-microhei.ttc"},
      {L"SimHei", L"wqy-microhei.ttc"},
      {L"微软雅黑", L"wqy-microhei.ttc"},
      {L"Microsoft YaHei", L"wqy-microhei.ttc"},
      {L"Arial", L"LiberationSans-Regular.ttf"},
      {L"Tahoma", L"tahoma.ttf"},
      {L"MS Shell Dlg", L"uming.ttc"},
  };
  for (const auto& [face, file] : expected) {
    SelectedFont selected(face);
    EXPECT_EQ(selected.FileName(), file) << Utf8FromWide(face);
  }

  EXPECT_EQ(SelectedFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))).FileName(),
            L"uming.ttc");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  for (const LOGFONTW& system :
       {metrics.lfMenuFont, metrics.lfStatusFont, metrics.lfMessageFont, metrics.lfCaptionFont}) {
    EXPECT_EQ(SelectedFont(system).FileName(), L"uming.ttc") << Utf8FromWide(system.lfFaceName);
  }
}

int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM families) {
  if (font->lfFaceName[0] != L'@') {  // vertical variants share their family's file
    reinterpret_cast<std::set<std::wstring>*>(families)->insert(font->lfFaceName);
  }
  return 1;
}

// Wine lists every font fontconfig knows: the prefix's font set keeps out whatever other CJK
// fonts the machine has, which would change text widths and with them the panels' layout. Wine
// also remembers every font it once saw as an external font of the prefix, so a single run by
// hand with the machine's own fontconfig spoils a prefix for good (wine-run.sh never does).
TEST(WindowsEnvironment, SeesNoFontOutsideTheDeclaredSet) {
  HDC dc = CreateCompatibleDC(nullptr);
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;
  std::set<std::wstring> families;
  EnumFontFamiliesExW(dc, &all, CollectFamily, reinterpret_cast<LPARAM>(&families), 0);
  DeleteDC(dc);
  EXPECT_GE(families.size(), 8u);
  for (const std::wstring& family : families) {
    std::wstring path = SelectedFont(family.c_str()).FilePath();
    EXPECT_NE(path.find(L"\\tvime-fonts\\files\\"), std::wstring::npos)
        << Utf8FromWide(family) << " comes from " << Utf8FromWide(path);
  }
}

}  // namespace
}  // namespace tvime
