#pragma once
// Client-area geometry of the panels, in pixels.

namespace tvime {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  // Edges count as inside: a click on the edge two items share goes to the one laid out first.
  bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
  bool operator==(const Rect&) const = default;
};

// The composition window's fixed client area and its grid of candidate cells.
inline constexpr int kPanelWidth = 290;
inline constexpr int kPanelHeight = 156;
inline constexpr int kGridX = 3;
inline constexpr int kGridY = 27;
inline constexpr int kCellPitch = 26;
inline constexpr int kGlyphSize = 17;
inline constexpr int kGridInset = (kCellPitch - kGlyphSize) / 2;  // 4
inline constexpr int kGridColumns = 10;

// The top-left corner of grid cell n (10 per row) from the grid origin.
struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};
constexpr Point GridCell(int n) {
  return {kGridX + kGridInset + (n % kGridColumns) * kCellPitch,
          kGridY + kGridInset + (n / kGridColumns) * kCellPitch};
}

// How the panels reach the screen: every position is laid out once in 96-dpi units and scaled
// by the dpi of the window's monitor (times the panel size the user chose, for the panels that
// have one). Drawing and hit-testing both go through Of(), so a click lands on the item drawn
// under it whatever the scale; shared edges of neighbours stay shared after rounding.
struct LayoutScale {
  int dpi = 96;

  int Px(int units) const {
    int scaled = units * dpi;
    return scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96);
  }
  Point Of(Point p) const { return {Px(p.x), Px(p.y)}; }
  Rect Of(const Rect& r) const { return {Px(r.left), Px(r.top), Px(r.right), Px(r.bottom)}; }
  bool operator==(const LayoutScale&) const = default;
};

// The scale of a window on a monitor of `monitorDpi` with a panel size of `percent` (100 for
// the windows without one). Out-of-range values fall back to 96 dpi and 100 %.
constexpr LayoutScale ScaleFor(int monitorDpi, int percent = 100) {
  if (monitorDpi < 48 || monitorDpi > 960) monitorDpi = 96;
  if (percent < 50 || percent > 400) percent = 100;
  return {monitorDpi * percent / 100};
}

// The strip at the bottom where hints and the news line appear.
inline constexpr Rect kHintStrip{3, 131, kPanelWidth - 26, kPanelHeight - 3};
// The row of the composition line, left of the top buttons: a click there commits the pending
// text.
inline constexpr Rect kCompositionLine{4, 4, 261, 26};

}  // namespace tvime
