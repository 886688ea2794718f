#include "ime/key_filter.h"

namespace tvime {
namespace {

constexpr unsigned kBack = 0x08, kReturn = 0x0D, kEscape = 0x1B, kSpace = 0x20;
constexpr unsigned kEnd = 0x23, kDown = 0x28, kDelete = 0x2E;  // End, Home, the arrows: 0x23-0x28
constexpr unsigned kNumpad0 = 0x60, kDivide = 0x6F, kSeparator = 0x6C;
constexpr unsigned kControl = 0x11;

void TakeRange(std::array<std::uint8_t, 256>& table, unsigned first, unsigned last) {
  for (unsigned key = first; key <= last; ++key) table[key] = 1;
}

// Digits, letters and the eleven punctuation keys (VK_OEM_1 ... VK_OEM_3, VK_OEM_4 ... VK_OEM_7).
void TakeCharacterKeys(std::array<std::uint8_t, 256>& table) {
  TakeRange(table, '0', '9');
  TakeRange(table, 'A', 'Z');
  TakeRange(table, 0xBA, 0xC0);
  TakeRange(table, 0xDB, 0xDE);
}

std::array<std::uint8_t, 256> IdleTable() {
  std::array<std::uint8_t, 256> table{};
  TakeCharacterKeys(table);
  for (unsigned key : {kBack, kReturn, kEscape, kSpace}) table[key] = 1;
  TakeRange(table, kNumpad0, kDivide);
  return table;
}

std::array<std::uint8_t, 256> ComposingTable() {
  std::array<std::uint8_t, 256> table = IdleTable();
  TakeRange(table, kEnd, kDown);
  table[kDelete] = 1;
  table[kSeparator] = 0;
  return table;
}

std::array<std::uint8_t, 256> SoftKeyboardTable() {
  std::array<std::uint8_t, 256> table{};
  TakeCharacterKeys(table);
  return table;
}

}  // namespace

const std::array<std::uint8_t, 256>& KeysTaken(KeyTable table) {
  static const std::array<std::uint8_t, 256> idle = IdleTable();
  static const std::array<std::uint8_t, 256> composing = ComposingTable();
  static const std::array<std::uint8_t, 256> softKeyboard = SoftKeyboardTable();
  switch (table) {
    case KeyTable::Composing:
      return composing;
    case KeyTable::SoftKeyboard:
      return softKeyboard;
    default:
      return idle;
  }
}

KeyVerdict KeyFilter::Filter(const KeyStroke& key, const std::optional<ContextState>& context) {
  bool ctrlRelease = key.release && key.virtualKey == kControl;
  if (key.release && !ctrlRelease) return KeyVerdict::Pass;
  if (!key.release && key.virtualKey == kControl) return KeyVerdict::Pass;
  if (key.altHeld) return KeyVerdict::Pass;
  if (key.ctrlHeld) {
    ctrlCombined_ = true;
    return KeyVerdict::Pass;
  }
  if (!context) return KeyVerdict::Pass;
  if (ctrlRelease && !ctrlCombined_ && !firstCtrlSkip_) return KeyVerdict::ToggleOpen;
  ctrlCombined_ = false;
  firstCtrlSkip_ = false;
  if (!context->open) return KeyVerdict::Pass;
  unsigned index = key.virtualKey & 0xFF;
  if (context->softKeyboardShown && KeysTaken(KeyTable::SoftKeyboard)[index]) {
    return KeyVerdict::Take;
  }
  KeyTable table = context->composing ? KeyTable::Composing : KeyTable::Idle;
  return KeysTaken(table)[index] ? KeyVerdict::Take : KeyVerdict::Pass;
}

}  // namespace tvime
