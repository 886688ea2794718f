#include "panels/composition_panel.h"

#include <cctype>

#include "panels/letter_subpanels.h"
#include "panels/pinyin_subpanel.h"
#include "panels/stroke_subpanel.h"

namespace tvime {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

CompositionPanel::CompositionPanel(Lexicon& lexicon, Settings& settings, ConversionFlags& flags,
                                   Host& host, const TextMeasure& measure)
    : lexicon_(lexicon), settings_(settings), flags_(flags), host_(host), measure_(measure) {
  pinyinMode = settings.Read(setting::PinYinMode) != 0;
  if (pinyinMode) mode = ModePinyin;
  searchMode = settings.Read(setting::SearchMode) != 0;
  keyStrokes = settings.Read(setting::InputBihuaByKey) != 0;
  movedByCursor = settings.Read(setting::MovedByCursor) != 0;
  openWordCiba = settings.Read(setting::OpenWordCiba) != 0;
  strokeKeys = settings.StrokeKeys();
  stroke_ = std::make_unique<StrokeSubpanel>(*this);
  letters_ = std::make_unique<LetterSubpanel>(*this);
  punctuation_ = std::make_unique<PunctuationSubpanel>(*this);
  pinyin_ = std::make_unique<PinyinSubpanel>(*this);
  bar_.SetIcon(kCmdPinyinSwitch, pinyinMode ? kIconPinyinOn : kIconPinyinOff);
  lexicon_.SetClient(this);
}

CompositionPanel::~CompositionPanel() { lexicon_.SetClient(nullptr); }

Subpanel& CompositionPanel::currentSubpanel() const {
  switch (mode) {
    case ModeLetters:
      return *letters_;
    case ModePunct:
      return *punctuation_;
    case ModePinyin:
      return *pinyin_;
    default:
      return *stroke_;
  }
}

void CompositionPanel::ResetDisplayState() {
  pageFirst = 0;
  stroke_->characters.Fill({});
  stroke_->phrases.Clear();
  stroke_->association.Clear();
  stroke_->Rebuild();
}

void CompositionPanel::LoadPanelResources() { pinyin_->LoadTable(lexicon_.module); }

// --- sending ---

void CompositionPanel::PanelChanged(ContextHandle context) {
  host_.PanelChanged(context);
  host_.Invalidate(false);
}

void CompositionPanel::CommitNow(ContextHandle context, std::string text) {
  if (searchMode && !pendingPhrase.empty()) {
    sendBuffer = pendingPhrase;
    commitSend(context);
  }
  sendBuffer = std::move(text);
  commitSend(context);
}

void CompositionPanel::commitSend(ContextHandle context) {
  if (!sendBuffer.empty()) host_.Commit(context, sendBuffer);
  inputCodes.clear();
  pendingPhrase.clear();
}

void CompositionPanel::refresh(ContextHandle context, bool keepPage) {
  if (!keepPage) {
    pageFirst = 0;
    refreshCandidates();
  }
  if (!sendBuffer.empty()) PanelChanged(context);
  host_.Invalidate(false);
  sendBuffer.clear();
}

// --- classification and candidates ---

PanelMode CompositionPanel::classifyInput() {
  if (mode == ModeLetters || mode == ModePunct || mode == ModePinyin || mode == 6) return mode;
  radicalStrokes.clear();
  if (inputCodes.empty()) {
    if (displayText.size() > 1) return ModeAssociation;
    return pinyinMode ? ModePinyin : ModeIdle;
  }
  bool digit = false, stroke = false;
  for (char c : inputCodes) {
    digit |= IsDigit(c);
    stroke |= kStrokeCodes.find(c) != std::string_view::npos;
  }
  if (!digit) return stroke ? ModeStrokes : ModeOther;
  size_t numberEnd = 0;
  while (numberEnd < inputCodes.size() && IsDigit(inputCodes[numberEnd])) ++numberEnd;
  radicalIndex = numberEnd > 0 && numberEnd <= 5 ? std::stoi(inputCodes.substr(0, numberEnd)) : 0;
  if (static_cast<size_t>(radicalIndex) >= lexicon_.GroupCount()) radicalIndex = 0;
  if (stroke) {
    radicalStrokes = inputCodes.substr(numberEnd);
    return ModeRadicalStrokes;
  }
  return ModeRadical;
}

void CompositionPanel::refreshCandidates() {
  mode = classifyInput();
  std::string folded = FoldStrokes(inputCodes);
  StrokeSubpanel& panel = *stroke_;
  bool phraseSelection = false;

  if (mode == ModeRadical || mode == ModeRadicalStrokes) {
    lexicon_.FindInRadicalGroup(radicalIndex, FoldStrokes(radicalStrokes));
    panel.characters.Fill(lexicon_.mainList);
    panel.phrases.Clear();
    panel.association.Clear();
  } else if (mode == ModeIdle || mode == ModeStrokes || mode == ModeAssociation) {
    std::vector<std::string_view> segments = SplitAtSeparators(folded);
    lexicon_.FindByStrokes(segments.size() >= 2 ? segments[0] : std::string_view(folded));
    lexicon_.FindRadicalsByStrokes(folded);
    panel.phrases.Clear();
    if (mode != ModeAssociation) panel.association.Clear();
    if (segments.size() >= 2) {
      std::vector<std::uint32_t> selection = lexicon_.FindPhrasesByStrokes(segments);
      displayText.clear();
      panel.phrases.Fill(lexicon_, selection, 0, measure_);
      phraseSelection = !selection.empty();
    } else if (displayText.size() == 2) {
      std::vector<std::uint32_t> selection =
          lexicon_.FindContextPhrasesByStrokes(displayText, folded);
      panel.phrases.Fill(lexicon_, selection, displayText.size(), measure_);
      phraseSelection = !selection.empty();
    }
    panel.characters.Fill(lexicon_.mainList);
  }
  panel.characters.SetRowsPerPage(phraseSelection || !panel.association.empty() ? 1 : 2);
  UpdateAssocPreview();
  panel.Rebuild();
}

void CompositionPanel::UpdateAssocPreview() {
  assocPreview.clear();
  if (mode != ModeAssociation || lexicon_.assocList.empty()) return;
  std::string_view first = lexicon_.CandidateText(lexicon_.assocList.front());
  size_t shared = lexicon_.contextHistory.empty() ? 0 : lexicon_.contextHistory.back().size();
  if (shared < first.size()) assocPreview = std::string(first.substr(shared));
}

void CompositionPanel::LoadAssociation() {
  stroke_->association.Fill(lexicon_, lexicon_.assocList, displayText.size(), measure_);
}

void CompositionPanel::Associate() {
  // Association is offered for the mode the session is in once the choice is made: the input is
  // empty then, so that is association (or the pinyin panel).
  mode = classifyInput();
  lexicon_.UpdateAssociation(displayText, mode);
  LoadAssociation();
  UpdateAssocPreview();
}

// --- strokes, radicals and choices ---

bool CompositionPanel::addStroke(ContextHandle, int index) {
  if (index < 0 || index >= static_cast<int>(kStrokeCodes.size())) return false;
  char code = kStrokeCodes[index];
  if (code == kPhraseSeparator && (inputCodes.empty() || inputCodes.back() == kPhraseSeparator)) {
    return false;
  }
  inputCodes += code;
  return true;
}

bool CompositionPanel::chooseRadical(ContextHandle, int entry) {
  savedInput = inputCodes;
  if (mode >= ModeIdle && mode <= ModeAssociation) {
    const TextPair* radical = nullptr;
    if (mode == ModeRadical || mode == ModeRadicalStrokes) {
      radical = lexicon_.PairOf(radicalIndex, static_cast<size_t>(entry));
    } else if (entry >= 0 && static_cast<size_t>(entry) < lexicon_.radicals.count) {
      radical = &lexicon_.radicals.PairAt(static_cast<size_t>(entry));
    }
    if (radical) inputCodes = radical->first;
  }
  return true;
}

bool CompositionPanel::chooseCharacter(ContextHandle context, CandidateId entry) {
  std::string text;
  if (mode == ModeIdle || mode == ModeStrokes) {
    if (entry >= lexicon_.chars.count) return false;
    text = lexicon_.chars.EntryAt(entry).text;
    displayText = text;
  } else {
    const TextPair* pair = lexicon_.PairOf(radicalIndex, entry);
    if (!pair) return false;
    text = pair->first;
    displayText = searchMode ? displayText + text : text;
  }
  sendBuffer += text;
  if (searchMode) {
    radicalStrokes.clear();
    inputCodes.clear();
  } else {
    commitSend(context);
  }
  lexicon_.mainList.clear();
  pendingPhrase += sendBuffer;
  if (searchMode) displayText = pendingPhrase;
  lastWord = pendingPhrase;
  Associate();
  return true;
}

bool CompositionPanel::choosePhrase(ContextHandle context, std::string_view text) {
  size_t shared = std::min(displayText.size(), text.size());
  sendBuffer = std::string(text.substr(shared));
  if (searchMode) {
    pendingPhrase += sendBuffer;
  } else {
    lastWord = std::string(text);
    commitSend(context);
  }
  displayText = searchMode ? pendingPhrase : std::string(text);
  Associate();
  refresh(context, false);
  return true;
}

void CompositionPanel::commitPending(ContextHandle context) {
  if (!searchMode && (mode != ModeAssociation || assocPreview.empty())) return;
  // The user dictionary is offered the whole word the line shows: the pending phrase, or the
  // first follow-on word together with what it follows (never the previewed rest alone).
  std::string word;
  if (searchMode) {
    sendBuffer = pendingPhrase;
    word = pendingPhrase;
  } else {
    sendBuffer += assocPreview;
    word = std::string(lexicon_.CandidateText(lexicon_.assocList.front()));
  }
  commitSend(context);
  if (lexicon_.AddUserWord(word)) lexicon_.SaveUserWords();
  displayText = searchMode ? pendingPhrase : assocPreview;
  Associate();
  refresh(context, false);
}

// --- taking back, clearing, paging ---

bool CompositionPanel::backspace(ContextHandle context) {
  if (mode == ModePinyin && pinyin_->Backspace()) return true;
  if (!inputCodes.empty()) {
    if (IsDigit(inputCodes.back())) {
      // A radical was the last choice: go back to the strokes typed before it.
      bool prefixOfSaved = inputCodes.size() <= savedInput.size() &&
                           savedInput.compare(0, inputCodes.size(), inputCodes) == 0;
      inputCodes = prefixOfSaved ? std::string() : savedInput;
    } else {
      inputCodes.pop_back();
    }
    if (inputCodes.empty()) {
      displayText.clear();
      // Association continues from the last committed character.
      if (!lexicon_.contextHistory.empty() && lexicon_.contextHistory.back().size() >= 2) {
        const std::string& last = lexicon_.contextHistory.back();
        displayText = last.substr(last.size() - 2);
      }
    }
    return true;
  }
  if (searchMode && !pendingPhrase.empty()) {
    pendingPhrase.resize(pendingPhrase.size() >= 2 ? pendingPhrase.size() - 2 : 0);
    sendBuffer.clear();
    displayText = pendingPhrase;
    lexicon_.contextHistory.clear();
    Associate();
    refreshCandidates();
    host_.Invalidate(false);  // the composition line shows one character less
    return false;
  }
  // Nothing of ours to take back: the Backspace belongs to the application. What the session
  // associated with went with the lookup state, so nothing follows any more.
  host_.ReturnKey(context, kKeyBackspace);
  pendingPhrase.clear();
  inputCodes.clear();
  displayText.clear();
  bool heldComposition = lexicon_.ClearLists();
  if (heldComposition) PanelChanged(context);
  sendBuffer.clear();
  mode = classifyInput();
  if (mode == ModePinyin) pinyin_->Reset();
  refreshCandidates();
  host_.Invalidate(false);
  return false;
}

bool CompositionPanel::clearAll(ContextHandle) {
  currentSubpanel().Reset();
  lexicon_.ClearLists();
  displayText.clear();
  inputCodes.clear();
  sendBuffer.clear();
  pendingPhrase.clear();
  return true;
}

bool CompositionPanel::pageNext() { return Page(true); }

bool CompositionPanel::pagePrev() { return Page(false); }

bool CompositionPanel::Page(bool forward) {
  auto turn = [forward](PagedItems& list) { return forward ? list.NextPage() : list.PrevPage(); };
  bool moved = false;
  switch (mode) {
    case ModeOther:
    case ModeIdle:
    case ModeStrokes:
    case ModeRadical:
    case ModeRadicalStrokes:
      // The first-index counter steps within the lexicon's secondary list.
      if (forward && pageFirst + pageStep < static_cast<int>(lexicon_.secondaryList.size())) {
        pageFirst += pageStep;
        moved = true;
      } else if (!forward && pageFirst >= pageStep) {
        pageFirst -= pageStep;
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

void CompositionPanel::commitText(ContextHandle context, std::string_view text) {
  CommitNow(context, std::string(text));
  displayText = assocPreview;
}

void CompositionPanel::EndAssociation() {
  // Typed or clicked punctuation and symbols stand between words: what comes next does not
  // continue the words before them.
  displayText.clear();
  lexicon_.contextHistory.clear();
}

void CompositionPanel::commitSymbol(ContextHandle context, std::string_view text) {
  CommitNow(context, std::string(text));
  EndAssociation();
  sendBuffer.clear();
  refresh(context, false);
}

bool CompositionPanel::commitKey(ContextHandle context, char ch) {
  CommitNow(context, std::string(1, ch));
  EndAssociation();
  return true;
}

bool CompositionPanel::commitFullWidth(ContextHandle context, int ch) {
  if (ch < 33 || ch > 126) return false;
  CommitNow(context, {static_cast<char>(0xA3), static_cast<char>(ch + 0x80)});
  EndAssociation();
  return true;
}

void CompositionPanel::AfterClick(ContextHandle context) {
  if (movedByCursor) host_.FollowCaret(context);
}

}  // namespace tvime
