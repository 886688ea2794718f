#pragma once
// The clickable cells of the panels and the lists that lay them out page by page.

#include <cstdint>
#include <string>
#include <vector>

#include "session/geometry.h"

namespace tvime {

enum ItemKind : int {
  ItemCharacter = 1,
  ItemRadical = 2,
  ItemStroke = 3,
  ItemSymbol = 4,
  ItemPhrase = 5,
  ItemLetter = 6,     // a character of the letter or punctuation panel
  ItemCapitals = 7,   // the capitals button of the letter panel
  ItemInitial = 9,    // pinyin initial
  ItemFinal = 10,     // pinyin final
  ItemZiButton = 11,  // the pinyin panel's "字" button
};

struct PanelItem {
  std::int64_t value = 0;  // character index, stroke index, symbol index, phrase id, ...
  Rect rect;
  int row = 0;        // visible when row / rowsPerPage is the list's current page
  std::string label;  // GBK: a phrase's label, a letter panel's character
  ItemKind kind = ItemCharacter;
};

// The first item of `items` whose rectangle holds the point; nullptr for none.
inline const PanelItem* HitTest(const std::vector<PanelItem>& items, int x, int y) {
  for (const PanelItem& item : items) {
    if (item.rect.Contains(x, y)) return &item;
  }
  return nullptr;
}

// The same on the panel as drawn at `scale`: the point is in device pixels.
inline const PanelItem* HitTest(const std::vector<PanelItem>& items, int x, int y,
                                LayoutScale scale) {
  for (const PanelItem& item : items) {
    if (scale.Of(item.rect).Contains(x, y)) return &item;
  }
  return nullptr;
}

}  // namespace tvime
