// Signature verification with Windows' own cryptography (CNG), which Wine implements faithfully
// for ECDSA P-256 (a changed signature or file gives STATUS_INVALID_SIGNATURE).

#include <windows.h>

#include <bcrypt.h>

#include <cstring>
#include <vector>

#include "base/file_io.h"
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

bool Sha256(const std::vector<std::uint8_t>& bytes, std::uint8_t (&digest)[32]) {
  Algorithm sha(BCRYPT_SHA256_ALGORITHM);
  if (!sha.get()) return false;
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (!BCRYPT_SUCCESS(BCryptCreateHash(sha.get(), &hash, nullptr, 0, nullptr, 0, 0))) return false;
  // CNG takes at most 4 GB a call; an update file is far smaller, but the loop costs nothing.
  bool ok = true;
  for (size_t done = 0; ok && done < bytes.size();) {
    ULONG chunk = static_cast<ULONG>(std::min<size_t>(bytes.size() - done, 1u << 30));
    ok = BCRYPT_SUCCESS(BCryptHashData(hash, const_cast<PUCHAR>(bytes.data() + done), chunk, 0));
    done += chunk;
  }
  ok = ok && BCRYPT_SUCCESS(BCryptFinishHash(hash, digest, sizeof digest, 0));
  BCryptDestroyHash(hash);
  return ok;
}

}  // namespace

bool VerifyFileSignature(const std::string& path, std::span<const std::uint8_t> signature,
                         const PublicKey& key) {
  if (signature.size() != kSignatureSize) return false;
  auto bytes = ReadWholeFile(path);
  std::uint8_t digest[32];
  if (!bytes || !Sha256(*bytes, digest)) return false;
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
  NTSTATUS verdict = BCryptVerifySignature(publicKey, nullptr, digest, sizeof digest,
                                           const_cast<PUCHAR>(signature.data()), kSignatureSize, 0);
  BCryptDestroyKey(publicKey);
  return BCRYPT_SUCCESS(verdict);
}

}  // namespace tvime
