// The date-time value's calendar: converting between TDateTime (days since
// 30 December 1899, fraction = time of day) and year/month/day/hour/... parts.
// Proleptic Gregorian, years 1–9999, like the runtime the library was written for.
#pragma once

#include <cstdint>

#include "core/types.h"

namespace zelmor {

bool IsLeapYear(int Year);
// 28–31; 0 for a month outside 1–12.
int DaysInMonth(int Year, int Month);

// False (and `Result` untouched) when the parts do not form a valid date/time.
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Result);
// As above, raising EConvertError ("Data inválida" / "Hora inválida") on invalid parts.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Min, int Sec, int MSec);

struct DateParts {
  int Year = 0, Month = 0, Day = 0;
};
struct TimeParts {
  int Hour = 0, Min = 0, Sec = 0, MSec = 0;
};
// Negative values count back from 1899-12-30; the fraction's sign never changes the day
// the way the runtime does it: the date part is trunc(value), the time is |frac(value)|.
DateParts DecodeDate(TDateTime Value);
// Rounded to the nearest millisecond.
TimeParts DecodeTime(TDateTime Value);

// Whether `Value` stands for a moment of years 1–9999 (and is a number at all).
bool InDateRange(TDateTime Value);
// EConvertError when it does not: arithmetic that leaves the calendar, and values
// from outside, must not be written as "00/00/0000" or year 247003.
void CheckDateRange(TDateTime Value);

// 1 = Sunday … 7 = Saturday.
int DayOfWeek(TDateTime Value);

// Date part only / time part only.
inline TDateTime DateOf(TDateTime v) { return static_cast<double>(static_cast<std::int64_t>(v.Value)); }
TDateTime TimeOf(TDateTime v);

// The clock's current local date-time ("now") and date at 00:00 ("today").
TDateTime Now();
TDateTime Date();

}  // namespace zelmor
