// The layout the programs write for the end-to-end tests follows what the panel shows (the
// clicks at reported places: layout_scale_test.cpp).

#include "session/layout_report.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "session/test_panel.h"
#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

using LayoutReportTest = testing::PanelTest;

TEST_F(LayoutReportTest, TheFileFollowsThePanel) {
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
