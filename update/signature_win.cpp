// Signature verification with Windows' own cryptography (CNG), which Wine implements faithfully
// for ECDSA P-256 (a changed signature or file gives STATUS_INVALID_SIGNATURE).

#include <windows.h>

#include <bcrypt.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/file_io.h"
#include "update/sha256_win.h"
#include "update/signature.h"

namespace tvime {
namespace {

class Algorithm {
 public:
  explicit Algorithm(const wchar_t* name) {
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&handle_, name, nullptr, 0))) handle_ = nullptr;
  }
  Algorithm(const Algorithm&) = delete;
  Algorithm& operator=(const Algorithm&) = delete;
  ~Algorithm() {
    if (handle_) BCryptCloseAlgorithmProvider(handle_, 0);
  }
  BCRYPT_ALG_HANDLE get() const { return handle_; }

 private:
  BCRYPT_ALG_HANDLE handle_ = nullptr;
};

}  // namespace

Sha256Hasher::Sha256Hasher() {
  if (!BCRYPT_SUCCESS(
          BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
    algorithm_ = nullptr;
    return;
  }
  if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0))) {
    hash_ = nullptr;
  }
}

Sha256Hasher::~Sha256Hasher() {
  if (hash_) BCryptDestroyHash(hash_);
  if (algorithm_) BCryptCloseAlgorithmProvider(algorithm_, 0);
}

void Sha256Hasher::Add(std::span<const std::uint8_t> bytes) {
  // CNG takes at most 4 GB a call.
  for (size_t done = 0; hash_ && done < bytes.size();) {
    ULONG chunk = static_cast<ULONG>(std::min<size_t>(bytes.size() - done, 1u << 30));
    if (!BCRYPT_SUCCESS(BCryptHashData(hash_, const_cast<PUCHAR>(bytes.data() + done), chunk, 0))) {
      failed_ = true;
    }
    done += chunk;
  }
}

std::optional<Sha256Digest> Sha256Hasher::Finish() {
  Sha256Digest digest{};
  if (!hash_ || failed_ || !BCRYPT_SUCCESS(BCryptFinishHash(hash_, digest.data(), 32, 0))) {
    return std::nullopt;
  }
  BCryptDestroyHash(hash_);
  hash_ = nullptr;
  return digest;
}

bool VerifySignature(std::span<const std::uint8_t> message, std::span<const std::uint8_t> signature,
                     const PublicKey& key) {
  if (signature.size() != kSignatureSize) return false;
  Sha256Hasher hasher;
  hasher.Add(message);
  auto digest = hasher.Finish();
  if (!digest) return false;
  Algorithm ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
  if (!ecdsa.get()) return false;
  std::uint8_t blob[sizeof(BCRYPT_ECCKEY_BLOB) + 64];
  auto* header = reinterpret_cast<BCRYPT_ECCKEY_BLOB*>(blob);
  header->dwMagic = BCRYPT_ECDSA_PUBLIC_P256_MAGIC;
  header->cbKey = 32;
  std::memcpy(blob + sizeof(BCRYPT_ECCKEY_BLOB), key.data(), key.size());
  BCRYPT_KEY_HANDLE publicKey = nullptr;
  if (!BCRYPT_SUCCESS(BCryptImportKeyPair(ecdsa.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &publicKey,
                                          blob, sizeof blob, 0))) {
    return false;
  }
  NTSTATUS verdict = BCryptVerifySignature(publicKey, nullptr, digest->data(), 32,
                                           const_cast<PUCHAR>(signature.data()), kSignatureSize, 0);
  BCryptDestroyKey(publicKey);
  return BCRYPT_SUCCESS(verdict);
}

bool VerifyFileSignature(const std::string& path, std::span<const std::uint8_t> signature,
                         const PublicKey& key) {
  auto bytes = ReadWholeFile(path);
  return bytes && VerifySignature(*bytes, signature, key);
}

}  // namespace tvime
