#include "tools/publish/publisher.h"

#include <gtest/gtest.h>

#include <fstream>

#include <openssl/sha.h>

#include "base/file_io.h"
#include "tests/support/file_contents.h"
#include "tests/support/temp_dir.h"
#include "update/release_statement.h"

namespace tvime {
namespace {

const std::string kTestKey = TVIME_SOURCE_DIR "/tests/update/test-key.pem";

// A program's bytes with a version resource of 3.1.2.5.
std::string ProgramWithVersion() {
  std::string key;
  for (char c : std::string_view("VS_VERSION_INFO")) key += {c, '\0'};
  return "MZ" + std::string(30, '\0') + key + std::string(4, '\0') +
         std::string("\xBD\x04\xEF\xFE\x00\x00\x01\x00\x01\x00\x03\x00\x05\x00\x02\x00", 16) +
         "the rest of the program";
}

// A program of version 3.1.2.5, to publish into `updates`.
class Publish : public ::testing::Test {
 protected:
  Publish() { std::ofstream(program, std::ios::binary) << ProgramWithVersion(); }
  testing::TempDir dir;
  std::string program = dir.File("tvimedic.exe");
  std::string updates = dir.File("updates");
};

TEST_F(Publish, TheFileItsVersionItsSignatureAndAStatementThatBindsThemUnderTheKey) {
  ASSERT_EQ(PublishFile(program, updates, kTestKey, 1900000000), "");
  EXPECT_EQ(testing::FileContents(updates + "/tvimedic.exe"), ProgramWithVersion());
  EXPECT_EQ(testing::FileContents(updates + "/tvimedic.exe.txt"), "3.1.2.5");
  auto signature = ReadWholeFile(updates + "/tvimedic.exe.sig");
  ASSERT_TRUE(signature);
  EXPECT_TRUE(VerifyFileSignature(updates + "/tvimedic.exe", *signature, TrustedUpdateKey()));
  // The statement: name, version, size, hash and expiry.
  auto parsed = ParseStatementFile(testing::FileContents(updates + "/tvimedic.exe.meta"));
  ASSERT_TRUE(parsed);
  const ReleaseStatement& statement = parsed->statement;
  EXPECT_EQ(statement.name, "tvimedic.exe");
  EXPECT_EQ(FourPartVersion(statement.version), "3.1.2.5");
  EXPECT_EQ(statement.size, ProgramWithVersion().size());
  std::string bytes = ProgramWithVersion();
  std::array<std::uint8_t, 32> digest{};
  SHA256(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest.data());
  EXPECT_EQ(statement.sha256, digest);
  EXPECT_EQ(statement.expires, 1900000000);
  auto text = std::span(reinterpret_cast<const std::uint8_t*>(parsed->signedText.data()),
                        parsed->signedText.size());
  EXPECT_TRUE(VerifySignature(text, parsed->signature, TrustedUpdateKey()));
  // The signature covers the text: a statement with another version no longer verifies.
  std::string other = parsed->signedText;
  other.replace(other.find("3.1.2.5"), 7, "3.1.2.6");
  auto otherText = std::span(reinterpret_cast<const std::uint8_t*>(other.data()), other.size());
  EXPECT_FALSE(VerifySignature(otherText, parsed->signature, TrustedUpdateKey()));
}

TEST_F(Publish, RefusesFilesWithoutAVersionAndKeysThatAreNotP256) {
  std::ofstream(dir.File("notes.txt")) << "no version here";
  EXPECT_NE(PublishFile(dir.File("notes.txt"), dir.File("updates"), kTestKey), "");
  EXPECT_FALSE(SignFile(dir.File("notes.txt"), dir.File("no key.pem")));
  EXPECT_FALSE(PublicKeyOf(dir.File("notes.txt")));
}

TEST_F(Publish, ThePublicHalfIsTheKeyTestBuildsTrust) {
  auto key = PublicKeyOf(kTestKey);
  ASSERT_TRUE(key);
  EXPECT_EQ(*key, TrustedUpdateKey());
}

}  // namespace
}  // namespace tvime
