#pragma once
// The process-wide conversion flags word, persisted as "ConversionSet".

#include <cstdint>

#include "settings/settings.h"

namespace tvime {

enum ConversionBit : std::uint16_t {
  CS_CHINESE_PUNCT = 1,  // Chinese punctuation
  CS_FULL_SHAPE = 2,     // full-width ASCII
  CS_BIG_CHARSET = 4,    // the large character set; clear means common characters only
  CS_SOFT_KEYBOARD = 8,  // a soft keyboard is shown
  CS_SMALL_PANEL = 16,   // the small panel (toggled by the status window)
};

class ConversionFlags {
 public:
  // Reads "ConversionSet" (default 4). Every process starts with Chinese punctuation on: the bit
  // is forced on in memory only, not written back.
  explicit ConversionFlags(Settings& settings);

  std::uint16_t word() const { return word_; }
  bool Has(std::uint16_t bit) const { return (word_ & bit) != 0; }

  // Flips one flag and writes the word. Returns true when the flag was set (and is now clear);
  // callers pick the new icon from this.
  bool Toggle(std::uint16_t bit);
  // Sets the whole word and writes it (the settings dialog's OK).
  void Assign(std::uint16_t word);

 private:
  Settings& settings_;
  std::uint16_t word_;
};

}  // namespace tvime
