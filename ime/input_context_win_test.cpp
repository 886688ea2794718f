// The input context as the input method fills it, against Wine's IMM32 (needs a display for the
// application window).

#include "ime/input_context_win.h"

#include <gtest/gtest.h>

#include "ime/test_ime_target_win.h"
#include "tests/support/message_loop_win.h"
#include "tests/support/win_thread.h"

namespace tvime {
namespace {

using testing::ImeMessage;
using testing::ImeTestTarget;
using testing::kZhong;
using testing::TranslationList;

class InputContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(target.window) << "no display: these tests need an X server (DISPLAY)";
    ASSERT_TRUE(target.context);
    ContextLock fields(target.context);
    ASSERT_TRUE(fields);
    PrepareContextBlocks(*fields);
  }
  std::vector<ImeMessage>& received() { return ImeTestTarget::received(); }

  ImeTestTarget target;
};

TEST_F(InputContextTest, BlocksAreLaidOutAsApplicationsExpectThem) {
  ContextLock fields(target.context);
  ASSERT_TRUE(fields);
  EXPECT_EQ(fields->hWnd, target.window);
  EXPECT_EQ(ImmGetIMCCSize(fields->hCompStr), 260u);
  BlockLock<COMPOSITIONSTRING> composition(fields->hCompStr);
  ASSERT_TRUE(composition);
  EXPECT_EQ(composition->dwSize, 260u);
  EXPECT_EQ(composition->dwCompStrLen, 0u);
  EXPECT_EQ(composition->dwCompStrOffset, 100u);
  EXPECT_EQ(composition->dwResultStrOffset, 180u);
  EXPECT_EQ(composition->dwResultStrLen, 0u);

  EXPECT_EQ(ImmGetIMCCSize(fields->hCandInfo), 1612u);
  BlockLock<CANDIDATEINFO> candidates(fields->hCandInfo);
  ASSERT_TRUE(candidates);
  EXPECT_EQ(candidates->dwSize, 1612u);
  EXPECT_EQ(candidates->dwCount, 1u);
  EXPECT_EQ(candidates->dwOffset[0], 144u);
  auto* list = reinterpret_cast<CANDIDATELIST*>(reinterpret_cast<char*>(candidates.get()) + 144);
  EXPECT_EQ(list->dwSize, 1468u);
  EXPECT_EQ(list->dwCount, 0u);
  EXPECT_EQ(list->dwOffset[0], 188u);
  EXPECT_EQ(list->dwOffset[39], 188u + 32 * 39);
}

TEST_F(InputContextTest, AResultLongerThanTheResultAreaGrowsTheBlockInsteadOfBeingCut) {
  std::string longText;
  for (int i = 0; i < 75; ++i) longText += kZhong;  // 150 bytes; the area holds 79
  {
    ContextLock fields(target.context);
    ASSERT_TRUE(SetResultString(*fields, longText));
    EXPECT_GE(ImmGetIMCCSize(fields->hCompStr), 180u + 151u);
    BlockLock<COMPOSITIONSTRING> composition(fields->hCompStr);
    EXPECT_EQ(composition->dwResultStrLen, 150u);
    EXPECT_GE(composition->dwSize, 180u + 151u);
  }
  QueueImeMessage(target.context, WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
  ASSERT_FALSE(received().empty());
  EXPECT_EQ(received()[0].result, longText);

  // A new selection takes the block back to its own size.
  ContextLock fields(target.context);
  PrepareContextBlocks(*fields);
  EXPECT_EQ(ImmGetIMCCSize(fields->hCompStr), 260u);
}

TEST_F(InputContextTest, AnotherThreadsMessagesNeverGoIntoThisThreadsList) {
  TranslationList<4> list;
  TranslationScope scope;
  // Another GUI thread of the application commits while this one translates a key.
  HIMC context = target.context;
  testing::WinThread other([context] { QueueImeMessage(context, WM_IME_KEYDOWN, 13, 0); });
  ASSERT_TRUE(other);
  // Its message reaches the window from there, which this thread answers meanwhile.
  EXPECT_TRUE(testing::PumpMessagesUntil([&] { return other.Join(0); }, 5000));
  EXPECT_EQ(scope.Deliver(target.context, list.get()), 0u);
  ASSERT_EQ(received().size(), 1u);
  EXPECT_EQ(received()[0].message, static_cast<UINT>(WM_IME_KEYDOWN));
}

TEST_F(InputContextTest, MessagesThatDoNotFitTheListWaitInTheContextsBuffer) {
  TranslationList<1> list;
  UINT count = 0;
  {
    TranslationScope scope;
    ClearCompositionAndEnd(target.context, false);
    QueueImeMessage(target.context, WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0);
    count = scope.Deliver(target.context, list.get());
  }
  // A count larger than the list tells the platform to read the context's buffer.
  EXPECT_EQ(count, 3u);
  {
    ContextLock fields(target.context);
    ASSERT_EQ(fields->dwNumMsgBuf, 3u);
  }
  EXPECT_TRUE(received().empty());
  ImmGenerateMessage(target.context);  // what the platform then does
  ASSERT_EQ(received().size(), 3u);
  EXPECT_EQ(received()[0].message, static_cast<UINT>(WM_IME_COMPOSITION));
  EXPECT_EQ(received()[1].message, static_cast<UINT>(WM_IME_ENDCOMPOSITION));
  EXPECT_EQ(received()[2].message, static_cast<UINT>(WM_IME_NOTIFY));
}

TEST(InputContextWithoutWindowTest, QueuesNothingAndAMissingContextIsClosed) {
  HIMC context = ImmCreateContext();
  ASSERT_TRUE(context) << "no display: these tests need an X server (DISPLAY)";
  {
    ContextLock fields(context);
    ASSERT_TRUE(fields);
    fields->fOpen = TRUE;
    PrepareContextBlocks(*fields);
  }
  EXPECT_TRUE(QueueImeMessage(context, WM_IME_KEYDOWN, 13, 0));
  {
    ContextLock fields(context);
    EXPECT_EQ(fields->dwNumMsgBuf, 0u);
  }
  EXPECT_TRUE(IsContextOpen(context));
  EXPECT_FALSE(ContextHasComposition(context));
  EXPECT_FALSE(IsContextOpen(nullptr));
  EXPECT_FALSE(ContextHasComposition(nullptr));
  EXPECT_FALSE(QueueImeMessage(nullptr, WM_IME_KEYDOWN, 13, 0));
  EXPECT_FALSE(ClearCompositionAndEnd(nullptr, false));
  ImmDestroyContext(context);
}

}  // namespace
}  // namespace tvime
