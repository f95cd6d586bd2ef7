#include "forms/colors.h"

#include <cstdint>

#include "core/errors.h"
#include "core/integer_text.h"
#include "core/text.h"
#include "parsing/conversions.h"

namespace zelmor {
namespace {

constexpr TColor System(int n) { return static_cast<TColor>(0xFF000000u | static_cast<unsigned>(n)); }

constexpr std::pair<std::u16string_view, TColor> kNames[] = {
    {u"clBlack", 0x000000},
    {u"clMaroon", 0x000080},
    {u"clGreen", 0x008000},
    {u"clOlive", 0x008080},
    {u"clNavy", 0x800000},
    {u"clPurple", 0x800080},
    {u"clTeal", 0x808000},
    {u"clGray", 0x808080},
    {u"clSilver", 0xC0C0C0},
    {u"clRed", 0x0000FF},
    {u"clLime", 0x00FF00},
    {u"clYellow", 0x00FFFF},
    {u"clBlue", 0xFF0000},
    {u"clFuchsia", 0xFF00FF},
    {u"clAqua", 0xFFFF00},
    {u"clWhite", 0xFFFFFF},
    {u"clMoneyGreen", 0xC0DCC0},
    {u"clSkyBlue", 0xF0CAA6},
    {u"clCream", 0xF0FBFF},
    {u"clMedGray", 0xA4A0A0},
    {u"clScrollBar", System(0)},
    {u"clBackground", System(1)},
    {u"clActiveCaption", System(2)},
    {u"clInactiveCaption", System(3)},
    {u"clMenu", System(4)},
    {u"clWindow", System(5)},
    {u"clWindowFrame", System(6)},
    {u"clMenuText", System(7)},
    {u"clWindowText", System(8)},
    {u"clCaptionText", System(9)},
    {u"clActiveBorder", System(10)},
    {u"clInactiveBorder", System(11)},
    {u"clAppWorkSpace", System(12)},
    {u"clHighlight", System(13)},
    {u"clHighlightText", System(14)},
    {u"clBtnFace", System(15)},
    {u"clBtnShadow", System(16)},
    {u"clGrayText", System(17)},
    {u"clBtnText", System(18)},
    {u"clInactiveCaptionText", System(19)},
    {u"clBtnHighlight", System(20)},
    {u"cl3DDkShadow", System(21)},
    {u"cl3DLight", System(22)},
    {u"clInfoText", System(23)},
    {u"clInfoBk", System(24)},
    {u"clHotLight", System(26)},
    {u"clGradientActiveCaption", System(27)},
    {u"clGradientInactiveCaption", System(28)},
    {u"clMenuHighlight", System(29)},
    {u"clMenuBar", System(30)},
    {u"clNone", clNone},
    {u"clDefault", clDefault},
};

}  // namespace

std::u16string ColorToString(TColor Color) {
  for (const auto& [name, value] : kNames)
    if (value == Color) return std::u16string(name);
  std::u16string out = u"$";
  AppendUnsigned<16>(out, static_cast<std::uint32_t>(Color), 8, true);
  return out;
}

TColor StringToColor(std::u16string_view Text) {
  for (const auto& [name, value] : kNames)
    if (SameText(name, Text)) return value;
  return StrToInt(Text);
}

}  // namespace zelmor
