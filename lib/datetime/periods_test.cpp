#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calendar/calendar.h"
#include "core/text.h"
#include "datetime/mDataHora.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

TDateTime D(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0) {
  return EncodeDateTime(y, m, d, h, n, s, ms);
}

// "1/3 10:00-3/3 10:00" style text of a period list, for readable comparisons.
std::string Describe(const TAPeriodo& periods) {
  std::string out;
  auto one = [](TDateTime v) {
    DateParts d = DecodeDate(v);
    TimeParts t = DecodeTime(v);
    std::string s = std::to_string(d.Day) + "/" + std::to_string(d.Month);
    if (t.Hour || t.Min) s += " " + std::to_string(t.Hour) + "h" + (t.Min ? std::to_string(t.Min) : "");
    return s;
  };
  for (const TPeriodo& p : periods) {
    if (!out.empty()) out += ", ";
    out += one(p.DtInicial) + "-" + one(p.DtFinal);
  }
  return out;
}

TEST(Periods, SplitIntoFixedNumbersOfDays) {
  struct {
    TDateTime from, to;
    int days;
    const char* expected;
  } cases[] = {
      {D(2018, 3, 1), D(2018, 3, 10), 3, "1/3-3/3, 4/3-6/3, 7/3-9/3, 10/3-10/3"},
      {D(2018, 3, 1), D(2018, 3, 9), 3, "1/3-3/3, 4/3-6/3, 7/3-9/3"},
      {D(2018, 3, 1), D(2018, 3, 1), 3, "1/3-1/3"},
      {D(2018, 3, 1), D(2018, 3, 2), 1, "1/3-1/3, 2/3-2/3"},
      {D(2018, 3, 1), D(2018, 3, 2), 30, "1/3-2/3"},
      {D(2018, 3, 10), D(2018, 3, 1), 3, "10/3-1/3"},  // inverted: the one period as given
      {D(2018, 2, 27), D(2018, 3, 3), 2, "27/2-28/2, 1/3-2/3, 3/3-3/3"},
      // The start's time of day is carried into every period but the last end.
      {D(2018, 3, 1, 10), D(2018, 3, 7, 8), 3, "1/3 10h-3/3 10h, 4/3 10h-7/3 8h"},
      {D(2018, 3, 1, 8), D(2018, 3, 7, 10), 3, "1/3 8h-3/3 8h, 4/3 8h-6/3 8h, 7/3 8h-7/3 10h"},
      // Less than a day left over: it joins the last period instead of starting one after the end.
      {D(2018, 3, 1), D(2018, 3, 9, 12), 3, "1/3-3/3, 4/3-6/3, 7/3-9/3 12h"},
      {D(2018, 3, 1, 10), D(2018, 3, 1, 15), 1, "1/3 10h-1/3 15h"},
      // No sensible step: the whole range as one period.
      {D(2018, 3, 1), D(2018, 3, 10), 0, "1/3-10/3"},
      {D(2018, 3, 1), D(2018, 3, 10), -5, "1/3-10/3"},
  };
  for (const auto& c : cases) {
    const TAPeriodo periods = TmDt::GetPeriodos(c.from, c.to, c.days);
    EXPECT_EQ(Describe(periods), c.expected) << Describe({{c.from, c.to}}) << " by " << c.days;
    ASSERT_FALSE(periods.empty());
    EXPECT_EQ(periods.front().DtInicial.Value, c.from.Value);
    EXPECT_EQ(periods.back().DtFinal.Value, c.to.Value);
  }
}

TEST(Periods, LongRangesAreCoveredWithoutGapsOrOverlaps) {
  const TDateTime from = D(1900, 1, 1, 6, 30), to = D(2100, 12, 31, 18);
  for (int days : {1, 7, 30, 365}) {
    const TAPeriodo periods = TmDt::GetPeriodos(from, to, days);
    ASSERT_FALSE(periods.empty());
    for (std::size_t i = 0; i + 1 < periods.size(); ++i) {
      ASSERT_NEAR(periods[i].DtFinal.Value - periods[i].DtInicial.Value, days - 1, 1e-6) << days << " #" << i;
      ASSERT_NEAR(periods[i + 1].DtInicial.Value - periods[i].DtFinal.Value, 1, 1e-6) << days << " #" << i;
    }
    EXPECT_LE(periods.back().DtInicial.Value, to.Value);
    EXPECT_EQ(periods.back().DtFinal.Value, to.Value);
  }
}

TEST(Periods, NotANumberOrOutsideTheCalendarGivesOnePeriod) {
  for (double to : {std::nan(""), 1e300, 2958466.0}) {
    const TAPeriodo periods = TmDt::GetPeriodos(D(2018, 3, 1), to, 3);
    ASSERT_EQ(periods.size(), 1u) << to;
  }
}

TEST(Periods, RangeInWords) {
  testing::FixedRegionalSettings regional(RegionalSettings::Brazilian());
  struct {
    TDateTime from, to;
    const char16_t* empty;
    const char16_t* expected;
  } cases[] = {
      {D(2018, 3, 1), D(2018, 3, 31), u"", u"03/18"},
      {D(2018, 1, 1), D(2018, 3, 31), u"", u"01/18 até 03/18"},
      {D(2018, 1, 1), D(2018, 3, 15), u"", u"01/18 até 15/03/18"},
      {D(2018, 1, 10), D(2018, 3, 31), u"", u"10/01/18 até 03/18"},
      {D(2018, 3, 1), D(2018, 3, 15), u"", u"01/03/18 até 15/03/18"},
      {D(2018, 3, 10), D(2018, 3, 31), u"", u"10/03/18 até 31/03/18"},  // ends a month, same month
      {D(1999, 12, 5), D(2000, 1, 10), u"", u"05/12/1999 até 10/01/00"},
      {D(1999, 12, 1), D(2000, 1, 31), u"", u"12/1999 até 01/00"},
      {D(2018, 12, 5), 0, u"Todos", u"05/12/18"},
      {0, D(2018, 12, 5), u"Todos", u"05/12/18"},
      {0, 0, u"Todos", u"Todos"},
      {0, -5, u"Sem data", u"Sem data"},
      {D(2018, 12, 5), D(2018, 12, 5), u"", u"05/12/18"},
      {D(2018, 3, 1), D(2018, 3, 31, 12), u"", u"01/03/18 até 31/03/18"},  // a time on the end
      {D(2018, 3, 1, 8), D(2018, 3, 31), u"", u"01/03/18 até 31/03/18"},   // a time on the start
      // The end of the month as SetFimDoMes gives it.
      {D(2018, 3, 1), TmDt::SetFimDoMes(D(2018, 3, 1)), u"", u"03/18"},
      {D(2018, 1, 1), TmDt::SetFimDoMes(D(2018, 2, 1)), u"", u"01/18 até 02/18"},
      {D(2018, 2, 1), D(2019, 2, 28), u"", u"02/18 até 02/19"},
      {D(2018, 2, 1), D(2018, 2, 28, 23, 59, 59, 998), u"", u"01/02/18 até 28/02/18"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TmDt::GetExtPeriodo(c.from, c.to, c.empty), c.expected) << c.from.Value << " " << c.to.Value;

  // Dates are written with the live date separator.
  RegionalSettings dashes = RegionalSettings::Brazilian();
  dashes.DateSeparator = u'-';
  testing::FixedRegionalSettings other(dashes);
  EXPECT_EQ(TmDt::GetExtPeriodo(D(2018, 1, 1), D(2018, 3, 15), u""), u"01-18 até 15-03-18");
}

TEST(Durations, SecondsInWords) {
  struct {
    std::int64_t seconds;
    const char16_t* text;
  } cases[] = {
      {3725, u"1 hora, 2 minutos e 5 segundos"},
      {3720, u"1 hora e 2 minutos"},
      {3605, u"1 hora e 5 segundos"},
      {7200, u"2 horas"},
      {61, u"1 minuto e 1 segundo"},
      {59, u"59 segundos"},
      {1, u"1 segundo"},
      {60, u"1 minuto"},
      {3600, u"1 hora"},
      {7322, u"2 horas, 2 minutos e 2 segundos"},
      {90000, u"25 horas"},
      {0, u""},
      {-5, u""},
      {INT64_MAX, u"2562047788015215 horas, 30 minutos e 7 segundos"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmDt::FormatarTempo(c.seconds), c.text) << c.seconds;
}

TEST(Durations, ElapsedYearsMonthsAndDays) {
  struct {
    TDateTime from, to;
    const char16_t* separator;
    const char16_t* expected;
  } cases[] = {
      {D(1980, 3, 15), D(2018, 12, 5), u"/", u"38/08/20"},
      {D(2018, 11, 20), D(2018, 12, 5), u"-", u"00-00-15"},
      // Calendar years: a birthday is a whole year, leap year or not.
      {D(2017, 12, 5), D(2018, 12, 5), u"/", u"01/00/00"},
      {D(2017, 12, 5), D(2018, 12, 4), u"/", u"00/11/29"},
      {D(2015, 3, 1), D(2016, 3, 1), u"/", u"01/00/00"},
      {D(2018, 1, 31), D(2018, 2, 28), u"/", u"00/01/00"},
      {D(2018, 1, 31), D(2018, 3, 1), u"/", u"00/01/01"},
      {D(2016, 2, 29), D(2017, 2, 28), u"/", u"01/00/00"},
      {D(2018, 12, 5), D(2018, 12, 5), u"/", u"00/00/00"},
      {D(2018, 12, 5, 10), D(2018, 12, 6, 9), u"/", u"00/00/00"},  // 23 hours
      {D(2018, 12, 5, 10), D(2018, 12, 6, 10), u"/", u"00/00/01"},
      {D(1899, 12, 29, 18), D(1900, 1, 29, 18), u"/", u"00/01/00"},
      {D(1890, 6, 10), D(2018, 12, 5), u" ", u"128 05 25"},
      {D(2000, 1, 1), D(2000, 1, 11), u"", u"000010"},
      // The order does not matter.
      {D(2018, 12, 5), D(1980, 3, 15), u"/", u"38/08/20"},
      {D(2018, 12, 5), D(2017, 12, 5), u"/", u"01/00/00"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TmDt::GetDetalheAnoMesDia(c.from, c.to, c.separator), c.expected) << c.from.Value << " " << c.to.Value;
}

TEST(Durations, WholeDaysBetweenDates) {
  struct {
    TDateTime from, to;
    int days;
  } cases[] = {
      {D(2018, 12, 5, 18), D(2018, 12, 6, 6), 0},
      {D(2018, 12, 5, 6), D(2018, 12, 6, 18), 1},
      {D(2018, 12, 6), D(2018, 12, 5), -1},
      {D(2018, 12, 6, 18), D(2018, 12, 5, 6), -1},
      {D(2018, 1, 1), D(2019, 1, 1), 365},
      {D(2020, 1, 1), D(2021, 1, 1), 366},
      {D(2018, 12, 5, 0, 0, 0, 300), D(2018, 12, 6, 0, 0, 0, 300), 1},
      {D(1899, 12, 29, 18), D(1899, 12, 30, 18), 1},  // across day 0
      {D(1899, 12, 29, 18), D(1899, 12, 30, 6), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(TmDt::GetDiasDatas(c.from, c.to), c.days) << c.from.Value << " " << c.to.Value;
}

TEST(Durations, BetweenIncludesBothEnds) {
  const TDateTime a = D(2018, 12, 1, 8), b = D(2018, 12, 31, 18);
  EXPECT_TRUE(TmDt::Between(a, a, b));
  EXPECT_TRUE(TmDt::Between(b, a, b));
  EXPECT_TRUE(TmDt::Between(D(2018, 12, 15), a, b));
  EXPECT_FALSE(TmDt::Between(D(2018, 12, 1), a, b));  // same day, earlier time
  EXPECT_FALSE(TmDt::Between(D(2018, 12, 31, 18, 0, 0, 1), a, b));
  EXPECT_FALSE(TmDt::Between(D(2018, 12, 15), b, a));  // an inverted range holds nothing
  // Before day 0 the stored value is negative with a positive time fraction.
  EXPECT_TRUE(TmDt::Between(D(1899, 12, 29, 18), D(1899, 12, 29, 6), D(1899, 12, 30, 6)));
  EXPECT_FALSE(TmDt::Between(D(1899, 12, 29, 3), D(1899, 12, 29, 6), D(1899, 12, 30, 6)));
}

}  // namespace
}  // namespace zelmor
