#include <gtest/gtest.h>

#include <cmath>

#include "calendar/calendar.h"
#include "format/format_number.h"
#include "mLib.h"
#include "regional/regional_copies.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

using testing::FixedRegionalSettings;

class ConvertTextTest : public ::testing::Test {
 protected:
  FixedRegionalSettings brazil{RegionalSettings::Brazilian()};
};

TEST_F(ConvertTextTest, Str2FloatIsLenient) {
  const struct {
    std::u16string in;
    double out;
  } cases[] = {
      {u"R$ 1.234,56", 1234.56},
      {u"(1.234,56)", -1234.56},
      {u"12-34", -1234},
      {u"abc", 0},
      {u"", 0},
      {u"1,2,3", 0},
      {u"- 1,5", -1.5},
      {u"(5", 5},
      {u",5", 0.5},
      {u"5,", 5},
      {u"-", 0},
      {u"1.234", 1234},
      {u"  7  ", 7},
      {u"R$ -0,01", -0.01},
      {u"1e5", 15},
      {u"0,1", 0.1},
  };
  for (const auto& c : cases) EXPECT_EQ(TmConv::Str2Float(c.in), c.out) << std::string(c.in.begin(), c.in.end());
}

TEST_F(ConvertTextTest, SqlFormsUseADecimalPoint) {
  EXPECT_EQ(TmConv::StrAnsi2Float(u"1234.56"), 1234.56);
  EXPECT_EQ(TmConv::StrAnsi2Float(u"1,234.56"), 0);  // grouping makes two decimal separators
  EXPECT_EQ(TmConv::StrAnsi2Float(u"-0.5"), -0.5);
  EXPECT_EQ(TmConv::Str2FloatAnsi(u"R$ 1.234,50"), u"1234.5");
  EXPECT_EQ(TmConv::Str2FloatAnsi(u"x"), u"0");
  EXPECT_EQ(TmConv::FloatToAnsi(1234.5), u"1234.5");
  EXPECT_EQ(TmConv::FloatToAnsi(-0.25), u"-0.25");
  EXPECT_EQ(TmConv::FloatToAnsi(1e20), u"1E20");
  EXPECT_EQ(TmConv::FloatToAnsiFormated(1234.5, u"#,##0.00"), u"1.234.50");
  EXPECT_EQ(TmConv::FloatToAnsiFormated(1234.5, u"0.00"), u"1234.50");
  EXPECT_EQ(TmConv::FloatToAnsiFormated(-0.5, u"0.000"), u"-0.500");
}

TEST_F(ConvertTextTest, StrFormated2FloatDropsTheSignAndRaises) {
  EXPECT_EQ(TmConv::StrFormated2Float(u"-1.234,50"), 1234.5);
  EXPECT_EQ(TmConv::StrFormated2Float(u"R$ 12,00"), 12);
  for (const char16_t* bad : {u"", u"abc", u"1,2,3"}) {
    try {
      TmConv::StrFormated2Float(bad);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
      EXPECT_NE(e.Message().find(u"não é um valor de ponto flutuante válido"), std::u16string::npos);
    }
  }
  try {
    TmConv::StrFormated2Float(u"abc");
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"'' não é um valor de ponto flutuante válido");  // what was left to parse
  }
  EXPECT_EQ(TmConv::StrFormated2FloatDef(u"", 7), 7);
  EXPECT_EQ(TmConv::StrFormated2FloatDef(u"abc", 7), 7);
  EXPECT_EQ(TmConv::StrFormated2FloatDef(u"1,5", 7), 1.5);
  EXPECT_EQ(TmConv::StrFormated2FloatDef(u"-1.000,5", 7), 1000.5);
}

TEST_F(ConvertTextTest, CopiedAndLiveSeparators) {
  FixedRegionalSettings us(RegionalSettings::UnitedStates());
  EXPECT_EQ(TmConv::Str2Float(u"$1,234.56"), 1234.56);
  EXPECT_EQ(TmConv::StrAnsi2Float(u"1234.56"), 1234.56);
  EXPECT_EQ(TmConv::FloatToAnsi(1234.5), u"1234.5");
  EXPECT_EQ(TmConv::Str2FloatAnsi(u"$1,234.50"), u"1234.5");
  // After the Brazilian copies are set the live settings still read ".": the
  // text kept for parsing holds "," and no longer reads as a number.
  SetBrazilianRegionalCopies();
  EXPECT_EQ(TmConv::Str2Float(u"12"), 12);
  EXPECT_EQ(TmConv::Str2Float(u"1,5"), 0);
}

TEST_F(ConvertTextTest, StrAnsiToDateReadsMonthFirst) {
  const TDateTime def = 12345.0;
  EXPECT_EQ(TmConv::StrAnsiToDate(u"12/05/2018", def, false), EncodeDate(2018, 12, 5));
  EXPECT_EQ(TmConv::StrAnsiToDate(u"'12/05/2018 10:30:00'", def, true), EncodeDateTime(2018, 12, 5, 10, 30, 0, 0));
  EXPECT_EQ(TmConv::StrAnsiToDate(u"'12/05/2018'", def, true), EncodeDate(2018, 12, 5));
  EXPECT_EQ(TmConv::StrAnsiToDate(u"02/29/2020 23:59", def, false), EncodeDateTime(2020, 2, 29, 23, 59, 0, 0));
  EXPECT_EQ(TmConv::StrAnsiToDate(u"12/05/2018 xx", def, false), EncodeDate(2018, 12, 5));  // unreadable time
  const char16_t* bad[] = {u"",         u"12/05",      u"13/05/2018", u"02/30/2019", u"ab/05/2018",
                           u"12/05/18", u"12/05/x018", u"12-05-2018", u"//"};
  for (const char16_t* b : bad) EXPECT_EQ(TmConv::StrAnsiToDate(b, def, false), def) << std::u16string(b).size();
  EXPECT_EQ(TmConv::StrAnsiToDate(u"'", def, true), def);
  // Before 1899-12-30 the time still lies after midnight of that day.
  const TDateTime old = TmConv::StrAnsiToDate(u"01/01/1800 06:00", def, false);
  EXPECT_EQ(DecodeDate(old).Year, 1800);
  EXPECT_EQ(DecodeTime(old).Hour, 6);
}

TEST_F(ConvertTextTest, IntegersAndYesNo) {
  EXPECT_EQ(TmConv::ToInt(u"12", 0), 12);
  EXPECT_EQ(TmConv::ToInt(u" -12", 0), -12);
  EXPECT_EQ(TmConv::ToInt(u"12a", 7), 7);
  // Blanks in front only: nothing may follow the digits.
  EXPECT_EQ(TmConv::ToInt(u"42 ", 7), 7);
  EXPECT_EQ(TmConv::ToInt(u"\t42\t", 7), 7);
  EXPECT_EQ(TmConv::ToInt64(u" 42 ", 7), 7);
  EXPECT_EQ(TmConv::ToInt64(u"  +42", 7), 42);
  EXPECT_EQ(TmConv::ToInt(u"", 5), 5);
  EXPECT_EQ(TmConv::ToInt(u"99999999999", -1), -1);
  EXPECT_EQ(TmConv::ToInt64(u"99999999999", 0), 99999999999LL);
  EXPECT_EQ(TmConv::ToInt64(u"x", -2147483647 - 1), -2147483648LL);
  const struct {
    std::u16string in;
    bool out;
  } yes[] = {{u"S", true}, {u"sim", true}, {u"1", true},     {u"N", false}, {u"Não", false},
             {u"", false}, {u"T", false},  {u"true", false}, {u"Y", false}, {u" S", false}};
  for (const auto& c : yes) EXPECT_EQ(TmConv::ToBoolean(c.in), c.out);
  EXPECT_EQ(TmConv::FromBoolean(true, false), u"S");
  EXPECT_EQ(TmConv::FromBoolean(false, false), u"N");
  EXPECT_EQ(TmConv::FromBoolean(true, true), u"'S'");
  EXPECT_EQ(TmConv::FromBoolean(false, true), u"'N'");
}

// Property: formatting a value in the Brazilian way and reading it back gives the
// value at two decimals. Fixed seed, bounded loop.
TEST_F(ConvertTextTest, Str2FloatReadsBackFormattedAmounts) {
  std::uint32_t seed = 31;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 2000; ++round) {
    const long long cents = static_cast<long long>(next() % 100000000) * ((next() & 1) ? 1 : -1);
    const double v = static_cast<double>(cents) / 100;
    const std::u16string text = FormatFloat(u"R$ #,##0.00;(R$ #,##0.00)", v);
    ASSERT_EQ(TmConv::Str2Float(text), v) << cents;
  }
}

}  // namespace
}  // namespace zelmor
