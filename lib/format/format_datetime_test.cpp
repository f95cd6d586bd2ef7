#include "format/format_datetime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "calendar/calendar.h"
#include "core/text.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

const RegionalSettings kBr = RegionalSettings::Brazilian();
const RegionalSettings kUs = RegionalSettings::UnitedStates();
const RegionalSettings kPlain = RegionalSettings::Plain();

// Wednesday 2026-12-09 14:05:09.123 and Monday 2026-01-05 03:04:05.007.
const TDateTime kAfternoon = EncodeDateTime(2026, 12, 9, 14, 5, 9, 123);
const TDateTime kMorning = EncodeDateTime(2026, 1, 5, 3, 4, 5, 7);

std::string Fdt(const char* pattern, TDateTime v, const RegionalSettings& fs = kBr) {
  return U16ToUtf8(FormatDateTime(Utf8ToU16(pattern), v, fs));
}

struct Case {
  const char* pattern;
  const char* afternoon;
  const char* morning;
};

TEST(FormatDateTimeTest, EveryCode) {
  const Case cases[] = {
      {"d", "9", "5"},
      {"dd", "09", "05"},
      {"ddd", "qua", "seg"},
      {"dddd", "quarta-feira", "segunda-feira"},
      {"ddddd", "09/12/2026", "05/01/2026"},
      {"dddddd", "quarta-feira, 9 de dezembro de 2026", "segunda-feira, 5 de janeiro de 2026"},
      {"ddddddd", "quarta-feira, 9 de dezembro de 2026", "segunda-feira, 5 de janeiro de 2026"},
      {"m", "12", "1"},
      {"mm", "12", "01"},
      {"mmm", "dez", "jan"},
      {"mmmm", "dezembro", "janeiro"},
      {"mmmmm", "dezembro", "janeiro"},
      {"y", "26", "26"},
      {"yy", "26", "26"},
      {"yyy", "2026", "2026"},
      {"yyyy", "2026", "2026"},
      {"h", "14", "3"},
      {"hh", "14", "03"},
      {"hhh", "14", "03"},
      {"n", "5", "4"},
      {"nn", "05", "04"},
      {"s", "9", "5"},
      {"ss", "09", "05"},
      {"z", "123", "7"},
      {"zz", "123", "07"},
      {"zzz", "123", "007"},
      {"t", "14:05", "03:04"},
      {"tt", "14:05:09", "03:04:05"},
      {"c", "09/12/2026 14:05:09", "05/01/2026 03:04:05"},
      {"", "09/12/2026 14:05:09", "05/01/2026 03:04:05"},  // empty = c
      {"D 'de' MMMM 'de' YYYY", "9 de dezembro de 2026", "5 de janeiro de 2026"},
      {"(DDDD) HH:NN:SS (ZZZ)", "(quarta-feira) 14:05:09 (123)", "(segunda-feira) 03:04:05 (007)"},
      {"dd/mm/yyyy", "09/12/2026", "05/01/2026"},
      {"YYMM", "2612", "2601"},
      {"yyyy-mm-dd", "2026-12-09", "2026-01-05"},
      {"Dd", "09", "05"},  // a run in mixed case is one code
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Fdt(c.pattern, kAfternoon), c.afternoon) << c.pattern;
    EXPECT_EQ(Fdt(c.pattern, kMorning), c.morning) << c.pattern;
  }
}

TEST(FormatDateTimeTest, MonthOrMinutes) {
  const Case cases[] = {
      {"hh:mm", "14:05", "03:04"},
      {"h:m", "14:5", "3:4"},
      {"hh'h'mm", "14h05", "03h04"},  // quoted text does not break the link
      {"hh mm", "14 05", "03 04"},
      {"HH:MM:SS", "14:05:09", "03:04:05"},
      {"mm hh", "12 14", "01 03"},           // before the hour it is the month
      {"hh:nn mm", "14:05 12", "03:04 01"},  // after a minute code it is the month
      {"hh x mm", "14 x 12", "03 x 01"},     // another letter sits between
      {"hh:mmm", "14:dez", "03:jan"},        // names are always months
      {"dd/mm hh:mm", "09/12 14:05", "05/01 03:04"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Fdt(c.pattern, kAfternoon), c.afternoon) << c.pattern;
    EXPECT_EQ(Fdt(c.pattern, kMorning), c.morning) << c.pattern;
  }
}

TEST(FormatDateTimeTest, TwelveHourClock) {
  const struct {
    int hour;
    const char* ampm;      // "h:nn am/pm"
    const char* ap;        // "hh A/P"
    const char* settings;  // "h AMPM" with the United States strings
  } cases[] = {
      {0, "12:00 am", "12 A", "12 AM"},  {1, "1:00 am", "01 A", "1 AM"},  {11, "11:00 am", "11 A", "11 AM"},
      {12, "12:00 pm", "12 P", "12 PM"}, {13, "1:00 pm", "01 P", "1 PM"}, {23, "11:00 pm", "11 P", "11 PM"},
  };
  for (const auto& c : cases) {
    TDateTime t = EncodeDateTime(2026, 12, 9, c.hour, 0, 0, 0);
    EXPECT_EQ(Fdt("h:nn am/pm", t), c.ampm) << c.hour;
    EXPECT_EQ(Fdt("hh A/P", t), c.ap) << c.hour;
    EXPECT_EQ(Fdt("h AMPM", t, kUs), c.settings) << c.hour;
  }
  EXPECT_EQ(Fdt("h:nn AM/PM", kAfternoon), "2:05 PM");  // letters as written
  EXPECT_EQ(Fdt("h:nn Am/pM", kAfternoon), "2:05 pM");
  EXPECT_EQ(Fdt("h:nn a/P", kMorning), "3:04 a");
  EXPECT_EQ(Fdt("ampm h", kAfternoon, kUs), "PM 2");     // the code may come first
  EXPECT_EQ(Fdt("h ampm", kAfternoon), "2 ");            // Brazilian settings have no AM/PM text
  EXPECT_EQ(Fdt("hh 'am/pm'", kAfternoon), "14 am/pm");  // quoted: not a code
  EXPECT_EQ(Fdt("hh a", kAfternoon), "14 a");            // a lone 'a' is text
  EXPECT_EQ(Fdt("t", kAfternoon, kUs), "2:05 PM");
  EXPECT_EQ(Fdt("hh t", kAfternoon, kUs), "14 2:05 PM");  // the nested pattern's code stays there
}

TEST(FormatDateTimeTest, SeparatorsAndLiterals) {
  RegionalSettings dots = kBr;
  dots.DateSeparator = u'-';
  dots.TimeSeparator = u'.';
  EXPECT_EQ(Fdt("dd/mm/yyyy hh:nn", kAfternoon, dots), "09-12-2026 14.05");
  EXPECT_EQ(Fdt("dd'/'mm\":\"yy", kAfternoon, dots), "09/12:26");
  EXPECT_EQ(Fdt("c", kAfternoon, dots), "09-12-2026 14.05.09");
  EXPECT_EQ(Fdt("'dd", kAfternoon), "dd");  // an unterminated quote runs to the end
  EXPECT_EQ(Fdt("\"it's\" d", kAfternoon), "it's 9");
  EXPECT_EQ(Fdt("[d] x# -> Q", kAfternoon), "[9] x# -> Q");
  EXPECT_EQ(Fdt("dd/mm/yyyy", kAfternoon, kUs), "09/12/2026");
  EXPECT_EQ(Fdt("dddd, mmmm d", kAfternoon, kUs), "Wednesday, December 9");
  EXPECT_EQ(Fdt("ddd mmm", kAfternoon, kPlain), "Wed Dec");
}

TEST(FormatDateTimeTest, MidnightTimesAndOddValues) {
  const struct {
    TDateTime value;
    const char* c;
    const char* full;  // "dd/mm/yyyy hh:nn:ss.zzz dddd"
  } cases[] = {
      {EncodeDate(2026, 12, 9), "09/12/2026", "09/12/2026 00:00:00.000 quarta-feira"},
      {0.5, "30/12/1899 12:00:00", "30/12/1899 12:00:00.000 sábado"},
      {-1.25, "29/12/1899 06:00:00", "29/12/1899 06:00:00.000 sexta-feira"},
      {EncodeDate(5, 3, 1), "01/03/0005", "01/03/0005 00:00:00.000 terça-feira"},
      {EncodeDateTime(9999, 12, 31, 23, 59, 59, 999), "31/12/9999 23:59:59", "31/12/9999 23:59:59.999 sexta-feira"},
      // A hair before midnight shows the next day at 00:00.
      {EncodeDate(2026, 12, 9) + 0.9999999999, "10/12/2026", "10/12/2026 00:00:00.000 quinta-feira"},
      // Out of the calendar: zeros, no names, no crash.
      {std::numeric_limits<double>::quiet_NaN(), "00/00/0000", "00/00/0000 00:00:00.000 "},
      {1e300, "00/00/0000", "00/00/0000 00:00:00.000 "},
      {-1e7, "00/00/0000", "00/00/0000 00:00:00.000 "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Fdt("c", c.value), c.c) << c.value.Value;
    EXPECT_EQ(Fdt("dd/mm/yyyy hh:nn:ss.zzz dddd", c.value), c.full) << c.value.Value;
  }
  EXPECT_EQ(Fdt("c", EncodeDateTime(2026, 12, 9, 0, 0, 0, 500)), "09/12/2026");  // milliseconds alone do not count
  EXPECT_EQ(Fdt("yy", EncodeDate(5, 3, 1)), "05");
}

TEST(FormatDateTimeTest, NestedPatternsAreBounded) {
  RegionalSettings loops = kBr;
  loops.ShortDateFormat = u"c";
  loops.LongTimeFormat = u"tt [ddddd]";
  loops.LongDateFormat = u"ddddd!";
  // c → (c → dropped, ' ') then ' ' + (tt → dropped, " [", ddddd → dropped, "]").
  EXPECT_EQ(Fdt("c", kAfternoon, loops), "   []");
  EXPECT_EQ(Fdt("dddddd", kAfternoon, loops), "!");
  EXPECT_EQ(Fdt("tt", kAfternoon, loops), " []");
  EXPECT_EQ(Fdt(std::string(5000, 'd').c_str(), kAfternoon), "quarta-feira, 9 de dezembro de 2026");
}

TEST(FormatDateTimeTest, ShortForms) {
  EXPECT_EQ(U16ToUtf8(DateToStr(kAfternoon, kBr)), "09/12/2026");
  EXPECT_EQ(U16ToUtf8(TimeToStr(kAfternoon, kBr)), "14:05:09");
  EXPECT_EQ(U16ToUtf8(DateTimeToStr(kAfternoon, kBr)), "09/12/2026 14:05:09");
  EXPECT_EQ(U16ToUtf8(DateTimeToStr(EncodeDate(2026, 12, 9), kBr)), "09/12/2026");
  EXPECT_EQ(U16ToUtf8(DateToStr(kAfternoon, kUs)), "12/9/2026");
  EXPECT_EQ(U16ToUtf8(TimeToStr(kMorning, kUs)), "3:04:05 AM");
  EXPECT_EQ(U16ToUtf8(DateTimeToStr(kAfternoon, kUs)), "12/9/2026 2:05:09 PM");
  EXPECT_EQ(U16ToUtf8(DateTimeToStr(kAfternoon, kPlain)), "12/09/26 14:05:09");
  testing::FixedRegionalSettings live(RegionalSettings::Brazilian());
  EXPECT_EQ(U16ToUtf8(FormatDateTime(u"dddd", kAfternoon)), "quarta-feira");
  EXPECT_EQ(U16ToUtf8(DateTimeToStr(kAfternoon)), "09/12/2026 14:05:09");
}

}  // namespace
}  // namespace zelmor
