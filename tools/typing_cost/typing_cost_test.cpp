// The typing simulation on the shipped dictionaries: what it types arrives unchanged, and its
// figures add up.

#include "tools/typing_cost/typing_cost.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "base/gbk.h"
#include "tests/support/shipped_dictionaries.h"
#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

using testing::ShippedDictionaries;

long Sum(const TypingCost& cost, long ActionTally::*field) {
  long sum = 0;
  for (const ActionTally& tally : cost.byAction) sum += tally.*field;
  return sum;
}

const ActionTally& Tally(const TypingCost& cost, TypingAction action) {
  return cost.byAction[static_cast<size_t>(action)];
}

// Types `utf8`; a failure names where the application got something else.
void TypeAll(TypingSimulator& simulator, std::string_view utf8) {
  std::string error;
  EXPECT_TRUE(simulator.Type(utf8, error)) << error;
}

class TypingCostTest : public ::testing::Test {
 protected:
  TypingCostTest() : simulator(ShippedDictionaries(), false) {}
  void Type(std::string_view utf8) { TypeAll(simulator, utf8); }
  TypingSimulator simulator;
};

TEST_F(TypingCostTest, WhatIsTypedArrivesUnchangedHanziKeysAndSymbols) {
  ASSERT_TRUE(simulator.Loaded());
  const std::string text =
      "中华人民共和国成立了。\n"
      "Hello, world! 今天天气很好，我们去公园散步吧？\r\n"
      "\t“引号”与（括号）：一二三……\n";
  Type(text);
  std::string expected = text;
  expected.erase(expected.find('\r'), 1);  // one Enter ends the line
  EXPECT_EQ(simulator.Received(), expected);
  const TypingCost& cost = simulator.cost();
  EXPECT_EQ(cost.unreachable, 0);
  EXPECT_EQ(cost.fallbacks, 0);
  EXPECT_EQ(cost.skipped, 1);
  EXPECT_GT(cost.keys, 0);
  EXPECT_GT(cost.symbols, 0);
}

TEST_F(TypingCostTest, ZhongguoTakesZhongByStrokesThenGuoByAssociation) {
  // In the dictionary's order ("PredictNext" off), phrases by strokes come grouped by first
  // character, and the phrases of 中 need its strokes.
  TypingSimulator grouped(ShippedDictionaries(), TypingOptions{.predict = false});
  TypeAll(grouped, "中国");
  const TypingCost& cost = grouped.cost();
  EXPECT_EQ(cost.hanzi, 2);
  EXPECT_LE(cost.clicks, 6);
  // Four strokes and a click type 中; nothing types 中国 for less.
  EXPECT_EQ(Tally(cost, TypingAction::Strokes).uses, 1);
  EXPECT_EQ(Tally(cost, TypingAction::Association).uses, 1);
  EXPECT_EQ(Tally(cost, TypingAction::Association).clicks, 1);
  // With the option the most frequent phrases of all come first: one stroke and a separator
  // show 中国, which then takes no more clicks and commits both characters at once.
  Type("中国");
  EXPECT_EQ(simulator.Received(), "中国");
  EXPECT_LE(simulator.cost().clicks, cost.clicks);
  EXPECT_EQ(Tally(simulator.cost(), TypingAction::PhraseByStrokes).uses, 1);
  // A plan of the whole run finds a few clicks too.
  TypingSimulator whole(ShippedDictionaries(), false, PlanningRule::WholeRun);
  TypeAll(whole, "中国");
  EXPECT_EQ(whole.Received(), "中国");
  EXPECT_LE(whole.cost().clicks, 6);
}

TEST_F(TypingCostTest, ACharacterAloneNeverCostsLessThanAClick) {
  Type("的 是 一 不 了 人 我 在 有 他 这 为 之 大 来 以 个 中 上 们 戆 龘 鬱");
  const TypingCost& cost = simulator.cost();
  EXPECT_EQ(cost.hanzi + cost.unreachable, 23);
  for (const ActionTally& tally : cost.byAction) EXPECT_GE(tally.clicks, tally.hanzi);
  EXPECT_GE(cost.clicks, cost.hanzi);
}

TEST_F(TypingCostTest, UncommonCharactersNeedTheBigCharacterSet) {
  // 龘 is outside the common block: only the big set lists it.
  Type("龘");
  EXPECT_EQ(simulator.cost().unreachable, 1);
  TypingSimulator big(ShippedDictionaries(), true);
  TypeAll(big, "龘");
  EXPECT_EQ(big.cost().unreachable, 0);
  EXPECT_EQ(big.cost().hanzi, 1);
  EXPECT_EQ(big.Received(), "龘");
}

TEST_F(TypingCostTest, TheSplitByActionAddsUpToTheTotals) {
  Type(
      "中华人民共和国的国家标准规定了汉字的编码。我们使用输入法输入中文，"
      "每个汉字都有自己的笔画顺序，按笔画输入是一种常用的方法。");
  const TypingCost& cost = simulator.cost();
  EXPECT_EQ(Sum(cost, &ActionTally::hanzi), cost.hanzi);
  EXPECT_EQ(Sum(cost, &ActionTally::clicks) + cost.wastedClicks, cost.clicks);
  EXPECT_GT(Sum(cost, &ActionTally::uses), 0);
  for (const ActionTally& tally : cost.byAction) EXPECT_GE(tally.clicks, tally.uses);
  // Phrases and association save clicks on running text.
  EXPECT_LT(cost.ClicksPerHanzi(), 4.0);
}

TEST_F(TypingCostTest, TextGbkCannotEncodeIsSkippedAndCounted) {
  Type("中😀文");
  EXPECT_EQ(simulator.Received(), "中文");
  EXPECT_EQ(simulator.cost().skipped, 1);
  EXPECT_EQ(simulator.cost().hanzi, 2);
}

TEST(TypingCostWholeRunTest, WholeRunsCostNoMoreThanStepByStepAndTheSessionGoesAsPlanned) {
  const std::string text =
      "中华人民共和国的国家标准规定了汉字的编码。我们使用输入法输入中文，\n"
      "每个汉字都有自己的笔画顺序，按笔画输入是一种常用的方法。中国，中国人";
  TypingSimulator stepwise(ShippedDictionaries(), false, PlanningRule::PerAction);
  TypeAll(stepwise, text);
  TypingSimulator whole(ShippedDictionaries(), false, PlanningRule::WholeRun);
  TypeAll(whole, text);
  EXPECT_EQ(whole.Received(), text);
  const TypingCost& cost = whole.cost();
  EXPECT_EQ(cost.hanzi, stepwise.cost().hanzi);
  EXPECT_LE(cost.clicks, stepwise.cost().clicks);
  // The planner's idea of the association after each choice is the session's.
  EXPECT_EQ(cost.replans, 0);
  EXPECT_EQ(cost.fallbacks, 0);
  EXPECT_EQ(Sum(cost, &ActionTally::hanzi), cost.hanzi);
  EXPECT_EQ(Sum(cost, &ActionTally::clicks) + cost.wastedClicks, cost.clicks);
}

TEST(TypingCostLearningTest, ChoicesMadeOnceCostLessTheNextTimesAndThePanelBearsThePlansOut) {
  // Words of a program's messages, repeated as such texts repeat them.
  std::string text;
  for (int i = 0; i < 4; ++i) text += "无法打开配置文件，请检查权限。设置已保存到配置文件。\n";
  TypingSimulator fixed(ShippedDictionaries(), TypingOptions{});
  TypeAll(fixed, text);
  TypingSimulator learning(ShippedDictionaries(), TypingOptions{.learn = true});
  TypeAll(learning, text);
  EXPECT_EQ(learning.Received(), text);
  EXPECT_EQ(learning.cost().hanzi, fixed.cost().hanzi);
  EXPECT_LT(learning.cost().clicks, fixed.cost().clicks);
  // The planner sees the lists as learning reorders them.
  EXPECT_EQ(learning.cost().fallbacks, 0);
}

TEST(TypingCostFolderTest, EachTextOfAFolderIsTypedAloneAndTheTotalAddsThemUp) {
  testing::TempDir dir;
  const std::vector<std::pair<std::string, std::string>> texts = {
      {"b-messages", "无法打开文件。\n文件已保存。\n"},
      {"a-manual", "中华人民共和国的国家标准规定了汉字的编码。\n"},
  };
  for (const auto& [name, text] : texts) std::ofstream(dir.File(name + ".txt")) << text;
  std::ofstream(dir.File("notes.md")) << "不是文本";  // only .txt files are sources

  for (unsigned threads : {1u, 2u}) {
    SCOPED_TRACE(threads);
    std::vector<SourceCost> sources =
        MeasureFolder(ShippedDictionaries(), dir.path().string(), TypingOptions{}, threads);
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(sources[0].name, "a-manual");
    EXPECT_EQ(sources[1].name, "b-messages");
    for (size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(sources[i].error, "");
      // The same as a panel of its own typing that text alone.
      TypingSimulator alone(ShippedDictionaries(), TypingOptions{});
      TypeAll(alone, texts[1 - i].second);
      EXPECT_EQ(sources[i].cost.hanzi, alone.cost().hanzi);
      EXPECT_EQ(sources[i].cost.clicks, alone.cost().clicks);
    }
    std::ostringstream report;
    WriteFolderCost(sources, report);
    TypingCost total = sources[0].cost;
    total += sources[1].cost;
    EXPECT_NE(report.str().find("a-manual"), std::string::npos);
    EXPECT_NE(report.str().find("hanzi: " + std::to_string(total.hanzi) + "\n"), std::string::npos)
        << report.str();
    EXPECT_NE(report.str().find("clicks: " + std::to_string(total.clicks) + "\n"),
              std::string::npos);
  }
  EXPECT_TRUE(MeasureFolder(ShippedDictionaries(), dir.File("missing"), {}, 2).empty());
}

}  // namespace
}  // namespace tvime
