// The "WDPINYIN.BIN" parse, then lookups over whatever rows it produced.

#include "engine/pinyin_input.h"

namespace {

tvime::Lexicon& EmptyLexicon() {
  static tvime::Lexicon lexicon(nullptr);
  return lexicon;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  tvime::PinyinInput pinyin(EmptyLexicon());
  pinyin.LoadPinyinTableFromBytes(std::span<const std::uint8_t>(data, size));
  size_t values = 0;
  for (size_t row = 0; row < tvime::kSyllableRowCount; ++row) values += pinyin.RowAt(row).size();
  if (2 * values > size) __builtin_trap();
  pinyin.AddInitialToken(19);  // y: every row of one initial
  pinyin.SegmentTokens();
  pinyin.LookupPinyin();
  return 0;
}
