#pragma once
// The symbol soft keyboards: fifteen tables that turn a typed key into a symbol.
//
// Every table covers the same 47 keys, numbered by key position: 0-9 the digit keys, 10-35 the
// letters A-Z, 36-42 the keys ; = , - . / ` and 43-46 the keys [ \ ] '. A symbol is a character
// code: a GBK character as a 16-bit number, lead byte high (0xA3B0 is "０"), or below 0x100 a
// single-byte ASCII character.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tvime {

inline constexpr size_t kSymbolKeyCount = 47;
// The ideographic space marks a key without a symbol.
inline constexpr std::uint16_t kEmptyKey = 0xA1A1;

struct SymbolTable {
  std::uint16_t unshifted[kSymbolKeyCount];  // character codes by key position
  std::uint16_t shifted[kSymbolKeyCount];
  char name[10];  // GBK, NUL-terminated; a longer name is cut at a character boundary
};
static_assert(sizeof(SymbolTable) == 198);

// A table as written in the source: each board is UTF-8 text of one character per key, in the
// order the keyboard shows them row by row (` 1 … 0 - =, then q … p [ ] and backslash, then
// a … l ; ', then z … m , . /), U+3000 for a key without a symbol.
struct SymbolLayout {
  std::string_view name;
  std::string_view unshifted;
  std::string_view shifted;
};

std::span<const SymbolLayout> SymbolLayouts();

// Converts one board of a layout to character codes by key position. False (with `codes` partly
// written) when the board does not hold exactly 47 characters or holds one GBK cannot encode.
bool BoardCodes(std::string_view board, std::uint16_t (&codes)[kSymbolKeyCount]);

// The fifteen tables, built from the layouts on first use.
const std::vector<SymbolTable>& SymbolTables();

// The key position of a virtual key, or of a lower-case letter's character code (0x61-0x7A);
// nullopt for any other key. Since 0x61-0x7A are taken as letters, the numeric-keypad and
// function keys that share those virtual-key values must not be passed.
std::optional<size_t> SymbolKeyPosition(unsigned virtualKey);

class SoftKeyboard {
 public:
  // Backspace (8) and Enter (13) come back unchanged so that they keep working while a soft
  // keyboard is shown; any other key outside the 47 positions, and an empty key, give 0.
  std::uint16_t translate(unsigned virtualKey, bool shift) const;

  // The menu commands 4029, 4030, … select the tables in order.
  void SelectByCommand(int commandId);
  size_t current() const { return current_; }
  bool shown() const { return shown_; }
  void SetShown(bool shown) { shown_ = shown; }

  // What the system's soft-keyboard window displays: codes[0] without Shift, codes[1] with it,
  // indexed by virtual key; keys outside the 47 positions hold kEmptyKey.
  struct KeyData {
    std::uint16_t codes[2][256];
  };
  KeyData BuildKeyData() const;

  // The GBK text a translated code commits; empty for 0 (no symbol).
  static std::string CodeText(std::uint16_t code);

 private:
  size_t current_ = 0;
  bool shown_ = false;
};

}  // namespace tvime
