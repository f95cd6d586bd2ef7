#include <gtest/gtest.h>

#include "mLib.h"
#include "regional/regional_copies.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

using testing::FixedRegionalSettings;

struct TextCase {
  std::u16string in;
  std::u16string out;
};

class FilteringTest : public ::testing::Test {
 protected:
  FixedRegionalSettings brazil{RegionalSettings::Brazilian()};
};

TEST_F(FilteringTest, SomenteNumerosKeepsTheCopiedDecimalSeparatorUnlessAsked) {
  struct {
    std::u16string in;
    bool deleteSep;
    std::u16string out;
  } cases[] = {
      {u"R$ 1.234,56", false, u"1234,56"},
      {u"R$ 1.234,56", true, u"123456"},
      {u"12.345-6", true, u"123456"},
      {u"  ", false, u""},
      {u"", true, u""},
      {u"(11) 9 8765-4321", true, u"11987654321"},
      {u"١٢3", true, u"3"},  // only '0'–'9' are digits
      {u"1,2,3", false, u"1,2,3"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::SomenteNumeros(c.in, c.deleteSep), c.out);
}

TEST_F(FilteringTest, SomenteNumerosFollowsTheCopiesNotTheLiveSettings) {
  FixedRegionalSettings us(RegionalSettings::UnitedStates());
  EXPECT_EQ(TmStr::SomenteNumeros(u"$1,234.56"), u"1234.56");
  SetBrazilianRegionalCopies();  // the copies change, the live settings stay "."
  EXPECT_EQ(TmStr::SomenteNumeros(u"$1,234.56"), u"1,23456");
}

TEST_F(FilteringTest, KeepingFilters) {
  EXPECT_EQ(TmStr::SomenteLetras(u" Ação 1-2 ", u"-"), u"Ao-");
  EXPECT_EQ(TmStr::SomenteLetras(u"a-b c", u""), u"abc");
  EXPECT_EQ(TmStr::SomenteLetras(u"a-b c", u"- "), u"abc");  // only a one-character text can match
  EXPECT_EQ(TmStr::SomenteAlfa(u" a-b.c 1 ", u"_"), u"a_b_c 1");
  EXPECT_EQ(TmStr::SomenteAlfa(u"a-b.çc", u""), u"abc");
  EXPECT_EQ(TmStr::SomenteAlfa(u"a-b", u"*#"), u"a*b");
  EXPECT_EQ(TmStr::SomenteASCII(u" Olá\tmundo×ÿ€ "), u"Olámundo");
  EXPECT_EQ(TmStr::RemoveNumeros(u" a1b2 3 "), u" ab  ");
  EXPECT_EQ(TmStr::Somente(u" 12ab34 ", u"0123456789", true), u"1234");
  EXPECT_EQ(TmStr::Somente(u" 12ab34 ", u"0123456789 ", false), u" 1234 ");
  EXPECT_EQ(TmStr::Somente(u"CAFÉ-9", TmStr::TCharSet::Range(u'A', u'F') + u"-", true), u"CAF-");
  EXPECT_EQ(TmStr::Somente(u"a€b", u"a€b", true), u"ab");  // no member above 255
  EXPECT_EQ(TmStr::Somente(u"1-0-2", {u'0', u'1'}, true), u"10");
  EXPECT_EQ(TmStr::Somente(u"abc", TmStr::TCharSet(), true), u"");
}

TEST_F(FilteringTest, PlainTextClassBoundaries) {
  // 32–126, 192–214, 217–220, 224–252 are plain text; their neighbours are not.
  const int inside[] = {32, 126, 192, 214, 217, 220, 224, 252};
  const int outside[] = {31, 127, 191, 215, 216, 221, 223, 253, 255, 256, 0x20AC};
  for (int c : inside) EXPECT_EQ(TmStr::SomenteASCII(std::u16string{u'a', char16_t(c), u'b'}).size(), 3u) << c;
  for (int c : outside) EXPECT_EQ(TmStr::SomenteASCII(std::u16string{u'a', char16_t(c), u'b'}), u"ab") << c;
}

TEST_F(FilteringTest, AccentTableCodePointByCodePoint) {
  // Every Latin-1 code point through RemoveAcentos with the ordinal option.
  std::u16string expected;
  for (int c = 0; c < 256; ++c) {
    char16_t r = static_cast<char16_t>(c);
    if (c >= 192 && c <= 196) r = u'A';
    if (c == 199) r = u'C';
    if (c >= 200 && c <= 203) r = u'E';
    if (c >= 204 && c <= 207) r = u'I';
    if (c == 209) r = u'N';
    if (c >= 210 && c <= 214) r = u'O';
    if (c >= 217 && c <= 220) r = u'U';
    if (c >= 224 && c <= 228) r = u'a';
    if (c == 231) r = u'c';
    if (c >= 232 && c <= 235) r = u'e';
    if (c >= 236 && c <= 239) r = u'i';
    if (c == 241) r = u'n';
    if (c >= 242 && c <= 246) r = u'o';
    if (c >= 249 && c <= 252) r = u'u';
    if (c == 170) r = u'a';
    if (c == 186) r = u'o';
    if (c == 34 || c == 39 || c == 96 || c == 126 || c == 180) continue;
    expected.push_back(r);
  }
  std::u16string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char16_t>(c));
  EXPECT_EQ(TmStr::RemoveAcentos(all, true), expected);
  // Characters above 255 pass untouched; Ý, ý and ÿ are not in the table.
  EXPECT_EQ(TmStr::RemoveAcentos(u"ÝýÿŠ€", true), u"ÝýÿŠ€");
}

TEST_F(FilteringTest, AccentVariants) {
  const struct {
    std::u16string in, withOrdinal, withoutOrdinal, sql, limpa;
  } cases[] = {
      {u"Ação º", u"Acao o", u"Acao º", u"Acao o", u"Acao o"},
      {u"D'Ávila", u"DAvila", u"DAvila", u"D'Avila", u"D'Avila"},
      {u"\"Olá\" `x´ ~y", u"Ola x y", u"Ola x y", u"\"Ola\" x y", u"\"Ola\" x y"},
      {u"1ª/2º\\3", u"1a/2o\\3", u"1a/2º\\3", u"1a/2o\\3", u"1a_2o_3"},
      {u"", u"", u"", u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TmStr::RemoveAcentos(c.in, true), c.withOrdinal);
    EXPECT_EQ(TmStr::RemoveAcentos(c.in, false), c.withoutOrdinal);
    EXPECT_EQ(TmStr::RemoveAcentosSQL(c.in), c.sql);
    EXPECT_EQ(TmStr::LimparStringParaSQL(c.in), c.limpa);
  }
}

TEST_F(FilteringTest, RemoveCaracteresEspeciaisKeepsTheLength) {
  const TextCase cases[] = {
      {u"a?b`c", u"a b c"},
      {u"São João nº 5\t\r\n", u"Sao Joao no 5   "},
      {u"~'\"!@#$%^&*()_-+=|/\\{}[]:;,.<>", u"~'\"!@#$%^&*()_-+=|/\\{}[]:;,.<>"},
      {u"´ª€×ÿ", u" a   "},
  };
  for (const auto& c : cases) {
    const std::u16string r = TmStr::RemoveCaracteresEspeciais(c.in);
    EXPECT_EQ(r, c.out);
    EXPECT_EQ(r.size(), c.in.size());
  }
}

TEST_F(FilteringTest, SomenteCaracteresValidos) {
  const TextCase cases[] = {
      {u"Você\r\n~ok", u"Voc  ok"},
      {u"êÊîÎûÛñÑ", u""},  // not in the list
      {u"çÇàáãäâèéëìíïòóôõöùúüýÿÀÁÃÄÂÈÉËÌÍÏÒÓÔÕÖÙÚÜÝ", u"çÇàáãäâèéëìíïòóôõöùúüýÿÀÁÃÄÂÈÉËÌÍÏÒÓÔÕÖÙÚÜÝ"},
      {u"!@#$%&*()_+=-\"{}[]/\\|?;:<>,.' ", u"!@#$%&*()_+=-\"{}[]/\\|?;:<>,.' "},
      {u"^`´~ª º\t€", u" "},
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::SomenteCaracteresValidos(c.in), c.out);
  EXPECT_EQ(TmStr::SomenteCaracteresValidosXML_WS(u" \r\nC:\\dir\\x~ \n"), u"C:/dir/x");
}

TEST_F(FilteringTest, Asc2AnsiEscapes) {
  const TextCase cases[] = {
      {u"é\n", u"æE9æ0A"},
      {u"João", u"JoæE3o"},
      {u"a\"b'c`d~", u"a_b-c~d~"},
      {u"æ¾", u"¾æBE"},
      {u"\u20AC\u0100\u0041", u"æ20ACæ100A"},
      {std::u16string(1, u'\0'), u"æ00"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::Asc2Ansi(c.in), c.out);
}

TEST_F(FilteringTest, Ansi2AscDecodes) {
  const TextCase cases[] = {
      {u"JoæE3o", u"João"},
      {u"æe9", u"é"},                          // lower-case hex reads too
      {u"xæZZy", std::u16string(u"x\0y", 3)},  // invalid code → character 0
      {u"xæ", std::u16string(u"x\0", 2)},
      {u"xæA", u"x\n"},    // what is left of the code at the end
      {u"¾æBE", u"æ¾"},    // a decoded ¾ stays ¾
      {u"æE6E6", u"æE6"},  // a decoded æ is not decoded again
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::Ansi2Asc(c.in), c.out);
}

TEST_F(FilteringTest, Asc2AnsiRoundTripsLatin1) {
  // Property: every text of characters up to 255 comes back, except the three
  // quotes, which come back as their substitutes. Fixed seed, bounded loop.
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 2000; ++round) {
    std::u16string s, expected;
    const int len = static_cast<int>(next() % 24);
    for (int i = 0; i < len; ++i) {
      const char16_t c = static_cast<char16_t>(next() >> 8 & 0xFF);
      s.push_back(c);
      expected.push_back(c == u'"' ? u'_' : c == u'\'' ? u'-' : c == u'`' ? u'~' : c);
    }
    const std::u16string escaped = TmStr::Asc2Ansi(s);
    for (char16_t c : escaped) ASSERT_TRUE((c >= 32 && c <= 126) || c == 0xE6 || c == 0xBE) << int(c);
    ASSERT_EQ(TmStr::Ansi2Asc(escaped), expected);
  }
  // Texts of Latin-1 letters come back exactly.
  const std::u16string letters = u"AÁÀÂÃÄÅÆÇÉÊËÍÎÏÐÑÓÔÕÖØÚÛÜÝÞßàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿ";
  for (int round = 0; round < 500; ++round) {
    std::u16string s;
    for (int i = 0, len = static_cast<int>(next() % 16); i < len; ++i) s.push_back(letters[next() % letters.size()]);
    ASSERT_EQ(TmStr::Ansi2Asc(TmStr::Asc2Ansi(s)), s);
  }
  // Codes above 255 do not come back.
  EXPECT_NE(TmStr::Ansi2Asc(TmStr::Asc2Ansi(u"€")), u"€");
}

TEST_F(FilteringTest, Removing) {
  EXPECT_EQ(TmStr::RemoveEnter(u"a\r\nb"), u"a b");
  EXPECT_EQ(TmStr::RemoveEnter(u"a\nb\rc\n\n"), u"ab c");
  EXPECT_EQ(TmStr::RemoveEspacosDuplos(u"  a   b \t  c  "), u" a b \t c ");
  EXPECT_EQ(TmStr::RemoveEspacosDuplos(u""), u"");
  EXPECT_EQ(TmStr::RemoveZerosEsquerda(u"000"), u"");
  EXPECT_EQ(TmStr::RemoveZerosEsquerda(u"0,5"), u",5");
  EXPECT_EQ(TmStr::RemoveZerosEsquerda(u"00102"), u"102");
  EXPECT_EQ(TmStr::RemoveZerosEsquerda(u" 01"), u" 01");
  EXPECT_EQ(TmStr::RemoveCaracterLeft(u"**a*", u'*'), u"a*");
  EXPECT_EQ(TmStr::ContarRepeticaoCaracter(u"aaa", u'a'), 3);
  EXPECT_EQ(TmStr::ContarRepeticaoCaracter(u"", u'a'), 0);
  EXPECT_EQ(TmStr::ContarRepeticaoCaracter(u"aAá", u'a'), 1);
}

TEST_F(FilteringTest, ClearMakesANameKey) {
  const TextCase cases[] = {
      {u"  São  PAULO ", u"sao paulo"},
      {u"\tD'Ávila\n", u"davila"},
      {u"Rua 7º  DE SETEMBRO", u"rua 7o de setembro"},
      {u"ÝÿŠ", u"ÝÿŠ"},  // only ASCII letters are lower-cased
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::Clear(c.in), c.out);
  // The steps in order: a removed quote may leave two spaces.
  EXPECT_EQ(TmStr::Clear(u"a ' b"), u"a  b");
}

TEST_F(FilteringTest, IsNumero) {
  EXPECT_FALSE(TmStr::IsNumero(u"", false));
  EXPECT_TRUE(TmStr::IsNumero(u"", true));
  EXPECT_TRUE(TmStr::IsNumero(u"12,5"));
  EXPECT_TRUE(TmStr::IsNumero(u"007"));
  EXPECT_FALSE(TmStr::IsNumero(u" 12"));
  EXPECT_FALSE(TmStr::IsNumero(u"12 "));
  EXPECT_FALSE(TmStr::IsNumero(u"-5"));
  EXPECT_FALSE(TmStr::IsNumero(u"1.000"));
  EXPECT_FALSE(TmStr::IsNumero(u" ", true));
}

TEST_F(FilteringTest, SqlHelpers) {
  EXPECT_EQ(TmStr::IfVazioNull(u"it's"), u"'IT''S'");
  EXPECT_EQ(TmStr::IfVazioNull(u"  "), u"null");
  EXPECT_EQ(TmStr::IfVazioNull(u""), u"null");
  EXPECT_EQ(TmStr::IfVazioNull(u" ação "), u"' AçãO '");  // ASCII letters only, not trimmed
  EXPECT_EQ(TmStr::IfZeroNull(0), u"null");
  EXPECT_EQ(TmStr::IfZeroNull(-12), u"-12");
  EXPECT_EQ(TmStr::Plural(true), u"s");
  EXPECT_EQ(TmStr::Plural(false), u"");
}

TEST_F(FilteringTest, RemoverBOM) {
  TStringList l;
  TmStr::RemoverBOM_StringList(l);  // an empty list is left alone
  EXPECT_EQ(l.Count(), 0);
  l.Add(u"\u00EF\u00BB\u00BFlinha");
  l.Add(u"\u00EF\u00BB\u00BFoutra");
  TmStr::RemoverBOM_StringList(l);
  EXPECT_EQ(l[0], u"linha");
  EXPECT_EQ(l[1], u"\u00EF\u00BB\u00BFoutra");  // only the first line
  l.Clear();
  l.Add(u"\u00EF\u00BB\u00BF");
  TmStr::RemoverBOM_StringList(l);
  EXPECT_EQ(l[0], u"");
  l.Clear();
  l.Add(u"\u00EF\u00BB");
  TmStr::RemoverBOM_StringList(l);
  EXPECT_EQ(l[0], u"\u00EF\u00BB");
}

TEST_F(FilteringTest, LongTextsKeepEveryCharacterInOrder) {
  // Past the stack buffer the results are built on the heap; the same rules hold.
  std::u16string in, digits;
  for (int i = 0; i < 5000; ++i) {
    in += u"R$ 1.2";
    digits += u"12";
  }
  EXPECT_EQ(TmStr::SomenteNumeros(in, true), digits);
  EXPECT_EQ(TmStr::RemoveAcentos(std::u16string(3000, u'ã'), true), std::u16string(3000, u'a'));
}

}  // namespace
}  // namespace zelmor
