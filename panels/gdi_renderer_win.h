#pragma once
// Draws the panels' drawing lists with GDI: artwork from the program's bitmaps (colour-keyed
// where the artwork has a transparent colour), text in the panel fonts.

#include <windows.h>

#include <array>
#include <functional>
#include <map>
#include <utility>

#include "session/draw_list.h"
#include "session/text_measure.h"

namespace tvime {

// The scales the artwork is drawn for (100, 125, 150 and 200 %), as dpi; the resource of a
// bitmap at a scale is its 96-dpi number plus kArtworkScaleStep times the scale's place here.
inline constexpr int kArtworkDpis[] = {96, 120, 144, 192};
inline constexpr int kArtworkScaleStep = 1000;

// The bitmaps and fonts of the panels, loaded once from a module's resources. Fonts and
// pictures are made for each scale they are drawn at: nothing drawn is a stretched 96-dpi
// picture where the scale has its own.
class PanelArtwork {
 public:
  explicit PanelArtwork(HINSTANCE module);
  PanelArtwork(const PanelArtwork&) = delete;
  PanelArtwork& operator=(const PanelArtwork&) = delete;
  ~PanelArtwork();

  // nullptr when the module has no such bitmap (the panel then fills instead of copying).
  HBITMAP Bitmap(Artwork artwork, int dpi = 96);
  // The picture that draws `artwork` at `dpi`: the one drawn for that scale, else the nearest
  // larger one (reduced), else the nearest smaller one. Its scale goes to `drawnDpi`.
  HBITMAP BestBitmap(Artwork artwork, int dpi, int& drawnDpi);
  // The font at 96 dpi (text is measured in the 96-dpi layout) or at a scale.
  HFONT FontOf(Font font) const;
  HFONT FontOf(Font font, LayoutScale scale);
  HINSTANCE module() const { return module_; }

 private:
  HINSTANCE module_;
  std::map<std::pair<Artwork, int>, HBITMAP> bitmaps_;
  std::map<std::pair<Font, int>, HFONT> scaledFonts_;
  // The 96-dpi fonts (candidate, phrase, hint, news, hovered news), each made when first asked
  // for: an application that never shows a panel makes none.
  mutable std::array<HFONT, 5> fonts_{};
};

// Draws `list` (in 96-dpi units) on `dc` at `scale`, in client coordinates: every position and
// size goes through the same LayoutScale as the hit-testing of the panel.
void RenderDrawList(HDC dc, const DrawList& list, PanelArtwork& artwork, LayoutScale scale = {});

// Paints a whole window double-buffered, so that repaints do not flicker: the paint begins, then
// `makeList` gives what to draw. The paint ends (the window is valid again) even when it throws.
void PaintBuffered(HWND window, const std::function<DrawList()>& makeList, PanelArtwork& artwork,
                   LayoutScale scale = {});

// Text extents in the panel fonts.
class GdiTextMeasure : public TextMeasure {
 public:
  explicit GdiTextMeasure(const PanelArtwork& artwork) : artwork_(artwork) {}
  TextSize Measure(Font font, std::string_view text) const override;

 private:
  const PanelArtwork& artwork_;
};

}  // namespace tvime
