#include "parsing/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/text.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

const RegionalSettings kBr = RegionalSettings::Brazilian();
const RegionalSettings kUs = RegionalSettings::UnitedStates();
const RegionalSettings kPlain = RegionalSettings::Plain();

RegionalSettings IsoSettings() {
  RegionalSettings s = kBr;
  s.ShortDateFormat = u"yyyy-mm-dd";
  s.DateSeparator = u'-';
  return s;
}
const RegionalSettings kIso = IsoSettings();

// The message the Str* form raises for `text`, or "" when it does not raise.
template <class F>
std::string MessageOf(F&& call) {
  try {
    call();
  } catch (const EConvertError& e) {
    return U16ToUtf8(e.Message());
  }
  return "";
}

TEST(StrToIntTest, Accepts) {
  const struct {
    const char* text;
    int value;
  } cases[] = {
      {"0", 0},
      {"123", 123},
      {"-123", -123},
      {"+7", 7},
      {"  42  ", 42},
      {"\t42", 42},
      {"007", 7},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"$1F", 31},
      {"0x1F", 31},
      {"0X1f", 31},
      {"-$10", -16},
      {"$7FFFFFFF", INT32_MAX},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {" $00000000000A ", 10},
  };
  for (const auto& c : cases) {
    int v = 12345;
    EXPECT_TRUE(TryStrToInt(Utf8ToU16(c.text), v)) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
    EXPECT_EQ(StrToInt(Utf8ToU16(c.text)), c.value) << c.text;
  }
}

TEST(StrToIntTest, Rejects) {
  const char* cases[] = {
      "",    " ",          "-",   "+",   "12a", "1 2", "2147483648", "-2147483649", "$",    "0x",
      "$1G", "$100000000", "1.5", "1e3", "- 5", "--5", "x1F",        "٣",           "12\n", "99999999999999999999"};
  for (const char* text : cases) {
    int v = 12345;
    EXPECT_FALSE(TryStrToInt(Utf8ToU16(text), v)) << text;
    EXPECT_EQ(v, 12345) << "untouched on failure: " << text;
    EXPECT_EQ(MessageOf([&] { StrToInt(Utf8ToU16(text)); }),
              "'" + std::string(text) + "' não é um valor inteiro válido");
  }
}

TEST(StrToIntTest, SixtyFourBits) {
  const struct {
    const char* text;
    bool ok;
    std::int64_t value;
  } cases[] = {
      {"9223372036854775807", true, INT64_MAX},
      {"-9223372036854775808", true, INT64_MIN},
      {"9223372036854775808", false, 0},
      {"-9223372036854775809", false, 0},
      {"2147483648", true, 2147483648LL},
      {"$FFFFFFFFFFFFFFFF", true, -1},
      {"0x7FFFFFFFFFFFFFFF", true, INT64_MAX},
      {"$10000000000000000", false, 0},
      {" -42 ", true, -42},
      {"4 2", false, 0},
  };
  for (const auto& c : cases) {
    std::int64_t v = 0;
    EXPECT_EQ(TryStrToInt64(Utf8ToU16(c.text), v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
      EXPECT_EQ(StrToInt64(Utf8ToU16(c.text)), c.value) << c.text;
    } else {
      EXPECT_EQ(MessageOf([&] { StrToInt64(Utf8ToU16(c.text)); }),
                "'" + std::string(c.text) + "' não é um valor inteiro válido");
    }
  }
}

TEST(StrToFloatTest, Accepts) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"0", 0},
      {"1,5", 1.5},
      {"-1,5", -1.5},
      {"+1,5", 1.5},
      {"  2  ", 2},
      {",5", 0.5},
      {"5,", 5},
      {"1,5E3", 1500},
      {"-1,5e-3", -0.0015},
      {"1E+2", 100},
      {"007,25", 7.25},
      {"0,1", 0.1},  // the nearest double, exactly
      {"0,30000000000000004", 0.30000000000000004},
      {"123456789012345678901234567890", 123456789012345678901234567890.0},
      {"1,7976931348623157E308", 1.7976931348623157e308},
      {"2,2250738585072014E-308", 2.2250738585072014e-308},
      {"4,9406564584124654E-324", 4.9406564584124654e-324},
      {"1E-400", 0},  // below the smallest double: zero
      {"0E999999999999", 0},
      {"0,000000000000000000000000000001E30", 1},
  };
  for (const auto& c : cases) {
    double v = -99;
    EXPECT_TRUE(TryStrToFloat(Utf8ToU16(c.text), v, kBr)) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
    EXPECT_EQ(StrToFloat(Utf8ToU16(c.text), kBr), c.value) << c.text;
  }
  double negZero = 1;
  ASSERT_TRUE(TryStrToFloat(u"-0", negZero, kBr));
  EXPECT_TRUE(std::signbit(negZero));
  EXPECT_EQ(StrToFloat(u"1.5", kPlain), 1.5);
  EXPECT_EQ(StrToFloat(u"-2.5e1", kUs), -25);
}

TEST(StrToFloatTest, Rejects) {
  const char* brazilian[] = {"",
                             " ",
                             "1.5",
                             "1.000,5",
                             "1,5,",
                             "1,,5",
                             "e5",
                             "1e",
                             "1e+",
                             "1e-",
                             "--1",
                             "1 5",
                             "NAN",
                             "INF",
                             "inf",
                             "1E400",
                             "-1E400",
                             ",",
                             "+",
                             "0x10",
                             "1,5 x",
                             "1,5%",
                             "R$ 1",
                             "١",
                             "1,79769313486232E308"};  // the largest double to 15 digits is past the range
  for (const char* text : brazilian) {
    double v = -99;
    EXPECT_FALSE(TryStrToFloat(Utf8ToU16(text), v, kBr)) << text;
    EXPECT_EQ(v, -99) << "untouched on failure: " << text;
    EXPECT_EQ(MessageOf([&] { StrToFloat(Utf8ToU16(text), kBr); }),
              "'" + std::string(text) + "' não é um valor de ponto flutuante válido");
  }
  double v;
  EXPECT_FALSE(TryStrToFloat(u"1,5", v, kPlain));
  EXPECT_FALSE(TryStrToFloat(u"1,000.5", v, kUs));
  std::u16string longText(5000, u'9');
  EXPECT_FALSE(TryStrToFloat(longText, v, kBr));  // 10^5000: too large
  longText = u"0," + longText;
  ASSERT_TRUE(TryStrToFloat(longText, v, kBr));
  EXPECT_EQ(v, 1.0);
}

TEST(StrToFloatTest, DefaultsToTheLiveSettings) {
  testing::FixedRegionalSettings live(RegionalSettings::Brazilian());
  EXPECT_EQ(StrToFloat(u"2,5"), 2.5);
  EXPECT_THROW(StrToFloat(u"2.5"), EConvertError);
}

class StrToDateTest : public ::testing::Test {
 protected:
  // Two-digit years are read against this clock: 26 → 2026, 75 → 2075, 76 → 1976.
  testing::FixedClock FClock{{2026, 12, 9, 14, 5, 9, 123}};
};

TEST_F(StrToDateTest, Accepts) {
  const struct {
    const RegionalSettings* fs;
    const char* text;
    int y, m, d;
  } cases[] = {
      {&kBr, "09/12/2026", 2026, 12, 9},
      {&kBr, "9/12/2026", 2026, 12, 9},
      {&kBr, " 9 / 12 / 2026 ", 2026, 12, 9},
      {&kBr, "09/12/2026/", 2026, 12, 9},  // a trailing separator is allowed
      {&kBr, "09/12/26", 2026, 12, 9},
      {&kBr, "09/12/75", 2075, 12, 9},
      {&kBr, "09/12/76", 1976, 12, 9},
      {&kBr, "1/1/0", 2000, 1, 1},
      {&kBr, "1/1/1", 2001, 1, 1},
      {&kBr, "1/1/001", 1, 1, 1},  // three digits are taken as they are
      {&kBr, "01/01/0001", 1, 1, 1},
      {&kBr, "31/12/9999", 9999, 12, 31},
      {&kBr, "29/02/2024", 2024, 2, 29},
      {&kBr, "9/12", 2026, 12, 9},  // two numbers: this year
      {&kBr, "15/3", 2026, 3, 15},
      {&kUs, "12/9/2026", 2026, 12, 9},
      {&kUs, "12/9", 2026, 12, 9},
      {&kPlain, "03/15/99", 1999, 3, 15},
      {&kIso, "2026-12-09", 2026, 12, 9},
      {&kIso, "26-12-09", 2026, 12, 9},
      {&kIso, "12-09", 2026, 12, 9},  // year first: two numbers are month and day
  };
  for (const auto& c : cases) {
    TDateTime v = -1;
    EXPECT_TRUE(TryStrToDate(Utf8ToU16(c.text), v, *c.fs)) << c.text;
    EXPECT_EQ(v.Value, EncodeDate(c.y, c.m, c.d).Value) << c.text;
    EXPECT_EQ(StrToDate(Utf8ToU16(c.text), *c.fs).Value, EncodeDate(c.y, c.m, c.d).Value) << c.text;
  }
}

TEST_F(StrToDateTest, Rejects) {
  const char* cases[] = {
      "",         "2026",        "32/12/2026", "29/02/2025", "09-12-2026", "09/12/2026 x",     "09/12/",
      "a/b/c",    "09/12/20261", "00/12/2026", "09/13/2026", "09/12/0000", "09/12/2026 14:05", "/12/2026",
      "09//2026", "-9/12/2026",  "09.12.2026"};
  for (const char* text : cases) {
    TDateTime v = -1;
    EXPECT_FALSE(TryStrToDate(Utf8ToU16(text), v, kBr)) << text;
    EXPECT_EQ(v.Value, -1) << "untouched on failure: " << text;
    EXPECT_EQ(MessageOf([&] { StrToDate(Utf8ToU16(text), kBr); }), "'" + std::string(text) + "' não é uma data válida");
  }
  TDateTime v;
  EXPECT_FALSE(TryStrToDate(u"31/12/2026", v, kUs));  // month 31 in month-day-year order
}

TEST(StrToTimeTest, Accepts) {
  const struct {
    const RegionalSettings* fs;
    const char* text;
    int h, n, s, z;
  } cases[] = {
      {&kBr, "14:05", 14, 5, 0, 0},
      {&kBr, "14:05:09", 14, 5, 9, 0},
      {&kBr, "14:05:09,123", 14, 5, 9, 123},
      {&kBr, "14:05:09.123", 14, 5, 9, 123},
      {&kBr, "14:05:09.5", 14, 5, 9, 5},  // the number after the mark counts milliseconds
      {&kBr, "14", 14, 0, 0, 0},          // the hour alone
      {&kBr, " 14 : 05 ", 14, 5, 0, 0},
      {&kBr, "0:0", 0, 0, 0, 0},
      {&kBr, "23:59:59.999", 23, 59, 59, 999},
      {&kBr, "2:05 PM", 14, 5, 0, 0},  // "AM"/"PM" work whatever the settings say
      {&kUs, "2:05 PM", 14, 5, 0, 0},
      {&kUs, "2:05:09 pm", 14, 5, 9, 0},
      {&kUs, "12:00 AM", 0, 0, 0, 0},
      {&kUs, "12:30 PM", 12, 30, 0, 0},
      {&kUs, "AM 9:15", 9, 15, 0, 0},
      {&kUs, "PM9", 21, 0, 0, 0},
      {&kUs, "11 pm", 23, 0, 0, 0},
  };
  for (const auto& c : cases) {
    TDateTime v = -1;
    const TDateTime expected = EncodeTime(c.h, c.n, c.s, c.z);
    EXPECT_TRUE(TryStrToTime(Utf8ToU16(c.text), v, *c.fs)) << c.text;
    EXPECT_EQ(v.Value, expected.Value) << c.text;
    EXPECT_EQ(StrToTime(Utf8ToU16(c.text), *c.fs).Value, expected.Value) << c.text;
  }
  RegionalSettings custom = kBr;
  custom.TimeAMString = u"manhã";
  custom.TimePMString = u"tarde";
  custom.TimeSeparator = u'h';
  EXPECT_EQ(StrToTime(u"2h30 TARDE", custom).Value, EncodeTime(14, 30, 0, 0).Value);
  EXPECT_EQ(StrToTime(u"manhã 9h15", custom).Value, EncodeTime(9, 15, 0, 0).Value);
}

TEST(StrToTimeTest, Rejects) {
  const char* cases[] = {"",    "24:00",  "12:60",   "12:00:60",      "13:00 PM",   "0:00 AM",
                         "14:", "14:05:", "14:05x",  "14:05:09.1234", "-1:00",      "14:05:09,",
                         "PM",  "14-05",  "1:2:3:4", ":05",           "14:05 AM PM"};
  for (const char* text : cases) {
    TDateTime v = -1;
    EXPECT_FALSE(TryStrToTime(Utf8ToU16(text), v, kUs)) << text;
    EXPECT_EQ(v.Value, -1) << "untouched on failure: " << text;
    EXPECT_EQ(MessageOf([&] { StrToTime(Utf8ToU16(text), kUs); }), "'" + std::string(text) + "' não é uma hora válida");
  }
}

TEST_F(StrToDateTest, DateAndTime) {
  const struct {
    const RegionalSettings* fs;
    const char* text;
    double value;
  } cases[] = {
      {&kBr, "09/12/2026 14:05:09", EncodeDateTime(2026, 12, 9, 14, 5, 9, 0)},
      {&kBr, "09/12/2026 14:05:09,123", EncodeDateTime(2026, 12, 9, 14, 5, 9, 123)},
      {&kBr, "  09/12/2026   14:05  ", EncodeDateTime(2026, 12, 9, 14, 5, 0, 0)},
      {&kBr, "09/12/2026", EncodeDate(2026, 12, 9)},
      {&kBr, "9/12 8:00", EncodeDateTime(2026, 12, 9, 8, 0, 0, 0)},
      {&kBr, "14:05", EncodeTime(14, 5, 0, 0)},  // a time alone is on day 0
      {&kBr, "29/12/1899 06:00", -1.25},         // before day 0 the time counts away from it
      {&kUs, "12/9/2026 2:05 PM", EncodeDateTime(2026, 12, 9, 14, 5, 0, 0)},
  };
  for (const auto& c : cases) {
    TDateTime v = -99;
    EXPECT_TRUE(TryStrToDateTime(Utf8ToU16(c.text), v, *c.fs)) << c.text;
    EXPECT_EQ(v.Value, c.value) << c.text;
    EXPECT_EQ(StrToDateTime(Utf8ToU16(c.text), *c.fs).Value, c.value) << c.text;
  }
  const char* bad[] = {"", "09/12/2026 x", "09/12/2026 25:00", "09/12/2026 14:05 x", "32/12/2026 14:05", "x 14:05"};
  for (const char* text : bad) {
    TDateTime v = -99;
    EXPECT_FALSE(TryStrToDateTime(Utf8ToU16(text), v, kBr)) << text;
    EXPECT_EQ(v.Value, -99) << text;
    EXPECT_EQ(MessageOf([&] { StrToDateTime(Utf8ToU16(text), kBr); }),
              "'" + std::string(text) + "' não é uma data e hora válida");
  }
}

}  // namespace
}  // namespace zelmor
