#include "engine/scramble.h"

#include "engine/idea.h"

namespace tvime {
namespace {

constexpr std::uint32_t kXorMask = 0x5D2B7A43;

// The 128-bit block key as stored: sixteen bytes forming the key in big-endian order, so each
// stored 16-bit little-endian word byte-swapped gives one key word.
constexpr std::uint8_t kStoredBlockKey[16] = {0x7A, 0x31, 0xC4, 0x5E, 0x92, 0x0B, 0xE6, 0x48,
                                              0x1D, 0xA3, 0x5F, 0x76, 0x28, 0xCB, 0x04, 0x9D};

const Idea& BlockCipher() {
  static const Idea cipher = [] {
    Idea::Key key;
    for (int i = 0; i < 8; ++i) {
      std::uint16_t stored =
          static_cast<std::uint16_t>(kStoredBlockKey[2 * i] | (kStoredBlockKey[2 * i + 1] << 8));
      key[i] = static_cast<std::uint16_t>((stored >> 8) | (stored << 8));
    }
    return Idea(key);
  }();
  return cipher;
}

void XorWords(std::span<std::uint8_t> payload) {
  for (size_t i = 0; i + 4 <= payload.size(); i += 4) {
    for (int b = 0; b < 4; ++b) payload[i + b] ^= static_cast<std::uint8_t>(kXorMask >> (8 * b));
  }
}

}  // namespace

void Descramble(std::span<std::uint8_t> payload, int kind) {
  if (kind == SCRAMBLE_BLOCK) BlockCipher().DecryptBlocks(payload);
  if (kind == SCRAMBLE_XOR) XorWords(payload);
}

void Scramble(std::span<std::uint8_t> payload, int kind) {
  if (kind == SCRAMBLE_BLOCK) BlockCipher().EncryptBlocks(payload);
  if (kind == SCRAMBLE_XOR) XorWords(payload);
}

}  // namespace tvime
