#include <gtest/gtest.h>

#include <climits>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/text.h"
#include "datetime/mDataHora.h"
#include "regional/format_settings.h"
#include "regional/regional_copies.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

using testing::FixedClock;
using testing::FixedRegionalSettings;

// Brazilian settings and a clock fixed at Tuesday 9 March 2021, 14:07:09.
class DateEntry : public ::testing::Test {
 protected:
  FixedRegionalSettings regional{RegionalSettings::Brazilian()};
  FixedClock clock{{2021, 3, 9, 14, 7, 9, 0}};
};

TEST_F(DateEntry, CompletaDataEveryBranch) {
  struct {
    const char16_t* typed;
    const char16_t* expected;
  } cases[] = {
      // Fewer than 10 characters, or an untouched field: today / now.
      {u"5/12/18", u"09/03/2021"},
      {u"", u"09/03/2021"},
      {u"  /  /    ", u"09/03/2021"},
      {u"  /  /       :  ", u"09/03/2021 14:07:09"},
      // No day (blank, zero or unreadable): returned as typed.
      {u"  /12/2018", u"  /12/2018"},
      {u"5 /12/2018", u"5 /12/2018"},
      {u"00/12/2018", u"00/12/2018"},
      {u"  /12/18     :  ", u"  /12/18     :  "},
      // No month: the current month and year; a typed year goes with it.
      {u"05/  /2017", u"05/03/2021"},
      {u"05/00/18  ", u"05/03/2021"},
      {u"05/  /2017   :  ", u"05/03/2021 14:07"},
      {u"05/  /2017 10:30", u"05/03/2021"},
      // No year: the current one.
      {u"05/12/    ", u"05/12/2021"},
      {u"05/12/0   ", u"05/12/2021"},
      {u"05/12/      :  ", u"05/12/2021 14:07"},
      // Short years: below 50 → 20xx, from 50 → 19xx; "00" and "000" are a typed zero.
      {u"05/12/18  ", u"05/12/2018"},
      {u"05/12/1   ", u"05/12/2001"},
      {u"05/12/49  ", u"05/12/2049"},
      {u"05/12/50  ", u"05/12/1950"},
      {u"05/12/00  ", u"05/12/2000"},
      {u"05/12/000 ", u"05/12/2000"},
      {u"05/12/998 ", u"05/12/2898"},
      {u"05/12/18   :  ", u"05/12/2018 14:07"},
      {u"05/12/18   10:30", u"05/12/2018"},  // a typed hour is dropped with the rebuilt date
      // A full year: kept; only a blank or zero hour is completed.
      {u"05/12/999 ", u"05/12/999 "},
      {u"05/12/2018", u"05/12/2018"},
      {u"05/12/2018   :  ", u"05/12/2018 14:07"},
      {u"05/12/2018 00:00", u"05/12/2018 14:07"},
      {u"05/12/2018 10:30", u"05/12/2018 10:30"},
      // Never checked for range.
      {u"31/02/2018", u"31/02/2018"},
      {u"31/02/18  ", u"31/02/2018"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmDt::CompletaData(c.typed), c.expected) << U16ToUtf8(c.typed);
}

TEST_F(DateEntry, CompletaDataFollowsTheClock) {
  clock.Set({1999, 12, 31, 23, 59, 59, 999});
  EXPECT_EQ(TmDt::CompletaData(u"01/  /    "), u"01/12/1999");
  EXPECT_EQ(TmDt::CompletaData(u"01/01/2000   :  "), u"01/01/2000 23:59");
  EXPECT_EQ(TmDt::CompletaData(u"  /  /       :  "), u"31/12/1999 23:59:59");
}

TEST_F(DateEntry, CompletaDataTakesTheDateSeparatorFromTheStartUpCopies) {
  // Live settings changed after start-up: the rebuilt month uses the copies' "/".
  RegionalSettings live = RegionalSettings::Brazilian();
  live.DateSeparator = u'-';
  SetFormatSettings(live);
  EXPECT_EQ(TmDt::CompletaData(u"05/  /2017"), u"05/03/2021");
  // Today itself is written with the live settings.
  EXPECT_EQ(TmDt::CompletaData(u"5/12/18"), u"09-03-2021");
}

TEST(DateEntryRegional, AnUntouchedFieldWithTheRegionalSeparatorGivesToday) {
  RegionalSettings dashes = RegionalSettings::Brazilian();
  dashes.DateSeparator = u'-';
  FixedRegionalSettings regional(dashes);
  FixedClock clock({2021, 3, 9, 14, 7, 9, 0});
  EXPECT_EQ(TmDt::CompletaData(u"  -  -    "), u"09-03-2021");
  EXPECT_EQ(TmDt::CompletaData(u"  -  -       :  "), u"09-03-2021 14:07:09");
  EXPECT_EQ(TmDt::CompletaData(u"  /  /    "), u"09-03-2021");
  EXPECT_EQ(TmDt::CompletaData(u"05-  -2017"), u"05-03-2021");
}

TEST(DateEntryPlain, CompletaHora) {
  struct {
    const char16_t* typed;
    const char16_t* expected;
  } cases[] = {
      {u"", u"00:00"},      {u"  :  ", u"00:00"},    {u" 8:3 ", u"08:30"},
      {u"12:45", u"12:45"}, {u"12:45:30", u"12:45"},  // cut to five characters
      {u"8", u"80 00"},                               // padded on the right first; position 3 is left alone
      {u"12", u"12 00"},    {u"1 : 5", u"10:05"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmDt::CompletaHora(c.typed), c.expected) << U16ToUtf8(c.typed);
}

TEST(DateEntryPlain, HoraParaMin) {
  struct {
    const char16_t* text;
    int minutes;
  } cases[] = {
      {u"", 0},
      {u" : ", 0},
      {u":", 0},
      {u"01:30", 90},
      {u"-01:30", -90},
      {u"-00:30", -30},
      {u"12", 720},
      {u"1:5", 65},
      {u"100:00", 6000},
      {u" 8:30", 510},
      // a trailing blank makes the hour unreadable
      {u"8 :30", 30},
      {u"08:3 ", 480},
      {u"ab:10", 10},
      {u"1:2:3", 62},
      {u"+2:15", 135},
  };
  for (const auto& c : cases) EXPECT_EQ(TmDt::HoraParaMin(c.text), c.minutes) << U16ToUtf8(c.text);
  // Numbers too big for the minutes (a field, or the total) are refused, not read as 0.
  for (const char16_t* text : {u"99999999999:99", u"99999999:00", u"1:99999999999", u"-35791395:00"})
    EXPECT_THROW(TmDt::HoraParaMin(text), EConvertError) << U16ToUtf8(text);
}

TEST(DateEntryPlain, MinParaHoraAndBack) {
  struct {
    int minutes;
    const char16_t* text;
  } cases[] = {
      {0, u"00:00"},       {90, u"01:30"},  {6000, u"100:00"}, {-30, u"-00:30"},           {-90, u"-01:30"},
      {-6000, u"-100:00"}, {-1, u"-00:01"}, {59, u"00:59"},    {INT_MIN, u"-35791394:08"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmDt::MinParaHora(c.minutes), c.text) << c.minutes;
  for (int n : {0, 1, -1, 59, 60, -60, 61, -61, 1439, -1439, 6000, -6000, 123456, -123456, INT_MAX, INT_MIN})
    EXPECT_EQ(TmDt::HoraParaMin(TmDt::MinParaHora(n)), n) << n;
}

TEST_F(DateEntry, DataValidaAndStrToDataHoraUseTheLiveSettings) {
  EXPECT_TRUE(TmDt::DataValida(u"31/12/2018"));
  EXPECT_TRUE(TmDt::DataValida(u"05/12/2018 10:30"));
  EXPECT_FALSE(TmDt::DataValida(u"31/02/2018"));
  EXPECT_FALSE(TmDt::DataValida(u"05/12/2018 25:00"));
  EXPECT_FALSE(TmDt::DataValida(u""));
  EXPECT_FALSE(TmDt::DataValida(u"hoje"));

  const TDateTime fallback = EncodeDate(2000, 1, 1);
  EXPECT_EQ(TmDt::StrToDataHora(u"05/12/2018", fallback).Value, EncodeDate(2018, 12, 5).Value);
  EXPECT_EQ(TmDt::StrToDataHora(u"05/12/2018 10:30", fallback).Value, EncodeDateTime(2018, 12, 5, 10, 30, 0, 0).Value);
  EXPECT_EQ(TmDt::StrToDataHora(u"32/12/2018", fallback).Value, fallback.Value);
  EXPECT_EQ(TmDt::StrToDataHora(u"", fallback).Value, fallback.Value);

  // Month first in the United States.
  SetFormatSettings(RegionalSettings::UnitedStates());
  EXPECT_TRUE(TmDt::DataValida(u"12/31/2018"));
  EXPECT_FALSE(TmDt::DataValida(u"31/12/2018"));
}

TEST(DateEntryPlain, StrToDateTimeReadsTheFixedSqlForm) {
  const TDateTime fallback = EncodeDate(2000, 1, 1);
  struct {
    const char16_t* text;
    TDateTime expected;
  } cases[] = {
      {u"2018-12-05 14:30:15", EncodeDateTime(2018, 12, 5, 14, 30, 15, 0)},
      {u"2018/12/05T14.30.15", EncodeDateTime(2018, 12, 5, 14, 30, 15, 0)},  // separators not looked at
      {u"1899-12-29 06:00:00", EncodeDateTime(1899, 12, 29, 6, 0, 0, 0)},
      {u"2018-12-05 14:30:15.123", EncodeDateTime(2018, 12, 5, 14, 30, 15, 0)},
      {u"2018-12-05", fallback},           // no time
      {u"2018-02-30 10:00:00", fallback},  // no such day
      {u"2018-12-05 24:00:00", fallback},
      {u"2018-12-05 14:30:1x", fallback},
      {u"2018-12-05 14: 0:15", EncodeDateTime(2018, 12, 5, 14, 0, 15, 0)},  // a leading blank is fine
      {u"2018-12-05 14:0 :15", fallback},                                   // a trailing one is not
      {u"", fallback},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TmDt::StrToDateTime(c.text, fallback).Value, c.expected.Value) << U16ToUtf8(c.text);
}

TEST_F(DateEntry, SqlTexts) {
  const TDateTime d = EncodeDateTime(2018, 12, 5, 14, 30, 15, 0);
  EXPECT_EQ(TmDt::Data2Ansi(d, true), u"'2018-12-05 14:30:15'");
  EXPECT_EQ(TmDt::Data2Ansi(d, false), u"'2018-12-05'");
  EXPECT_EQ(TmDt::Hora2Ansi(d, true), u"'14:30:15'");
  EXPECT_EQ(TmDt::Hora2Ansi(d, false), u"14:30:15");
  EXPECT_EQ(TmDt::Data2Ansi(d, u"yyyymmdd", true), u"'20181205'");
  EXPECT_EQ(TmDt::Data2Ansi(d, u"dd/mm/yyyy", false), u"05/12/2018");
  EXPECT_EQ(TmDt::Data2Ansi(d, u"\"'\"dd", true), u"'''05'");  // an inner quote is doubled

  // Regional separators reach the caller's pattern, never the fixed SQL forms.
  RegionalSettings dotted = RegionalSettings::Brazilian();
  dotted.DateSeparator = u'.';
  dotted.TimeSeparator = u'.';
  SetFormatSettings(dotted);
  EXPECT_EQ(TmDt::Data2Ansi(d, u"dd/mm hh:nn", false), u"05.12 14.30");
  EXPECT_EQ(TmDt::Data2Ansi(d, true), u"'2018-12-05 14:30:15'");
  EXPECT_EQ(TmDt::Hora2Ansi(d, false), u"14:30:15");
  EXPECT_EQ(TmDt::StrToDateTime(u"2018-12-05 14:30:15", 0).Value, d.Value);
}

TEST_F(DateEntry, DataDetalheUsesTheStartUpDayNames) {
  EXPECT_EQ(TmDt::DataDetalhe(EncodeDate(2018, 12, 5)), u"05/12/2018 qua");
  EXPECT_EQ(TmDt::DataDetalhe(EncodeDate(2018, 12, 8)), u"08/12/2018 sab");
  EXPECT_EQ(TmDt::DataDetalhe(EncodeDateTime(2018, 12, 9, 23, 0, 0, 0)), u"09/12/2018 dom");

  // Live settings in English with "-": the date follows them, the day name stays Brazilian.
  RegionalSettings us = RegionalSettings::UnitedStates();
  us.DateSeparator = u'-';
  SetFormatSettings(us);
  EXPECT_EQ(TmDt::DataDetalhe(EncodeDate(2018, 12, 8)), u"08-12-2018 sab");
}

TEST(DateEntryRegional, DataDetalheLowersAndStripsAccentsOfAnyDayName) {
  RegionalSettings s = RegionalSettings::Brazilian();
  s.ShortDayNames = {u"DOM", u"SEG", u"TER", u"QUA", u"QUI", u"SEX", u"SÁB"};
  FixedRegionalSettings regional(s);
  EXPECT_EQ(TmDt::DataDetalhe(EncodeDate(2018, 12, 8)), u"08/12/2018 sab");
  EXPECT_EQ(TmDt::DataDetalhe(EncodeDate(2018, 12, 10)), u"10/12/2018 seg");
}

}  // namespace
}  // namespace zelmor
