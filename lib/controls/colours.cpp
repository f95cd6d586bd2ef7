// Colour texts and the text colour that reads on a background.
#include <cstdint>

#include "controls/controls.h"

namespace zelmor {
namespace {

constexpr std::uint32_t kButtonFace = 0xFF00000Fu;  // the system's button face

}  // namespace

std::u16string TmRot::ColorToStr(TColor aoCor, bool abSomenteHexadecimal) {
  if (!abSomenteHexadecimal) return ColorToString(aoCor);
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  const auto v = static_cast<std::uint32_t>(aoCor);
  std::u16string text = u"$00";
  for (int shift : {20, 16, 12, 8, 4, 0}) text += kDigits[(v >> shift) & 0xFu];
  return text;
}

TColor TmRot::InverteCor(TColor aoCor) {
  const auto v = static_cast<std::uint32_t>(aoCor);
  if (v == kButtonFace || aoCor == clDefault) return clBlack;
  const unsigned sum = (v & 0xFFu) + ((v >> 8) & 0xFFu) + ((v >> 16) & 0xFFu);
  return sum > 384 ? clBlack : clWhite;
}

}  // namespace zelmor
