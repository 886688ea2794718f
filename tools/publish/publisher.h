#pragma once
// The release side of updates: a file put into an update directory with its manifest (the
// version from the file's own version resource) and its signature by the release key.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "update/signature.h"

namespace tvime {

// The signature (r then s) of a file's bytes by the private key in a PEM file; nullopt when the
// key or the file cannot be read, or the key is not a P-256 key.
std::optional<std::array<std::uint8_t, kSignatureSize>> SignFile(const std::string& path,
                                                                 const std::string& keyPem);

// The public half of the key in a PEM file, as a build trusts it.
std::optional<PublicKey> PublicKeyOf(const std::string& keyPem);

// The signature (r then s) of bytes in memory, as SignFile gives it for a file's.
std::optional<std::array<std::uint8_t, kSignatureSize>> SignBytes(std::string_view bytes,
                                                                  const std::string& keyPem);

// Writes "<dir>/<name>", "<dir>/<name>.txt" (the version, for programs of every age),
// "<dir>/<name>.sig" (the bytes' signature, which older programs check) and "<dir>/<name>.meta"
// (the signed statement of name, version, size and SHA-256, with `expires` when given). The
// error, or empty when published; a file without a version is not published (its manifest
// would be empty), nor one larger than an update may be.
std::string PublishFile(const std::string& file, const std::string& directory,
                        const std::string& keyPem,
                        std::optional<std::int64_t> expires = std::nullopt);

}  // namespace tvime
