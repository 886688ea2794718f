// The signed statement and the version texts come from the update server before anything is
// verified. Their parses must take any bytes, accept only what reads back as written, and never
// give a version or a size the agent must not act on.

#include <cstdint>
#include <string>

#include "update/release_statement.h"
#include "update/update_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (auto parsed = tvime::ParseStatementFile(text)) {
    const tvime::ReleaseStatement& statement = parsed->statement;
    if (statement.size == 0 || statement.size > tvime::kMaxUpdateFileSize) __builtin_trap();
    for (std::uint32_t part : statement.version) {
      if (part > 65535) __builtin_trap();
    }
    // One spelling only: what was accepted is exactly what writing it gives.
    if (tvime::SignedStatementFile(parsed->signedText, parsed->signature) != text) {
      __builtin_trap();
    }
    if (tvime::StatementText(statement) != parsed->signedText) __builtin_trap();
  }
  if (auto version = tvime::ParseVersion(text)) {
    if (size > tvime::kMaxVersionTextLength) __builtin_trap();
    for (std::uint32_t part : *version) {
      if (part > 65535) __builtin_trap();
    }
    // A question quotes the text: only digits and dots get there.
    if (text.find_first_not_of("0123456789.") != std::string_view::npos) __builtin_trap();
  }
  return 0;
}
