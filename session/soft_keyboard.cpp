#include "session/soft_keyboard.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "base/gbk.h"
#include "session/command_id.h"

namespace tvime {
namespace {

// The keys in the order the boards are written, and in key-position order.
constexpr std::string_view kKeysAsWritten = "`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./";
constexpr std::string_view kKeysByPosition = "0123456789abcdefghijklmnopqrstuvwxyz;=,-./`[\\]'";

// Each board in four rows as the keyboard shows them: ` 1 … =, q … p [ ] and backslash,
// a … l ; ', z … m , . /.
constexpr SymbolLayout kLayouts[] = {
    // Digits: the parenthesised numbers, with Shift the parenthesised ideographs (key 0 is the
    // tenth); letters: shapes, brackets, arrows, with Shift Roman numerals and signs; punctuation
    // keys: the full-width form of what the key types.
    {"常用符号",
     "｀⑴⑵⑶⑷⑸⑹⑺⑻⑼⑽－＝"
     "■□▲△●○★☆◆◇［］＼"
     "【】《》「」◎※α；＇"
     "→←↑↓∑√∞，．／",
     "￣㈠㈡㈢㈣㈤㈥㈦㈧㈨㈩＿＋"
     "ⅠⅡⅢⅣⅤⅥⅦⅧⅨⅩ｛｝｜"
     "ⅪⅫ±×÷≈≠≤≥：＂"
     "°℃‰§№￥＄＜＞？"},
    // The commonest marks along the top row, paired brackets and quotes side by side; with Shift
    // the small and vertical forms, mostly under the mark they stand for.
    {"标点符号",
     "‵，。、；：？！…—·～‖"
     "（）《》〈〉【】〖〗〔〕〃"
     "“”‘’「」『』〝〞々"
     "‥–―‐﹏＂＇｜＿￣",
     "　﹐﹒﹑﹔﹕﹖﹗︰︱　　　"
     "︵︶︽︾︿﹀︻︼︷︸︹︺　"
     "﹙﹚﹛﹜﹁﹂﹃﹄﹝﹞　"
     "﹉﹊﹋﹌﹍﹎︳︴　　"},
    // Signs, shapes, arrows, then the full-width ASCII signs; with Shift the block elements, each
    // row growing.
    {"特殊符号",
     "￣§№※〓♂♀¤〒℅℡㈱㊣"
     "☆★○●◎◇◆□■△▲▽▼"
     "→←↑↓↖↗↘↙☉⊕　"
     "◢◣◤◥＃＆＊＠＾＿",
     "　▁▂▃▄▅▆▇█▓▔　　"
     "▏▎▍▌▋▊▉▕　　　　　"
     "＼｜￢￤　　　　　　　"
     "　　　　　　　　　　"},
    // Corners, tees and crosses sit in 3 × 3 blocks shaped like what they draw (q w e / a s d /
    // z x c, r t y / f g h / v b n, u i o / j k l / m , .): thin, double and rounded, with Shift
    // heavy and the single-double mixes; straight, dashed and diagonal lines along the top row.
    {"表格线",
     "　─│═║┄┆┈┊╱╲　　"
     "┌┬┐╔╦╗╭　╮　　　　"
     "├┼┤╠╬╣　╳　　　"
     "└┴┘╚╩╝╰　╯　",
     "　━┃┅┇┉┋　　　　　　"
     "┏┳┓╒╤╕╓╥╖　　　　"
     "┣╋┫╞╪╡╟╫╢　　"
     "┗┻┛╘╧╛╙╨╜　"},
    // One series per keyboard row; Shift gives its next ten or another form of it.
    {"数字序号",
     "　①②③④⑤⑥⑦⑧⑨⑩　　"
     "ⅰⅱⅲⅳⅴⅵⅶⅷⅸⅹ　　　"
     "⑴⑵⑶⑷⑸⑹⑺⑻⑼⑽　"
     "⒈⒉⒊⒋⒌⒍⒎⒏⒐⒑",
     "　㈠㈡㈢㈣㈤㈥㈦㈧㈨㈩　　"
     "ⅠⅡⅢⅣⅤⅥⅦⅧⅨⅩⅪⅫ　"
     "⑾⑿⒀⒁⒂⒃⒄⒅⒆⒇　"
     "⒒⒓⒔⒕⒖⒗⒘⒙⒚⒛"},
    // Arithmetic and comparison along the top rows, then ratios, angles, calculus, sets and
    // logic; the rarest with Shift.
    {"数学符号",
     "⊕＋－×÷±＝≠≈＜＞≤≥"
     "≮≯≦≧≡≌≒∽∝∞√∵∴"
     "∶∷％‰°′″∠⊥∥⌒"
     "∑∏∫∮∪∩∈∧∨⊙",
     "　⊿∟∣∕￢　　　　　　　"
     "　　　　　　　　　　　　　"
     "　　　　　　　　　　　"
     "　　　　　　　　　　"},
    // Chinese numerals on the digits (〇 on 0), Shift giving the financial forms on the same keys;
    // then currency and unit signs. The Suzhou numerals with Shift on a … l.
    {"单位符号",
     "　一二三四五六七八九〇十百"
     "千万亿元角分℃℉°′″％‰"
     "￥＄￡￠¤㎎㎏㎜㎝㎞㎡"
     "㏄㏎㏑㏒㏕№℅℡　　",
     "　壹贰叁肆伍陆柒捌玖零拾佰"
     "仟万亿圆角分整　　　　　　"
     "〡〢〣〤〥〦〧〨〩　　"
     "　　　　　　　　　　"},
    // Each vowel's four tones on four neighbouring keys, then the other pinyin letters and the
    // tone marks.
    {"拼音符号",
     "　āáǎàēéěèīíǐì"
     "ōóǒòūúǔùǖǘǚǜü"
     "êɑńňɡˉˊˇˋ˙　"
     "　　　　　　　　　　",
     "　　　　　　　　　　　　　"
     "　　　　　　　　　　　　　"
     "　　　　　　　　　　　"
     "　　　　　　　　　　"},
    // The standard zhuyin keyboard: the letters run down the columns in zhuyin order, tone marks
    // on 3, 4, 6 and 7.
    {"注音符号",
     "　ㄅㄉˇˋㄓˊ˙ㄚㄞㄢㄦ　"
     "ㄆㄊㄍㄐㄔㄗㄧㄛㄟㄣ　　　"
     "ㄇㄋㄎㄑㄕㄘㄨㄜㄠㄤ　"
     "ㄈㄌㄏㄒㄖㄙㄩㄝㄡㄥ",
     "　　　　　　　　　　　　　"
     "　　　　　　　　　　　　　"
     "　　　　　　　　　　　"
     "　　　　　　　　　　"},
    // The 46 basic kana in gojūon order row by row from 1, ー on `; with Shift the voiced,
    // semi-voiced and small kana in the same order.
    {"日文平假名",
     "ーあいうえおかきくけこさし"
     "すせそたちつてとなにぬねの"
     "はひふへほまみむめもや"
     "ゆよらりるれろわをん",
     "　がぎぐげござじずぜぞだぢ"
     "づでどばびぶべぼぱぴぷぺぽ"
     "ぁぃぅぇぉっゃゅょゎゐ"
     "ゑゝゞ゛゜　　　　　"},
    {"日文片假名",
     "ーアイウエオカキクケコサシ"
     "スセソタチツテトナニヌネノ"
     "ハヒフヘホマミムメモヤ"
     "ユヨラリルレロワヲン",
     "　ガギグゲゴザジズゼゾダヂ"
     "ヅデドバビブベボパピプペポ"
     "ァィゥェォッャュョヮヰ"
     "ヱヴヵヶヽヾ゛゜　　"},
    // The standard Greek keyboard, so that most letters sit on the Latin letter they sound like
    // (α on a, β on b, π on p); Shift for capitals.
    {"希腊字母",
     "　　　　　　　　　　　　　"
     "　　ερτυθιοπ　　　"
     "ασδφγηξκλ　　"
     "ζχψωβνμ　　　",
     "　　　　　　　　　　　　　"
     "　　ΕΡΤΥΘΙΟΠ　　　"
     "ΑΣΔΦΓΗΞΚΛ　　"
     "ΖΧΨΩΒΝΜ　　　"},
    // Cyrillic has no such match with the Latin keys: alphabetical order row by row from 1.
    {"俄文字母",
     "　абвгдеёжзийк"
     "лмнопрстуфхцч"
     "шщъыьэюя　　　"
     "　　　　　　　　　　",
     "　АБВГДЕЁЖЗИЙК"
     "ЛМНОПРСТУФХЦЧ"
     "ШЩЪЫЬЭЮЯ　　　"
     "　　　　　　　　　　"},
    // The full-width form of what each key types.
    {"全角字符",
     "｀１２３４５６７８９０－＝"
     "ｑｗｅｒｔｙｕｉｏｐ［］＼"
     "ａｓｄｆｇｈｊｋｌ；＇"
     "ｚｘｃｖｂｎｍ，．／",
     "￣！＠＃￥％＾＆＊（）＿＋"
     "ＱＷＥＲＴＹＵＩＯＰ｛｝｜"
     "ＡＳＤＦＧＨＪＫＬ：＂"
     "ＺＸＣＶＢＮＭ＜＞？"},
    // Plain ASCII, as the keyboard types it.
    {"正常键盘",
     "`1234567890-="
     "qwertyuiop[]\\"
     "asdfghjkl;'"
     "zxcvbnm,./",
     "~!@#$%^&*()_+"
     "QWERTYUIOP{}|"
     "ASDFGHJKL:\""
     "ZXCVBNM<>?"},
};

constexpr unsigned kVkBack = 0x08;
constexpr unsigned kVkReturn = 0x0D;
constexpr unsigned kVkOem1 = 0xBA;  // ; and the keys after it up to `
constexpr unsigned kVkOem4 = 0xDB;  // [ and the keys after it up to '

unsigned VirtualKeyAt(size_t position) {
  if (position < 10) return static_cast<unsigned>('0' + position);
  if (position < 36) return static_cast<unsigned>('A' + (position - 10));
  if (position < 43) return static_cast<unsigned>(kVkOem1 + (position - 36));
  return static_cast<unsigned>(kVkOem4 + (position - 43));
}

void CopyName(std::string_view utf8, char (&name)[sizeof SymbolTable::name]) {
  std::string gbk = Utf8ToGbk(utf8);
  // Keep the terminating NUL and never end in half a character.
  size_t length = 0;
  while (length < gbk.size()) {
    size_t next = length + (IsGbkLeadByte(static_cast<unsigned char>(gbk[length])) ? 2 : 1);
    if (next >= sizeof name) break;
    length = next;
  }
  std::memset(name, 0, sizeof name);
  std::memcpy(name, gbk.data(), length);
}

std::vector<SymbolTable> BuildTables() {
  std::vector<SymbolTable> tables;
  tables.reserve(std::size(kLayouts));
  for (const SymbolLayout& layout : kLayouts) {
    SymbolTable table{};
    // A broken board (the tests catch one) shows empty keys rather than misplaced symbols.
    if (!BoardCodes(layout.unshifted, table.unshifted)) {
      std::fill(std::begin(table.unshifted), std::end(table.unshifted), kEmptyKey);
    }
    if (!BoardCodes(layout.shifted, table.shifted)) {
      std::fill(std::begin(table.shifted), std::end(table.shifted), kEmptyKey);
    }
    CopyName(layout.name, table.name);
    tables.push_back(table);
  }
  return tables;
}

}  // namespace

std::span<const SymbolLayout> SymbolLayouts() { return kLayouts; }

bool BoardCodes(std::string_view board, std::uint16_t (&codes)[kSymbolKeyCount]) {
  bool lossless = false;
  std::string gbk = Utf8ToGbk(board, &lossless);
  if (!lossless) return false;
  size_t key = 0;
  for (size_t i = 0; i < gbk.size(); ++key) {
    if (key == kSymbolKeyCount) return false;
    auto lead = static_cast<unsigned char>(gbk[i]);
    std::uint16_t code = lead;
    if (IsGbkLeadByte(lead) && i + 1 < gbk.size()) {
      code = static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(gbk[i + 1]));
      i += 2;
    } else if (lead < 0x80) {
      ++i;
    } else {
      // A single byte above ASCII (code page 936 puts € at 0x80) is no GBK character.
      return false;
    }
    codes[kKeysByPosition.find(kKeysAsWritten[key])] = code;
  }
  return key == kSymbolKeyCount;
}

const std::vector<SymbolTable>& SymbolTables() {
  // Built on first use rather than at load time: on Windows the conversion calls into the
  // system, which must not happen while the module is being loaded.
  static const std::vector<SymbolTable> tables = BuildTables();
  return tables;
}

std::optional<size_t> SymbolKeyPosition(unsigned virtualKey) {
  if (virtualKey >= '0' && virtualKey <= '9') return virtualKey - '0';
  if (virtualKey >= 'A' && virtualKey <= 'Z') return 10 + (virtualKey - 'A');
  if (virtualKey >= 'a' && virtualKey <= 'z') return 10 + (virtualKey - 'a');
  if (virtualKey >= kVkOem1 && virtualKey < kVkOem1 + 7) return 36 + (virtualKey - kVkOem1);
  if (virtualKey >= kVkOem4 && virtualKey < kVkOem4 + 4) return 43 + (virtualKey - kVkOem4);
  return std::nullopt;
}

std::uint16_t SoftKeyboard::translate(unsigned virtualKey, bool shift) const {
  if (virtualKey == kVkBack || virtualKey == kVkReturn) {
    return static_cast<std::uint16_t>(virtualKey);
  }
  std::optional<size_t> position = SymbolKeyPosition(virtualKey);
  if (!position) return 0;
  const SymbolTable& table = SymbolTables()[current_];
  std::uint16_t code = (shift ? table.shifted : table.unshifted)[*position];
  return code == kEmptyKey ? 0 : code;
}

void SoftKeyboard::SelectByCommand(int commandId) {
  // Wide enough that no command id overflows; the remainder is made non-negative so that ids
  // below the first command wrap to the last tables.
  const long long count = static_cast<long long>(SymbolTables().size());
  long long index = (static_cast<long long>(commandId) - kCmdFirstSoftKeyboard) % count;
  if (index < 0) index += count;
  current_ = static_cast<size_t>(index);
}

SoftKeyboard::KeyData SoftKeyboard::BuildKeyData() const {
  KeyData data;
  for (auto& codes : data.codes) std::fill(std::begin(codes), std::end(codes), kEmptyKey);
  const SymbolTable& table = SymbolTables()[current_];
  for (size_t position = 0; position < kSymbolKeyCount; ++position) {
    unsigned key = VirtualKeyAt(position);
    data.codes[0][key] = table.unshifted[position];
    data.codes[1][key] = table.shifted[position];
  }
  return data;
}

std::string SoftKeyboard::CodeText(std::uint16_t code) {
  if (code == 0) return {};
  if (code < 0x100) return std::string(1, static_cast<char>(code));
  return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

}  // namespace tvime
