// The layout the programs write for the end-to-end tests: a click in the middle of a reported
// item must reach that item, and the file follows what the panel shows.

#include "session/layout_report.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "session/test_panel.h"
#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

using LayoutReportTest = testing::PanelTest;

TEST_F(LayoutReportTest, ClicksAtReportedPlacesTypeZhongThenTheFollowOnPhraseRenmin) {
  Start();
  ClickStrokes({"竖", "折", "横", "竖"});
  // Turning pages as the end-to-end tests do until the item is reported.
  for (const char* label : {"中", "国", "人民"}) ASSERT_TRUE(ClickReported(label, 3)) << label;
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
