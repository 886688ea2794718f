#include "engine/stroke_code.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

TEST(StrokePrefixMatch, EmptyQueryMatchesEveryCode) {
  EXPECT_TRUE(StrokePrefixMatch("", ""));
  EXPECT_TRUE(StrokePrefixMatch("sgas", ""));
}

TEST(StrokePrefixMatch, QueryIsAPrefixOfTheCode) {
  EXPECT_TRUE(StrokePrefixMatch("sgas", "sg"));
  EXPECT_TRUE(StrokePrefixMatch("sgas", "sgas"));
  EXPECT_FALSE(StrokePrefixMatch("sgas", "sgasa"));
  EXPECT_FALSE(StrokePrefixMatch("sgas", "sga?a"));
  EXPECT_FALSE(StrokePrefixMatch("sgas", "g"));
  // The first failing position ends the comparison even if later letters would match.
  EXPECT_FALSE(StrokePrefixMatch("sgas", "agas"));
}

TEST(StrokePrefixMatch, TMatchesAStoredAButNotTheOtherWayRound) {
  EXPECT_TRUE(StrokePrefixMatch("asd", "t"));
  EXPECT_TRUE(StrokePrefixMatch("tsd", "t"));
  EXPECT_TRUE(StrokePrefixMatch("aasa", "tt"));
  EXPECT_FALSE(StrokePrefixMatch("tsd", "a"));
  EXPECT_FALSE(StrokePrefixMatch("sd", "t"));
}

TEST(StrokePrefixMatch, AnyStrokeAlsoMatchesTheEndOfTheCode) {
  EXPECT_TRUE(StrokePrefixMatch("a", "a?"));
  EXPECT_TRUE(StrokePrefixMatch("as", "a?"));
  EXPECT_TRUE(StrokePrefixMatch("a", "a??"));
  EXPECT_TRUE(StrokePrefixMatch("", "?"));
  EXPECT_FALSE(StrokePrefixMatch("a", "a?s"));
  EXPECT_TRUE(StrokePrefixMatch("ads", "a?s"));
  EXPECT_TRUE(StrokePrefixMatch("sgas", "?g?s"));
}

TEST(IsStrictExtension, TrueOnlyForLongerTextsThatBeginWithTheKey) {
  EXPECT_TRUE(IsStrictExtension("\xD6\xD0\xB9\xFA", "\xD6\xD0"));  // 中国 extends 中
  EXPECT_FALSE(IsStrictExtension("\xD6\xD0", "\xD6\xD0"));
  EXPECT_FALSE(IsStrictExtension("\xB9\xFA\xD6\xD0", "\xD6\xD0"));
  EXPECT_FALSE(IsStrictExtension("a", "ab"));
  // No wildcard or "t" rule applies.
  EXPECT_FALSE(IsStrictExtension("asd", "t"));
  EXPECT_FALSE(IsStrictExtension("asd", "?"));
}

TEST(FoldStrokes, TurnsTheExtraStrokesIntoTheFiveBasicOnes) {
  EXPECT_EQ(FoldStrokes("tahsn?'gd"), "aassf?'gd");
  EXPECT_EQ(FoldStrokes(""), "");
}

TEST(SplitAtSeparators, GivesOnePartPerCharacterEmptyOnesIncluded) {
  using Parts = std::vector<std::string_view>;
  EXPECT_EQ(SplitAtSeparators(""), Parts{""});
  EXPECT_EQ(SplitAtSeparators("sgas"), Parts{"sgas"});
  EXPECT_EQ(SplitAtSeparators("sgas'sga"), (Parts{"sgas", "sga"}));
  EXPECT_EQ(SplitAtSeparators("a'"), (Parts{"a", ""}));  // a phrase of at least two characters
}

TEST(CharKey, ReadsTheTwoBytesLittleEndian) {
  EXPECT_EQ(CharKey("\xD6\xD0"), 0xD0D6);
  EXPECT_EQ(CharKey("\xD6\xD0\xB9\xFA"), 0xD0D6);
  EXPECT_EQ(CharKey("a"), 0x0061);
  EXPECT_EQ(CharKey(""), 0);
}

}  // namespace
}  // namespace tvime
