#include "panels/gdi_renderer_win.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>

#include "base/dpi_win.h"
#include "base/gbk.h"
#include "base/gdi_scope_win.h"
#include "base/wide_text_win.h"

namespace tvime {
namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The colour keyed out of each artwork; none for the pictures copied whole.
std::optional<COLORREF> TransparentColour(Artwork artwork) {
  switch (artwork) {
    case Artwork::StrokeIcons:
    case Artwork::SymbolIcons:
    case Artwork::BarIcons:
      return kMagenta;
    case Artwork::StrokeGlyphs:
    case Artwork::RadicalIcons:
    case Artwork::StrokeHints:
      return kWhite;
    default:
      return std::nullopt;
  }
}

// The system's GUI font, underlined or not, at a scale: the stock font's height is for the
// system's dpi, the panels' for their monitor's (96 for the layout's measures).
HFONT GuiFontAt(bool underline, LayoutScale scale) {
  LOGFONTW font{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  font.lfHeight = MulDiv(font.lfHeight, scale.dpi, SystemDpi());
  font.lfUnderline = underline;
  return CreateFontIndirectW(&font);
}

HFONT MakeFont(int height, bool underline, const wchar_t* face) {
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face);
}

void DrawBitmapOp(HDC dc, const DrawBitmap& op, PanelArtwork& artwork, LayoutScale scale) {
  // The cell's place and size on the window: its 96-dpi rectangle scaled, as the items are.
  Point at = scale.Of(op.at);
  Rect cell =
      scale.Of(Rect{op.at.x, op.at.y, op.at.x + op.source.width(), op.at.y + op.source.height()});
  int drawnDpi = 96;
  HBITMAP bitmap = artwork.BestBitmap(op.artwork, scale.dpi, drawnDpi);
  if (!bitmap) {
    if (op.artwork == Artwork::Background) {
      RECT all{cell.left, cell.top, cell.right, cell.bottom};
      FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    return;
  }
  MemoryDc source(dc);
  if (!source) return;
  Selected selected(source.get(), bitmap);
  // The cell in the picture drawn for its scale: laid out by the same rounding.
  const Rect s = LayoutScale{drawnDpi}.Of(op.source);
  int width = cell.width(), height = cell.height();
  if (std::optional<COLORREF> key = TransparentColour(op.artwork)) {
    TransparentBlt(dc, at.x, at.y, width, height, source.get(), s.left, s.top, s.width(),
                   s.height(), *key);
  } else if (s.width() == width && s.height() == height) {
    BitBlt(dc, at.x, at.y, width, height, source.get(), s.left, s.top, SRCCOPY);
  } else {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, at.x, at.y, width, height, source.get(), s.left, s.top, s.width(), s.height(),
               SRCCOPY);
  }
}

void DrawTextOp(HDC dc, const DrawText& op, PanelArtwork& artwork, LayoutScale scale) {
  Selected font(dc, artwork.FontOf(op.font, scale));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(op.color.r, op.color.g, op.color.b));
  Rect r = scale.Of(op.rect);
  RECT rect{r.left, r.top, r.right, r.bottom};
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (op.align == AlignCenter) format |= DT_CENTER;
  std::wstring text = WideFromGbk(op.text);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

// Lines are as thick as the scale makes them, and never vanish.
int PenWidth(int units, LayoutScale scale) { return std::max(1, scale.Px(units)); }

void DrawHighlightOp(HDC dc, const DrawHighlight& op, LayoutScale scale) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(op.pressed ? RGB(132, 146, 181) : RGB(181, 189, 214)));
  GdiObject<HPEN> pen(CreatePen(PS_INSIDEFRAME, PenWidth(1, scale), RGB(8, 36, 107)));
  Selected selectedBrush(dc, brush.get());
  Selected selectedPen(dc, pen.get());
  Rect r = scale.Of(op.rect);
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

void DrawFrameOp(HDC dc, const DrawFrame& op, LayoutScale scale) {
  GdiObject<HPEN> pen(
      CreatePen(PS_SOLID, PenWidth(op.penWidth, scale), RGB(op.color.r, op.color.g, op.color.b)));
  Selected selectedBrush(dc, GetStockObject(NULL_BRUSH));
  Selected selectedPen(dc, pen.get());
  Rect r = scale.Of(op.rect);
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

}  // namespace

PanelArtwork::PanelArtwork(HINSTANCE module) : module_(module) {}

PanelArtwork::~PanelArtwork() {
  for (auto& [artwork, bitmap] : bitmaps_) {
    if (bitmap) DeleteObject(bitmap);
  }
  for (auto& [font, handle] : scaledFonts_) {
    if (handle) DeleteObject(handle);
  }
  for (HFONT font : fonts_) {
    if (font) DeleteObject(font);
  }
}

HBITMAP PanelArtwork::Bitmap(Artwork artwork, int dpi) {
  auto it = bitmaps_.find({artwork, dpi});
  if (it == bitmaps_.end()) {
    HBITMAP bitmap = nullptr;
    for (size_t i = 0; i < std::size(kArtworkDpis); ++i) {
      if (kArtworkDpis[i] != dpi) continue;
      int id = static_cast<int>(artwork) + static_cast<int>(i) * kArtworkScaleStep;
      bitmap = static_cast<HBITMAP>(
          LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    }
    it = bitmaps_.emplace(std::pair{artwork, dpi}, bitmap).first;
  }
  return it->second;
}

HBITMAP PanelArtwork::BestBitmap(Artwork artwork, int dpi, int& drawnDpi) {
  if (HBITMAP exact = Bitmap(artwork, dpi)) {
    drawnDpi = dpi;
    return exact;
  }
  // Reducing a larger picture keeps it sharp; enlarging a smaller one is the last resort.
  for (int larger : kArtworkDpis) {
    if (larger < dpi) continue;
    if (HBITMAP bitmap = Bitmap(artwork, larger)) {
      drawnDpi = larger;
      return bitmap;
    }
  }
  for (size_t i = std::size(kArtworkDpis); i-- > 0;) {
    if (kArtworkDpis[i] > dpi) continue;
    if (HBITMAP bitmap = Bitmap(artwork, kArtworkDpis[i])) {
      drawnDpi = kArtworkDpis[i];
      return bitmap;
    }
  }
  return nullptr;
}

HFONT PanelArtwork::FontOf(Font font, LayoutScale scale) {
  if (scale.dpi == 96) return FontOf(font);
  auto it = scaledFonts_.find({font, scale.dpi});
  if (it == scaledFonts_.end()) {
    HFONT made;
    switch (font) {
      case Font::Phrase:
        made = MakeFont(scale.Px(18), true, L"Arial");
        break;
      case Font::Hint:
        made = MakeFont(scale.Px(15), false, L"宋体");
        break;
      case Font::News:
        made = GuiFontAt(false, scale);
        break;
      case Font::NewsHovered:
        made = GuiFontAt(true, scale);
        break;
      default:
        made = MakeFont(scale.Px(18), false, L"宋体");
        break;
    }
    it = scaledFonts_.emplace(std::pair{font, scale.dpi}, made).first;
  }
  return it->second ? it->second : FontOf(font);
}

HFONT PanelArtwork::FontOf(Font font) const {
  auto made = [this](size_t slot, auto make) {
    if (!fonts_[slot]) fonts_[slot] = make();
    return fonts_[slot];
  };
  switch (font) {
    case Font::Phrase:
      return made(1, [] { return MakeFont(18, true, L"Arial"); });
    case Font::Hint:
      return made(2, [] { return MakeFont(15, false, L"宋体"); });
    case Font::News:
      return made(3, [] { return GuiFontAt(false, LayoutScale{}); });
    case Font::NewsHovered:
      return made(4, [] { return GuiFontAt(true, LayoutScale{}); });
    default:
      return made(0, [] { return MakeFont(18, false, L"宋体"); });
  }
}

void RenderDrawList(HDC dc, const DrawList& list, PanelArtwork& artwork, LayoutScale scale) {
  for (const DrawOp& op : list) {
    if (const auto* bitmap = std::get_if<DrawBitmap>(&op)) {
      DrawBitmapOp(dc, *bitmap, artwork, scale);
    } else if (const auto* text = std::get_if<DrawText>(&op)) {
      DrawTextOp(dc, *text, artwork, scale);
    } else if (const auto* highlight = std::get_if<DrawHighlight>(&op)) {
      DrawHighlightOp(dc, *highlight, scale);
    } else if (const auto* frame = std::get_if<DrawFrame>(&op)) {
      DrawFrameOp(dc, *frame, scale);
    }
  }
}

void PaintBuffered(HWND window, const std::function<DrawList()>& makeList, PanelArtwork& artwork,
                   LayoutScale scale) {
  // The paint is begun before anything that may fail, and ended whatever happens.
  PaintScope paint(window);
  HDC dc = paint.dc();
  if (!dc) return;
  DrawList list = makeList();
  RECT client;
  GetClientRect(window, &client);
  MemoryDc buffer(dc);
  GdiObject<HBITMAP> pixels(CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (!buffer || !pixels.get()) {
    RenderDrawList(dc, list, artwork, scale);
    return;
  }
  Selected selected(buffer.get(), pixels.get());
  FillRect(buffer.get(), &client, GetSysColorBrush(COLOR_BTNFACE));
  RenderDrawList(buffer.get(), list, artwork, scale);
  BitBlt(dc, 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}

TextSize GdiTextMeasure::Measure(Font font, std::string_view text) const {
  MemoryDc dc(nullptr);
  if (!dc) return {static_cast<int>(text.size()) * 9, 18};
  SIZE size{0, 0};
  Selected selected(dc.get(), artwork_.FontOf(font));
  std::wstring wide = WideFromGbk(text);
  GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  return {size.cx, size.cy};
}

}  // namespace tvime
