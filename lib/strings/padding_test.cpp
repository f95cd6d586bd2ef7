#include <gtest/gtest.h>

#include "mLib.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

constexpr char16_t kSep = u'\u00BF';

struct CenterCase {
  std::u16string texto;
  int tamanho;
  char16_t pad;
  std::u16string expected;
};

class PadCenterTest : public ::testing::TestWithParam<CenterCase> {};

TEST_P(PadCenterTest, CentresInExactWidth) {
  const CenterCase& c = GetParam();
  std::u16string r = TmStr::PadCenter(c.texto, c.tamanho, c.pad);
  EXPECT_EQ(r, c.expected);
  EXPECT_EQ(r.size(), static_cast<std::size_t>(std::max(c.tamanho, 0)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PadCenterTest,
    ::testing::Values(
        CenterCase{u"AB", 5, u'*', u"*AB**"}, CenterCase{u"", 3, u'-', u"---"}, CenterCase{u"A", 4, u' ', u" A  "},
        CenterCase{u"ABCDE", 2, u' ', u"CD"}, CenterCase{u"ABCDEF", 3, u' ', u"CDE"},
        CenterCase{u"ABCDEF", 5, u' ', u"BCDEF"}, CenterCase{u"ABC", 0, u' ', u""}, CenterCase{u"ABC", -3, u' ', u""},
        CenterCase{u"1234567890123456789012345678901234567890", 40, u' ', u"1234567890123456789012345678901234567890"},
        CenterCase{u"Zelmor Quindel", 40, u' ', u"             Zelmor Quindel             "},
        CenterCase{u"- aguardando comunicacao -", 40, u' ', u"       - aguardando comunicacao -       "}));

struct PadCase {
  const char* name;
  std::u16string (*fn)(std::u16string_view, int, char16_t, bool);
  std::u16string texto;
  int tamanho;
  bool cortar;
  std::u16string expected;
};

TEST(PadTest, LeftRightAndTheirRealTwins) {
  const PadCase cases[] = {
      {"PadLeft pads right", TmStr::PadLeft, u"AB", 4, false, u"AB.."},
      {"PadLeft cut keeps start", TmStr::PadLeft, u"ABCDEF", 3, true, u"ABC"},
      {"PadLeft no cut", TmStr::PadLeft, u"ABCDEF", 3, false, u"ABCDEF"},
      {"PadLeft zero width cut", TmStr::PadLeft, u"AB", 0, true, u""},
      {"PadLeft negative width", TmStr::PadLeft, u"AB", -2, false, u"AB"},
      {"PadRight pads left", TmStr::PadRight, u"AB", 4, false, u"..AB"},
      {"PadRight cut keeps end", TmStr::PadRight, u"ABCDEF", 3, true, u"DEF"},
      {"PadRight no cut", TmStr::PadRight, u"ABCDEF", 3, false, u"ABCDEF"},
      {"PadRight exact", TmStr::PadRight, u"ABC", 3, true, u"ABC"},
      {"PadRight negative width cut", TmStr::PadRight, u"ABC", -1, true, u""},
      {"RealPadLeft is PadRight", TmStr::RealPadLeft, u"AB", 4, false, u"..AB"},
      {"RealPadLeft cut", TmStr::RealPadLeft, u"ABCDEF", 3, true, u"DEF"},
      {"RealPadRight is PadLeft", TmStr::RealPadRight, u"AB", 4, false, u"AB.."},
      {"RealPadRight cut", TmStr::RealPadRight, u"ABCDEF", 3, true, u"ABC"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.fn(c.texto, c.tamanho, u'.', c.cortar), c.expected) << c.name;
}

TEST(PadTest, PadRightStrFimPutsMarkerBetweenPaddingAndText) {
  EXPECT_EQ(TmStr::PadRightStrFim(u"12", 6, u' ', u"R$"), u"  R$12");
  EXPECT_EQ(TmStr::PadRightStrFim(u"12345", 6, u' ', u"R$"), u"$12345");
  EXPECT_EQ(TmStr::PadRightStrFim(u"1234567", 6, u' ', u"R$"), u"234567");
  EXPECT_EQ(TmStr::PadRightStrFim(u"", 3, u'*', u""), u"***");
  EXPECT_EQ(TmStr::PadRightStrFim(u"AB", 0, u'*', u"X"), u"");
}

TEST(PadTest, CopyRightSpaceRepeteStr) {
  EXPECT_EQ(TmStr::CopyRight(u"ABCDEF", 2), u"EF");
  EXPECT_EQ(TmStr::CopyRight(u"ABC", 3), u"ABC");
  EXPECT_EQ(TmStr::CopyRight(u"ABC", 9), u"ABC");
  EXPECT_EQ(TmStr::CopyRight(u"ABC", 0), u"");
  EXPECT_EQ(TmStr::CopyRight(u"ABC", -1), u"");
  EXPECT_EQ(TmStr::Space(3), u"   ");
  EXPECT_EQ(TmStr::Space(0), u"");
  EXPECT_EQ(TmStr::Space(-5), u"");
  EXPECT_EQ(TmStr::RepeteStr(u"ab", 3), u"ababab");
  EXPECT_EQ(TmStr::RepeteStr(u"ab", 0), u"");
  EXPECT_EQ(TmStr::RepeteStr(u"ab", -1), u"");
  EXPECT_EQ(TmStr::RepeteStr(u"", 4), u"");
}

TEST(StrZeroTest, IntegersWithLeadingZeros) {
  testing::FixedRegionalSettings brazil;
  struct {
    int valor, tamanho;
    std::u16string expected;
  } cases[] = {
      {7, 3, u"007"},
      {42, 5, u"00042"},
      {-42, 5, u"-00042"},
      {1234, 2, u"1234"},
      {42, 0, u"42"},
      {-42, -1, u"-42"},
      {0, 3, u"000"},
      {0, 0, u"0"},
      {2147483647, 12, u"002147483647"},
      {-2147483647 - 1, 3, u"-2147483648"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::StrZero(c.valor, c.tamanho), c.expected) << c.valor << "/" << c.tamanho;
}

TEST(StrZeroTest, NegativoCountsTheSignInTheWidth) {
  testing::FixedRegionalSettings brazil;
  EXPECT_EQ(TmStr::StrZeroNegativo(-7, 3, false), u"-07");
  EXPECT_EQ(TmStr::StrZeroNegativo(-5, 3, false), u"-05");
  EXPECT_EQ(TmStr::StrZeroNegativo(-100, 4, false), u"-100");
  EXPECT_EQ(TmStr::StrZeroNegativo(-99, 3, false), u"-99");
  EXPECT_EQ(TmStr::StrZeroNegativo(-1234, 3, false), u"-1234");
  EXPECT_EQ(TmStr::StrZeroNegativo(7, 3, false), u"007");
  EXPECT_EQ(TmStr::StrZeroNegativo(-7, 3, true), u"07");
  EXPECT_EQ(TmStr::StrZeroNegativo(-2147483647 - 1, 3, false), u"-2147483648");
}

TEST(StrZeroTest, FloatDropsTheSignAndUsesTheLiveSeparator) {
  {
    testing::FixedRegionalSettings brazil;
    EXPECT_EQ(TmStr::StrZeroFloat(-3.5, 8, 2), u"00003,50");
    EXPECT_EQ(TmStr::StrZeroFloat(3.5, 8, 2), u"00003,50");
    EXPECT_EQ(TmStr::StrZeroFloat(12345.678, 4, 2), u"12345,68");
    EXPECT_EQ(TmStr::StrZeroFloat(7, 3, 0), u"007");
    EXPECT_EQ(TmStr::StrZeroFloat(0.125, 6, 1), u"0000,1");
  }
  testing::FixedRegionalSettings c(RegionalSettings::Plain());
  EXPECT_EQ(TmStr::StrZeroFloat(-3.5, 8, 2), u"00003.50");
}

TEST(SeparaTest, FieldsAtTheDisplaySeparator) {
  const std::u16string total = std::u16string(u"Total") + kSep + u"12,50";
  const std::u16string ab = std::u16string(u"A") + kSep + u"B";
  const std::u16string aac = std::u16string(u"A") + kSep + kSep + u"C";
  struct {
    std::u16string texto;
    int pos;
    std::u16string expected;
  } cases[] = {
      {total, 1, u"Total"},
      {total, 2, u"12,50"},
      {ab, 3, u""},
      {aac, 2, u""},
      {aac, 3, u"C"},
      {ab, 0, u"A"},
      {ab, -4, u"A"},
      {u"", 1, u""},
      {u"", 2, u""},
      {u"ABC", 1, u"ABC"},
      {u"ABC", 2, u""},
      {std::u16string(1, kSep), 1, u""},
      {std::u16string(1, kSep), 2, u""},
      {ab + kSep, 3, u""},
      {u" a " + std::u16string(1, kSep), 1, u" a "},
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::Separa(c.texto, kSep, c.pos), c.expected) << c.pos;
}

TEST(OcorreTest, CountsNonOverlapping) {
  EXPECT_EQ(TmStr::Ocorre(u"aaa", u"aa"), 1);
  EXPECT_EQ(TmStr::Ocorre(u"aaaa", u"aa"), 2);
  EXPECT_EQ(TmStr::Ocorre(u"a.b.c", u"."), 2);
  EXPECT_EQ(TmStr::Ocorre(u"ABC", u"abc"), 0);
  EXPECT_EQ(TmStr::Ocorre(u"", u"a"), 0);
  EXPECT_EQ(TmStr::Ocorre(u"abc", u""), 0);
  EXPECT_EQ(TmStr::Ocorre(u"ab", u"abc"), 0);
}

TEST(AliasTest, MStrIsTmStr) { EXPECT_EQ(mStr::PadCenter(u"AB", 5, u'*'), TmStr::PadCenter(u"AB", 5, u'*')); }

}  // namespace
}  // namespace zelmor
