#include "online/news_feed.h"

#include <gtest/gtest.h>

#include "tests/support/gbk_literals.h"

namespace tvime {
namespace {

using testing::G;

constexpr char kBuiltIn[] =
    "-1\tone\tnetads/ad.php?id=-1&url=a\n-2\ttwo\tnetads/ad.php?id=-2&url=b\n";

TEST(ParseNewsFeed, ReadsIdTextAndTargetSkippingEmptyFieldsAndIgnoringTheRest) {
  std::string feed = "7\t" + G("新闻") +
                     "\thttp://s/ad.php?id=7\n"
                     "8\t\t\ttwo tabs\t\thttp://s/8?x\textra\tfields\n";
  std::vector<NewsEntry> entries = ParseNewsFeed(feed);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (NewsEntry{"http://s/ad.php?id=7", G("新闻")}));
  EXPECT_EQ(entries[1], (NewsEntry{"http://s/8?x", "two tabs"}));
  // Lines without three fields are no entries.
  EXPECT_TRUE(ParseNewsFeed("1\ttext\t\n2\ttext\n3\n\n\t\t\t\n").empty());
}

TEST(ParseNewsFeed, CrLfLineEndsAndAMissingLastLineEndGiveTheSameEntries) {
  std::vector<NewsEntry> lf = ParseNewsFeed("1\ta\tu1\n2\tb\tu2\n");
  EXPECT_EQ(ParseNewsFeed("1\ta\tu1\r\n2\tb\tu2\r\n"), lf);
  EXPECT_EQ(ParseNewsFeed("1\ta\tu1\n2\tb\tu2"), lf);
  EXPECT_EQ(lf.size(), 2u);
}

TEST(ParseNewsFeed, ALineLongerThanTheReadersBufferGoesOnAsTheNextLine) {
  // 1023 bytes are read; the rest, three fields of its own, is read as a line.
  std::string first = "1\t" + std::string(1100, 'x') + "\tu1";
  std::vector<NewsEntry> entries = ParseNewsFeed(first + "\n");
  EXPECT_TRUE(entries.empty());  // the first 1023 bytes hold two fields only
  std::string split = "1\tshort\t" + std::string(1023 - 8, 'u') + "2\tnext\tu2\n";
  entries = ParseNewsFeed(split);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].url.size(), 1023u - 8);
  EXPECT_EQ(entries[1], (NewsEntry{"u2", "next"}));
}

TEST(NewsEntriesWithFallback, FewerThanTwoEntriesBringInTheBuiltInFeedInTheirPlace) {
  std::vector<NewsEntry> one = ParseNewsFeed("5\tmine\thttp://s/5?x\n");
  std::vector<NewsEntry> shown = NewsEntriesWithFallback(one, kBuiltIn);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "one");
  EXPECT_EQ(NewsEntriesWithFallback({}, kBuiltIn).size(), 2u);
  std::vector<NewsEntry> two = ParseNewsFeed("5\ta\tu\n6\tb\tv\n");
  EXPECT_EQ(NewsEntriesWithFallback(two, kBuiltIn), two);
}

TEST(NewsClickUrl, AppendsTheUserAndResolvesBuiltInTargetsAgainstTheAdServer) {
  std::string user = "{0A1B-C2}";
  EXPECT_EQ(NewsClickUrl({"http://s/ad.php?id=7", "t"}, "http://ads/", user),
            "http://s/ad.php?id=7&userid={0A1B-C2}");
  EXPECT_EQ(NewsClickUrl({"netads/ad.php?id=-1&url=a", "t"}, "http://ads/", user),
            "http://ads/netads/ad.php?id=-1&url=a&userid={0A1B-C2}");
  EXPECT_EQ(NewsFeedUrl("http://ads/", user), "http://ads/netads/netads.php?userid={0A1B-C2}");
}

}  // namespace
}  // namespace tvime
