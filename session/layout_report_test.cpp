// The layout the programs write for the end-to-end tests: a click in the middle of a reported
// item must reach that item, and the file follows what the panel shows.

#include "session/layout_report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "base/file_io.h"
#include "session/button_bar.h"
#include "session/test_panel.h"
#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

struct ReportedItem {
  int kind, left, top, right, bottom;
  long long value;
  std::string label;
};

std::vector<ReportedItem> Parse(const std::string& layout) {
  std::vector<ReportedItem> items;
  std::istringstream lines(layout);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    ReportedItem item;
    fields >> item.kind >> item.value >> item.left >> item.top >> item.right >> item.bottom;
    fields.ignore(1);
    std::getline(fields, item.label);
    items.push_back(item);
  }
  return items;
}

class LayoutReportTest : public testing::PanelTest {
 protected:
  // Clicks the middle of the reported item labelled `utf8`, turning pages as the end-to-end
  // tests do until it is reported; false when three pages did not show it.
  bool ClickReported(const std::string& utf8) {
    for (int page = 0; page < 3; ++page) {
      if (page > 0) ClickButton(kCmdNextPage);
      for (const ReportedItem& item : Parse(DescribeVisibleItems(*panel))) {
        if (item.label == utf8) {
          Click((item.left + item.right) / 2, (item.top + item.bottom) / 2);
          return true;
        }
      }
    }
    return false;
  }
};

TEST_F(LayoutReportTest, ClicksAtReportedPlacesTypeZhongThenTheFollowOnPhraseRenmin) {
  Start();
  ClickStrokes({"竖", "折", "横", "竖"});
  ASSERT_TRUE(ClickReported("中"));
  ASSERT_TRUE(ClickReported("国"));
  ASSERT_TRUE(ClickReported("人民"));
  EXPECT_EQ(Received(), "中国人民");
}

TEST_F(LayoutReportTest, TheFileFollowsThePanel) {
  Start();
  testing::TempDir directory;
  std::string path = (directory.path() / "layout.txt").string();
  LayoutReport report(path);
  report.Update(*panel);
  auto idle = ReadWholeFile(path);
  ASSERT_TRUE(idle);
  ClickStrokes({"竖", "折", "横", "竖"});
  report.Update(*panel);
  auto strokes = ReadWholeFile(path);
  ASSERT_TRUE(strokes);
  std::string text(strokes->begin(), strokes->end());
  EXPECT_EQ(text, DescribeVisibleItems(*panel));
  EXPECT_NE(text, std::string(idle->begin(), idle->end()));
  EXPECT_NE(text.find(" 中\n"), std::string::npos);
}

}  // namespace
}  // namespace tvime
