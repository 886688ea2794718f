#pragma once
// What the text service does to the application's document when the session's pending text
// changes or text is committed. Portable: the decisions are tested without the Text Services
// Framework, whose compositions Wine does not have.
//
// Search mode keeps chosen text pending: it is shown in the document as a composition (started at
// the selection, its text replaced as it grows, ended when the text is committed or dropped).
// Committed text replaces the composition's text and ends it, or without a composition is
// inserted at the selection. A document that offers no compositions gets committed text only;
// the pending text is then shown on the panel alone.

#include <string>
#include <string_view>

namespace tvime {

struct CompositionMove {
  bool start = false;              // start a composition at the selection
  bool replaceText = false;        // `text` becomes the composition's text
  bool end = false;                // end the composition; its text stays in the document
  bool insertAtSelection = false;  // no composition: `text` is inserted at the selection
  std::u16string text;

  bool operator==(const CompositionMove&) const = default;
};

// The session's pending text is now `pending` (empty: none). `composing`: a composition of ours
// is open in the document; `compositionsAvailable`: the document offers compositions.
CompositionMove ForPendingText(bool composing, bool compositionsAvailable,
                               std::u16string_view pending);

// `text` (not empty) is committed.
CompositionMove ForCommit(bool composing, std::u16string_view text);

}  // namespace tvime
