#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/text.h"
#include "datetime/holidays.h"
#include "datetime/mDataHora.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

// Easter by the "anonymous Gregorian" algorithm (Meeus, Jones, Butcher), a different
// computation from the one the library ships.
DateParts MeeusEaster(int y) {
  int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4;
  int f = (b + 8) / 25, g = (b - f + 1) / 3;
  int h = (19 * a + b - d - g + 15) % 30;
  int i = c / 4, k = c % 4;
  int l = (32 + 2 * e + 2 * i - h - k) % 7;
  int m = (a + 11 * h + 22 * l) / 451;
  DateParts p;
  p.Year = y;
  p.Month = (h + l - 7 * m + 114) / 31;
  p.Day = (h + l - 7 * m + 114) % 31 + 1;
  return p;
}

TEST(Easter, KnownYears) {
  struct {
    int year, month, day;
  } cases[] = {
      {2018, 4, 1},  {2019, 4, 21}, {2024, 3, 31}, {2025, 4, 20},
      {2000, 4, 23}, {1818, 3, 22}, {2285, 3, 22},  // the earliest possible date
      {1943, 4, 25}, {2038, 4, 25},                 // the latest
      {1954, 4, 18}, {1981, 4, 19},                 // the two exceptions of the computus (April 19 and 18 rules)
  };
  for (const auto& c : cases)
    EXPECT_EQ(TmDt::GetPascoa(c.year).Value, EncodeDate(c.year, c.month, c.day).Value) << c.year;
}

TEST(Easter, AgreesWithAnIndependentAlgorithmOverTheWholeRange) {
  int mismatches = 0;
  for (int y = 1; y <= 9999; ++y) {
    const TDateTime easter = TmDt::GetPascoa(y);
    const DateParts expected = MeeusEaster(y);
    const DateParts got = DecodeDate(easter);
    if (got.Month != expected.Month || got.Day != expected.Day || DayOfWeek(easter) != 1 ||
        easter.Value != static_cast<double>(static_cast<long long>(easter.Value))) {
      if (++mismatches <= 5)
        ADD_FAILURE() << y << ": " << got.Day << "/" << got.Month << " vs " << expected.Day << "/" << expected.Month;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(Easter, YearsOutsideTheCalendarRaise) {
  EXPECT_THROW(TmDt::GetPascoa(0), EConvertError);
  EXPECT_THROW(TmDt::GetPascoa(-2018), EConvertError);
  EXPECT_THROW(TmDt::GetPascoa(10000), EConvertError);
  // A movable feast has to be checked for a day that is no fixed holiday, so Easter is needed.
  EXPECT_THROW(TmDt::IsFeriado(EncodeDate(9999, 12, 31) + 70), EConvertError);
  EXPECT_THROW(TmDt::GetFeriadoStr(-700000), EConvertError);
}

struct Expected {
  int month, day;
  const char16_t* name;
};

// Every day of the year through GetFeriadoStr and IsFeriado, against the expected list.
void CheckYear(int year, const std::vector<Expected>& expected) {
  std::vector<std::string> found, wanted;
  for (TDateTime d = EncodeDate(year, 1, 1); DecodeDate(d).Year == year; d = d + 1) {
    const std::u16string name = TmDt::GetFeriadoStr(d);
    EXPECT_EQ(TmDt::IsFeriado(d), !name.empty()) << year << " day " << d.Value;
    const DateParts p = DecodeDate(d);
    if (!name.empty()) found.push_back(std::to_string(p.Day) + "/" + std::to_string(p.Month) + " " + U16ToUtf8(name));
  }
  for (const Expected& e : expected)
    wanted.push_back(std::to_string(e.day) + "/" + std::to_string(e.month) + " " + U16ToUtf8(e.name));
  EXPECT_EQ(found, wanted) << year;
}

TEST(Holidays, WholeYears) {
  CheckYear(2018, {{1, 1, u"Confraternização Universal"},
                   {2, 13, u"Carnaval"},
                   {3, 30, u"Sexta-feira da Paixão"},
                   {4, 1, u"Páscoa"},
                   {4, 21, u"Tiradentes"},
                   {5, 1, u"Dia do Trabalho"},
                   {5, 31, u"Corpus Christi"},
                   {9, 7, u"Independência do Brasil"},
                   {10, 12, u"Nossa Senhora Aparecida"},
                   {11, 2, u"Finados"},
                   {11, 15, u"Proclamação da República"},
                   {12, 25, u"Natal"}});
  // Easter on Tiradentes: the fixed holiday's name wins.
  CheckYear(2019, {{1, 1, u"Confraternização Universal"},
                   {3, 5, u"Carnaval"},
                   {4, 19, u"Sexta-feira da Paixão"},
                   {4, 21, u"Tiradentes"},
                   {5, 1, u"Dia do Trabalho"},
                   {6, 20, u"Corpus Christi"},
                   {9, 7, u"Independência do Brasil"},
                   {10, 12, u"Nossa Senhora Aparecida"},
                   {11, 2, u"Finados"},
                   {11, 15, u"Proclamação da República"},
                   {12, 25, u"Natal"}});
  // A leap year with an early Easter, and the first year of Consciência Negra.
  CheckYear(2024, {{1, 1, u"Confraternização Universal"},
                   {2, 13, u"Carnaval"},
                   {3, 29, u"Sexta-feira da Paixão"},
                   {3, 31, u"Páscoa"},
                   {4, 21, u"Tiradentes"},
                   {5, 1, u"Dia do Trabalho"},
                   {5, 30, u"Corpus Christi"},
                   {9, 7, u"Independência do Brasil"},
                   {10, 12, u"Nossa Senhora Aparecida"},
                   {11, 2, u"Finados"},
                   {11, 15, u"Proclamação da República"},
                   {11, 20, u"Consciência Negra"},
                   {12, 25, u"Natal"}});
}

// 20 November is a national holiday by federal law from 2024 on, and not before.
TEST(Holidays, ConscienciaNegraFrom2024) {
  struct {
    int year;
    bool holiday;
  } cases[] = {{1900, false}, {2000, false}, {2023, false}, {2024, true}, {2025, true}, {2026, true}, {9999, true}};
  for (const auto& c : cases) {
    const TDateTime day = EncodeDate(c.year, 11, 20);
    EXPECT_EQ(TmDt::IsFeriado(day), c.holiday) << c.year;
    EXPECT_EQ(TmDt::GetFeriadoStr(day), c.holiday ? u"Consciência Negra" : u"") << c.year;
    EXPECT_EQ(TmDt::IsFeriado(EncodeDateTime(c.year, 11, 20, 18, 30, 0, 0)), c.holiday) << c.year;
    // The days around it stay ordinary.
    EXPECT_FALSE(TmDt::IsFeriado(EncodeDate(c.year, 11, 19))) << c.year;
    EXPECT_FALSE(TmDt::IsFeriado(EncodeDate(c.year, 11, 21))) << c.year;
  }
  // In the year's list it comes after Proclamação da República and before Natal.
  const std::vector<Holiday> antes = NationalHolidays(2023), depois = NationalHolidays(2026);
  ASSERT_EQ(antes.size(), 12u);
  ASSERT_EQ(depois.size(), 13u);
  EXPECT_EQ(antes[10].Name, u"Proclamação da República");
  EXPECT_EQ(antes[11].Name, u"Natal");
  EXPECT_EQ(depois[10].Name, u"Proclamação da República");
  EXPECT_EQ(depois[11].Name, u"Consciência Negra");
  EXPECT_EQ(depois[11].Date.Value, EncodeDate(2026, 11, 20).Value);
  EXPECT_EQ(depois[12].Name, u"Natal");
}

TEST(Holidays, NationalHolidaysListsEveryRuleInDateOrder) {
  std::vector<Holiday> list = NationalHolidays(2019);
  ASSERT_EQ(list.size(), 12u);
  for (std::size_t i = 1; i < list.size(); ++i) EXPECT_LE(list[i - 1].Date.Value, list[i].Date.Value);
  // Tiradentes and Easter share 21 April 2019: both are listed, the fixed one first.
  EXPECT_EQ(list[3].Name, u"Tiradentes");
  EXPECT_EQ(list[4].Name, u"Páscoa");
  EXPECT_EQ(list[3].Date.Value, EncodeDate(2019, 4, 21).Value);
  EXPECT_EQ(list[4].Date.Value, EncodeDate(2019, 4, 21).Value);
  // Every listed day is recognised, at 00:00.
  for (int year : {1900, 2018, 2024, 2100}) {
    for (const Holiday& h : NationalHolidays(year)) {
      EXPECT_TRUE(TmDt::IsFeriado(h.Date)) << U16ToUtf8(h.Name) << " " << year;
      EXPECT_EQ(DecodeTime(h.Date).Hour, 0);
    }
  }
  EXPECT_THROW(NationalHolidays(0), EConvertError);
}

TEST(Holidays, TheTimeOfDayDoesNotMatter) {
  EXPECT_EQ(TmDt::GetFeriadoStr(EncodeDateTime(2018, 12, 25, 15, 0, 0, 0)), u"Natal");
  EXPECT_TRUE(TmDt::IsFeriado(EncodeDateTime(2018, 4, 1, 15, 0, 0, 0)));
  EXPECT_EQ(TmDt::GetFeriadoStr(EncodeDateTime(2018, 2, 13, 23, 59, 59, 999)), u"Carnaval");
  EXPECT_EQ(TmDt::GetFeriadoStr(EncodeDateTime(2018, 5, 31, 0, 0, 0, 1)), u"Corpus Christi");
  EXPECT_FALSE(TmDt::IsFeriado(EncodeDateTime(2018, 3, 31, 23, 59, 59, 999)));  // the day before Easter
}

TEST(Holidays, OrdinaryDays) {
  EXPECT_FALSE(TmDt::IsFeriado(EncodeDate(2018, 12, 24)));
  EXPECT_EQ(TmDt::GetFeriadoStr(EncodeDate(2018, 12, 24)), u"");
  EXPECT_FALSE(TmDt::IsFeriado(EncodeDate(2018, 2, 12)));  // Carnival Monday is not national
  EXPECT_FALSE(TmDt::IsFeriado(EncodeDate(2018, 2, 14)));  // nor Ash Wednesday
  EXPECT_FALSE(TmDt::IsFeriado(EncodeDate(2023, 11, 20)));
}

TEST(Holidays, RecognisedWhateverTheRegionalDateSeparator) {
  RegionalSettings dashes = RegionalSettings::Brazilian();
  dashes.DateSeparator = u'-';
  testing::FixedRegionalSettings regional(dashes);
  EXPECT_EQ(TmDt::GetFeriadoStr(EncodeDate(2018, 12, 25)), u"Natal");
  EXPECT_TRUE(TmDt::IsFeriado(EncodeDate(2018, 9, 7)));
  EXPECT_EQ(TmDt::GetFeriadoStr(EncodeDate(2018, 2, 13)), u"Carnaval");
}

TEST(Holidays, YearsBefore1900) {
  // 1 January 1800 and Easter 1800 (13 April) lie before day 0 of the date-time value.
  EXPECT_EQ(TmDt::GetFeriadoStr(EncodeDate(1800, 1, 1)), u"Confraternização Universal");
  EXPECT_EQ(TmDt::GetFeriadoStr(EncodeDate(1800, 4, 13)), u"Páscoa");
  EXPECT_EQ(TmDt::GetFeriadoStr(EncodeDateTime(1800, 4, 13, 12, 0, 0, 0)), u"Páscoa");
  EXPECT_EQ(TmDt::GetFeriadoStr(EncodeDate(1800, 4, 11)), u"Sexta-feira da Paixão");
}

}  // namespace
}  // namespace zelmor
