#include "platform/text_metrics.h"

#include <cstdint>

namespace zelmor::platform {
namespace {

// Combining diacritical marks draw over the previous character.
bool IsCombining(char16_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
         (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F);
}

}  // namespace

int FixedPitchTextMetrics::TextWidth(std::u16string_view text) const {
  std::int64_t chars = 0;
  for (char16_t c : text)
    if (!(c >= 0xDC00 && c <= 0xDFFF) && !IsCombining(c)) ++chars;  // a low surrogate ends a counted pair
  const std::int64_t w = chars * FCharWidth;
  return w > INT32_MAX ? INT32_MAX : static_cast<int>(w);
}

TextMetrics& TextMetrics::Fallback() {
  static FixedPitchTextMetrics estimate;
  return estimate;
}

}  // namespace zelmor::platform
