#include "session/pinyin_subpanel.h"

#include "base/gbk.h"
#include "session/composition_panel.h"
#include "session/stroke_subpanel.h"

namespace tvime {
namespace {

constexpr int kLettersTop = 57;
constexpr int kFirstX = 7;
constexpr int kGap = 7;
constexpr int kInitialsPerRow = 16;
constexpr int kOfferedRowTop = 109;
constexpr char kZi[] = "\xD7\xD6";       // 字
constexpr char kUmlautU[] = "\xA8\xB9";  // ü

// A final's text as shown: v is ü.
std::string ShownFinal(std::string_view text) {
  std::string shown;
  for (char c : text) {
    if (c == 'v') {
      shown += kUmlautU;
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace

PinyinSubpanel::PinyinSubpanel(CompositionPanel& panel)
    : Subpanel(panel, ModePinyin), input(panel.lexicon()) {
  input.SetContextCleared([this] { panel_.ForgetContextText(); });
}

const std::vector<PanelItem>& PinyinSubpanel::Letters() const {
  if (!letters_.empty()) return letters_;
  // Initials 1-24 flow from (7, 57), wrapping after the 16th; the one-letter finals follow.
  const TextMeasure& measure = panel_.measure();
  int x = kFirstX, y = kLettersTop;
  for (std::uint8_t i = 1; i < kInitials.size(); ++i) {
    if (i == kInitialsPerRow + 1) {
      x = kFirstX;
      y += kCellPitch;
    }
    int width = std::max(8, measure.Measure(Font::Candidate, kInitials[i]).width);
    letters_.push_back({i, {x, y, x + width, y + 20}, 0, std::string(kInitials[i]), ItemInitial});
    x += width + kGap;
  }
  for (std::uint8_t f = 1; f < kFinals.size() && kFinals[f].size() == 1; ++f) {
    std::string shown = ShownFinal(kFinals[f]);
    int width = std::max(10, measure.Measure(Font::Candidate, shown).width);
    letters_.push_back({f, {x, y, x + width, y + 20}, 0, shown, ItemFinal});
    x += width + kGap;
  }
  return letters_;
}

void PinyinSubpanel::LoadTable(const ResourceSource* module) {
  input.LoadPinyinTable(module);
  FillCandidates(false);
}

std::string PinyinSubpanel::Spelling() const {
  // Every click shows, also one the segmentation could not place in a syllable; "'" stands
  // between the syllables found and for a clicked separator.
  std::string spelled;
  size_t nextStart = 1;  // the first syllable needs no separator in front
  for (size_t t = 0; t < input.tokens.size(); ++t) {
    SyllableKey token = input.tokens[t];
    bool startsSyllable = nextStart < input.keyStarts.size() && input.keyStarts[nextStart] == t;
    if (startsSyllable) ++nextStart;
    if (token == InitialToken(kSeparatorInitial)) {
      if (!spelled.empty() && spelled.back() != '\'') spelled += '\'';
      continue;
    }
    if (startsSyllable && !spelled.empty() && spelled.back() != '\'') spelled += '\'';
    spelled += ShownFinal(TokenText(token));
  }
  return spelled;
}

std::string PinyinSubpanel::SpelledLetters() const {
  std::string letters;
  for (SyllableKey token : input.tokens) {
    if (token != InitialToken(kSeparatorInitial)) letters += TokenText(token);
  }
  return letters;
}

void PinyinSubpanel::SetRowsPerPage(int rows) {
  characters.SetRowsPerPage(rows);
  phrases.SetRowsPerPage(rows);
}

void PinyinSubpanel::FillCandidates(bool association) {
  std::vector<CandidateId> positions(input.charList.size());
  for (size_t i = 0; i < positions.size(); ++i) positions[i] = static_cast<CandidateId>(i);
  characters.Fill(positions);
  const Lexicon& lexicon = panel_.lexicon();
  if (association) {
    phrases.Fill(lexicon, panel_.lists().assocList, panel_.state().displayText.size(),
                 panel_.measure());
  } else {
    phrases.Fill(lexicon, input.phraseList, 0, panel_.measure());
  }
}

void PinyinSubpanel::Spelled() {
  SetRowsPerPage(1);
  candidatesView = false;
  firstOfferedFinal = 0;
  input.SegmentTokens();
  input.LookupPinyin();
  FillCandidates(false);
}

void PinyinSubpanel::Commit(ContextHandle context, std::string_view text, size_t shared) {
  // The spelling is used up before the session refreshes, so that the refresh shows what
  // follows the choice rather than the spelled syllables again.
  std::string chosen(text);
  input.ClearPinyin();
  panel_.ChoosePhrase(context, chosen, shared);
  Refresh();
  panel_.host().Invalidate(false);
  panel_.AfterClick(context);
}

void PinyinSubpanel::Refresh() {
  if (!input.tokens.empty()) {
    // The same syllables, looked up again (the character set may have changed).
    input.LookupPinyin();
    FillCandidates(false);
    return;
  }
  SetRowsPerPage(1);
  candidatesView = false;
  firstOfferedFinal = 0;
  input.ClearPinyin();  // the default character list
  // Follow-on words while the session associates, else the default list.
  bool following = !panel_.lists().assocList.empty() && panel_.state().displayText.size() > 1;
  if (following) input.charList.clear();
  FillCandidates(following);
  if (following && phrases.empty()) {
    input.ClearPinyin();
    FillCandidates(false);
  }
}

const std::vector<PanelItem>& PinyinSubpanel::VisibleItems() const {
  visible_.clear();
  if (ShowsPhrases()) {
    phrases.AppendVisible(visible_);
  } else {
    characters.AppendVisible(visible_);
  }
  visible_.push_back({0, kZiButton, 0, kZi, ItemZiButton});
  if (candidatesView) return visible_;
  const std::vector<PanelItem>& letters = Letters();
  visible_.insert(visible_.end(), letters.begin(), letters.end());
  if (input.finalList.empty()) {
    std::vector<PanelItem> symbols = SymbolRowItems(kFirstX, kOfferedRowTop);
    visible_.insert(visible_.end(), symbols.begin(), symbols.end());
    return visible_;
  }
  int x = kFirstX;
  for (size_t i = firstOfferedFinal; i < input.finalList.size(); ++i) {
    std::uint8_t final = input.finalList[i];
    std::string shown = ShownFinal(kFinals[final]);
    int width = std::max(10, panel_.measure().Measure(Font::Candidate, shown).width);
    if (x + width > kHintStrip.right) break;
    visible_.push_back(
        {final, {x, kOfferedRowTop, x + width, kOfferedRowTop + 20}, 0, shown, ItemFinal});
    x += width + kGap;
  }
  return visible_;
}

std::string PinyinSubpanel::CandidateText(const PanelItem& item) const {
  if (item.kind == ItemCharacter) {
    size_t position = static_cast<size_t>(item.value);
    if (position >= input.charList.size()) return {};
    return panel_.lexicon().characters().EntryAt(input.charList[position]).text;
  }
  if (item.kind == ItemPhrase) {
    return std::string(panel_.lexicon().CandidateText(static_cast<std::uint32_t>(item.value)));
  }
  return {};
}

bool PinyinSubpanel::Click(ContextHandle context, int x, int y) {
  const PanelItem* hit = HitTest(VisibleItems(), x, y, panel_.scale());
  if (!hit) {
    // The line holds the pending text: a click sends it, as on the stroke panel.
    if (panel_.scale().Of(kCompositionLine).Contains(x, y)) panel_.CommitPending(context);
    panel_.AfterClick(context);
    return false;
  }
  PanelItem item = *hit;
  switch (item.kind) {
    case ItemCharacter:
      panel_.ForgetContextText();
      Commit(context, CandidateText(item), 0);
      return true;
    case ItemPhrase:
      Commit(context, CandidateText(item), phrases.prefixLength());
      return true;
    case ItemSymbol:
      ClickSymbol(panel_, context, static_cast<int>(item.value));
      break;
    case ItemInitial:
      input.AddInitialToken(static_cast<std::uint8_t>(item.value));
      Spelled();
      break;
    case ItemFinal:
      input.AddFinalToken(static_cast<std::uint8_t>(item.value));
      Spelled();
      break;
    case ItemZiButton:
      if (!input.tokens.empty() || !input.charList.empty() || !input.phraseList.empty()) {
        SetRowsPerPage(4);
        candidatesView = true;
      }
      break;
    default:
      break;
  }
  panel_.host().Invalidate(false);
  panel_.AfterClick(context);
  return true;
}

std::string PinyinSubpanel::RightClickText(int x, int y) const {
  const PanelItem* item = HitTest(VisibleItems(), x, y, panel_.scale());
  return item ? CandidateText(*item) : std::string();
}

bool PinyinSubpanel::HintFor(const PanelItem& item, Hint& hint) const {
  if (item.kind == ItemCharacter) {
    hint.text = panel_.lexicon().DescribeCandidate(
        ModePinyin, static_cast<std::uint32_t>(item.value), {.pinyinChars = input.charList});
    return !hint.text.empty();
  }
  if (item.kind == ItemPhrase) {
    std::string text = CandidateText(item);
    if (text.size() <= 6) return false;
    hint.text = text;
    return true;
  }
  return false;
}

bool PinyinSubpanel::NextPage() {
  if (ShowsPhrases()) return phrases.NextPage();
  if (characters.NextPage()) return true;
  // The offered finals scroll when the candidates do not.
  if (firstOfferedFinal + 1 < input.finalList.size()) {
    ++firstOfferedFinal;
    return true;
  }
  return false;
}

bool PinyinSubpanel::PrevPage() {
  if (ShowsPhrases()) return phrases.PrevPage();
  if (characters.PrevPage()) return true;
  if (firstOfferedFinal > 0) {
    --firstOfferedFinal;
    return true;
  }
  return false;
}

bool PinyinSubpanel::Backspace() {
  if (!input.RemoveLastToken()) return false;
  SetRowsPerPage(1);
  candidatesView = false;
  firstOfferedFinal = 0;
  FillCandidates(false);
  return true;
}

void PinyinSubpanel::Reset() {
  input.ClearPinyin();
  SetRowsPerPage(1);
  candidatesView = false;
  firstOfferedFinal = 0;
  FillCandidates(false);
}

int PinyinSubpanel::Key(ContextHandle context, int ch) {
  const bool spelling = !input.tokens.empty();
  if (ch == 13) {
    if (!spelling) return 0;
    std::string letters = SpelledLetters();
    Reset();
    panel_.CommitSymbol(context, letters);
    return 1;
  }
  if (ch == '+' || ch == '.' || ch == ',' || ch == '-') {
    if (!spelling) return 0;
    if (ch == '+' || ch == '.') {
      NextPage();
    } else {
      PrevPage();
    }
    panel_.host().Invalidate(false);
    return 1;
  }
  char lower = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
  if (lower >= 'a' && lower <= 'z') {
    if (std::optional<std::uint8_t> initial = FindInitial(std::string(1, lower))) {
      input.AddInitialToken(*initial);
    } else if (std::optional<std::uint8_t> final = FindFinal(std::string(1, lower))) {
      input.AddFinalToken(*final);
    } else {
      return 0;
    }
    Spelled();
    panel_.host().Invalidate(false);
    return 1;
  }
  // A choice from the current page: its characters when it has any, else its phrases.
  // Only spelled syllables have candidates to choose from: with nothing spelled a digit or a
  // space is typed as it is.
  if (!spelling) return 0;
  int pick = -1;
  if (ch >= '1' && ch <= '9') pick = ch - '1';
  if (ch == '0') pick = 9;
  if (ch == ' ') pick = 0;
  if (pick < 0) return 0;
  std::vector<PanelItem> page;
  if (ShowsPhrases()) {
    phrases.AppendVisible(page);
  } else {
    characters.AppendVisible(page);
  }
  if (pick >= static_cast<int>(page.size())) return 0;
  bool character = page[pick].kind == ItemCharacter;
  if (character) panel_.ForgetContextText();
  Commit(context, CandidateText(page[pick]), character ? 0 : phrases.prefixLength());
  return 1;
}

void PinyinSubpanel::Paint(DrawList& out, const PanelItem* hovered) const {
  // The line: the pending text, then the spelling; long text keeps its end in view.
  const int right = kZiButton.left - 2;
  int x = kLineLeft;
  const std::string& pending = panel_.state().pendingPhrase;
  if (panel_.state().searchMode && !pending.empty()) {
    int reserve = std::min(static_cast<int>(Spelling().size()) * 9, (right - x) / 2);
    x = PaintLineText(out, panel_.measure(), pending, x, right - reserve) + 5;
  }
  std::string spelled = FitLineEnd(panel_.measure(), Spelling(), right - x);
  out.push_back(DrawText{spelled, {x, 5, right, 25}, Font::Candidate, kBlack, AlignLeftMiddle});
  const std::vector<PanelItem>& items = VisibleItems();
  PaintButtons(out, items, hovered);
  for (const PanelItem& item : items) {
    switch (item.kind) {
      case ItemInitial:
      case ItemZiButton:
        out.push_back(DrawText{item.label, item.rect, Font::Candidate, kBlack, AlignCenter});
        break;
      case ItemFinal:
        out.push_back(DrawText{item.label, item.rect, Font::Candidate, kBlue, AlignCenter});
        break;
      case ItemCharacter:
        out.push_back(
            DrawText{CandidateText(item), item.rect, Font::Candidate, kBlack, AlignCenter});
        break;
      case ItemPhrase:
        out.push_back(DrawText{item.label, item.rect, Font::Phrase, kBlue, AlignCenter});
        break;
      default:
        break;
    }
  }
}

}  // namespace tvime
