#pragma once
// Detached signatures of published files. A file "<name>" on the update server has "<name>.sig"
// beside it: ECDSA on the P-256 curve over the SHA-256 of the file's bytes, 64 bytes r then s.
// The public key that a build trusts is fixed when it is built: the point's X then Y, 64 bytes.
// A downloaded file whose signature does not verify is never installed.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tvime {

inline constexpr size_t kSignatureSize = 64;
using PublicKey = std::array<std::uint8_t, 64>;

// Whether `signature` is a valid signature of the bytes of the file at `path` by `key`. False for
// a signature of the wrong size, a file that cannot be read, and any failure of the system's
// cryptography.
bool VerifyFileSignature(const std::string& path, std::span<const std::uint8_t> signature,
                         const PublicKey& key);

// Whether `signature` is a valid signature of `message` by `key` (a signed statement's text).
bool VerifySignature(std::span<const std::uint8_t> message, std::span<const std::uint8_t> signature,
                     const PublicKey& key);

// The key this build trusts.
const PublicKey& TrustedUpdateKey();

}  // namespace tvime
