#pragma once
// The input session: the state of one act of input, from the first stroke to the text handed to
// the application, and every operation on it. It lives in the CompositionPanel, which also owns
// the sub-panels of the composition window and answers its mouse. There is one per process.
//
// All text is GBK; every length is in bytes. Operations take the host's context handle, which
// they pass back to the host with the text.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/lexicon.h"
#include "session/button_bar.h"
#include "session/draw_list.h"
#include "session/host.h"
#include "session/soft_keyboard.h"
#include "session/subpanel.h"
#include "session/text_measure.h"
#include "session/user_action.h"
#include "settings/conversion_flags.h"
#include "settings/settings.h"
#include "settings/settings_dialog.h"

namespace tvime {

class StrokeSubpanel;
class LetterSubpanel;
class PunctuationSubpanel;
class PinyinSubpanel;

// The state of one act of input, as the session keeps it. GBK text, lengths in bytes.
struct SessionState {
  std::string inputCodes;      // stroke codes; after a radical, its number then strokes
  std::string displayText;     // the base text of association
  std::string sendBuffer;      // text for the next message to the host
  std::string assocPreview;    // in association: what the first follow-on word adds
  std::string radicalStrokes;  // strokes typed after a radical
  std::string pendingPhrase;   // with "SearchMode": chosen text not yet committed
  std::string lastWord;        // the last chosen word
  std::string savedInput;      // the input before a radical was chosen
  std::string hoverText;       // hint of the hovered item
  PanelMode mode = ModeOther;
  int radicalIndex = 0;
  int pageFirst = 0;  // steps of 5 through the lexicon's secondary list while paging
  bool pinyinMode = false;
  bool searchMode = false;
  bool keyStrokes = false;
  std::string strokeKeys;  // read at the first key that may be a stroke; empty until then
  bool movedByCursor = false;
  bool openWordCiba = true;
  bool singleQuoteOpen = false;
  bool doubleQuoteOpen = false;
};

class CompositionPanel : public LexiconClient {
 public:
  CompositionPanel(Lexicon& lexicon, Settings& settings, ConversionFlags& flags, Host& host,
                   const TextMeasure& measure);
  ~CompositionPanel() override;

  // Every user action reaches the session here (see user_action.h).
  ActionResult Apply(ContextHandle context, const UserAction& action);

  // --- direct operations, for hosts that plan input rather than click it (the typing-cost
  // planner, the benchmarks, the panel host of the end-to-end tests). Users reach them through
  // Apply.
  bool AddStroke(ContextHandle context, int index);
  bool ChooseCharacter(ContextHandle context, CandidateId entry);
  bool ChooseRadical(ContextHandle context, int entry);
  void CommitSymbol(ContextHandle context, std::string_view text);
  bool ClearAll(ContextHandle context);
  bool PageNext();
  bool PagePrev();
  // Looks the input up again and lays the panels out (after the dictionaries are loaded).
  void Refresh(ContextHandle context, bool keepPage);

  // --- the window ---
  // What the window shows, in 96-dpi units: the renderer scales it as hit-testing does.
  DrawList Paint() const;
  // The scale the window is drawn at (its monitor's dpi times the panel size): every point the
  // mouse actions carry is in device pixels of the window at this scale.
  LayoutScale scale() const { return scale_; }
  void SetScale(LayoutScale scale) { scale_ = scale; }
  // Whether the hint strip shows the hovered item's hint; when not, the news line has the strip.
  bool showsHoverHint() const { return hovered_; }

  // --- what the session holds, for painting, hosts and tests ---
  const SessionState& state() const { return state_; }
  // The session's options as the settings dialog edits them in place (and writes them on OK); the
  // lexicon answers with them after the FlagsChanged action that follows OK.
  SessionOptions EditableOptions();

  Lexicon& lexicon() { return lexicon_; }
  const Lexicon& lexicon() const { return lexicon_; }
  // The lists the session's searches filled, and its association history.
  const CandidateLists& lists() const { return lists_; }
  ConversionFlags& flags() { return flags_; }
  Host& host() { return host_; }
  const TextMeasure& measure() const { return measure_; }
  const ButtonBar& buttonBar() const { return bar_; }
  SoftKeyboard& softKeyboard() { return softKeyboard_; }
  const StrokeSubpanel& strokePanel() const { return *stroke_; }
  const PinyinSubpanel& pinyinPanel() const { return pinyin(); }
  // The sub-panel that serves the current mode (the stroke panel for every mode it does not).
  Subpanel& currentSubpanel() const;
  // The item under the cursor, when there is one.
  const PanelItem* hoveredItem() const { return hovered_ ? &hoveredItem_ : nullptr; }

  // LexiconClient
  void ResetDisplayState() override;
  // The lookup of the input as it is now: the mode classified again and the lists filled.
  void RefreshCandidates() override;
  void LoadPanelResources() override;
  void UserWordsChanged(const UserWordRenumbering& renumbering) override;

 private:
  // The sub-panels turn their clicks into the session's operations below.
  friend class StrokeSubpanel;
  friend class CharacterSubpanel;  // the letter and punctuation panels
  friend class LetterSubpanel;
  friend class PunctuationSubpanel;
  friend class PinyinSubpanel;

  // --- the session's operations ---
  bool ChoosePhrase(ContextHandle context, std::string_view text);
  // The same with the length of the start the user has already (the label of a follow-on word
  // leaves it out): only the rest is sent.
  bool ChoosePhrase(ContextHandle context, std::string_view text, size_t shared);
  void CommitPending(ContextHandle context);
  void CommitSend(ContextHandle context);
  bool Backspace(ContextHandle context);
  void CommitText(ContextHandle context, std::string_view text);
  bool CommitKey(ContextHandle context, char ch);
  bool CommitFullWidth(ContextHandle context, int ch);
  PanelMode ClassifyInput();
  // The context text of association is gone (a pinyin lookup, a pinyin character chosen).
  void ForgetContextText() { state_.displayText.clear(); }
  // Leaves the letter or punctuation panel for the stroke panel and refreshes.
  void ReturnToStrokePanel(ContextHandle context);
  // The association list, loaded from the lexicon's after a choice.
  void LoadAssociation();
  // Runs "MovedByCursor" after a click on the panel.
  void AfterClick(ContextHandle context);

  // The actions that reach the session only through Apply.
  // A typed key: the character in the high byte when it is not zero, else in the low byte.
  // Non-zero when the key was used.
  int HandleKey(ContextHandle context, std::uint16_t key);
  // A command of a button, a menu or the status window.
  void Command(ContextHandle context, int id);
  // A key the host took while a soft keyboard is shown: Backspace and Enter go to the
  // application (pending text first), a symbol of the current table is committed like a symbol
  // button's, a key without one does nothing.
  void SoftKeyboardKey(ContextHandle context, unsigned virtualKey, bool shift);
  MouseResult Mouse(ContextHandle context, MouseEvent event, int x, int y);
  // The cursor left the window: hover ends.
  void MouseLeft();
  // The drag that a press on the Move button started has ended: the window took the release.
  void DragEnded();
  // The conversion flags were changed outside the panel's own commands (the settings dialog): the
  // panel repaints, and a new character set starts the lookup again.
  void FlagsChanged(ContextHandle context, bool characterSetChanged);

  // Forgets the lists and what they showed; true when a composition was in progress.
  bool ClearLists();
  // The lexicon answers with the options as the session has them now.
  void SyncLexiconOptions();
  // What the panel shows changed while nothing was committed.
  void PanelChanged(ContextHandle context);
  void Associate();
  void EndAssociation();
  bool Page(bool forward);
  void UpdateAssocPreview();
  void ToggleCharacterSet(ContextHandle context);
  // The lookup is forgotten (the input closed, a soft keyboard shown, a new panel size); the
  // strokes typed are looked up again and pending text stays.
  void ForgetLookup(ContextHandle context);
  void SwitchPanel(ContextHandle context, PanelMode panel);
  int CommitPunctuation(ContextHandle context, std::string_view text);
  // Text that goes out at once (a symbol, punctuation, a typed or soft-keyboard character). With
  // "SearchMode" the text chosen and not yet sent goes first, so nothing chosen is lost.
  void CommitNow(ContextHandle context, std::string text);
  // With "SearchMode", sends the text chosen and not yet sent; the strokes typed stay.
  void FlushPending(ContextHandle context);
  // Enter goes to the application, after any pending text so that the order is kept.
  void PassEnter(ContextHandle context);
  // Forgets the input being typed and the lookup state; pending text stays when `keepPending`.
  void ClearInput(bool keepPending);
  // The follow-on words of `displayText` as they are now, with the preview of the first.
  void OfferFollowOns();
  // The item under the cursor is found again after the session changed under it.
  void Rehover();
  // A character from the keyboard (`shaped`: full shape applies) or from a bar button.
  int HandleCharacter(ContextHandle context, int ch, bool shaped);
  int BarKey(ContextHandle context, int ch);
  int KeyStep(ContextHandle context, int ch, bool shaped);
  // `force`: the item may look the same and mean something else now.
  void Hover(int x, int y, bool force = false);
  void PaintHint(DrawList& out) const;

  static constexpr int kPageStep = 5;

  SessionState state_;
  CandidateLists lists_;
  LexiconOptions lexiconOptions_;  // bigCharset follows the flags; the rest the settings dialog
  Lexicon& lexicon_;
  Settings& settings_;
  ConversionFlags& flags_;
  Host& host_;
  const TextMeasure& measure_;
  ButtonBar bar_;
  SoftKeyboard softKeyboard_;
  std::unique_ptr<StrokeSubpanel> stroke_;
  std::unique_ptr<LetterSubpanel> letters_;
  std::unique_ptr<PunctuationSubpanel> punctuation_;
  std::unique_ptr<PinyinSubpanel> pinyin_;
  // The pinyin panel reads its table when it is first used, not at the start: most sessions
  // never spell pinyin, and every application that selects the input method would pay for it.
  PinyinSubpanel& pinyin() const;
  mutable bool pinyinTableRead_ = false;

  LayoutScale scale_;
  bool hovered_ = false;
  PanelItem hoveredItem_;
  Subpanel::Hint hint_;
  bool runningCommand_ = false;
  // The bar button a left press started on (-1 for none): only it looks pressed, and only while
  // the cursor is over it; a release outside the window is never seen, so leaving it forgets.
  int pressedButton_ = -1;
  bool cursorInside_ = false;
  int cursorX_ = 0;
  int cursorY_ = 0;
};

}  // namespace tvime
