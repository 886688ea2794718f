#include "update/release_statement.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "update/update_rules.h"

namespace tvime {
namespace {

constexpr std::string_view kHeader = "tvime-release 1";

std::string Hex(const std::uint8_t* bytes, size_t size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

// Lowercase hexadecimal of exactly out.size() bytes.
template <size_t N>
bool ParseHex(std::string_view text, std::array<std::uint8_t, N>& out) {
  if (text.size() != 2 * N) return false;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  for (size_t i = 0; i < N; ++i) {
    int high = digit(text[2 * i]), low = digit(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    out[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return true;
}

// A decimal number without sign, leading zeros or anything after it.
template <typename Number>
bool ParseDecimal(std::string_view text, Number& out) {
  if (text.empty() || text.size() > 19 || (text.size() > 1 && text[0] == '0')) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

bool IsFileName(std::string_view name) {
  if (name.empty() || name.size() > 64 || name == "." || name == "..") return false;
  for (char c : name) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '.' || c == '_' || c == '-';
    if (!ok) return false;
  }
  return true;
}

// "key value" lines; nullopt unless every line ends in "\n".
std::optional<std::vector<std::string_view>> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The value of a line "key value", or nullopt when the line has another key.
std::optional<std::string_view> Field(std::string_view line, std::string_view key) {
  if (line.size() <= key.size() + 1 || line.substr(0, key.size()) != key ||
      line[key.size()] != ' ') {
    return std::nullopt;
  }
  return line.substr(key.size() + 1);
}

}  // namespace

std::string FourPartVersion(const std::array<std::uint32_t, 4>& version) {
  return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." +
         std::to_string(version[2]) + "." + std::to_string(version[3]);
}

std::string StatementText(const ReleaseStatement& statement) {
  std::string text = std::string(kHeader) + "\n";
  text += "name " + statement.name + "\n";
  text += "version " + FourPartVersion(statement.version) + "\n";
  text += "size " + std::to_string(statement.size) + "\n";
  text += "sha256 " + Hex(statement.sha256.data(), statement.sha256.size()) + "\n";
  if (statement.expires) text += "expires " + std::to_string(*statement.expires) + "\n";
  return text;
}

std::string SignedStatementFile(std::string_view text,
                                const std::array<std::uint8_t, kSignatureSize>& signature) {
  return std::string(text) + "signature " + Hex(signature.data(), signature.size()) + "\n";
}

std::optional<SignedStatement> ParseStatementFile(std::string_view file) {
  if (file.size() > kMaxMetadataSize) return std::nullopt;
  auto lines = Lines(file);
  if (!lines || (lines->size() != 6 && lines->size() != 7)) return std::nullopt;
  const auto& line = *lines;
  SignedStatement result;
  ReleaseStatement& statement = result.statement;
  auto name = Field(line[1], "name");
  auto version = Field(line[2], "version");
  auto size = Field(line[3], "size");
  auto sha = Field(line[4], "sha256");
  auto signature = Field(line.back(), "signature");
  if (line[0] != kHeader || !name || !version || !size || !sha || !signature ||
      !IsFileName(*name) || !ParseDecimal(*size, statement.size) ||
      !ParseHex(*sha, statement.sha256) || !ParseHex(*signature, result.signature)) {
    return std::nullopt;
  }
  statement.name = std::string(*name);
  auto parts = ParseVersion(*version);
  // Four parts always, so that no two texts name the same signed version.
  if (!parts || std::count(version->begin(), version->end(), '.') != 3) return std::nullopt;
  statement.version = *parts;
  if (statement.size == 0 || statement.size > kMaxUpdateFileSize) return std::nullopt;
  if (line.size() == 7) {
    auto expires = Field(line[5], "expires");
    std::int64_t when = 0;
    if (!expires || !ParseDecimal(*expires, when)) return std::nullopt;
    statement.expires = when;
  }
  result.signedText = std::string(file.substr(0, file.size() - line.back().size() - 1));
  // What was parsed is exactly what was signed: no second spelling of the same statement.
  if (StatementText(statement) != result.signedText) return std::nullopt;
  return result;
}

}  // namespace tvime
