#pragma once
// The middle of the composition window belongs to the sub-panel of the session's mode: the
// stroke panel, the letter panel, the punctuation panel or the pinyin panel. Each lays out its
// own items, answers the mouse and says what it shows.

#include <vector>

#include "engine/panel_mode.h"
#include "session/draw_list.h"
#include "session/host.h"
#include "session/panel_item.h"

namespace tvime {

class CompositionPanel;

class Subpanel {
 public:
  Subpanel(CompositionPanel& panel, PanelMode number) : panel_(panel), number_(number) {}
  Subpanel(const Subpanel&) = delete;
  Subpanel& operator=(const Subpanel&) = delete;
  virtual ~Subpanel() = default;

  // The mode this sub-panel serves (1 stroke, 7 letters, 8 punctuation, 9 pinyin).
  PanelMode number() const { return number_; }

  // A left button up on the panel; true when something was hit.
  virtual bool Click(ContextHandle context, int x, int y) = 0;
  // A right button up: the text of a character or phrase under the point, for the word look-up.
  virtual std::string RightClickText(int /*x*/, int /*y*/) const { return {}; }
  // Appends what the middle of the window shows; `hovered` is the item under the cursor.
  virtual void Paint(DrawList& out, const PanelItem* hovered) const = 0;
  // The hint for an item under the cursor: text (a display text, "|" and stroke codes), or a
  // stroke picture row (hintStroke >= 0). False for no hint.
  struct Hint {
    std::string text;
    int stroke = -1;
  };
  virtual bool HintFor(const PanelItem& item, Hint& hint) const = 0;
  virtual bool PrevPage() { return false; }
  virtual bool NextPage() { return false; }
  // Backspace belongs to the sub-panel first (the pinyin panel takes back a click).
  virtual bool Backspace() { return false; }
  // Escape: forget what the sub-panel holds.
  virtual void Reset() {}
  // A typed character (the pinyin panel); 0 lets the key handler go on.
  virtual int Key(ContextHandle /*context*/, int /*ch*/) { return 0; }
  // The items shown now, in hit-testing order.
  virtual const std::vector<PanelItem>& VisibleItems() const = 0;

 protected:
  CompositionPanel& panel_;

 private:
  PanelMode number_;
};

}  // namespace tvime
