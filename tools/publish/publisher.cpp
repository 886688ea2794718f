#include "tools/publish/publisher.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/sha.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "base/file_io.h"
#include "update/openssl_owned.h"
#include "update/release_statement.h"
#include "update/update_rules.h"

namespace tvime {
namespace {

Owned<EVP_PKEY, EVP_PKEY_free> ReadPrivateKey(const std::string& keyPem) {
  Owned<EVP_PKEY, EVP_PKEY_free> key;
  if (FILE* file = std::fopen(keyPem.c_str(), "rb")) {
    key.reset(PEM_read_PrivateKey(file, nullptr, nullptr, nullptr));
    std::fclose(file);
  }
  char group[32] = {};
  if (key && (EVP_PKEY_get_group_name(key.get(), group, sizeof group, nullptr) != 1 ||
              std::string_view(group) != "prime256v1")) {
    key.reset();
  }
  return key;
}

std::string_view AsText(const std::vector<std::uint8_t>& bytes) {
  return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

std::optional<std::array<std::uint8_t, kSignatureSize>> SignBytes(std::string_view bytes,
                                                                  const std::string& keyPem) {
  auto key = ReadPrivateKey(keyPem);
  Owned<EVP_MD_CTX, EVP_MD_CTX_free> context(EVP_MD_CTX_new());
  if (!key || !context ||
      EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) <= 0) {
    return std::nullopt;
  }
  auto data = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t size = 0;
  if (EVP_DigestSign(context.get(), nullptr, &size, data, bytes.size()) <= 0) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> der(size);
  if (EVP_DigestSign(context.get(), der.data(), &size, data, bytes.size()) <= 0) {
    return std::nullopt;
  }
  // DER to r then s, each 32 bytes with its leading zeros.
  const std::uint8_t* in = der.data();
  Owned<ECDSA_SIG, ECDSA_SIG_free> sig(d2i_ECDSA_SIG(nullptr, &in, static_cast<long>(size)));
  std::array<std::uint8_t, kSignatureSize> signature{};
  if (!sig || BN_bn2binpad(ECDSA_SIG_get0_r(sig.get()), signature.data(), 32) != 32 ||
      BN_bn2binpad(ECDSA_SIG_get0_s(sig.get()), signature.data() + 32, 32) != 32) {
    return std::nullopt;
  }
  return signature;
}

std::optional<std::array<std::uint8_t, kSignatureSize>> SignFile(const std::string& path,
                                                                 const std::string& keyPem) {
  auto bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return SignBytes(AsText(*bytes), keyPem);
}

std::optional<PublicKey> PublicKeyOf(const std::string& keyPem) {
  auto key = ReadPrivateKey(keyPem);
  std::uint8_t point[65];
  size_t size = 0;
  if (!key ||
      EVP_PKEY_get_octet_string_param(key.get(), OSSL_PKEY_PARAM_PUB_KEY, point, sizeof point,
                                      &size) != 1 ||
      size != sizeof point || point[0] != 0x04) {
    return std::nullopt;
  }
  PublicKey result;
  std::copy(point + 1, point + 65, result.begin());
  return result;
}

std::string PublishFile(const std::string& file, const std::string& directory,
                        const std::string& keyPem, std::optional<std::int64_t> expires) {
  auto bytes = ReadWholeFile(file);
  if (!bytes) return "cannot read " + file;
  std::string version = VersionOfProgramBytes(AsText(*bytes));
  auto parts = ParseVersion(version);
  if (version.empty() || !parts) return file + " has no version resource";
  if (bytes->empty() || bytes->size() > kMaxUpdateFileSize) {
    return file + " is larger than an update may be";
  }
  ReleaseStatement statement;
  statement.name = std::filesystem::path(file).filename().string();
  statement.version = *parts;
  statement.size = bytes->size();
  SHA256(bytes->data(), bytes->size(), statement.sha256.data());
  statement.expires = expires;
  std::string text = StatementText(statement);
  auto signature = SignFile(file, keyPem);
  auto statementSignature = SignBytes(text, keyPem);
  if (!signature || !statementSignature) return "cannot sign with " + keyPem;
  std::string meta = SignedStatementFile(text, *statementSignature);
  if (!ParseStatementFile(meta)) return statement.name + " cannot be named in a statement";
  std::string target = (std::filesystem::path(directory) / statement.name).string();
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (!ReplaceFileContents(target, AsText(*bytes)) ||
      !ReplaceFileContents(target + ".txt", version) ||
      !ReplaceFileContents(
          target + ".sig",
          std::string_view(reinterpret_cast<const char*>(signature->data()), signature->size())) ||
      !ReplaceFileContents(target + ".meta", meta)) {
    return "cannot write into " + directory;
  }
  return {};
}

}  // namespace tvime
