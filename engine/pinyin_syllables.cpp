#include "engine/pinyin_syllables.h"

#include <algorithm>

namespace tvime {

// The syllables the pinyin panel knows, in ascending byte order of their text (the syllable
// search relies on it), each with its weight. Row 0 is the empty syllable.
const std::array<SyllableRow, kSyllableRowCount> kSyllableRows = {{
    {"", 0},       {"a", 7},      {"ai", 60},    {"an", 48},     {"ang", 7},     {"ao", 55},
    {"ba", 49},    {"bai", 25},   {"ban", 43},   {"bang", 31},   {"bao", 54},    {"bei", 61},
    {"ben", 20},   {"beng", 24},  {"bi", 144},   {"bian", 51},   {"biao", 49},   {"bie", 17},
    {"bin", 40},   {"bing", 37},  {"bo", 100},   {"bu", 39},     {"ca", 7},      {"cai", 25},
    {"can", 31},   {"cang", 19},  {"cao", 22},   {"ce", 22},     {"cen", 10},    {"ceng", 8},
    {"cha", 46},   {"chai", 15},  {"chan", 88},  {"chang", 61},  {"chao", 32},   {"che", 22},
    {"chen", 65},  {"cheng", 77}, {"chi", 106},  {"chong", 29},  {"chou", 53},   {"chu", 73},
    {"chua", 1},   {"chuai", 8},  {"chuan", 28}, {"chuang", 19}, {"chui", 20},   {"chun", 35},
    {"chuo", 27},  {"ci", 53},    {"cong", 39},  {"cou", 7},     {"cu", 27},     {"cuan", 18},
    {"cui", 35},   {"cun", 13},   {"cuo", 34},   {"da", 40},     {"dai", 48},    {"dan", 90},
    {"dang", 43},  {"dao", 42},   {"de", 9},     {"dei", 1},     {"den", 2},     {"deng", 21},
    {"di", 105},   {"dia", 1},    {"dian", 55},  {"diao", 40},   {"die", 50},    {"ding", 37},
    {"diu", 5},    {"dong", 46},  {"dou", 32},   {"du", 54},     {"duan", 22},   {"dui", 30},
    {"dun", 34},   {"duo", 54},   {"e", 91},     {"ei", 2},      {"en", 5},      {"eng", 1},
    {"er", 49},    {"fa", 22},    {"fan", 65},   {"fang", 29},   {"fei", 67},    {"fen", 59},
    {"feng", 51},  {"fiao", 1},   {"fo", 2},     {"fou", 8},     {"fu", 185},    {"ga", 16},
    {"gad", 2},    {"gai", 27},   {"gan", 52},   {"gang", 31},   {"gao", 35},    {"ge", 71},
    {"gei", 2},    {"gen", 7},    {"geng", 26},  {"gong", 40},   {"gou", 43},    {"gu", 87},
    {"gua", 30},   {"guai", 10},  {"guan", 52},  {"guang", 21},  {"gui", 94},    {"gun", 21},
    {"guo", 49},   {"ha", 5},     {"hai", 23},   {"han", 76},    {"hang", 23},   {"hao", 47},
    {"he", 81},    {"hei", 4},    {"hen", 9},    {"heng", 17},   {"heui", 1},    {"hng", 1},
    {"hong", 65},  {"hou", 31},   {"hu", 117},   {"hua", 42},    {"huai", 16},   {"huan", 75},
    {"huang", 58}, {"hui", 125},  {"hun", 34},   {"huo", 56},    {"ji", 254},    {"jia", 85},
    {"jian", 179}, {"jiang", 49}, {"jiao", 116}, {"jie", 121},   {"jin", 83},    {"jing", 85},
    {"jiong", 20}, {"jiu", 51},   {"ju", 143},   {"juan", 49},   {"jue", 77},    {"jun", 45},
    {"ka", 8},     {"kai", 33},   {"kan", 31},   {"kang", 19},   {"kao", 14},    {"ke", 73},
    {"ken", 11},   {"keng", 12},  {"kong", 14},  {"kou", 19},    {"ku", 27},     {"kua", 13},
    {"kuai", 27},  {"kuan", 8},   {"kuang", 41}, {"kui", 63},    {"kun", 30},    {"kuo", 18},
    {"la", 28},    {"lai", 38},   {"lan", 62},   {"lang", 30},   {"lao", 43},    {"le", 18},
    {"lei", 59},   {"leng", 11},  {"li", 198},   {"lia", 2},     {"lian", 78},   {"liang", 38},
    {"liao", 55},  {"lie", 32},   {"lin", 59},   {"ling", 67},   {"liu", 59},    {"lo", 1},
    {"long", 50},  {"lou", 41},   {"lu", 123},   {"luan", 32},   {"lun", 26},    {"luo", 65},
    {"lv", 55},    {"lve", 4},    {"m", 2},      {"ma", 37},     {"mai", 19},    {"man", 44},
    {"mang", 28},  {"mao", 55},   {"masi", 1},   {"me", 5},      {"mei", 58},    {"men", 28},
    {"meng", 47},  {"mi", 71},    {"mian", 36},  {"miao", 23},   {"mie", 16},    {"min", 42},
    {"ming", 24},  {"miu", 4},    {"mo", 73},    {"mou", 15},    {"mu", 48},     {"na", 28},
    {"nai", 24},   {"nan", 24},   {"nang", 13},  {"nao", 32},    {"ne", 8},      {"nei", 10},
    {"nen", 2},    {"neng", 3},   {"ng", 1},     {"ni", 59},     {"nian", 28},   {"niang", 4},
    {"niao", 13},  {"nie", 47},   {"nin", 2},    {"ning", 24},   {"niu", 14},    {"nong", 18},
    {"nou", 5},    {"nu", 12},    {"nuan", 5},   {"nuo", 21},    {"nv", 8},      {"nve", 4},
    {"o", 3},      {"ou", 31},    {"pa", 18},    {"pai", 14},    {"pan", 46},    {"pang", 22},
    {"pao", 27},   {"pei", 34},   {"pen", 9},    {"peng", 55},   {"pi", 93},     {"pian", 27},
    {"piao", 30},  {"pie", 9},    {"pin", 24},   {"ping", 36},   {"po", 40},     {"pou", 8},
    {"pu", 51},    {"qi", 172},   {"qia", 17},   {"qian", 120},  {"qiang", 53},  {"qiao", 83},
    {"qie", 32},   {"qin", 62},   {"qing", 51},  {"qiong", 28},  {"qiu", 67},    {"qu", 85},
    {"quan", 61},  {"que", 33},   {"qun", 9},    {"ran", 13},    {"rang", 18},   {"rao", 16},
    {"re", 7},     {"ren", 37},   {"reng", 5},   {"ri", 4},      {"rong", 39},   {"rou", 20},
    {"ru", 43},    {"ruan", 11},  {"rui", 19},   {"run", 5},     {"ruo", 14},    {"sa", 22},
    {"sai", 12},   {"san", 18},   {"sang", 11},  {"sao", 21},    {"se", 26},     {"sen", 3},
    {"seng", 2},   {"sha", 45},   {"shai", 7},   {"shan", 75},   {"shang", 31},  {"shao", 34},
    {"she", 40},   {"shei", 1},   {"shen", 74},  {"sheng", 42},  {"shi", 157},   {"shou", 19},
    {"shu", 94},   {"shua", 3},   {"shuai", 8},  {"shuan", 7},   {"shuang", 18}, {"shui", 15},
    {"shun", 10},  {"shuo", 20},  {"si", 76},    {"song", 32},   {"sou", 28},    {"su", 58},
    {"suan", 9},   {"sui", 52},   {"sun", 21},   {"suo", 33},    {"ta", 45},     {"tai", 38},
    {"tan", 74},   {"tang", 55},  {"tao", 41},   {"te", 10},     {"teng", 14},   {"ti", 70},
    {"tian", 42},  {"tiao", 43},  {"tie", 16},   {"ting", 44},   {"tong", 53},   {"tou", 19},
    {"tu", 53},    {"tuan", 24},  {"tui", 23},   {"tun", 22},    {"tuo", 66},    {"tuoki", 1},
    {"wa", 29},    {"wai", 7},    {"wan", 72},   {"wang", 26},   {"wei", 163},   {"wen", 47},
    {"weng", 15},  {"wo", 45},    {"wu", 123},   {"xi", 202},    {"xia", 62},    {"xian", 161},
    {"xiang", 66}, {"xiao", 92},  {"xie", 108},  {"xin", 38},    {"xing", 35},   {"xiong", 15},
    {"xiu", 35},   {"xu", 107},   {"xuan", 79},  {"xue", 34},    {"xun", 75},    {"ya", 68},
    {"yan", 191},  {"yang", 66},  {"yao", 106},  {"ye", 61},     {"yi", 255},    {"yin", 96},
    {"ying", 105}, {"yo", 3},     {"yong", 55},  {"you", 93},    {"yu", 241},    {"yuan", 90},
    {"yue", 56},   {"yun", 79},   {"za", 19},    {"zad", 2},     {"zai", 17},    {"zan", 35},
    {"zang", 13},  {"zao", 29},   {"ze", 38},    {"zei", 3},     {"zen", 3},     {"zeng", 19},
    {"zha", 58},   {"zhai", 25},  {"zhan", 66},  {"zhang", 50},  {"zhao", 42},   {"zhe", 46},
    {"zhen", 89},  {"zheng", 53}, {"zhi", 201},  {"zhong", 44},  {"zhou", 60},   {"zhu", 121},
    {"zhua", 7},   {"zhuai", 2},  {"zhuan", 42}, {"zhuang", 21}, {"zhui", 30},   {"zhun", 16},
    {"zhuo", 57},  {"zi", 84},    {"zong", 40},  {"zou", 25},    {"zu", 26},     {"zuan", 14},
    {"zui", 25},   {"zun", 20},   {"zuo", 30},
}};

namespace {

template <size_t N>
std::optional<std::uint8_t> IndexIn(const std::array<std::string_view, N>& table,
                                    std::string_view text) {
  for (size_t i = 0; i < N; ++i) {
    if (table[i] == text) return static_cast<std::uint8_t>(i);
  }
  return std::nullopt;
}

Syllable Split(const SyllableRow& row) {
  Syllable syllable{row.text, row.text, row.weight, 0, 0};
  if (row.text != "ng") {
    // The longest initial that begins the syllable: zh, ch and sh before z, c and s.
    for (std::uint8_t i = 1; i < kSeparatorInitial; ++i) {
      std::string_view initial = kInitials[i];
      if (row.text.starts_with(initial) && initial.size() > kInitials[syllable.initial].size()) {
        syllable.initial = i;
      }
    }
    syllable.finalText = row.text.substr(kInitials[syllable.initial].size());
  }
  syllable.final = IndexIn(kFinals, syllable.finalText).value_or(0);
  return syllable;
}

}  // namespace

const std::array<Syllable, kSyllableRowCount>& Syllables() {
  static const std::array<Syllable, kSyllableRowCount> syllables = [] {
    std::array<Syllable, kSyllableRowCount> split{};
    for (size_t r = 0; r < kSyllableRowCount; ++r) split[r] = Split(kSyllableRows[r]);
    return split;
  }();
  return syllables;
}

std::optional<size_t> FindSyllable(std::string_view text) {
  if (text.empty()) return std::nullopt;
  auto begin = kSyllableRows.begin() + 1;
  auto it =
      std::lower_bound(begin, kSyllableRows.end(), text,
                       [](const SyllableRow& row, std::string_view t) { return row.text < t; });
  if (it == kSyllableRows.end() || it->text != text) return std::nullopt;
  return static_cast<size_t>(it - kSyllableRows.begin());
}

std::optional<std::uint8_t> FindInitial(std::string_view text) { return IndexIn(kInitials, text); }

std::optional<std::uint8_t> FindFinal(std::string_view text) { return IndexIn(kFinals, text); }

}  // namespace tvime
