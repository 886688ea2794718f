#include "update/release_statement.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

ReleaseStatement Manager() {
  ReleaseStatement statement;
  statement.name = "tvimedic.exe";
  statement.version = {3, 1, 0, 7};
  statement.size = 5123456;
  for (size_t i = 0; i < statement.sha256.size(); ++i) {
    statement.sha256[i] = static_cast<std::uint8_t>(i * 7);
  }
  return statement;
}

std::array<std::uint8_t, kSignatureSize> Signature() {
  std::array<std::uint8_t, kSignatureSize> signature{};
  for (size_t i = 0; i < signature.size(); ++i) signature[i] = static_cast<std::uint8_t>(255 - i);
  return signature;
}

TEST(ReleaseStatement, WhatIsWrittenReadsBackWithTheTextThatWasSigned) {
  for (std::optional<std::int64_t> expires :
       {std::optional<std::int64_t>(), std::optional<std::int64_t>(1900000000)}) {
    ReleaseStatement statement = Manager();
    statement.expires = expires;
    std::string text = StatementText(statement);
    auto parsed = ParseStatementFile(SignedStatementFile(text, Signature()));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->signedText, text);
    EXPECT_EQ(parsed->signature, Signature());
    EXPECT_EQ(parsed->statement.name, "tvimedic.exe");
    EXPECT_EQ(FourPartVersion(parsed->statement.version), "3.1.0.7");
    EXPECT_EQ(parsed->statement.size, 5123456u);
    EXPECT_EQ(parsed->statement.sha256, Manager().sha256);
    EXPECT_EQ(parsed->statement.expires, expires);
  }
}

// The statement is read from the network: anything that is not exactly a statement is none, so
// that no second spelling can carry the same signature with another meaning.
TEST(ReleaseStatement, AnythingButTheExactFormIsRefused) {
  std::string good = SignedStatementFile(StatementText(Manager()), Signature());
  ASSERT_TRUE(ParseStatementFile(good));
  auto with = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
  };
  std::vector<std::string> refused = {
      "",
      good.substr(0, good.size() - 1),                     // no final line break
      good + "\n",                                         // an empty line more
      good + good,                                         // twice
      with("tvime-release 1", "tvime-release 2"),          // another format
      with("\n", "\r\n"),                                  // other line ends
      with("name tvimedic.exe", "name ..\\tvimedic.exe"),  // a folder in the name
      with("name tvimedic.exe", "name tvimedic.exe "),     // a space after it
      with("name tvimedic.exe", "name "),                  // no name
      with("version 3.1.0.7", "version 3.1"),              // two parts only
      with("version 3.1.0.7", "version 3.1.0.07"),         // a second spelling of a number
      with("version 3.1.0.7", "version 3.1.0.65536"),      // more than a version word holds
      with("version 3.1.0.7", "version 3.1.0.7." + std::string(3000, '.')),
      with("size 5123456", "size 0"),         // nothing to download
      with("size 5123456", "size 67108865"),  // more than 64 MB
      with("size 5123456", "size 05123456"),  // a leading zero
      with("size 5123456", "size -1"),
      with("size 5123456", "size 99999999999999999999999"),
      with("sha256 00", "sha256 0"),   // one digit short
      with("sha256 00", "sha256 0A"),  // upper case
      with("signature ff", "signature f"),
      with("size 5123456\n", "size 5123456\nexpires 017\n"),
      with("size 5123456\n", "size 5123456\nextra 1\n"),  // an unknown field
      with("name tvimedic.exe\nversion 3.1.0.7\n", "version 3.1.0.7\nname tvimedic.exe\n"),
      good + std::string(5000, 'x'),  // over 4 KB
  };
  for (const std::string& text : refused) {
    EXPECT_FALSE(ParseStatementFile(text)) << text.substr(0, 200);
  }
}

}  // namespace
}  // namespace tvime
