#pragma once
// The letter panel (letters, digits and ASCII punctuation clicked one after another) and the
// punctuation panel (three pages of Chinese punctuation and signs; one click gives one symbol and
// returns to the stroke panel).

#include <string>
#include <vector>

#include "session/subpanel.h"

namespace tvime {

class CharacterSubpanel : public Subpanel {
 public:
  const std::vector<PanelItem>& VisibleItems() const override { return visible_; }
  bool HintFor(const PanelItem&, Hint&) const override { return false; }

 protected:
  CharacterSubpanel(CompositionPanel& panel, PanelMode number) : Subpanel(panel, number) {}
  // One 18 x 18 cell per character of `utf8` (14 per row from (7, 31)); spaces get an item only
  // when `spaceItems`.
  void LayOut(std::u16string_view characters, bool spaceItems);
  // What a clicked character does: "回" is Enter, "空" commits `space`, others commit themselves.
  void Commit(ContextHandle context, char16_t character, std::string_view space);
  void PaintCharacters(DrawList& out, const PanelItem* hovered) const;
  // A click on the composition line sends the pending text it shows; false when not on it.
  bool ClickLine(ContextHandle context, int x, int y);

  std::vector<PanelItem> visible_;
};

class LetterSubpanel : public CharacterSubpanel {
 public:
  explicit LetterSubpanel(CompositionPanel& panel);
  bool Click(ContextHandle context, int x, int y) override;
  void Paint(DrawList& out, const PanelItem* hovered) const override;

  bool capitals = false;

 private:
  void LayOutWithCapitals();
};

class PunctuationSubpanel : public CharacterSubpanel {
 public:
  explicit PunctuationSubpanel(CompositionPanel& panel);
  bool Click(ContextHandle context, int x, int y) override;
  void Paint(DrawList& out, const PanelItem* hovered) const override;
  bool NextPage() override;
  bool PrevPage() override;

  int page = 0;
};

}  // namespace tvime
