#include "session/soft_keyboard_panel.h"

#include <gtest/gtest.h>

#include <set>

#include "base/gbk.h"

namespace tvime {
namespace {

TEST(SoftKeyboardWindow, EveryTableKeyIsOnTheWindowOnceWithTheFunctionKeys) {
  std::set<size_t> positions;
  int functionKeys = 0;
  for (const SoftKeyButton& button : SoftKeyboardButtons()) {
    EXPECT_GE(button.rect.left, 0);
    EXPECT_LE(button.rect.right, kSoftKeyboardWidth);
    EXPECT_LE(button.rect.bottom, kSoftKeyboardHeight);
    if (button.hit.action == SoftKeyAction::Key) {
      std::optional<size_t> position = SymbolKeyPosition(button.hit.virtualKey);
      ASSERT_TRUE(position) << button.hit.virtualKey;
      EXPECT_TRUE(positions.insert(*position).second);
    } else {
      ++functionKeys;
    }
  }
  EXPECT_EQ(positions.size(), kSymbolKeyCount);
  EXPECT_EQ(functionKeys, 4);
}

TEST(SoftKeyboardWindow, AClickFindsTheKeyUnderIt) {
  const SoftKeyButton& q = SoftKeyboardButtons()[13];
  SoftKeyHit hit = SoftKeyboardHitTest(q.rect.left + 3, q.rect.top + 3, {});
  EXPECT_EQ(hit.action, SoftKeyAction::Key);
  EXPECT_EQ(hit.virtualKey, static_cast<unsigned>('Q'));
  EXPECT_EQ(SoftKeyboardHitTest(-5, -5, {}).action, SoftKeyAction::None);
}

TEST(SoftKeyboardWindow, ShowsTheShiftedSymbolsWhileShiftIsOn) {
  const SymbolTable& fullWidth = SymbolTables()[13];
  auto texts = [&fullWidth](bool shift) {
    std::multiset<std::string> shown;
    for (const DrawOp& op : PaintSoftKeyboard(fullWidth, shift, std::nullopt)) {
      if (const DrawText* text = std::get_if<DrawText>(&op)) shown.insert(GbkToUtf8(text->text));
    }
    return shown;
  };
  EXPECT_EQ(texts(false).count("１"), 1u);
  EXPECT_EQ(texts(false).count("！"), 0u);
  EXPECT_EQ(texts(true).count("！"), 1u);
  EXPECT_EQ(texts(true).count("退格"), 1u);
}

}  // namespace
}  // namespace tvime
