#include "tools/typing_cost/typing_cost.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <thread>

#include "base/gbk.h"
#include "base/utf8.h"
#include "session/button_bar.h"
#include "session/stroke_subpanel.h"

namespace tvime {
namespace {

constexpr ContextHandle kContext = 1;
// A phrase label is at least two characters wide (36 pixels) and labels are 8 apart, so no row of
// a phrase strip holds more than this many.
constexpr size_t kMaxPhrasesPerRow = 6;
// A row of candidates past this many page turns is never worth planning for.
constexpr size_t kMaxPageTurns = 100;
// What a character no stroke query lists is taken to cost when bounding the search for phrases.
constexpr size_t kUnlistedCharacterClicks = 30;
// The session states kept at each point of a run; more than a few never pay off.
constexpr size_t kStatesPerPosition = 8;

// Fewer clicks per committed character; on a tie, more characters.
bool Cheaper(size_t clicks, size_t chars, size_t otherClicks, size_t otherChars) {
  size_t mine = clicks * otherChars, theirs = otherClicks * chars;
  return mine < theirs || (mine == theirs && chars > otherChars);
}

template <typename Plan>
bool MayBeat(const std::optional<Plan>& best, size_t clicks, size_t chars) {
  return !best || Cheaper(clicks, chars, best->Clicks(), best->chars);
}

template <typename Plan>
void Keep(std::optional<Plan>& best, Plan plan) {
  if (MayBeat(best, plan.Clicks(), plan.chars)) best = std::move(plan);
}

Rect FindButton(const ButtonBar& bar, int command) {
  for (const ToolbarButton& button : bar.buttons()) {
    if (button.command == command) return button.rect;
  }
  return {};
}

constexpr std::array<std::string_view, kTypingActionCount> kActionNames = {
    "(a) association", "(b) strokes", "(c) phrase by strokes", "(d) context phrase"};

}  // namespace

struct TypingSimulator::Plan {
  TypingAction action = TypingAction::Strokes;
  std::string strokes;  // stroke letters and separators, clicked in order
  size_t pageTurns = 0;
  ItemKind kind = ItemCharacter;
  std::int64_t value = 0;  // of the item clicked last
  size_t chars = 0;        // hanzi that click commits
  std::string chosen;      // what the session then associates from: the character or whole phrase

  size_t Clicks() const { return strokes.size() + pageTurns + 1; }
};

// The ways found to type the start of the upcoming text: the cheapest for each number of
// characters and each text chosen (which decides the association that follows), and the cheapest
// by the per-action rule.
struct TypingSimulator::PlanSet {
  // For whole-run planning, the most clicks worth spending on n characters (index n); empty under
  // the per-action rule, where only what can beat the best so far is worth it.
  std::vector<size_t> ceilings;
  std::vector<Plan> plans;
  std::optional<Plan> best;

  bool Worth(size_t clicks, size_t chars) const {
    if (ceilings.empty()) return MayBeat(best, clicks, chars);
    return chars >= ceilings.size() || clicks <= ceilings[chars];
  }
  void Offer(Plan plan) {
    if (!Worth(plan.Clicks(), plan.chars)) return;
    Keep(best, plan);
    for (Plan& kept : plans) {
      if (kept.chars == plan.chars && kept.chosen == plan.chosen) {
        if (plan.Clicks() < kept.Clicks()) kept = std::move(plan);
        return;
      }
    }
    plans.push_back(std::move(plan));
  }
};

// The phrases by strokes that would type the start of the upcoming text, and the codes to reach
// them with.
struct TypingSimulator::PhraseSearch {
  struct Target {
    std::uint32_t id;
    size_t chars;
    std::optional<size_t> pageTurns;                     // where the input being weighed shows it
    size_t clicks = std::numeric_limits<size_t>::max();  // the cheapest found
  };
  std::vector<Target> targets;
  std::vector<std::string_view> codes;  // of the upcoming characters, as far as targets reach
  CandidateId first = 0;
  std::string_view before;  // the last word committed, which the panel ranks phrases by
  PlanSet* plans = nullptr;

  // True when a target of at least `partCount` characters might still be typed for `clicks`.
  // With `narrowing`, the input must also narrow the list: a target already shown within a page
  // turn gains nothing from another stroke.
  bool Promising(size_t partCount, size_t clicks, bool narrowing) const {
    for (const Target& target : targets) {
      if (target.chars < partCount || clicks >= target.clicks) continue;
      if (!plans->Worth(clicks, target.chars)) continue;
      if (narrowing && target.pageTurns && *target.pageTurns < 2) continue;
      return true;
    }
    return false;
  }
};

// What the next choice depends on: the association base, the last word of the history, and the
// last character of the word before it (what the follow-on words are ranked by).
struct TypingSimulator::SessionState {
  std::string displayText;  // empty when no association is offered
  std::string lastKey;      // empty when the history is
  std::string previousKey;  // the last character of the entry before lastKey; may be empty
  bool operator==(const SessionState&) const = default;
};

struct TypingSimulator::RunStep {
  SessionState before;
  std::optional<Plan> plan;  // none: no click reaches the character
};

// What whole-run planning learns about one run; only the association depends on the state.
struct TypingSimulator::RunCache {
  std::map<std::pair<size_t, std::string>, std::vector<Plan>> phrases;
  std::map<std::pair<size_t, std::string>, std::vector<Plan>> strokes;
  std::map<std::string, PhraseStrip> associations;
  std::map<size_t, std::vector<size_t>> ceilings;
};

TypingSimulator::TypingSimulator(const ResourceSource& dictionaries, bool bigCharset,
                                 PlanningRule rule)
    : TypingSimulator(dictionaries, TypingOptions{.bigCharset = bigCharset, .rule = rule}) {}

TypingSimulator::TypingSimulator(const ResourceSource& dictionaries, const TypingOptions& options)
    : settings_(store_), flags_(settings_), rule_(options.rule), learn_(options.learn) {
  // Chinese punctuation off, so that an ASCII key commits itself.
  flags_.Assign(options.bigCharset ? CS_BIG_CHARSET : 0);
  // Without a user data folder the lexicon learns in memory and saves nothing.
  settings_.Write(setting::LearnChoices, options.learn ? 1 : 0);
  settings_.Write(setting::PredictNext, options.predict ? 1 : 0);
  lexicon_ = std::make_unique<Lexicon>(nullptr);
  panel_ = std::make_unique<CompositionPanel>(*lexicon_, settings_, flags_, host_, measure_);
  lexicon_->Initialize(&dictionaries);
  panel_->Refresh(kContext, false);
}

TypingSimulator::~TypingSimulator() = default;

bool TypingSimulator::Loaded() const { return lexicon_->characters().IsLoaded(); }

std::string TypingSimulator::Received() const { return GbkToUtf8(host_.received); }

const std::string& TypingSimulator::GbkOf(char32_t character) {
  auto [it, inserted] = gbk_.try_emplace(character);
  if (!inserted) return it->second;
  if (character < 0x80) {
    it->second.assign(1, static_cast<char>(character));
    return it->second;
  }
  std::u16string units;
  if (character >= 0x10000) {
    char32_t offset = character - 0x10000;
    units = {static_cast<char16_t>(0xD800 + (offset >> 10)),
             static_cast<char16_t>(0xDC00 + (offset & 0x3FF))};
  } else {
    units = {static_cast<char16_t>(character)};
  }
  bool lossless = false;
  std::string gbk = Utf16ToGbk(units, &lossless);
  if (lossless) it->second = std::move(gbk);
  return it->second;
}

bool TypingSimulator::IsHanzi(std::string_view gbk) const {
  return gbk.size() == 2 && !lexicon_->CodeOfChar(gbk).empty();
}

bool TypingSimulator::Type(std::string_view utf8, std::string& error) {
  std::u32string text = DecodeUtf8(utf8);
  std::string run;
  for (size_t i = 0; i < text.size();) {
    if (!IsHanzi(GbkOf(text[i]))) {
      if (!TypeOther(text[i], error)) return false;
      ++i;
      continue;
    }
    run.clear();
    for (; i < text.size() && IsHanzi(GbkOf(text[i])); ++i) run += GbkOf(text[i]);
    if (!panel_->state().inputCodes.empty()) {
      panel_->Apply(kContext, UserAction::TypedKey(27));
      ++cost_.escapes;
    }
    bool typed = rule_ == PlanningRule::WholeRun ? TypeRunWhole(run, error) : TypeRun(run, error);
    if (!typed) return false;
  }
  return true;
}

bool TypingSimulator::Check(size_t before, std::string_view expected, std::string& error) const {
  std::string_view got = std::string_view(host_.received).substr(before);
  if (got == expected) return true;
  error = "at character " + std::to_string(position_) + " (line " + std::to_string(line_) +
          "): expected \"" + GbkToUtf8(expected) + "\", the application received \"" +
          GbkToUtf8(got) + "\"";
  return false;
}

bool TypingSimulator::TypeOther(char32_t character, std::string& error) {
  size_t before = host_.received.size();
  std::string expected;
  if (character == '\n') {
    panel_->Apply(kContext, UserAction::TypedKey(13));
    expected.push_back('\n');
    ++cost_.keys;
  } else if (character == '\t') {
    // The module does not take Tab: the key reaches the application past the session.
    host_.ReturnKey(kContext, '\t');
    expected = "\t";
    ++cost_.keys;
  } else if (character >= 0x20 && character < 0x7F) {
    panel_->Apply(kContext, UserAction::TypedKey(static_cast<std::uint16_t>(character)));
    expected = GbkOf(character);
    ++cost_.keys;
  } else if (character < 0x80 || GbkOf(character).empty()) {
    // A carriage return before a line feed is part of the one Enter the line feed types.
    ++cost_.skipped;
  } else {
    expected = GbkOf(character);
    panel_->CommitSymbol(kContext, expected);
    ++cost_.symbols;
  }
  if (!Check(before, expected, error)) return false;
  ++position_;
  if (character == '\n') ++line_;
  return true;
}

bool TypingSimulator::TypeRun(std::string_view run, std::string& error) {
  for (size_t at = 0; at < run.size();) {
    std::string_view upcoming = run.substr(at);
    PlanSet plans;
    const std::string& displayText = panel_->state().displayText;
    if (panel_->state().mode == ModeAssociation) {
      PlanAssociation(upcoming, displayText, panel_->strokePanel().association, plans);
    }
    PlanStrokes(upcoming, displayText, TextBeforeDisplay(), plans);
    const std::vector<std::string>& history = panel_->lists().contextHistory;
    PlanPhrasesByStrokes(upcoming, history.empty() ? std::string_view() : history.back(), plans);
    size_t chars = 1;
    bool typed = plans.best ? Execute(*plans.best, upcoming, chars, error)
                            : CommitUnreachable(upcoming, error);
    if (!typed) return false;
    at += 2 * chars;
  }
  return true;
}

bool TypingSimulator::TypeRunWhole(std::string_view run, std::string& error) {
  RunCache cache;
  for (size_t at = 0; at < run.size() / 2;) {
    for (const RunStep& step : PlanRun(run, at, CurrentState(), cache)) {
      if (!(CurrentState() == step.before)) {
        ++cost_.replans;
        break;
      }
      std::string_view upcoming = run.substr(2 * at);
      size_t chars = 1;
      bool typed = step.plan ? Execute(*step.plan, upcoming, chars, error)
                             : CommitUnreachable(upcoming, error);
      if (!typed) return false;
      at += chars;
    }
  }
  return true;
}

bool TypingSimulator::Execute(const Plan& plan, std::string_view upcoming, size_t& chars,
                              std::string& error) {
  size_t before = host_.received.size();
  const Plan* done = &plan;
  PlanSet strokes;
  if (!Perform(plan)) {
    // The panel did not show what the plan expected: clear and type the character by strokes.
    Trace(plan, "", "not offered as planned");
    ++cost_.fallbacks;
    cost_.wastedClicks += static_cast<long>(plan.Clicks());
    cost_.clicks += static_cast<long>(plan.Clicks());
    ClickClear();
    PlanStrokes(upcoming, panel_->state().displayText, TextBeforeDisplay(), strokes);
    if (!strokes.best || !Perform(*strokes.best)) {
      error = "at character " + std::to_string(position_) + " (line " + std::to_string(line_) +
              "): the panel does not offer " + GbkToUtf8(upcoming.substr(0, 2)) + " by its strokes";
      return false;
    }
    done = &*strokes.best;
  }
  std::string_view committed = upcoming.substr(0, 2 * done->chars);
  if (!Check(before, committed, error)) return false;
  Trace(*done, committed, "");
  ActionTally& tally = cost_.byAction[static_cast<size_t>(done->action)];
  long clicks = static_cast<long>(done->Clicks());
  long hanzi = static_cast<long>(done->chars);
  ++tally.uses;
  tally.hanzi += hanzi;
  tally.clicks += clicks;
  cost_.hanzi += hanzi;
  cost_.clicks += clicks;
  position_ += done->chars;
  chars = done->chars;
  if (learn_) {
    // The choice reordered the lists it is in: what was looked up before is stale.
    characterLists_.clear();
    strokeClicks_.clear();
  }
  return true;
}

bool TypingSimulator::CommitUnreachable(std::string_view upcoming, std::string& error) {
  size_t before = host_.received.size();
  std::string_view character = upcoming.substr(0, 2);
  panel_->CommitSymbol(kContext, character);
  ++cost_.unreachable;
  if (trace_) *trace_ << position_ << "\tunreachable\t" << GbkToUtf8(character) << "\t\t\t0\n";
  if (!Check(before, character, error)) return false;
  ++position_;
  return true;
}

void TypingSimulator::PlanAssociation(std::string_view upcoming, const std::string& displayText,
                                      const PhraseStrip& association, PlanSet& plans) const {
  if (displayText.empty()) return;
  for (const PanelItem& item : association.items()) {
    std::string_view text = lexicon_->CandidateText(static_cast<CandidateId>(item.value));
    // A click commits the phrase past the context, as ChoosePhrase cuts it.
    std::string_view rest = text.substr(std::min(displayText.size(), text.size()));
    if (rest.empty() || rest.size() % 2 != 0 || !upcoming.starts_with(rest)) continue;
    int page = item.row / association.rowsPerPage();
    if (page < association.page()) continue;
    plans.Offer(Plan{TypingAction::Association, "", static_cast<size_t>(page - association.page()),
                     ItemPhrase, item.value, rest.size() / 2, std::string(text)});
  }
}

void TypingSimulator::PlanStrokes(std::string_view upcoming, const std::string& displayText,
                                  std::string_view before, PlanSet& plans) {
  std::string_view character = upcoming.substr(0, 2);
  std::string_view code = lexicon_->CodeOfChar(character);
  CandidateId index = lexicon_->IndexOfChar(character);
  // With one character as context the panel lists the phrases it begins whose second character
  // starts with the strokes typed; a click commits the phrase past the context.
  struct ContextTarget {
    std::uint32_t id;
    size_t chars;
    size_t clicks;
  };
  constexpr size_t kNone = std::numeric_limits<size_t>::max();
  std::vector<ContextTarget> contextTargets;
  size_t longest = 1;
  const bool context = displayText.size() == 2;
  if (context) {
    for (std::uint32_t id : lexicon_->PhrasesStartingWith(displayText)) {
      std::string_view text = lexicon_->CandidateText(id);
      std::string_view rest = text.substr(std::min(displayText.size(), text.size()));
      if (rest.empty() || !upcoming.starts_with(rest)) continue;
      contextTargets.push_back({id, rest.size() / 2, kNone});
      longest = std::max(longest, rest.size() / 2);
    }
  }
  size_t characterClicks = kNone;
  for (size_t k = 1; k <= code.size(); ++k) {
    // More strokes cost more; they only pay while they bring something nearer.
    bool settled = characterClicks <= k + 1;
    for (const ContextTarget& target : contextTargets) settled &= target.clicks <= k + 1;
    if (settled || !plans.Worth(k + 1, longest)) break;
    std::string query = FoldStrokes(code.substr(0, k));
    const std::vector<CandidateId>& characters = CharacterList(query);
    std::vector<std::uint32_t> phrases;
    if (context) phrases = lexicon_->FindContextPhrasesByStrokes(displayText, query, before);
    // The character grid gives up a row to the phrase strip when there are phrases.
    size_t rowsPerPage = phrases.empty() ? 2 : 1;
    auto at = std::find(characters.begin(), characters.end(), index);
    if (at != characters.end()) {
      size_t row = static_cast<size_t>(at - characters.begin()) / kGridColumns;
      Plan plan{TypingAction::Strokes,
                std::string(code.substr(0, k)),
                row / rowsPerPage,
                ItemCharacter,
                index,
                1,
                std::string(character)};
      characterClicks = std::min(characterClicks, plan.Clicks());
      plans.Offer(std::move(plan));
    }
    bool offered = std::any_of(phrases.begin(), phrases.end(), [&](std::uint32_t id) {
      return std::any_of(contextTargets.begin(), contextTargets.end(),
                         [id](const ContextTarget& target) { return target.id == id; });
    });
    if (!offered) continue;
    PhraseStrip strip(0, panel_->strokePanel().phrases.rowsPerPage());
    strip.Fill(*lexicon_, phrases, displayText.size(), measure_);
    for (const PanelItem& item : strip.items()) {
      for (ContextTarget& target : contextTargets) {
        if (item.value != target.id) continue;
        Plan plan{TypingAction::ContextPhrase,
                  std::string(code.substr(0, k)),
                  static_cast<size_t>(item.row / strip.rowsPerPage()),
                  ItemPhrase,
                  item.value,
                  target.chars,
                  std::string(lexicon_->CandidateText(target.id))};
        target.clicks = std::min(target.clicks, plan.Clicks());
        plans.Offer(std::move(plan));
      }
    }
  }
}

void TypingSimulator::PlanPhrasesByStrokes(std::string_view upcoming, std::string_view before,
                                           PlanSet& plans) {
  PhraseSearch search;
  search.before = before;
  std::string_view first = upcoming.substr(0, 2);
  for (std::uint32_t id : lexicon_->PhrasesStartingWith(first)) {
    PhraseEntry phrase = lexicon_->phrases().EntryAt(id);
    if (phrase.charCount >= 2 && upcoming.starts_with(phrase.Text())) {
      search.targets.push_back({id, phrase.charCount, std::nullopt});
    }
  }
  size_t longest = 0;
  for (const PhraseSearch::Target& target : search.targets) {
    longest = std::max(longest, target.chars);
  }
  if (longest == 0) return;
  for (size_t i = 0; i < longest; ++i) {
    search.codes.push_back(lexicon_->CodeOfChar(upcoming.substr(2 * i, 2)));
  }
  search.first = lexicon_->IndexOfChar(first);
  search.plans = &plans;
  // The cheapest phrase needs a stroke, a separator and a click.
  if (!search.Promising(2, 3, false)) return;
  std::string input(search.codes[0].substr(0, 1));
  VisitPhraseInput(search, input, 0, 1);
}

// Weighs the stroke input `input`, whose last part (number `part`) has `strokes` strokes, then
// every longer input that might still be cheaper: one more stroke of that part, or a separator.
void TypingSimulator::VisitPhraseInput(PhraseSearch& search, std::string& input, size_t part,
                                       size_t strokes) {
  std::string folded = FoldStrokes(input);
  std::vector<std::string_view> parts = SplitAtSeparators(folded);
  const std::vector<CandidateId>& characters = CharacterList(parts[0]);
  const size_t partCount = part + 1;
  // Both ways on are decided before either is taken: the targets record this input's pages.
  bool moreStrokes, separator;
  if (part == 0) {
    // Nothing shows before the first separator; the first character must be listed by then.
    moreStrokes = strokes < search.codes[0].size() && search.Promising(2, input.size() + 3, false);
    separator = std::find(characters.begin(), characters.end(), search.first) != characters.end() &&
                search.Promising(2, input.size() + 2, false);
  } else {
    // Rows past the last page turn that could still pay need not be searched.
    size_t pageTurns = 0;
    while (pageTurns < kMaxPageTurns &&
           search.Promising(partCount, input.size() + pageTurns + 2, false)) {
      ++pageTurns;
    }
    // The search stops after the phrases of the wanted first character: the panel's own search
    // goes on only to phrases the planner cannot want. Learnt phrases move up from anywhere in
    // the list, and with "PredictNext" the list is not grouped by character: then the search
    // covers what the panel's does.
    auto through = std::find(characters.begin(), characters.end(), search.first);
    size_t count = through == characters.end() || learn_ || lexicon_->options().predictNext
                       ? characters.size()
                       : static_cast<size_t>(through - characters.begin()) + 1;
    std::vector<std::uint32_t> found =
        lexicon_->FindPhrasesByStrokesAmong(std::span(characters).first(count), parts,
                                            (pageTurns + 1) * kMaxPhrasesPerRow, search.before);
    PhraseStrip strip(0, panel_->strokePanel().phrases.rowsPerPage());
    strip.Fill(*lexicon_, found, 0, measure_);
    for (PhraseSearch::Target& target : search.targets) {
      target.pageTurns.reset();
      if (target.chars < partCount) continue;
      for (const PanelItem& item : strip.items()) {
        if (item.value != target.id) continue;
        target.pageTurns = static_cast<size_t>(item.row / strip.rowsPerPage());
        Plan plan{TypingAction::PhraseByStrokes,
                  input,
                  *target.pageTurns,
                  ItemPhrase,
                  item.value,
                  target.chars,
                  std::string(lexicon_->CandidateText(target.id))};
        target.clicks = std::min(target.clicks, plan.Clicks());
        search.plans->Offer(std::move(plan));
        break;
      }
    }
    // A part after the first is a proper beginning of its character's code.
    moreStrokes = strokes + 1 < search.codes[part].size() &&
                  search.Promising(partCount, input.size() + 2, true);
    separator = strokes > 0 && partCount < search.codes.size() &&
                search.Promising(partCount + 1, input.size() + 2, true);
  }
  if (separator) {
    input += kPhraseSeparator;
    VisitPhraseInput(search, input, part + 1, 0);
    input.pop_back();
  }
  if (moreStrokes) {
    input += search.codes[part][strokes];
    VisitPhraseInput(search, input, part, strokes + 1);
    input.pop_back();
  }
}

std::vector<size_t> TypingSimulator::OneByOneClicks(std::string_view upcoming) {
  std::vector<size_t> ceilings(1, 0);
  for (size_t at = 0; at < upcoming.size() && ceilings.size() <= kMaxPhraseChars; at += 2) {
    CandidateId index = lexicon_->IndexOfChar(upcoming.substr(at, 2));
    auto [it, inserted] = strokeClicks_.try_emplace(index, kUnlistedCharacterClicks);
    if (inserted) {
      // The dearest case: a phrase strip beside the grid leaves one row of characters a page.
      std::string_view code = lexicon_->CodeOfChar(upcoming.substr(at, 2));
      for (size_t k = 1; k <= code.size(); ++k) {
        const std::vector<CandidateId>& characters = CharacterList(FoldStrokes(code.substr(0, k)));
        auto found = std::find(characters.begin(), characters.end(), index);
        if (found == characters.end()) continue;
        size_t row = static_cast<size_t>(found - characters.begin()) / kGridColumns;
        it->second = std::min(it->second, k + row + 1);
      }
    }
    ceilings.push_back(ceilings.back() + it->second);
  }
  return ceilings;
}

namespace {

std::string LastCharOf(std::string_view text) {
  return std::string(text.substr(text.size() - GbkLastCharSize(text)));
}

}  // namespace

TypingSimulator::SessionState TypingSimulator::CurrentState() const {
  const std::vector<std::string>& history = panel_->lists().contextHistory;
  return {panel_->state().displayText, history.empty() ? std::string() : history.back(),
          history.size() < 2 ? std::string() : LastCharOf(history[history.size() - 2])};
}

TypingSimulator::SessionState TypingSimulator::StateAfter(const SessionState& state,
                                                          std::string_view chosen) const {
  Lexicon::AssociationStep step =
      lexicon_->AssociationAfter(state.lastKey, chosen, ModeAssociation);
  return {step.contextText, step.historyEntry,
          step.grewLastEntry ? state.previousKey : LastCharOf(state.lastKey)};
}

std::string_view TypingSimulator::TextBefore(const SessionState& state) {
  return Lexicon::TextBefore(state.lastKey, state.previousKey, state.displayText);
}

std::string_view TypingSimulator::TextBeforeDisplay() const {
  return Lexicon::TextBefore(panel_->lists().contextHistory, panel_->state().displayText);
}

// The association list of the state's base, laid out as the panel lays it out.
PhraseStrip TypingSimulator::AssociationFor(const SessionState& state) const {
  const PhraseStrip& shown = panel_->strokePanel().association;
  PhraseStrip strip(0, shown.rowsPerPage());
  strip.Fill(*lexicon_, lexicon_->AssociationsOf(state.displayText, TextBefore(state)),
             state.displayText.size(), measure_);
  return strip;
}

void TypingSimulator::PlansAt(std::string_view run, size_t at, const SessionState& state,
                              RunCache& cache, PlanSet& plans) {
  std::string_view upcoming = run.substr(2 * at);
  auto ceilings = cache.ceilings.find(at);
  if (ceilings == cache.ceilings.end()) {
    ceilings = cache.ceilings.emplace(at, OneByOneClicks(upcoming)).first;
  }
  plans.ceilings = ceilings->second;
  if (!state.displayText.empty()) {
    // The list depends on the base and on the character written before it.
    std::string key = state.displayText + '\t' + LastCharOf(TextBefore(state));
    auto association = cache.associations.find(key);
    if (association == cache.associations.end()) {
      association = cache.associations.emplace(key, AssociationFor(state)).first;
    }
    PlanAssociation(upcoming, state.displayText, association->second, plans);
  }
  // Strokes depend on the state only through a one-character context and the character before
  // it.
  std::string context = state.displayText.size() == 2 ? state.displayText : std::string();
  std::string before = context.empty() ? std::string() : LastCharOf(TextBefore(state));
  auto strokes = cache.strokes.find({at, context + '\t' + before});
  if (strokes == cache.strokes.end()) {
    PlanSet found{plans.ceilings, {}, {}};
    PlanStrokes(upcoming, context, before, found);
    strokes =
        cache.strokes.emplace(std::pair(at, context + '\t' + before), std::move(found.plans)).first;
  }
  // Phrases depend on it through the last character committed.
  std::string last = LastCharOf(state.lastKey);
  auto phrases = cache.phrases.find({at, last});
  if (phrases == cache.phrases.end()) {
    PlanSet found{plans.ceilings, {}, {}};
    PlanPhrasesByStrokes(upcoming, last, found);
    phrases = cache.phrases.emplace(std::pair(at, last), std::move(found.plans)).first;
  }
  for (const Plan& plan : strokes->second) plans.Offer(plan);
  for (const Plan& plan : phrases->second) plans.Offer(plan);
}

std::vector<TypingSimulator::RunStep> TypingSimulator::PlanRun(std::string_view run, size_t from,
                                                               const SessionState& state,
                                                               RunCache& cache) {
  // Cheapest paths over the positions of the run, one node per session state reached.
  struct Node {
    SessionState state;
    size_t clicks;
    size_t previous;
    std::optional<Plan> plan;
  };
  constexpr size_t kStart = std::numeric_limits<size_t>::max();
  const size_t length = run.size() / 2;
  std::vector<Node> nodes{{state, 0, kStart, std::nullopt}};
  std::vector<std::vector<size_t>> reached(length + 1);
  reached[from].push_back(0);
  auto relax = [&](size_t at, SessionState next, size_t clicks, size_t previous,
                   std::optional<Plan> plan) {
    for (size_t other : reached[at]) {
      if (nodes[other].state == next) {
        if (clicks < nodes[other].clicks) {
          nodes[other] = {std::move(next), clicks, previous, std::move(plan)};
        }
        return;
      }
    }
    reached[at].push_back(nodes.size());
    nodes.push_back({std::move(next), clicks, previous, std::move(plan)});
  };
  for (size_t at = from; at < length; ++at) {
    std::vector<size_t>& here = reached[at];
    std::sort(here.begin(), here.end(),
              [&](size_t a, size_t b) { return nodes[a].clicks < nodes[b].clicks; });
    if (here.size() > kStatesPerPosition) here.resize(kStatesPerPosition);
    for (size_t index : here) {
      SessionState current = nodes[index].state;
      size_t clicks = nodes[index].clicks;
      PlanSet plans;
      PlansAt(run, at, current, cache, plans);
      if (plans.plans.empty()) {
        // The character is committed as a symbol: association ends, the history stays.
        relax(at + 1, {std::string(), current.lastKey, current.previousKey}, clicks, index,
              std::nullopt);
        continue;
      }
      for (const Plan& plan : plans.plans) {
        relax(at + plan.chars, StateAfter(current, plan.chosen), clicks + plan.Clicks(), index,
              plan);
      }
    }
  }
  size_t end =
      *std::min_element(reached[length].begin(), reached[length].end(),
                        [&](size_t a, size_t b) { return nodes[a].clicks < nodes[b].clicks; });
  std::vector<RunStep> steps;
  for (size_t index = end; nodes[index].previous != kStart; index = nodes[index].previous) {
    steps.push_back({nodes[nodes[index].previous].state, nodes[index].plan});
  }
  std::reverse(steps.begin(), steps.end());
  return steps;
}

const std::vector<CandidateId>& TypingSimulator::CharacterList(std::string_view query) {
  auto [it, inserted] = characterLists_.try_emplace(std::string(query));
  if (inserted) lexicon_->CharactersByStrokes(query, it->second);
  return it->second;
}

bool TypingSimulator::Perform(const Plan& plan) {
  for (char letter : plan.strokes) {
    Click(StrokeButtonRect(static_cast<int>(kStrokeCodes.find(letter))));
  }
  for (size_t i = 0; i < plan.pageTurns; ++i) ClickNextPage();
  for (const PanelItem& item : panel_->currentSubpanel().VisibleItems()) {
    if (item.kind == plan.kind && item.value == plan.value) {
      Rect rect = item.rect;  // the click rebuilds the list
      Click(rect);
      return true;
    }
  }
  return false;
}

void TypingSimulator::Click(const Rect& rect) {
  int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
  panel_->Apply(kContext, UserAction::Pointer(MouseEvent::Move, x, y));
  panel_->Apply(kContext, UserAction::Pointer(MouseEvent::LeftDown, x, y));
  panel_->Apply(kContext, UserAction::Pointer(MouseEvent::LeftUp, x, y));
}

void TypingSimulator::ClickNextPage() { Click(FindButton(panel_->buttonBar(), kCmdNextPage)); }

void TypingSimulator::ClickClear() {
  Click(FindButton(panel_->buttonBar(), kCmdClear));
  ++cost_.wastedClicks;
  ++cost_.clicks;
}

void TypingSimulator::Trace(const Plan& plan, std::string_view committed, std::string_view note) {
  if (!trace_) return;
  *trace_ << position_ << '\t' << kActionNames[static_cast<size_t>(plan.action)] << '\t'
          << GbkToUtf8(committed) << '\t' << plan.strokes << '\t' << plan.pageTurns << '\t'
          << plan.Clicks();
  if (!note.empty()) *trace_ << '\t' << note;
  *trace_ << '\n';
}

TypingCost& TypingCost::operator+=(const TypingCost& other) {
  hanzi += other.hanzi;
  clicks += other.clicks;
  for (size_t i = 0; i < kTypingActionCount; ++i) {
    byAction[i].uses += other.byAction[i].uses;
    byAction[i].hanzi += other.byAction[i].hanzi;
    byAction[i].clicks += other.byAction[i].clicks;
  }
  fallbacks += other.fallbacks;
  wastedClicks += other.wastedClicks;
  unreachable += other.unreachable;
  keys += other.keys;
  symbols += other.symbols;
  skipped += other.skipped;
  escapes += other.escapes;
  replans += other.replans;
  return *this;
}

std::vector<SourceCost> MeasureFolder(const ResourceSource& dictionaries, const std::string& folder,
                                      const TypingOptions& options, unsigned threads) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_regular_file() && entry.path().extension() == ".txt")
      files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<SourceCost> sources(files.size());
  std::atomic<size_t> next = 0;
  auto work = [&] {
    for (size_t i = next++; i < files.size(); i = next++) {
      SourceCost& source = sources[i];
      source.name = files[i].stem().string();
      std::ifstream file(files[i], std::ios::binary);
      std::ostringstream text;
      text << file.rdbuf();
      TypingSimulator simulator(dictionaries, options);
      if (!file) {
        source.error = "cannot read " + files[i].string();
      } else if (!simulator.Loaded()) {
        source.error = "no character dictionary";
      } else {
        simulator.Type(text.str(), source.error);
      }
      source.cost = simulator.cost();
    }
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < std::max(threads, 1u); ++t) pool.emplace_back(work);
  work();
  for (std::thread& thread : pool) thread.join();
  return sources;
}

void WriteFolderCost(const std::vector<SourceCost>& sources, std::ostream& out) {
  auto row = [&out](std::string_view name, const TypingCost& cost) {
    char text[200];
    std::snprintf(text, sizeof text, "%-40.*s %9ld %9ld %8.3f\n", static_cast<int>(name.size()),
                  name.data(), cost.hanzi, cost.clicks, cost.ClicksPerHanzi());
    out << text;
  };
  char header[200];
  std::snprintf(header, sizeof header, "%-40s %9s %9s %8s\n", "source", "hanzi", "clicks",
                "c/hanzi");
  out << header;
  TypingCost total;
  for (const SourceCost& source : sources) {
    row(source.name, source.cost);
    total += source.cost;
  }
  row("total", total);
  out << "\n";
  WriteTypingCost(total, out);
}

void WriteTypingCost(const TypingCost& cost, std::ostream& out) {
  auto ratio = [](long clicks, long hanzi) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f",
                  hanzi == 0 ? 0.0 : static_cast<double>(clicks) / static_cast<double>(hanzi));
    return std::string(text);
  };
  auto row = [&out](std::string_view name, long uses, long hanzi, long clicks,
                    const std::string& perHanzi) {
    char text[160];
    std::snprintf(text, sizeof text, "%-24.*s %9ld %9ld %9ld %12s\n", static_cast<int>(name.size()),
                  name.data(), uses, hanzi, clicks, perHanzi.c_str());
    out << text;
  };
  out << "hanzi: " << cost.hanzi << "\n";
  out << "clicks: " << cost.clicks << "\n";
  out << "clicks per hanzi: " << ratio(cost.clicks, cost.hanzi) << "\n";
  out << "\n";
  char header[160];
  std::snprintf(header, sizeof header, "%-24s %9s %9s %9s %12s\n", "action", "uses", "hanzi",
                "clicks", "clicks/hanzi");
  out << header;
  for (size_t i = 0; i < kTypingActionCount; ++i) {
    const ActionTally& tally = cost.byAction[i];
    row(kActionNames[i], tally.uses, tally.hanzi, tally.clicks, ratio(tally.clicks, tally.hanzi));
  }
  row("wasted (fallbacks)", cost.fallbacks, 0, cost.wastedClicks, "");
  out << "\n";
  out << "other characters: " << cost.keys << " keys, " << cost.symbols << " symbols, "
      << cost.skipped << " skipped (not GBK, control characters)\n";
  out << "hanzi no click reaches: " << cost.unreachable
      << " (committed as symbols, not counted above)\n";
  out << "plans the panel did not bear out: " << cost.fallbacks << " actions, " << cost.replans
      << " run plans redone\n";
  if (cost.escapes > 0) out << "runs that found input left on the panel: " << cost.escapes << "\n";
}

}  // namespace tvime
