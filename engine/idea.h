#pragma once
// The IDEA block cipher (64-bit blocks, 128-bit key, 8 rounds and an output transformation,
// 52 subkeys, multiplication modulo 65537 with 0 standing for 65536).

#include <array>
#include <cstdint>
#include <span>

namespace tvime {

class Idea {
 public:
  using Block = std::array<std::uint16_t, 4>;
  using Key = std::array<std::uint16_t, 8>;

  explicit Idea(const Key& key);

  Block Encrypt(const Block& block) const;
  Block Decrypt(const Block& block) const;

  // Electronic codebook over every whole 8-byte block of `bytes`, each block read as four 16-bit
  // little-endian words in memory order and written back the same way; a short tail is left as
  // it is. Blocks are processed several at a time so that their work overlaps.
  void EncryptBlocks(std::span<std::uint8_t> bytes) const;
  void DecryptBlocks(std::span<std::uint8_t> bytes) const;

 private:
  using Schedule = std::array<std::uint16_t, 52>;

  Schedule encryptKeys_;
  Schedule decryptKeys_;
};

}  // namespace tvime
