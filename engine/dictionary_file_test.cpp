#include "engine/dictionary_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/radical_group_dictionary.h"
#include "engine/test_lexicon.h"

namespace tvime {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::Sealed;

TEST(DictionaryFile, MissingResourceLeavesTheDictionaryEmpty) {
  MemoryResources resources;
  DictionaryFile dictionary;
  EXPECT_FALSE(dictionary.LoadFromResource(&resources, "pianpang.bin", SCRAMBLE_BLOCK));
  EXPECT_FALSE(dictionary.IsLoaded());
  EXPECT_FALSE(dictionary.LoadFromResource(nullptr, "pianpang.bin", SCRAMBLE_BLOCK));
}

TEST(DictionaryFile, ParsesAPairListFoundByLowerCaseName) {
  MemoryResources resources;
  resources.Add(
      "PIANPANG.BIN",
      Sealed(Container(BuildPairList({{"0", ""}, {"85", "ffa"}, {"9", "ds"}})), SCRAMBLE_BLOCK));
  DictionaryFile dictionary;
  ASSERT_TRUE(dictionary.LoadFromResource(&resources, "pianpang.bin", SCRAMBLE_BLOCK));
  ASSERT_EQ(dictionary.count, 3u);
  EXPECT_STREQ(dictionary.PairAt(1).first, "85");
  EXPECT_STREQ(dictionary.PairAt(1).second, "ffa");
  EXPECT_STREQ(dictionary.PairAt(2).second, "ds");
}

TEST(DictionaryFile, DamagedPairListsKeepTheIntactPairs) {
  const Bytes good = Container(BuildPairList({{"1", "a"}, {"22", "ss"}, {"3", "d"}}));
  struct Case {
    const char* what;
    std::function<void(Bytes&)> change;
    bool loaded;
    size_t count;
  };
  const Case cases[] = {
      {"a total length of about 2 GB, cut to the resource", [](Bytes& b) { b[3] = 0x7F; }, true, 3},
      {"a total length without the last text",
       [](Bytes& b) { b[0] = static_cast<std::uint8_t>(b.size() - 2); }, false, 2},
      {"the last text without its NUL", [](Bytes& b) { b.back() = 'x'; }, false, 2},
      {"the second pair's first text of 0 bytes", [](Bytes& b) { b[8 + 2] = 0; }, false, 1},
      {"a count whose lengths run past the data", [](Bytes& b) { b[4] = b[5] = 0xFF; }, false, 0},
      {"cut to 6 bytes", [](Bytes& b) { b.resize(6); }, false, 0},
      {"cut to 4 bytes", [](Bytes& b) { b.resize(4); }, false, 0},
      {"cut to 2 bytes", [](Bytes& b) { b.resize(2); }, false, 0},
      {"empty", [](Bytes& b) { b.clear(); }, false, 0},
  };
  DictionaryFile dictionary;  // loaded again for each case
  for (const Case& c : cases) {
    Bytes bytes = good;
    c.change(bytes);
    EXPECT_EQ(dictionary.LoadFromBytes(bytes, SCRAMBLE_NONE), c.loaded) << c.what;
    EXPECT_EQ(dictionary.count, c.count) << c.what;
  }
}

TEST(RadicalGroupDictionary, ParsesGroupsBackToBack) {
  RadicalGroupDictionary groups;
  Bytes bin = BuildRadicalGroups({{}, {{"a", "s"}, {"b", "sd"}, {"85", "ffa"}}, {{"c", ""}}});
  ASSERT_TRUE(groups.LoadFromBytes(Sealed(bin, SCRAMBLE_BLOCK), SCRAMBLE_BLOCK));
  ASSERT_EQ(groups.GroupCount(), 3u);
  EXPECT_EQ(groups.GroupAt(0).pairCount(), 0u);
  ASSERT_EQ(groups.GroupAt(1).pairCount(), 3u);
  EXPECT_STREQ(groups.GroupAt(1).pairs[2].first, "85");
  EXPECT_STREQ(groups.GroupAt(2).pairs[0].first, "c");
}

// The shared image holds the count of whole groups: from a checked copy the groups are parsed
// when first used, and a count the groups do not bear out is not adopted.
TEST(RadicalGroupDictionary, AGroupCountFromACheckedCopyDefersTheParse) {
  Bytes decoded = BuildRadicalGroups({{}, {{"a", "s"}, {"b", "sd"}, {"85", "ffa"}}, {{"c", ""}}});
  const Bytes index = {3, 0, 0, 0}, overstated = {4, 0, 0, 0};
  RadicalGroupDictionary groups;
  ASSERT_TRUE(groups.LoadFromDecodedBytes(decoded, ByteSpan(index), IndexCheck::Shape));
  ASSERT_EQ(groups.GroupCount(), 3u);
  EXPECT_STREQ(groups.GroupAt(1).pairs[2].first, "85");
  EXPECT_EQ(groups.GroupAt(3).pairCount(), 0u) << "past the groups";
  EXPECT_FALSE(groups.IndexFits(decoded, overstated));
  EXPECT_TRUE(groups.IndexFits(decoded, index));

  decoded.resize(decoded.size() - 4);  // the last group's pair is cut
  decoded[0] = static_cast<std::uint8_t>(decoded.size());
  EXPECT_FALSE(groups.IndexFits(decoded, index));
  groups.LoadFromDecodedBytes(decoded, ByteSpan(index));
  EXPECT_EQ(groups.GroupCount(), 2u) << "walked itself";
}

TEST(RadicalGroupDictionary, TruncatedGroupKeepsWhatIsIntact) {
  Bytes bin = BuildRadicalGroups({{{"a", "s"}}, {{"b", "sd"}, {"c", "dd"}}, {{"d", "a"}}});
  bin.resize(bin.size() - 12);  // cuts into the second group's second pair
  bin[0] = static_cast<std::uint8_t>(bin.size());
  RadicalGroupDictionary groups;
  EXPECT_FALSE(groups.LoadFromBytes(bin, SCRAMBLE_NONE));
  ASSERT_EQ(groups.GroupCount(), 2u);
  EXPECT_EQ(groups.GroupAt(1).pairCount(), 1u);
}

}  // namespace
}  // namespace tvime
