#pragma once
// Test helper: a composition panel over the shipped dictionaries with a host that records what
// the application would receive, and clicks and keys a user would make.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "session/composition_panel.h"
#include "tests/support/temp_dir.h"

namespace tvime::testing {

class RecordingHost : public Host {
 public:
  void Commit(ContextHandle, std::string_view text) override {
    received += GbkToUtf8(text);
    commits.emplace_back(text);
  }
  void ReturnKey(ContextHandle, unsigned virtualKey) override {
    received += virtualKey == kKeyEnter       ? "<Enter>"
                : virtualKey == kKeyBackspace ? "<Back>"
                                              : "<Key>";
  }
  void PanelChanged(ContextHandle) override { ++panelChanges; }
  void Invalidate(bool) override { ++invalidations; }
  void InvalidateHintStrip() override { ++hintInvalidations; }
  void Beep() override { ++beeps; }
  void LookUpWord(std::string_view text) override { lookups.emplace_back(text); }
  void FollowCaret(ContextHandle) override { ++caretFollows; }
  void RunHostCommand(ContextHandle, int id) override { hostCommands.push_back(id); }

  // What the application received, in UTF-8: committed text, and <Enter> or <Back> for keys
  // handed back.
  std::string received;
  std::vector<std::string> commits;  // each commit's GBK bytes as the application got them
  int panelChanges = 0;
  int invalidations = 0;
  int hintInvalidations = 0;
  int beeps = 0;
  int caretFollows = 0;
  std::vector<std::string> lookups;
  std::vector<int> hostCommands;
};

class PanelTest : public ::testing::Test {
 public:
  // Every test begins with a panel on the default settings.
  void SetUp() override { Start(); }
  // Builds the panel again, after the test has set up settings or user words (the panel reads
  // them when created).
  CompositionPanel& Start();
  // Starts again on the pinyin panel, with typed letters spelling.
  void StartInPinyin() {
    settings.Write(setting::PinYinMode, 1);
    settings.Write(setting::InputBihuaByKey, 1);
    Start();
  }
  // Gives the lexicon a user data directory of its own, holding `words` (UTF-8) as the user word
  // file, for the panel Start() builds next.
  void UseUserWords(const std::vector<std::string>& words);
  // Rewrites the user word file with `words`, as another process or the dictionary manager does.
  void WriteUserWordFile(const std::vector<std::string>& words);

  void Click(int x, int y);
  static Point Middle(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  void ClickIn(const Rect& r) { Click(Middle(r).x, Middle(r).y); }
  void ClickLine() { Click(30, 15); }       // the composition line
  void ClickStroke(std::string_view name);  // 横 竖 撇 点 折 提 竖钩 捺 通配 分隔
  void ClickStrokes(std::initializer_list<std::string_view> names);
  // Clicks the stroke buttons of a character's stroke code (UTF-8).
  void ClickStrokesOf(std::string_view utf8);
  // 竖 折 横 竖, then 中: the most common story's first word.
  void ChooseZhong();
  // Clicks the item showing `utf8` (a character, a phrase label, a letter); false when none does.
  bool ClickText(std::string_view utf8);
  bool ClickButton(int command);  // where the panel draws it, at its scale
  void Type(std::string_view keys);
  void Press(int ch) {
    panel->Apply(kContext, UserAction::TypedKey(static_cast<std::uint16_t>(ch)));
  }
  void Run(int command) { panel->Apply(kContext, UserAction::Run(command)); }
  void Do(ActionKind kind) { panel->Apply(kContext, UserAction::Just(kind)); }
  void Pointer(MouseEvent event, int x, int y) {
    panel->Apply(kContext, UserAction::Pointer(event, x, y));
  }
  // The bar's button for `command`; null when the bar has none.
  const ToolbarButton* Button(int command) const;
  // Whether a text drawn on the panel now is `utf8`.
  bool Shows(std::string_view utf8) const;
  // How many items of `kind` the current sub-panel shows.
  size_t ShownCount(ItemKind kind) const;
  // The drawing operations of one kind the panel paints now, e.g. Drawn<DrawHighlight>() for the
  // hovered item's highlight, pressed or not.
  template <typename Op>
  std::vector<Op> Drawn() const {
    std::vector<Op> found;
    for (const DrawOp& op : panel->Paint()) {
      if (const Op* drawn = std::get_if<Op>(&op)) found.push_back(*drawn);
    }
    return found;
  }
  // The visible items as the layout report lists them for the end-to-end tests.
  struct ReportedItem {
    int kind;
    long long value;
    Rect rect;
    std::string label;  // UTF-8
  };
  std::vector<ReportedItem> ReportedItems() const;
  // What the composition line draws: the strokes (as codes) and the texts.
  struct Line {
    std::string strokes;
    std::vector<std::string> texts;  // UTF-8, each checked to be whole GBK
    std::string underButtons;        // what reaches under the bar's buttons, if anything
  };
  Line DrawnLine() const;
  bool LineShows(std::string_view utf8) const;
  // Clicks the middle of the reported item labelled `utf8`, turning up to `pages` - 1 pages as
  // the end-to-end tests do until it is reported; false when none showed it.
  bool ClickReported(std::string_view utf8, int pages = 1);
  std::string Received() const { return host.received; }
  std::string Pending() const { return GbkToUtf8(panel->state().pendingPhrase); }
  // Every commit so far is whole GBK text: no control byte, no half character.
  void ExpectWholeCommits() const;

  static constexpr ContextHandle kContext = 0x1234;
  // Declared in the order that lets each go after what uses it.
  MemorySettingsStore store;
  Settings settings{store};
  std::unique_ptr<ConversionFlags> flags;
  std::optional<TempDir> userData;  // none: no user files
  std::unique_ptr<Lexicon> lexicon;
  RecordingHost host;
  FixedTextMeasure measure;
  std::unique_ptr<CompositionPanel> panel;
};

}  // namespace tvime::testing
