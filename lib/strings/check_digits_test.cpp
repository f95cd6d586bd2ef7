#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/text.h"
#include "strings/mString.h"
#include "system/system.h"

namespace zelmor {
namespace {

TEST(CalcModulo11, WeightsFromTheRightAndTheSubstitute) {
  EXPECT_EQ(TmStr::CalcModulo11(u"0000", 0), u"0");  // remainder 0: 11 is above 9
  EXPECT_EQ(TmStr::CalcModulo11(u"0000", 1), u"1");
  EXPECT_EQ(TmStr::CalcModulo11(u"0000", 10), u"10");  // written as it is
  // The ninth character from the right weighs 2 again.
  EXPECT_EQ(TmStr::CalcModulo11(u"10000000", 0), u"2");   // 1×9
  EXPECT_EQ(TmStr::CalcModulo11(u"100000000", 0), u"9");  // 1×2
  EXPECT_EQ(TmStr::CalcModulo11(u"1", 0), u"9");          // 2 → 11 − 2
  EXPECT_EQ(TmStr::CalcModulo11(u"3524051122233300018155001000000123112345678", 0), u"5");
  EXPECT_EQ(TmStr::CalcModulo11(u"", 7), u"7");
  EXPECT_THROW(TmStr::CalcModulo11(u"12a4", 0), EConvertError);
  EXPECT_THROW(TmStr::CalcModulo11(u" 1", 0), EConvertError);
}

TEST(CalculaDigitoCnpjCpf, CpfAndCnpjByLength) {
  EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(u"123456789"), u"09");
  EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(u"111444777"), u"35");
  EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(u"112223330001"), u"81");
  // 12 or more characters: the first 12 count.
  EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(u"11222333000199"), u"81");
  // All-zero bases, and lengths that are neither.
  EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(u"000000000"), u"");
  EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(u"000000000000"), u"");
  for (const char16_t* n : {u"", u"12345678", u"1234567890", u"12345678901"})
    EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(n), u"") << U16ToUtf8(n);
  // The CPF path converts strictly; the CNPJ path counts a non-digit as 0.
  EXPECT_THROW(TmStr::CalculaDigitoCnpjCpf(u"12345678x"), EConvertError);
  EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(u"11222333000x"), TmStr::CalculaDigitoCnpjCpf(u"112223330000"));
}

TEST(IsCPFValido, TypedFormsOfCpfAndCnpj) {
  struct {
    const char16_t* Codigo;
    bool Valido;
  } cases[] = {
      {u"123.456.789-09", true},
      {u"12345678909", true},
      {u"11.222.333/0001-81", true},
      {u"11222333000181", true},
      {u"111.444.777-35", true},
      {u"123/456.789--09", true},
      {u"123.456.789-08", false},
      {u"123.456.789-19", false},
      {u"11.222.333/0001-80", false},
      {u"123 456 789 09", false},
      {u" 12345678909", false},
      {u"123.456.789-09x", false},
      {u"11.222.333/0001-81 ", false},
      {u"111.111.111-11", false},
      {u"00000000000", false},
      {u"00000000000000", false},
      {u"99999999999999", false},
      {u"", false},
      {u"1234567890", false},
      {u"123456789012", false},
      {u"123456789091", false},
      {u"112223330001810", false},
      {u"---", false},
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::IsCPFValido(c.Codigo), c.Valido) << U16ToUtf8(c.Codigo);
}

TEST(IsCPFValido, GeneratedNumbersRoundTrip) {
  std::mt19937 gen(1234);
  std::uniform_int_distribution<int> digit(0, 9);
  for (int i = 0; i < 500; ++i) {
    const std::size_t baseLen = i % 2 ? 9 : 12;
    std::u16string base;
    for (std::size_t k = 0; k < baseLen; ++k) base += static_cast<char16_t>(u'0' + digit(gen));
    const std::u16string dv = TmStr::CalculaDigitoCnpjCpf(base);
    if (dv.empty()) continue;  // the all-zero base
    const std::u16string numero = base + dv;
    if (std::all_of(numero.begin(), numero.end(), [&](char16_t c) { return c == numero[0]; })) continue;
    EXPECT_TRUE(TmStr::IsCPFValido(numero)) << U16ToUtf8(numero);
    EXPECT_TRUE(TmStr::IsCPFValido(TmStr::FormataCPFCNPJ(numero))) << U16ToUtf8(numero);
    // Either check digit off by one is caught.
    for (std::size_t pos : {numero.size() - 2, numero.size() - 1}) {
      std::u16string errado = numero;
      errado[pos] = static_cast<char16_t>(u'0' + (errado[pos] - u'0' + 1) % 10);
      EXPECT_FALSE(TmStr::IsCPFValido(errado)) << U16ToUtf8(errado);
    }
  }
}

TEST(IsPISValido, DigitsAndCheckDigit) {
  EXPECT_TRUE(TmStr::IsPISValido(u"120.54135.91-9"));
  EXPECT_TRUE(TmStr::IsPISValido(u"12054135919"));
  EXPECT_FALSE(TmStr::IsPISValido(u"12054135918"));
  EXPECT_FALSE(TmStr::IsPISValido(u"00000000000"));
  EXPECT_FALSE(TmStr::IsPISValido(u"11111111111"));
  EXPECT_FALSE(TmStr::IsPISValido(u"1205413591"));
  EXPECT_FALSE(TmStr::IsPISValido(u"120541359190"));
  EXPECT_FALSE(TmStr::IsPISValido(u""));
}

TEST(CalculaChaveEletronica, LayoutAndCheckDigit) {
  const TDateTime emissao = EncodeDate(2024, 5, 10);
  const std::u16string chave = TmStr::CalculaChaveEletronica(u"SP", emissao, u"11222333000181",
                                                             TModeloDocumentoEletronico::mdeNFe, 1, 123, 1, 12345678);
  EXPECT_EQ(chave, u"35240511222333000181550010000001231123456785");

  // −1: the document number is the control code.
  EXPECT_EQ(TmStr::CalculaChaveEletronica(u"SP", emissao, u"11222333000181", TModeloDocumentoEletronico::mdeNFe, 1, 123,
                                          1, -1),
            u"35240511222333000181550010000001231000001232");
  // The other models, a short CNPJ zero-filled, a long one cut to its last 14.
  const std::u16string nfce = TmStr::CalculaChaveEletronica(
      u"DF", EncodeDate(2026, 12, 31), u"191", TModeloDocumentoEletronico::mdeNFCe, 999, 999999999, 9, 99999999);
  EXPECT_EQ(nfce, u"53261200000000000191659999999999999999999995");
  EXPECT_EQ(TmStr::CalculaChaveEletronica(u"DF", EncodeDate(2026, 12, 31), u"99900000000000191",
                                          TModeloDocumentoEletronico::mdeNFCe, 999, 999999999, 9, 99999999),
            nfce);
  const std::pair<TModeloDocumentoEletronico, std::u16string_view> modelos[] = {
      {TModeloDocumentoEletronico::mdeCTe, u"57"},
      {TModeloDocumentoEletronico::mdeCFe, u"60"},
      {TModeloDocumentoEletronico::mdeMDFe, u"58"}};
  for (const auto& [modelo, codigo] : modelos) {
    const std::u16string k = TmStr::CalculaChaveEletronica(u"RS", emissao, u"11222333000181", modelo, 2, 7, 1, 1);
    ASSERT_EQ(k.size(), 44u);
    EXPECT_EQ(k.substr(20, 2), codigo);
    EXPECT_EQ(k.substr(43), TmStr::CalcModulo11(k.substr(0, 43), 0));
  }
}

// What the access-key check makes of these keys is in system/fiscal_test.cpp.
TEST(CalculaChaveEletronica, UnknownStateSpoilsTheLength) {
  const std::u16string chave = TmStr::CalculaChaveEletronica(u"XX", EncodeDate(2024, 5, 10), u"11222333000181",
                                                             TModeloDocumentoEletronico::mdeNFe, 1, 123, 1, 12345678);
  EXPECT_EQ(chave.size(), 43u);
  EXPECT_EQ(chave.substr(0, 1), u"0");
}

}  // namespace
}  // namespace zelmor

namespace zelmor {
namespace {

// Company numbers with letters: each base character is valued by its code minus 48
// ('0'–'9' 0–9, 'A'–'Z' 17–42), weights and modulo 11 as for digits. The expected
// digits below were worked out from that rule apart from the library.
TEST(CnpjAlfanumerico, PublishedExampleAndTypedForms) {
  EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(u"12ABC34501DE"), u"35");
  EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(u"12ABC34501DE35"), u"35");  // the first 12 count
  EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(u"ABCDEFGHIJKL"), u"80");
  EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(u"ZZZZZZZZZZZZ"), u"62");
  EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(u"00000000000A"), u"04");  // not an all-zero base
  EXPECT_EQ(TmStr::CalculaDigitoCnpjCpf(u"A00000000000"), u"32");
  // The CPF path stays digits only.
  EXPECT_THROW(TmStr::CalculaDigitoCnpjCpf(u"12345678A"), EConvertError);

  struct {
    const char16_t* Codigo;
    bool Valido;
  } cases[] = {
      {u"12.ABC.345/01DE-35", true},
      {u"12ABC34501DE35", true},
      {u"12abc34501de35", true},
      {u"12.aBc.345/01dE-35", true},
      {u"ABCDEFGHIJKL80", true},
      {u"ZZZZZZZZZZZZ62", true},
      {u"00000000000A04", true},
      {u"A0.000.000/0000-32", true},
      {u"12.ABC.345/01DE-36", false},  // check digit off
      {u"12.ABC.345/01DE-53", false},  // check digits swapped
      {u"12.ABD.345/01DE-35", false},  // a letter changed
      {u"12.ABC.345/01DE-3A", false},  // a letter among the check digits
      {u"12ABC34501DE3Z", false},
      {u"12ABC34501D35", false},
      {u"12ABC34501DEF35", false},
      {u"12 ABC 345 01DE 35", false},  // blanks stay rejected
      {u"12.ABC.345/01DE-35 ", false},
      {u"12_ABC34501DE35", false},
      {u"12ÁBC34501DE35", false},
      {u"AAAAAAAAAAAAAA", false},
      {u"ABC", false},
      // 'A' (17) and '6' differ by 11, which no weight can tell apart modulo 11.
      {u"12.6BC.345/01DE-35", true},
      // A CPF is digits only, even where the arithmetic with letters would agree.
      {u"12345678A58", false},
      {u"123.456.78A-58", false},
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::IsCPFValido(c.Codigo), c.Valido) << U16ToUtf8(c.Codigo);
}

TEST(CnpjAlfanumerico, GeneratedNumbersRoundTrip) {
  std::mt19937 gen(2026);
  std::uniform_int_distribution<int> simbolo(0, 35);
  for (int i = 0; i < 500; ++i) {
    std::u16string base;
    for (std::size_t k = 0; k < 12; ++k) {
      const int v = simbolo(gen);
      base += static_cast<char16_t>(v < 10 ? u'0' + v : u'A' + v - 10);
    }
    const std::u16string dv = TmStr::CalculaDigitoCnpjCpf(base);
    ASSERT_EQ(dv.size(), 2u) << U16ToUtf8(base);
    const std::u16string numero = base + dv;
    const std::u16string formatado = TmStr::FormataCPFCNPJ(numero);
    std::u16string minusculas = formatado;
    for (char16_t& c : minusculas)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    EXPECT_TRUE(TmStr::IsCPFValido(numero)) << U16ToUtf8(numero);
    EXPECT_TRUE(TmStr::IsCPFValido(formatado)) << U16ToUtf8(formatado);
    EXPECT_TRUE(TmStr::IsCPFValido(minusculas)) << U16ToUtf8(minusculas);
    EXPECT_EQ(TmStr::FormataCPFCNPJ(minusculas), formatado);
    for (std::size_t pos : {std::size_t{12}, std::size_t{13}}) {
      std::u16string errado = numero;
      errado[pos] = static_cast<char16_t>(u'0' + (errado[pos] - u'0' + 1) % 10);
      EXPECT_FALSE(TmStr::IsCPFValido(errado)) << U16ToUtf8(errado);
    }
  }
}

TEST(CnpjAlfanumerico, CalcModulo11ValuesCapitals) {
  EXPECT_EQ(TmStr::CalcModulo11(u"A", 0), u"0");  // 17×2 = 34, remainder 1: above 9
  EXPECT_EQ(TmStr::CalcModulo11(u"A", 1), u"1");
  EXPECT_EQ(TmStr::CalcModulo11(u"Z", 0), u"4");   // 42×2 = 84, remainder 7
  EXPECT_EQ(TmStr::CalcModulo11(u"1A", 0), u"7");  // 17×2 + 1×3 = 37, remainder 4
  EXPECT_EQ(TmStr::CalcModulo11(u"35260712ABC34501DE3555001000000123112345678", 0), u"7");
  // Only capitals are letters of a key; anything else stays a conversion error.
  EXPECT_THROW(TmStr::CalcModulo11(u"1a", 0), EConvertError);
  EXPECT_THROW(TmStr::CalcModulo11(u"1Á", 0), EConvertError);
  EXPECT_THROW(TmStr::CalcModulo11(u"1@", 0), EConvertError);  // the code before 'A'
  EXPECT_THROW(TmStr::CalcModulo11(u"1[", 0), EConvertError);  // the code after 'Z'
}

TEST(CnpjAlfanumerico, AccessKeyWithTheIssuersLetters) {
  const TDateTime emissao = EncodeDate(2026, 7, 15);
  const std::u16string chave = TmStr::CalculaChaveEletronica(u"SP", emissao, u"12ABC34501DE35",
                                                             TModeloDocumentoEletronico::mdeNFe, 1, 123, 1, 12345678);
  EXPECT_EQ(chave, u"35260712ABC34501DE35550010000001231123456787");
  // Typed in lower case, the issuer goes into the key as capitals.
  EXPECT_EQ(TmStr::CalculaChaveEletronica(u"SP", emissao, u"12abc34501de35", TModeloDocumentoEletronico::mdeNFe, 1, 123,
                                          1, 12345678),
            chave);
  EXPECT_EQ(TmStr::FormataChaveNFe(chave), u"3526 0712 ABC3 4501 DE35 5500 1000 0001 2311 2345 6787");
}

}  // namespace
}  // namespace zelmor
