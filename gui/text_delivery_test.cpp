#include "gui/text_delivery.h"

#include <gmock/gmock.h>

namespace tvime {
namespace {

using ::testing::ElementsAre;

TEST(AnsiDelivery, EachGbkCharacterIsOneMessageWithItsLeadByteHigh) {
  EXPECT_THAT(AnsiImeChars("\xD6\xD0\xCE\xC4"), ElementsAre(0xD6D0, 0xCEC4));  // 中文
}

TEST(AnsiDelivery, SingleByteCharactersStandAloneWhereverTheyAre) {
  // "a中b文": pairing from the start would send 0x61D6 and 0xD062, two garbage characters.
  EXPECT_THAT(AnsiImeChars(std::string("a\xD6\xD0") + "b\xCE\xC4"),
              ElementsAre(0x61, 0xD6D0, 0x62, 0xCEC4));
  EXPECT_THAT(AnsiImeChars("\r"), ElementsAre(0x0D));
  EXPECT_THAT(AnsiImeChars(""), ElementsAre());
  // A lead byte cut off at the end goes alone rather than with a byte that is not there.
  EXPECT_THAT(AnsiImeChars("a\xD6"), ElementsAre(0x61, 0xD6));
}

TEST(ChineseLayout, TheFirstPreloadedPrcLayoutWins) {
  EXPECT_EQ(FindChineseLayout({"00000409", "e0020804", "00000804"}), 0xE0020804u);
  EXPECT_EQ(FindChineseLayout({"00000409", "00000804"}), 0x00000804u);
  EXPECT_EQ(FindChineseLayout({"00000409", "00000411"}), 0x0804u);
  EXPECT_EQ(FindChineseLayout({}), 0x0804u);
  EXPECT_EQ(FindChineseLayout({"", "zz", "00010804"}), 0x00010804u);
}

}  // namespace
}  // namespace tvime
