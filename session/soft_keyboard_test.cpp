#include "session/soft_keyboard.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/utf8.h"
#include "session/command_id.h"
#include "tests/support/gbk_literals.h"

namespace tvime {
namespace {

using testing::G;

constexpr size_t kFullWidth = 13;
constexpr size_t kPlainAscii = 14;

SoftKeyboard KeyboardWith(size_t table) {
  SoftKeyboard keyboard;
  keyboard.SelectByCommand(kCmdFirstSoftKeyboard + static_cast<int>(table));
  return keyboard;
}

std::string KeyText(size_t table, unsigned virtualKey, bool shift) {
  return SoftKeyboard::CodeText(KeyboardWith(table).translate(virtualKey, shift));
}

// Every code of one table, both boards.
std::set<std::uint16_t> CodesOf(size_t table) {
  const SymbolTable& t = SymbolTables()[table];
  std::set<std::uint16_t> codes(std::begin(t.unshifted), std::end(t.unshifted));
  codes.insert(std::begin(t.shifted), std::end(t.shifted));
  return codes;
}

// The virtual keys of the 47 positions, in position order.
std::vector<unsigned> SymbolVirtualKeys() {
  std::vector<unsigned> keys;
  for (unsigned key = '0'; key <= '9'; ++key) keys.push_back(key);
  for (unsigned key = 'A'; key <= 'Z'; ++key) keys.push_back(key);
  for (unsigned key = 0xBA; key <= 0xC0; ++key) keys.push_back(key);
  for (unsigned key = 0xDB; key <= 0xDE; ++key) keys.push_back(key);
  return keys;
}

TEST(SymbolTablesTest, EveryBoardIsFortySevenDistinctGbkCharactersOrEmptyKeys) {
  ASSERT_EQ(SymbolLayouts().size(), 15u);
  ASSERT_EQ(SymbolTables().size(), 15u);
  for (size_t i = 0; i < SymbolLayouts().size(); ++i) {
    const SymbolLayout& layout = SymbolLayouts()[i];
    const SymbolTable& table = SymbolTables()[i];
    std::uint16_t codes[kSymbolKeyCount];
    EXPECT_TRUE(BoardCodes(layout.unshifted, codes)) << layout.name << " unshifted";
    EXPECT_TRUE(BoardCodes(layout.shifted, codes)) << layout.name << " shifted";
    // The name holds 9 bytes and a NUL: a five-character name loses its last character whole.
    ASSERT_EQ(table.name[sizeof table.name - 1], '\0');
    EXPECT_EQ(std::string(table.name), G(layout.name).substr(0, 8)) << layout.name;
    // A repeat is almost always a slip that hides the symbol meant for that key, and a space
    // typed instead of U+3000 would commit a blank instead of leaving the key empty.
    for (const auto* board : {table.unshifted, table.shifted}) {
      std::set<std::uint16_t> seen;
      for (size_t key = 0; key < kSymbolKeyCount; ++key) {
        std::string text = SoftKeyboard::CodeText(board[key]);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(G(GbkToUtf8(text)), text) << "no GBK character: " << std::hex << board[key];
        EXPECT_NE(board[key], ' ') << layout.name << " key " << key;
        if (board[key] == kEmptyKey) continue;
        EXPECT_TRUE(seen.insert(board[key]).second)
            << layout.name << " repeats " << GbkToUtf8(text);
      }
    }
  }
}

TEST(SymbolTablesTest, BoardCodesRejectsWrongLengthsAndCharactersOutsideGbk) {
  std::string empty;
  for (size_t i = 0; i < kSymbolKeyCount; ++i) empty += "　";
  std::uint16_t codes[kSymbolKeyCount];
  ASSERT_TRUE(BoardCodes(empty, codes));
  EXPECT_EQ(codes[0], kEmptyKey);
  EXPECT_EQ(codes[46], kEmptyKey);

  EXPECT_FALSE(BoardCodes(empty.substr(3), codes));
  EXPECT_FALSE(BoardCodes(empty + "　", codes));
  EXPECT_FALSE(BoardCodes(empty + "a", codes));
  EXPECT_FALSE(BoardCodes("😀" + empty.substr(3), codes));
  EXPECT_FALSE(BoardCodes("€" + empty.substr(3), codes));
  EXPECT_FALSE(BoardCodes("ḿ" + empty.substr(3), codes));  // GB 18030 only
}

// Covers the order the boards are written in as well: every key of the plain table.
TEST(SymbolTablesTest, ThePlainTableTypesTheKeysAsciiAndTheFullWidthTableItsFullWidthForm) {
  const std::string_view ascii[] = {"0123456789abcdefghijklmnopqrstuvwxyz;=,-./`[\\]'",
                                    ")!@#$%^&*(ABCDEFGHIJKLMNOPQRSTUVWXYZ:+<_>?~{|}\""};
  std::vector<unsigned> keys = SymbolVirtualKeys();
  for (bool shift : {false, true}) {
    for (size_t position = 0; position < kSymbolKeyCount; ++position) {
      char c = ascii[shift][position];
      EXPECT_EQ(KeyText(kPlainAscii, keys[position], shift), std::string(1, c)) << position;
      // The full-width forms sit U+FEE0 above ASCII; $ and ~ become ￥ and ￣.
      char16_t wide = c == '$' ? u'￥' : c == '~' ? u'￣' : static_cast<char16_t>(c + 0xFEE0);
      EXPECT_EQ(KeyText(kFullWidth, keys[position], shift), G(Utf16ToUtf8(std::u16string(1, wide))))
          << c;
    }
  }
}

TEST(SymbolKeyPositionTest, CoversTheFortySevenKeysAndLowerCaseLettersAndNothingNext) {
  std::vector<unsigned> keys = SymbolVirtualKeys();
  for (size_t position = 0; position < kSymbolKeyCount; ++position) {
    EXPECT_EQ(SymbolKeyPosition(keys[position]), position) << std::hex << keys[position];
  }
  for (unsigned letter = 'a'; letter <= 'z'; ++letter) {
    EXPECT_EQ(SymbolKeyPosition(letter), SymbolKeyPosition(letter - 'a' + 'A'));
  }
  for (unsigned key : {0x00u, 0x08u, 0x0Du, 0x20u, 0x2Fu, 0x3Au, 0x40u, 0x5Bu, 0x60u, 0x7Bu, 0xB9u,
                       0xC1u, 0xDAu, 0xDFu, 0xFFu, 0x100u}) {
    EXPECT_EQ(SymbolKeyPosition(key), std::nullopt) << std::hex << key;
  }
}

TEST(SoftKeyboardTest, CommandsSelectTablesAndWrapAround) {
  SoftKeyboard keyboard;
  EXPECT_EQ(keyboard.current(), 0u);
  EXPECT_FALSE(keyboard.shown());
  const std::pair<int, size_t> selections[] = {{kCmdFirstSoftKeyboard + 14, 14},
                                               {kCmdFirstSoftKeyboard + 15, 0},
                                               {kCmdFirstSoftKeyboard + 31, 1},
                                               {kCmdFirstSoftKeyboard - 1, 14}};
  for (auto [command, table] : selections) {
    keyboard.SelectByCommand(command);
    EXPECT_EQ(keyboard.current(), table) << command;
  }
  keyboard.SetShown(true);
  EXPECT_TRUE(keyboard.shown());
}

// Backspace and Enter pass on every table; keys outside the 47 give nothing.
TEST(SoftKeyboardTest, KeyDataHoldsTheCurrentTableAtItsVirtualKeysAndTranslateGivesTheSame) {
  SoftKeyboard keyboard = KeyboardWith(kFullWidth);
  SoftKeyboard::KeyData data = keyboard.BuildKeyData();
  EXPECT_EQ(data.codes[0][0x61], kEmptyKey);  // the code of a, not a key's virtual key
  EXPECT_EQ(data.codes[0][0x20], kEmptyKey);

  // What the window shows is what a key types, on every table.
  for (size_t table = 0; table < SymbolTables().size(); ++table) {
    keyboard.SelectByCommand(kCmdFirstSoftKeyboard + static_cast<int>(table));
    data = keyboard.BuildKeyData();
    for (int shift : {0, 1}) {
      for (unsigned key : SymbolVirtualKeys()) {
        std::uint16_t shown = data.codes[shift][key];
        EXPECT_EQ(keyboard.translate(key, shift), shown == kEmptyKey ? 0 : shown)
            << table << " " << std::hex << key;
      }
      EXPECT_EQ(keyboard.translate(8, shift), 8);
      EXPECT_EQ(keyboard.translate(13, shift), 13);
      EXPECT_EQ(keyboard.translate(0x20, shift), 0);
      EXPECT_EQ(keyboard.translate(0x25, shift), 0);  // left arrow
    }
  }
}

TEST(SoftKeyboardTest, CodeTextIsOneByteForAsciiElseLeadThenTrail) {
  EXPECT_EQ(SoftKeyboard::CodeText('a'), "a");
  EXPECT_EQ(SoftKeyboard::CodeText(0xA3B0), G("０"));
  EXPECT_EQ(SoftKeyboard::CodeText(0), "");
}

// The alphabets and series each table holds whole.
TEST(SymbolTablesTest, EachTableHoldsItsAlphabetsWhole) {
  struct Range {
    size_t table;
    std::uint16_t first, last;
  };
  // ⅰ…ⅹ, ⒈…⒛, ⑴…⒇, ①…⑩, ㈠…㈩, Ⅰ…Ⅻ; ā…ê; ㄅ…ㄩ; ぁ…ん; ァ…ヶ; Α…Ω, α…ω; А…Я, а…я.
  const Range ranges[] = {{4, 0xA2A1, 0xA2AA},  {4, 0xA2B1, 0xA2C4},  {4, 0xA2C5, 0xA2D8},
                          {4, 0xA2D9, 0xA2E2},  {4, 0xA2E5, 0xA2EE},  {4, 0xA2F1, 0xA2FC},
                          {7, 0xA8A1, 0xA8BA},  {8, 0xA8C5, 0xA8E9},  {9, 0xA4A1, 0xA4F3},
                          {10, 0xA5A1, 0xA5F6}, {11, 0xA6A1, 0xA6B8}, {11, 0xA6C1, 0xA6D8},
                          {12, 0xA7A1, 0xA7C1}, {12, 0xA7D1, 0xA7F1}};
  for (const Range& range : ranges) {
    const std::set<std::uint16_t> codes = CodesOf(range.table);
    for (unsigned code = range.first; code <= range.last; ++code) {
      EXPECT_TRUE(codes.count(static_cast<std::uint16_t>(code)))
          << "table " << range.table << " lacks " << GbkToUtf8(SoftKeyboard::CodeText(code));
    }
  }
}

TEST(SymbolTablesTest, BoxDrawingIsAllBoxDrawing) {
  for (std::uint16_t code : CodesOf(3)) {
    bool boxDrawing = (code >= 0xA9A4 && code <= 0xA9EF) || (code >= 0xA854 && code <= 0xA877);
    EXPECT_TRUE(boxDrawing || code == kEmptyKey) << GbkToUtf8(SoftKeyboard::CodeText(code));
  }
}

TEST(SymbolTablesTest, GreekAndCyrillicCapitalsSitOnShiftOverTheirSmallLetters) {
  // In GBK each capital is a fixed distance before its small letter.
  const std::pair<size_t, std::uint16_t> alphabets[] = {{11, 0x20}, {12, 0x30}};
  for (auto [index, distance] : alphabets) {
    const SymbolTable& table = SymbolTables()[index];
    for (size_t key = 0; key < kSymbolKeyCount; ++key) {
      if (table.unshifted[key] == kEmptyKey) continue;
      EXPECT_EQ(table.shifted[key], table.unshifted[key] - distance) << index << " " << key;
    }
  }
}

}  // namespace
}  // namespace tvime
