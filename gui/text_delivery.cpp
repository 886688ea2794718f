#include "gui/text_delivery.h"

#include <charconv>

#include "base/gbk.h"

namespace tvime {

std::vector<std::uint16_t> AnsiImeChars(std::string_view gbk) {
  std::vector<std::uint16_t> chars;
  for (size_t i = 0; i < gbk.size();) {
    auto lead = static_cast<unsigned char>(gbk[i]);
    if (IsGbkLeadByte(lead) && i + 1 < gbk.size()) {
      chars.push_back(
          static_cast<std::uint16_t>((lead << 8) | static_cast<unsigned char>(gbk[i + 1])));
      i += 2;
    } else {
      chars.push_back(lead);
      i += 1;
    }
  }
  return chars;
}

std::uint32_t FindChineseLayout(const std::vector<std::string_view>& preloadValues) {
  constexpr std::uint32_t kChinesePrc = 0x0804;
  for (std::string_view text : preloadValues) {
    std::uint32_t layout = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), layout, 16);
    if (error == std::errc() && end != text.data() && (layout & 0xFFFF) == kChinesePrc) {
      return layout;
    }
  }
  return kChinesePrc;
}

}  // namespace tvime
