#pragma once
// Text extents, for the lists whose items are as wide as their labels. Windows measures with the
// panel's fonts; tests and tools use fixed-pitch figures close to those fonts.

#include <string_view>

#include "session/draw_list.h"

namespace tvime {

struct TextSize {
  int width = 0;
  int height = 0;
};

class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  // The extent of GBK `text` in `font`.
  virtual TextSize Measure(Font font, std::string_view text) const = 0;
};

// 9 pixels per byte (a Chinese character 18, as in the 18-pixel fonts), 18 high; the hint font 15.
class FixedTextMeasure : public TextMeasure {
 public:
  TextSize Measure(Font font, std::string_view text) const override {
    int height = font == Font::Hint ? 15 : 18;
    return {static_cast<int>(text.size()) * height / 2, height};
  }
};

}  // namespace tvime
