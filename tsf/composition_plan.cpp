#include "tsf/composition_plan.h"

namespace tvime {

CompositionMove ForPendingText(bool composing, bool compositionsAvailable,
                               std::u16string_view pending) {
  CompositionMove move;
  if (pending.empty()) {
    // Dropped pending text leaves nothing behind in the document.
    if (composing) move.replaceText = move.end = true;
    return move;
  }
  if (!composing && !compositionsAvailable) return move;
  move.start = !composing;
  move.replaceText = true;
  move.text = pending;
  return move;
}

CompositionMove ForCommit(bool composing, std::u16string_view text) {
  CompositionMove move;
  move.text = text;
  if (composing) {
    move.replaceText = move.end = true;
  } else {
    move.insertAtSelection = true;
  }
  return move;
}

}  // namespace tvime
