// Colours as the window system stores them: 0x00BBGGRR (blue-green-red), or a
// system colour (0xFF0000nn: the user's colour number nn), or clNone / clDefault.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelmor {

using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// The colour's name when it has one ("clCream"), else "$" and 8 upper-case
// hexadecimal digits in blue-green-red order.
//   ColorToString(0xF0FBFF) == u"clCream"; ColorToString(12713921) == u"$00C1FFC1"
std::u16string ColorToString(TColor Color);
// A colour name (case ignored) or an integer ("$00C1FFC1", "12713921").
// Anything else raises EConvertError "'%s' não é um valor inteiro válido".
TColor StringToColor(std::u16string_view Text);

}  // namespace zelmor
