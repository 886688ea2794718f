// Signature verification on the host (the tests and the publish tool), with OpenSSL: the same
// scheme as Windows' CNG, so that what the publish tool signs is checked the same way on both.

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>

#include <memory>

#include "base/file_io.h"
#include "update/openssl_owned.h"
#include "update/signature.h"

namespace tvime {
namespace {

// The key as OpenSSL holds it: the uncompressed point 04 X Y on prime256v1.
EVP_PKEY* PublicKeyOf(const PublicKey& key) {
  std::uint8_t point[65];
  point[0] = 0x04;
  std::copy(key.begin(), key.end(), point + 1);
  Owned<OSSL_PARAM_BLD, OSSL_PARAM_BLD_free> builder(OSSL_PARAM_BLD_new());
  if (!builder ||
      !OSSL_PARAM_BLD_push_utf8_string(builder.get(), OSSL_PKEY_PARAM_GROUP_NAME, "prime256v1",
                                       0) ||
      !OSSL_PARAM_BLD_push_octet_string(builder.get(), OSSL_PKEY_PARAM_PUB_KEY, point,
                                        sizeof point)) {
    return nullptr;
  }
  Owned<OSSL_PARAM, OSSL_PARAM_free> params(OSSL_PARAM_BLD_to_param(builder.get()));
  Owned<EVP_PKEY_CTX, EVP_PKEY_CTX_free> context(
      EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr));
  EVP_PKEY* result = nullptr;
  if (!params || !context || EVP_PKEY_fromdata_init(context.get()) <= 0 ||
      EVP_PKEY_fromdata(context.get(), &result, EVP_PKEY_PUBLIC_KEY, params.get()) <= 0) {
    return nullptr;
  }
  return result;
}

// r then s as the DER structure OpenSSL verifies.
std::vector<std::uint8_t> DerSignature(std::span<const std::uint8_t> signature) {
  Owned<ECDSA_SIG, ECDSA_SIG_free> sig(ECDSA_SIG_new());
  BIGNUM* r = BN_bin2bn(signature.data(), 32, nullptr);
  BIGNUM* s = BN_bin2bn(signature.data() + 32, 32, nullptr);
  if (!sig || !r || !s || !ECDSA_SIG_set0(sig.get(), r, s)) {
    BN_free(r);
    BN_free(s);
    return {};
  }
  int size = i2d_ECDSA_SIG(sig.get(), nullptr);
  if (size <= 0) return {};
  std::vector<std::uint8_t> der(static_cast<size_t>(size));
  std::uint8_t* out = der.data();
  i2d_ECDSA_SIG(sig.get(), &out);
  return der;
}

}  // namespace

bool VerifySignature(std::span<const std::uint8_t> message, std::span<const std::uint8_t> signature,
                     const PublicKey& key) {
  if (signature.size() != kSignatureSize) return false;
  Owned<EVP_PKEY, EVP_PKEY_free> publicKey(PublicKeyOf(key));
  std::vector<std::uint8_t> der = DerSignature(signature);
  Owned<EVP_MD_CTX, EVP_MD_CTX_free> context(EVP_MD_CTX_new());
  if (!publicKey || der.empty() || !context ||
      EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, publicKey.get()) <= 0) {
    return false;
  }
  return EVP_DigestVerify(context.get(), der.data(), der.size(), message.data(), message.size()) ==
         1;
}

bool VerifyFileSignature(const std::string& path, std::span<const std::uint8_t> signature,
                         const PublicKey& key) {
  auto bytes = ReadWholeFile(path);
  return bytes && VerifySignature(*bytes, signature, key);
}

}  // namespace tvime
