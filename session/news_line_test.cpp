#include "session/news_line.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

constexpr Rect kLine{3, 131, 264, 153};
constexpr Point kOutside{100, 50};
const FixedTextMeasure kMeasure;  // 9 pixels a byte

std::vector<NewsEntry> ThreeEntries() {
  return {{"http://a/1?x", "first"}, {"http://a/2?x", "second"}, {"http://a/3?x", "third"}};
}

std::string Shown(const NewsLine& line) {
  DrawList list = line.Paint();
  if (list.empty()) return "";
  return std::get<DrawText>(list.at(0)).text;
}

// A line created at time 0 showing three entries.
class NewsLineTest : public ::testing::Test {
 protected:
  void SetUp() override { line.SetEntries(ThreeEntries()); }
  NewsLine line{kLine, 0};
};

TEST(NewsLine, MovesOnEveryFifteenSecondsFromItsCreationAndWrapsAround) {
  NewsLine line(kLine, 1000);
  line.SetEntries(ThreeEntries());
  EXPECT_EQ(Shown(line), "first");
  EXPECT_FALSE(line.Tick(1014, kOutside));
  EXPECT_TRUE(line.Tick(1015, kOutside));
  EXPECT_EQ(Shown(line), "second");
  EXPECT_FALSE(line.Tick(1029, kOutside));  // 15 seconds from the last move, not from the start
  EXPECT_TRUE(line.Tick(1030, kOutside));
  EXPECT_TRUE(line.Tick(1045, kOutside));
  EXPECT_EQ(Shown(line), "first");
}

TEST_F(NewsLineTest, NeverMovesWhileTheMouseRestsOnIt) {
  for (int now = 15; now < 600; now += 15) EXPECT_FALSE(line.Tick(now, {10, 140})) << now;
  EXPECT_EQ(Shown(line), "first");
  EXPECT_TRUE(line.Tick(600, kOutside));  // and goes on once it leaves
}

TEST(NewsLine, ShowsNothingUntilTheFirstEntriesArriveAndTellsOfEachArrival) {
  NewsLine line(kLine, 0);
  EXPECT_EQ(Shown(line), "");
  EXPECT_FALSE(line.Tick(15, kOutside));  // no entries: nothing moves
  EXPECT_FALSE(line.TakeChanged());
  line.SetEntries(ThreeEntries());
  EXPECT_TRUE(line.TakeChanged());
  EXPECT_FALSE(line.TakeChanged());
}

TEST_F(NewsLineTest, UnderTheMouseTheLineIsBlueAndUnderlined) {
  EXPECT_EQ(std::get<DrawText>(line.Paint().at(0)).font, Font::News);
  EXPECT_TRUE(line.Hover({10, 140}));
  EXPECT_FALSE(line.Hover({20, 140}));  // still inside: no repaint
  DrawList hovered = line.Paint();
  EXPECT_EQ(std::get<DrawText>(hovered.at(0)).font, Font::NewsHovered);
  EXPECT_EQ(std::get<DrawText>(hovered.at(0)).color, kBlue);
  EXPECT_TRUE(line.Hover(kOutside));
}

TEST_F(NewsLineTest, OnlyAClickOnTheTextOpensTheEntryAndOnlyItShowsATooltip) {
  // "first" is 45 pixels wide from the line's left edge.
  EXPECT_EQ(line.EntryAt({3, 131}, kMeasure)->url, "http://a/1?x");
  EXPECT_EQ(line.EntryAt({48, 153}, kMeasure)->text, "first");
  EXPECT_FALSE(line.EntryAt({49, 140}, kMeasure));  // right of the text, inside the line
  EXPECT_FALSE(line.EntryAt({10, 130}, kMeasure));  // above the line
  EXPECT_EQ(line.TooltipAt({10, 140}, kMeasure), "first");
  EXPECT_EQ(line.TooltipAt({200, 140}, kMeasure), "");
  NewsLine empty(kLine, 0);
  EXPECT_FALSE(empty.EntryAt({10, 140}, kMeasure));
}

TEST_F(NewsLineTest, AReloadKeepsTheEntryShownWhileTheNewListReachesIt) {
  line.Tick(15, kOutside);
  line.SetEntries(ThreeEntries());
  EXPECT_EQ(Shown(line), "second");
  line.Tick(30, kOutside);
  line.SetEntries({{"u", "one"}, {"v", "two"}});  // shorter than where the line was
  EXPECT_EQ(Shown(line), "one");
  EXPECT_EQ(line.EntryAt({5, 140}, kMeasure)->url, "u");
}

}  // namespace
}  // namespace tvime
