#include "settings/conversion_flags.h"

namespace tvime {

ConversionFlags::ConversionFlags(Settings& settings)
    : settings_(settings),
      word_(static_cast<std::uint16_t>(settings.Read(setting::ConversionSet) | CS_CHINESE_PUNCT)) {}

bool ConversionFlags::Toggle(std::uint16_t bit) {
  bool wasSet = Has(bit);
  Assign(static_cast<std::uint16_t>(wasSet ? word_ & ~bit : word_ | bit));
  return wasSet;
}

void ConversionFlags::Assign(std::uint16_t word) {
  word_ = word;
  settings_.Write(setting::ConversionSet, word_);
}

}  // namespace tvime
