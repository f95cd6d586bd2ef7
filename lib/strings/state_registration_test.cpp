#include <gtest/gtest.h>

#include <span>
#include <string>

#include "core/text.h"
#include "strings/mString.h"
#include "strings/testdata/ie_samples.h"

namespace zelmor {
namespace {

using testdata::IE;
using testdata::kGeradas;
using testdata::kPublicadas;

std::u16string Digits(std::u16string_view s) {
  std::u16string r;
  for (char16_t c : s)
    if (c >= u'0' && c <= u'9') r += c;
  return r;
}

// The same number with its last digit changed.
std::u16string LastDigitChanged(std::u16string s) {
  char16_t& c = s.back();
  c = static_cast<char16_t>(u'0' + (c - u'0' + 1) % 10);
  return s;
}

TEST(IsIEValido, PublishedAndGeneratedNumbersOfEveryState) {
  for (const auto& table : {std::span<const IE>(kPublicadas), std::span<const IE>(kGeradas)})
    for (const IE& ie : table) {
      EXPECT_TRUE(TmStr::isIEValido(ie.UF, ie.Numero, u"")) << U16ToUtf8(ie.UF) << " " << U16ToUtf8(ie.Numero);
      EXPECT_TRUE(TmStr::isIEValido(ie.UF, ie.Numero, u"12.345.678/0001-95"));
    }
}

TEST(IsIEValido, OneWrongDigitFails) {
  for (const IE& ie : kGeradas) {
    const std::u16string d = ie.Numero[0] == u'P' ? std::u16string(ie.Numero) : Digits(ie.Numero);
    // The rural producer's last three digits are not checked; change its ninth digit instead.
    std::u16string wrong = d;
    if (d[0] == u'P') {
      wrong = LastDigitChanged(d.substr(0, 10)) + d.substr(10);
    } else {
      wrong = LastDigitChanged(d);
    }
    if (std::u16string_view(ie.UF) == u"GO" && d.starts_with(u"11094402")) continue;
    EXPECT_FALSE(TmStr::isIEValido(ie.UF, wrong, u"")) << U16ToUtf8(ie.UF) << " " << U16ToUtf8(wrong);
  }
  // A digit in the body, not only the check digit.
  EXPECT_FALSE(TmStr::isIEValido(u"SP", u"110042491114", u""));
  EXPECT_FALSE(TmStr::isIEValido(u"MG", u"0623079041081", u""));
  EXPECT_FALSE(TmStr::isIEValido(u"PR", u"1234577850", u""));
}

TEST(IsIEValido, WhatIsValidWhateverTheState) {
  for (const char16_t* uf : {u"SP", u"MG", u"XX", u"", u"S"}) {
    EXPECT_TRUE(TmStr::isIEValido(uf, u"ISENTO", u""));
    EXPECT_TRUE(TmStr::isIEValido(uf, u"isento", u""));
    EXPECT_TRUE(TmStr::isIEValido(uf, u"", u""));
    EXPECT_TRUE(TmStr::isIEValido(uf, u"---", u""));
    // An individual (a CPF of 11 characters) needs no IE.
    EXPECT_TRUE(TmStr::isIEValido(uf, u"123", u"12345678909"));
    EXPECT_TRUE(TmStr::isIEValido(uf, u"123", u" 12345678909 "));
  }
  // "ISENTO" inside a text with digits still counts.
  EXPECT_TRUE(TmStr::isIEValido(u"SP", u"Isento 123", u""));
  // The CNPJ with its punctuation has 18 characters: the IE is checked.
  EXPECT_FALSE(TmStr::isIEValido(u"SP", u"123", u"12.345.678/0001-95"));
}

TEST(IsIEValido, StateAbbreviationIsExact) {
  EXPECT_TRUE(TmStr::isIEValido(u"SP", u"110.042.490.114", u""));
  EXPECT_FALSE(TmStr::isIEValido(u"sp", u"110.042.490.114", u""));
  EXPECT_FALSE(TmStr::isIEValido(u"XX", u"110042490114", u""));
  EXPECT_FALSE(TmStr::isIEValido(u"SPX", u"110042490114", u""));
  EXPECT_FALSE(TmStr::isIEValido(u"FN", u"110042490114", u""));
}

TEST(IsIEValido, LengthsAndLeadingDigits) {
  struct {
    const char16_t* UF;
    const char16_t* IE;
    bool Valido;
  } cases[] = {
      // RO numbers have 14 digits; BA and PE numbers also have 9 (a BA of 9 digits whose
      // check digits should be 48, and PE's published example).
      {u"BA", u"123456789", false},
      {u"PE", u"032141840", true},
      {u"RO", u"101625213", false},
      // MT is fitted to 11 digits: zero-filled, or only its last 11 digits kept.
      {u"MT", u"130000019", true},
      {u"MT", u"99900130000019", true},
      {u"MT", u"130000018", false},
      // A valid TO check digit with the wrong d3d4, and an 11-digit TO is never tried as 9.
      {u"TO", u"29040227836", false},
      {u"TO", u"29010227830", false},
      // RS needs a first digit up to 4.
      {u"RS", u"5243658792", false},
      // Leading digits of the other fixed-start states.
      {u"AC", u"0200482300112", false},
      {u"AL", u"250000048", false},
      {u"MA", u"130000385", false},
      {u"RR", u"250066281", false},
      // Too short and too long.
      {u"SP", u"11004249011", false},
      {u"SP", u"1100424901140", false},
      {u"CE", u"0600000150", false},
      {u"SP", u"1234567890123456789012345678901234567890", false},
      // The P form is SP's only: elsewhere the P is just dropped.
      {u"SP", u"P-01100424.3", false},
      {u"SP", u"01100424.3/002", false},
      // Lower-case p is not the rural form.
      {u"SP", u"p-01100424.3/002", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TmStr::isIEValido(c.UF, c.IE, u""), c.Valido) << U16ToUtf8(c.UF) << " " << U16ToUtf8(c.IE);
}

// The current forms next to the old ones: BA 9 digits (the modulus picked by the second
// digit), PE 9 digits (two modulo-11 digits), RN 10 digits (starting with 20).
TEST(IsIEValido, CurrentFormsOfBahiaPernambucoAndRioGrandeDoNorte) {
  struct {
    const char16_t* UF;
    const char16_t* IE;
    bool Valido;
  } cases[] = {
      // BA, modulo 10 (second digit 2) and modulo 11 (second digit 6).
      {u"BA", u"1234567-48", true},
      {u"BA", u"1234567-58", false},
      {u"BA", u"1234567-49", false},
      {u"BA", u"1234568-48", false},
      {u"BA", u"1623456-51", true},
      {u"BA", u"1623456-61", false},
      {u"BA", u"1623456-50", false},
      {u"BA", u"1723456-51", false},
      // The second digit picks the modulus: checked by modulo 10, 1623456 would end in 30.
      {u"BA", u"1623456-30", false},
      {u"BA", u"12345674", false},
      {u"BA", u"01234567-48", false},
      {u"BA", u"1234567480", false},
      // PE.
      {u"PE", u"0321418-40", true},
      {u"PE", u"0321418-41", false},
      {u"PE", u"0321418-50", false},
      {u"PE", u"0321419-40", false},
      {u"PE", u"321418-40", false},
      {u"PE", u"00321418-40", false},
      {u"PE", u"3214184-09", true},
      // RN.
      {u"RN", u"20.0.040.040-0", true},
      {u"RN", u"20.0.040.040-1", false},
      {u"RN", u"20.0.040.041-0", false},
      {u"RN", u"21.0.040.040-1", false},  // right check digit, wrong start
      {u"RN", u"20.0.040.040-00", false},
      {u"RN", u"2.0.040.040-0", false},
      // The old forms keep their rules.
      {u"BA", u"123456-63", true},
      {u"BA", u"123456-73", false},
      {u"BA", u"612345-57", true},
      {u"PE", u"18.1.001.0000004-9", true},
      {u"PE", u"18.1.001.0000004-8", false},
      {u"PE", u"19.1.001.0000004-9", false},
      {u"RN", u"20.040.040-1", true},
      {u"RN", u"20.040.040-2", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TmStr::isIEValido(c.UF, c.IE, u""), c.Valido) << U16ToUtf8(c.UF) << " " << U16ToUtf8(c.IE);
}

// An 8-digit BA number with a 0 in front is the same number in the 9-digit form, and a
// 9-digit one starting with 0 is an 8-digit one without it.
TEST(IsIEValido, BahiaEightDigitsAreNineWithALeadingZero) {
  int oito = 0, nove = 0;
  for (const auto& table : {std::span<const IE>(kPublicadas), std::span<const IE>(kGeradas)})
    for (const IE& ie : table) {
      if (std::u16string_view(ie.UF) != u"BA") continue;
      const std::u16string d = Digits(ie.Numero);
      if (d.size() == 8) {
        ++oito;
        EXPECT_TRUE(TmStr::isIEValido(u"BA", u"0" + d, u"")) << U16ToUtf8(d);
        EXPECT_FALSE(TmStr::isIEValido(u"BA", u"0" + LastDigitChanged(d), u"")) << U16ToUtf8(d);
      } else if (d[0] == u'0') {
        ++nove;
        EXPECT_TRUE(TmStr::isIEValido(u"BA", d.substr(1), u"")) << U16ToUtf8(d);
      }
    }
  EXPECT_GT(oito, 0);
  EXPECT_GT(nove, 0);
}

TEST(IsIEValido, GoiasNumberValidWithEitherLastDigit) {
  EXPECT_TRUE(TmStr::isIEValido(u"GO", u"110944020", u""));
  EXPECT_TRUE(TmStr::isIEValido(u"GO", u"110944021", u""));
  EXPECT_FALSE(TmStr::isIEValido(u"GO", u"110944022", u""));
}

TEST(IsEstadoValido, PairsOfTheListOnly) {
  for (const char16_t* s : {u"sp", u"SP", u"Mg", u"FN", u"ro", u"AC", u"TO"}) EXPECT_TRUE(TmStr::IsEstadoValido(s));
  // "PM" and "GR" occur in the list across pair boundaries; "SPM" is too long.
  for (const char16_t* s : {u"GR", u"PM", u"RS ", u"SPM", u"", u"S", u"XX", u"S\u00C3"})
    EXPECT_FALSE(TmStr::IsEstadoValido(s)) << U16ToUtf8(s);
}

TEST(EstadoExtenso, NamesByAbbreviation) {
  EXPECT_EQ(TmStr::EstadoExtenso(u"pe"), u"Pernambuco");
  EXPECT_EQ(TmStr::EstadoExtenso(u"SP"), u"São Paulo");
  EXPECT_EQ(TmStr::EstadoExtenso(u"ap"), u"Amapá");
  EXPECT_EQ(TmStr::EstadoExtenso(u"RO"), u"Rondônia");
  EXPECT_EQ(TmStr::EstadoExtenso(u"XX"), u"");
  EXPECT_EQ(TmStr::EstadoExtenso(u"FN"), u"");
  EXPECT_EQ(TmStr::EstadoExtenso(u"SPX"), u"");
}

}  // namespace
}  // namespace zelmor
