#include "engine/idea.h"

namespace tvime {
namespace {

using u16 = std::uint16_t;
using u32 = std::uint32_t;

u16 Mul(u16 a, u16 b) {
  // 0 stands for 65536 = -1 (mod 65537).
  u32 x = a ? a : 0x10000u;
  u32 y = b ? b : 0x10000u;
  u32 product = static_cast<u32>((static_cast<std::uint64_t>(x) * y) % 0x10001u);
  return static_cast<u16>(product);  // 65536 wraps to 0, as it should
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

Idea::Block Idea::Crypt(const Block& block, const Schedule& keys) {
  u16 x1 = block[0], x2 = block[1], x3 = block[2], x4 = block[3];
  const u16* k = keys.data();
  for (int round = 0; round < 8; ++round, k += 6) {
    x1 = Mul(x1, k[0]);
    x2 = static_cast<u16>(x2 + k[1]);
    x3 = static_cast<u16>(x3 + k[2]);
    x4 = Mul(x4, k[3]);
    u16 t0 = Mul(static_cast<u16>(x1 ^ x3), k[4]);
    u16 t1 = Mul(static_cast<u16>(t0 + (x2 ^ x4)), k[5]);
    t0 = static_cast<u16>(t0 + t1);
    x1 ^= t1;
    x4 ^= t0;
    u16 swap = static_cast<u16>(x2 ^ t0);
    x2 = static_cast<u16>(x3 ^ t1);
    x3 = swap;
  }
  // Output transformation undoes the last swap of the middle words.
  return {Mul(x1, k[0]), static_cast<u16>(x3 + k[1]), static_cast<u16>(x2 + k[2]), Mul(x4, k[3])};
}

}  // namespace tvime
