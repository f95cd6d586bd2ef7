// The integer text the settings files and colour values use.
#pragma once

#include <string_view>

namespace zelmor {

// Leading blanks, an optional sign, then decimal digits, or hexadecimal digits
// after "$" or "0x" (up to 32 bits, taken as signed: "$FFFFFFFF" is -1). Nothing
// may follow. False (and `Value` untouched) for anything else or a decimal
// number outside the 32-bit range.
//   ParseIntegerText(u" -12", v) → v == -12; ParseIntegerText(u"$1F", v) → v == 31
bool ParseIntegerText(std::u16string_view Text, int& Value);

}  // namespace zelmor
