#include "about/credits_crawl.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tvime {
namespace {

TEST(CreditsCrawl, StarsAreSeededWithinTheFieldFromTheRandomNumbers) {
  std::vector<int> numbers{0, 1024, 512, 7, 3000, 9999};
  size_t next = 0;
  auto random = [&] { return numbers[next++]; };
  auto xyz = [](const Star& star) { return std::tuple(star.x, star.y, star.z); };
  EXPECT_EQ(xyz(SeedStar(random)), std::tuple(-512, 512, 256));
  EXPECT_EQ(xyz(SeedStar(random)), std::tuple(7 - 512, 3000 % 1025 - 512, 9999 % 513 - 256));
}

TEST(CreditsCrawl, AStarReachingTheViewerComesBackAtTheFarEndSoTheFieldNeverEmpties) {
  Star star{10, 10, -240};
  MoveStar(star, kStarStep);
  EXPECT_EQ(star.z, 255);
  MoveStar(star, kStarStep);
  EXPECT_EQ(star.z, 225);
  Star seededNear{0, 0, 256};  // a seed may start beyond the far end
  MoveStar(seededNear, 0);
  EXPECT_EQ(seededNear.z, -255);
  // However long it flies, every star stays in the field.
  Star flying{1, 1, 0};
  for (int frame = 0; frame < 1000; ++frame) {
    MoveStar(flying, kStarStep);
    ASSERT_GE(flying.z, -255);
    ASSERT_LE(flying.z, 255);
  }
}

TEST(CreditsCrawl, StarsSpreadFromTheCentreAndBrightenAsTheyNear) {
  EXPECT_EQ(ProjectStar({0, 0, 0}, 400, 300).x, 200);
  EXPECT_EQ(ProjectStar({0, 0, 0}, 400, 300).y, 150);
  ScreenPoint far = ProjectStar({256, 256, 255}, 400, 300);
  ScreenPoint near = ProjectStar({256, 256, -200}, 400, 300);
  EXPECT_EQ(far.x, 256 * 100 / 511 + 200);
  EXPECT_GT(near.x, far.x);
  EXPECT_GT(near.y, far.y);
  ProjectStar({512, 512, -256}, 400, 300);  // no division by zero
  EXPECT_EQ(StarShade(255), 0);             // black at the far end
  EXPECT_EQ(StarShade(0), 255);             // white
  EXPECT_EQ(StarShade(-255), 254);
}

TEST(CreditsCrawl, TheScrollStepFollowsTheFirstFramesDurationWithinThreeToFive) {
  EXPECT_EQ(ScrollStepFor(0), 3);
  EXPECT_EQ(ScrollStepFor(20), 4);
  EXPECT_EQ(ScrollStepFor(25), 5);
  EXPECT_EQ(ScrollStepFor(1000), 5);
}

TEST(CreditsCrawl, LinesDarkenTowardsTheTopAndTheCrawlRestartsAfterTheLastLineLeaves) {
  CrawlFrame frame = PlaceCrawlLines(100, 30, 8);
  ASSERT_EQ(frame.lines.size(), 8u);
  EXPECT_EQ(frame.lines[0].y, 100);
  EXPECT_EQ(frame.lines[0].red, 100);
  EXPECT_EQ(frame.lines[0].blue, 0);  // yellow fading to black
  EXPECT_EQ(frame.lines[7].y, 310);
  EXPECT_EQ(frame.lines[7].blue, 255);  // white below 256
  EXPECT_FALSE(frame.restart);

  frame = PlaceCrawlLines(-100, 30, 8);  // lines 0..3 above the top edge
  ASSERT_EQ(frame.lines.size(), 4u);
  EXPECT_EQ(frame.lines[0].index, 4u);
  EXPECT_FALSE(frame.restart);
  frame = PlaceCrawlLines(-210, 30, 8);  // the last line exactly at the top
  EXPECT_TRUE(frame.lines.empty());
  EXPECT_TRUE(frame.restart);
  EXPECT_FALSE(PlaceCrawlLines(-209, 30, 8).restart);
  EXPECT_FALSE(PlaceCrawlLines(0, 30, 0).restart);  // no text: only stars
}

TEST(CreditsCrawl, RowsWidenFromNothingAtTheTopToTheFullWidthAtTheBottom) {
  EXPECT_EQ(PerspectiveRow(0, 400, 200).width, 0);
  EXPECT_EQ(PerspectiveRow(0, 400, 200).left, 200);
  EXPECT_EQ(PerspectiveRow(100, 400, 200).width, 200);
  EXPECT_EQ(PerspectiveRow(100, 400, 200).left, 100);
  EXPECT_EQ(PerspectiveRow(199, 400, 200).width, 398);
}

TEST(CreditsCrawl, CreditLinesKeepEmptyLinesDropLineEndsAndCutLongLines) {
  EXPECT_EQ(CreditLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(CreditLines("a\n"), (std::vector<std::string>{"a"}));
  EXPECT_TRUE(CreditLines("").empty());
  std::vector<std::string> cut = CreditLines(std::string(1100, 'x') + "\ny");
  ASSERT_EQ(cut.size(), 3u);
  EXPECT_EQ(cut[0].size(), 1023u);
  EXPECT_EQ(cut[1].size(), 77u);
  EXPECT_EQ(cut[2], "y");
}

}  // namespace
}  // namespace tvime
