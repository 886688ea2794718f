#pragma once
// The stroke panel: the composition line, the candidate characters and phrases (or the
// follow-on words in association), ten stroke buttons and fourteen symbol buttons.

#include <array>
#include <vector>

#include "session/candidate_lists.h"
#include "session/subpanel.h"
#include "session/text_measure.h"

namespace tvime {

// The symbol buttons' characters (UTF-16); the last is the Enter key.
inline constexpr std::array<char16_t, 14> kSymbolButtons = {
    u'\uFF0C', u'\u3002', u'\uFF01', u'\uFF1F', u'\u3001', u'\uFF1B', u'\uFF1A',
    u'\u201C', u'\u201D', u'\u2026', u'\u2014', u'\uFFE5', u' ',      u'\n'};

// The fixed buttons of the panel.
Rect StrokeButtonRect(int index);
Rect SymbolButtonRect(int index);
// The symbol buttons as items: the stroke panel's two rows of seven beside the stroke buttons.
std::vector<PanelItem> SymbolItems();
// The symbol buttons as one row of fourteen from (left, top), as the pinyin panel shows them.
std::vector<PanelItem> SymbolRowItems(int left, int top);
// What a click on a symbol does: Enter goes to the application as the key, any other symbol
// is committed.
void ClickSymbol(CompositionPanel& panel, ContextHandle context, int index);
// The composition line's text box: from the line's left to the bar's first button.
inline constexpr int kLineLeft = 7;
inline constexpr int kLineTop = 5;
inline constexpr int kLineRight = 208;
// `text` as it fits `width` on the composition line: whole, or its end behind an ellipsis.
std::string FitLineEnd(const TextMeasure& measure, std::string_view text, int width);
// Draws `text` fitted into [left, right) of the composition line; the x after it.
int PaintLineText(DrawList& out, const TextMeasure& measure, std::string_view text, int left,
                  int right);
// Appends the draw operations of the items of `items`, the hovered one highlighted.
void PaintButtons(DrawList& out, const std::vector<PanelItem>& items, const PanelItem* hovered);

class StrokeSubpanel : public Subpanel {
 public:
  explicit StrokeSubpanel(CompositionPanel& panel);

  bool Click(ContextHandle context, int x, int y) override;
  std::string RightClickText(int x, int y) const override;
  void Paint(DrawList& out, const PanelItem* hovered) const override;
  bool HintFor(const PanelItem& item, Hint& hint) const override;
  const std::vector<PanelItem>& VisibleItems() const override { return visible_; }

  // Lays out the visible items again, in hit-testing order: the characters of the page, the
  // phrases of the page (or the follow-on words), the stroke buttons, the symbol buttons.
  void Rebuild();
  // The text of a character item in the current mode (a dictionary character, or an entry of the
  // chosen radical's group).
  std::string CharacterText(std::int64_t value) const;

  CharGrid characters{2};
  PhraseStrip phrases{57, 1};
  PhraseStrip association{31, 2};

 private:
  std::vector<PanelItem> visible_;
};

}  // namespace tvime
