// Click sequences on the pinyin panel: any mix of initials, finals and separators must segment
// into keys that name real initials and finals, and the lookups must stay within the lists.

#include "engine/pinyin_input.h"
#include "engine/test_lexicon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using tvime::testing::Char;
  static tvime::testing::TestLexicon test(
      {Char("中", "sgas", true, 9), Char("国", "sgaa", false, 8)});
  static tvime::Lexicon& lexicon = test.Start();
  tvime::PinyinInput pinyin(lexicon);
  for (size_t i = 0; i < size; ++i) {
    std::uint8_t click = data[i];
    if (click & 0x80) {
      pinyin.AddFinalToken(static_cast<std::uint8_t>(1 + (click & 0x7F) % 36));
    } else if (click == 0x7F) {
      pinyin.RemoveLastToken();
      continue;
    } else {
      pinyin.AddInitialToken(static_cast<std::uint8_t>(1 + click % 24));
    }
    pinyin.SegmentTokens();
    pinyin.LookupPinyin();
    if (pinyin.keys.size() > pinyin.tokens.size()) __builtin_trap();
    for (tvime::SyllableKey key : pinyin.keys) {
      if ((key & 0xFF) >= tvime::kInitials.size() || (key >> 8) >= tvime::kFinals.size()) {
        __builtin_trap();
      }
    }
    for (std::uint8_t final : pinyin.finalList) {
      if (final == 0 || final >= tvime::kFinals.size()) __builtin_trap();
    }
  }
  return 0;
}
