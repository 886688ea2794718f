#include "engine/idea.h"

namespace tvime {
namespace {

using u16 = std::uint16_t;
using u32 = std::uint32_t;

// Multiplication modulo 65537 on 16-bit operands where 0 stands for 65536; branch-free so that
// lanes of blocks can be computed side by side.
inline u32 Mul(u32 a, u32 b) {
  u32 product = a * b;
  u32 lo = product & 0xFFFF, hi = product >> 16;
  // 2^16 = -1 (mod 65537), so hi * 2^16 + lo = lo - hi. A zero product means an operand was 0
  // (65536 = -1): the result is the other operand negated, 65537 - a - b.
  u32 nonzero = lo - hi + (lo < hi ? 1 : 0);
  u32 zero = 1 - a - b;
  return (product ? nonzero : zero) & 0xFFFF;
}

u16 MulInverse(u16 a) {
  // a^(p-2) mod p by square-and-multiply; 0 (65536) and 1 are their own inverses.
  if (a <= 1) return a;
  u32 base = a, result = 1, exponent = 0x10001u - 2;
  while (exponent) {
    if (exponent & 1) result = static_cast<u32>((std::uint64_t{result} * base) % 0x10001u);
    base = static_cast<u32>((std::uint64_t{base} * base) % 0x10001u);
    exponent >>= 1;
  }
  return static_cast<u16>(result);
}

u16 AddInverse(u16 a) { return static_cast<u16>(0x10000u - a); }

// Runs the cipher on N blocks at once: x[w][lane] is word w of block `lane`.
template <size_t N>
void CryptLanes(u32 (&x)[4][N], const u16* k) {
  for (int round = 0; round < 8; ++round, k += 6) {
    for (size_t i = 0; i < N; ++i) {
      u32 x1 = Mul(x[0][i], k[0]);
      u32 x2 = (x[1][i] + k[1]) & 0xFFFF;
      u32 x3 = (x[2][i] + k[2]) & 0xFFFF;
      u32 x4 = Mul(x[3][i], k[3]);
      u32 t0 = Mul(x1 ^ x3, k[4]);
      u32 t1 = Mul((t0 + (x2 ^ x4)) & 0xFFFF, k[5]);
      t0 = (t0 + t1) & 0xFFFF;
      x[0][i] = x1 ^ t1;
      x[3][i] = x4 ^ t0;
      x[1][i] = x3 ^ t1;  // the middle words swap between rounds
      x[2][i] = x2 ^ t0;
    }
  }
  // The output transformation undoes the last swap.
  for (size_t i = 0; i < N; ++i) {
    u32 x2 = x[1][i];
    x[0][i] = Mul(x[0][i], k[0]);
    x[1][i] = (x[2][i] + k[1]) & 0xFFFF;
    x[2][i] = (x2 + k[2]) & 0xFFFF;
    x[3][i] = Mul(x[3][i], k[3]);
  }
}

template <size_t N>
void CryptBytes(std::uint8_t* p, const u16* keys) {
  u32 x[4][N];
  for (size_t i = 0; i < N; ++i) {
    for (int w = 0; w < 4; ++w) x[w][i] = p[8 * i + 2 * w] | (u32{p[8 * i + 2 * w + 1]} << 8);
  }
  CryptLanes<N>(x, keys);
  for (size_t i = 0; i < N; ++i) {
    for (int w = 0; w < 4; ++w) {
      p[8 * i + 2 * w] = static_cast<std::uint8_t>(x[w][i]);
      p[8 * i + 2 * w + 1] = static_cast<std::uint8_t>(x[w][i] >> 8);
    }
  }
}

void CryptAll(std::span<std::uint8_t> bytes, const u16* keys) {
  constexpr size_t kLanes = 16;
  size_t blocks = bytes.size() / 8;
  std::uint8_t* p = bytes.data();
  size_t b = 0;
  for (; b + kLanes <= blocks; b += kLanes) CryptBytes<kLanes>(p + 8 * b, keys);
  for (; b < blocks; ++b) CryptBytes<1>(p + 8 * b, keys);
}

Idea::Block CryptOne(const Idea::Block& block, const u16* keys) {
  u32 x[4][1] = {{block[0]}, {block[1]}, {block[2]}, {block[3]}};
  CryptLanes<1>(x, keys);
  return {static_cast<u16>(x[0][0]), static_cast<u16>(x[1][0]), static_cast<u16>(x[2][0]),
          static_cast<u16>(x[3][0])};
}

}  // namespace

Idea::Idea(const Key& key) {
  // Encryption subkeys: the 128-bit key, then the key rotated left by 25 bits, and so on.
  std::array<u16, 8> k = key;
  for (int i = 0; i < 52; ++i) {
    encryptKeys_[i] = k[i % 8];
    if (i % 8 == 7) {
      std::array<u16, 8> rotated;
      for (int j = 0; j < 8; ++j) {
        rotated[j] = static_cast<u16>((k[(j + 1) % 8] << 9) | (k[(j + 2) % 8] >> 7));
      }
      k = rotated;
    }
  }

  // Decryption subkeys: inverses in reverse round order; the additive pair swaps in the inner
  // rounds because the middle words swap between rounds.
  const Schedule& e = encryptKeys_;
  Schedule& d = decryptKeys_;
  for (int round = 0; round <= 8; ++round) {
    int from = 6 * (8 - round);
    int to = 6 * round;
    d[to] = MulInverse(e[from]);
    bool outer = round == 0 || round == 8;
    d[to + 1] = AddInverse(e[from + (outer ? 1 : 2)]);
    d[to + 2] = AddInverse(e[from + (outer ? 2 : 1)]);
    d[to + 3] = MulInverse(e[from + 3]);
    if (round < 8) {
      d[to + 4] = e[from - 2];
      d[to + 5] = e[from - 1];
    }
  }
}

Idea::Block Idea::Encrypt(const Block& block) const { return CryptOne(block, encryptKeys_.data()); }

Idea::Block Idea::Decrypt(const Block& block) const { return CryptOne(block, decryptKeys_.data()); }

void Idea::EncryptBlocks(std::span<std::uint8_t> bytes) const {
  CryptAll(bytes, encryptKeys_.data());
}

void Idea::DecryptBlocks(std::span<std::uint8_t> bytes) const {
  CryptAll(bytes, decryptKeys_.data());
}

}  // namespace tvime
