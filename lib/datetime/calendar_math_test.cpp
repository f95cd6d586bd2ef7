#include <gtest/gtest.h>

#include <climits>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/text.h"
#include "datetime/mDataHora.h"
#include "testing/fixed_time_zone.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

TDateTime D(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0) {
  return EncodeDateTime(y, m, d, h, n, s, ms);
}

// Compares at millisecond precision, the precision of the values themselves.
void ExpectSameInstant(TDateTime actual, TDateTime expected, const char* what) {
  DateParts a = DecodeDate(actual), e = DecodeDate(expected);
  TimeParts at = DecodeTime(actual), et = DecodeTime(expected);
  EXPECT_TRUE(a.Year == e.Year && a.Month == e.Month && a.Day == e.Day && at.Hour == et.Hour && at.Min == et.Min &&
              at.Sec == et.Sec && at.MSec == et.MSec)
      << what << ": got " << a.Year << "-" << a.Month << "-" << a.Day << " " << at.Hour << ":" << at.Min << ":"
      << at.Sec << "." << at.MSec;
}

TEST(CalendarMath, MonthStepsClipToTheMonthEnd) {
  struct {
    const char* what;
    TDateTime actual, expected;
  } cases[] = {
      {"31 Jan + 1 month (leap)", TmDt::AddMonths(D(2020, 1, 31, 10, 30), 1), D(2020, 2, 29, 10, 30)},
      {"31 Jan + 1 month", TmDt::AddMonths(D(2019, 1, 31), 1), D(2019, 2, 28)},
      {"31 Mar - 1 month", TmDt::AddMonths(D(2019, 3, 31), -1), D(2019, 2, 28)},
      {"15 Nov + 3 months", TmDt::AddMonths(D(2018, 11, 15), 3), D(2019, 2, 15)},
      {"15 Feb - 14 months", TmDt::AddMonths(D(2019, 2, 15), -14), D(2017, 12, 15)},
      {"31 Jan + 0 months", TmDt::AddMonths(D(2019, 1, 31, 8), 0), D(2019, 1, 31, 8)},
      {"29 Feb + 1 year", TmDt::AddYears(D(2020, 2, 29, 12), 1), D(2021, 2, 28, 12)},
      {"29 Feb + 4 years", TmDt::AddYears(D(2020, 2, 29), 4), D(2024, 2, 29)},
      {"5 Dec - 100 years", TmDt::AddYears(D(2018, 12, 5), -100), D(1918, 12, 5)},
      // Days, then months, then weeks, then years.
      {"SetAjuste days then months", TmDt::SetAjuste(D(2019, 1, 30, 9), 1, 1, 0, 0), D(2019, 2, 28, 9)},
      {"SetAjuste all four", TmDt::SetAjuste(D(2018, 12, 5), 1, 2, 1, 1), D(2020, 2, 13)},
      {"SetAjuste years clip", TmDt::SetAjuste(D(2020, 2, 29), 0, 0, 0, -1), D(2019, 2, 28)},
      {"SetAjuste backwards", TmDt::SetAjuste(D(2019, 3, 1), -1, -1, -1, 0), D(2019, 1, 21)},
  };
  for (const auto& c : cases) ExpectSameInstant(c.actual, c.expected, c.what);
}

TEST(CalendarMath, SetAjusteOfZeroStartsToday) {
  testing::FixedClock clock({2018, 12, 5, 14, 7, 9, 0});
  ExpectSameInstant(TmDt::SetAjuste(0, 0, 0, 0, 0), D(2018, 12, 5), "today at 00:00");
  ExpectSameInstant(TmDt::SetAjuste(0, 1, 0, 0, 0), D(2018, 12, 6), "tomorrow");
  // A value that is not exactly 0 is a date: 30 Dec 1899 06:00.
  ExpectSameInstant(TmDt::SetAjuste(0.25, 1, 0, 0, 0), D(1899, 12, 31, 6), "0.25 + 1 day");
}

TEST(CalendarMath, DayHourAndMinuteSteps) {
  struct {
    const char* what;
    TDateTime actual, expected;
  } cases[] = {
      {"+1 day", TmDt::AddDays(D(2018, 12, 31, 23, 59), 1), D(2019, 1, 1, 23, 59)},
      {"-365 days", TmDt::AddDays(D(2019, 1, 1), -365), D(2018, 1, 1)},
      {"+3 hours", TmDt::AddHours(D(2018, 12, 5, 22), 3), D(2018, 12, 6, 1)},
      {"-25 hours", TmDt::AddHours(D(2018, 12, 5, 10), -25), D(2018, 12, 4, 9)},
      {"+90 minutes", TmDt::AddMinutes(D(2018, 12, 5, 23, 45), 90), D(2018, 12, 6, 1, 15)},
      {"-1 minute", TmDt::AddMinutes(D(2018, 12, 5), -1), D(2018, 12, 4, 23, 59)},
      // Across 30 Dec 1899, where the stored value changes sign.
      {"back across day 0", TmDt::AddDays(D(1899, 12, 30, 6), -1), D(1899, 12, 29, 6)},
      {"forward across day 0", TmDt::AddDays(D(1899, 12, 29, 18), 1), D(1899, 12, 30, 18)},
      {"hours across day 0", TmDt::AddHours(D(1899, 12, 30, 2), -4), D(1899, 12, 29, 22)},
      {"minutes before 1900", TmDt::AddMinutes(D(1850, 6, 1, 23, 30), 45), D(1850, 6, 2, 0, 15)},
  };
  for (const auto& c : cases) ExpectSameInstant(c.actual, c.expected, c.what);
}

// Steps that leave years 1–9999 are refused: the result would be a date no routine
// can read back ("0000-00-00", year 247003).
TEST(CalendarMath, StepsOutOfTheCalendarAreRefused) {
  ExpectSameInstant(TmDt::AddDays(D(1, 1, 2), -1), D(1, 1, 1), "the first day");
  ExpectSameInstant(TmDt::AddMinutes(D(9999, 12, 31, 23, 58), 1), D(9999, 12, 31, 23, 59), "the last minute");
  EXPECT_THROW(TmDt::AddDays(D(1, 1, 1), -1), EConvertError);
  EXPECT_THROW(TmDt::AddDays(D(9999, 12, 31), 1), EConvertError);
  EXPECT_THROW(TmDt::AddHours(D(2020, 1, 1), 2147483647), EConvertError);
  EXPECT_THROW(TmDt::AddMinutes(D(1, 1, 1), -1), EConvertError);
  EXPECT_THROW(TmDt::AddDays(1e300, 1), EConvertError);
  EXPECT_THROW(TmDt::SetAjuste(D(9999, 12, 25), 0, 0, 2, 0), EConvertError);
}

TEST(CalendarMath, WeekAndMonthBounds) {
  // 5 Dec 2018 is a Wednesday; the week runs Sunday 2 to Saturday 8.
  ExpectSameInstant(TmDt::SetInicioDaSemana(D(2018, 12, 5, 14, 30)), D(2018, 12, 2, 14, 30), "start of week");
  ExpectSameInstant(TmDt::SetFimDaSemana(D(2018, 12, 5, 14, 30)), D(2018, 12, 8, 14, 30), "end of week");
  const TDateTime sunday = D(2018, 12, 2, 10, 15, 20, 300), saturday = D(2018, 12, 8, 23, 59, 59, 999);
  EXPECT_EQ(TmDt::SetInicioDaSemana(sunday).Value, sunday.Value);
  EXPECT_EQ(TmDt::SetFimDaSemana(saturday).Value, saturday.Value);
  ExpectSameInstant(TmDt::SetInicioDaSemana(D(2019, 1, 1)), D(2018, 12, 30), "week across the year");
  ExpectSameInstant(TmDt::SetFimDaSemana(D(1899, 12, 25, 6)), D(1899, 12, 30, 6), "week before day 0");

  ExpectSameInstant(TmDt::SetInicioDoMes(D(2018, 12, 5, 14, 30)), D(2018, 12, 1), "start of month");
  ExpectSameInstant(TmDt::SetFimDoMes(D(2018, 12, 5, 14, 30)), D(2018, 12, 31, 23, 59, 59, 999), "end of month");
  ExpectSameInstant(TmDt::SetFimDoMes(D(2020, 2, 1)), D(2020, 2, 29, 23, 59, 59, 999), "end of leap February");
  ExpectSameInstant(TmDt::SetFimDoMes(D(1899, 11, 5)), D(1899, 11, 30, 23, 59, 59, 999), "end of month before day 0");
}

TEST(CalendarMath, SetYear) {
  ExpectSameInstant(TmDt::SetYear(D(2018, 12, 5, 14, 30), 2020), D(2020, 12, 5), "time dropped");
  ExpectSameInstant(TmDt::SetYear(D(2020, 2, 29), 2021), D(2021, 2, 28), "29 Feb to a common year");
  ExpectSameInstant(TmDt::SetYear(D(2020, 2, 29), 2024), D(2024, 2, 28), "29 Feb to a leap year too");
  EXPECT_THROW(TmDt::SetYear(D(2020, 1, 1), 0), EConvertError);
  EXPECT_THROW(TmDt::SetYear(D(2020, 1, 1), 10000), EConvertError);
}

TEST(CalendarMath, LeavingTheYearRangeRaises) {
  EXPECT_THROW(TmDt::AddMonths(D(9999, 12, 1), 1), EConvertError);
  EXPECT_THROW(TmDt::AddYears(D(1, 6, 1), -1), EConvertError);
  EXPECT_THROW(TmDt::AddYears(D(2018, 1, 1), INT_MAX), EConvertError);
  EXPECT_THROW(TmDt::SetAjuste(D(9999, 12, 31), 0, 0, 0, 1), EConvertError);
  ExpectSameInstant(TmDt::AddMonths(D(9999, 11, 30), 1), D(9999, 12, 30), "last month of the range");
}

TEST(CalendarMath, PartsLeapYearsAndMonthLengths) {
  struct {
    TDateTime date;
    int days;
    bool leap;
  } cases[] = {
      {D(2019, 2, 10), 28, false}, {D(2020, 2, 10), 29, true},  {D(1900, 2, 1), 28, false},
      {D(2000, 2, 1), 29, true},   {D(2018, 4, 30), 30, false}, {D(2018, 12, 31, 23, 59), 31, false},
      {D(2100, 2, 1), 28, false},  {D(2400, 2, 1), 29, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TmDt::DaysInMonth(c.date), c.days) << c.date.Value;
    EXPECT_EQ(TmDt::IsLeapYear(c.date), c.leap) << c.date.Value;
  }
  const TDateTime d = D(2018, 12, 5, 23, 59, 59, 999);
  EXPECT_EQ(TmDt::GetDia(d), 5);
  EXPECT_EQ(TmDt::GetMes(d), 12);
  EXPECT_EQ(TmDt::GetAno(d), 2018);
  EXPECT_EQ(TmDt::GetDia(D(1899, 12, 29, 18)), 29);
}

TEST(CalendarMath, MonthAndWeekdayNames) {
  const char16_t* months[] = {u"Janeiro", u"Fevereiro", u"Março",    u"Abril",   u"Maio",     u"Junho",
                              u"Julho",   u"Agosto",    u"Setembro", u"Outubro", u"Novembro", u"Dezembro"};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(TmDt::GetNomeMes(m), months[m - 1]);
  for (int m : {0, 13, -1, INT_MIN}) EXPECT_EQ(TmDt::GetNomeMes(m), u"") << m;

  const char16_t* days[] = {u"Domingo",      u"Segunda-feira", u"Terça-feira", u"Quarta-feira",
                            u"Quinta-feira", u"Sexta-feira",   u"Sábado"};
  for (int d = 1; d <= 7; ++d) EXPECT_EQ(TmDt::GetDiaSemana(d), days[d - 1]);
  for (int d : {0, 8, -1}) EXPECT_EQ(TmDt::GetDiaSemana(d), u"") << d;

  // The reverse counts from Monday: every name GetDiaSemana gives, in any case, maps back.
  for (int d = 1; d <= 7; ++d) {
    const int fromMonday = d == 1 ? 7 : d - 1;
    EXPECT_EQ(TmDt::GetNumeroDiaSemana(TmDt::GetDiaSemana(d)), fromMonday) << d;
    EXPECT_EQ(TmDt::GetNumeroDiaSemana(UpperCase(TmDt::GetDiaSemana(d))), fromMonday) << d;
  }
  struct {
    const char16_t* text;
    int number;
  } cases[] = {
      {u"seg", 1},    {u"TER", 2}, {u"qua", 3}, {u"qui", 4}, {u"sex", 5}, {u"sáb", 6},
      {u"SÁBADO", 6}, {u"dom", 7}, {u"Do", 0},  {u"", 0},    {u"abc", 0}, {u"xxg", 1},  // only the third letter counts
  };
  for (const auto& c : cases) EXPECT_EQ(TmDt::GetNumeroDiaSemana(c.text), c.number) << U16ToUtf8(c.text);
}

TEST(CalendarMath, TimeZoneText) {
  struct {
    int bias;
    const char16_t* text;
  } cases[] = {
      {180, u"-03:00"}, {120, u"-02:00"}, {300, u"-05:00"}, {0, u"00:00"},    {-60, u"01:00"},
      {-600, u"10:00"}, {-330, u"05:30"}, {210, u"-03:30"}, {-765, u"12:45"}, {720, u"-12:00"},
  };
  for (const auto& c : cases) {
    testing::FixedTimeZone zone(c.bias);
    EXPECT_EQ(TmDt::GetTimeZone(), c.text) << c.bias;
  }
}

}  // namespace
}  // namespace zelmor
