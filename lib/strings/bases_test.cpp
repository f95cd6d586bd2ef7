#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <set>

#include "core/errors.h"
#include "core/text.h"
#include "mLib.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

// A text of `n` characters with codes from `lo` to `hi`.
std::u16string Texto(std::mt19937& gen, std::size_t n, char16_t lo, char16_t hi) {
  std::uniform_int_distribution<int> d(lo, hi);
  std::u16string s(n, u' ');
  for (char16_t& c : s) c = static_cast<char16_t>(d(gen));
  return s;
}

template <class F>
std::u16string ErrorOf(F f) {
  try {
    f();
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return u"(no error)";
}

// ---- Bases ----

TEST(BasesTest, HexadecimalAndBinary) {
  const struct {
    std::u16string hexa;
    std::int32_t valor;
  } hexa[] = {
      {u"ff", 255},       {u"10", 16},        {u"0", 0}, {u"", 0}, {u"7FFFFFFF", INT32_MAX}, {u"80000000", INT32_MIN},
      {u"FFFFFFFF", -1},  {u"100000000", 0},  // a ninth digit adds nothing
      {u"1FFFFFFFF", -1}, {u"000000ff", 255},
  };
  for (const auto& c : hexa) EXPECT_EQ(TmStr::HexaToDecimal(c.hexa), c.valor) << U16ToUtf8(c.hexa);
  const struct {
    std::int32_t valor;
    std::u16string hexa, bin;
  } numeros[] = {
      {255, u"FF", u"11111111"},
      {5, u"5", u"101"},
      {-5, u"FFFFFFFB", u"-101"},
      {-1, u"FFFFFFFF", u"-1"},
      {0, u"0", std::u16string(32, u'0')},  // the leading-zero cut has no '1' to stop at
      {INT32_MAX, u"7FFFFFFF", std::u16string(31, u'1')},
      {INT32_MIN, u"80000000", u"-1" + std::u16string(31, u'0')},
  };
  for (const auto& c : numeros) {
    EXPECT_EQ(TmStr::DecimalToHex(c.valor), c.hexa) << c.valor;
    EXPECT_EQ(TmStr::DecToBin(c.valor), c.bin) << c.valor;
  }
}

TEST(BasesTest, OnlyHexadecimalDigitsAreRead) {
  for (std::u16string bad : {u"1G", u"0x10", u" 10", u"1-", u"ff\u00E9"})
    EXPECT_EQ(ErrorOf([&] { TmStr::HexaToDecimal(bad); }), u"'" + bad + u"' não é um valor hexadecimal válido");
  for (std::u16string bad : {u"414", u"4G", u"4 41"})
    EXPECT_EQ(ErrorOf([&] { TmStr::DesHeximiza(bad); }), u"'" + bad + u"' não é um valor hexadecimal válido");
}

TEST(BasesTest, RoundTrips) {
  std::mt19937 gen(31337);
  for (int i = 0; i < 2000; ++i) {
    const auto n = static_cast<std::int32_t>(gen());
    EXPECT_EQ(TmStr::HexaToDecimal(TmStr::DecimalToHex(n)), n);
    const std::u16string bin = TmStr::DecToBin(n);
    EXPECT_EQ(std::stoll(U16ToUtf8(bin), nullptr, 2), static_cast<long long>(n));
  }
  EXPECT_EQ(TmStr::Heximiza(u"AB"), u"4142");
  EXPECT_EQ(TmStr::Heximiza(u"\t\u20AC"), u"920AC");  // unpadded: one digit below 16, four above 4095
  EXPECT_EQ(TmStr::DesHeximiza(TmStr::Heximiza(u"Olá")), u"Olá");
  EXPECT_EQ(TmStr::DesHeximiza(u"4a4B"), u"JK");
  for (int i = 0; i < 300; ++i) {
    const std::u16string s = Texto(gen, gen() % 40, 16, 255);
    EXPECT_EQ(TmStr::DesHeximiza(TmStr::Heximiza(s)), s);
  }
}

// ---- Packed text ----

TEST(PackedTextTest, TheBitLayout) {
  // Units of two bits fill each character from its high bits down.
  const struct {
    std::u16string texto, compactado;
  } cases[] = {
      {u"", std::u16string{0xF0, 0x00}},         // the end mark alone: 3 3 0 0 | 0 0
      {u" ", std::u16string{0x3C, 0x00}},        // 0 | 3 3 0 | 0 0 0
      {u"e", std::u16string{0x4F, 0x00}},        // "e" is index 4: 1 0 | 3 3 | 0 0 0 0
      {u"l", std::u16string{0xEF, 0x00}},        // "l" is index 14: 3 2 | 3 3 | 0 0 0 0
      {u"A", std::u16string{0xF4, 0x1F, 0x00}},  // 3 3 then 0x41 as 1 0 0 1, then the end mark
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TmStr::ComprimeString(c.texto), c.compactado) << U16ToUtf8(c.texto);
    EXPECT_EQ(TmStr::DescomprimeString(c.compactado), c.texto);
  }
}

TEST(PackedTextTest, RoundTripsAndIsShorterForCommonLetters) {
  EXPECT_EQ(TmStr::DescomprimeString(TmStr::ComprimeString(u"the tea")), u"the tea");
  EXPECT_EQ(TmStr::ComprimeString(u"the tea").size(), 5u);  // 19 units
  EXPECT_LT(TmStr::ComprimeString(u"saiba o que e isto dentro da rede").size(), 33u);
  std::mt19937 gen(4711);
  const std::u16string comuns = u" etaonirshdl";
  for (int i = 0; i < 500; ++i) {
    std::u16string s = Texto(gen, gen() % 300, 1, 255);
    if (i % 2) {  // mostly the letters packed short
      for (char16_t& c : s)
        if (gen() % 4) c = comuns[gen() % comuns.size()];
    }
    const std::u16string p = TmStr::ComprimeString(s);
    for (char16_t c : p) ASSERT_LE(c, 255);
    EXPECT_EQ(TmStr::DescomprimeString(p), s);
  }
}

TEST(PackedTextTest, TheFormHoldsAtMost1024Characters) {
  // 4090 spaces and the 6-unit end mark fill 1024 characters exactly.
  const std::u16string cabe(4090, u' ');
  EXPECT_EQ(TmStr::ComprimeString(cabe).size(), 1024u);
  EXPECT_EQ(TmStr::DescomprimeString(TmStr::ComprimeString(cabe)), cabe);
  const std::u16string longo = cabe + u" ";
  EXPECT_EQ(ErrorOf([&] { TmStr::ComprimeString(longo); }), u"O texto compactado passaria de 1024 caracteres.");
  EXPECT_EQ(ErrorOf([&] { TmStr::ComprimeString(std::u16string(2'000'000, u'X')); }),
            u"O texto compactado passaria de 1024 caracteres.");
}

TEST(PackedTextTest, WhatCannotBePackedOrUnpacked) {
  EXPECT_EQ(ErrorOf([] { TmStr::ComprimeString(u"1 \u20AC"); }),
            u"O caractere de código 8364 não pode ser compactado.");
  EXPECT_EQ(ErrorOf([] { TmStr::ComprimeString(std::u16string(u"a\0b", 3)); }),
            u"O caractere de código 0 não pode ser compactado.");
  EXPECT_EQ(TmStr::DescomprimeString(u""), u"");
  // Plain text is no packed text: it runs out before an end mark.
  EXPECT_EQ(ErrorOf([] { TmStr::DescomprimeString(u"the tea"); }), u"Texto compactado inválido: falta a marca de fim.");
  std::u16string semFim = TmStr::ComprimeString(u"the tea");
  semFim.resize(semFim.size() - 1);
  EXPECT_EQ(ErrorOf([&] { TmStr::DescomprimeString(semFim); }), u"Texto compactado inválido: falta a marca de fim.");
  EXPECT_EQ(ErrorOf([] { TmStr::DescomprimeString(u"\u0100"); }),
            u"Texto compactado inválido: caractere de código 256.");
  // What follows the end mark is not read.
  EXPECT_EQ(TmStr::DescomprimeString(TmStr::ComprimeString(u"ok") + u"xyz"), u"ok");
}

// ---- Scrambling ----

TEST(ScramblingTest, CriptografaUndoesItself) {
  EXPECT_EQ(TmStr::Criptografa(u"A", u"B"), std::u16string(1, char16_t{0xFFFC}));  // 41 ^ FFFF ^ 42
  std::mt19937 gen(99);
  for (int i = 0; i < 500; ++i) {
    const std::u16string s = Texto(gen, gen() % 50, 0, 0xFFFF);
    const std::u16string k = Texto(gen, gen() % 6, 0, 0xFFFF);  // the empty key included
    const std::u16string c = TmStr::Criptografa(s, k);
    if (!s.empty()) {
      EXPECT_NE(c, s);
    }
    EXPECT_EQ(TmStr::Criptografa(c, k), s);
  }
}

TEST(ScramblingTest, EncripAndDecrip) {
  // A start of 10 and key "A": ((0x10 + 0x61) mod 255) xor 0x41 = 0x30.
  EXPECT_EQ(TmStr::Decrip(u"1030", u"A"), u"a");
  EXPECT_EQ(TmStr::Decrip(u"1030", u"B"), u"b");  // another key, another text: 0x30 xor 0x42 − 0x10
  std::mt19937 gen(2024);
  std::set<std::u16string> saidas;
  for (int i = 0; i < 1000; ++i) {
    const std::u16string s = Texto(gen, gen() % 40, 1, 255);
    const std::u16string k = Texto(gen, gen() % 5, 0, 255);
    const std::u16string e = TmStr::Encrip(s, k);
    ASSERT_EQ(e.size(), 2 + 2 * s.size());
    for (char16_t c : e) ASSERT_NE(std::u16string_view(u"0123456789ABCDEF").find(c), std::u16string_view::npos);
    EXPECT_EQ(TmStr::Decrip(e, k), s);
    if (i < 50) saidas.insert(TmStr::Encrip(u"mesmo texto", u"chave"));
  }
  EXPECT_GT(saidas.size(), 10u);  // a random start each time
  // Code 255 after a link of value 255 needs another start; enough runs meet that case.
  for (int i = 0; i < 3000; ++i) ASSERT_EQ(TmStr::Decrip(TmStr::Encrip(u"\u00FF\u00FF", u""), u""), u"\u00FF\u00FF");
}

TEST(ScramblingTest, EncripAndDecripAnswerErroOutsideTheirDomain) {
  const struct {
    std::u16string texto, chave;
  } encrip[] = {
      {std::u16string(u"a\0b", 3), u"k"},  // code 0 cannot come back
      {u"preço 10 €", u"k"},               // above 255
      {u"abc", u"chave\u0100"},
  };
  for (const auto& c : encrip) EXPECT_EQ(TmStr::Encrip(c.texto, c.chave), u"Erro");
  for (std::u16string bad : {u"zz", u"1", u"10G0", u"10 3"}) EXPECT_EQ(TmStr::Decrip(bad, u"k"), u"Erro");
  EXPECT_EQ(TmStr::Decrip(u"1030", u"\u0100"), u"Erro");
  EXPECT_EQ(TmStr::Decrip(u"", u"k"), u"");
  EXPECT_EQ(TmStr::Decrip(TmStr::Encrip(u"", u"k"), u"k"), u"");
}

class DisguisedAmountsTest : public ::testing::Test {
 protected:
  testing::FixedRegionalSettings brasil{RegionalSettings::Brazilian()};
};

TEST_F(DisguisedAmountsTest, RoundTripWithTheCentsAndTheSign) {
  const struct {
    double valor;
    std::u16string texto;
  } cases[] = {
      {0, u"0,00"},       {0.05, u"0,05"},  {1234.5, u"1234,50"}, {1234567890.12, u"1234567890,12"},
      {-12.5, u"-12,50"}, {0.125, u"0,13"}, {-0.001, u"0,00"},    {999999999999.99, u"999999999999,99"},
  };
  for (const auto& c : cases) {
    for (int i = 0; i < 20; ++i) {
      const std::u16string d = TmStr::CriptoNumero(c.valor);
      EXPECT_EQ(TmStr::DescriptoNumero(d), c.texto) << U16ToUtf8(d);
    }
  }
  std::mt19937_64 gen(8);
  for (int i = 0; i < 2000; ++i) {
    const double v = std::round(std::uniform_real_distribution<double>(-1e9, 1e9)(gen)) / 100;
    EXPECT_EQ(TmStr::DescriptoNumero(TmStr::CriptoNumero(v)), TmStr::Formata(v, u"0.00", false));
  }
}

TEST_F(DisguisedAmountsTest, TheDisguiseLooksLikeANumberAndUsesEveryAlphabet) {
  const std::u16string original = u"123456789012";
  std::set<char16_t> primeiros;
  for (int i = 0; i < 500; ++i) {
    const std::u16string d = TmStr::CriptoNumero(1234567890.12);
    const std::u16string digitos = TmStr::SomenteNumeros(d, true);
    ASSERT_EQ(digitos.size(), 13u) << U16ToUtf8(d);
    EXPECT_EQ(d, TmStr::FormataNumeroPontos(digitos));  // grouped in threes with dots
    for (std::size_t k = 0; k < original.size(); ++k)
      EXPECT_NE(digitos[k + 1], original[k]) << U16ToUtf8(d);  // every digit is disguised
    primeiros.insert(d[0]);
  }
  EXPECT_EQ(primeiros, (std::set<char16_t>{u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9'}));
  // Row 0 is never chosen but still reads back: "9" is 1, "8" is 3, "5" is 0 there.
  EXPECT_EQ(TmStr::DescriptoNumero(u"0.985"), u"1,30");
}

TEST_F(DisguisedAmountsTest, OutsideTheDomain) {
  EXPECT_EQ(TmStr::CriptoNumero(std::nan("")), u"");
  EXPECT_EQ(TmStr::CriptoNumero(INFINITY), u"");
  EXPECT_EQ(TmStr::CriptoNumero(1e18), u"");
  EXPECT_EQ(TmStr::DescriptoNumero(u""), u"");
  EXPECT_EQ(TmStr::DescriptoNumero(u"abc"), u"");
  EXPECT_EQ(TmStr::DescriptoNumero(u"1"), u"0,00");
}

TEST(DisguisedAmountsSettingsTest, GroupingDotsAreNotTakenForDecimals) {
  testing::FixedRegionalSettings eua{RegionalSettings::UnitedStates()};
  EXPECT_EQ(TmStr::DescriptoNumero(TmStr::CriptoNumero(1234.5)), u"1234.50");
}

}  // namespace
}  // namespace zelmor
