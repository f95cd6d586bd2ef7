#include <gtest/gtest.h>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/text.h"
#include "strings/mString.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

class Formatting : public ::testing::Test {
 protected:
  testing::FixedRegionalSettings brasil{RegionalSettings::Brazilian()};
};

std::u16string Sp(int n) { return std::u16string(static_cast<std::size_t>(n), u' '); }

TEST_F(Formatting, FormataAndTheValuePadding) {
  EXPECT_EQ(TmStr::Formata(1234.5, u"#,##0.00", false), u"1.234,50");
  EXPECT_EQ(TmStr::Formata(0, u"#,##0.00", false), u"0,00");
  EXPECT_EQ(TmStr::Formata(0, u"#,##0.00", true), u". ");
  EXPECT_EQ(TmStr::Formata(-0.0, u"0.00", true), u". ");
  EXPECT_EQ(TmStr::Formata(1234.567, 2), u"1.234,57");
  EXPECT_EQ(TmStr::Formata(1234.567, 0), u"1.235");
  EXPECT_EQ(TmStr::Formata(0.5, 1), u"0,5");
  EXPECT_EQ(TmStr::PadRight(12.5, 8, u' ', u"0.00", true), u"   12,50");
  EXPECT_EQ(TmStr::PadRight(123456.5, 6, u'*', u"#,##0.00", true), u"456,50");
  EXPECT_EQ(TmStr::PadRight(123456.5, 6, u'*', u"#,##0.00", false), u"123.456,50");
  EXPECT_EQ(TmStr::PadRightPonto(12.5, 8, u'_', u"0.00", true), u"___12,50");
  EXPECT_EQ(TmStr::PadRightPonto(0, 5, u' ', u"0.00", true), u"    .");
  EXPECT_EQ(TmStr::PadRightPonto(0, 5, u'0', u"0.00", false), u"0000.");
}

TEST_F(Formatting, FormataValorColumns) {
  // Zero as a lone dot in the decimal point's column; small values as -0 and 0.
  EXPECT_EQ(TmStr::FormataValor(0, 10, 2, true, false, u' ', u""), Sp(7) + u"." + Sp(2));
  EXPECT_EQ(TmStr::FormataValor(-0.001, 10, 2, true, true, u' ', u""), Sp(6) + u"-0" + Sp(2));
  EXPECT_EQ(TmStr::FormataValor(0.004, 10, 2, true, true, u' ', u""), Sp(7) + u"0" + Sp(2));
  EXPECT_EQ(TmStr::FormataValor(0.004, 10, 2, true, false, u' ', u""), Sp(7) + u"." + Sp(2));
  EXPECT_EQ(TmStr::FormataValor(0, 10, 0, true, false, u' ', u""), Sp(9) + u".");
  // Without the dot flag zero is written (with no decimals the pattern writes nothing).
  EXPECT_EQ(TmStr::FormataValor(0, 8, 2, false, false, u' ', u""), Sp(4) + u"0,00");
  EXPECT_EQ(TmStr::FormataValor(0, 8, 0, false, false, u' ', u""), Sp(8));
  // Thousands points dropped from the left until it fits, then the overflow mark.
  EXPECT_EQ(TmStr::FormataValor(1234567.89, 12, 2, true, false, u' ', u""), u"1.234.567,89");
  EXPECT_EQ(TmStr::FormataValor(1234567.89, 11, 2, true, false, u' ', u""), u"1234.567,89");
  EXPECT_EQ(TmStr::FormataValor(1234567.89, 10, 2, true, false, u' ', u""), u"1234567,89");
  EXPECT_EQ(TmStr::FormataValor(1234567.89, 9, 2, true, false, u' ', u""), u"*********.**");
  EXPECT_EQ(TmStr::FormataValor(-1234.5, 10, 2, true, false, u' ', u""), u" -1.234,50");
  // The final text goes between the fill and the value.
  EXPECT_EQ(TmStr::FormataValor(12.5, 10, 2, true, false, u'0', u"R$"), u"000R$12,50");
  EXPECT_EQ(TmStr::FormataValor(5, 6, 0, true, false, u' ', u""), u"     5");
}

TEST_F(Formatting, FormataPontoColumns) {
  // Zero under the decimal separator, or at the right.
  EXPECT_EQ(TmStr::FormataPonto(0, 8, true, u"#,##0.00", false, false, false), Sp(5) + u".  ");
  EXPECT_EQ(TmStr::FormataPonto(0, 8, false, u"#,##0.00", false, false, false), Sp(7) + u".");
  // "0,00" that ends a larger number stays.
  EXPECT_EQ(TmStr::FormataPonto(10, 8, true, u"#,##0.00", false, false, false), u"   10,00");
  EXPECT_EQ(TmStr::FormataPonto(12.34, 8, true, u"#,##0.00", false, false, false), u"   12,34");
  // A zero printed as "0": the mark alone.
  EXPECT_EQ(TmStr::FormataPonto(0, 6, false, u"0", false, false, false), u"   .");
  EXPECT_EQ(TmStr::FormataPonto(0, 6, true, u"0", false, false, false), u" .  ");
  // Whole numbers: a value printed as nothing becomes a dot.
  EXPECT_EQ(TmStr::FormataPonto(0, 6, false, u"#,##", true, false, false), Sp(5) + u".");
  EXPECT_EQ(TmStr::FormataPonto(42, 6, false, u"#,##", true, false, false), u"    42");
  // Leading thousands point dropped above a million / a thousand, width kept.
  EXPECT_EQ(TmStr::FormataPonto(1234567.5, 14, true, u"#,##0.00", false, true, false), u"   1234.567,50");
  EXPECT_EQ(TmStr::FormataPonto(1234567.5, 14, true, u"#,##0.00", false, false, false), u"  1.234.567,50");
  EXPECT_EQ(TmStr::FormataPonto(999999, 12, true, u"#,##0.00", false, true, false), u"  999.999,00");
  EXPECT_EQ(TmStr::FormataPonto(1500, 10, true, u"#,##0.00", false, false, true), u"   1500,00");
  EXPECT_EQ(TmStr::FormataPonto(1500, 10, true, u"0.00", false, false, true), u"   1500,00");
  // Cut to the last characters of the width.
  EXPECT_EQ(TmStr::FormataPonto(123456.78, 6, true, u"#,##0.00", false, false, false), u"456,78");
}

TEST_F(Formatting, ThreeDecimalColumnsAndCutDecimals) {
  EXPECT_EQ(TmStr::FormataPonto3Casas(Currency::FromDouble(12), 8, u"#,##0.000"), u"  12    ");
  EXPECT_EQ(TmStr::FormataPonto3Casas(Currency::FromDouble(1.5), 8, u"#,##0.000"), u"   1,500");
  EXPECT_EQ(TmStr::FormataPonto3Casas(Currency{}, 8, u"#,##0.000"), u"    .   ");
  EXPECT_EQ(TmStr::FormataPonto3Casas(Currency::FromDouble(1000), 10, u"#,##0.000"), u" 1.000    ");
  EXPECT_EQ(TmStr::FormataPonto3Casas(Currency::FromDouble(1000), 8, u"#,##0.000"), u".000    ");  // cut first

  EXPECT_EQ(TmStr::FormataPontoEx(1.256, 6, u"0.00"), u"  1,25");  // cut, not rounded to 1,26
  EXPECT_EQ(TmStr::FormataPontoEx(-1.999, 8, u"0.00"), u"   -1,99");
  EXPECT_EQ(TmStr::FormataPontoEx(1.1, 6, u"0.00"), u"  1,10");
  EXPECT_EQ(TmStr::FormataPontoEx(3, 6, u"0.00"), u"  3,00");
  EXPECT_EQ(TmStr::FormataPontoEx(1234567.891, 12, u"#,##0.00"), u"1.234.567,89");
  EXPECT_EQ(TmStr::FormataPontoEx(1.00001, 8, u"0.00"), u"    1,00");  // a fraction below 0.0001
  EXPECT_EQ(TmStr::FormataPontoEx(0, 6, u"0.00"), u"   .  ");
  EXPECT_EQ(TmStr::FormataPontoEx(0, 4, u"0"), u"   .");
  EXPECT_EQ(TmStr::FormataPontoEx(123456.78, 4, u"0.00"), u"1234");  // keeps its first characters
}

TEST_F(Formatting, DecimalsPointsAndSizes) {
  EXPECT_EQ(TmStr::FormataDecimal(u"12345", 2, false), u"123,45");
  EXPECT_EQ(TmStr::FormataDecimal(u"12345", 2, true), u"123.45");
  EXPECT_EQ(TmStr::FormataDecimal(u"5", 2, false), u",5");
  EXPECT_EQ(TmStr::FormataDecimal(u"12345", 0, false), u"12345,");

  EXPECT_EQ(TmStr::FormataNumeroPontos(u"1234567"), u"1.234.567");
  EXPECT_EQ(TmStr::FormataNumeroPontos(u"123"), u"123");
  EXPECT_EQ(TmStr::FormataNumeroPontos(u"123456"), u"123.456");
  EXPECT_EQ(TmStr::FormataNumeroPontos(u""), u"");
  EXPECT_EQ(TmStr::FormataNumeroPontos(1234567), u"1.234.567");
  EXPECT_EQ(TmStr::FormataNumeroPontos(-123456), u"-.123.456");  // signs are grouped like digits

  EXPECT_EQ(TmStr::FormatarTamanho(1500), u"1,46 Kb");
  EXPECT_EQ(TmStr::FormatarTamanho(1000), u"1.000,0 bytes");
  EXPECT_EQ(TmStr::FormatarTamanho(1023), u"1,0 Kb");
  EXPECT_EQ(TmStr::FormatarTamanho(0), u"0,0 bytes");
  EXPECT_EQ(TmStr::FormatarTamanho(5.5 * 1024 * 1024), u"5,5 Mb");
  EXPECT_EQ(TmStr::FormatarTamanho(3.0 * 1024 * 1024 * 1024 * 1024), u"3.072,0 Gb");
}

TEST_F(Formatting, Documents) {
  struct {
    std::u16string (*Fn)(std::u16string_view);
    const char16_t* In;
    const char16_t* Out;
  } cases[] = {
      {&TmStr::FormataFone, u"3456789", u"(00)345-6789"},
      {&TmStr::FormataFone, u"34567890", u"(00)3456-7890"},
      {&TmStr::FormataFone, u"934567890", u"(00)93456-7890"},
      {&TmStr::FormataFone, u"1134567890", u"(11)3456-7890"},
      {&TmStr::FormataFone, u"(11) 93456-7890", u"(11)93456-7890"},
      {&TmStr::FormataFone, u"119345678901", u"(11)93456-7890"},
      {&TmStr::FormataFone, u"123", u""},
      {&TmStr::FormataCPFCNPJ, u"123.456.789-09", u"123.456.789-09"},
      {&TmStr::FormataCPFCNPJ, u"12345678909", u"123.456.789-09"},
      {&TmStr::FormataCPFCNPJ, u"11222333000181", u"11.222.333/0001-81"},
      {&TmStr::FormataCPFCNPJ, u"1234", u"1234"},
      {&TmStr::FormataCPFCNPJ, u"12.34", u"1234"},
      {&TmStr::FormataPIS, u"12345678901", u"123.45678.90-1"},
      {&TmStr::FormataPIS, u"0012345678901", u"123.45678.90-1"},
      {&TmStr::FormataPIS, u"12", u"12-.."},  // every mark beyond the end is appended
      {&TmStr::FormataIE, u"ISENTO", u"ISENTO"},
      {&TmStr::FormataIE, u"123456789", u"123.456.789"},
      {&TmStr::FormataIE, u"12345678", u"12.345.678"},
      {&TmStr::FormataIE, u"110042490114", u"110.042.490114"},
      {&TmStr::FormataIE, u"", u""},
      {&TmStr::FormataCEP, u"01310100", u"01310-100"},
      {&TmStr::FormataCEP, u"01310-100", u"01310-100"},
      {&TmStr::FormataCEP, u"0131", u"0131"},
      {&TmStr::FormataTIPI, u"123456", u"0012.34.56"},
      {&TmStr::FormataTIPI, u"1234567890", u"3456.78.90"},
      {&TmStr::FormataNCM, u"123456", u"0012.34.56"},
      {&TmStr::FormataNCM, u"12345678", u"1234.56.78"},
      {&TmStr::FormataNCM, u"1234567890", u"1234567890"},
      {&TmStr::FormataCEST, u"1234567", u"12.345.67"},
      {&TmStr::FormataPlacaVeiculo, u" ABC1234 ", u"ABC-1234"},
      {&TmStr::FormataPlacaVeiculo, u"ABC1D23", u"ABC-1D23"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.Fn(c.In), c.Out) << U16ToUtf8(c.In);
  EXPECT_EQ(TmStr::FormataTIPI(123456789), u"2345.67.89");
  EXPECT_EQ(TmStr::FormataTIPI(84713012), u"8471.30.12");
}

// A company number with letters keeps them, as capitals, in the CNPJ layout; a text
// that is not such a number keeps the digits-only reading, letters dropped.
TEST_F(Formatting, CnpjWithLetters) {
  const struct {
    const char16_t* In;
    const char16_t* Out;
  } cases[] = {
      {u"12ABC34501DE35", u"12.ABC.345/01DE-35"},
      {u"12.abc.345/01de-35", u"12.ABC.345/01DE-35"},
      {u"12.ABC.345/01DE-35", u"12.ABC.345/01DE-35"},
      {u" 12ABC34501DE35  ", u"12.ABC.345/01DE-35"},  // blanks around, as a fixed-width field keeps it
      {u"ABCDEFGHIJKL80", u"AB.CDE.FGH/IJKL-80"},
      {u"12ABC34501DE36", u"12.ABC.345/01DE-36"},  // formatted, not checked
      {u"12ABC34501DE3A", u"12345013"},            // a letter among the check digits
      {u"12ABC34501DE3", u"12345013"},             // 13 characters
      {u"12ABC34501DE355", u"1234501355"},         // 15 characters
      {u"12 ABC 345 01DE 35", u"123450135"},       // blanks inside
      {u"CPF 123.456.789-09", u"123.456.789-09"},  // a label before a CPF
      {u"CNPJ: 11.222.333/0001-81", u"11.222.333/0001-81"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::FormataCPFCNPJ(c.In), c.Out) << U16ToUtf8(c.In);
}

TEST_F(Formatting, AccessKeyInBlocksOfFour) {
  const std::u16string chave = u"35240511222333000181550010000001231123456785";
  const std::u16string blocos = u"3524 0511 2223 3300 0181 5500 1000 0001 2311 2345 6785";
  EXPECT_EQ(TmStr::FormataChaveNFe(chave), blocos);
  EXPECT_EQ(TmStr::FormataChaveNFe(u"NFe" + chave), u"NFe " + blocos);
  EXPECT_EQ(TmStr::FormataChaveNFe(u"1234"), u"1234");
  EXPECT_EQ(TmStr::FormataChaveNFe(u"12345"), u"12345");  // no space at the last position
  EXPECT_EQ(TmStr::FormataChaveNFe(u"123456"), u"1234 56");
  EXPECT_EQ(TmStr::FormataChaveNFe(u"NFe"), u"NFe");
}

TEST_F(Formatting, Dates) {
  EXPECT_EQ(TmStr::FormataData(TDateTime(0), u"dd/mm/yyyy", false), u"");
  EXPECT_EQ(TmStr::FormataData(TDateTime(0), u"dd/mm/yyyy", true), u"30/12/1899");
  EXPECT_EQ(TmStr::FormataData(TDateTime(0), u"yyyy-mm-dd", false), u"1899-12-30");
  EXPECT_EQ(TmStr::FormataData(EncodeDate(2026, 12, 9), u"dd/mm/yyyy", false), u"09/12/2026");

  struct {
    const char16_t* In;
    bool Completa;
    const char16_t* Out;
  } cases[] = {
      {u"", true, u"null"},
      {u"//", true, u"null"},
      {u"3107", true, u"31/07"},
      {u"31/07/18", true, u"31/07/18"},
      {u"07/2018", false, u"01/07/2018"},
      {u"2018/07", false, u"01/07/2018"},
      {u"31072018", true, u"31/07/2018"},
      {u"31/07/2018", false, u"31/07/2018"},
      {u"310718x", true, u"31/07/18"},
      {u"12345", true, u""},
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::FormataDataStr(c.In, c.Completa, false), c.Out) << U16ToUtf8(c.In);

  EXPECT_EQ(TmStr::FormataDataStr(u"31/07/2018", true, true), u"'2018-07-31'");
  EXPECT_EQ(TmStr::FormataDataStr(u"2018/07", false, true), u"'2018-07-01'");
  EXPECT_EQ(TmStr::FormataDataStr(u"", true, true), u"null");
  EXPECT_THROW(TmStr::FormataDataStr(u"31/02/2018", true, true), EConvertError);
  EXPECT_THROW(TmStr::FormataDataStr(u"12345", true, true), EConvertError);

  const TDateTime t = EncodeDateTime(2026, 12, 9, 14, 5, 9, 0);
  EXPECT_EQ(TmStr::FormataHora(t, u"hh:nn"), u"14:05");
  EXPECT_EQ(TmStr::FormataTempoDecorrido(EncodeTime(1, 2, 3, 0), u"hh:nn:ss"), u"01:02:03");
}

TEST_F(Formatting, GetDataHoraReadsTheClock) {
  testing::FixedClock relogio({2026, 12, 9, 14, 5, 9, 123});
  EXPECT_EQ(TmStr::GetDataHora(u"dd/mm/yyyy hh:nn:ss.zzz"), u"09/12/2026 14:05:09.123");
}

}  // namespace
}  // namespace zelmor
