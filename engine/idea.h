#pragma once
// The IDEA block cipher (64-bit blocks, 128-bit key, 8 rounds and an output transformation,
// 52 subkeys, multiplication modulo 65537 with 0 standing for 65536).

#include <array>
#include <cstdint>

namespace tvime {

class Idea {
 public:
  using Block = std::array<std::uint16_t, 4>;
  using Key = std::array<std::uint16_t, 8>;

  explicit Idea(const Key& key);

  Block Encrypt(const Block& block) const { return Crypt(block, encryptKeys_); }
  Block Decrypt(const Block& block) const { return Crypt(block, decryptKeys_); }

 private:
  using Schedule = std::array<std::uint16_t, 52>;
  static Block Crypt(const Block& block, const Schedule& keys);

  Schedule encryptKeys_;
  Schedule decryptKeys_;
};

}  // namespace tvime
