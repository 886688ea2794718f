// Click sequences on the pinyin panel: any mix of initials, finals and separators must segment
// into keys that name real initials and finals, and the lookups must stay within the lists.

#include <memory>

#include "engine/pinyin_input.h"
#include "tools/dictbuild/dictionary_builder.h"

namespace {

struct Fixture {
  Fixture() {
    using tvime::CharRecord;
    resources.Add("words.bin",
                  Sealed(tvime::BuildCharacterDictionary(
                      {{"\xD6\xD0", "sgas", "", 1, 9}, {"\xB9\xFA", "sgaa", "", 0, 8}})));
    lexicon = std::make_unique<tvime::Lexicon>(nullptr);
    lexicon->SetOptions({.bigCharset = true});
    lexicon->Initialize(&resources);
  }
  static std::vector<std::uint8_t> Sealed(std::vector<std::uint8_t> bin) {
    tvime::SealContainer(bin, tvime::SCRAMBLE_BLOCK);
    return bin;
  }
  tvime::MemoryResources resources;
  std::unique_ptr<tvime::Lexicon> lexicon;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static Fixture fixture;
  tvime::PinyinInput pinyin(*fixture.lexicon);
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
