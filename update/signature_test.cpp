// The signature scheme against the checked-in test vector (a file signed with the test key), on
// the host with OpenSSL and under Wine with Windows' CNG.

#include "update/signature.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "base/file_io.h"
#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

const std::string kVectors = TVIME_SOURCE_DIR "/tests/update/";

PublicKey KeyFromHex(const std::string& hex) {
  PublicKey key{};
  for (size_t i = 0; i < key.size(); ++i) {
    key[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
  }
  return key;
}

std::vector<std::uint8_t> SignatureOfSample() {
  return *ReadWholeFile(kVectors + "sample.txt.sig");
}

TEST(UpdateSignature, TheTestKeysSignatureOfTheSampleVerifies) {
  ASSERT_EQ(SignatureOfSample().size(), kSignatureSize);
  EXPECT_TRUE(
      VerifyFileSignature(kVectors + "sample.txt", SignatureOfSample(), TrustedUpdateKey()));
}

TEST(UpdateSignature, TamperedTruncatedMissingAndForeignSignaturesAreRefused) {
  testing::TempDir dir;
  std::string sample = kVectors + "sample.txt";
  std::vector<std::uint8_t> signature = SignatureOfSample();
  // The file changed by one byte, or cut short.
  auto bytes = *ReadWholeFile(sample);
  bytes[3] ^= 0x20;
  ASSERT_TRUE(ReplaceFileContents(dir.File("tampered"), std::string(bytes.begin(), bytes.end())));
  EXPECT_FALSE(VerifyFileSignature(dir.File("tampered"), signature, TrustedUpdateKey()));
  ASSERT_TRUE(ReplaceFileContents(dir.File("short"), std::string(bytes.begin(), bytes.end() - 1)));
  EXPECT_FALSE(VerifyFileSignature(dir.File("short"), signature, TrustedUpdateKey()));
  // The signature changed, cut, empty, or longer.
  std::vector<std::uint8_t> flipped = signature;
  flipped[40] ^= 0x01;
  EXPECT_FALSE(VerifyFileSignature(sample, flipped, TrustedUpdateKey()));
  EXPECT_FALSE(
      VerifyFileSignature(sample, {signature.begin(), signature.end() - 1}, TrustedUpdateKey()));
  EXPECT_FALSE(VerifyFileSignature(sample, {}, TrustedUpdateKey()));
  std::vector<std::uint8_t> longer = signature;
  longer.push_back(0);
  EXPECT_FALSE(VerifyFileSignature(sample, longer, TrustedUpdateKey()));
  EXPECT_FALSE(VerifyFileSignature(sample, std::vector<std::uint8_t>(64, 0), TrustedUpdateKey()));
  // Another key's, and a file that is not there.
  PublicKey other = KeyFromHex(
      "b650308b2cf2821eeb86753ff0431b5f78be10c43e14d3200dbb2c7708505a86"
      "f15aabfdf78646b418bd0052e50e59aa54865a842edab8c2014ea07ad3d2f494");
  EXPECT_FALSE(VerifyFileSignature(sample, signature, other));
  EXPECT_FALSE(VerifyFileSignature(dir.File("missing"), signature, TrustedUpdateKey()));
  // A key that is no point of the curve.
  EXPECT_FALSE(VerifyFileSignature(sample, signature, PublicKey{}));
}

}  // namespace
}  // namespace tvime
