#include "session/composition_panel.h"

#include <cctype>

#include "base/gbk.h"

#include "session/letter_subpanels.h"
#include "session/pinyin_subpanel.h"
#include "session/stroke_subpanel.h"

namespace tvime {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

CompositionPanel::CompositionPanel(Lexicon& lexicon, Settings& settings, ConversionFlags& flags,
                                   Host& host, const TextMeasure& measure)
    : lexicon_(lexicon), settings_(settings), flags_(flags), host_(host), measure_(measure) {
  state_.pinyinMode = settings.Read(setting::PinYinMode) != 0;
  if (state_.pinyinMode) state_.mode = ModePinyin;
  state_.searchMode = settings.Read(setting::SearchMode) != 0;
  state_.keyStrokes = settings.Read(setting::InputBihuaByKey) != 0;
  state_.movedByCursor = settings.Read(setting::MovedByCursor) != 0;
  state_.openWordCiba = settings.Read(setting::OpenWordCiba) != 0;
  lexiconOptions_.phraseSortMode = settings.Read(setting::PhraseSortMode);
  lexiconOptions_.learnChoices = settings.Read(setting::LearnChoices);
  lexiconOptions_.predictNext = settings.Read(setting::PredictNext) != 0;
  SyncLexiconOptions();
  stroke_ = std::make_unique<StrokeSubpanel>(*this);
  letters_ = std::make_unique<LetterSubpanel>(*this);
  punctuation_ = std::make_unique<PunctuationSubpanel>(*this);
  pinyin_ = std::make_unique<PinyinSubpanel>(*this);
  bar_.SetIcon(kCmdPinyinSwitch, state_.pinyinMode ? kIconPinyinOn : kIconPinyinOff);
  lexicon_.SetClient(this);
}

CompositionPanel::~CompositionPanel() { lexicon_.SetClient(nullptr); }

Subpanel& CompositionPanel::currentSubpanel() const {
  switch (state_.mode) {
    case ModeLetters:
      return *letters_;
    case ModePunct:
      return *punctuation_;
    case ModePinyin:
      return pinyin();
    default:
      return *stroke_;
  }
}

void CompositionPanel::SyncLexiconOptions() {
  lexiconOptions_.bigCharset = flags_.Has(CS_BIG_CHARSET);
  lexicon_.SetOptions(lexiconOptions_);
}

bool CompositionPanel::ClearLists() {
  bool held = lists_.Clear();
  state_.pageFirst = 0;
  stroke_->characters.Fill({});
  stroke_->phrases.Clear();
  stroke_->association.Clear();
  stroke_->Rebuild();
  return held;
}

void CompositionPanel::ResetDisplayState() { ClearLists(); }

void CompositionPanel::ReturnToStrokePanel(ContextHandle context) {
  state_.mode = ModeStrokes;  // classified again by the refresh
  Refresh(context, false);
}

SessionOptions CompositionPanel::EditableOptions() {
  return {&state_.keyStrokes,
          &state_.movedByCursor,
          &state_.openWordCiba,
          &lexiconOptions_.phraseSortMode,
          &lexiconOptions_.learnChoices,
          &lexiconOptions_.predictNext};
}

void CompositionPanel::LoadPanelResources() { pinyinTableRead_ = false; }

PinyinSubpanel& CompositionPanel::pinyin() const {
  if (!pinyinTableRead_) {
    pinyinTableRead_ = true;
    pinyin_->LoadTable(lexicon_.resources());
  }
  return *pinyin_;
}

void CompositionPanel::UserWordsChanged(const UserWordRenumbering& renumbering) {
  // The lists and the panels' items still hold the old numbers.
  renumbering.Apply(lists_.mainList);
  renumbering.Apply(lists_.assocList);
  RefreshCandidates();
  host_.Invalidate(false);
  Rehover();
}

// --- sending ---

void CompositionPanel::PanelChanged(ContextHandle context) {
  host_.PanelChanged(context);
  host_.Invalidate(false);
}

void CompositionPanel::FlushPending(ContextHandle context) {
  if (!state_.searchMode || state_.pendingPhrase.empty()) return;
  host_.Commit(context, state_.pendingPhrase);
  state_.pendingPhrase.clear();
}

void CompositionPanel::CommitNow(ContextHandle context, std::string text) {
  FlushPending(context);
  state_.sendBuffer = std::move(text);
  CommitSend(context);
}

void CompositionPanel::PassEnter(ContextHandle context) {
  FlushPending(context);
  host_.ReturnKey(context, kKeyEnter);
}

void CompositionPanel::CommitSend(ContextHandle context) {
  if (!state_.sendBuffer.empty()) host_.Commit(context, state_.sendBuffer);
  state_.inputCodes.clear();
  state_.pendingPhrase.clear();
}

void CompositionPanel::Refresh(ContextHandle context, bool keepPage) {
  if (!keepPage) {
    state_.pageFirst = 0;
    RefreshCandidates();
  }
  if (!state_.sendBuffer.empty()) PanelChanged(context);
  host_.Invalidate(false);
  state_.sendBuffer.clear();
}

// --- classification and candidates ---

PanelMode CompositionPanel::ClassifyInput() {
  if (state_.mode == ModeLetters || state_.mode == ModePunct || state_.mode == ModePinyin) {
    return state_.mode;
  }
  state_.radicalStrokes.clear();
  if (state_.inputCodes.empty()) {
    if (state_.displayText.size() > 1) return ModeAssociation;
    return state_.pinyinMode ? ModePinyin : ModeIdle;
  }
  bool digit = false, stroke = false;
  for (char c : state_.inputCodes) {
    digit |= IsDigit(c);
    stroke |= kStrokeCodes.find(c) != std::string_view::npos;
  }
  if (!digit) return stroke ? ModeStrokes : ModeOther;
  size_t numberEnd = 0;
  while (numberEnd < state_.inputCodes.size() && IsDigit(state_.inputCodes[numberEnd])) ++numberEnd;
  state_.radicalIndex =
      numberEnd > 0 && numberEnd <= 5 ? std::stoi(state_.inputCodes.substr(0, numberEnd)) : 0;
  if (static_cast<size_t>(state_.radicalIndex) >= lexicon_.GroupCount()) state_.radicalIndex = 0;
  if (stroke) {
    state_.radicalStrokes = state_.inputCodes.substr(numberEnd);
    return ModeRadicalStrokes;
  }
  return ModeRadical;
}

void CompositionPanel::RefreshCandidates() {
  state_.mode = ClassifyInput();
  std::string folded = FoldStrokes(state_.inputCodes);
  StrokeSubpanel& panel = *stroke_;
  bool phraseSelection = false;

  if (state_.mode == ModeRadical || state_.mode == ModeRadicalStrokes) {
    lexicon_.FindInRadicalGroup(state_.radicalIndex, FoldStrokes(state_.radicalStrokes), lists_);
    panel.characters.Fill(lists_.mainList);
    panel.phrases.Clear();
    panel.association.Clear();
  } else if (state_.mode == ModeIdle || state_.mode == ModeStrokes ||
             state_.mode == ModeAssociation) {
    std::vector<std::string_view> segments = SplitAtSeparators(folded);
    lexicon_.CharactersByStrokes(segments.size() >= 2 ? segments[0] : std::string_view(folded),
                                 lists_.mainList);
    lexicon_.FindRadicalsByStrokes(folded, lists_);
    panel.phrases.Clear();
    if (state_.mode != ModeAssociation) panel.association.Clear();
    if (segments.size() >= 2) {
      std::vector<std::uint32_t> selection = lexicon_.FindPhrasesByStrokes(
          lists_.mainList, segments,
          lists_.contextHistory.empty() ? std::string_view()
                                        : std::string_view(lists_.contextHistory.back()));
      state_.displayText.clear();
      panel.phrases.Fill(lexicon_, selection, 0, measure_);
      phraseSelection = !selection.empty();
    } else if (state_.displayText.size() == 2) {
      std::vector<std::uint32_t> selection = lexicon_.FindContextPhrasesByStrokes(
          state_.displayText, folded,
          Lexicon::TextBefore(lists_.contextHistory, state_.displayText));
      panel.phrases.Fill(lexicon_, selection, state_.displayText.size(), measure_);
      phraseSelection = !selection.empty();
    }
    panel.characters.Fill(lists_.mainList);
  }
  // Follow-on words are laid out from the lexicon's list each time: a reload of the user words or
  // a new character set changes it under a shown strip.
  if (state_.mode == ModeAssociation) LoadAssociation();
  panel.characters.SetRowsPerPage(phraseSelection || !panel.association.empty() ? 1 : 2);
  UpdateAssocPreview();
  panel.Rebuild();
  if (state_.mode == ModePinyin) pinyin().Refresh();
}

void CompositionPanel::UpdateAssocPreview() {
  state_.assocPreview.clear();
  if (state_.mode != ModeAssociation || lists_.assocList.empty()) return;
  // The preview is what a click on the first follow-on word would add: the same cut as its label.
  std::string_view first = lexicon_.CandidateText(lists_.assocList.front());
  if (!first.starts_with(state_.displayText)) return;
  state_.assocPreview = std::string(first.substr(state_.displayText.size()));
}

void CompositionPanel::OfferFollowOns() {
  lists_.assocList.clear();
  if (state_.displayText.size() > 1) {
    lists_.assocList = lexicon_.AssociationsOf(
        state_.displayText, Lexicon::TextBefore(lists_.contextHistory, state_.displayText));
  }
  LoadAssociation();
  UpdateAssocPreview();
}

void CompositionPanel::LoadAssociation() {
  stroke_->association.Fill(lexicon_, lists_.assocList, state_.displayText.size(), measure_);
}

void CompositionPanel::Associate() {
  // Association is offered for the mode the session is in once the choice is made: the input is
  // empty then, so that is association (or the pinyin panel).
  state_.mode = ClassifyInput();
  lexicon_.UpdateAssociation(lists_, state_.displayText, state_.mode);
  LoadAssociation();
  UpdateAssocPreview();
}

// --- strokes, radicals and choices ---

bool CompositionPanel::AddStroke(ContextHandle, int index) {
  if (index < 0 || index >= static_cast<int>(kStrokeCodes.size())) return false;
  char code = kStrokeCodes[index];
  if (code == kPhraseSeparator &&
      (state_.inputCodes.empty() || state_.inputCodes.back() == kPhraseSeparator)) {
    return false;
  }
  state_.inputCodes += code;
  return true;
}

bool CompositionPanel::ChooseRadical(ContextHandle, int entry) {
  state_.savedInput = state_.inputCodes;
  if (state_.mode >= ModeIdle && state_.mode <= ModeAssociation) {
    const TextPair* radical = nullptr;
    if (state_.mode == ModeRadical || state_.mode == ModeRadicalStrokes) {
      radical = lexicon_.PairOf(state_.radicalIndex, static_cast<size_t>(entry));
    } else if (entry >= 0 && static_cast<size_t>(entry) < lexicon_.radicals().count) {
      radical = &lexicon_.radicals().PairAt(static_cast<size_t>(entry));
    }
    if (radical) state_.inputCodes = radical->first;
  }
  return true;
}

bool CompositionPanel::ChooseCharacter(ContextHandle context, CandidateId entry) {
  std::string text;
  if (state_.mode == ModeIdle || state_.mode == ModeStrokes) {
    if (entry >= lexicon_.characters().count) return false;
    text = lexicon_.characters().EntryAt(entry).text;
  } else {
    const TextPair* pair = lexicon_.PairOf(state_.radicalIndex, entry);
    if (!pair) return false;
    text = pair->first;
  }
  lexicon_.NoteChoice(text);
  // Only text still waiting is pending: a commit leaves nothing behind that a later switch of
  // "SearchMode" could send again.
  if (state_.searchMode) {
    state_.radicalStrokes.clear();
    state_.inputCodes.clear();
    state_.pendingPhrase += text;
    state_.displayText = state_.pendingPhrase;
    state_.lastWord = state_.pendingPhrase;
  } else {
    state_.sendBuffer = text;
    CommitSend(context);
    state_.displayText = text;
    state_.lastWord = text;
  }
  lists_.mainList.clear();
  Associate();
  return true;
}

bool CompositionPanel::ChoosePhrase(ContextHandle context, std::string_view text) {
  return ChoosePhrase(context, text,
                      text.starts_with(state_.displayText) ? state_.displayText.size() : 0);
}

bool CompositionPanel::ChoosePhrase(ContextHandle context, std::string_view text, size_t shared) {
  lexicon_.NoteChoice(text);
  shared = std::min(shared, text.size());
  state_.sendBuffer = std::string(text.substr(shared));
  if (state_.searchMode) {
    state_.pendingPhrase += state_.sendBuffer;
  } else {
    state_.lastWord = std::string(text);
    CommitSend(context);
  }
  state_.displayText = state_.searchMode ? state_.pendingPhrase : std::string(text);
  Associate();
  Refresh(context, false);
  return true;
}

void CompositionPanel::CommitPending(ContextHandle context) {
  if (!state_.searchMode && (state_.mode != ModeAssociation || state_.assocPreview.empty())) return;
  // The user dictionary is offered the whole word the line shows: the pending phrase, or the
  // first follow-on word together with what it follows (never the previewed rest alone).
  std::string word;
  if (state_.searchMode) {
    state_.sendBuffer = state_.pendingPhrase;
    word = state_.pendingPhrase;
  } else {
    state_.sendBuffer = state_.assocPreview;
    word = std::string(lexicon_.CandidateText(lists_.assocList.front()));
    lexicon_.NoteChoice(word);
  }
  CommitSend(context);
  if (lexicon_.AddUserWord(word)) lexicon_.SaveUserWords();
  state_.displayText = state_.searchMode ? state_.pendingPhrase : state_.assocPreview;
  Associate();
  Refresh(context, false);
}

// --- taking back, clearing, paging ---

bool CompositionPanel::Backspace(ContextHandle context) {
  if (state_.mode == ModePinyin && pinyin().Backspace()) return true;
  if (!state_.inputCodes.empty()) {
    if (IsDigit(state_.inputCodes.back())) {
      // A radical was the last choice: go back to the strokes typed before it.
      bool prefixOfSaved =
          state_.inputCodes.size() <= state_.savedInput.size() &&
          state_.savedInput.compare(0, state_.inputCodes.size(), state_.inputCodes) == 0;
      state_.inputCodes = prefixOfSaved ? std::string() : state_.savedInput;
    } else {
      state_.inputCodes.pop_back();
    }
    if (state_.inputCodes.empty()) {
      state_.displayText.clear();
      // Association continues from the last committed character, with its follow-on words.
      if (!lists_.contextHistory.empty()) {
        const std::string& last = lists_.contextHistory.back();
        state_.displayText = last.substr(last.size() - GbkLastCharSize(last));
        if (state_.searchMode && !state_.pendingPhrase.empty())
          state_.displayText = state_.pendingPhrase;
      }
      OfferFollowOns();
    }
    return true;
  }
  if (state_.searchMode && !state_.pendingPhrase.empty()) {
    // One character, whether a Chinese one or a letter of a user word.
    state_.pendingPhrase.resize(state_.pendingPhrase.size() -
                                GbkLastCharSize(state_.pendingPhrase));
    state_.sendBuffer.clear();
    state_.displayText = state_.pendingPhrase;
    lists_.contextHistory.clear();
    Associate();
    RefreshCandidates();
    host_.Invalidate(false);  // the composition line shows one character less
    return false;
  }
  // Nothing of ours to take back: the Backspace belongs to the application. What the session
  // associated with went with the lookup state, so nothing follows any more.
  host_.ReturnKey(context, kKeyBackspace);
  state_.pendingPhrase.clear();
  state_.inputCodes.clear();
  state_.displayText.clear();
  bool heldComposition = ClearLists();
  if (heldComposition) PanelChanged(context);
  state_.sendBuffer.clear();
  state_.mode = ClassifyInput();
  if (state_.mode == ModePinyin) pinyin().Reset();
  RefreshCandidates();
  host_.Invalidate(false);
  return false;
}

bool CompositionPanel::ClearAll(ContextHandle) {
  // Escape takes back what is being typed first; the pending text goes with a second Escape.
  bool typing =
      !state_.inputCodes.empty() || (state_.mode == ModePinyin && !pinyin().input.tokens.empty());
  ClearInput(typing);
  return true;
}

void CompositionPanel::ClearInput(bool keepPending) {
  currentSubpanel().Reset();
  ClearLists();
  state_.displayText.clear();
  state_.inputCodes.clear();
  state_.sendBuffer.clear();
  state_.assocPreview.clear();
  if (!keepPending) state_.pendingPhrase.clear();
  if (state_.searchMode && !state_.pendingPhrase.empty()) state_.displayText = state_.pendingPhrase;
}

bool CompositionPanel::PageNext() { return Page(true); }

bool CompositionPanel::PagePrev() { return Page(false); }

bool CompositionPanel::Page(bool forward) {
  auto turn = [forward](PagedItems& list) { return forward ? list.NextPage() : list.PrevPage(); };
  bool moved = false;
  switch (state_.mode) {
    case ModeOther:
    case ModeIdle:
    case ModeStrokes:
    case ModeRadical:
    case ModeRadicalStrokes:
      // The first-index counter steps within the lexicon's secondary list.
      if (forward && state_.pageFirst + kPageStep < static_cast<int>(lists_.secondaryList.size())) {
        state_.pageFirst += kPageStep;
        moved = true;
      } else if (!forward && state_.pageFirst >= kPageStep) {
        state_.pageFirst -= kPageStep;
        moved = true;
      }
      moved |= turn(stroke_->characters);
      moved |= turn(stroke_->phrases);
      break;
    case ModeAssociation:
      moved = turn(stroke_->association);
      break;
    case ModePunct:
    case ModePinyin:
      moved = forward ? currentSubpanel().NextPage() : currentSubpanel().PrevPage();
      break;
    default:
      break;
  }
  stroke_->Rebuild();
  return moved;
}

// --- committing typed and clicked text ---

void CompositionPanel::CommitText(ContextHandle context, std::string_view text) {
  CommitNow(context, std::string(text));
  state_.displayText = state_.assocPreview;
}

void CompositionPanel::EndAssociation() {
  // Typed or clicked punctuation and symbols stand between words: what comes next does not
  // continue the words before them.
  state_.displayText.clear();
  state_.assocPreview.clear();
  lists_.contextHistory.clear();
  lists_.assocList.clear();
}

void CompositionPanel::CommitSymbol(ContextHandle context, std::string_view text) {
  CommitNow(context, std::string(text));
  EndAssociation();
  state_.sendBuffer.clear();
  Refresh(context, false);
}

bool CompositionPanel::CommitKey(ContextHandle context, char ch) {
  // A control byte is never text, nor is a lead byte without its trail byte.
  std::string text(1, ch);
  if (!IsWholeGbkText(text)) return false;
  CommitNow(context, std::move(text));
  EndAssociation();
  return true;
}

bool CompositionPanel::CommitFullWidth(ContextHandle context, int ch) {
  if (ch < 33 || ch > 126) return false;
  CommitNow(context, {static_cast<char>(0xA3), static_cast<char>(ch + 0x80)});
  EndAssociation();
  return true;
}

void CompositionPanel::AfterClick(ContextHandle context) {
  if (state_.movedByCursor) host_.FollowCaret(context);
}

}  // namespace tvime
