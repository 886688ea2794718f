#pragma once
// The scrambling of shipped dictionary payloads. The builder scrambles, the loader descrambles;
// both use these routines so that they cannot drift apart.

#include <cstdint>
#include <span>

namespace tvime {

enum ScrambleKind : int {
  SCRAMBLE_NONE = 0,
  SCRAMBLE_BLOCK = 1,  // IDEA, ECB over whole 8-byte blocks; a short tail stays as stored
  SCRAMBLE_XOR = 2,    // each whole 32-bit little-endian word XOR 0x5D2B7A43
};

// Descrambles `payload` in place. Any kind other than 1 and 2 leaves it as stored.
void Descramble(std::span<std::uint8_t> payload, int kind);
// The inverse of Descramble, for the dictionary builder and tests.
void Scramble(std::span<std::uint8_t> payload, int kind);

}  // namespace tvime
