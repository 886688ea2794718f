#pragma once
// Draws the panels' drawing lists with GDI: artwork from the program's bitmaps (colour-keyed
// where the artwork has a transparent colour), text in the panel fonts.

#include <windows.h>

#include <functional>
#include <map>

#include "session/draw_list.h"
#include "session/text_measure.h"

namespace tvime {

// The bitmaps and fonts of the panels, loaded once from a module's resources.
class PanelArtwork {
 public:
  explicit PanelArtwork(HINSTANCE module);
  PanelArtwork(const PanelArtwork&) = delete;
  PanelArtwork& operator=(const PanelArtwork&) = delete;
  ~PanelArtwork();

  // nullptr when the module has no such bitmap (the panel then fills instead of copying).
  HBITMAP Bitmap(Artwork artwork);
  HFONT FontOf(Font font) const;
  HINSTANCE module() const { return module_; }

 private:
  HINSTANCE module_;
  std::map<Artwork, HBITMAP> bitmaps_;
  HFONT candidate_;
  HFONT phrase_;
  HFONT hint_;
  HFONT news_;
  HFONT newsHovered_;
};

// Draws `list` on `dc` (client coordinates).
void RenderDrawList(HDC dc, const DrawList& list, PanelArtwork& artwork);

// Paints a whole window double-buffered, so that repaints do not flicker: the paint begins, then
// `makeList` gives what to draw. The paint ends (the window is valid again) even when it throws.
void PaintBuffered(HWND window, const std::function<DrawList()>& makeList, PanelArtwork& artwork);

// Text extents in the panel fonts.
class GdiTextMeasure : public TextMeasure {
 public:
  explicit GdiTextMeasure(const PanelArtwork& artwork) : artwork_(artwork) {}
  TextSize Measure(Font font, std::string_view text) const override;

 private:
  const PanelArtwork& artwork_;
};

}  // namespace tvime
