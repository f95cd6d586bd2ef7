#include <gtest/gtest.h>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

TEST(CalendarTest, KnownSerials) {
  struct {
    int y, m, d;
    double serial;
  } cases[] = {{1899, 12, 30, 0},   {1899, 12, 31, 1},    {1900, 1, 1, 2},    {1899, 12, 29, -1},
               {2000, 1, 1, 36526}, {2026, 12, 9, 46365}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465}};
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
    DateParts p = DecodeDate(c.serial);
    EXPECT_EQ(p.Year, c.y);
    EXPECT_EQ(p.Month, c.m);
    EXPECT_EQ(p.Day, c.d);
  }
}

TEST(CalendarTest, EveryDayRoundTrips) {
  // 1600-01-01 .. 2400-12-31: every day encodes and decodes to itself, weekdays cycle.
  TDateTime start = EncodeDate(1600, 1, 1);
  TDateTime end = EncodeDate(2400, 12, 31);
  int expectedDow = DayOfWeek(start);
  for (double v = start; v <= end; v += 1) {
    DateParts p = DecodeDate(v);
    TDateTime back;
    ASSERT_TRUE(TryEncodeDate(p.Year, p.Month, p.Day, back)) << v;
    ASSERT_DOUBLE_EQ(back, v);
    ASSERT_EQ(DayOfWeek(v), expectedDow);
    expectedDow = expectedDow % 7 + 1;
  }
}

TEST(CalendarTest, LeapYearsAndMonthLengths) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(2023, 13), 0);
  TDateTime r;
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, r));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, r));
  EXPECT_THROW(EncodeDate(2023, 4, 31), EConvertError);
}

TEST(CalendarTest, TimeOfDayRoundsToTheMillisecond) {
  TDateTime t = EncodeDateTime(2026, 12, 9, 14, 5, 9, 123);
  TimeParts p = DecodeTime(t);
  EXPECT_EQ(p.Hour, 14);
  EXPECT_EQ(p.Min, 5);
  EXPECT_EQ(p.Sec, 9);
  EXPECT_EQ(p.MSec, 123);
  EXPECT_EQ(DayOfWeek(t), 4);  // Wednesday
  // A hair before midnight is the next day at 00:00:00.000.
  DateParts d = DecodeDate(EncodeDate(2026, 12, 9) + 0.9999999999);
  EXPECT_EQ(d.Day, 10);
  EXPECT_EQ(DecodeTime(EncodeDate(2026, 12, 9) + 0.9999999999).Hour, 0);
  // Before 1899-12-30 the time is the fraction's magnitude.
  TDateTime before = EncodeDateTime(1899, 12, 29, 6, 0, 0, 0);
  EXPECT_DOUBLE_EQ(before, -1.25);
  EXPECT_EQ(DecodeTime(before).Hour, 6);
  EXPECT_EQ(DecodeDate(before).Day, 29);
}

TEST(CalendarTest, NowAndDateComeFromTheClock) {
  testing::FixedClock clock({2026, 12, 9, 14, 5, 9, 123});
  EXPECT_DOUBLE_EQ(Date(), EncodeDate(2026, 12, 9));
  EXPECT_DOUBLE_EQ(Now(), EncodeDateTime(2026, 12, 9, 14, 5, 9, 123));
}

}  // namespace
}  // namespace zelmor
