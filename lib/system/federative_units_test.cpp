#include <gtest/gtest.h>

#include <map>
#include <set>
#include <span>

#include "core/text.h"
#include "strings/mString.h"
#include "strings/testdata/ie_samples.h"
#include "system/federative_units.h"

namespace zelmor {
namespace {

TEST(TmUF, TableRows) {
  const TUnidadeFederativa ba = TmUF::Dados(u"BA");
  EXPECT_EQ(ba.Sigla, u"BA");
  EXPECT_EQ(ba.IBGE, 29);
  EXPECT_EQ(ba.Tamanho, (TzelArrayInteger{8, 9}));
  EXPECT_EQ(TmUF::Dados(u"TO").Tamanho, (TzelArrayInteger{9, 11}));
  EXPECT_EQ(TmUF::Dados(u"AC").Tamanho, (TzelArrayInteger{13}));
  EXPECT_EQ(TmUF::Dados(u"PE").Tamanho, (TzelArrayInteger{9, 14}));
  EXPECT_EQ(TmUF::Dados(u"RN").Tamanho, (TzelArrayInteger{9, 10}));

  const TUnidadeFederativa nada = TmUF::Dados(u"sp");
  EXPECT_EQ(nada.Sigla, u"");
  EXPECT_EQ(nada.IBGE, 0);
  EXPECT_TRUE(nada.Tamanho.empty());
}

TEST(TmUF, CodesBothWays) {
  struct {
    const char16_t* Sigla;
    int Codigo;
  } rows[] = {{u"AC", 12}, {u"AL", 27}, {u"AM", 13}, {u"AP", 16}, {u"BA", 29}, {u"CE", 23}, {u"DF", 53},
              {u"ES", 32}, {u"GO", 52}, {u"MA", 21}, {u"MG", 31}, {u"MS", 50}, {u"MT", 51}, {u"PA", 15},
              {u"PB", 25}, {u"PE", 26}, {u"PI", 22}, {u"PR", 41}, {u"RJ", 33}, {u"RN", 24}, {u"RO", 11},
              {u"RR", 14}, {u"RS", 43}, {u"SC", 42}, {u"SE", 28}, {u"SP", 35}, {u"TO", 17}};
  for (const auto& r : rows) {
    EXPECT_EQ(TmUF::IBGE(r.Sigla), r.Codigo) << U16ToUtf8(r.Sigla);
    EXPECT_EQ(TmUF::Sigla(r.Codigo), r.Sigla);
  }
  EXPECT_EQ(TmUF::IBGE(u"XX"), 0);
  EXPECT_EQ(TmUF::IBGE(u"sp"), 0);
  EXPECT_EQ(TmUF::IBGE(u""), 0);
  EXPECT_EQ(TmUF::Sigla(99), u"");
  EXPECT_EQ(TmUF::Sigla(0), u"");
}

TEST(TmUF, GetIEValidadaBringsTheNumberToAnAcceptedLength) {
  struct {
    const char16_t* IE;
    const char16_t* UF;
    const char16_t* Esperado;
  } cases[] = {
      {u"12345678", u"SP", u"000012345678"},
      {u"P011004243002", u"SP", u"P011004243002"},  // 13 is an SP length
      {u"123456789", u"BA", u"123456789"},
      {u"1234567890", u"RJ", u"34567890"},  // cut to the last 8
      {u" 123456789 ", u"RN", u"123456789"},
      {u"123456789", u"TO", u"123456789"},
      {u"1234567", u"TO", u"001234567"},  // the first length pads
      {u" 12 ", u"XX", u"12"},
      {u"", u"SP", u"000000000000"},
      // SE numbers have 9 digits and RO numbers 14: a valid number is kept as it is.
      {u"271234563", u"SE", u"271234563"},
      {u"00000000625213", u"RO", u"00000000625213"},
      {u"625213", u"RO", u"00000000625213"},
      // PE pads to its current 9-digit form and keeps the old 14-digit one.
      {u"32141840", u"PE", u"032141840"},
      {u"032141840", u"PE", u"032141840"},
      {u"18100100000049", u"PE", u"18100100000049"},
      {u"0032141840", u"PE", u"032141840"},
      // BA keeps both forms; RN keeps both forms.
      {u"1234567", u"BA", u"01234567"},
      {u"12345663", u"BA", u"12345663"},
      {u"2000400400", u"RN", u"2000400400"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TmUF::GetIEValidada(c.IE, c.UF), c.Esperado) << U16ToUtf8(c.IE) << " " << U16ToUtf8(c.UF);
}

// The table's lengths are exactly the lengths of the forms the state registration rules
// accept, so GetIEValidada never pads or cuts a valid number into another length.
TEST(TmUF, LengthsAreTheFormsOfTheStateRegistrationRules) {
  std::map<std::u16string, std::set<int>> formas;
  for (const auto& table :
       {std::span<const testdata::IE>(testdata::kPublicadas), std::span<const testdata::IE>(testdata::kGeradas)})
    for (const testdata::IE& ie : table) {
      std::u16string d;
      for (char16_t c : std::u16string_view(ie.Numero))
        if ((c >= u'0' && c <= u'9') || c == u'P') d += c;
      ASSERT_TRUE(TmStr::isIEValido(ie.UF, d, u"")) << U16ToUtf8(ie.UF) << " " << U16ToUtf8(d);
      formas[ie.UF].insert(static_cast<int>(d.size()));
      EXPECT_EQ(TmUF::GetIEValidada(d, ie.UF), d) << U16ToUtf8(ie.UF) << " " << U16ToUtf8(d);
    }
  ASSERT_EQ(formas.size(), 27u);
  for (const auto& [uf, tamanhos] : formas) {
    const TzelArrayInteger t = TmUF::Dados(uf).Tamanho;
    // MT numbers of any length are fitted to 11 digits; its samples have 11.
    EXPECT_EQ(std::set<int>(t.begin(), t.end()), tamanhos) << U16ToUtf8(uf);
  }
  // A number that lost its leading zeros comes back valid for PE and BA, in both forms.
  EXPECT_TRUE(TmStr::isIEValido(u"PE", TmUF::GetIEValidada(u"36190101", u"PE"), u""));
  EXPECT_TRUE(TmStr::isIEValido(u"BA", TmUF::GetIEValidada(u"35879152", u"BA"), u""));
  EXPECT_TRUE(TmStr::isIEValido(u"BA", TmUF::GetIEValidada(u"4821339", u"BA"), u""));
}

}  // namespace
}  // namespace zelmor
