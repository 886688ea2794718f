#pragma once
// Splits a fuzzer's input: the first byte picks the scramble kind, the rest is the resource.

#include <cstddef>
#include <cstdint>
#include <span>

namespace tvime::fuzzing {

struct ResourceInput {
  int kind;
  std::span<const std::uint8_t> resource;
};

inline ResourceInput SplitResourceInput(const std::uint8_t* data, size_t size) {
  if (size == 0) return {0, {}};
  // Mostly plain payloads, so that mutations reach the parser rather than the cipher.
  int kind = data[0] % 8 == 1 ? 1 : data[0] % 8 == 2 ? 2 : 0;
  return {kind, std::span<const std::uint8_t>(data + 1, size - 1)};
}

}  // namespace tvime::fuzzing
