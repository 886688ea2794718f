#include "session/test_panel.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "engine/user_words.h"
#include "session/command_id.h"
#include "session/geometry.h"
#include "session/layout_report.h"
#include "session/stroke_subpanel.h"
#include "tests/support/shipped_dictionaries.h"

namespace tvime::testing {

void PanelTest::UseUserWords(const std::vector<std::string>& words) {
  userData.emplace();
  WriteUserWordFile(words);
}

void PanelTest::WriteUserWordFile(const std::vector<std::string>& words) {
  std::vector<std::string> gbk;
  for (const std::string& word : words) gbk.push_back(Utf8ToGbk(word));
  std::ofstream out(userData->File(kUserWordFileName), std::ios::binary);
  out << FormatWordFile(gbk);
}

CompositionPanel& PanelTest::Start() {
  panel.reset();  // a second start: the old panel lets go of the old lexicon first
  flags = std::make_unique<ConversionFlags>(settings);
  UserDataPathFn path = nullptr;
  if (userData)
    path = [dir = userData->path()](std::string_view name) { return (dir / name).string(); };
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
  static constexpr std::string_view kNames[] = {"横", "竖",   "撇", "点",   "折",
                                                "提", "竖钩", "捺", "通配", "分隔"};
  const std::string_view* found = std::ranges::find(kNames, name);
  ASSERT_NE(found, std::end(kNames)) << "no stroke " << name;
  ClickIn(StrokeButtonRect(static_cast<int>(found - std::begin(kNames))));
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
  if (button) ClickIn(panel->scale().Of(button->rect));
  return button != nullptr;
}

void PanelTest::Type(std::string_view keys) {
  for (char key : keys) Press(static_cast<unsigned char>(key));
}

void PanelTest::ExpectWholeCommits() const {
  for (const std::string& commit : host.commits) {
    EXPECT_TRUE(IsWholeGbkText(commit)) << ::testing::PrintToString(commit);
  }
}

bool PanelTest::Shows(std::string_view utf8) const {
  return std::ranges::any_of(Drawn<DrawText>(),
                             [utf8](const DrawText& text) { return GbkToUtf8(text.text) == utf8; });
}

size_t PanelTest::ShownCount(ItemKind kind) const {
  return static_cast<size_t>(
      std::ranges::count(panel->currentSubpanel().VisibleItems(), kind, &PanelItem::kind));
}

PanelTest::Line PanelTest::DrawnLine() const {
  const int firstButton = panel->buttonBar().buttons().front().rect.left;
  Line line;
  for (const DrawOp& op : panel->Paint()) {
    if (const DrawBitmap* bitmap = std::get_if<DrawBitmap>(&op);
        bitmap && bitmap->artwork == Artwork::StrokeGlyphs && bitmap->at.y < kGridY) {
      line.strokes += kStrokeCodes[static_cast<size_t>(bitmap->source.left / 10)];
      if (bitmap->at.x + bitmap->source.width() > firstButton) line.underButtons += "a stroke ";
    } else if (const DrawText* text = std::get_if<DrawText>(&op);
               text && text->rect.bottom <= kGridY) {
      EXPECT_TRUE(IsWholeGbkText(text->text)) << ::testing::PrintToString(text->text);
      line.texts.push_back(GbkToUtf8(text->text));
      if (text->rect.right > firstButton) line.underButtons += line.texts.back() + " ";
    }
  }
  return line;
}

bool PanelTest::LineShows(std::string_view utf8) const {
  return std::ranges::any_of(DrawnLine().texts, [utf8](const std::string& text) {
    return text.find(utf8) != std::string::npos;
  });
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
