#include "engine/idea.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

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

}  // namespace
}  // namespace tvime
