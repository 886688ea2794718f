#pragma once
// The pinyin panel: syllables spelled by clicking initials and finals (or typing letters), and
// the characters or phrases found for them.
//
// Letters view: the candidate row, the initials, the one-letter finals, then a row with the
// longer finals that continue what was clicked (or, when there are none, the symbol buttons).
// Candidates view (the "字" button): four rows of candidates.

#include <vector>

#include "engine/pinyin_input.h"
#include "session/candidate_lists.h"
#include "session/subpanel.h"

namespace tvime {

// The "字" button, at the end of the composition line.
inline constexpr Rect kZiButton{188, 5, 208, 25};

class PinyinSubpanel : public Subpanel {
 public:
  explicit PinyinSubpanel(CompositionPanel& panel);

  bool Click(ContextHandle context, int x, int y) override;
  std::string RightClickText(int x, int y) const override;
  void Paint(DrawList& out, const PanelItem* hovered) const override;
  bool HintFor(const PanelItem& item, Hint& hint) const override;
  bool PrevPage() override;
  bool NextPage() override;
  bool Backspace() override;
  void Reset() override;
  int Key(ContextHandle context, int ch) override;
  const std::vector<PanelItem>& VisibleItems() const override;

  void LoadTable(const ResourceSource* module);
  // The spelled pinyin as the composition line shows it (GBK; v shown as ü).
  std::string Spelling() const;
  // The clicked letters without separators, as Enter commits them (v stays v).
  std::string SpelledLetters() const;
  // Commits a candidate's text without its first `shared` bytes (what its label leaves out),
  // then shows the follow-on words.
  void Commit(ContextHandle context, std::string_view text, size_t shared);
  // Lays the lists out again for the session as it is now: the spelled syllables looked up
  // again, else the follow-on words of the session's context, else the default list.
  void Refresh();

  PinyinInput input;
  CharGrid characters{1};  // values are positions in input.charList
  PhraseStrip phrases{31, 1};
  bool candidatesView = false;
  size_t firstOfferedFinal = 0;

 private:
  // After a click or a key: look up again and show the letters view.
  void Spelled();
  void FillCandidates(bool association);
  void SetRowsPerPage(int rows);
  bool ShowsPhrases() const { return !phrases.empty(); }
  std::string CandidateText(const PanelItem& item) const;

  mutable std::vector<PanelItem> visible_;
  // The initials and one-letter finals, laid out when first shown: measuring them takes the
  // panel's fonts, which an application that never shows this panel should not pay at its start.
  const std::vector<PanelItem>& Letters() const;
  mutable std::vector<PanelItem> letters_;
};

}  // namespace tvime
