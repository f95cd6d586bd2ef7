#include "calendar/calendar.h"

#include <cmath>

#include "core/errors.h"
#include "platform/clock.h"

namespace zelmor {
namespace {

constexpr std::int64_t kMsPerDay = 86400000;
// Day number of 1899-12-30 counted from 0001-01-01 = 1 (the runtime's DateDelta).
constexpr std::int64_t kDateDelta = 693594;

constexpr int kDaysBefore[2][13] = {
    {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
};

}  // namespace

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInMonth(int Year, int Month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return (Month == 2 && IsLeapYear(Year)) ? 29 : kDays[Month - 1];
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInMonth(Year, Month)) return false;
  std::int64_t y = Year - 1;
  std::int64_t days = y * 365 + y / 4 - y / 100 + y / 400 + kDaysBefore[IsLeapYear(Year) ? 1 : 0][Month] + Day;
  Result = static_cast<double>(days - kDateDelta);
  return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Result) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999) return false;
  Result = static_cast<double>(((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec) / kMsPerDay;
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime r;
  if (!TryEncodeDate(Year, Month, Day, r)) throw EConvertError(u"Argumento inválido para codificar data");
  return r;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  TDateTime r;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, r)) throw EConvertError(u"Argumento inválido para codificar hora");
  return r;
}

TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Min, int Sec, int MSec) {
  double d = EncodeDate(Year, Month, Day);
  double t = EncodeTime(Hour, Min, Sec, MSec);
  return d >= 0 ? d + t : d - t;
}

namespace {

// Splits a value into whole days and milliseconds of the day, rounding to the
// nearest millisecond (so 0.99999999 is the next day at 00:00, not 23:59:59.999).
void Split(double v, std::int64_t& days, std::int64_t& ms) {
  double whole = std::trunc(v);
  double frac = std::fabs(v - whole);
  days = static_cast<std::int64_t>(whole);
  ms = static_cast<std::int64_t>(std::llround(frac * kMsPerDay));
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    days += v < 0 ? -1 : 1;
  }
}

}  // namespace

bool InDateRange(TDateTime Value) {
  // Day -693593 is 0001-01-01 and day 2958465 is 9999-12-31; the fraction is the time.
  return Value.Value > -693594.0 && Value.Value < 2958466.0;
}

void CheckDateRange(TDateTime Value) {
  if (!InDateRange(Value)) throw EConvertError(u"Data fora do intervalo do calendário (de 01/01/0001 a 31/12/9999)");
}

DateParts DecodeDate(TDateTime Value) {
  std::int64_t days, ms;
  Split(Value.Value, days, ms);
  // Civil-from-days on a day count whose day 1 is 0001-01-01.
  std::int64_t n = days + kDateDelta;  // >= 1 for valid dates
  DateParts p;
  if (n <= 0) return p;
  std::int64_t d = n - 1;
  std::int64_t y400 = d / 146097;
  d %= 146097;
  std::int64_t y100 = d / 36524;
  if (y100 == 4) y100 = 3;
  d -= y100 * 36524;
  std::int64_t y4 = d / 1461;
  d %= 1461;
  std::int64_t y1 = d / 365;
  if (y1 == 4) y1 = 3;
  d -= y1 * 365;
  int year = static_cast<int>(y400 * 400 + y100 * 100 + y4 * 4 + y1 + 1);
  const int* table = kDaysBefore[IsLeapYear(year) ? 1 : 0];
  int month = 12;
  while (month > 1 && table[month] > d) --month;
  p.Year = year;
  p.Month = month;
  p.Day = static_cast<int>(d - table[month] + 1);
  return p;
}

TimeParts DecodeTime(TDateTime Value) {
  std::int64_t days, ms;
  Split(Value.Value, days, ms);
  TimeParts t;
  t.Hour = static_cast<int>(ms / 3600000);
  t.Min = static_cast<int>(ms / 60000 % 60);
  t.Sec = static_cast<int>(ms / 1000 % 60);
  t.MSec = static_cast<int>(ms % 1000);
  return t;
}

int DayOfWeek(TDateTime Value) {
  std::int64_t days, ms;
  Split(Value.Value, days, ms);
  // 1899-12-30 was a Saturday (7).
  std::int64_t r = ((days + 6) % 7 + 7) % 7;
  return static_cast<int>(r) + 1;
}

TDateTime TimeOf(TDateTime v) {
  double frac = std::fabs(v.Value - std::trunc(v.Value));
  return frac;
}

TDateTime Now() {
  platform::LocalDateTime n = platform::Service<platform::Clock>::Get().Now();
  return EncodeDateTime(n.Year, n.Month, n.Day, n.Hour, n.Minute, n.Second, n.Millisecond);
}

TDateTime Date() {
  platform::LocalDateTime n = platform::Service<platform::Clock>::Get().Now();
  return EncodeDate(n.Year, n.Month, n.Day);
}

}  // namespace zelmor
