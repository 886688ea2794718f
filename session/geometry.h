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

// The strip at the bottom where hints and the news line appear.
inline constexpr Rect kHintStrip{3, 131, kPanelWidth - 26, kPanelHeight - 3};
// The row of the composition line, left of the top buttons: a click there commits the pending
// text.
inline constexpr Rect kCompositionLine{4, 4, 261, 26};

}  // namespace tvime
