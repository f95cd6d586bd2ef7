// Strict text-to-value conversions of the platform runtime: integers, floats,
// dates and times. The Str* forms raise EConvertError with the runtime's message
// (quoting the input as given); the Try* forms return false instead.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/types.h"
#include "regional/format_settings.h"

namespace zelmor {

// Blanks around, optional sign, decimal digits or hex ("$1F", "0x1F"). Hex fills the
// whole width as two's complement ("$FFFFFFFF" = -1); a decimal out of range fails.
// Error: "'12a' não é um valor inteiro válido".
int StrToInt(std::u16string_view S);
std::int64_t StrToInt64(std::u16string_view S);
bool TryStrToInt(std::u16string_view S, int& Value);
bool TryStrToInt64(std::u16string_view S, std::int64_t& Value);

// Blanks around, optional sign, digits with at most one fs.DecimalSeparator (the only
// decimal mark accepted), optional exponent E[+-]digits; no grouping. Exact (nearest
// double); magnitudes past the double range fail, tiny ones give 0.
// StrToFloat(u"-1,5E3", Brazilian) == -1500. Error: "'x' não é um valor de ponto flutuante válido".
double StrToFloat(std::u16string_view S, const TFormatSettings& fs = FormatSettings());
bool TryStrToFloat(std::u16string_view S, double& Value, const TFormatSettings& fs = FormatSettings());

// A currency value exactly (no binary round-off): spaces around, optional sign,
// digits with at most one fs.DecimalSeparator, optional exponent E[+-]digits;
// rounded half away from zero to 4 decimals. False past the currency's range.
//   TryStrToCurr(u"12,34565", v, Brazilian) gives v == Currency::FromRaw(123457)
bool TryStrToCurr(std::u16string_view S, Currency& Value, const TFormatSettings& fs = FormatSettings());

// The lenient reading of a typed amount (TmConv::Str2Float); never raises. Negative
// when the text holds "-" anywhere or both "(" and ")"; only digits and the copied
// decimal separator (RegionalCopies) are read, each `From` character taken as `To`
// first; 0 when nothing is left or the rest is not a number (two decimal separators).
//   LenientStrToFloat(u"R$ 1.234,56") == 1234.56; LenientStrToFloat(u"1,2,3") == 0
double LenientStrToFloat(std::u16string_view S, char16_t From = 0, char16_t To = 0);

// One to three numbers split by fs.DateSeparator, blanks allowed around them, in the
// order of fs.ShortDateFormat (day-month-year, month-day-year or year-month-day).
// Two numbers = this year (zelmor::Date()); a 1–2 digit year falls in the 100 years
// from 50 before this year. StrToDate(u"9/12/26", Brazilian) = 2026-12-09.
// Error: "'x' não é uma data válida".
TDateTime StrToDate(std::u16string_view S, const TFormatSettings& fs = FormatSettings());
bool TryStrToDate(std::u16string_view S, TDateTime& Value, const TFormatSettings& fs = FormatSettings());

// h[:n[:s[.z]]] with fs.TimeSeparator ('.' or fs.DecimalSeparator before the
// milliseconds), an optional AM/PM (or fs.TimeAMString / TimePMString) before or after
// making it 12-hour: "12:30 AM" = 00:30. Error: "'x' não é uma hora válida".
TDateTime StrToTime(std::u16string_view S, const TFormatSettings& fs = FormatSettings());
bool TryStrToTime(std::u16string_view S, TDateTime& Value, const TFormatSettings& fs = FormatSettings());

// A date optionally followed by a time, or a time alone (then on day 0, 1899-12-30).
// Error: "'x' não é uma data e hora válida".
TDateTime StrToDateTime(std::u16string_view S, const TFormatSettings& fs = FormatSettings());
bool TryStrToDateTime(std::u16string_view S, TDateTime& Value, const TFormatSettings& fs = FormatSettings());

}  // namespace zelmor
