// A seeded random walk over everything the session takes: clicks on strokes, candidates, follow-on
// words, letters and the composition line; typed keys; the bar's buttons; panel, shape, set and
// search-mode switches; every soft keyboard's keys; user words (with Latin letters and digits)
// reread under a shown list; learning turned on and off. After every step it checks what a user
// relies on whatever the path:
//   - a click on a shown label delivers exactly that label's text, or adds exactly it to the
//     pending text;
//   - committed and pending text is whole GBK, never a control byte;
//   - pending text is never lost by a panel or mode switch;
//   - nothing shown comes from an earlier state;
//   - no click on a shown item, key or command is lost: it changes the session or reaches the
//     application, unless it is one that does nothing by design;
//   - the mode is one the session knows, the lists stay within their caps, and what is shown and
//     drawn stays inside the panel.
// A failure names the seed and the last steps.
//
// The test suite walks 30 seeds of 3,000 steps. A longer hunt, e.g.:
//   export TVIME_WALK_SEEDS=400 TVIME_WALK_STEPS=20000
//   build/host/session/session_tests --gtest_filter='Seeds/SessionWalk.*'
// (TVIME_WALK_FIRST_SEED moves the seeds, so that a failing one can be walked again alone.)

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <deque>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <tuple>

#include "session/command_id.h"
#include "session/pinyin_subpanel.h"
#include "session/stroke_subpanel.h"
#include "session/test_panel.h"

namespace tvime {
namespace {

using ::testing::PrintToString;

unsigned EnvNumber(const char* name, unsigned normal) {
  const char* value = std::getenv(name);
  return value && *value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : normal;
}

const std::vector<std::string> kWalkUserWords = {"中A",       "维生素C", "中国2026", "中甲乙丙",
                                                 "中丁戊己",  "南方Q1",  "国Xyz",    "中国人民银行",
                                                 "一二三ABC", "5G网络"};

// GBK text in quotes and UTF-8, for a failure's message.
std::string Quoted(std::string_view gbk) { return "\"" + GbkToUtf8(gbk) + "\""; }

bool InsideClient(const Rect& r) {
  return r.left >= 0 && r.top >= 0 && r.right <= kPanelWidth && r.bottom <= kPanelHeight &&
         r.left <= r.right && r.top <= r.bottom;
}

// The modes of PanelMode, one bit each.
constexpr unsigned kKnownModes = 1u << ModeOther | 1u << ModeIdle | 1u << ModeStrokes |
                                 1u << ModeRadical | 1u << ModeRadicalStrokes |
                                 1u << ModeAssociation | 1u << ModeLetters | 1u << ModePunct |
                                 1u << ModePinyin;

// Everything a user could see or the application could get. The application's text only grows
// within a step, so its length stands for it.
auto Snapshot(const CompositionPanel& panel, const ConversionFlags& flags,
              const testing::RecordingHost& host) {
  const SessionState& s = panel.state();
  std::vector<std::tuple<int, std::int64_t, int, int, std::string>> items;
  for (const PanelItem& item : panel.currentSubpanel().VisibleItems())
    items.emplace_back(item.kind, item.value, item.rect.left, item.rect.top, item.label);
  return std::tuple(s.inputCodes, s.displayText, s.assocPreview, s.pendingPhrase, s.mode,
                    s.radicalIndex, s.pinyinMode, s.searchMode, s.keyStrokes, s.singleQuoteOpen,
                    s.doubleQuoteOpen, flags.word(), panel.pinyinPanel().Spelling(),
                    panel.buttonBar().IconOf(kCmdPinyinSwitch), std::move(items),
                    host.received.size(), host.panelChanges, host.beeps, host.lookups.size(),
                    host.hostCommands.size());
}

class SessionWalk : public testing::PanelTest, public ::testing::WithParamInterface<unsigned> {
 protected:
  void SetUp() override {}  // each walk starts the panel on the settings of its seed

  // In GBK, as the walk compares it with what was committed.
  std::string Pending() const { return panel->state().pendingPhrase; }

  // Text a click on a shown item puts out, as its label says; `cut` when the label is shortened
  // (then the text only starts with it); empty for items without text.
  std::string LabelText(const PanelItem& item, bool& cut) const {
    cut = item.kind == ItemPhrase && item.label.ends_with("..");
    if (item.kind == ItemPhrase) return item.label.substr(0, item.label.size() - (cut ? 2 : 0));
    if (item.kind != ItemCharacter) return {};
    if (panel->state().mode != ModePinyin) return panel->strokePanel().CharacterText(item.value);
    const auto& list = panel->pinyinPanel().input.charList;
    if (static_cast<size_t>(item.value) >= list.size()) return {};
    return std::string(lexicon->characters().EntryAt(list[static_cast<size_t>(item.value)]).text);
  }

  void Fail(const std::string& what) {
    std::ostringstream out;
    out << "seed " << seed_ << ", step " << step_ << ": " << what << "\nlast steps:";
    for (const std::string& line : recent_) out << "\n  " << line;
    ADD_FAILURE() << out.str();
  }

  // --- the steps ---

  void Step() {
    const SessionState& s = panel->state();
    pendingBefore_ = Pending();
    searchBefore_ = s.searchMode;
    commitsBefore_ = host.commits.size();
    receivedBefore_ = host.received.size();
    expectation_ = Expect::Nothing;
    takesBack_ = false;
    before_.reset();
    unsigned pick = random_() % 100;
    if (pick < 38) return ClickShownItem();
    if (pick < 42) {
      Note("click the composition line");
      previewBefore_ = s.mode == ModeAssociation && !s.searchMode ? s.assocPreview : "";
      expectation_ = Expect::Line;
      return ClickLine();
    }
    if (pick < 60) return TypeKey();
    if (pick < 68) return ClickBarButton();
    if (pick < 78) return Switch();
    if (pick < 86) return SoftKeyboard();
    if (pick < 90) return ReloadUserWords();
    if (pick < 96) return PointerEvent();
    if (pick < 97) {
      Note("the cursor leaves");
      return Do(ActionKind::CursorLeft);
    }
    Point at = RandomPoint();
    Note("click " + std::to_string(at.x) + "," + std::to_string(at.y));
    Click(at.x, at.y);
  }

  // Anywhere, the window's edges and a little beyond them included.
  Point RandomPoint() {
    return {static_cast<int>(random_() % (kPanelWidth + 20)) - 10,
            static_cast<int>(random_() % (kPanelHeight + 20)) - 10};
  }

  // A move over the panel (a hover) or one button going down or up without the rest of a click:
  // a press whose release the window never saw, a right click, a release after a drag elsewhere.
  void PointerEvent() {
    static constexpr MouseEvent kEvents[] = {MouseEvent::Move,      MouseEvent::Move,
                                             MouseEvent::LeftDown,  MouseEvent::LeftUp,
                                             MouseEvent::RightDown, MouseEvent::RightUp};
    MouseEvent event = kEvents[random_() % std::size(kEvents)];
    Point at = RandomPoint();
    Note("mouse event " + std::to_string(static_cast<int>(event)) + " at " + std::to_string(at.x) +
         "," + std::to_string(at.y));
    Pointer(event, at.x, at.y);
  }

  void ClickShownItem() {
    const std::vector<PanelItem>& items = panel->currentSubpanel().VisibleItems();
    if (items.empty()) return;
    // Candidates are what a user clicks most; strokes, initials and finals make them.
    const PanelItem item = items[random_() % items.size()];
    label_ = LabelText(item, labelCut_);
    Note("click item kind " + std::to_string(item.kind) + " value " + std::to_string(item.value) +
         " " + Quoted(label_.empty() ? item.label : label_));
    if (!label_.empty()) {
      expectation_ = Expect::Label;
    } else if (item.kind == ItemLetter) {
      char16_t c = static_cast<char16_t>(item.value);
      if (c != u' ' && c != u'空' && c != u'回') {
        label_ = item.label;
        expectation_ = Expect::Letter;
      }
    }
    if (!ItemClickMayDoNothing(item)) ExpectAnEffect();
    ClickIn(item.rect);
  }

  void TypeKey() {
    static const char kKeys[] =
        "asdfgthnzhongguonanfangweijxcvb0123456789 ,./?!;:<>[]{}#%^&*()_+|\\~`\"'-=\b\b\r\x1b";
    char key = kKeys[random_() % (sizeof kKeys - 1)];
    Note("key " + std::to_string(static_cast<int>(static_cast<unsigned char>(key))));
    if (!KeyMayDoNothing(key)) ExpectAnEffect();
    takesBack_ = key == '\x1b' || key == '\b';
    Press(static_cast<unsigned char>(key));
  }

  void ClickBarButton() {
    const auto& buttons = panel->buttonBar().buttons();
    const ToolbarButton& button = buttons[random_() % buttons.size()];
    Note("bar button " + std::to_string(button.command));
    static constexpr int kKeepPending[] = {kCmdPinyinSwitch, kCmdLetters,  kCmdPunctuation,
                                           kCmdPrevPage,     kCmdNextPage, kCmdSetting,
                                           kCmdSearch,       kCmdMove};
    if (std::ranges::count(kKeepPending, button.command)) expectation_ = Expect::KeepsPending;
    takesBack_ = button.command == kCmdBack || button.command == kCmdClear;
    Click(button.rect.left + 5, button.rect.top + 5);
    if (button.command == kCmdMove) Do(ActionKind::DragEnded);
  }

  void Switch() {
    static constexpr int kSwitches[] = {kCmdSearchMode,    kCmdFullShape,  kCmdChinesePunctuation,
                                        kCmdCommonCharset, kCmdBigCharset, kCmdPunctuation,
                                        kCmdLetters,       kCmdStrokeKeys, kCmdPinyinSwitch,
                                        kCmdPrevPage,      kCmdNextPage};
    expectation_ = Expect::KeepsPending;
    switch (random_() % 16) {
      case 0: {
        // The settings dialog turns learning on or off, and its OK tells the session.
        int& learn = *panel->EditableOptions().learnChoices;
        learn = !learn;
        Note(std::string("learning ") + (learn ? "on" : "off"));
        panel->Apply(kContext, UserAction::NewFlags(false));
        return;
      }
      case 1:
        // The settings dialog changes the character set.
        flags->Assign(flags->word() ^ CS_BIG_CHARSET);
        Note("the settings dialog changes the character set");
        panel->Apply(kContext, UserAction::NewFlags(true));
        return;
      case 2:
        Note("the input closes");
        Do(ActionKind::InputClosed);
        return;
      case 3:
        Note("the soft-keyboard button of the status window");
        Do(ActionKind::SoftKeyboardToggled);
        panel->softKeyboard().SetShown(!panel->softKeyboard().shown());
        return;
      case 4:
        Note("the panel-size button of the status window");
        Do(ActionKind::PanelSizeToggled);
        return;
      case 5: {
        // Back, Clear and Return as commands: on the input whatever the shape, unlike typed keys.
        static constexpr int kKeyCommands[] = {kCmdBack, kCmdClear, kCmdReturn};
        expectation_ = Expect::Nothing;
        return RunCommand(kKeyCommands[random_() % std::size(kKeyCommands)]);
      }
    }
    RunCommand(kSwitches[random_() % std::size(kSwitches)]);
  }

  void RunCommand(int command) {
    Note("command " + std::to_string(command));
    if (!CommandMayDoNothing(command)) ExpectAnEffect();
    takesBack_ = command == kCmdBack || command == kCmdClear;
    Run(command);
  }

  void SoftKeyboard() {
    if (random_() % 4 == 0) {
      int table = static_cast<int>(random_() % (kCmdLastSoftKeyboard - kCmdFirstSoftKeyboard + 1));
      Note("soft keyboard " + std::to_string(table));
      expectation_ = Expect::KeepsPending;
      Run(kCmdFirstSoftKeyboard + table);
      return;
    }
    static const unsigned kKeys[] = {'0',  '1',  '5',  '9',  'A',  'E',  'K',  'Q',
                                     'Z',  0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0,
                                     0xDB, 0xDC, 0xDD, 0xDE, 8,    13,   0x20};
    unsigned key = kKeys[random_() % std::size(kKeys)];
    bool shift = random_() % 2 == 0;
    Note("soft key " + std::to_string(key) + (shift ? " shifted" : ""));
    takesBack_ = key == 8;
    panel->Apply(kContext, UserAction::SoftKeyboardKey(key, shift));
  }

  void ReloadUserWords() {
    std::vector<std::string> words;
    for (const std::string& word : kWalkUserWords) {
      if (random_() % 3 != 0) words.push_back(word);
    }
    std::shuffle(words.begin(), words.end(), random_);
    Note("user words reloaded (" + std::to_string(words.size()) + ")");
    expectation_ = Expect::KeepsPending;
    WriteUserWordFile(words);
    Do(ActionKind::UserWordsChanged);
  }

  // The step about to run must change something (checked after it).
  void ExpectAnEffect() { before_ = Snapshot(*panel, *flags, host); }

  bool NothingTyped() const {
    const SessionState& s = panel->state();
    return s.inputCodes.empty() && s.pendingPhrase.empty() &&
           panel->pinyinPanel().input.tokens.empty();
  }

  bool ItemClickMayDoNothing(const PanelItem& item) const {
    const std::string& input = panel->state().inputCodes;
    switch (item.kind) {
      case ItemStroke:  // a separator first or twice is refused
        return item.value == 9 && (input.empty() || input.back() == kPhraseSeparator);
      case ItemZiButton:  // nothing spelled and nothing listed
        return true;
      case ItemInitial: {  // the separator first or twice
        const auto& tokens = panel->pinyinPanel().input.tokens;
        return item.value == kSeparatorInitial &&
               (tokens.empty() || tokens.back() == InitialToken(kSeparatorInitial));
      }
      default:
        return false;
    }
  }

  bool KeyMayDoNothing(char key) const {
    const SessionState& s = panel->state();
    bool spelling = s.mode == ModePinyin && s.pinyinMode && s.keyStrokes &&
                    !panel->pinyinPanel().input.tokens.empty();
    if (key == '\x1b') return NothingTyped();  // nothing to clear
    // Paging keys of the pinyin panel at the end of its lists.
    return spelling && (key == '+' || key == '.' || key == ',' || key == '-');
  }

  // Paging at the end of the lists, a character set already the one asked for, or nothing to clear.
  bool CommandMayDoNothing(int command) const {
    if (command == kCmdClear) return NothingTyped();
    return command == kCmdPrevPage || command == kCmdNextPage || command == kCmdCommonCharset ||
           command == kCmdBigCharset;
  }

  void Note(std::string line) {
    recent_.push_back(std::move(line));
    if (recent_.size() > 25) recent_.pop_front();
  }

  // --- the checks ---

  void Check() {
    const SessionState& s = panel->state();
    if (s.mode < 0 || s.mode > ModePinyin || !(kKnownModes >> s.mode & 1))
      return Fail("an unknown mode " + std::to_string(s.mode));
    modesSeen_ |= 1u << s.mode;
    const CandidateLists& lists = panel->lists();
    if (lists.mainList.size() > kMaxMainCandidates ||
        lists.secondaryList.size() > kMaxSecondaryCandidates ||
        lists.assocList.size() > kMaxAssociationCandidates ||
        lists.contextHistory.size() > kMaxContextHistory)
      return Fail("a list beyond its cap");
    for (const PanelItem& item : panel->currentSubpanel().VisibleItems()) {
      if (!InsideClient(item.rect))
        return Fail("an item of kind " + std::to_string(item.kind) + " outside the panel");
    }
    if (before_ && Snapshot(*panel, *flags, host) == *before_)
      return Fail(recent_.back() + " did nothing");
    std::string commits;  // what this step committed
    for (size_t i = commitsBefore_; i < host.commits.size(); ++i) {
      if (!IsWholeGbkText(host.commits[i]))
        return Fail("committed text that is not whole GBK: " + PrintToString(host.commits[i]));
      commits += host.commits[i];
    }
    if (!IsWholeGbkText(s.pendingPhrase))
      return Fail("pending text that is not whole GBK: " + PrintToString(s.pendingPhrase));
    if (!s.searchMode && !s.pendingPhrase.empty())
      return Fail("pending text without search mode: " + Quoted(s.pendingPhrase));
    if (!s.sendBuffer.empty()) return Fail("text left to send: " + Quoted(s.sendBuffer));

    const std::string happened = "the pending text went from " + Quoted(pendingBefore_) + " to " +
                                 Quoted(Pending()) + ", the application got " + Quoted(commits);
    ++checked_[static_cast<int>(expectation_)];
    switch (expectation_) {
      case Expect::Label: {
        // Without search mode the label's text goes out; with it, it is added to the pending text.
        std::string got = searchBefore_
                              ? Pending().substr(std::min(pendingBefore_.size(), Pending().size()))
                              : commits;
        bool kept = !searchBefore_ || (Pending().starts_with(pendingBefore_) && commits.empty());
        bool ok = kept && (labelCut_ ? got.starts_with(label_) && got.size() > label_.size()
                                     : got == label_);
        if (!ok) return Fail("clicked " + Quoted(label_) + ": " + happened);
        break;
      }
      case Expect::Letter:  // pending text first, then the letter
        if (commits != pendingBefore_ + label_ || !Pending().empty())
          return Fail("clicked the letter " + Quoted(label_) + ": " + happened);
        break;
      case Expect::Line:
        if (commits != (searchBefore_ ? pendingBefore_ : previewBefore_))
          return Fail("a click on the line previewing " + Quoted(previewBefore_) + ": " + happened);
        break;
      case Expect::KeepsPending:
        if (commits + Pending() != pendingBefore_) return Fail("a switch lost text: " + happened);
        break;
      case Expect::Nothing:
        // Whatever else happened, the pending text is still there or went out in front.
        if (!pendingBefore_.empty() && !Pending().starts_with(pendingBefore_) &&
            !commits.starts_with(pendingBefore_) && !pendingBefore_.starts_with(Pending()) &&
            host.received.find('<', receivedBefore_) == std::string::npos && !takesBack_)
          return Fail("pending text vanished: " + happened);
        break;
    }
    CheckShown();
  }

  // What is shown belongs to the session as it is now.
  void CheckShown() {
    const SessionState& s = panel->state();
    const std::vector<PanelItem>& items = panel->currentSubpanel().VisibleItems();
    const bool pinyin = s.mode == ModePinyin;
    const PhraseStrip& strip = pinyin                      ? panel->pinyinPanel().phrases
                               : s.mode == ModeAssociation ? panel->strokePanel().association
                                                           : panel->strokePanel().phrases;
    for (const PanelItem& item : items) {
      if (item.kind == ItemPhrase) {
        std::string text(lexicon->CandidateText(static_cast<CandidateId>(item.value)));
        if (text.empty()) return Fail("a shown phrase names nothing: " + Quoted(item.label));
        if (item.label != PhraseLabel(text, strip.prefixLength()))
          return Fail("the label " + Quoted(item.label) + " is not its phrase's " + Quoted(text));
        if (strip.prefixLength() > 0) {
          // Follow-on words: of the session's context, in the lexicon's list now.
          if (!text.starts_with(s.displayText) || strip.prefixLength() != s.displayText.size())
            return Fail("a follow-on word " + Quoted(text) + " of an earlier context, not " +
                        Quoted(s.displayText));
          bool fromContextStrokes = !pinyin && s.mode != ModeAssociation;
          const auto& list = panel->lists().assocList;
          if (!fromContextStrokes && std::find(list.begin(), list.end(),
                                               static_cast<CandidateId>(item.value)) == list.end())
            return Fail("a follow-on word " + Quoted(text) + " the lexicon no longer offers");
        }
      } else if (item.kind == ItemCharacter) {
        bool cut = false;
        if (LabelText(item, cut).empty()) return Fail("a shown character names nothing");
        if (!pinyin && (s.mode == ModeIdle || s.mode == ModeStrokes)) {
          // Looked up for the strokes typed now (the first character's, before a separator), in
          // the character set chosen now; the same strokes in the same set find the same.
          std::string key = s.inputCodes + '|' + std::to_string(flags->word());
          if (key != lookupKey_) {
            std::string folded = FoldStrokes(s.inputCodes);
            std::vector<std::string_view> parts = SplitAtSeparators(folded);
            lexicon->CharactersByStrokes(parts.size() >= 2 ? parts[0] : std::string_view(folded),
                                         lookup_);
            std::sort(lookup_.begin(), lookup_.end());
            lookupKey_ = key;
          }
          if (!std::binary_search(lookup_.begin(), lookup_.end(),
                                  static_cast<CandidateId>(item.value)))
            return Fail("a character of an earlier lookup: " +
                        Quoted(panel->strokePanel().CharacterText(item.value)) + " for " +
                        s.inputCodes);
        }
      }
    }
    if (s.mode == ModeAssociation && !s.searchMode && !panel->lists().assocList.empty()) {
      std::string first(lexicon->CandidateText(panel->lists().assocList.front()));
      if (first.starts_with(s.displayText) && s.assocPreview != first.substr(s.displayText.size()))
        return Fail("the line previews " + Quoted(s.assocPreview) + ", not the first follow-on " +
                    Quoted(first));
    }
    if (const PanelItem* hovered = panel->hoveredItem()) {
      const PanelItem* now = HitTest(items, Middle(hovered->rect).x, Middle(hovered->rect).y);
      if (!now || now->kind != hovered->kind || now->value != hovered->value)
        return Fail("the hint describes an item no longer under the cursor");
      Subpanel::Hint hint;
      if (s.mode != ModeLetters && s.mode != ModePunct)
        panel->currentSubpanel().HintFor(*now, hint);
      if (hint.text != s.hoverText)
        return Fail("the hint " + Quoted(s.hoverText) +
                    " is not that of the item under the cursor, " + Quoted(hint.text));
    }
    // Painting and a second lookup are the slow checks: every 8th and 32nd state.
    if (step_ % 8 == 0) CheckLine();
    if (step_ % 32 == 0 && pinyin) CheckSpelledLookup();
  }

  // The pinyin candidates are those of the syllables spelled now.
  void CheckSpelledLookup() {
    const PinyinSubpanel& pinyin = panel->pinyinPanel();
    if (pinyin.input.tokens.empty()) return;
    PinyinInput fresh = pinyin.input;
    fresh.SetContextCleared(nullptr);  // a lookup of our own must not touch the session
    fresh.SegmentTokens();
    fresh.LookupPinyin();
    if (fresh.charList != pinyin.input.charList || fresh.phraseList != pinyin.input.phraseList)
      return Fail("the pinyin candidates are not those of " + Quoted(pinyin.Spelling()));
    size_t shown =
        pinyin.phrases.empty() ? pinyin.characters.items().size() : pinyin.phrases.items().size();
    size_t expected = pinyin.phrases.empty() ? fresh.charList.size() : fresh.phraseList.size();
    if (shown != expected)
      return Fail("the pinyin panel lays out " + std::to_string(shown) + " candidates of " +
                  std::to_string(expected));
  }

  // What is drawn stays inside the panel and shows whole characters; the composition line stays
  // left of the bar's buttons.
  void CheckLine() {
    const SessionState& s = panel->state();
    for (const DrawOp& op : panel->Paint()) {
      if (const DrawText* text = std::get_if<DrawText>(&op)) {
        if (!InsideClient(text->rect))
          return Fail("drawn text outside the panel: " + Quoted(text->text));
        if (!IsWholeGbkText(text->text))
          return Fail("drawn text that is not whole GBK: " + PrintToString(text->text) + " at " +
                      std::to_string(text->rect.left) + "," + std::to_string(text->rect.top) +
                      " in mode " + std::to_string(s.mode));
      } else if (const DrawBitmap* bitmap = std::get_if<DrawBitmap>(&op)) {
        if (bitmap->at.x < 0 || bitmap->at.y < 0 || bitmap->at.x >= kPanelWidth ||
            bitmap->at.y >= kPanelHeight)
          return Fail("a picture drawn outside the panel");
      }
    }
    const Line line = DrawnLine();
    if (!line.underButtons.empty()) return Fail("under the bar's buttons: " + line.underButtons);
    // The line shows the end of what is typed now.
    if (s.mode != ModePinyin && s.mode != ModeLetters && s.mode != ModePunct) {
      const std::string& typed = s.mode == ModeRadicalStrokes ? s.radicalStrokes : s.inputCodes;
      bool strokesShown = s.mode != ModeRadical && (s.mode != ModeAssociation || s.searchMode);
      if (strokesShown ? !typed.ends_with(line.strokes) || (line.strokes.empty() && !typed.empty())
                       : !line.strokes.empty())
        return Fail("the line draws the strokes " + line.strokes + " for the input " + typed);
    }
  }

 public:
  void Walk(unsigned seed, unsigned steps) {
    seed_ = seed;
    random_.seed(seed);
    UseUserWords(kWalkUserWords);
    settings.Write(setting::InputBihuaByKey, 1);
    settings.Write(setting::SearchMode, seed % 3 == 0 ? 1 : 0);
    settings.Write(setting::PinYinMode, seed % 2);
    settings.Write(setting::LearnChoices, seed % 5 == 0 ? 1 : 0);
    Start();
    for (step_ = 0; step_ < steps; ++step_) {
      Step();
      Check();
      if (HasFailure()) return;
      if (host.commits.size() > 200) {  // the application's text is not kept for ever
        host.commits.clear();
        host.received.clear();
      }
    }
    // The walk reached what it checks: labels clicked, the line clicked, switches made.
    EXPECT_GT(checked_[static_cast<int>(Expect::Label)], steps / 40) << "seed " << seed;
    EXPECT_GT(checked_[static_cast<int>(Expect::Line)], steps / 100) << "seed " << seed;
    EXPECT_GT(checked_[static_cast<int>(Expect::KeepsPending)], steps / 20) << "seed " << seed;
    // Every mode a click reaches (no radical is laid out to click, and nothing makes ModeOther).
    EXPECT_EQ(modesSeen_,
              kKnownModes & ~(1u << ModeOther | 1u << ModeRadical | 1u << ModeRadicalStrokes))
        << "seed " << seed;
  }

 private:
  enum class Expect { Nothing, Label, Letter, Line, KeepsPending };

  unsigned seed_ = 0;
  unsigned step_ = 0;
  std::mt19937 random_;
  std::deque<std::string> recent_;
  std::string pendingBefore_;
  std::string previewBefore_;
  std::string label_;
  bool labelCut_ = false;
  bool searchBefore_ = false;
  size_t commitsBefore_ = 0;
  size_t receivedBefore_ = 0;
  Expect expectation_ = Expect::Nothing;
  bool takesBack_ = false;  // Escape, Backspace, Back or Clear: pending text may go
  std::array<unsigned, 5> checked_{};
  std::optional<decltype(Snapshot(*panel, *flags, host))> before_;
  unsigned modesSeen_ = 0;
  std::string lookupKey_ = "-";
  std::vector<CandidateId> lookup_;
};

TEST_P(SessionWalk, WhatIsClickedArrivesAndNothingTypedIsLost) {
  Walk(GetParam(), EnvNumber("TVIME_WALK_STEPS", 3000));
}

INSTANTIATE_TEST_SUITE_P(Seeds, SessionWalk,
                         ::testing::Range(EnvNumber("TVIME_WALK_FIRST_SEED", 1),
                                          EnvNumber("TVIME_WALK_FIRST_SEED", 1) +
                                              EnvNumber("TVIME_WALK_SEEDS", 30)));

}  // namespace
}  // namespace tvime
