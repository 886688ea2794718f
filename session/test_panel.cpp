#include "session/test_panel.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/user_words.h"
#include "session/command_id.h"
#include "session/geometry.h"
#include "session/layout_report.h"
#include "session/stroke_subpanel.h"
#include "tests/support/shipped_dictionaries.h"

namespace tvime::testing {

PanelTest::PanelTest() : settings(store) {}

PanelTest::~PanelTest() {
  panel.reset();
  lexicon.reset();
  if (!userDataDir.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(userDataDir, ignored);
  }
}

void PanelTest::UseUserWords(const std::vector<std::string>& words) {
  static int serial = 0;
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("tvime-panel-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
  std::filesystem::create_directories(dir);
  userDataDir = dir.string();
  WriteUserWordFile(words);
}

void PanelTest::WriteUserWordFile(const std::vector<std::string>& words) {
  std::vector<std::string> gbk;
  for (const std::string& word : words) gbk.push_back(Utf8ToGbk(word));
  std::ofstream out(std::filesystem::path(userDataDir) / kUserWordFileName, std::ios::binary);
  out << FormatWordFile(gbk);
}

CompositionPanel& PanelTest::Start() {
  panel.reset();  // a second start: the old panel lets go of the old lexicon first
  flags = std::make_unique<ConversionFlags>(settings);
  UserDataPathFn path = nullptr;
  if (!userDataDir.empty()) {
    path = [dir = userDataDir](std::string_view name) {
      return (std::filesystem::path(dir) / name).string();
    };
  }
  lexicon = std::make_unique<Lexicon>(path);
  panel = std::make_unique<CompositionPanel>(*lexicon, settings, *flags, host, measure);
  lexicon->Initialize(&ShippedDictionaries());
  panel->Refresh(kContext, false);
  return *panel;
}

void PanelTest::Click(int x, int y) {
  panel->Apply(kContext, UserAction::Pointer(MouseEvent::Move, x, y));
  panel->Apply(kContext, UserAction::Pointer(MouseEvent::LeftDown, x, y));
  panel->Apply(kContext, UserAction::Pointer(MouseEvent::LeftUp, x, y));
}

void PanelTest::ClickStroke(std::string_view name) {
  static const std::vector<std::string_view> kNames = {"横", "竖",   "撇", "点",   "折",
                                                       "提", "竖钩", "捺", "通配", "分隔"};
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == name) {
      ClickIn(StrokeButtonRect(static_cast<int>(i)));
      return;
    }
  }
  ADD_FAILURE() << "no stroke " << name;
}

void PanelTest::ClickStrokes(std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) ClickStroke(name);
}

void PanelTest::ClickStrokesOf(std::string_view utf8) {
  for (char code : lexicon->CodeOfChar(Utf8ToGbk(utf8))) {
    ClickIn(StrokeButtonRect(static_cast<int>(kStrokeCodes.find(code))));
  }
}

void PanelTest::ChooseZhong() {
  ClickStrokes({"竖", "折", "横", "竖"});
  EXPECT_TRUE(ClickText("中")) << "中 is not shown for its strokes";
}

bool PanelTest::ClickText(std::string_view utf8) {
  for (const DrawText& text : Drawn<DrawText>()) {
    // Candidates and buttons, not the composition line or the hint strip.
    bool inMiddle = text.rect.top >= kGridY && text.rect.bottom <= kHintStrip.top;
    if (inMiddle && GbkToUtf8(text.text) == utf8) {
      ClickIn(text.rect);
      return true;
    }
  }
  return false;
}

const ToolbarButton* PanelTest::Button(int command) const {
  for (const ToolbarButton& button : panel->buttonBar().buttons()) {
    if (button.command == command) return &button;
  }
  return nullptr;
}

bool PanelTest::ClickButton(int command) {
  const ToolbarButton* button = Button(command);
  if (button) ClickIn(button->rect);
  return button != nullptr;
}

void PanelTest::Type(std::string_view keys) {
  for (char key : keys) Press(static_cast<unsigned char>(key));
}

std::vector<std::string> PanelTest::ShownTexts() const {
  std::vector<std::string> texts;
  for (const DrawText& text : Drawn<DrawText>()) texts.push_back(GbkToUtf8(text.text));
  return texts;
}

bool PanelTest::Shows(std::string_view utf8) const {
  std::vector<std::string> texts = ShownTexts();
  return std::find(texts.begin(), texts.end(), utf8) != texts.end();
}

size_t PanelTest::ShownCount(ItemKind kind) const {
  const std::vector<PanelItem>& items = panel->currentSubpanel().VisibleItems();
  return static_cast<size_t>(std::count_if(
      items.begin(), items.end(), [kind](const PanelItem& item) { return item.kind == kind; }));
}

std::vector<PanelTest::ReportedItem> PanelTest::ReportedItems() const {
  std::vector<ReportedItem> items;
  std::istringstream lines(DescribeVisibleItems(*panel));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    ReportedItem item;
    Rect& r = item.rect;
    fields >> item.kind >> item.value >> r.left >> r.top >> r.right >> r.bottom;
    fields.ignore(1);
    std::getline(fields, item.label);
    items.push_back(item);
  }
  return items;
}

bool PanelTest::ClickReported(std::string_view utf8, int pages) {
  for (int page = 0; page < pages; ++page) {
    if (page > 0) ClickButton(kCmdNextPage);
    for (const ReportedItem& item : ReportedItems()) {
      if (item.label == utf8) {
        ClickIn(item.rect);
        return true;
      }
    }
  }
  return false;
}

}  // namespace tvime::testing
