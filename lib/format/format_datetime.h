// Date-time values to text with the classic pattern codes (FormatDateTime), and
// the short forms built on them (DateToStr, TimeToStr, DateTimeToStr). Names and
// separators come from the settings passed in.
#pragma once

#include <string>
#include <string_view>

#include "core/types.h"
#include "regional/format_settings.h"

namespace zelmor {

// Codes (letters in any case): d dd (day), ddd dddd (day name), ddddd dddddd (short /
// long date pattern), m mm (month; minutes when the letter before is an h/hh), mmm mmmm
// (month name), yy yyyy (1–2 y = two digits, 3+ = four), h hh, n nn, s ss, z zzz,
// t tt (short / long time pattern), c (short date, then ' ' + long time unless the
// time is 00:00:00), am/pm and a/p (the letters as written), ampm (fs.TimeAMString /
// TimePMString); any of these three makes h/hh 12-hour. '/' = fs.DateSeparator,
// ':' = fs.TimeSeparator, '…' and "…" literal, anything else copied. Empty = "c".
// Values outside years 1–9999 (or not finite) print zeros and no names; never throws.
// FormatDateTime(u"d 'de' mmmm 'de' yyyy", EncodeDate(2026, 12, 9), Brazilian)
//   == u"9 de dezembro de 2026".
std::u16string FormatDateTime(std::u16string_view Format, TDateTime Value,
                              const TFormatSettings& fs = FormatSettings());

// The date with fs.ShortDateFormat: "09/12/2026".
std::u16string DateToStr(TDateTime Value, const TFormatSettings& fs = FormatSettings());
// The time with fs.LongTimeFormat: "14:05:09".
std::u16string TimeToStr(TDateTime Value, const TFormatSettings& fs = FormatSettings());
// FormatDateTime("c"): "09/12/2026 14:05:09", or "09/12/2026" at midnight.
std::u16string DateTimeToStr(TDateTime Value, const TFormatSettings& fs = FormatSettings());

}  // namespace zelmor
