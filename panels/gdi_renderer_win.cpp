#include "panels/gdi_renderer_win.h"

#include <optional>
#include <string>

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

// A copy of the system's GUI font, underlined or not.
HFONT GuiFontCopy(bool underline) {
  LOGFONTW font{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  font.lfUnderline = underline;
  return CreateFontIndirectW(&font);
}

HFONT MakeFont(int height, bool underline, const wchar_t* face) {
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face);
}

void DrawBitmapOp(HDC dc, const DrawBitmap& op, PanelArtwork& artwork) {
  HBITMAP bitmap = artwork.Bitmap(op.artwork);
  if (!bitmap) {
    if (op.artwork == Artwork::Background) {
      RECT all{op.at.x, op.at.y, op.at.x + op.source.width(), op.at.y + op.source.height()};
      FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    return;
  }
  MemoryDc source(dc);
  if (!source) return;
  Selected selected(source.get(), bitmap);
  const Rect& s = op.source;
  if (std::optional<COLORREF> key = TransparentColour(op.artwork)) {
    TransparentBlt(dc, op.at.x, op.at.y, s.width(), s.height(), source.get(), s.left, s.top,
                   s.width(), s.height(), *key);
  } else {
    BitBlt(dc, op.at.x, op.at.y, s.width(), s.height(), source.get(), s.left, s.top, SRCCOPY);
  }
}

void DrawTextOp(HDC dc, const DrawText& op, PanelArtwork& artwork) {
  Selected font(dc, artwork.FontOf(op.font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(op.color.r, op.color.g, op.color.b));
  RECT rect{op.rect.left, op.rect.top, op.rect.right, op.rect.bottom};
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (op.align == AlignCenter) format |= DT_CENTER;
  std::wstring text = WideFromGbk(op.text);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

void DrawHighlightOp(HDC dc, const DrawHighlight& op) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(op.pressed ? RGB(132, 146, 181) : RGB(181, 189, 214)));
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(8, 36, 107)));
  Selected selectedBrush(dc, brush.get());
  Selected selectedPen(dc, pen.get());
  Rectangle(dc, op.rect.left, op.rect.top, op.rect.right, op.rect.bottom);
}

void DrawFrameOp(HDC dc, const DrawFrame& op) {
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, op.penWidth, RGB(op.color.r, op.color.g, op.color.b)));
  Selected selectedBrush(dc, GetStockObject(NULL_BRUSH));
  Selected selectedPen(dc, pen.get());
  Rectangle(dc, op.rect.left, op.rect.top, op.rect.right, op.rect.bottom);
}

}  // namespace

PanelArtwork::PanelArtwork(HINSTANCE module)
    : module_(module),
      candidate_(MakeFont(18, false, L"宋体")),
      phrase_(MakeFont(18, true, L"Arial")),
      hint_(MakeFont(15, false, L"宋体")),
      news_(GuiFontCopy(false)),
      newsHovered_(GuiFontCopy(true)) {}

PanelArtwork::~PanelArtwork() {
  for (auto& [artwork, bitmap] : bitmaps_) {
    if (bitmap) DeleteObject(bitmap);
  }
  DeleteObject(candidate_);
  DeleteObject(phrase_);
  DeleteObject(hint_);
  DeleteObject(news_);
  DeleteObject(newsHovered_);
}

HBITMAP PanelArtwork::Bitmap(Artwork artwork) {
  auto it = bitmaps_.find(artwork);
  if (it == bitmaps_.end()) {
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageW(module_, MAKEINTRESOURCEW(static_cast<int>(artwork)),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    it = bitmaps_.emplace(artwork, bitmap).first;
  }
  return it->second;
}

HFONT PanelArtwork::FontOf(Font font) const {
  switch (font) {
    case Font::Phrase:
      return phrase_;
    case Font::Hint:
      return hint_;
    case Font::News:
      return news_;
    case Font::NewsHovered:
      return newsHovered_;
    default:
      return candidate_;
  }
}

void RenderDrawList(HDC dc, const DrawList& list, PanelArtwork& artwork) {
  for (const DrawOp& op : list) {
    if (const auto* bitmap = std::get_if<DrawBitmap>(&op)) {
      DrawBitmapOp(dc, *bitmap, artwork);
    } else if (const auto* text = std::get_if<DrawText>(&op)) {
      DrawTextOp(dc, *text, artwork);
    } else if (const auto* highlight = std::get_if<DrawHighlight>(&op)) {
      DrawHighlightOp(dc, *highlight);
    } else if (const auto* frame = std::get_if<DrawFrame>(&op)) {
      DrawFrameOp(dc, *frame);
    }
  }
}

void PaintBuffered(HWND window, const std::function<DrawList()>& makeList, PanelArtwork& artwork) {
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
    RenderDrawList(dc, list, artwork);
    return;
  }
  Selected selected(buffer.get(), pixels.get());
  FillRect(buffer.get(), &client, GetSysColorBrush(COLOR_BTNFACE));
  RenderDrawList(buffer.get(), list, artwork);
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
