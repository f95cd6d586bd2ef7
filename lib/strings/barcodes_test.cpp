#include <gtest/gtest.h>

#include <set>

#include "core/errors.h"
#include "core/text.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

TEST(CodBarra, Ean13Digit) {
  EXPECT_EQ(TmStr::GetCodBarraDigito(u"789123456789"), u"5");
  EXPECT_EQ(TmStr::GeraCodBarra(u"789123456789"), u"7891234567895");
  EXPECT_EQ(TmStr::GetCodBarraDigito(u"400638133393"), u"1");  // 4006381333931
  EXPECT_EQ(TmStr::GetCodBarraDigito(u""), u"0");
  // Longer than 12: the first 12 count, all of it is kept by GeraCodBarra.
  EXPECT_EQ(TmStr::GetCodBarraDigito(u"7891234567899"), u"5");
  EXPECT_EQ(TmStr::GeraCodBarra(u"7891234567899"), u"78912345678995");
  EXPECT_THROW(TmStr::GetCodBarraDigito(u"78912345678a"), EConvertError);
  EXPECT_THROW(TmStr::GeraCodBarra(u"-1"), EConvertError);
}

TEST(CodBarra, Gtin14Digit) {
  EXPECT_EQ(TmStr::GetCodBarra14Digito(u"1789123456789"), u"2");
  EXPECT_EQ(TmStr::GeraCodBarra14(u"1789123456789"), u"17891234567892");
  // A GTIN-14 made from an EAN-13 with indicator 0 keeps the EAN-13 digit.
  EXPECT_EQ(TmStr::GetCodBarra14Digito(u"0789123456789"), u"5");
  EXPECT_THROW(TmStr::GetCodBarra14Digito(u"x"), EConvertError);
}

TEST(CodBarra, Validation) {
  struct {
    const char16_t* Codigo;
    bool Com14;
    bool Valido;
  } cases[] = {
      {u"7891234567895", false, true},
      {u"7891234567890", false, false},
      {u"4006381333931", false, true},
      {u"96385074", false, true},  // EAN-8
      {u"96385075", false, false},
      {u"036000291452", false, true},  // UPC-A
      {u"036000291453", false, false},
      {u"17891234567892", true, true},
      {u"17891234567893", true, false},
      {u"0000000000000", false, false},
      {u"", false, false},
      {u"abc", false, false},
      {u"789123456789 5", false, false},
      {u"-7891234567895", false, false},
      {u"00000000000000", true, false},
      {u"99999999999999999999", false, false},  // beyond 64 bits
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::IsCodBarraValido(c.Codigo, c.Com14), c.Valido) << U16ToUtf8(c.Codigo);
  EXPECT_TRUE(TmStr::IsCodBarra14Valido(u"17891234567892"));
  EXPECT_FALSE(TmStr::IsCodBarra14Valido(u"17891234567890"));
  EXPECT_FALSE(TmStr::IsCodBarra14Valido(u"00000000000000"));
  EXPECT_FALSE(TmStr::IsCodBarra14Valido(u"1789123456789x"));
}

TEST(CodBarra, DottedForm) {
  EXPECT_EQ(TmStr::FormataCodigoBarrasPonto(u"7891234567895"), u"789.123.456.789.5");
  EXPECT_EQ(TmStr::FormataCodigoBarrasPonto(u"96385074"), u"9.638.507.4");
  EXPECT_EQ(TmStr::FormataCodigoBarrasPonto(u"1234"), u"123.4");
  EXPECT_EQ(TmStr::FormataCodigoBarrasPonto(u"12"), u"1.2");
  EXPECT_EQ(TmStr::FormataCodigoBarrasPonto(u"5"), u"5");
  EXPECT_EQ(TmStr::FormataCodigoBarrasPonto(u""), u"");
}

// The modulo-10 digit of a CMC-7 field, written out independently.
int Cmc7(std::u16string_view f) {
  int total = 0;
  for (std::size_t i = 0; i < f.size(); ++i) {
    const int peso = (f.size() - 1 - i) % 2 == 0 ? 2 : 1;
    const int p = (f[i] - u'0') * peso;
    total += p / 10 + p % 10;
  }
  return (10 - total % 10) % 10;
}

TEST(CodBarra, Cmc7LinesAreWellFormed) {
  std::set<std::u16string> vistos;
  for (int i = 0; i < 200; ++i) {
    const std::u16string l = TmStr::GetCmc7();
    ASSERT_EQ(l.size(), 30u);
    for (char16_t c : l) ASSERT_TRUE(c >= u'0' && c <= u'9');
    const std::u16string_view v(l);
    const auto c1 = v.substr(0, 7), c2 = v.substr(8, 10), c3 = v.substr(19, 10);
    EXPECT_EQ(l[7] - u'0', Cmc7(c2));
    EXPECT_EQ(l[18] - u'0', Cmc7(c1));
    EXPECT_EQ(l[29] - u'0', Cmc7(c3));
    vistos.insert(l);
  }
  EXPECT_GT(vistos.size(), 190u);  // random, not a fixed line
}

}  // namespace
}  // namespace zelmor
