// Random clicks, keys and commands in every mode: the session must never crash, and what it shows
// and holds must stay within bounds.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>

#include "session/command_id.h"
#include "session/pinyin_subpanel.h"
#include "session/stroke_subpanel.h"
#include "session/test_panel.h"

namespace tvime {
namespace {

bool InsideClient(const Rect& r) {
  return r.left >= 0 && r.top >= 0 && r.right <= kPanelWidth && r.bottom <= kPanelHeight &&
         r.left <= r.right && r.top <= r.bottom;
}

bool KnownMode(PanelMode mode) {
  switch (mode) {
    case ModeOther:
    case ModeIdle:
    case ModeStrokes:
    case ModeRadical:
    case ModeRadicalStrokes:
    case ModeAssociation:
    case ModeLetters:
    case ModePunct:
    case ModePinyin:
      return true;
  }
  return false;
}

class SessionStressTest : public testing::PanelTest {
 public:
  void CheckInvariants(std::uint64_t step) {
    ASSERT_TRUE(KnownMode(panel->state().mode)) << "step " << step;
    ASSERT_LE(panel->lists().mainList.size(), kMaxMainCandidates) << "step " << step;
    ASSERT_LE(panel->lists().secondaryList.size(), kMaxSecondaryCandidates) << "step " << step;
    ASSERT_LE(panel->lists().assocList.size(), kMaxAssociationCandidates) << "step " << step;
    ASSERT_LE(panel->lists().contextHistory.size(), kMaxContextHistory) << "step " << step;
    for (const PanelItem& item : panel->currentSubpanel().VisibleItems()) {
      ASSERT_TRUE(InsideClient(item.rect)) << "step " << step << " item kind " << item.kind;
    }
    if (step % 16 != 0) return;  // painting is the slow part; every 16th state is drawn
    for (const DrawOp& op : panel->Paint()) {
      if (const DrawText* text = std::get_if<DrawText>(&op)) {
        ASSERT_TRUE(InsideClient(text->rect)) << "step " << step;
      } else if (const DrawBitmap* bitmap = std::get_if<DrawBitmap>(&op)) {
        ASSERT_TRUE(bitmap->at.x >= 0 && bitmap->at.y >= 0 && bitmap->at.x < kPanelWidth &&
                    bitmap->at.y < kPanelHeight)
            << "step " << step;
      }
    }
  }
};

// Everything a user could see or the application could get, as one comparable text.
std::string Fingerprint(const CompositionPanel& panel, const ConversionFlags& flags,
                        const testing::RecordingHost& host) {
  const SessionState& s = panel.state();
  std::ostringstream out;
  out << s.inputCodes << '|' << s.displayText << '|' << s.assocPreview << '|' << s.pendingPhrase
      << '|' << s.mode << '|' << s.radicalIndex << '|' << s.pinyinMode << s.searchMode
      << s.keyStrokes << s.singleQuoteOpen << s.doubleQuoteOpen << '|' << flags.word() << '|'
      << panel.pinyinPanel().Spelling() << '|' << panel.buttonBar().IconOf(kCmdPinyinSwitch) << '|';
  for (const PanelItem& item : panel.currentSubpanel().VisibleItems()) {
    out << item.kind << ':' << item.value << '@' << item.rect.left << ',' << item.rect.top << ' '
        << item.label << ';';
  }
  out << '|' << host.received << '|' << host.panelChanges << '|' << host.beeps << '|'
      << host.lookups.size() << '|' << host.hostCommands.size();
  return out.str();
}

// A stress run: random clicks, keys and commands, checked after every event.
class RandomUse {
 public:
  RandomUse(SessionStressTest& test, std::uint32_t seed) : test_(test), random_(seed) {}

  void Run(std::uint64_t steps) {
    CompositionPanel& panel = *test_.panel;
    for (std::uint64_t step = 0; step < steps; ++step) {
      std::string before = Fingerprint(panel, *test_.flags, test_.host);
      bool mayBeIgnored = Event();
      test_.CheckInvariants(step);
      if (::testing::Test::HasFatalFailure()) return;
      // No click on something shown and no key is lost: it changes the session, reaches the
      // host, or is one of the events that do nothing by design.
      if (!mayBeIgnored && Fingerprint(panel, *test_.flags, test_.host) == before) {
        ADD_FAILURE() << "step " << step << ": " << last_ << " did nothing";
        return;
      }
    }
  }

 private:
  // Runs one random event; true when it may leave everything as it was.
  bool Event() {
    CompositionPanel& panel = *test_.panel;
    switch (random_() % 10) {
      case 0:
      case 1: {  // a click anywhere: may hit nothing
        int x = static_cast<int>(random_() % (kPanelWidth + 20)) - 10;
        int y = static_cast<int>(random_() % (kPanelHeight + 20)) - 10;
        last_ = "a click at " + std::to_string(x) + "," + std::to_string(y);
        panel.Apply(testing::PanelTest::kContext, UserAction::Pointer(MouseEvent::LeftDown, x, y));
        panel.Apply(testing::PanelTest::kContext, UserAction::Pointer(MouseEvent::LeftUp, x, y));
        return true;
      }
      case 2:
      case 3:
      case 4: {  // an item of what is shown now
        const auto& items = panel.currentSubpanel().VisibleItems();
        if (items.empty()) return true;
        const PanelItem item = items[random_() % items.size()];
        last_ = "a click on item kind " + std::to_string(item.kind) + " value " +
                std::to_string(item.value);
        bool mayBeIgnored = ItemClickMayDoNothing(item);
        test_.Click((item.rect.left + item.rect.right) / 2, (item.rect.top + item.rect.bottom) / 2);
        return mayBeIgnored;
      }
      case 5:
        last_ = "a mouse event";
        panel.Apply(testing::PanelTest::kContext,
                    UserAction::Pointer(kEvents[random_() % std::size(kEvents)],
                                        static_cast<int>(random_() % kPanelWidth),
                                        static_cast<int>(random_() % kPanelHeight)));
        return true;
      case 6:
      case 7: {  // a typed key: letters, digits, punctuation, control keys
        static const char kKeys[] = "asdfgthnzxcvbzhongguojiong0123456789+-.,'\"?<>_^ \b\r\x1b";
        char key = kKeys[random_() % (sizeof kKeys - 1)];
        last_ = "the key " + std::to_string(static_cast<int>(key));
        bool mayBeIgnored = KeyMayDoNothing(key);
        test_.Press(static_cast<unsigned char>(key));
        return mayBeIgnored;
      }
      case 8: {
        int command = kCommands[random_() % std::size(kCommands)];
        last_ = "command " + std::to_string(command);
        bool mayBeIgnored = CommandMayDoNothing(command);
        panel.Apply(testing::PanelTest::kContext, UserAction::Run(command));
        return mayBeIgnored;
      }
      default:
        last_ = "the cursor leaving";
        if (random_() % 50 == 0)
          panel.Apply(testing::PanelTest::kContext, UserAction::Just(ActionKind::CursorLeft));
        if (random_() % 200 == 0) test_.host.received.clear();
        return true;
    }
  }

  bool Empty() const {
    const SessionState& s = test_.panel->state();
    return s.inputCodes.empty() && s.pendingPhrase.empty() &&
           test_.panel->pinyinPanel().input.tokens.empty();
  }

  bool ItemClickMayDoNothing(const PanelItem& item) const {
    const std::string& input = test_.panel->state().inputCodes;
    switch (item.kind) {
      case ItemStroke:  // a separator first or twice is refused
        return item.value == 9 && (input.empty() || input.back() == kPhraseSeparator);
      case ItemZiButton:  // nothing spelled and nothing listed
        return true;
      case ItemInitial: {  // the separator first or twice
        const auto& tokens = test_.panel->pinyinPanel().input.tokens;
        return item.value == kSeparatorInitial &&
               (tokens.empty() || tokens.back() == InitialToken(kSeparatorInitial));
      }
      default:
        return false;
    }
  }

  bool KeyMayDoNothing(char key) const {
    const SessionState& s = test_.panel->state();
    bool spelling = s.mode == ModePinyin && s.pinyinMode && s.keyStrokes &&
                    !test_.panel->pinyinPanel().input.tokens.empty();
    if (key == '\x1b') return Empty();  // nothing to clear
    // Paging keys of the pinyin panel at the end of its lists.
    if (spelling && (key == '+' || key == '.' || key == ',' || key == '-')) return true;
    return false;
  }

  bool CommandMayDoNothing(int command) const {
    switch (command) {
      case kCmdPrevPage:
      case kCmdNextPage:  // at the end of the lists
      case kCmdCommonCharset:
      case kCmdBigCharset:  // when the set is already the one asked for
        return true;
      case kCmdClear:
        return Empty();
      default:
        return false;
    }
  }

  static constexpr MouseEvent kEvents[] = {MouseEvent::Move, MouseEvent::LeftDown,
                                           MouseEvent::LeftUp, MouseEvent::RightDown,
                                           MouseEvent::RightUp};
  static constexpr int kCommands[] = {kCmdPrevPage,
                                      kCmdNextPage,
                                      kCmdBack,
                                      kCmdClear,
                                      kCmdReturn,
                                      kCmdFullShape,
                                      kCmdChinesePunctuation,
                                      kCmdSearchMode,
                                      kCmdCommonCharset,
                                      kCmdBigCharset,
                                      kCmdPunctuation,
                                      kCmdLetters,
                                      kCmdStrokeKeys,
                                      kCmdPinyinSwitch};

  SessionStressTest& test_;
  std::mt19937 random_;
  std::string last_;
};

// TVIME_STRESS_STEPS makes longer runs for hunting; the seed is printed with any failure.
std::uint64_t StressSteps(std::uint64_t normal) {
  const char* setting = std::getenv("TVIME_STRESS_STEPS");
  return setting ? std::strtoull(setting, nullptr, 10) : normal;
}

TEST_F(SessionStressTest, RandomUseFromTheStrokePanelLosesNothingAndBreaksNothing) {
  settings.Write(setting::InputBihuaByKey, 1);
  Start();
  const std::uint32_t seed = 20261208;
  RandomUse(*this, seed).Run(StressSteps(60000));
  if (HasFailure()) ADD_FAILURE() << "seed " << seed;
}

TEST_F(SessionStressTest, RandomUseFromThePinyinPanelWithFullShapeLosesNothingAndBreaksNothing) {
  settings.Write(setting::InputBihuaByKey, 1);
  settings.Write(setting::PinYinMode, 1);
  settings.Write(setting::ConversionSet, CS_FULL_SHAPE | CS_BIG_CHARSET);
  settings.Write(setting::SearchMode, 1);
  Start();
  const std::uint32_t seed = 20261209;
  RandomUse(*this, seed).Run(StressSteps(60000));
  if (HasFailure()) ADD_FAILURE() << "seed " << seed;
}

}  // namespace
}  // namespace tvime
