#pragma once
// The signed statement published beside each updatable file ("<name>.meta"). The signature of a
// file's bytes alone says only "the publisher made these bytes": an older release, or another of
// the publisher's programs, carries a valid one too. The statement binds the bytes to what they
// are meant to be: the file's name, its four-part version, its size and its SHA-256, and
// optionally a time after which it is no longer to be believed. The agent trusts nothing about a
// download that the statement does not say.
//
// The file is text, one field a line, in this order, each line ending in "\n":
//   tvime-release 1
//   name tvimedic.exe
//   version 3.1.0.0
//   size 5123456
//   sha256 <64 lowercase hexadecimal digits>
//   expires <seconds since 1970>          (optional)
//   signature <128 lowercase hexadecimal digits>
// The signature (ECDSA P-256 over SHA-256, r then s) covers every byte before the signature line.
// The manifest "<name>.txt" stays as it was, so that older programs go on finding their updates.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "update/signature.h"

namespace tvime {

// The largest manifest or statement the agent reads, and the largest file it downloads.
inline constexpr size_t kMaxMetadataSize = 4096;
inline constexpr std::uint64_t kMaxUpdateFileSize = 64ull * 1024 * 1024;

struct ReleaseStatement {
  std::string name;  // the published file's name, no folder
  std::array<std::uint32_t, 4> version{};
  std::uint64_t size = 0;
  std::array<std::uint8_t, 32> sha256{};
  std::optional<std::int64_t> expires;  // seconds since 1970
};

// The statement's signed text (every line but the signature).
std::string StatementText(const ReleaseStatement& statement);

// The text followed by its signature line: what "<name>.meta" holds.
std::string SignedStatementFile(std::string_view text,
                                const std::array<std::uint8_t, kSignatureSize>& signature);

// A statement file split into the signed text and the signature; nullopt unless it is a
// statement file as above, at most kMaxMetadataSize bytes, with every field well formed (a name
// of letters, digits, '.', '_' and '-' only; a version as ParseVersion takes it with four parts;
// a size from 1 to kMaxUpdateFileSize). The signature is not checked here.
struct SignedStatement {
  ReleaseStatement statement;
  std::string signedText;
  std::array<std::uint8_t, kSignatureSize> signature{};
};
std::optional<SignedStatement> ParseStatementFile(std::string_view file);

// "a.b.c.d" of a version.
std::string FourPartVersion(const std::array<std::uint32_t, 4>& version);

}  // namespace tvime
