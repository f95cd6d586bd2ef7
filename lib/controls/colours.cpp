// Colour texts and the text colour that reads on a background.
#include <cstdint>

#include "controls/controls.h"
#include "core/integer_text.h"

namespace zelmor {
namespace {

constexpr std::uint32_t kButtonFace = 0xFF00000Fu;  // the system's button face

}  // namespace

std::u16string TmRot::ColorToStr(TColor aoCor, bool abSomenteHexadecimal) {
  if (!abSomenteHexadecimal) return ColorToString(aoCor);
  std::u16string text = u"$00";
  AppendUnsigned<16>(text, static_cast<std::uint32_t>(aoCor) & 0xFFFFFFu, 6, true);
  return text;
}

TColor TmRot::InverteCor(TColor aoCor) {
  const auto v = static_cast<std::uint32_t>(aoCor);
  if (v == kButtonFace || aoCor == clDefault) return clBlack;
  const unsigned sum = (v & 0xFFu) + ((v >> 8) & 0xFFu) + ((v >> 16) & 0xFFu);
  return sum > 384 ? clBlack : clWhite;
}

}  // namespace zelmor
