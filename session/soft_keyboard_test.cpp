#include "session/soft_keyboard.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <utility>
#include <vector>

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

// The GBK characters of a UTF-8 text, one string each.
std::vector<std::string> GbkCharacters(std::string_view utf8) {
  std::string gbk = G(utf8);
  std::vector<std::string> characters;
  for (size_t i = 0; i < gbk.size();) {
    size_t length = IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) ? 2 : 1;
    characters.push_back(gbk.substr(i, length));
    i += length;
  }
  return characters;
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
  for (const SymbolLayout& layout : SymbolLayouts()) {
    std::uint16_t codes[kSymbolKeyCount];
    EXPECT_TRUE(BoardCodes(layout.unshifted, codes)) << layout.name << " unshifted";
    EXPECT_TRUE(BoardCodes(layout.shifted, codes)) << layout.name << " shifted";
  }
  // A repeat is almost always a slip that hides the symbol meant for that key, and a space typed
  // instead of U+3000 would commit a blank instead of leaving the key empty.
  for (const SymbolTable& table : SymbolTables()) {
    for (const auto* board : {table.unshifted, table.shifted}) {
      std::set<std::uint16_t> seen;
      for (size_t key = 0; key < kSymbolKeyCount; ++key) {
        std::string text = SoftKeyboard::CodeText(board[key]);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(G(GbkToUtf8(text)), text) << "no GBK character: " << std::hex << board[key];
        EXPECT_NE(board[key], ' ') << GbkToUtf8(table.name) << " key " << key;
        if (board[key] == kEmptyKey) continue;
        EXPECT_TRUE(seen.insert(board[key]).second)
            << GbkToUtf8(table.name) << " repeats " << GbkToUtf8(text);
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

TEST(SymbolTablesTest, BoardsAreWrittenInKeyboardRowOrder) {
  // ` first, then 1; / last, after the dot.
  std::string board = "`1";
  for (size_t i = 2; i < kSymbolKeyCount - 2; ++i) board += "　";
  board += "./";
  std::uint16_t codes[kSymbolKeyCount];
  ASSERT_TRUE(BoardCodes(board, codes));
  EXPECT_EQ(codes[*SymbolKeyPosition(0xC0)], '`');
  EXPECT_EQ(codes[*SymbolKeyPosition('1')], '1');
  EXPECT_EQ(codes[*SymbolKeyPosition(0xBE)], '.');
  EXPECT_EQ(codes[*SymbolKeyPosition(0xBF)], '/');
}

TEST(SymbolTablesTest, NamesAreTheMenuNamesInWholeCharacters) {
  const std::vector<std::string> expected = {"常用符号", "标点符号", "特殊符号", "表格线",
                                             "数字序号", "数学符号", "单位符号", "拼音符号",
                                             "注音符号", "日文平假", "日文片假", "希腊字母",
                                             "俄文字母", "全角字符", "正常键盘"};
  ASSERT_EQ(SymbolTables().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const SymbolTable& table = SymbolTables()[i];
    ASSERT_EQ(table.name[sizeof table.name - 1], '\0');
    // The five-character names need 10 bytes and a NUL; they lose their last character.
    EXPECT_EQ(std::string(table.name), G(expected[i])) << i;
  }
}

TEST(SymbolTablesTest, FullWidthAndPlainTablesGiveTheFullWidthOrAsciiFormOfEachKey) {
  const std::pair<size_t, std::array<std::string_view, 2>> tables[] = {
      {kFullWidth,
       {"０１２３４５６７８９ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ；＝，－．／｀［＼"
        "］＇",
        "）！＠＃￥％＾＆＊（ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ：＋＜＿＞？￣｛｜"
        "｝＂"}},
      {kPlainAscii,
       {"0123456789abcdefghijklmnopqrstuvwxyz;=,-./`[\\]'",
        ")!@#$%^&*(ABCDEFGHIJKLMNOPQRSTUVWXYZ:+<_>?~{|}\""}}};
  std::vector<unsigned> keys = SymbolVirtualKeys();
  for (const auto& [table, boards] : tables) {
    for (bool shift : {false, true}) {
      const std::vector<std::string> expected = GbkCharacters(boards[shift]);
      ASSERT_EQ(expected.size(), kSymbolKeyCount);
      for (size_t position = 0; position < kSymbolKeyCount; ++position) {
        EXPECT_EQ(KeyText(table, keys[position], shift), expected[position])
            << "table " << table << " position " << position << (shift ? " shifted" : "");
      }
    }
  }
}

TEST(SymbolKeyPositionTest, CoversTheFortySevenKeysAndNothingNext) {
  std::vector<unsigned> keys = SymbolVirtualKeys();
  for (size_t position = 0; position < kSymbolKeyCount; ++position) {
    EXPECT_EQ(SymbolKeyPosition(keys[position]), position) << std::hex << keys[position];
  }
  for (unsigned key : {0x00u, 0x08u, 0x0Du, 0x20u, 0x2Fu, 0x3Au, 0x40u, 0x5Bu, 0x60u, 0x7Bu, 0xB9u,
                       0xC1u, 0xDAu, 0xDFu, 0xFFu, 0x100u}) {
    EXPECT_EQ(SymbolKeyPosition(key), std::nullopt) << std::hex << key;
  }
}

TEST(SymbolKeyPositionTest, LowerCaseLettersMapLikeTheirKeys) {
  for (unsigned letter = 'a'; letter <= 'z'; ++letter) {
    EXPECT_EQ(SymbolKeyPosition(letter), SymbolKeyPosition(letter - 'a' + 'A'));
  }
}

TEST(SoftKeyboardTest, TranslatePassesBackspaceAndEnterAndGivesZeroForOtherKeys) {
  SoftKeyboard keyboard;
  for (size_t table = 0; table < SymbolTables().size(); ++table) {
    keyboard.SelectByCommand(kCmdFirstSoftKeyboard + static_cast<int>(table));
    for (bool shift : {false, true}) {
      EXPECT_EQ(keyboard.translate(8, shift), 8);
      EXPECT_EQ(keyboard.translate(13, shift), 13);
      EXPECT_EQ(keyboard.translate(0x20, shift), 0);
      EXPECT_EQ(keyboard.translate(0x25, shift), 0);  // left arrow
    }
  }
}

TEST(SoftKeyboardTest, CommandsSelectTablesAndWrapAround) {
  SoftKeyboard keyboard;
  EXPECT_EQ(keyboard.current(), 0u);
  EXPECT_FALSE(keyboard.shown());
  keyboard.SelectByCommand(kCmdFirstSoftKeyboard + 14);
  EXPECT_EQ(keyboard.current(), 14u);
  keyboard.SelectByCommand(kCmdFirstSoftKeyboard + 15);
  EXPECT_EQ(keyboard.current(), 0u);
  keyboard.SelectByCommand(kCmdFirstSoftKeyboard + 31);
  EXPECT_EQ(keyboard.current(), 1u);
  keyboard.SelectByCommand(4028);
  EXPECT_EQ(keyboard.current(), 14u);
  keyboard.SetShown(true);
  EXPECT_TRUE(keyboard.shown());
}

TEST(SoftKeyboardTest, KeyDataHoldsTheCurrentTableAtItsVirtualKeys) {
  SoftKeyboard keyboard = KeyboardWith(kFullWidth);
  SoftKeyboard::KeyData data = keyboard.BuildKeyData();
  EXPECT_EQ(SoftKeyboard::CodeText(data.codes[1][0x31]), G("！"));
  EXPECT_EQ(SoftKeyboard::CodeText(data.codes[0][0xDE]), G("＇"));
  EXPECT_EQ(data.codes[0][0x61], kEmptyKey);  // the code of a, not a key's virtual key
  EXPECT_EQ(data.codes[0][0x20], kEmptyKey);

  // What the window shows is what a key types, on every table.
  for (size_t table = 0; table < SymbolTables().size(); ++table) {
    keyboard.SelectByCommand(kCmdFirstSoftKeyboard + static_cast<int>(table));
    data = keyboard.BuildKeyData();
    for (unsigned key : SymbolVirtualKeys()) {
      for (int shift : {0, 1}) {
        std::uint16_t shown = data.codes[shift][key];
        EXPECT_EQ(keyboard.translate(key, shift), shown == kEmptyKey ? 0 : shown)
            << table << " " << std::hex << key;
      }
    }
  }
}

TEST(SoftKeyboardTest, CodeTextIsOneByteForAsciiElseLeadThenTrail) {
  EXPECT_EQ(SoftKeyboard::CodeText('a'), "a");
  EXPECT_EQ(SoftKeyboard::CodeText(0xA3B0), G("０"));
  EXPECT_EQ(SoftKeyboard::CodeText(0), "");
}

// What each table holds (whole GBK ranges, sets of symbols) and what some keys type on it.
struct TableContents {
  size_t table;
  std::vector<std::pair<std::uint16_t, std::uint16_t>> ranges;
  std::string_view present;  // UTF-8
  std::vector<std::pair<unsigned, std::string_view>> unshifted, shifted;
};

TEST(SymbolTablesTest, EachTableHoldsItsSetsAndItsKeysTypeThem) {
  const TableContents tables[] = {
      {0, {}, "", {{'1', "⑴"}, {'0', "⑽"}, {0xBC, "，"}}, {{'1', "㈠"}, {'0', "㈩"}}},
      {1, {}, "，。、；：？！…—·“”‘’（）《》〈〉【】「」『』", {}, {}},
      {2, {}, "■＾＠▲☆※→←◇↑↓§№", {}, {}},
      {3, {}, "", {{'Q', "┌"}, {'S', "┼"}, {'C', "┘"}}, {{'Q', "┏"}, {'C', "┛"}}},
      // ⅰ…ⅹ, ⒈…⒛, ⑴…⒇, ①…⑩, ㈠…㈩, Ⅰ…Ⅻ; 0xDD is ]
      {4,
       {{0xA2A1, 0xA2AA},
        {0xA2B1, 0xA2C4},
        {0xA2C5, 0xA2D8},
        {0xA2D9, 0xA2E2},
        {0xA2E5, 0xA2EE},
        {0xA2F1, 0xA2FC}},
       "",
       {{'1', "①"}, {'0', "⑩"}},
       {{'P', "Ⅹ"}, {0xDD, "Ⅻ"}}},
      {5, {}, "＋－×÷±＝≠≈＜＞≤≥∞√∑∫∈∪∩∠⊥", {}, {}},
      {6, {}, "十百千万亿元角分拾佰仟圆整℃％‰￥㎏㎞", {}, {}},
      {7, {{0xA8A1, 0xA8BA}}, "", {{'1', "ā"}, {'4', "à"}}, {}},  // ā … ê
      {8,                                                         // ㄅ … ㄩ
       {{0xA8C5, 0xA8E9}},
       "",
       {{'1', "ㄅ"}, {'Q', "ㄆ"}, {'A', "ㄇ"}, {'Z', "ㄈ"}, {0xBD, "ㄦ"}, {'3', "ˇ"}},
       {}},
      {9, {{0xA4A1, 0xA4F3}}, "", {{'1', "あ"}, {0xBF, "ん"}}, {}},   // / ends the basic kana
      {10, {{0xA5A1, 0xA5F6}}, "", {{'1', "ア"}, {0xC0, "ー"}}, {}},  // ァ … ヶ
      {11, {{0xA6A1, 0xA6B8}, {0xA6C1, 0xA6D8}}, "", {{'A', "α"}, {'P', "π"}}, {}},
      {12, {{0xA7A1, 0xA7C1}, {0xA7D1, 0xA7F1}}, "", {}, {}},  // А … Я, а … я
      {kFullWidth, {}, "", {{'q', "ｑ"}}, {{'q', "Ｑ"}}},      // lower case: the letter's key
  };
  for (const TableContents& contents : tables) {
    const std::set<std::uint16_t> codes = CodesOf(contents.table);
    for (auto [first, last] : contents.ranges) {
      for (unsigned code = first; code <= last; ++code) {
        EXPECT_TRUE(codes.count(static_cast<std::uint16_t>(code)))
            << "table " << contents.table << " lacks " << GbkToUtf8(SoftKeyboard::CodeText(code));
      }
    }
    for (const std::string& character : GbkCharacters(contents.present)) {
      auto code = static_cast<std::uint16_t>(static_cast<unsigned char>(character[0]) << 8 |
                                             static_cast<unsigned char>(character[1]));
      EXPECT_TRUE(codes.count(code))
          << "table " << contents.table << " lacks " << GbkToUtf8(character);
    }
    for (bool shift : {false, true}) {
      for (auto [key, utf8] : shift ? contents.shifted : contents.unshifted) {
        EXPECT_EQ(KeyText(contents.table, key, shift), G(utf8))
            << "table " << contents.table << " key " << std::hex << key
            << (shift ? " shifted" : "");
      }
    }
  }
}

TEST(SymbolTablesTest, BoxDrawingIsAllBoxDrawing) {
  for (std::uint16_t code : CodesOf(3)) {
    bool boxDrawing = (code >= 0xA9A4 && code <= 0xA9EF) || (code >= 0xA854 && code <= 0xA877);
    EXPECT_TRUE(boxDrawing || code == kEmptyKey) << GbkToUtf8(SoftKeyboard::CodeText(code));
  }
}

TEST(SymbolTablesTest, UnitTableGivesFinancialNumeralsWithShift) {
  const std::vector<std::string> plain = GbkCharacters("〇一二三四五六七八九");
  const std::vector<std::string> financial = GbkCharacters("零壹贰叁肆伍陆柒捌玖");
  for (unsigned digit = 0; digit < 10; ++digit) {
    EXPECT_EQ(KeyText(6, '0' + digit, false), plain[digit]);
    EXPECT_EQ(KeyText(6, '0' + digit, true), financial[digit]);
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
