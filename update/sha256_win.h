#pragma once
// SHA-256 with Windows' CNG, fed block by block: a download is hashed as it arrives and never
// held whole in memory.

#include <windows.h>

#include <bcrypt.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace tvime {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256Hasher {
 public:
  Sha256Hasher();
  Sha256Hasher(const Sha256Hasher&) = delete;
  Sha256Hasher& operator=(const Sha256Hasher&) = delete;
  ~Sha256Hasher();

  void Add(std::span<const std::uint8_t> bytes);
  // The digest of everything added; nullopt when the system's cryptography failed. Once only.
  std::optional<Sha256Digest> Finish();

 private:
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
  BCRYPT_HASH_HANDLE hash_ = nullptr;
  bool failed_ = false;
};

}  // namespace tvime
