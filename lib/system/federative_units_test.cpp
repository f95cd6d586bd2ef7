#include <gtest/gtest.h>

#include "core/text.h"
#include "system/mRotinas.h"

namespace zelmor {
namespace {

TEST(TmUF, TableRows) {
  const TUnidadeFederativa ba = TmUF::Dados(u"BA");
  EXPECT_EQ(ba.Sigla, u"BA");
  EXPECT_EQ(ba.IBGE, 29);
  EXPECT_EQ(ba.Tamanho, (TzelArrayInteger{8, 9}));
  EXPECT_EQ(TmUF::Dados(u"TO").Tamanho, (TzelArrayInteger{9, 11}));
  EXPECT_EQ(TmUF::Dados(u"AC").Tamanho, (TzelArrayInteger{13}));

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
      {u"1234567890", u"RJ", u"34567890"},           // cut to the last 8
      {u" 123456789 ", u"RN", u"123456789"},
      {u"123456789", u"TO", u"123456789"},
      {u"1234567", u"TO", u"001234567"},             // the first length pads
      {u" 12 ", u"XX", u"12"},
      {u"", u"SP", u"000000000000"},
      // SE numbers have 9 digits and RO numbers 14: a valid number is kept as it is.
      {u"271234563", u"SE", u"271234563"},
      {u"00000000625213", u"RO", u"00000000625213"},
      {u"625213", u"RO", u"00000000625213"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TmUF::GetIEValidada(c.IE, c.UF), c.Esperado) << U16ToUtf8(c.IE) << " " << U16ToUtf8(c.UF);
}

}  // namespace
}  // namespace zelmor
