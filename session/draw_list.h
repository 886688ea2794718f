#pragma once
// What a panel shows, as a list of simple drawing operations. The panels produce these lists;
// a small renderer on Windows draws them with GDI, and tests read them to check what a user sees.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "resources/resource_ids.h"
#include "session/geometry.h"

namespace tvime {

// The artwork the panels draw from (its bitmap resources).
enum class Artwork : int {
  StatusButtons = IDB_STATUS_BUTTONS,
  StrokeIcons = IDB_STROKE_ICONS,        // 10 icons of 18 x 18 in stroke-code order
  BarIcons = IDB_BAR_ICONS,              // 20 icons of 18 x 18
  SymbolIcons = IDB_SYMBOL_ICONS,        // 14 icons of 18 x 18
  StrokeGlyphs = IDB_STROKE_GLYPHS,      // 10 glyphs of 10 x 20 for the composition line
  RadicalIcons = IDB_RADICAL_ICONS,      // 18 x 18 cells, cell = radical number, 45 per row
  Background = IDB_BACKGROUND,           // 290 x 156
  CapitalsButton = IDB_CAPITALS_BUTTON,  // two 60 x 22 images side by side
  StrokeHints = IDB_STROKE_HINTS,        // ten rows of 18 pixels, one per stroke
};

enum class Font : int {
  Candidate,    // "宋体" 18
  Phrase,       // "Arial" 18, underlined
  Hint,         // "宋体" 15
  News,         // the system's GUI font
  NewsHovered,  // the same, underlined
};

struct Color {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Color&) const = default;
};
inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kBlue{0, 0, 255};
inline constexpr Color kFrameBlue{0, 0, 128};

// A cell of a strip of artwork: `source` is the rectangle inside the bitmap.
struct DrawBitmap {
  Artwork artwork;
  Rect source;
  Point at;
  bool operator==(const DrawBitmap&) const = default;
};

enum TextAlign : int {
  AlignLeftMiddle,  // one line, vertically centred
  AlignCenter,      // one line, centred both ways
};

// GBK text in a rectangle, with a transparent background.
struct DrawText {
  std::string text;
  Rect rect;
  Font font;
  Color color;
  TextAlign align;
  bool operator==(const DrawText&) const = default;
};

// The highlight of a hovered button or item: filled, with a one-pixel frame.
struct DrawHighlight {
  Rect rect;
  bool pressed;  // darker while the left button is held
  bool operator==(const DrawHighlight&) const = default;
};

struct DrawFrame {
  Rect rect;
  Color color;
  int penWidth;
  bool operator==(const DrawFrame&) const = default;
};

using DrawOp = std::variant<DrawBitmap, DrawText, DrawHighlight, DrawFrame>;
using DrawList = std::vector<DrawOp>;

}  // namespace tvime
