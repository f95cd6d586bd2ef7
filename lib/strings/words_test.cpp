#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/text.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

std::u16string Reais(std::int64_t centavos) {
  return TmStr::Extenso(Currency::FromRaw(centavos * 100), u"Real", u"Reais", u"Centavo", u"Centavos");
}

TEST(Extenso, WorkedExamples) {
  struct {
    std::int64_t Centavos;
    const char16_t* Texto;
  } cases[] = {
      {1, u"Um Centavo de Real"},
      {15, u"Quinze Centavos de Real"},
      {50, u"Cinqüenta Centavos de Real"},
      {100, u"Um Real"},
      {101, u"Um Real e Um Centavo"},
      {110, u"Um Real e Dez Centavos"},
      {250, u"Dois Reais e Cinqüenta Centavos"},
      {10000, u"Cem Reais"},
      {10100, u"Cento e Um Reais"},
      {11000, u"Cento e Dez Reais"},
      {100000, u"Um Mil Reais"},
      {105000, u"Um Mil e Cinqüenta Reais"},
      {120000, u"Um Mil e Duzentos Reais"},
      {125000, u"Um Mil, Duzentos e Cinqüenta Reais"},
      {2131517, u"Vinte e Um Mil, Trezentos e Quinze Reais e Dezessete Centavos"},
      {10010000, u"Cem Mil e Cem Reais"},
      {99999999, u"Novecentos e Noventa e Nove Mil, Novecentos e Noventa e Nove Reais e Noventa e Nove Centavos"},
      {100000000, u"Um Milhão Reais"},
      {100000050, u"Um Milhão de Reais e Cinqüenta Centavos"},
      {200000000, u"Dois Milhões de Reais"},
      {200000100, u"Dois Milhões e Um Reais"},
      {250000000, u"Dois Milhões, Quinhentos Mil de Reais"},
      {100000050000, u"Um Bilhão e Quinhentos Reais"},
      {200300000000, u"Dois Bilhões, Três Milhões de Reais"},
      {14, u"Quatorze Centavos de Real"},
      {99999999999999,
       u"Novecentos e Noventa e Nove Bilhões, Novecentos e Noventa e Nove Milhões, Novecentos e "
       u"Noventa e Nove Mil, Novecentos e Noventa e Nove Reais e Noventa e Nove Centavos"},
  };
  for (const auto& c : cases) EXPECT_EQ(Reais(c.Centavos), c.Texto) << c.Centavos;
}

TEST(Extenso, ZeroAndTheCallersCurrencyNames) {
  EXPECT_EQ(TmStr::Extenso(Currency{}, u"", u"", u"", u""), u"Zero");
  EXPECT_EQ(TmStr::Extenso(Currency{}, u"Dólar", u"Dólares", u"Cent", u"Cents"), u"Zero");
  EXPECT_EQ(TmStr::Extenso(Currency::FromRaw(25000), u"Dólar", u"Dólares", u"Cent", u"Cents"),
            u"Dois Dólares e Cinqüenta Cents");
  EXPECT_EQ(TmStr::Extenso(Currency::FromRaw(10000), u"Dólar", u"Dólares", u"Cent", u"Cents"), u"Um Dólar");
}

TEST(Extenso, RoundsToCentsHalfAwayFromZero) {
  EXPECT_EQ(TmStr::Extenso(Currency::FromRaw(149), u"Real", u"Reais", u"Centavo", u"Centavos"), u"Um Centavo de Real");
  EXPECT_EQ(TmStr::Extenso(Currency::FromRaw(150), u"Real", u"Reais", u"Centavo", u"Centavos"),
            u"Dois Centavos de Real");
  EXPECT_EQ(TmStr::Extenso(Currency::FromRaw(49), u"Real", u"Reais", u"Centavo", u"Centavos"), u"Zero");
  EXPECT_EQ(TmStr::Extenso(Currency::FromRaw(19950), u"Real", u"Reais", u"Centavo", u"Centavos"), u"Dois Reais");
}

TEST(Extenso, OutsideTheRange) {
  EXPECT_EQ(Reais(-250), u"Menos Dois Reais e Cinqüenta Centavos");
  EXPECT_EQ(TmStr::Extenso(Currency::FromRaw(-49), u"Real", u"Reais", u"Centavo", u"Centavos"), u"Zero");
  EXPECT_EQ(Reais(100000000000000), u"");  // a trillion
  EXPECT_EQ(TmStr::Extenso(Currency::FromRaw(INT64_MIN), u"Real", u"Reais", u"Centavo", u"Centavos"), u"");
}

TEST(QuebraExtenso, TwoLinesFilledWithAsterisks) {
  const std::u16string s40(40, u'*');
  EXPECT_EQ(TmStr::QuebraExtenso(10.00, 40, 40), u"DEZ REAIS" + std::u16string(31, u'*') + u"^" + s40);
  // Upper case without accents.
  EXPECT_EQ(TmStr::QuebraExtenso(3.50, 60, 10),
            u"TRES REAIS E CINQUENTA CENTAVOS" + std::u16string(29, u'*') + u"^" + std::u16string(10, u'*'));
  // Broken at the last space that fits; line 2 keeps that space in front.
  EXPECT_EQ(TmStr::QuebraExtenso(1250000.00, 20, 40),
            u"UM MILHAO, DUZENTOS*^ E CINQUENTA MIL DE REAIS***************^");
  EXPECT_EQ(TmStr::QuebraExtenso(1250000.00, 18, 40), u"UM MILHAO,********^ DUZENTOS E CINQUENTA MIL DE REAIS******^");
  // A first line narrower than the first word: line 1 is only asterisks.
  EXPECT_EQ(TmStr::QuebraExtenso(10.00, 2, 20), u"**^DEZ REAIS***********^");
  // Words that do not fit in both lines.
  EXPECT_EQ(TmStr::QuebraExtenso(987654321.99, 10, 10), u"");
  // Amounts that cannot be written give nothing to print.
  EXPECT_EQ(TmStr::QuebraExtenso(1e12, 200, 200), u"");
  EXPECT_EQ(TmStr::QuebraExtenso(std::nan(""), 200, 200), u"");
  // Exactly filling line 2 is not fitting (the rest must be shorter than the line).
  EXPECT_EQ(TmStr::QuebraExtenso(10.00, 2, 9), u"");
}

}  // namespace
}  // namespace zelmor
