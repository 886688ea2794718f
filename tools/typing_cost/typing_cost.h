#pragma once
// The click cost of a text: a user who knows every character's strokes types it through a real
// composition panel over the real dictionaries, choosing among the ways the panel offers by one
// of two rules (PlanningRule). Every action is carried out by clicks on the panel and checked
// against what the application received, so the figure is what the session gives, not what a
// model of it predicts; a plan the panel does not bear out is counted.
//
// Hanzi are the characters of the character dictionary. Anything else is typed on the keyboard
// and costs no click: ASCII through the key handler, other characters GBK encodes as symbols.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/resources.h"
#include "session/candidate_lists.h"
#include "session/composition_panel.h"
#include "session/host.h"
#include "session/text_measure.h"

namespace tvime {

enum class TypingAction : int {
  Association,      // a follow-on word of the association list
  Strokes,          // strokes of one character, then the character
  PhraseByStrokes,  // strokes of each character's start with separators, then the phrase
  ContextPhrase,    // strokes of the next character, then a phrase of the word before it
};
inline constexpr size_t kTypingActionCount = 4;

enum class PlanningRule {
  // Each step takes the action with the fewest clicks per character it commits (on a tie, the
  // one that commits more). Short-sighted: a phrase may win over a character whose follow-on
  // word would have been cheaper still.
  PerAction,
  // Each run of hanzi is typed with the fewest clicks in all, weighing how every choice changes
  // the association that follows it.
  WholeRun,
};

struct ActionTally {
  long uses = 0;
  long hanzi = 0;
  long clicks = 0;
};

struct TypingCost {
  long hanzi = 0;   // hanzi committed by clicks
  long clicks = 0;  // every click, the wasted ones of fallbacks included
  std::array<ActionTally, kTypingActionCount> byAction{};
  long fallbacks = 0;     // planned actions the panel did not offer as planned
  long wastedClicks = 0;  // clicks of those, and the Clear click after each
  long unreachable = 0;   // hanzi no click reaches: committed as symbols, not counted above
  long keys = 0;          // ASCII typed on the keyboard
  long symbols = 0;       // other GBK characters committed as symbols
  long skipped = 0;       // characters GBK cannot encode, carriage returns, control characters
  long escapes = 0;       // runs of hanzi that found input left on the panel
  long replans = 0;       // whole-run plans redone because the session went another way

  double ClicksPerHanzi() const {
    return hanzi == 0 ? 0.0 : static_cast<double>(clicks) / static_cast<double>(hanzi);
  }
  TypingCost& operator+=(const TypingCost& other);
};

// The report of the command-line tool, in UTF-8.
void WriteTypingCost(const TypingCost& cost, std::ostream& out);

struct TypingOptions {
  bool bigCharset = false;  // search the large character set, not only the common characters
  PlanningRule rule = PlanningRule::PerAction;
  bool learn = false;   // the user's choices move up in their lists ("LearnChoices")
  bool predict = true;  // follow-on words ranked by what came before ("PredictNext")
};

// One source of a folder: a file typed by a simulator of its own, as one user would type it.
struct SourceCost {
  std::string name;  // the file name without ".txt"
  TypingCost cost;
  std::string error;  // empty when the text arrived unchanged
};

// Types every ".txt" file of `folder`, in name order, spread over `threads` threads; the result
// is in name order. Empty when the folder cannot be read.
std::vector<SourceCost> MeasureFolder(const ResourceSource& dictionaries, const std::string& folder,
                                      const TypingOptions& options, unsigned threads);
// One line per source (hanzi, clicks, clicks per hanzi), then the total of all of them.
void WriteFolderCost(const std::vector<SourceCost>& sources, std::ostream& out);

// What the application receives, as GBK: committed text, and each key handed back as its
// character ("\n" for Enter).
class ReceivingHost : public Host {
 public:
  void Commit(ContextHandle, std::string_view text) override { received += text; }
  void ReturnKey(ContextHandle, unsigned virtualKey) override {
    received += virtualKey == kKeyEnter ? '\n' : static_cast<char>(virtualKey);
  }
  void PanelChanged(ContextHandle) override {}
  void Invalidate(bool) override {}
  void InvalidateHintStrip() override {}
  void Beep() override { ++beeps; }
  void LookUpWord(std::string_view) override {}
  void FollowCaret(ContextHandle) override {}
  void RunHostCommand(ContextHandle, int) override {}

  std::string received;
  int beeps = 0;
};

class TypingSimulator {
 public:
  // Loads the dictionaries of `dictionaries`, which must outlive the simulator. Without
  // `bigCharset` only the common characters are searched, as with the panel's default.
  TypingSimulator(const ResourceSource& dictionaries, bool bigCharset,
                  PlanningRule rule = PlanningRule::PerAction);
  TypingSimulator(const ResourceSource& dictionaries, const TypingOptions& options);
  ~TypingSimulator();
  TypingSimulator(const TypingSimulator&) = delete;
  TypingSimulator& operator=(const TypingSimulator&) = delete;

  // False when there is no character dictionary.
  bool Loaded() const;
  // Types `utf8` after what was typed before. False, with `error` saying where, when the
  // application received anything but the text (hanzi, keys and encodable symbols).
  bool Type(std::string_view utf8, std::string& error);

  const TypingCost& cost() const { return cost_; }
  // What the application received, in UTF-8.
  std::string Received() const;
  // One line per action goes to `trace` (nullptr for none).
  void SetTrace(std::ostream* trace) { trace_ = trace; }
  CompositionPanel& panel() { return *panel_; }
  const Lexicon& lexicon() const { return *lexicon_; }

 private:
  struct Plan;
  struct PlanSet;
  struct PhraseSearch;
  struct SessionState;
  struct RunStep;
  struct RunCache;

  bool TypeRun(std::string_view run, std::string& error);
  bool TypeRunWhole(std::string_view run, std::string& error);
  bool TypeOther(char32_t character, std::string& error);
  // Carries out `plan`, or types the first character by strokes when the panel does not bear
  // the plan out; `chars` is what was committed.
  bool Execute(const Plan& plan, std::string_view upcoming, size_t& chars, std::string& error);
  bool CommitUnreachable(std::string_view upcoming, std::string& error);
  bool Check(size_t before, std::string_view expected, std::string& error) const;

  // The ways to type the start of `upcoming` with the association base `displayText` (empty
  // when association is not offered) and its list `association`.
  void PlanAssociation(std::string_view upcoming, const std::string& displayText,
                       const PhraseStrip& association, PlanSet& plans) const;
  // `before` is what the session holds as written before `displayText` (Lexicon::TextBefore).
  void PlanStrokes(std::string_view upcoming, const std::string& displayText,
                   std::string_view before, PlanSet& plans);
  // `before` is the last word the session committed (the phrases are ranked by it).
  void PlanPhrasesByStrokes(std::string_view upcoming, std::string_view before, PlanSet& plans);
  void VisitPhraseInput(PhraseSearch& search, std::string& input, size_t part, size_t strokes);
  // The cheapest way to type `run` from character `from` on, starting in `state`.
  std::vector<RunStep> PlanRun(std::string_view run, size_t from, const SessionState& state,
                               RunCache& cache);
  void PlansAt(std::string_view run, size_t at, const SessionState& state, RunCache& cache,
               PlanSet& plans);
  // The most clicks worth spending on each number of characters at the start of `upcoming`:
  // those of typing them one by one with the fewest strokes.
  std::vector<size_t> OneByOneClicks(std::string_view upcoming);
  SessionState CurrentState() const;
  SessionState StateAfter(const SessionState& state, std::string_view chosen) const;
  PhraseStrip AssociationFor(const SessionState& state) const;
  // What the session would hold as written before the association base of `state`.
  static std::string_view TextBefore(const SessionState& state);
  // The same for the panel as it is.
  std::string_view TextBeforeDisplay() const;

  bool Perform(const Plan& plan);
  void Trace(const Plan& plan, std::string_view committed, std::string_view note);
  void Click(const Rect& rect);
  void ClickNextPage();
  void ClickClear();
  // The characters of the panel's stroke query; each query is searched once.
  const std::vector<CandidateId>& CharacterList(std::string_view query);
  bool IsHanzi(std::string_view gbk) const;
  const std::string& GbkOf(char32_t character);

  MemorySettingsStore store_;
  Settings settings_;
  ConversionFlags flags_;
  std::unique_ptr<Lexicon> lexicon_;
  ReceivingHost host_;
  FixedTextMeasure measure_;
  std::unique_ptr<CompositionPanel> panel_;
  PlanningRule rule_;
  bool learn_;
  TypingCost cost_;
  std::ostream* trace_ = nullptr;
  // Where the text being typed is, for errors and the trace: characters and lines from 1.
  size_t position_ = 1;
  size_t line_ = 1;

  std::unordered_map<std::string, std::vector<CandidateId>> characterLists_;
  std::unordered_map<char32_t, std::string> gbk_;
  std::unordered_map<CharIndex, size_t> strokeClicks_;
};

}  // namespace tvime
