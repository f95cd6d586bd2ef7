// Numbers to text the way the classic runtime does it: pattern formatting
// (FormatFloat, FormatCurr), the general format (FloatToStr) and the fixed
// styles of FloatToStrF. Separators come from the settings passed in.
#pragma once

#include <string>
#include <string_view>

#include "core/types.h"
#include "regional/format_settings.h"

namespace zelmor {

// Formats with a pattern: '0' digit always shown, '#' digit shown when significant,
// first '.' = decimal separator, ',' in the integer part = thousands grouping,
// "E+0"/"E-0" = scientific, up to three ';' sections (positive;negative;zero), '…' and
// "…" literal, anything else copied. Rounds half away from zero on the value taken
// to 15 significant digits. A negative section means no automatic '-'; "-0" never shows.
// Empty pattern, NaN, infinities and magnitudes ≥ 1e18 give FloatToStr.
// FormatFloat(u"R$ #,##0.00", 1234.5, Brazilian) == u"R$ 1.234,50".
std::u16string FormatFloat(std::u16string_view Format, double Value, const TFormatSettings& fs = FormatSettings());

// FormatFloat on the exact 4-decimal value (no binary round-off, up to 19 digits).
// FormatCurr(u"0.000", Currency::FromRaw(5), Brazilian) == u"0,001". Empty pattern = CurrToStr.
std::u16string FormatCurr(std::u16string_view Format, Currency Value, const TFormatSettings& fs = FormatSettings());

// A non-negative decimal 0.d[0]d[1]…d[n-1] × 10^exp without leading or trailing zero
// digits; n == 0 is zero.
struct DecimalDigits {
  char d[24];
  int n = 0;
  int exp = 0;
};

// The significant digits of |Value| exactly as the general format writes them (at most
// 15, rounded half away from zero on the exact value). `Value` must be finite.
// GeneralDigits(-123.45) is {"12345", n 5, exp 3}.
DecimalDigits GeneralDigits(double Value);

// General format: up to 15 significant digits, no trailing zeros, no grouping; exponent
// form ("1,5E-5", "1E15") below 0.0001 or from 1e15 up. NaN → "NAN", ±inf → "INF"/"-INF".
std::u16string FloatToStr(double Value, const TFormatSettings& fs = FormatSettings());

// Up to 4 decimals, trailing zeros dropped, no grouping: 1.5 → "1,5".
std::u16string CurrToStr(Currency Value, const TFormatSettings& fs = FormatSettings());

enum class FloatFormat { General, Exponent, Fixed, Number, Currency };

// The classic fixed styles. Precision = significant digits (1–15); Digits =
//   General: minimum exponent digits (exponent form from 10^Precision up or below 0.0001);
//   Exponent: minimum exponent digits, 0–4: (1234.5, Exponent, 5, 3) → "1,2345E+003";
//   Fixed / Number / Currency: decimals, 0–18; Number groups thousands; Currency
//   writes "R$ 1.234,50" / "-R$ 1.234,50" with fs.CurrencyString. These three switch to
//   General when the integer part has more than Precision digits.
std::u16string FloatToStrF(double Value, FloatFormat Format, int Precision, int Digits,
                           const TFormatSettings& fs = FormatSettings());

}  // namespace zelmor
