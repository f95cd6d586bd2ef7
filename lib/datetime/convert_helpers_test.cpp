#include <gtest/gtest.h>

#include "mLib.h"

namespace zelmor {
namespace {

TEST(IsMultiploTest, EachOverloadHasItsGuards) {
  EXPECT_TRUE(TmConv::IsMultiplo(3, 12));
  EXPECT_FALSE(TmConv::IsMultiplo(12, 3));
  EXPECT_FALSE(TmConv::IsMultiplo(1, 1));     // int, int: Multiplo 1 is refused
  EXPECT_TRUE(TmConv::IsMultiplo(1.0, 1.0));  // double, double: it is not
  EXPECT_FALSE(TmConv::IsMultiplo(1, 1.0));   // int, double
  EXPECT_FALSE(TmConv::IsMultiplo(1.0, 1));   // double, int
  EXPECT_TRUE(TmConv::IsMultiplo(1, 7));
  EXPECT_FALSE(TmConv::IsMultiplo(5, 0));
  EXPECT_FALSE(TmConv::IsMultiplo(5.0, 0.0));
  EXPECT_FALSE(TmConv::IsMultiplo(3, 10));
  EXPECT_TRUE(TmConv::IsMultiplo(0.5, 2.0));
  EXPECT_FALSE(TmConv::IsMultiplo(0.3, 1.0));
  EXPECT_TRUE(TmConv::IsMultiplo(-3, 12));
  EXPECT_TRUE(TmConv::IsMultiplo(2.5, 10));
  EXPECT_TRUE(TmConv::IsMultiplo(4, 12.0));
  EXPECT_FALSE(TmConv::IsMultiplo(4, 12.5));
  // A zero Valor past the guards is a division by zero.
  EXPECT_THROW(TmConv::IsMultiplo(0, 5), EZeroDivide);
  EXPECT_THROW(TmConv::IsMultiplo(0.0, 5.0), EZeroDivide);
  EXPECT_THROW(TmConv::IsMultiplo(0, 5.0), EZeroDivide);
  EXPECT_THROW(TmConv::IsMultiplo(0.0, 5), EZeroDivide);
}

TEST(HelpersTest, RangesBitsAndLists) {
  EXPECT_TRUE(TmConv::InRangeInt(1, 1, 3));
  EXPECT_TRUE(TmConv::InRangeInt(3, 1, 3));
  EXPECT_FALSE(TmConv::InRangeInt(4, 1, 3));
  EXPECT_FALSE(TmConv::InRangeInt(2, 3, 1));

  EXPECT_EQ(TmConv::IntToBin(5, 3), u"0101");
  EXPECT_EQ(TmConv::IntToBin(5, -1), u"");
  EXPECT_EQ(TmConv::IntToBin(5, 0), u"1");
  EXPECT_EQ(TmConv::IntToBin(255, 8), u"011111111");
  EXPECT_EQ(TmConv::IntToBin(-1, 31), std::u16string(32, u'1'));
  EXPECT_EQ(TmConv::IntToBin(1, 32), u"1" + std::u16string(31, u'0') + u"1");  // bit 32 is bit 0

  EXPECT_EQ(TmConv::ArrayIntToInStr({1, 2, 3}, u","), u"1,2,3");
  EXPECT_EQ(TmConv::ArrayIntToInStr({}, u","), u"");
  EXPECT_EQ(TmConv::ArrayIntToInStr({-7}, u", "), u"-7");
  EXPECT_EQ(TmConv::ArrayIntToInStr({0, 0}, u", "), u"0, 0");

  EXPECT_EQ(TmConv::CalcCubaCm(2, 3, 4), 24);
  EXPECT_EQ(TmConv::CalcCubaM(100, 100, 100), 1);
  EXPECT_EQ(TmConv::CalcCubaM(50, 40, 30), 0.06);
}

TEST(Modulo10Test, CheckDigits) {
  const struct {
    std::u16string codigo, digito;
  } cases[] = {
      {u"261533", u"4"}, {u"7992739871", u"3"}, {u"123", u"0"}, {u"", u"0"},
      {u"0", u"0"},      {u"5", u"9"},          {u"9", u"1"},   {u"18", u"2"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmConv::Modulo10(c.codigo), c.digito);
  try {
    TmConv::Modulo10(u"12a4");
    FAIL() << "a letter must raise";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"'a' não é um valor inteiro válido");
  }
  EXPECT_THROW(TmConv::Modulo10(u"12 4"), EConvertError);
  EXPECT_THROW(TmConv::Modulo10(u"-1"), EConvertError);
}

}  // namespace
}  // namespace zelmor
