#include "engine/idea.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tvime {
namespace {

// Published vectors are written as big-endian hex; the cipher works on 16-bit words.
template <size_t N>
std::array<std::uint16_t, N> Words(const std::string& hex) {
  std::array<std::uint16_t, N> words{};
  for (size_t i = 0; i < N; ++i) {
    words[i] = static_cast<std::uint16_t>(std::stoul(hex.substr(4 * i, 4), nullptr, 16));
  }
  return words;
}

struct Vector {
  const char* key;
  const char* plain;
  const char* cipher;
};

// From the cipher's designers (the first), NESSIE set 1 (vector 127) and widely used suites.
constexpr Vector kVectors[] = {
    {"00010002000300040005000600070008", "0000000100020003", "11FBED2B01986DE5"},
    {"000102030405060708090A0B0C0D0E0F", "DB2D4A92AA68273F", "0011223344556677"},
    {"2BD6459F82C5B300952C49104881FF48", "F129A6601EF62A47", "EA024714AD5C4D84"},
    {"00000000000000000000000000000001", "0000000000000000", "C57ADBDE27BC26CF"},
    {"00112233445566778899AABBCCDDEEFF", "0001020304050607", "ED732271A7B39F47"},
};

TEST(Idea, EncryptsAndDecryptsThePublishedVectors) {
  for (const Vector& v : kVectors) {
    Idea idea(Words<8>(v.key));
    EXPECT_EQ(idea.Encrypt(Words<4>(v.plain)), Words<4>(v.cipher)) << v.key;
    EXPECT_EQ(idea.Decrypt(Words<4>(v.cipher)), Words<4>(v.plain)) << v.key;
  }
}

TEST(Idea, DecryptionInvertsEncryptionForRandomKeysAndBlocks) {
  // Keys with zero words exercise the "0 stands for 65536" multiplication rule.
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    Idea::Key key;
    for (auto& word : key) word = static_cast<std::uint16_t>(trial % 3 == 0 ? 0 : random());
    Idea idea(key);
    Idea::Block block;
    for (auto& word : block) word = static_cast<std::uint16_t>(random());
    EXPECT_EQ(idea.Decrypt(idea.Encrypt(block)), block);
  }
}

TEST(Idea, BulkBlocksMatchSingleBlocksAndLeaveTheTail) {
  // Enough blocks for the several-at-a-time path and the one-at-a-time rest, plus a short tail.
  Idea idea(Words<8>("2BD6459F82C5B300952C49104881FF48"));
  std::mt19937 random(11);
  std::vector<std::uint8_t> bytes(8 * 53 + 5);
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
  std::vector<std::uint8_t> bulk = bytes;
  idea.EncryptBlocks(bulk);
  for (size_t b = 0; b < 53; ++b) {
    Idea::Block block;
    for (int w = 0; w < 4; ++w)
      block[w] = static_cast<std::uint16_t>(bytes[8 * b + 2 * w] | (bytes[8 * b + 2 * w + 1] << 8));
    Idea::Block expected = idea.Encrypt(block);
    for (int w = 0; w < 4; ++w) {
      ASSERT_EQ(bulk[8 * b + 2 * w], expected[w] & 0xFF) << b;
      ASSERT_EQ(bulk[8 * b + 2 * w + 1], expected[w] >> 8) << b;
    }
  }
  EXPECT_TRUE(std::equal(bulk.end() - 5, bulk.end(), bytes.end() - 5));
  idea.DecryptBlocks(bulk);
  EXPECT_EQ(bulk, bytes);
}

}  // namespace
}  // namespace tvime
