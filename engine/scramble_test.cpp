#include "engine/scramble.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace tvime {
namespace {

std::vector<std::uint8_t> Counting(size_t size) {
  std::vector<std::uint8_t> bytes(size);
  std::iota(bytes.begin(), bytes.end(), 1);
  return bytes;
}

TEST(Scramble, XorMasksWholeLittleEndianWordsAndLeavesTheTail) {
  std::vector<std::uint8_t> payload = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 9, 8, 7};
  Descramble(payload, SCRAMBLE_XOR);
  EXPECT_EQ(payload,
            (std::vector<std::uint8_t>{0x43, 0x7A, 0x2B, 0x5D, 0xBC, 0x85, 0xD4, 0xA2, 9, 8, 7}));
}

TEST(Scramble, BlockKindRoundTripsBlockByBlockAndKeepsTheShortTail) {
  for (size_t size : {0, 7, 8, 13, 64, 1001}) {
    std::vector<std::uint8_t> original = Counting(size);
    std::vector<std::uint8_t> payload = original;
    Scramble(payload, SCRAMBLE_BLOCK);
    size_t whole = size / 8 * 8;
    if (whole > 0) {
      EXPECT_NE(std::vector(payload.begin(), payload.begin() + whole),
                std::vector(original.begin(), original.begin() + whole));
    }
    EXPECT_EQ(std::vector(payload.begin() + whole, payload.end()),
              std::vector(original.begin() + whole, original.end()));
    Descramble(payload, SCRAMBLE_BLOCK);
    EXPECT_EQ(payload, original) << size;
  }
  // Blocks are independent (electronic codebook): equal plaintext blocks scramble alike.
  std::vector<std::uint8_t> payload(16, 0x5A);
  Scramble(payload, SCRAMBLE_BLOCK);
  EXPECT_TRUE(std::equal(payload.begin(), payload.begin() + 8, payload.begin() + 8));
}

TEST(Scramble, UnknownKindsLeaveThePayloadAsStored) {
  for (int kind : {0, 3, -1, 255}) {
    std::vector<std::uint8_t> payload = Counting(24);
    Descramble(payload, kind);
    EXPECT_EQ(payload, Counting(24)) << kind;
  }
}

}  // namespace
}  // namespace tvime
