#include "ime/key_filter.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

constexpr unsigned kControl = 0x11;
const ContextState kOpenIdle{true, false, false};

KeyStroke Press(unsigned key) { return {key, false, false, false}; }
KeyStroke Release(unsigned key) { return {key, true, false, false}; }

TEST(KeyTables, TakeWhatTheInputMethodTranslates) {
  const auto& idle = KeysTaken(KeyTable::Idle);
  for (unsigned key : {0x08u, 0x0Du, 0x1Bu, 0x20u, 0x30u, 0x39u, 0x41u, 0x5Au, 0x60u, 0x6Cu, 0x6Fu,
                       0xBAu, 0xC0u, 0xDBu, 0xDEu}) {
    EXPECT_EQ(idle[key], 1) << std::hex << key;
  }
  // Function keys, Tab, paging, arrows, Home/End, Delete, modifiers, Caps Lock pass.
  for (unsigned key : {0x70u, 0x7Bu, 0x09u, 0x21u, 0x22u, 0x25u, 0x28u, 0x23u, 0x24u, 0x2Eu, 0x10u,
                       0x11u, 0x12u, 0x14u, 0xC1u, 0xDFu}) {
    EXPECT_EQ(idle[key], 0) << std::hex << key;
  }
  const auto& composing = KeysTaken(KeyTable::Composing);
  for (unsigned key : {0x23u, 0x24u, 0x25u, 0x26u, 0x27u, 0x28u, 0x2Eu, 0x41u}) {
    EXPECT_EQ(composing[key], 1) << std::hex << key;
  }
  EXPECT_EQ(composing[0x6C], 0);  // VK_SEPARATOR only while idle
  EXPECT_EQ(composing[0x21], 0);

  const auto& soft = KeysTaken(KeyTable::SoftKeyboard);
  int taken = 0;
  for (std::uint8_t entry : soft) taken += entry;
  EXPECT_EQ(taken, 10 + 26 + 11);  // digits, letters, punctuation keys only
  EXPECT_EQ(soft[0x08], 0);
  EXPECT_EQ(soft[0x20], 0);
  EXPECT_EQ(soft[0x60], 0);
}

TEST(KeyFilter, TablesFollowTheContextButReleasesAltChordsAndCtrlPressesAlwaysPass) {
  KeyFilter filter;
  EXPECT_EQ(filter.Filter(Press('A'), kOpenIdle), KeyVerdict::Take);
  EXPECT_EQ(filter.Filter(Press(0x25), kOpenIdle), KeyVerdict::Pass);
  EXPECT_EQ(filter.Filter(Press(0x25), ContextState{true, false, true}), KeyVerdict::Take);
  // With a soft keyboard shown its keys are taken; the others follow the usual tables.
  EXPECT_EQ(filter.Filter(Press('Q'), ContextState{true, true, false}), KeyVerdict::Take);
  EXPECT_EQ(filter.Filter(Press(0x0D), ContextState{true, true, false}), KeyVerdict::Take);
  EXPECT_EQ(filter.Filter(Press(0x70), ContextState{true, true, false}), KeyVerdict::Pass);
  // Closed, or a context that cannot be locked: everything passes.
  EXPECT_EQ(filter.Filter(Press('A'), ContextState{false, false, false}), KeyVerdict::Pass);
  EXPECT_EQ(filter.Filter(Press('A'), std::nullopt), KeyVerdict::Pass);
  // Releases, Alt chords and Ctrl presses always pass.
  EXPECT_EQ(filter.Filter(Release('A'), kOpenIdle), KeyVerdict::Pass);
  EXPECT_EQ(filter.Filter(Press(kControl), kOpenIdle), KeyVerdict::Pass);
  EXPECT_EQ(filter.Filter({'A', false, true, false}, kOpenIdle), KeyVerdict::Pass);
  EXPECT_EQ(filter.Filter({'C', false, false, true}, kOpenIdle), KeyVerdict::Pass);
}

TEST(KeyFilter, CtrlTapTogglesFromTheSecondTapOnAndNeverAfterAChord) {
  KeyFilter filter;
  // The first Ctrl release after loading leaves the state alone.
  EXPECT_EQ(filter.Filter(Press(kControl), kOpenIdle), KeyVerdict::Pass);
  EXPECT_EQ(filter.Filter(Release(kControl), kOpenIdle), KeyVerdict::Pass);
  EXPECT_EQ(filter.Filter(Release(kControl), kOpenIdle), KeyVerdict::ToggleOpen);
  // A closed context toggles open the same way.
  EXPECT_EQ(filter.Filter(Release(kControl), ContextState{}), KeyVerdict::ToggleOpen);

  // Ctrl+C: the release after the chord does not toggle; the tap after that does.
  EXPECT_EQ(filter.Filter({'C', false, false, true}, kOpenIdle), KeyVerdict::Pass);
  EXPECT_EQ(filter.Filter(Release(kControl), kOpenIdle), KeyVerdict::Pass);
  EXPECT_EQ(filter.Filter(Release(kControl), kOpenIdle), KeyVerdict::ToggleOpen);

  // Without a lockable context the tap does nothing and keeps the chord mark.
  EXPECT_EQ(filter.Filter({'V', false, false, true}, kOpenIdle), KeyVerdict::Pass);
  EXPECT_EQ(filter.Filter(Release(kControl), std::nullopt), KeyVerdict::Pass);
  EXPECT_EQ(filter.Filter(Release(kControl), kOpenIdle), KeyVerdict::Pass);
}

}  // namespace
}  // namespace tvime
