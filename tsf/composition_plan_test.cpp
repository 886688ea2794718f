#include "tsf/composition_plan.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

// The moves are written {start, replaceText, end, insertAtSelection, text}.
TEST(CompositionPlanTest, PendingTextIsOneCompositionThatGrowsAndIsCommittedInPlace) {
  // 中 is chosen in search mode: a composition starts at the selection and shows it.
  EXPECT_EQ(ForPendingText(false, true, u"中"), (CompositionMove{true, true, false, false, u"中"}));
  // 国 is added: the same composition shows both.
  EXPECT_EQ(ForPendingText(true, true, u"中国"),
            (CompositionMove{false, true, false, false, u"中国"}));
  // The words are committed: the composition takes the final text and ends, nothing is inserted
  // a second time.
  EXPECT_EQ(ForCommit(true, u"中国"), (CompositionMove{false, true, true, false, u"中国"}));
}

TEST(CompositionPlanTest, DroppedPendingTextLeavesNothingInTheDocument) {
  EXPECT_EQ(ForPendingText(true, true, u""), (CompositionMove{false, true, true, false, u""}));
  // Nothing pending and no composition: nothing to do.
  EXPECT_EQ(ForPendingText(false, true, u""), CompositionMove{});
}

TEST(CompositionPlanTest, WithoutCompositionsOnlyCommittedTextReachesTheDocument) {
  // The pending text stays on the panel; the document is not touched until the commit.
  EXPECT_EQ(ForPendingText(false, false, u"中"), CompositionMove{});
  EXPECT_EQ(ForCommit(false, u"中"), (CompositionMove{false, false, false, true, u"中"}));
}

}  // namespace
}  // namespace tvime
