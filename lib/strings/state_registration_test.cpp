#include <gtest/gtest.h>

#include <span>
#include <string>

#include "core/text.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

struct IE {
  const char16_t* UF;
  const char16_t* Numero;
};

// Published examples of each state's registration form.
constexpr IE kPublicadas[] = {
    {u"AC", u"01.004.823/001-12"}, {u"AL", u"240000048"},       {u"AP", u"030123459"},
    {u"BA", u"123456-63"},         {u"BA", u"612345-57"},       {u"CE", u"06000001-5"},
    {u"DF", u"07.300001.001-09"},  {u"ES", u"082.560.67-6"},    {u"GO", u"10.987.654-7"},
    {u"MA", u"12000038-5"},        {u"MG", u"062.307.904/0081"}, {u"MS", u"28.312.402-4"},
    {u"MT", u"0013000001-9"},      {u"PA", u"15-999999-5"},     {u"PE", u"18.1.001.0000004-9"},
    {u"PI", u"19.301.656-7"},      {u"PR", u"123.45678-50"},    {u"RJ", u"99.999.99-3"},
    {u"RN", u"20.040.040-1"},      {u"RO", u"0000000062521-3"}, {u"RR", u"24006628-1"},
    {u"RS", u"224/3658792"},       {u"SC", u"251.040.852"},     {u"SE", u"27123456-3"},
    {u"SP", u"110.042.490.114"},   {u"SP", u"P-01100424.3/002"}, {u"TO", u"29.01.022783-6"},
};

// Numbers made from each rule (by a separate implementation of the rules), a few per
// state, plus the forms and ranges with their own twists.
constexpr IE kGeradas[] = {
    {u"AC", u"0197141241690"},  {u"AC", u"0133660556920"},  {u"AC", u"0113024094380"},
    {u"AL", u"248776029"},      {u"AL", u"245471847"},      {u"AL", u"240218477"},
    {u"AM", u"093506686"},      {u"AM", u"022066519"},      {u"AM", u"268262039"},
    {u"AP", u"036659657"},      {u"AP", u"037183702"},      {u"AP", u"034715509"},
    {u"BA", u"64266947"},       {u"BA", u"77076881"},       {u"BA", u"30931617"},
    {u"CE", u"434271640"},      {u"CE", u"955944511"},      {u"CE", u"235001244"},
    {u"DF", u"0727806272348"},  {u"DF", u"0750862503559"},  {u"DF", u"0758235826738"},
    {u"ES", u"269418814"},      {u"ES", u"270904751"},      {u"ES", u"063812231"},
    {u"GO", u"107448718"},      {u"GO", u"116240695"},      {u"GO", u"103944184"},
    {u"MA", u"127776672"},      {u"MA", u"124735207"},      {u"MA", u"120008726"},
    {u"MG", u"0474215845389"},  {u"MG", u"6672498726686"},  {u"MG", u"3892068438655"},
    {u"MS", u"288026500"},      {u"MS", u"283035838"},      {u"MS", u"287830977"},
    {u"MT", u"69515322269"},    {u"MT", u"35066106390"},    {u"MT", u"52891954271"},
    {u"PA", u"158181379"},      {u"PA", u"150420463"},      {u"PA", u"157998290"},
    {u"PB", u"165611995"},      {u"PB", u"162521235"},      {u"PB", u"165202270"},
    {u"PE", u"18458311200248"}, {u"PE", u"18005065939664"}, {u"PE", u"18413680748751"},
    {u"PI", u"197233252"},      {u"PI", u"197643965"},      {u"PI", u"191125997"},
    {u"PR", u"7475974640"},     {u"PR", u"5010255181"},     {u"PR", u"4628709144"},
    {u"RJ", u"51441419"},       {u"RJ", u"69498990"},       {u"RJ", u"45431606"},
    {u"RN", u"204104610"},      {u"RN", u"200522752"},      {u"RN", u"206961324"},
    {u"RO", u"96207751209671"}, {u"RO", u"07714953063685"}, {u"RO", u"02723237386334"},
    {u"RR", u"242835993"},      {u"RR", u"242157817"},      {u"RR", u"249033212"},
    {u"RS", u"3254839872"},     {u"RS", u"3565087333"},     {u"RS", u"4057568513"},
    {u"SC", u"252708865"},      {u"SC", u"256012172"},      {u"SC", u"251647072"},
    {u"SE", u"333442296"},      {u"SE", u"086613618"},      {u"SE", u"868827410"},
    {u"SP", u"699590510829"},   {u"SP", u"138705874760"},   {u"SP", u"606824241722"},
    {u"TO", u"29028503727"},    {u"TO", u"29997661736"},    {u"TO", u"29030380340"},
    // SP rural producer, TO's 9-digit form.
    {u"SP", u"P300000643709"},  {u"SP", u"P938583785439"},  {u"SP", u"P624842762732"},
    {u"TO", u"290159873"},      {u"TO", u"290136199"},      {u"TO", u"299923819"},
    // AP: the p = 5 and p = 9 ranges, and 11 − r = 11 giving each range's fallback digit.
    {u"AP", u"030122088"},      {u"AP", u"030181951"},      {u"AP", u"030000020"},
    {u"AP", u"030170071"},      {u"AP", u"030190290"},      {u"AP", u"030000080"},
    // BA by modulo 11 (first digit 6, 7 or 9).
    {u"BA", u"96748415"},       {u"BA", u"74646449"},       {u"BA", u"69742376"},
    // GO with r = 1: 1 inside 10103105–10119997, 0 outside.
    {u"GO", u"101031051"},      {u"GO", u"110000030"},
    // AM with Σ below 11; SP with a remainder of 10; PE with 11 − r of 11 and 10.
    {u"AM", u"000000019"},      {u"AM", u"000000108"},      {u"SP", u"100000980125"},
    {u"PE", u"18100000000021"}, {u"PE", u"18100000000080"},
};

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
      // Only the 8-digit BA, the 14-digit PE and the 14-digit RO forms are known.
      {u"BA", u"123456789", false},
      {u"PE", u"032141840", false},
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
